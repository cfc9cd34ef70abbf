#include "document_list_bench.h"

#include "bench_support.h"
#include "cancelling_interaction.h"

#include "app/interaction.h"
#include "app/program.h"
#include "app/startup.h"
#include "controls/ui/db_grid3.h"
#include "controls/ui/tree_view2.h"
#include "data/collation.h"
#include "data/tdm.h"
#include "data/treefile.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_nodes.h"
#include "platform/desktop_associations.h"
#include "tools/installation_layout.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace zep::bench {

namespace {

constexpr int selections = 200;

// Every address at the top level: selecting one lists its own documents.
QList<TreeFileRecord> flatAddressTree(int addresses) {
    QList<TreeFileRecord> records;
    for (int nr = 1; nr <= addresses; ++nr)
        records.append({QStringLiteral("Firma %1").arg(nr, 5, 10, QLatin1Char('0')), 1, nr, 1});
    return records;
}

sqlite3* rawClientConnection(const QString& dataDir) {
    sqlite3* db = rawQueryConnection(dataDir);
    registerCollation(db);
    const QString attach =
        QStringLiteral("ATTACH '%1' AS thema").arg(QDir(dataDir).filePath(QStringLiteral("Thema.DB")));
    check(sqlite3_exec(db, attach.toUtf8().constData(), nullptr, nullptr, nullptr), db);
    return db;
}

void drawFirstScreen(TDBGrid3& grid) {
    grid.viewport()->grab();
}

void benchSelectEntry(MainWindow& window, const QString& dataDir, int addresses) {
    TTreeView2& tree = window.addressTree();
    QTreeWidgetItem* root = tree.topLevelItem(0);
    QRandomGenerator random(11);
    std::vector<QTreeWidgetItem*> entries;
    for (int i = 0; i < selections; ++i)
        entries.push_back(root->child(int(random.bounded(0, std::min(addresses, root->childCount())))));
    TDBGrid3& grid = window.documentGrid();
    const double filterRuleScreen = measure(3, [&] {
        for (QTreeWidgetItem* entry : entries) {
            {
                const QSignalBlocker quiet(tree);
                tree.setCurrentItem(entry);
            }
            window.reloadDocumentList(false, true);
            drawFirstScreen(grid);
        }
    });
    const double filterRule = measure(3, [&] {
        for (QTreeWidgetItem* entry : entries) {
            {
                const QSignalBlocker quiet(tree);
                tree.setCurrentItem(entry);
            }
            window.reloadDocumentList(false, true);
        }
    });
    // The drawing alone, on the entry selected last, as a floor for the selection with its screen.
    const double screenOnly = measure(3, [&] {
        for (int i = 0; i < selections; ++i)
            drawFirstScreen(grid);
    });
    const double treeSelection = measure(3, [&] {
        for (QTreeWidgetItem* entry : entries) {
            tree.setCurrentItem(entry);
            drawFirstScreen(grid);
        }
    });
    sqlite3* db = rawClientConnection(dataDir);
    sqlite3_stmt* s = nullptr;
    check(sqlite3_prepare_v2(db, "SELECT count(*) FROM dok.data WHERE NrFirma = 0 OR NrFirma = ?", -1, &s, nullptr),
          db);
    const double raw = measure(3, [&] {
        for (QTreeWidgetItem* entry : entries) {
            sqlite3_bind_int(s, 1, nodeNumber(entry));
            readAll(s);
        }
    });
    sqlite3_finalize(s);
    sqlite3_close(db);
    report(QStringLiteral("Eintrag wählen: Filter, Regel, Bild (%1)").arg(selections), filterRuleScreen, raw);
    report(QStringLiteral("  davon Filter und Regel ohne Bild"), filterRule, raw);
    report(QStringLiteral("  davon nur das Bild"), screenOnly, raw);
    report(QStringLiteral("Eintrag im Baum wählen, mit Adresse (%1)").arg(selections), treeSelection, raw);
}

void benchHeaderClick(MainWindow& window, const QString& dataDir) {
    TDBGrid3& grid = window.documentGrid();
    const double ours = measure(3, [&] {
        emit grid.OnHeaderClick(0, 0);
        drawFirstScreen(grid);
    });
    sqlite3* db = rawClientConnection(dataDir);
    const char* sql = "SELECT d.Nr, d.Datei, d.Ext, d.NrFirma, d.NrThema, d.WTyp, d.WTag, d.WDatum, d.Titel, d.Art, "
                      "a.Name1 AS Adresse, t.Thema, d.EDatum, d.ADatum, d.Autor FROM dok.data d "
                      "LEFT JOIN adr.data a ON d.NrFirma = a.Nr LEFT JOIN thema.data t ON d.NrThema = t.Nr "
                      "ORDER BY d.Titel COLLATE ZEP DESC, d.Nr";
    const double raw = measure(3, [&] {
        sqlite3_stmt* s = nullptr;
        check(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), db);
        readAll(s);
        sqlite3_finalize(s);
    });
    sqlite3_close(db);
    report(QStringLiteral("Spaltenkopf klicken (neue SQL, öffnen, Bild)"), ours, raw);
}

} // namespace

void runDocumentListBenchmark(const QString& clientDir, int addresses) {
    QTemporaryDir install;
    ensureInstallationLayout(install.path());
    Program program = loadProgram(install.path());
    Program::setInstance(&program);
    CancellingInteraction interaction(
        [](const QString& text) { std::fprintf(stderr, "Meldung: %s\n", qPrintable(text)); });
    Interaction::setInstance(&interaction);
    const QString dataDir = clientDir + QStringLiteral("/Daten");
    writeTreeFile(dataDir + QStringLiteral("/Adressen.dat"), flatAddressTree(addresses));
    writeTreeFile(dataDir + QStringLiteral("/Themen.dat"), {});
    {
        MainWindow window;
        DesktopAssociations associations;
        TDM dm(program.paths, interaction, associations);
        dm.DMCreate();
        window.setDataModule(&dm);
        bool opened = false;
        window.setClientOpener([&](const QString&, const QString&, int) {
            program.client.SetClientPaths(QStringLiteral("Bench"), clientDir);
            dm.CloseClientTables();
            dm.CloseDocumentQuery();
            dm.SetClientDataDir(program.client.DataDir);
            opened = dm.OpenClientTables() == 0;
            return opened;
        });
        window.resize(1200, 800);
        window.show();
        const QDeadlineTimer deadline(60000);
        while (!opened && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::processEvents();
        if (opened) {
            benchSelectEntry(window, dataDir, addresses);
            benchHeaderClick(window, dataDir);
        } else {
            std::fprintf(stderr, "Der Mandant ließ sich nicht öffnen.\n");
        }
        window.setDataModule(nullptr);
    }
    Interaction::setInstance(nullptr);
    Program::setInstance(nullptr);
}

} // namespace zep::bench
