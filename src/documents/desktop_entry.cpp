#include "documents/desktop_entry.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace zep {

namespace {

using Group = QHash<QString, QString>;

// The keys of the "[Desktop Entry]" group as written (keys of desktop entries keep their letter case);
// the first value of a key counts.
Group readMainGroup(const QString& path) {
    Group group;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return group;
    bool inMain = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QString text = line.trimmed();
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        if (text.startsWith(u'[')) {
            // Only the first main group counts; a later group ends it.
            if (inMain)
                break;
            inMain = text == u"[Desktop Entry]";
            continue;
        }
        const qsizetype equals = text.indexOf(u'=');
        if (inMain && equals > 0)
            group.insert(text.left(equals).trimmed(), text.mid(equals + 1).trimmed());
    }
    return group;
}

QString value(const Group& group, const QString& key) {
    return unescapeDesktopValue(group.value(key));
}

bool flag(const Group& group, const QString& key) {
    return group.value(key) == u"true";
}

QStringList splitList(const QString& text) {
    QStringList items;
    for (QStringView item : QStringView(text).split(u';')) {
        item = item.trimmed();
        if (!item.isEmpty())
            items.append(item.toString());
    }
    return items;
}

QString germanName(const Group& group) {
    for (const char* key : {"Name[de_DE]", "Name[de]", "Name"}) {
        if (const QString name = value(group, QString::fromLatin1(key)); !name.isEmpty())
            return name;
    }
    return QString();
}

} // namespace

bool isDesktopEntryFile(const QString& path) {
    return path.endsWith(QStringLiteral(".desktop")) && QFileInfo(path).isFile();
}

std::optional<DesktopEntry> readDesktopEntry(const QString& path) {
    const Group group = readMainGroup(path);
    DesktopEntry entry;
    entry.type = value(group, QStringLiteral("Type"));
    if (entry.type.isEmpty())
        return std::nullopt;
    entry.name = germanName(group);
    entry.exec = value(group, QStringLiteral("Exec"));
    entry.icon = value(group, QStringLiteral("Icon"));
    entry.mimeTypes = splitList(group.value(QStringLiteral("MimeType")));
    entry.hidden = flag(group, QStringLiteral("Hidden"));
    entry.terminal = flag(group, QStringLiteral("Terminal"));
    entry.dbusActivatable = flag(group, QStringLiteral("DBusActivatable"));
    return entry;
}

QString unescapeDesktopValue(const QString& value) {
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            result.append(value[i]);
            continue;
        }
        const QChar code = value[++i];
        if (code == u's')
            result.append(u' ');
        else if (code == u'n')
            result.append(u'\n');
        else if (code == u't')
            result.append(u'\t');
        else if (code == u'r')
            result.append(u'\r');
        else if (code == u'\\')
            result.append(u'\\');
        else
            result.append(u'\\').append(code);
    }
    return result;
}

} // namespace zep
