#pragma once

#include <QString>
#include <QStringList>

namespace zep {

class Associations;

// What the desktop says about an extension: the type's description and what the register stores for
// its open command (the desktop entry, or the program the command runs); both empty when the
// extension is not registered.
struct FileTypeInfo {
    QString description;
    QString program;
};

FileTypeInfo LookupFileType(const Associations& associations, const QString& extension);

// The registered extensions (without dot) of at most three characters, sorted: what the register offers.
QStringList ListRegisteredExtensions(const Associations& associations);

} // namespace zep
