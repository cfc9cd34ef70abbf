#include "documents/launch_command.h"

#include "documents/command_line.h"
#include "documents/desktop_entry.h"

#include <QFileInfo>

#include <optional>

namespace zep {

namespace {

bool isProgramFile(const QString& path) {
    const QFileInfo file(path);
    return file.isAbsolute() && file.isFile();
}

// The words of a command started for real: its first word as a program file, and a program run by
// env must be there too, or env would fail where the user cannot see why.
LaunchCommand fromWords(const QStringList& words, const QStringList& programPath) {
    LaunchCommand command;
    const QString program = words.isEmpty() ? QString() : resolveProgramWord(words.first(), programPath);
    if (!isProgramFile(program)) {
        command.missing = words.isEmpty() ? QString() : words.first();
        return command;
    }
    const QString runs = programWord(words);
    if (runs != words.first() && !isProgramFile(resolveProgramWord(runs, programPath))) {
        command.missing = runs;
        return command;
    }
    command.program = QFileInfo(program).absoluteFilePath();
    command.arguments = words.mid(1);
    return command;
}

LaunchCommand fromEntry(const QString& entryFile, const QString& document, const QStringList& programPath) {
    const std::optional<DesktopEntry> entry = readDesktopEntry(entryFile);
    const std::optional<QStringList> words = entry ? splitCommandLine(entry->exec) : std::nullopt;
    if (!words || words->isEmpty())
        return {QString(), QStringList(), entryFile};
    const EntryFields fields{entry->icon, entry->name, QFileInfo(entryFile).absoluteFilePath()};
    return fromWords(fillFieldCodes(*words, document, fields), programPath);
}

} // namespace

LaunchCommand launchCommand(const QString& registered, const QString& document, const QStringList& programPath) {
    if (isDesktopEntryFile(registered))
        return fromEntry(registered, document, programPath);
    if (QFileInfo(registered).isFile()) {
        LaunchCommand command{QFileInfo(registered).absoluteFilePath(), QStringList(), QString()};
        if (!document.isEmpty())
            command.arguments << document;
        return command;
    }
    const std::optional<QStringList> words = splitCommandLine(registered);
    if (!words || (words->size() < 2 && !registered.contains(u'%')))
        return {QString(), QStringList(), registered};
    LaunchCommand command = fromWords(fillFieldCodes(*words, document), programPath);
    // A missing first word may be part of a path with blanks: the whole value is named.
    if (command.missing == words->first())
        command.missing = registered;
    return command;
}

} // namespace zep
