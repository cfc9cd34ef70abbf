#include "app/profile_file.h"

#include "app/safe_file.h"
#include "data/cp1252.h"
#include "data/format_error.h"

#include <QDir>
#include <QFile>

#include <optional>

namespace zep {

namespace {

struct ProfileText {
    QStringList lines;
    QString eol = QStringLiteral("\n");
};

struct Entry {
    QStringView key;
    QStringView value;
};

// Where a key is, or would go, in the lines of a file.
struct Position {
    qsizetype section = -1; // line of the section header, -1 when the section is missing
    qsizetype key = -1;     // line of the key, -1 when the key is missing
    qsizetype insertAt = 0; // after the section's last non-empty line
};

QString decode(const QByteArray& bytes) {
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArrayView body =
        bytes.startsWith(bom) ? QByteArrayView(bytes).sliced(bom.size()) : QByteArrayView(bytes);
    return isValidUtf8(body) ? QString::fromUtf8(body) : fromCp1252(body);
}

ProfileText load(const QString& path) {
    ProfileText text;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return text;
    const QString content = decode(file.readAll());
    if (content.contains(u"\r\n"))
        text.eol = QStringLiteral("\r\n");
    for (QStringView line : QStringView(content).split(u'\n')) {
        text.lines.append((line.endsWith(u'\r') ? line.chopped(1) : line).toString());
    }
    if (!text.lines.isEmpty() && text.lines.last().isEmpty())
        text.lines.removeLast();
    return text;
}

std::optional<QStringView> sectionName(QStringView line) {
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    return (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
}

std::optional<Entry> entry(QStringView line) {
    if (line.trimmed().startsWith(u';'))
        return std::nullopt;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return Entry{line.left(equals).trimmed(), line.mid(equals + 1).trimmed()};
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Names are compared trimmed, as they are read from the file.
Position locate(const QStringList& lines, QStringView section, QStringView key) {
    section = section.trimmed();
    key = key.trimmed();
    Position pos;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i]);
        if (name && pos.section >= 0)
            break;
        if (name && sameName(*name, section)) {
            pos.section = i;
            pos.insertAt = i + 1;
            continue;
        }
        if (pos.section < 0)
            continue;
        if (!lines[i].trimmed().isEmpty())
            pos.insertAt = i + 1;
        const auto found = entry(lines[i]);
        if (found && pos.key < 0 && sameName(found->key, key))
            pos.key = i;
    }
    return pos;
}

bool hasLineBreak(QStringView text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

bool storable(QStringView section, QStringView key, QStringView value) {
    const bool sectionOk = !section.trimmed().isEmpty() && !section.contains(u']') && !hasLineBreak(section);
    const bool keyOk = !key.isEmpty() && key.trimmed() == key && !key.contains(u'=') && !key.startsWith(u'[') &&
                       !key.startsWith(u';') && !hasLineBreak(key);
    return sectionOk && keyOk && !hasLineBreak(value);
}

} // namespace

bool ProfileFile::save(const QStringList& lines, const QString& eol) const {
    QString content;
    for (const QString& line : lines)
        content += line + eol;
    try {
        writeFileSafely(path_, content.toUtf8());
        lastError_.clear();
        return true;
    } catch (const FileError& error) {
        lastError_ = error.message();
        return false;
    }
}

QString ProfileFile::readString(QStringView section, QStringView key, const QString& defaultValue) const {
    const ProfileText text = load(path_);
    const Position pos = locate(text.lines, section, key);
    if (pos.key < 0)
        return defaultValue;
    return entry(text.lines[pos.key])->value.toString();
}

int ProfileFile::readInteger(QStringView section, QStringView key, int defaultValue) const {
    bool ok = false;
    const int value = readString(section, key, QString()).toInt(&ok);
    return ok ? value : defaultValue;
}

bool ProfileFile::writeString(QStringView section, QStringView key, QStringView value) const {
    if (!storable(section, key, value)) {
        lastError_ = QStringLiteral("Der Name oder der Wert kann in der Datei \"%1\" nicht gespeichert werden.")
                         .arg(QDir::toNativeSeparators(path_));
        return false;
    }
    ProfileText text = load(path_);
    const Position pos = locate(text.lines, section, key);
    const QString line = key.toString() + u'=' + value.toString();
    if (pos.key >= 0) {
        text.lines[pos.key] = line;
    } else if (pos.section >= 0) {
        text.lines.insert(pos.insertAt, line);
    } else {
        if (!text.lines.isEmpty() && !text.lines.last().trimmed().isEmpty())
            text.lines.append(QString());
        text.lines.append(u'[' + section.trimmed().toString() + u']');
        text.lines.append(line);
    }
    return save(text.lines, text.eol);
}

bool ProfileFile::writeInteger(QStringView section, QStringView key, int value) const {
    return writeString(section, key, QString::number(value));
}

QStringList ProfileFile::keys(QStringView section) const {
    const ProfileText text = load(path_);
    const Position pos = locate(text.lines, section, {});
    QStringList result;
    if (pos.section < 0)
        return result;
    for (qsizetype i = pos.section + 1; i < text.lines.size() && !sectionName(text.lines[i]); ++i) {
        if (const auto found = entry(text.lines[i]); found && !found->key.isEmpty())
            result.append(found->key.toString());
    }
    return result;
}

bool ProfileFile::removeKey(QStringView section, QStringView key) const {
    ProfileText text = load(path_);
    const Position pos = locate(text.lines, section, key);
    if (pos.key < 0) {
        lastError_.clear();
        return true;
    }
    text.lines.removeAt(pos.key);
    return save(text.lines, text.eol);
}

} // namespace zep
