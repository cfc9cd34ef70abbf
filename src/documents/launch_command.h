#pragma once

#include <QString>
#include <QStringList>

namespace zep {

// What a program of the register starts, and with which arguments. `missing` names the program or
// entry that is not there; nothing is started then.
struct LaunchCommand {
    QString program; // absolute path
    QStringList arguments;
    QString missing;
};

// The command a register's program value runs for a document (empty: none). A desktop entry file runs
// the entry's command, and a command line (a value that is no file and has more than a program word)
// runs as written, each with the document in place of its field code; a program file is given the
// document as its one argument. Bare program names are looked up on the program path (empty: $PATH).
LaunchCommand launchCommand(const QString& registered, const QString& document, const QStringList& programPath = {});

} // namespace zep
