#include "documents/filing_recovery.h"

#include "data/engine_error.h"
#include "data/table.h"
#include "documents/document_path.h"
#include "documents/filing_marks.h"
#include "tools/file_copy.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <vector>

namespace zep {

namespace {

struct MarkedRecord {
    qint64 nr;
    FilingMark mark;
    QString datei;
};

std::vector<MarkedRecord> markedRecords(Table& documents) {
    documents.setFilterText(markedRecordsFilter());
    documents.setFiltered(true);
    std::vector<MarkedRecord> marked;
    for (documents.first(); !documents.eof(); documents.next())
        marked.push_back(
            {documents.field(u"Nr").asInteger(), filingMarkOf(documents), documents.field(u"Datei").asString()});
    documents.setFiltered(false);
    return marked;
}

// A record is kept, without its mark, exactly when the file it names is there.
void settle(Table& documents, bool keep, int& kept, int& removed) {
    if (keep) {
        postFilingMark(documents, FilingMark::None);
        ++kept;
    } else {
        documents.deleteRecord();
        ++removed;
    }
}

// The resolved paths of the filed documents' files.
QSet<QString> filedPaths(Table& documents, const QString& filesDir) {
    QSet<QString> paths;
    for (documents.first(); !documents.eof(); documents.next())
        if (filingMarkOf(documents) == FilingMark::None)
            paths.insert(ResolveDocumentPath(documents.field(u"Datei").asString(), filesDir).path);
    paths.remove(QString());
    return paths;
}

void setRight(Table& documents, const MarkedRecord& record, const QString& filesDir, const QSet<QString>& filed,
              FilingRecovery& done) {
    if (record.mark == FilingMark::None || !documents.findKey({record.nr}))
        return;
    const QString path = ResolveDocumentPath(record.datei, filesDir).path; // empty when refused
    const QFileInfo file(path);
    const bool fileThere = !path.isEmpty() && file.isFile();
    // An unmounted share or a removed stick says nothing about the file: the mark waits for it.
    if (record.mark != FilingMark::Provisional && !path.isEmpty() && !file.absoluteDir().exists()) {
        done.failures << QStringLiteral("Dokument Nr. %1: Der Ordner \"%2\" ist nicht erreichbar.")
                             .arg(record.nr)
                             .arg(file.absolutePath());
        return;
    }
    switch (record.mark) {
    case FilingMark::Provisional:
        // A file of its own, named by no other document, keeps the record: it is never lost from view.
        if (fileThere && !filed.contains(path)) {
            postFilingMark(documents, FilingMark::None);
            ++done.provisionalKept;
        } else {
            documents.deleteRecord();
            ++done.provisionalRemoved;
        }
        break;
    case FilingMark::Placing:
        // An unfinished copy of this file may lie beside it, also outside "Files".
        if (!path.isEmpty())
            done.partialCopiesRemoved += removePartialCopies(file.absolutePath(), file.fileName());
        settle(documents, fileThere, done.placingCompleted, done.placingRemoved);
        break;
    case FilingMark::Deleting:
        settle(documents, fileThere, done.deletionsUndone, done.deletionsCompleted);
        break;
    case FilingMark::None:
        break;
    }
}

// "1 Dokument wurde", "2 Dokumente wurden": one line for a count, none for 0.
void addLine(QStringList& lines, int count, const QString& one, const QString& many) {
    if (count == 1)
        lines << one;
    else if (count > 1)
        lines << many.arg(count);
}

} // namespace

bool FilingRecovery::isEmpty() const {
    return provisionalRemoved == 0 && provisionalKept == 0 && placingCompleted == 0 && placingRemoved == 0 &&
           deletionsCompleted == 0 && deletionsUndone == 0 && partialCopiesRemoved == 0 && failures.isEmpty();
}

QString FilingRecovery::message() const {
    if (isEmpty())
        return {};
    QStringList lines;
    addLine(lines, placingCompleted,
            QStringLiteral("1 Dokument wurde fertig abgelegt; seine Datei lag schon an ihrem Platz."),
            QStringLiteral("%1 Dokumente wurden fertig abgelegt; ihre Dateien lagen schon an ihrem Platz."));
    addLine(lines, placingRemoved,
            QStringLiteral("1 angefangenes Dokument wurde entfernt; seine Datei war noch nicht abgelegt."),
            QStringLiteral("%1 angefangene Dokumente wurden entfernt; ihre Dateien waren noch nicht abgelegt."));
    addLine(lines, provisionalRemoved, QStringLiteral("1 leerer Eintrag eines nicht beendeten Dialogs wurde entfernt."),
            QStringLiteral("%1 leere Einträge nicht beendeter Dialoge wurden entfernt."));
    addLine(lines, provisionalKept,
            QStringLiteral("1 Eintrag eines nicht beendeten Dialogs wurde behalten, weil seine Datei vorhanden ist."),
            QStringLiteral("%1 Einträge nicht beendeter Dialoge wurden behalten, weil ihre Dateien vorhanden sind."));
    addLine(lines, deletionsCompleted,
            QStringLiteral("1 Dokument wurde fertig gelöscht; seine Datei lag schon im Papierkorb."),
            QStringLiteral("%1 Dokumente wurden fertig gelöscht; ihre Dateien lagen schon im Papierkorb."));
    addLine(lines, deletionsUndone,
            QStringLiteral("1 Dokument wurde nicht gelöscht, weil seine Datei noch vorhanden ist."),
            QStringLiteral("%1 Dokumente wurden nicht gelöscht, weil ihre Dateien noch vorhanden sind."));
    addLine(lines, partialCopiesRemoved, QStringLiteral("1 unvollständige Kopie einer Datei wurde gelöscht."),
            QStringLiteral("%1 unvollständige Kopien von Dateien wurden gelöscht."));
    QString text = QStringLiteral("ZEP wurde zuletzt beendet, während Dokumente abgelegt, kopiert oder gelöscht "
                                  "wurden.");
    if (!lines.isEmpty())
        text += QStringLiteral(" Beim Öffnen des Mandanten wurde das in Ordnung gebracht:\n\n") + lines.join(u'\n');
    if (!failures.isEmpty())
        text += QStringLiteral("\n\nFolgendes konnte nicht in Ordnung gebracht werden:\n") + failures.join(u'\n');
    return text;
}

FilingRecovery recoverFiling(const QString& dataDir, const QString& filesDir) {
    FilingRecovery done;
    try {
        Table documents;
        documents.setDirectory(dataDir);
        documents.setTableName(QStringLiteral("Dok.DB"));
        documents.open();
        const std::vector<MarkedRecord> marked = markedRecords(documents);
        const QSet<QString> filed = marked.empty() ? QSet<QString>() : filedPaths(documents, filesDir);
        for (const MarkedRecord& record : marked) {
            try {
                setRight(documents, record, filesDir, filed, done);
            } catch (const EngineError& error) {
                done.failures << QStringLiteral("Dokument Nr. %1: %2").arg(record.nr).arg(error.message());
            }
        }
    } catch (const EngineError& error) {
        done.failures << error.message();
    }
    done.partialCopiesRemoved += removePartialCopies(filesDir);
    return done;
}

QString recoverFilingAtOpening(const QString& dataDir, const QString& filesDir) {
    return recoverFiling(dataDir, filesDir).message();
}

} // namespace zep
