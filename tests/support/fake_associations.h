#pragma once

#include "documents/associations.h"

#include <QHash>

namespace zep::test {

// A table-driven desktop: extension -> application, program file -> icons. Nothing is registered
// until a test says so.
class FakeAssociations : public Associations {
public:
    // The extension is matched without regard to case, as the desktop does.
    void setApplication(const QString& extension, const DesktopApplication& application);
    void setProgramIcons(const QString& programFile, const QStringList& icons);

    std::optional<DesktopApplication> defaultApplication(const QString& extension) const override;
    // The applications of an extension; without a list set, its default application alone.
    void setApplications(const QString& extension, const QList<DesktopApplication>& applications);
    QList<DesktopApplication> applicationsFor(const QString& extension) const override;
    QStringList programIcons(const QString& programFile) const override;
    // The extension is matched without regard to case.
    void setFileType(const QString& extension, const FileType& type);
    void setVerbCommand(const QString& typeName, DocumentVerb verb, const VerbCommand& command);
    void setRegisteredExtensions(const QStringList& extensions) { extensions_ = extensions; }
    FileType fileType(const QString& extension) const override;
    VerbCommand verbCommand(const QString& typeName, DocumentVerb verb) const override;
    QStringList registeredExtensions() const override { return extensions_; }
    // Schemes are handled only when a test says so.
    void setSchemeHandler(const QString& scheme, const DesktopApplication& application);
    std::optional<DesktopApplication> schemeHandler(const QString& scheme) const override;

private:
    QHash<QString, DesktopApplication> applications_;
    QHash<QString, QList<DesktopApplication>> lists_;
    QHash<QString, QStringList> icons_;
    QHash<QString, DesktopApplication> schemes_;
    QHash<QString, FileType> types_;
    QHash<QString, VerbCommand> verbs_; // by type name and verb
    QStringList extensions_;
};

} // namespace zep::test
