#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zep {

// An application the desktop knows (a desktop entry).
struct DesktopApplication {
    QString id;      // desktop entry id, e.g. "libreoffice-writer.desktop"
    QString name;    // its display name
    QString program; // absolute path of the program file its command line runs (after env's settings)
    QString exec;    // the command line as written in the entry
    QString icon;    // icon name or absolute icon path
    bool dbusActivatable = false;
    QString entryFile; // absolute path of the entry; empty when not known
};

// What the application register stores for an application: its desktop entry file, which says which
// command runs; the program file when no entry is known.
inline QString registerProgram(const DesktopApplication& application) {
    return application.entryFile.isEmpty() ? application.program : application.entryFile;
}

// The verbs a document is handed over with.
enum class DocumentVerb { Open, Play, Print };

// A registered file type: its name (a MIME type) and its German description; the name is empty when the
// extension is not registered.
struct FileType {
    QString name;
    QString description;
};

// What a file type's verb runs: a command line and, for an application that takes files while it
// runs, the request it is sent instead (empty ddeExec: none). "%1" in ddeExec stands for the file.
struct VerbCommand {
    QString command;
    QString ddeExec;
    QString ddeApplication; // the service that takes the request; empty: named after the program
    QString ddeTopic;
    QString entryFile; // the desktop entry the command comes from; empty: none
};

// The desktop's file associations: the freedesktop MIME database and desktop entries.
class Associations {
public:
    virtual ~Associations() = default;
    // The application that opens files with this extension (without dot, any letter case); none
    // when the desktop has nothing registered.
    virtual std::optional<DesktopApplication> defaultApplication(const QString& extension) const = 0;
    // The applications installed for files with this extension: those that declare its type, then those
    // that declare one of the type's ancestors, each once, the desktop's default of a type first. Empty
    // when none does.
    virtual QList<DesktopApplication> applicationsFor(const QString& extension) const = 0;
    // The icons (names or paths) of a register's program: of the desktop entry file it names, or of the
    // entries that run the program file, in a stable order; empty when no entry is known.
    virtual QStringList programIcons(const QString& programFile) const = 0;
    virtual FileType fileType(const QString& extension) const = 0;
    // Empty fields when the type has nothing for the verb.
    virtual VerbCommand verbCommand(const QString& typeName, DocumentVerb verb) const = 0;
    // The extensions (without dot, lower case) the desktop knows a file type for, sorted.
    virtual QStringList registeredExtensions() const = 0;
    // The application that handles addresses of this scheme ("tel", "https"); none when nothing does.
    virtual std::optional<DesktopApplication> schemeHandler(const QString& scheme) const = 0;
};

} // namespace zep
