#pragma once

#include "app/profile_file.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace zep {

// The program's registry keys, kept in "Registry.ini" of the installation: one section per key path
// (e.g. "SOFTWARE\MORVEN\ZEP\Mandanten"), the key's unnamed value stored under the name "@".
// Key paths and value names match without regard to case; a trailing "\" of a key path is ignored.
class Registry {
public:
    explicit Registry(const QString& iniPath) : file_(iniPath) {}

    // An empty value name means the key's unnamed value. A missing or empty value gives the default.
    QString readString(QStringView key, QStringView valueName, const QString& defaultValue) const;
    // Creates the key when it is missing.
    bool writeString(QStringView key, QStringView valueName, QStringView data) const;
    // Names of the key's named values, in stored order (the unnamed value is not listed).
    QStringList valueNames(QStringView key) const;
    bool deleteValue(QStringView key, QStringView valueName) const;
    // Why the last failed write or deletion failed, in German (see ProfileFile::lastError).
    const QString& lastError() const { return file_.lastError(); }

private:
    ProfileFile file_;
};

} // namespace zep
