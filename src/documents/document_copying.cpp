#include "documents/document_copying.h"

#include "documents/document_creation.h"

#include "data/engine_error.h"
#include "documents/datei_width.h"
#include "documents/document_path.h"
#include "documents/file_placement.h"
#include "documents/numbered_file_name.h"
#include "documents/placed_filing.h"

#include <QDir>
#include <QFileInfo>

namespace zep {

namespace {

// The fields a copy takes over from its source; the resubmission stays with the source. Datei is
// not among them: the copy names its own file once that file is being placed, so a copy left
// provisional never names the source's file.
const QStringList& copiedFields() {
    static const QStringList fields{QStringLiteral("NrFirma"), QStringLiteral("NrThema"), QStringLiteral("Ext"),
                                    QStringLiteral("Titel"),   QStringLiteral("Art"),     QStringLiteral("Autor"),
                                    QStringLiteral("Feld1"),   QStringLiteral("Feld2"),   QStringLiteral("Feld3"),
                                    QStringLiteral("Feld4"),   QStringLiteral("Feld5"),   QStringLiteral("Feld6"),
                                    QStringLiteral("Notice")};
    return fields;
}

QString withSlash(const QString& directory) {
    return directory.endsWith(u'/') ? directory : directory + u'/';
}

} // namespace

CopySource copySourceOf(const QString& datei, const QString& filesDir) {
    const DocumentPath file = ResolveDocumentPath(datei, filesDir);
    if (!file.resolved())
        return {{}, {}, {}, file.refusal};
    const QFileInfo info(file.path);
    const QString extension = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    return {file.path, withSlash(info.path()), extension, {}};
}

QString copyTargetFile(const QString& directory, const QString& title, const QString& extension) {
    return NumberedFileName(withSlash(directory) + title + extension);
}

DocumentCopying::DocumentCopying(const QString& dataDir) : ProvisionalDocument(TZiel) {
    TZiel.setDirectory(dataDir);
    TZiel.setTableName(QStringLiteral("Dok.DB"));
    TZiel.open();
}

void DocumentCopying::begin(Table& source, const QString& linkField, qint64 entryNumber, const QDateTime& now) {
    QList<QVariant> values;
    for (const QString& name : copiedFields())
        values << source.field(name).value();
    ProvisionalDocument::begin(linkField, entryNumber, [&](Table& copy) {
        for (qsizetype i = 0; i < copiedFields().size(); ++i)
            if (copiedFields()[i] != linkField)
                copy.field(copiedFields()[i]).setValue(values[i]);
        for (const char16_t* link : {u"NrFirma", u"NrThema"})
            if (copy.field(QStringView(link)).isNull())
                copy.field(QStringView(link)).setValue(-1);
        copy.field(u"EDatum").setValue(now);
    });
}

QString DocumentCopying::file(const QString& title, const QString& sourcePath, const QString& targetFile,
                              const QString& filesDir) {
    if (const QString refused = titleRefusal(title); !refused.isEmpty())
        return refused;
    const DocumentPath target = ResolveDocumentPath(targetFile, filesDir);
    if (!target.resolved())
        return target.refusal;
    const QString datei = storedFileName(target.path, filesDir);
    if (const QString refused = dateiTooLong(TZiel, datei, QStringLiteral("die Datei wurde nicht kopiert."));
        !refused.isEmpty())
        return refused;
    if (!standsOnRecord())
        return QStringLiteral("Die neue Kopie ist nicht mehr vorhanden.");
    FilePlacement placement(sourcePath, target.path, FileHandling::Copy);
    if (const QString failed = placement.prepare(); !failed.isEmpty())
        return failed;
    PlacedFiling filing;
    try {
        if (!TZiel.isEditing())
            TZiel.edit();
        TZiel.field(u"Titel").setValue(title);
        TZiel.field(u"Datei").setValue(datei);
        filing = postWithPlacedFile(TZiel, placement, returnToProvisional);
    } catch (const EngineError& error) {
        if (TZiel.isEditing())
            TZiel.cancel();
        return error.message();
    }
    if (filing.filed)
        markFiled();
    return filing.message;
}

} // namespace zep
