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

QStringList FakeAssociations::programIcons(const QString& programFile) const {
    return icons_.value(programFile);
}

} // namespace zep::test
