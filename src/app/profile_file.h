#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace zep {

// An ini file with the semantics of Windows profile files: sections and keys match without regard
// to case, values are raw text (no quoting, no escaping, surrounding blanks dropped), the first
// matching section and key win. Every call opens the file once; nothing is cached, so two objects
// on the same path always agree. Writes replace the file atomically and keep every other line.
// Files are written as UTF-8; a file that is not valid UTF-8 is read as Windows-1252.
class ProfileFile {
public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }

    // A missing file, section or key gives the default; a present but empty value gives "".
    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;
    // A missing, empty or non-numeric value gives the default.
    int readInteger(QStringView section, QStringView key, int defaultValue) const;

    // False when the file cannot be written, or when a name or the value cannot be stored in the
    // format (line breaks, "=" in a key, "]" in a section, blanks around a key, empty names).
    bool writeString(QStringView section, QStringView key, QStringView value) const;
    bool writeInteger(QStringView section, QStringView key, int value) const;
    // Why the last write or removal through this object failed, as a German sentence to show the
    // user; empty after one that succeeded.
    const QString& lastError() const { return lastError_; }

    // Keys of the first matching section, as spelled in the file.
    QStringList keys(QStringView section) const;
    // True when the key is gone afterwards (also when it was never there).
    bool removeKey(QStringView section, QStringView key) const;

private:
    bool save(const QStringList& lines, const QString& eol) const;

    QString path_;
    mutable QString lastError_;
};

} // namespace zep
