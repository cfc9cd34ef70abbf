#include "tools/installation_content.h"

#include "app/safe_file.h"
#include "data/catalog_file.h"
#include "data/format_error.h"
#include "documents/column_file.h"
#include "tools/templates_letter.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <utility>

namespace zep {

namespace {

bool prepareMissingFile(const QString& path) {
    if (QFileInfo::exists(path))
        return false;
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir))
        throw FileError(QStringLiteral("Das Verzeichnis \"%1\" konnte nicht angelegt werden.").arg(dir));
    return true;
}

void writeIfMissing(const QString& path, const QByteArray& content) {
    if (!prepareMissingFile(path))
        return;
    writeFileSafely(path, content);
}

QStringList numbered(const QString& prefix, int first, int last) {
    QStringList names;
    for (int i = first; i <= last; ++i)
        names.append(prefix + QString::number(i));
    return names;
}

// The string-like fields of the address table, plus its date and number fields.
QStringList addressFieldNames() {
    QStringList names = {QStringLiteral("Name1"),   QStringLiteral("Name2"), QStringLiteral("Name3"),
                         QStringLiteral("Strasse"), QStringLiteral("PLZ1"),  QStringLiteral("Ort"),
                         QStringLiteral("Land"),    QStringLiteral("PLZ2"),  QStringLiteral("PF")};
    names += numbered(QStringLiteral("Tel"), 1, 6);
    names += {QStringLiteral("Fax"),         QStringLiteral("Fax2"),      QStringLiteral("Mail"),
              QStringLiteral("Mail2"),       QStringLiteral("Internet1"), QStringLiteral("Internet2"),
              QStringLiteral("AnredeBrief"), QStringLiteral("Anrede"),    QStringLiteral("Herr_Frau"),
              QStringLiteral("Grusswort"),   QStringLiteral("BBank"),     QStringLiteral("BBLZ"),
              QStringLiteral("BKonto")};
    names += numbered(QStringLiteral("Feld"), 1, 6);
    names += {QStringLiteral("Datum1"), QStringLiteral("Datum2"), QStringLiteral("Zahl1"), QStringLiteral("Zahl2")};
    return names;
}

QList<std::pair<int, QStringList>> defaultCatalogs() {
    return {
        {1,
         {QStringLiteral("Angebot"), QStringLiteral("Auftrag"), QStringLiteral("Bestellung"), QStringLiteral("Brief"),
          QStringLiteral("E-Mail"), QStringLiteral("Fax"), QStringLiteral("Mahnung"), QStringLiteral("Notiz"),
          QStringLiteral("Protokoll"), QStringLiteral("Rechnung"), QStringLiteral("Vertrag")}},
        {4,
         {QStringLiteral("Buchhaltung"), QStringLiteral("Geschäftsführung"), QStringLiteral("Sekretariat"),
          QStringLiteral("Vertrieb")}},
        {10,
         {QStringLiteral("Sehr geehrte Damen und Herren,"), QStringLiteral("Sehr geehrter Herr"),
          QStringLiteral("Sehr geehrte Frau"), QStringLiteral("Lieber"), QStringLiteral("Liebe")}},
        {11, {QStringLiteral("Firma"), QStringLiteral("Herrn"), QStringLiteral("Frau"), QStringLiteral("Familie")}},
        {12, {QStringLiteral("Herr"), QStringLiteral("Frau")}},
        {13,
         {QStringLiteral("Mit freundlichen Grüßen"), QStringLiteral("Viele Grüße"),
          QStringLiteral("Freundliche Grüße")}},
        {30, addressFieldNames()},
    };
}

// Dates get two characters more than they have, so that they show whole in proportional fonts.
QList<ColumnRow> defaultColumns() {
    return {
        {QStringLiteral("Titel"), QStringLiteral("Titel"), QStringLiteral("30")},
        {QStringLiteral("Art"), QStringLiteral("Art"), QStringLiteral("12")},
        {QStringLiteral("Adresse"), QStringLiteral("Adresse"), QStringLiteral("20")},
        {QStringLiteral("Thema"), QStringLiteral("Thema"), QStringLiteral("20")},
        {QStringLiteral("EDatum"), QStringLiteral("Erstellt"), QStringLiteral("12")},
        {QStringLiteral("ADatum"), QStringLiteral("Geändert"), QStringLiteral("12")},
        {QStringLiteral("Autor"), QStringLiteral("Autor"), QStringLiteral("12")},
    };
}

QString iniSection(const QString& name, const QStringList& keyValues) {
    return u'[' + name + QStringLiteral("]\n") + keyValues.join(u'\n') + u'\n';
}

QStringList freeFieldCaptions() {
    QStringList lines;
    for (const QString& name : numbered(QStringLiteral("Feld"), 1, 6))
        lines.append(name + u'=' + name);
    return lines;
}

// Plain ASCII with LF line ends, which the program's ini reader takes as they are.
QString templateClientIni() {
    const QStringList address =
        freeFieldCaptions() + QStringList{QStringLiteral("Feld7=DatumsFeld1"), QStringLiteral("Feld8=DatumsFeld2"),
                                          QStringLiteral("Feld9=ZahlenFeld1"), QStringLiteral("Feld10=ZahlenFeld2")};
    const QStringList document =
        freeFieldCaptions() + QStringList{QStringLiteral("SortSpalte=0"), QStringLiteral("SortAbsteigend=0")};
    return iniSection(QStringLiteral("Adresse"), address) + u'\n' + iniSection(QStringLiteral("Dokument"), document) +
           u'\n' + iniSection(QStringLiteral("Adressvorlage"), {QStringLiteral("Aktuell=1")});
}

} // namespace

void writeDefaultCatalogs(const QString& generalDir) {
    for (const auto& [number, lines] : defaultCatalogs()) {
        if (prepareMissingFile(QDir(generalDir).filePath(catalogFileName(number))))
            SaveCatalog(lines, number, generalDir);
    }
}

void writeDefaultColumnFile(const QString& path) {
    if (prepareMissingFile(path))
        writeColumnFile(path, defaultColumns());
}

void writeTemplateClientIni(const QString& path) {
    writeIfMissing(path, templateClientIni().toUtf8());
}

void writeDefaultTemplates(const QString& vorlagenDir) {
    const QDir dir(vorlagenDir);
    writeIfMissing(dir.filePath(QStringLiteral("Brief.txt")), plainLetterTemplate());
    writeIfMissing(dir.filePath(QStringLiteral("Brief.odt")), odfLetterTemplate());
}

} // namespace zep
