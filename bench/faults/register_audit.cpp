#include "register_audit.h"

#include "addresses/entry_documents.h"
#include "app/install_paths.h"
#include "app/program_info.h"
#include "clients/client_list.h"
#include "data/schema.h"
#include "data/table.h"
#include "documents/document_path.h"
#include "tools/file_copy.h"
#include "tools/installation_layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <stdexcept>

namespace zep::faults {

namespace {

void makeDirectory(const QString& path) {
    if (!QDir().mkpath(path))
        throw std::runtime_error(("Ordner nicht anzulegen: " + path).toStdString());
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error(("Datei nicht zu schreiben: " + path).toStdString());
}

QFileInfoList filesIn(const QString& directory) {
    return QDir(directory).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The numbers of the sources whose first line a file of these folders carries.
QSet<int> sourcesFound(const QStringList& directories) {
    QSet<int> found;
    for (const QString& directory : directories) {
        for (const QFileInfo& info : filesIn(directory)) {
            if (isPartialCopyName(info.fileName()))
                continue;
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray first = file.readLine().trimmed();
            if (first.startsWith("Quelle "))
                found.insert(first.mid(7).toInt());
        }
    }
    return found;
}

QSet<int> sourcesWritten(const QString& log) {
    QSet<int> written;
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return written;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("Quelle "))
            written.insert(line.mid(7).toInt());
    return written;
}

} // namespace

FaultClient::FaultClient(const QString& work)
    : work(work), install(work + QStringLiteral("/Installation")), clientDir(work + QStringLiteral("/Kunde")),
      dataDir(clientDir + QStringLiteral("/Daten")), filesDir(clientDir + QStringLiteral("/Files/")),
      incoming(work + QStringLiteral("/Eingang")), kept(work + QStringLiteral("/Behalten")),
      other(work + QStringLiteral("/Andere")), templatePath(work + QStringLiteral("/Vorlagen/Vorlage.odt")),
      dataHome(work + QStringLiteral("/xdg")), sourceLog(work + QStringLiteral("/quellen.txt")) {}

void prepareFaultClient(const FaultClient& client) {
    ensureInstallationLayout(client.install);
    const InstallPaths paths = InstallPaths::fromDirectory(client.install);
    for (const QString& dir : {client.dataDir, client.filesDir, client.incoming, client.kept, client.other,
                               client.dataHome, QFileInfo(client.templatePath).path()})
        makeDirectory(dir);
    for (const QString& name : QDir(paths.emptyData).entryList(QDir::Files)) {
        const QString target = QDir(client.dataDir).filePath(name);
        if (!QFileInfo::exists(target) && !QFile::copy(QDir(paths.emptyData).filePath(name), target))
            throw std::runtime_error(("Tabelle nicht zu kopieren: " + target).toStdString());
    }
    writeFile(client.templatePath, "Vorlage\n" + QByteArray(64 * 1024, 'v'));
    const ClientList clients(Registry(paths.registryFile), ProgramKey.toString());
    if (!clients.registerClient(QString::fromUtf16(ClientName), client.clientDir) ||
        !clients.setLastClient(QString::fromUtf16(ClientName)))
        throw std::runtime_error(clients.lastError().toStdString());
}

QByteArray sourceContent(int number, int paddingBytes) {
    return "Quelle " + QByteArray::number(number) + '\n' + QByteArray(paddingBytes, 'q');
}

bool RegisterAudit::clean() const {
    return filesWithoutRecord == 0 && recordsWithoutFile == 0 && sharedFiles == 0 && partialCopies == 0 &&
           markedRecords == 0 && lostSources == 0;
}

QString RegisterAudit::line() const {
    return QStringLiteral("eintraege=%1 dateien=%2 ohne_eintrag=%3 ohne_datei=%4 doppelt=%5 teilkopien=%6 "
                          "vorlaeufig=%7 verloren=%8")
        .arg(records)
        .arg(files)
        .arg(filesWithoutRecord)
        .arg(recordsWithoutFile)
        .arg(sharedFiles)
        .arg(partialCopies)
        .arg(markedRecords)
        .arg(lostSources);
}

RegisterAudit auditRegister(const FaultClient& client) {
    RegisterAudit audit;
    QHash<QString, int> named;
    {
        Table documents;
        documents.setDirectory(client.dataDir);
        documents.setTableName(QStringLiteral("Dok.DB"));
        documents.open();
        for (documents.first(); !documents.eof(); documents.next()) {
            ++audit.records;
            if (!documents.field(schema::kVersionMarker).asString().isEmpty())
                ++audit.markedRecords;
            if (isNoteExtension(documents.field(u"Ext").asString()))
                continue;
            const QString path = ResolveDocumentPath(documents.field(u"Datei").asString(), client.filesDir).path;
            const QFileInfo file(path);
            if (path.isEmpty() || !file.isFile())
                ++audit.recordsWithoutFile;
            else if (++named[file.absoluteFilePath()] == 2)
                ++audit.sharedFiles;
        }
    }
    for (const QString& directory : {client.filesDir, client.other}) {
        for (const QFileInfo& file : filesIn(directory)) {
            if (isPartialCopyName(file.fileName()))
                continue;
            ++audit.files;
            if (!named.contains(file.absoluteFilePath()))
                ++audit.filesWithoutRecord;
        }
    }
    for (const QString& directory : {client.filesDir, client.other, client.incoming, client.kept})
        for (const QFileInfo& file : filesIn(directory))
            audit.partialCopies += isPartialCopyName(file.fileName()) ? 1 : 0;
    const QSet<int> found = sourcesFound({client.incoming, client.kept, client.filesDir, client.other,
                                          client.dataHome + QStringLiteral("/Trash/files")});
    for (int number : sourcesWritten(client.sourceLog))
        audit.lostSources += found.contains(number) ? 0 : 1;
    return audit;
}

} // namespace zep::faults
