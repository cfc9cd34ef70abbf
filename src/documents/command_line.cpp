#include "documents/command_line.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace zep {

namespace {

// Splits at blanks outside quotes; a word that was quoted stays a word even when empty.
class CommandSplitter {
public:
    explicit CommandSplitter(QStringView text) : text_(text) {}

    std::optional<QStringList> words() {
        while (at_ < text_.size()) {
            const QChar c = text_[at_++];
            if (c.isSpace()) {
                endWord();
            } else if (c == u'"') {
                if (!doubleQuoted())
                    return std::nullopt;
            } else if (c == u'\'') {
                if (!singleQuoted())
                    return std::nullopt;
            } else if (c != u'\\') {
                append(c);
            } else if (at_ < text_.size()) {
                append(text_[at_++]);
            }
        }
        endWord();
        return words_;
    }

private:
    // Up to the closing quote; a backslash keeps the character after it.
    bool doubleQuoted() {
        inWord_ = true;
        while (at_ < text_.size()) {
            const QChar c = text_[at_++];
            if (c == u'"')
                return true;
            if (c == u'\\' && at_ < text_.size())
                word_.append(text_[at_++]);
            else
                word_.append(c);
        }
        return false;
    }
    bool singleQuoted() {
        inWord_ = true;
        while (at_ < text_.size()) {
            const QChar c = text_[at_++];
            if (c == u'\'')
                return true;
            word_.append(c);
        }
        return false;
    }
    void append(QChar c) {
        inWord_ = true;
        word_.append(c);
    }
    void endWord() {
        if (inWord_)
            words_.append(word_);
        word_.clear();
        inWord_ = false;
    }

    QStringView text_;
    qsizetype at_ = 0;
    QStringList words_;
    QString word_;
    bool inWord_ = false;
};

bool isFileCode(QChar code) {
    return code == u'f' || code == u'F' || code == u'u' || code == u'U';
}

// One word with its codes filled; `file` tells whether it held a file code.
QString fillWord(const QString& word, const QString& document, const EntryFields& entry, bool& file) {
    QString result;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (word[i] != u'%' || i + 1 == word.size()) {
            result.append(word[i]);
            continue;
        }
        const QChar code = word[++i];
        file = file || isFileCode(code);
        if (code == u'%')
            result.append(u'%');
        else if (code == u'f' || code == u'F')
            result.append(document);
        else if ((code == u'u' || code == u'U') && !document.isEmpty())
            result.append(QString::fromUtf8(QUrl::fromLocalFile(document).toEncoded()));
        else if (code == u'i')
            result.append(entry.icon);
        else if (code == u'c')
            result.append(entry.name);
        else if (code == u'k')
            result.append(entry.location);
    }
    return result;
}

bool onlyCodes(const QString& word) {
    if (word.size() % 2 != 0)
        return false;
    for (qsizetype i = 0; i < word.size(); i += 2) {
        if (word[i] != u'%' || word[i + 1] == u'%')
            return false;
    }
    return !word.isEmpty();
}

QString removeFieldCodes(const QString& word) {
    bool file = false;
    return fillWord(word, QString(), EntryFields(), file);
}

bool isEnvSetting(const QString& word) {
    const qsizetype equals = word.indexOf(u'=');
    return equals > 0 && !word.left(equals).contains(u'/');
}

} // namespace

std::optional<QStringList> splitCommandLine(const QString& commandLine) {
    return CommandSplitter(commandLine).words();
}

QStringList fillFieldCodes(const QStringList& words, const QString& document, const EntryFields& entry) {
    QStringList filled;
    bool file = false;
    for (const QString& word : words) {
        if (word == u"%i") {
            if (!entry.icon.isEmpty())
                filled << QStringLiteral("--icon") << entry.icon;
            continue;
        }
        const QString text = fillWord(word, document, entry, file);
        if (!text.isEmpty() || !onlyCodes(word))
            filled << text;
    }
    if (!file && !document.isEmpty())
        filled << document;
    return filled;
}

QString programWord(const QStringList& words) {
    qsizetype at = 0;
    if (!words.isEmpty() && QFileInfo(words.first()).fileName() == u"env") {
        at = 1;
        // env's settings and its options; "-u" and "-C" take the next word.
        while (at < words.size() && (isEnvSetting(words[at]) || words[at].startsWith(u'-'))) {
            const QString& option = words[at++];
            if (option == u"--")
                break;
            if (option == u"-u" || option == u"-C" || option == u"--unset" || option == u"--chdir")
                ++at;
        }
    }
    return at < words.size() ? removeFieldCodes(words[at]) : QString();
}

QString execProgramWord(const QString& exec) {
    const std::optional<QStringList> words = splitCommandLine(exec);
    return words ? programWord(*words) : QString();
}

QString resolveProgramWord(const QString& word, const QStringList& programPath) {
    if (word.isEmpty() || word.contains(u'/'))
        return word;
    return QStandardPaths::findExecutable(word, programPath);
}

QString CutAfterProgramFile(const QString& commandLine, const QStringList& programPath) {
    return resolveProgramWord(execProgramWord(commandLine), programPath);
}

} // namespace zep
