#include "documents/document_path.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zep {

namespace {

// A value as it can be shown in one line of a message.
QString shown(const QString& datei) {
    QString text = datei;
    std::replace_if(text.begin(), text.end(), isControlCharacter, u'?');
    return text;
}

QString refusalOf(const QString& datei, const QString& filesDir) {
    if (datei.trimmed().isEmpty())
        return QStringLiteral("Es ist keine Datei angegeben.");
    if (std::any_of(datei.begin(), datei.end(), isControlCharacter))
        return QStringLiteral("Der Dateiname \"%1\" enthält ein Steuerzeichen (etwa einen Zeilenumbruch); ZEP "
                              "verwendet ihn nicht.")
            .arg(shown(datei));
    if (datei.startsWith(u'/'))
        return {};
    if (datei.contains(u'/'))
        return QStringLiteral("Die Datei \"%1\" ist weder ein bloßer Name (ohne \"/\") im Ordner \"Files\" des "
                              "Mandanten noch ein vollständiger Pfad (mit \"/\" am Anfang); ZEP verwendet sie nicht.")
            .arg(datei);
    if (datei == u"." || datei == u"..")
        return QStringLiteral("\"%1\" ist kein Dateiname; ZEP verwendet ihn nicht.").arg(datei);
    if (!filesDir.startsWith(u'/'))
        return QStringLiteral("Der Ordner \"Files\" des Mandanten (\"%1\") ist kein vollständiger Pfad; ZEP "
                              "verwendet keine Datei darin.")
            .arg(filesDir);
    return {};
}

} // namespace

bool isControlCharacter(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

DocumentPath ResolveDocumentPath(const QString& datei, const QString& filesDir) {
    if (QString refusal = refusalOf(datei, filesDir); !refusal.isEmpty())
        return {{}, refusal};
    if (datei.startsWith(u'/'))
        return {datei, {}};
    return {filesDir.endsWith(u'/') ? filesDir + datei : filesDir + u'/' + datei, {}};
}

DocumentPath ResolveTypedPath(const QString& typed, const QString& filesDir) {
    DocumentPath resolved = ResolveDocumentPath(typed, filesDir);
    if (!resolved.resolved() && typed.contains(u'/') && !typed.startsWith(u'/'))
        resolved.refusal += QStringLiteral(" Geben Sie einen Dateinamen ohne \"/\" oder einen vollständigen Pfad ein.");
    return resolved;
}

DocumentPath fileOfDeletedDocument(const QString& datei, const QString& filesDir) {
    if (datei.trimmed().isEmpty())
        return {};
    return ResolveDocumentPath(datei, filesDir);
}

QString outsideFilesTrashQuestion(const QString& path, const QString& filesDir) {
    const QString files = QDir::cleanPath(filesDir) + u'/';
    if (!QFileInfo(path).isFile() || QDir::cleanPath(path).startsWith(files))
        return {};
    return QStringLiteral("Die Datei \"%1\" liegt nicht im Ordner \"Files\" des Mandanten. Soll sie trotzdem in den "
                          "Papierkorb verschoben werden?")
        .arg(path);
}

} // namespace zep
