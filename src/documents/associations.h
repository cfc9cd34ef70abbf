#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zep {

// An application the desktop knows (a desktop entry).
struct DesktopApplication {
    QString id;      // desktop entry id, e.g. "libreoffice-writer.desktop"
    QString name;    // its display name
    QString program; // absolute path of the program file its command line runs (first word, resolved on PATH)
    QString exec;    // the command line as written in the entry
    QString icon;    // icon name or absolute icon path
    bool dbusActivatable = false;
};

// The desktop's file associations: the freedesktop MIME database and desktop entries.
class Associations {
public:
    virtual ~Associations() = default;
    // The application that opens files with this extension (without dot, any letter case); none
    // when the desktop has nothing registered.
    virtual std::optional<DesktopApplication> defaultApplication(const QString& extension) const = 0;
    // The icons (names or paths) of the desktop entries that run this program file, in a stable order;
    // empty when no entry runs it.
    virtual QStringList programIcons(const QString& programFile) const = 0;
    // The application that handles addresses of this scheme ("tel", "https"); none when nothing does.
    virtual std::optional<DesktopApplication> schemeHandler(const QString& scheme) const = 0;
};

} // namespace zep
