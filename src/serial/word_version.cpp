#include "serial/word_version.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zep {

int wordVersionFromCurVer(QStringView value) {
    if (value.isEmpty())
        return 0;
    const QChar last = value.back();
    return last >= u'0' && last <= u'9' ? last.unicode() - u'0' : 0;
}

int readWordVersion(const Registry& registry) {
    return wordVersionFromCurVer(registry.readString(WordCurVerKey, {}, QString()));
}

WordPath wordPathFor(int version) {
    if (version == 6 || version == 7)
        return WordPath::WordBasic;
    if (version >= 8 && version <= 100)
        return WordPath::WordApplication;
    return WordPath::None;
}

QString findOfficeProgram() {
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (!onPath.isEmpty())
        return onPath;
    // Debian's place first, then the office's own packages under /opt.
    QStringList candidates{QStringLiteral("/usr/lib/libreoffice/program/soffice")};
    for (const QFileInfo& dir :
         QDir(QStringLiteral("/opt")).entryInfoList({QStringLiteral("libreoffice*")}, QDir::Dirs))
        candidates.append(dir.filePath() + QStringLiteral("/program/soffice"));
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    return {};
}

bool registerOfficeAsWordProcessor(const Registry& registry, const QString& officeProgram) {
    if (officeProgram.isEmpty() || !registry.readString(WordCurVerKey, {}, QString()).isEmpty())
        return true;
    return registry.writeString(WordServerKey, {}, officeProgram) &&
           registry.writeString(WordCurVerKey, {}, u"Word.Document.8");
}

QString registeredWordServer(const Registry& registry) {
    return registry.readString(WordServerKey, {}, QString());
}

} // namespace zep
