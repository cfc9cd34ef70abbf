#pragma once

#include "documents/associations.h"

#include <QMap>
#include <QMimeDatabase>
#include <QString>
#include <QStringList>
#include <vector>

namespace zep {

// Where the desktop keeps its associations, each list in precedence order (the user's own first).
struct DesktopDirectories {
    QStringList data;        // $XDG_DATA_HOME, then $XDG_DATA_DIRS; desktop entries lie in "applications" below
    QStringList config;      // $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS
    QStringList desktops;    // $XDG_CURRENT_DESKTOP in lower case: "<desktop>-mimeapps.list" comes first
    QStringList programPath; // where a bare program name is looked up; empty: $PATH

    static DesktopDirectories fromEnvironment();
};

// The freedesktop associations: extension -> MIME type by the MIME database, MIME type -> application
// by the mimeapps.list files and the desktop entries' own MimeType lists, falling back to the type's
// ancestors (text/csv -> text/plain). Every call reads the desktop afresh, so applications installed
// while the program runs are seen. Entries that are hidden, run in a terminal or whose program is
// missing are passed over. A desktop with nothing registered answers nothing.
class DesktopAssociations : public Associations {
public:
    DesktopAssociations() : DesktopAssociations(DesktopDirectories::fromEnvironment()) {}
    explicit DesktopAssociations(DesktopDirectories directories) : dirs_(std::move(directories)) {}

    std::optional<DesktopApplication> defaultApplication(const QString& extension) const override;
    QList<DesktopApplication> applicationsFor(const QString& extension) const override;
    QStringList programIcons(const QString& programFile) const override;
    FileType fileType(const QString& extension) const override;
    VerbCommand verbCommand(const QString& typeName, DocumentVerb verb) const override;
    QStringList registeredExtensions() const override;
    std::optional<DesktopApplication> schemeHandler(const QString& scheme) const override;

private:
    struct EntryFile {
        QString path;
        int dataDir; // index into DesktopDirectories::data
    };
    // Desktop entry id -> file, in id order; an id in a directory of higher precedence hides the others.
    using Catalog = QMap<QString, EntryFile>;
    // One directory of associations: its mimeapps.list files and, for a data directory, its entries.
    struct Layer {
        QStringList mimeappsLists;
        int dataDir; // -1 for a configuration directory
    };

    std::vector<Layer> layers() const;
    Catalog readCatalog() const;
    QStringList typeAndAncestors(const QString& extension) const;
    QStringList withAncestors(const QMimeType& type) const;
    std::optional<DesktopApplication> firstApplication(const QStringList& types) const;
    std::optional<DesktopApplication> applicationFor(const QString& mimeType, const Catalog& catalog) const;
    QStringList candidateIds(const QString& mimeType, const Catalog& catalog) const;
    std::optional<DesktopApplication> firstUsable(const QStringList& ids, const Catalog& catalog) const;
    QStringList associatedIds(const QString& listFile, QStringView section, const QString& mimeType) const;
    QStringList entriesListing(const QString& mimeType, const Layer& layer, const Catalog& catalog) const;
    std::optional<DesktopApplication> readEntry(const QString& id, const QString& path) const;
    QString resolveProgram(const QString& word) const;
    QString canonicalType(const QString& name) const;

    DesktopDirectories dirs_;
    QMimeDatabase mimeDb_;
};

} // namespace zep
