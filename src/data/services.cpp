#include "data/services.h"

#include "app/interaction.h"
#include "app/safe_file.h"
#include "data/format_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace zep {

namespace {

struct Expansion {
    qsizetype length = 0; // 0: no known variable starts here
    QString text;
};

bool isNameStart(QChar c) {
    return c == u'_' || (c.unicode() < 0x80 && c.isLetter());
}

bool isNameChar(QChar c) {
    return isNameStart(c) || (c.unicode() < 0x80 && c.isDigit());
}

qsizetype nameLength(QStringView text) {
    if (text.isEmpty() || !isNameStart(text.front()))
        return 0;
    qsizetype n = 1;
    while (n < text.size() && isNameChar(text[n]))
        ++n;
    return n;
}

// A placeholder of the given name that spans `length` characters of the path.
Expansion variable(QStringView name, qsizetype length) {
    const QString key = name.toString();
    if (name.isEmpty() || !qEnvironmentVariableIsSet(qPrintable(key)))
        return {};
    return {length, qEnvironmentVariable(qPrintable(key))};
}

Expansion placeholderAt(QStringView rest) {
    const QChar first = rest.front();
    if (first == u'%') {
        const qsizetype n = nameLength(rest.mid(1));
        if (n > 0 && rest.mid(1 + n).startsWith(u'%'))
            return variable(rest.mid(1, n), n + 2);
    } else if (first == u'$' && rest.mid(1).startsWith(u'{')) {
        const qsizetype n = nameLength(rest.mid(2));
        if (n > 0 && rest.mid(2 + n).startsWith(u'}'))
            return variable(rest.mid(2, n), n + 3);
    } else if (first == u'$') {
        const qsizetype n = nameLength(rest.mid(1));
        return variable(rest.mid(1, n), n + 1);
    }
    return {};
}

QRegularExpression maskPattern(QString mask) {
    if (mask.startsWith(u'/') || mask.startsWith(u'\\'))
        mask.remove(0, 1);
    if (mask == u"*.*")
        mask = QStringLiteral("*");
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(mask),
                              QRegularExpression::CaseInsensitiveOption);
}

// The target's own file of that name, whatever its letter case, so that no second spelling appears.
QString targetPathFor(const QDir& target, const QString& name) {
    if (target.exists(name))
        return target.filePath(name);
    const QStringList entries = target.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return target.filePath(entry);
    }
    return target.filePath(name);
}

// A copy is on disk under its name before the next one starts; an existing target stays until then.
bool copyReplacing(const QString& sourceFile, const QString& targetFile) {
    if (!QFileInfo(sourceFile).isFile())
        return false;
    try {
        copyFileSafely(sourceFile, targetFile, CopiedTime::Source);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

bool isDirectory(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString GETSYSTEMROOT(const QString& programPath) {
    QString result;
    qsizetype i = 0;
    if (programPath == u"~" || programPath.startsWith(u"~/")) {
        result = QDir::homePath();
        i = 1;
    }
    while (i < programPath.size()) {
        const Expansion found = placeholderAt(QStringView(programPath).mid(i));
        result += found.length > 0 ? found.text : QString(programPath[i]);
        i += found.length > 0 ? found.length : 1;
    }
    return result;
}

bool DIRCOPY(const QString& sourceDir, const QString& targetDir, const QString& mask) {
    if (!isDirectory(sourceDir) || !isDirectory(targetDir))
        return false;
    const QRegularExpression pattern = maskPattern(mask);
    const QDir target(targetDir);
    const QFileInfoList files = QDir(sourceDir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    bool copiedAny = false;
    for (const QFileInfo& file : files) {
        if (!pattern.match(file.fileName()).hasMatch())
            continue;
        if (!copyReplacing(file.filePath(), targetPathFor(target, file.fileName())))
            return false;
        copiedAny = true;
    }
    // Callers copy a table or a settings file they need: nothing found is a failed copy.
    return copiedAny;
}

bool FILECOPY(const QString& sourceFile, const QString& targetFile) {
    return !targetFile.isEmpty() && copyReplacing(sourceFile, targetFile);
}

QString DO_VERZEICHNIS(const QString& current) {
    const QString chosen = Interaction::instance().directory(QStringLiteral("Verzeichnis auswählen"), current);
    return chosen.isEmpty() ? current : chosen;
}

void DO_INFO(const QString& text) {
    Interaction::instance().showInfo(text.left(ServiceTextLimit));
}

void RELEASE_INFO() {
    Interaction::instance().hideInfo();
}

} // namespace zep
