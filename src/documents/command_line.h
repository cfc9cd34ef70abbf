#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zep {

// The words of a command line as a desktop entry's Exec key writes it (its value escapes already
// decoded): blanks separate words, double quotes group a word and keep a character after a backslash,
// single quotes group a word as it stands, and outside quotes a backslash keeps the next character.
// Field codes such as %f and %U stay in the words. None when a quote is left open.
std::optional<QStringList> splitCommandLine(const QString& commandLine);

// What a desktop entry gives its field codes besides the document.
struct EntryFields {
    QString icon;
    QString name;
    QString location; // the entry file
};

// The words with their field codes filled for one document (empty: none): %f and %F give its path, %u
// and %U its file URL, %i "--icon" and the icon, %c the name, %k the entry's location and %% a percent
// sign; other codes vanish, and so does a word of codes that give nothing. A command without a file
// code is given the document as its last word.
QStringList fillFieldCodes(const QStringList& words, const QString& document, const EntryFields& entry = {});

// The word that names the program a command runs, field codes removed: the first word, or after
// "env" the first word that is neither one of env's settings ("NAME=value") nor one of its options.
QString programWord(const QStringList& words);

// The program word of a command line; empty when it has none or does not split.
QString execProgramWord(const QString& exec);

// The program file a command line runs: its program word, kept as it is when it names a path, looked
// up on the program path (empty: $PATH) when it is a bare name. Empty when the command names no
// program or a bare name is found nowhere.
QString CutAfterProgramFile(const QString& commandLine, const QStringList& programPath = {});

// A program word as a program file: a path as it is, a bare name looked up on the program path (empty:
// $PATH); empty when a bare name is found nowhere.
QString resolveProgramWord(const QString& word, const QStringList& programPath = {});

} // namespace zep
