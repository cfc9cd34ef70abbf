// Files, copies, moves, creates and deletes documents through the program's own filing code, the way
// its dialogs do, until it is killed; then opens the client as the program does (with its recovery)
// and counts what must never be left. Used by register_kill_loop.sh and, one step at a time, by
// tests/tst_filing_recovery.cpp.
//   zep-register-loop prepare <work>        lay out the installation and the client "Kill"
//   zep-register-loop run <work> [seed]     random steps until killed; "Vorgang <step>" for each one done
//   zep-register-loop step <work> <step>    one step (names below)
//   zep-register-loop check <work>          open the client, print the count; exit code 1 unless clean
#include "register_audit.h"

#include "../cancelling_interaction.h"

#include "addresses/entry_documents.h"
#include "app/clock.h"
#include "app/install_paths.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "app/registry.h"
#include "app/tmand.h"
#include "clients/client_opening.h"
#include "data/engine_error.h"
#include "data/table.h"
#include "data/table_upgrade.h"
#include "data/tdm.h"
#include "documents/document_copying.h"
#include "documents/document_creation.h"
#include "documents/document_deletion.h"
#include "documents/document_filing.h"
#include "documents/filing_recovery.h"
#include "documents/note_filing.h"
#include "platform/desktop_associations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTextStream>
#include <QThread>

#include <cstdio>
#include <functional>
#include <map>

using namespace zep;
using namespace zep::faults;

namespace {

QTextStream out(stdout);

const QString Link = QStringLiteral("NrFirma");

// One worker on the client's documents table, as the program's data module holds it.
class Worker {
public:
    Worker(const FaultClient& client, quint32 seed, bool pauses)
        : client_(client), random_(seed), pauses_(pauses), nextSource_(lastSourceNumber() + 1) {
        documents_.setDirectory(client.dataDir);
        documents_.setTableName(QStringLiteral("Dok.DB"));
        documents_.open();
    }

    // The steps by name; false when the step found nothing to work on.
    const std::map<QString, std::function<bool()>>& steps() {
        if (steps_.empty()) {
            steps_ = {
                {QStringLiteral("hinzufuegen-kopieren"),
                 [this] {
                     return addOne(FileHandling::Copy, false);
                 }},
                {QStringLiteral("hinzufuegen-verschieben"),
                 [this] {
                     return addOne(FileHandling::Move, false);
                 }},
                {QStringLiteral("hinzufuegen-behalten"),
                 [this] {
                     return addOne(FileHandling::Keep, false);
                 }},
                {QStringLiteral("hinzufuegen-abbrechen"),
                 [this] {
                     return addOne(FileHandling::Copy, true);
                 }},
                {QStringLiteral("mehrere-kopieren"),
                 [this] {
                     return addSeveral(FileHandling::Copy);
                 }},
                {QStringLiteral("mehrere-verschieben"),
                 [this] {
                     return addSeveral(FileHandling::Move);
                 }},
                {QStringLiteral("neu"),
                 [this] {
                     return createFromTemplate();
                 }},
                {QStringLiteral("kopieren"),
                 [this] {
                     return copyDocument(false);
                 }},
                {QStringLiteral("kopieren-anderer-ordner"),
                 [this] {
                     return copyDocument(true);
                 }},
                {QStringLiteral("verschieben"),
                 [this] {
                     return moveDocument();
                 }},
                {QStringLiteral("loeschen"),
                 [this] {
                     return deleteDocumentWithFile();
                 }},
                {QStringLiteral("eintrag-loeschen"),
                 [this] {
                     return deleteEntryDocuments();
                 }},
                {QStringLiteral("notiz"),
                 [this] {
                     return fileNote();
                 }},
            };
        }
        return steps_;
    }

    // Runs a step and reports what it said; engine errors end only the step.
    bool runStep(const QString& name) {
        try {
            return steps().at(name)();
        } catch (const EngineError& error) {
            out << "Fehler in " << name << ": " << QString(error.message()).replace(u'\n', u' ') << Qt::endl;
            return false;
        }
    }

    // Deletes more often once the register has grown, so that it stays small.
    QString randomStep() {
        static const std::vector<std::pair<QString, int>> weights{{QStringLiteral("hinzufuegen-kopieren"), 12},
                                                                  {QStringLiteral("hinzufuegen-verschieben"), 10},
                                                                  {QStringLiteral("hinzufuegen-behalten"), 4},
                                                                  {QStringLiteral("hinzufuegen-abbrechen"), 4},
                                                                  {QStringLiteral("mehrere-kopieren"), 6},
                                                                  {QStringLiteral("mehrere-verschieben"), 6},
                                                                  {QStringLiteral("neu"), 10},
                                                                  {QStringLiteral("kopieren"), 10},
                                                                  {QStringLiteral("kopieren-anderer-ordner"), 4},
                                                                  {QStringLiteral("verschieben"), 8},
                                                                  {QStringLiteral("loeschen"), 12},
                                                                  {QStringLiteral("eintrag-loeschen"), 2},
                                                                  {QStringLiteral("notiz"), 3}};
        if (documents_.recordCount() > 80)
            return QStringLiteral("loeschen");
        int total = 0;
        for (const auto& [name, weight] : weights)
            total += weight;
        int pick = int(random_.bounded(total));
        for (const auto& [name, weight] : weights) {
            if (pick < weight)
                return name;
            pick -= weight;
        }
        return weights.front().first;
    }

private:
    static QString sourceLine(int number) { return QStringLiteral("Quelle %1").arg(number); }

    int lastSourceNumber() const {
        QFile log(client_.sourceLog);
        int last = 0;
        if (log.open(QIODevice::ReadOnly))
            for (const QByteArray& line : log.readAll().split('\n'))
                if (line.startsWith("Quelle "))
                    last = std::max(last, line.mid(7).toInt());
        return last;
    }

    // A new source file, counted once it is complete; its size lets a kill land inside a copy.
    QString newSource(const QString& directory) {
        const int number = nextSource_++;
        const QString path = QDir(directory).filePath(QStringLiteral("Quelle-%1.txt").arg(number));
        QFile file(path);
        const QByteArray bytes = sourceContent(number, int(random_.bounded(1024, 512 * 1024)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
            throw EngineError(QStringLiteral("Quelldatei nicht zu schreiben: ") + path);
        file.close();
        QFile log(client_.sourceLog);
        const QByteArray line = sourceLine(number).toUtf8() + '\n';
        if (!log.open(QIODevice::Append) || log.write(line) != line.size() || !log.flush())
            throw EngineError(QStringLiteral("Quellenliste nicht zu schreiben"));
        return path;
    }

    // The time a dialog stays open with its provisional record.
    void dialogOpen() {
        if (pauses_)
            QThread::usleep(random_.bounded(3000));
    }

    qint64 entry() { return random_.bounded(1, 6); }

    FilingTarget target() { return {Link, entry(), client_.filesDir}; }

    void say(const QString& message) {
        if (!message.isEmpty())
            out << "Meldung: " << message << Qt::endl;
    }

    bool addOne(FileHandling handling, bool abort) {
        const QString source = newSource(handling == FileHandling::Keep ? client_.kept : client_.incoming);
        DocumentAdding adding(documents_);
        adding.begin(target(), source);
        dialogOpen();
        if (!abort)
            say(adding.file(proposedTitle(source), source, proposedTarget(source, client_.filesDir), handling));
        adding.finish();
        return true;
    }

    bool addSeveral(FileHandling handling) {
        QStringList sources;
        for (int i = 0, count = int(random_.bounded(2, 4)); i < count; ++i)
            sources << newSource(client_.incoming);
        say(fileDocuments(documents_, target(), sources, handling, nullptr).error);
        return true;
    }

    bool createFromTemplate() {
        static const QStringList titles{QStringLiteral("Angebot"), QStringLiteral("Brief"), QStringLiteral("Rechnung")};
        DocumentCreation creation(documents_);
        creation.begin(Link, entry());
        dialogOpen();
        say(creation.file(titles[int(random_.bounded(int(titles.size())))], client_.templatePath, QStringLiteral("odt"),
                          client_.filesDir, Clock::now()));
        creation.finish();
        return true;
    }

    // Moves the table to a random document that has a file; false when there is none.
    bool pickDocument() {
        const int count = documents_.recordCount();
        for (int tries = 0; count > 0 && tries < 10; ++tries) {
            documents_.first();
            documents_.moveBy(int(random_.bounded(count)));
            if (!isNoteExtension(documents_.field(u"Ext").asString()))
                return true;
        }
        return false;
    }

    bool copyDocument(bool otherFolder) {
        if (!pickDocument())
            return false;
        const CopySource source = copySourceOf(documents_.field(u"Datei").asString(), client_.filesDir);
        const QString title = documents_.field(u"Titel").asString();
        DocumentCopying copying(client_.dataDir);
        copying.begin(documents_, Link, entry(), Clock::now());
        dialogOpen();
        const QString directory = otherFolder ? client_.other : client_.filesDir;
        say(copying.file(title, source.path, copyTargetFile(directory, title, source.extension), client_.filesDir));
        copying.finish();
        copying.TZiel.close();
        documents_.refresh();
        return true;
    }

    bool moveDocument() {
        if (documents_.recordCount() == 0)
            return false;
        documents_.first();
        documents_.moveBy(int(random_.bounded(documents_.recordCount())));
        documents_.edit();
        documents_.field(Link).setValue(entry());
        documents_.post();
        return true;
    }

    bool deleteDocumentWithFile() {
        if (documents_.recordCount() == 0)
            return false;
        documents_.first();
        documents_.moveBy(int(random_.bounded(documents_.recordCount())));
        const DocumentDeletion plan = planDocumentDeletion(documents_, false);
        say(deleteDocument(documents_, plan, true, Link, client_.filesDir));
        return true;
    }

    // The documents of one entry go as when the entry is deleted.
    bool deleteEntryDocuments() {
        if (documents_.recordCount() == 0)
            return false;
        documents_.first();
        documents_.moveBy(int(random_.bounded(documents_.recordCount())));
        const qint64 entry = documents_.field(Link).asInteger();
        documents_.setFilterText(QStringLiteral("%1 = %2").arg(Link).arg(entry));
        documents_.setFiltered(true);
        QStringList notTrashed;
        try {
            notTrashed = removeEntryDocuments(documents_, Link, client_.filesDir);
        } catch (...) {
            documents_.setFiltered(false);
            throw;
        }
        documents_.setFiltered(false);
        if (!notTrashed.isEmpty())
            say(QStringLiteral("Nicht in den Papierkorb: ") + notTrashed.join(QStringLiteral(", ")));
        return true;
    }

    bool fileNote() {
        NoteFiling note(documents_);
        note.begin(Link, entry());
        dialogOpen();
        note.file(QStringLiteral("Rückruf"), Clock::now());
        note.finish();
        return true;
    }

    const FaultClient& client_;
    QRandomGenerator random_;
    bool pauses_;
    int nextSource_;
    Table documents_;
    std::map<QString, std::function<bool()>> steps_;
};

int run(const FaultClient& client, quint32 seed) {
    Worker worker(client, seed, true);
    for (;;) {
        const QString step = worker.randomStep();
        if (worker.runStep(step))
            out << "Vorgang " << step << Qt::endl;
    }
}

int step(const FaultClient& client, const QString& name) {
    Worker worker(client, 1, false);
    if (worker.steps().count(name) == 0) {
        out << "Unbekannter Schritt: " << name << Qt::endl;
        return 2;
    }
    return worker.runStep(name) ? 0 : 3;
}

// Opens the client as the program's main window does, with the table upgrade and the recovery.
int check(const FaultClient& client) {
    bench::CancellingInteraction ui(
        [](const QString& text) { out << "Meldung: " << QString(text).replace(u'\n', u' ') << Qt::endl; });
    Interaction::setInstance(&ui);
    const InstallPaths paths = InstallPaths::fromDirectory(client.install);
    DesktopAssociations associations;
    TDM dm(paths, ui, associations);
    if (!dm.DMCreate())
        return 2;
    TMand opened;
    ClientOpening opening(paths, Registry(paths.registryFile), dm, opened, ui, [](int) { return false; });
    opening.setTableUpgrade(&DO_UPDATE_DATA);
    opening.setFilingRecovery(&recoverFilingAtOpening);
    if (!opening.OpenClient(ProgramKey.toString(), QString(), 0)) {
        out << "Mandant nicht geöffnet" << Qt::endl;
        return 2;
    }
    dm.CloseClientTables();
    const RegisterAudit audit = auditRegister(client);
    out << audit.line() << Qt::endl;
    Interaction::setInstance(nullptr);
    return audit.clean() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 3 && args[1] == u"prepare") {
            prepareFaultClient(FaultClient(args[2]));
            return 0;
        }
        if (args.size() >= 3 && args[1] == u"run")
            return run(FaultClient(args[2]),
                       args.size() > 3 ? args[3].toUInt() : QRandomGenerator::global()->generate());
        if (args.size() == 4 && args[1] == u"step")
            return step(FaultClient(args[2]), args[3]);
        if (args.size() == 3 && args[1] == u"check")
            return check(FaultClient(args[2]));
    } catch (const std::exception& error) {
        out << "Abbruch: " << QString::fromUtf8(error.what()) << Qt::endl;
        return 2;
    }
    std::fprintf(stderr, "zep-register-loop prepare|run|step|check <work> ...\n");
    return 2;
}
