#pragma once

#include <QString>

#include <stdexcept>

namespace zep {

// A fixed-format file (tree file, catalog, column file) that could not be read or written.
// The message is German and meant to be shown to the user as it stands.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The file was read, but its content does not follow the format.
class FormatError : public FileError {
public:
    using FileError::FileError;
};

} // namespace zep
