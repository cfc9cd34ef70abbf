#pragma once

#include <QString>
#include <QStringList>

namespace zep {

// The program word of a desktop command line (value escapes already decoded): the first argument,
// quoted or not, with field codes such as %f and %U removed. Empty when there is none.
QString execProgramWord(const QString& exec);

// The program file a command line runs: its program word, kept as it is when it names a path, looked
// up on the program path (empty: $PATH) when it is a bare name. Empty when the command names no
// program or a bare name is found nowhere.
QString CutAfterProgramFile(const QString& commandLine, const QStringList& programPath = {});

} // namespace zep
