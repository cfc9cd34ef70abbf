#pragma once

#include <QString>

namespace zep {

// Longest client name the new-client dialog accepts.
inline constexpr int ClientNameMaxLength = 8;

// A client's directory: the parent, "/" and the name, also when the parent already ends in "/".
QString clientDirectory(const QString& parentDirectory, const QString& clientName);

// True when the name can be a value name of the clients key and a directory name: the registry file
// cannot hold "=", "[", "]", a leading ";", line breaks or surrounding blanks, "@" is its name for the
// unnamed value, and "/", "." and ".." would put the client's directory somewhere else.
bool isValidClientName(const QString& clientName);

// True when the parent directory is absolute and can be stored in the registry file unchanged, so the
// registered client directory does not depend on the working directory.
bool isValidParentDirectory(const QString& parentDirectory);

enum class ClientField { None, Name, Directory };
// The first field of the new-client dialog that cannot be used, in the order they are checked.
ClientField refusedClientField(const QString& parentDirectory, const QString& clientName);

} // namespace zep
