#include "documents/command_line.h"

#include <QDir>
#include <QStandardPaths>

namespace zep {

namespace {

// "%%" stands for "%"; every other "%x" is a field code the launcher would fill in.
QString removeFieldCodes(QStringView word) {
    QString result;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (word[i] != u'%') {
            result.append(word[i]);
        } else if (i + 1 < word.size() && word[++i] == u'%') {
            result.append(u'%');
        }
    }
    return result;
}

QString quotedWord(QStringView text) {
    QString word;
    for (qsizetype i = 1; i < text.size() && text[i] != u'"'; ++i) {
        if (text[i] == u'\\' && i + 1 < text.size())
            ++i;
        word.append(text[i]);
    }
    return word;
}

QString plainWord(QStringView text) {
    qsizetype end = 0;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    return text.left(end).toString();
}

} // namespace

QString execProgramWord(const QString& exec) {
    const QStringView text = QStringView(exec).trimmed();
    return removeFieldCodes(text.startsWith(u'"') ? quotedWord(text) : plainWord(text));
}

QString CutAfterProgramFile(const QString& commandLine, const QStringList& programPath) {
    const QString word = execProgramWord(commandLine);
    if (word.isEmpty() || word.contains(u'/'))
        return word;
    return QStandardPaths::findExecutable(word, programPath);
}

} // namespace zep
