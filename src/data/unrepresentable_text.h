#pragma once

#include <QString>
#include <QStringList>

namespace zep {

// The fixed-format files (tree files, catalogs, "Tab.dat") hold Windows-1252 only. Before text the
// user typed goes into one of them, the program asks whether to save it with the characters the file
// cannot hold replaced by "?" (Ja) or to go back and edit it (Nein).

// Where the text goes, in the words of the question.
struct UnrepresentableTextPlace {
    QString subject; // "Der Name"
    QString where;   // "in der Baumansicht"
    QString object;  // "den Namen"
};

// The characters of the texts that Windows-1252 cannot hold, each once; empty when there are none.
QString unrepresentableCharactersOf(const QStringList& texts);

// The question, naming each character once, separated by blanks.
QString unrepresentableTextQuestion(const UnrepresentableTextPlace& place, const QString& characters);

} // namespace zep
