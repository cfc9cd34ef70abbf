#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zep {

// The main group of a freedesktop desktop entry file ("[Desktop Entry]"), its string values decoded.
struct DesktopEntry {
    QString type;
    QString name; // the German name when the entry has one: the program speaks German
    QString exec;
    QString icon;
    QStringList mimeTypes;
    bool hidden = false;
    bool terminal = false;
    bool dbusActivatable = false;
};

// True for a path that names a desktop entry file by its suffix.
bool isDesktopEntryFile(const QString& path);

// The entry of a file; none when the file has no "[Desktop Entry]" group with a type.
std::optional<DesktopEntry> readDesktopEntry(const QString& path);

// Decodes the escapes of a desktop entry string value (\s \n \t \r \\).
QString unescapeDesktopValue(const QString& value);

} // namespace zep
