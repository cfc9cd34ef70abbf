#include "documents/document_filing.h"

#include "data/engine_error.h"
#include "data/table.h"
#include "documents/datei_width.h"
#include "documents/document_path.h"
#include "documents/filing_marks.h"
#include "documents/placed_filing.h"

#include <QFileInfo>

namespace zep {

namespace {

QString dateiTooLong(Table& documents, const QString& datei) {
    return dateiTooLong(documents, datei, QStringLiteral("die Datei wurde nicht abgelegt."));
}

QString filedDatei(const QString& source, const QString& target, FileHandling handling, const QString& filesDir) {
    return storedFileName(handling == FileHandling::Keep ? source : target, filesDir);
}

// Posts the record of a filed file; the values are assigned, the file is prepared. A kept file is
// where it is, so one post files it; a copied or moved one is placed after its record is posted.
PlacedFiling postFiled(Table& documents, FilePlacement& placement, FileHandling handling,
                       const std::function<void(Table&)>& unfile) {
    if (handling != FileHandling::Keep)
        return postWithPlacedFile(documents, placement, unfile);
    postFilingMark(documents, FilingMark::None);
    return {true, {}};
}

} // namespace

void DocumentAdding::begin(const FilingTarget& target, const QString& source) {
    filesDir_ = target.filesDir;
    ProvisionalDocument::begin(target.linkField, target.entryNumber,
                               [&](Table& documents) { documents.field(u"Ext").setValue(extensionOf(source)); });
}

QString DocumentAdding::file(const QString& title, const QString& typedSource, const QString& typedTarget,
                             FileHandling handling) {
    const DocumentPath from = ResolveDocumentPath(typedSource, filesDir_);
    const DocumentPath to = handling == FileHandling::Keep ? from : ResolveTypedPath(typedTarget, filesDir_);
    if (!from.resolved() || !to.resolved())
        return from.resolved() ? to.refusal : from.refusal;
    const QString& source = from.path;
    const QString& target = to.path;
    if (const QString refused = dateiTooLong(documents(), filedDatei(source, target, handling, filesDir_));
        !refused.isEmpty())
        return refused;
    if (!standsOnRecord())
        return QStringLiteral("Das neue Dokument ist nicht mehr vorhanden.");
    FilePlacement placement(source, target, handling);
    if (const QString failed = placement.prepare(); !failed.isEmpty())
        return failed;
    PlacedFiling filing;
    try {
        if (!documents().isEditing())
            documents().edit();
        documents().field(u"Titel").setValue(title);
        documents().field(u"Datei").setValue(storedFileName(placement.filedPath(), filesDir_));
        documents().field(u"EDatum").setValue(placement.lastWrite());
        filing = postFiled(documents(), placement, handling, returnToProvisional);
    } catch (const EngineError& error) {
        if (documents().isEditing())
            documents().cancel();
        return error.message();
    }
    if (filing.filed)
        markFiled();
    return filing.message;
}

namespace {

QString fileOneDocument(Table& documents, const FilingTarget& target, const QString& path, FileHandling handling) {
    const DocumentPath resolved = ResolveDocumentPath(path, target.filesDir);
    if (!resolved.resolved())
        return resolved.refusal;
    const QString& source = resolved.path;
    const QString numbered = proposedTarget(source, target.filesDir);
    if (const QString refused = dateiTooLong(documents, filedDatei(source, numbered, handling, target.filesDir));
        !refused.isEmpty())
        return refused;
    FilePlacement placement(source, numbered, handling);
    if (const QString failed = placement.prepare(); !failed.isEmpty())
        return failed;
    try {
        documents.append();
        documents.field(target.linkField).setValue(target.entryNumber);
        documents.field(u"Offen").setValue(0);
        documents.field(u"Titel").setValue(QFileInfo(source).fileName());
        documents.field(u"Datei").setValue(storedFileName(placement.filedPath(), target.filesDir));
        documents.field(u"EDatum").setValue(placement.lastWrite());
        documents.field(u"Ext").setValue(extensionOf(source));
        return postFiled(documents, placement, handling, [](Table& filed) { filed.deleteRecord(); }).message;
    } catch (const EngineError& error) {
        if (documents.isEditing())
            documents.cancel();
        return error.message();
    }
}

} // namespace

FilingRun fileDocuments(Table& documents, const FilingTarget& target, const QStringList& paths, FileHandling handling,
                        const std::function<bool(int done, int total)>& goOn) {
    FilingRun run;
    for (const QString& path : paths) {
        if (goOn && !goOn(run.filed, int(paths.size()))) {
            run.stopped = true;
            break;
        }
        run.error = fileOneDocument(documents, target, path, handling);
        if (!run.error.isEmpty())
            break;
        run.lastNumber = documents.field(u"Nr").asInteger();
        ++run.filed;
    }
    return run;
}

} // namespace zep
