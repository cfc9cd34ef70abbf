#include "addresses/entry_documents.h"

#include "data/table.h"
#include "documents/document_deletion.h"
#include "documents/document_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

namespace zep {

namespace {

bool filedUnderBoth(Table& documents) {
    return documents.field(u"NrFirma").asInteger() > 0 && documents.field(u"NrThema").asInteger() > 0;
}

// The document leaves the restricted set; a refused post is taken back before the error goes on.
void unlink(Table& documents, const QString& linkField) {
    try {
        documents.edit();
        documents.field(linkField).setValue(-1);
        documents.post();
    } catch (...) {
        if (documents.isEditing())
            documents.cancel();
        throw;
    }
}

} // namespace

bool isLinkedToEntry(Table& documents, QStringView linkField) {
    const QVariant value = documents.field(linkField).value();
    return !value.isNull() && value.toLongLong() >= 0;
}

QStringList removeEntryDocuments(Table& documents, const QString& linkField, const QString& filesDir) {
    QStringList notTrashed;
    QSet<qint64> kept;
    for (;;) {
        documents.first();
        while (!documents.eof() && kept.contains(documents.field(u"Nr").asInteger()))
            documents.next();
        if (documents.eof())
            return notTrashed;
        const bool note = isNoteExtension(documents.field(u"Ext").asString());
        const QString datei = documents.field(u"Datei").asString();
        const DocumentPath file = fileOfDeletedDocument(datei, filesDir);
        if (filedUnderBoth(documents)) {
            unlink(documents, linkField);
            continue;
        }
        if (note || (file.resolved() && !QFileInfo(file.path).isFile())) {
            documents.deleteRecord();
            continue;
        }
        // The file goes first: a document is never deleted while its file stays behind unreachable.
        const qint64 nr = documents.field(u"Nr").asInteger();
        if (file.resolved() && trashDocumentFile(documents, file.path))
            continue;
        kept.insert(nr);
        notTrashed << (file.resolved() ? file.path : datei);
    }
}

// Without the generic data directory the trash falls back to the current directory and still
// reports success: when that directory cannot be made nothing is put anywhere, and a relative place
// in the trash is undone, its info file included, so nothing is left in the current directory.
bool moveFileToTrash(const QString& path) {
    if (!QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)))
        return false;
    QString placed;
    if (!QFile::moveToTrash(path, &placed))
        return false;
    if (QDir::isAbsolutePath(placed))
        return true;
    QFile::rename(placed, path);
    const QFileInfo trashed(placed);
    const QString info = QDir::cleanPath(trashed.path() + QStringLiteral("/../info"));
    QFile::remove(info + QStringLiteral("/%1.trashinfo").arg(trashed.fileName()));
    for (const QString& folder : {info, trashed.path()})
        QDir().rmdir(folder); // only when empty: it may have been there before
    return false;
}

} // namespace zep
