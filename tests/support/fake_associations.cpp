#include "fake_associations.h"

namespace zep::test {

void FakeAssociations::setApplication(const QString& extension, const DesktopApplication& application) {
    applications_.insert(extension.toLower(), application);
}

void FakeAssociations::setProgramIcons(const QString& programFile, const QStringList& icons) {
    icons_.insert(programFile, icons);
}

std::optional<DesktopApplication> FakeAssociations::defaultApplication(const QString& extension) const {
    const auto found = applications_.constFind(extension.toLower());
    if (found == applications_.cend())
        return std::nullopt;
    return *found;
}

void FakeAssociations::setApplications(const QString& extension, const QList<DesktopApplication>& applications) {
    lists_.insert(extension.toLower(), applications);
}

QList<DesktopApplication> FakeAssociations::applicationsFor(const QString& extension) const {
    if (const auto list = lists_.constFind(extension.toLower()); list != lists_.cend())
        return *list;
    const auto application = defaultApplication(extension);
    return application ? QList<DesktopApplication>{*application} : QList<DesktopApplication>();
}

QStringList FakeAssociations::programIcons(const QString& programFile) const {
    return icons_.value(programFile);
}

void FakeAssociations::setSchemeHandler(const QString& scheme, const DesktopApplication& application) {
    schemes_.insert(scheme.toLower(), application);
}

std::optional<DesktopApplication> FakeAssociations::schemeHandler(const QString& scheme) const {
    const auto it = schemes_.find(scheme.toLower());
    return it == schemes_.end() ? std::nullopt : std::optional<DesktopApplication>(*it);
}

namespace {
QString verbKey(const QString& typeName, DocumentVerb verb) {
    return typeName + u'|' + QString::number(int(verb));
}
} // namespace

void FakeAssociations::setFileType(const QString& extension, const FileType& type) {
    types_.insert(extension.toLower(), type);
}

void FakeAssociations::setVerbCommand(const QString& typeName, DocumentVerb verb, const VerbCommand& command) {
    verbs_.insert(verbKey(typeName, verb), command);
}

FileType FakeAssociations::fileType(const QString& extension) const {
    return types_.value(extension.toLower());
}

VerbCommand FakeAssociations::verbCommand(const QString& typeName, DocumentVerb verb) const {
    return verbs_.value(verbKey(typeName, verb));
}

} // namespace zep::test
