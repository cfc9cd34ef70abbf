#include "addresses/ui/address_form.h"
#include "addresses/ui/topic_form.h"
#include "app/install_paths.h"
#include "app/program.h"
#include "app/startup.h"
#include "controls/ui/db_grid3.h"
#include "controls/ui/tree_view2.h"
#include "data/tdm.h"
#include "data/treefile.h"
#include "fake_associations.h"
#include "file_bytes.h"
#include "mainwin/tree_levels.h"
#include "mainwin/tree_order.h"
#include "mainwin/tree_search.h"
#include "mainwin/tree_texts.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_handlers.h"
#include "mainwin/ui/tree_host.h"
#include "mainwin/ui/tree_mirror.h"
#include "mainwin/ui/tree_nodes.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <memory>

using namespace zep;
using test::appendRecord;
using zep::test::readBytes;

namespace {

QString fixture(const QString& name) {
    return QStringLiteral(ZEP_TEST_DATA "/trees/") + name;
}

// One line per node in pre-order: level, caption, number, type.
void describeNode(const QTreeWidgetItem* item, int level, QStringList& lines) {
    lines << QStringLiteral("%1 %2 %3 %4").arg(level).arg(item->text(0)).arg(nodeNumber(item)).arg(nodeType(item));
    for (int i = 0; i < item->childCount(); ++i)
        describeNode(item->child(i), level + 1, lines);
}

QStringList describe(const QTreeWidget& tree) {
    QStringList lines;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        describeNode(tree.topLevelItem(i), 0, lines);
    return lines;
}

// The same lines read back from a tree file, the root (level 0) given.
QStringList describeFile(const QString& path, const QString& root) {
    QStringList lines{QStringLiteral("0 %1 0 2").arg(root)};
    for (const TreeFileRecord& r : readTreeFile(path))
        lines << QStringLiteral("%1 %2 %3 %4").arg(r.level).arg(r.name).arg(r.nr).arg(r.baum);
    return lines;
}

QTreeWidgetItem* findNode(const QTreeWidget& tree, const QString& caption) {
    for (QTreeWidgetItem* node = firstNode(tree); node; node = nextNode(node)) {
        if (node->text(0) == caption)
            return node;
    }
    return nullptr;
}

QStringList childCaptions(const QTreeWidgetItem* item) {
    QStringList captions;
    for (int i = 0; i < item->childCount(); ++i)
        captions << item->child(i)->text(0);
    return captions;
}

// The main window as the handlers see it; records what they ask of it.
class FakeHost : public TreeHost {
public:
    explicit FakeHost(TDM* dm = nullptr) : dm_(dm) {
        TVA.setObjectName(QStringLiteral("TVA"));
        TVB.setObjectName(QStringLiteral("TVB"));
        TVD.setObjectName(QStringLiteral("TVD"));
    }

    void showView(ViewState::View v, Table* table, const QString& treeFile) {
        view.view = v;
        view.table = table;
        view.treeFile = treeFile;
        view.tabIndex = int(v);
        view.rootCaption = v == ViewState::Addresses ? QStringLiteral("Adressen") : QStringLiteral("Themen");
        view.linkField = v == ViewState::Addresses ? QStringLiteral("NrFirma") : QStringLiteral("NrThema");
        view.tree = v == ViewState::Addresses ? &TVA : &TVB;
    }

    const ViewState& viewState() const override { return view; }
    TDM& dataModule() override { return *dm_; }
    TTreeView2& addressTree() override { return TVA; }
    TTreeView2& topicTree() override { return TVB; }
    TTreeView2& documentTree() override { return TVD; }
    bool treeLoading() const override { return loading; }
    void setTreeLoading(bool l) override { loading = l; }
    bool copyDrag() const override { return copy; }
    void setCopyDrag(bool c) override { copy = c; }
    void setViewTabCaption(int tabIndex, const QString& caption) override { tabCaptions[tabIndex] = caption; }
    void applyEntryRule(bool proper) override { entryRules << proper; }
    void reloadDocumentList(bool requery, bool filter) override {
        QVERIFY(!requery && filter);
        ++reloads;
    }
    void showAddressSummary() override { ++summaries; }
    void clearAddressSummary() override { ++summaryClears; }
    void setGridAcceptsFiles(bool accept) override { gridAccepts = accept; }
    bool fileDropsCarriedOut() const override { return dropsBound; }
    void moveDocument(int number) override { movedDocuments << number; }
    void copyDocument(int number) override { copiedDocuments << number; }
    bool currentDocumentIsNote() override { return note; }

    TTreeView2 TVA, TVB, TVD;
    ViewState view;
    bool loading = false;
    bool copy = false;
    bool note = false;
    bool dropsBound = true; // files dropped onto the list are filed
    QMap<int, QString> tabCaptions;
    QList<bool> entryRules;
    int reloads = 0;
    int summaries = 0;
    int summaryClears = 0;
    bool gridAccepts = false;
    QList<int> movedDocuments;
    QList<int> copiedDocuments;

private:
    TDM* dm_;
};

const QStringList addressTreeWithRoot = {
    QStringLiteral("0 Adressen 0 2"),
    QStringLiteral("1 Zeta AG 2 1"),
    QStringLiteral("2 Übersee Büro 6 -1"),
    QStringLiteral("1 Alpha GmbH 1 1"),
    QStringLiteral("2 Bauer Anna 4 -1"),
    QStringLiteral("3 Projekt Süd 7 -1"),
    QStringLiteral("2 Mayer Max 5 -1"),
    QStringLiteral("1 beta KG 3 0"),
    QStringLiteral("1 Ein Name von genau fünfzig Zeichen, nicht länger!! 8 -1"),
};

// The same tree once the root was expanded, which sorts its children.
const QStringList addressTreeRootExpanded = {
    QStringLiteral("0 Adressen 0 2"),
    QStringLiteral("1 Alpha GmbH 1 1"),
    QStringLiteral("2 Bauer Anna 4 -1"),
    QStringLiteral("3 Projekt Süd 7 -1"),
    QStringLiteral("2 Mayer Max 5 -1"),
    QStringLiteral("1 beta KG 3 0"),
    QStringLiteral("1 Ein Name von genau fünfzig Zeichen, nicht länger!! 8 -1"),
    QStringLiteral("1 Zeta AG 2 1"),
    QStringLiteral("2 Übersee Büro 6 -1"),
};

// The main window on an installation with two clients: "Muster", whose address tree file holds the
// valid records of tests/data/trees/addresses.dat followed by what a test appends, and "Leer", with
// tables but no tree files.
class WindowInstallation {
public:
    explicit WindowInstallation(const QByteArray& appendedToTreeFile = {}) {
        ensureInstallationLayout(tmp.path());
        program = loadProgram(tmp.path());
        Program::setInstance(&program);
        const QString muster = tmp.filePath(QStringLiteral("Muster/Daten"));
        test::createClientTables(muster);
        test::createClientTables(tmp.filePath(QStringLiteral("Leer/Daten")));
        Table adr;
        test::openTable(adr, muster, QStringLiteral("Adressen.DB"));
        for (const TreeFileRecord& record : readTreeFile(fixture(QStringLiteral("addresses.dat"))))
            appendRecord(adr, {{QStringLiteral("Vor"), 0}, {QStringLiteral("Name1"), record.name}});
        treeBytes = readBytes(fixture(QStringLiteral("addresses.dat"))) + appendedToTreeFile;
        treeFile = muster + QStringLiteral("/Adressen.dat");
        QFile file(treeFile);
        file.open(QIODevice::WriteOnly);
        file.write(treeBytes);
        file.close();
        writeTreeFile(muster + QStringLiteral("/Themen.dat"), {{QStringLiteral("Projekte"), 1, 1, 1}});
        window = std::make_unique<MainWindow>();
        dm = std::make_unique<TDM>(program.paths, interaction, associations);
        dm->DMCreate();
        window->setDataModule(dm.get());
        window->setClientOpener([this](const QString&, const QString&, int) { return openClient(); });
    }
    ~WindowInstallation() {
        window->setDataModule(nullptr);
        window.reset();
        dm.reset();
        Program::setInstance(nullptr);
    }

    bool show() {
        window->show();
        return QTest::qWaitFor([this] { return opened > 0; });
    }
    TTreeView2& tva() { return window->addressTree(); }
    TTreeView2& tvb() { return window->topicTree(); }
    // The name of every address record, in Nr order.
    QStringList addressNames() {
        Table adr;
        test::openTable(adr, program.client.DataDir, QStringLiteral("Adressen.DB"));
        QStringList names;
        for (const QVariant& name : test::columnValues(adr, QStringLiteral("Name1")))
            names << name.toString();
        return names;
    }

    test::ScriptedInteraction interaction;
    QTemporaryDir tmp;
    Program program;
    test::FakeAssociations associations;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<TDM> dm;
    QString nextClient = QStringLiteral("Muster");
    QString treeFile;
    QByteArray treeBytes;
    int opened = 0;

private:
    bool openClient() {
        ++opened;
        program.client.SetClientPaths(nextClient, tmp.filePath(nextClient));
        dm->CloseClientTables();
        dm->CloseDocumentQuery();
        dm->SetClientDataDir(program.client.DataDir);
        return dm->OpenClientTables() == 0;
    }
};

// Runs f on the address or topic form once it shows, from within the form's own event loop.
void onEntryForm(const std::function<void(QWidget&)>& f) {
    QTimer::singleShot(0, [f] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            const QString name = widget->objectName();
            if ((name == QStringLiteral("TB01") || name == QStringLiteral("TB02")) && widget->isVisible()) {
                f(*widget);
                return;
            }
        }
        QFAIL("no entry form shown");
    });
}

} // namespace

class TreesTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    InstallPaths paths_;
    test::FakeAssociations associations_;
    int clients_ = 0;

    // A client whose tables and tree files match tests/data/trees/addresses.dat and a small topic tree.
    struct Client {
        QString dataDir;
        QString addressFile;
        QString topicFile;
        std::unique_ptr<TDM> dm;
    };

    Client newClient(test::ScriptedInteraction& interaction) {
        Client client;
        client.dataDir = tmp_.filePath(QStringLiteral("client%1/Daten").arg(++clients_));
        QDir().mkpath(client.dataDir);
        for (const QString& name : QDir(paths_.emptyData).entryList(QDir::Files))
            QFile::copy(QDir(paths_.emptyData).filePath(name), QDir(client.dataDir).filePath(name));
        client.addressFile = QDir(client.dataDir).filePath(QStringLiteral("Adressen.dat"));
        client.topicFile = QDir(client.dataDir).filePath(QStringLiteral("Themen.dat"));
        QFile::remove(client.addressFile); // the template's empty tree
        QFile::copy(fixture(QStringLiteral("addresses.dat")), client.addressFile);
        QFile(client.addressFile).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

        client.dm = std::make_unique<TDM>(paths_, interaction, associations_);
        client.dm->SetGeneralDir(paths_.general);
        client.dm->SetClientDataDir(client.dataDir);
        [&] {
            QCOMPARE(client.dm->OpenClientTables(), 0);
        }();
        Table& adr = client.dm->TAdr;
        const auto address = [&](int vor, int baum, const QString& name1, const QString& name2 = {}) {
            appendRecord(adr, {{QStringLiteral("Vor"), vor},
                               {QStringLiteral("Baum"), baum},
                               {QStringLiteral("Person"), !name2.isEmpty()},
                               {QStringLiteral("Name1"), name1},
                               {QStringLiteral("Name2"), name2},
                               {QStringLiteral("Ort"), QStringLiteral("Köln")}});
        };
        address(0, 1, QStringLiteral("Alpha GmbH"));                                          // 1
        address(0, 1, QStringLiteral("Zeta AG"));                                             // 2
        address(0, 0, QStringLiteral("beta KG"));                                             // 3
        address(1, -1, QStringLiteral("Bauer"), QStringLiteral("Anna"));                      // 4
        address(1, -1, QStringLiteral("Mayer Max"));                                          // 5
        address(2, -1, QStringLiteral("Übersee Büro"));                                       // 6
        address(4, -1, QStringLiteral("Projekt Süd"));                                        // 7
        address(0, -1, QStringLiteral("Ein Name von genau fünfzig Zeichen, nicht länger!!")); // 8

        Table& topics = client.dm->TThema;
        const auto topic = [&](int vor, int baum, const QString& name) {
            appendRecord(
                topics,
                {{QStringLiteral("Vor"), vor}, {QStringLiteral("Baum"), baum}, {QStringLiteral("Thema"), name}});
        };
        topic(0, 1, QStringLiteral("Verträge")); // 1
        topic(1, -1, QStringLiteral("Miete"));   // 2
        topic(0, 1, QStringLiteral("Steuer"));   // 3
        writeTreeFile(client.topicFile, {{QStringLiteral("Verträge"), 1, 1, 1},
                                         {QStringLiteral("Miete"), 2, 2, -1},
                                         {QStringLiteral("Steuer"), 1, 3, 1}});
        return client;
    }

    // A host on the client's address tree, loaded and attached, nothing selected.
    static void openAddresses(FakeHost& host, TreeHandlers& handlers, Client& client) {
        handlers.attachTrees();
        host.loading = true;
        QVERIFY(LoadTreeFile(host.TVA, client.addressFile, QStringLiteral("Adressen")));
        QVERIFY(LoadTreeFile(host.TVB, client.topicFile, QStringLiteral("Themen")));
        host.loading = false;
        host.showView(ViewState::Addresses, &client.dm->TAdr, client.addressFile);
    }

    static QVariant fieldOf(const QString& dataDir, const QString& table, qint64 nr, const QString& field) {
        Table t;
        test::openTable(t, dataDir, table);
        return t.findKey({nr}) ? t.field(field).value() : QVariant(QStringLiteral("<fehlt>"));
    }

    static int recordCount(const QString& dataDir, const QString& table) {
        Table t;
        test::openTable(t, dataDir, table);
        return t.recordCount();
    }

private slots:
    void initTestCase() {
        const QString root = tmp_.filePath(QStringLiteral("inst"));
        ensureInstallationLayout(root);
        paths_ = InstallPaths::fromDirectory(root);
    }

    void searchText_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("matches");
        QTest::newRow("letters regardless of case") << "alpha GmbH"
                                                    << "ALPHA g" << true;
        QTest::newRow("umlaut in the same case") << "Müller"
                                                 << "mü" << true;
        QTest::newRow("umlaut in the other case") << "MÜLLER"
                                                  << "mü" << false;
        QTest::newRow("capital umlaut typed small") << "Übersee"
                                                    << "übersee" << false;
        QTest::newRow("capital umlaut typed capital") << "Übersee"
                                                      << "ÜBERsee" << true;
        QTest::newRow("only the beginning") << "Bauer Anna"
                                            << "anna" << false;
        QTest::newRow("longer than the caption") << "Bau"
                                                 << "bauer" << false;
        QTest::newRow("empty text matches nothing") << "Alpha"
                                                    << "" << false;
    }

    void searchText() {
        QFETCH(QString, caption);
        QFETCH(QString, typed);
        QFETCH(bool, matches);
        QCOMPARE(captionMatchesSearch(caption, foldSearchText(typed)), matches);
    }

    void parentRule_data() {
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<bool>("withRoot");
        QTest::addColumn<QList<int>>("parents");
        QTest::newRow("children and siblings") << QList<int>{1, 2, 3, 2, 1} << true << QList<int>{0, 1, 2, 1, 0};
        QTest::newRow("up by two levels") << QList<int>{1, 2, 3, 1, 2} << true << QList<int>{0, 1, 2, 0, 4};
        QTest::newRow("two levels deeper is a sibling") << QList<int>{1, 3, 2} << true << QList<int>{0, 0, 2};
        QTest::newRow("deeper below a child") << QList<int>{1, 2, 5} << true << QList<int>{0, 1, 1};
        QTest::newRow("without root level 1 is top level") << QList<int>{1, 2, 1} << false << QList<int>{-1, 0, -1};
        QTest::newRow("without root, too deep") << QList<int>{1, 3, 2} << false << QList<int>{-1, -1, 1};
        QTest::newRow("no records") << QList<int>{} << true << QList<int>{};
    }

    void parentRule() {
        QFETCH(QList<int>, levels);
        QFETCH(bool, withRoot);
        QFETCH(QList<int>, parents);
        QCOMPARE(treeParentsFromLevels(levels, withRoot), parents);
    }

    void captionOrder() {
        QStringList captions{QStringLiteral("Zeta"),  QStringLiteral("Beta"),    QStringLiteral("Äpfel"),
                             QStringLiteral("beta"),  QStringLiteral("Apfel"),   QStringLiteral("Birne"),
                             QStringLiteral("apfel"), QStringLiteral("10 Tage"), QStringLiteral("2 Tage")};
        std::sort(captions.begin(), captions.end(),
                  [](const QString& a, const QString& b) { return compareTreeCaptions(a, b) < 0; });
        const QStringList expected{QStringLiteral("10 Tage"), QStringLiteral("2 Tage"), QStringLiteral("apfel"),
                                   QStringLiteral("Apfel"),   QStringLiteral("Äpfel"),  QStringLiteral("beta"),
                                   QStringLiteral("Beta"),    QStringLiteral("Birne"),  QStringLiteral("Zeta")};
        QCOMPARE(captions, expected);
    }

    void texts() {
        QCOMPARE(treeTabCaption(QStringLiteral("Adressen"), 13), QStringLiteral("Adressen [12]"));
        QCOMPARE(treeTabCaption(QStringLiteral("Themen"), 1), QStringLiteral("Themen [0]"));
        QCOMPARE(subtreeEntryLine(QStringLiteral("Bauer Anna"), 4), QStringLiteral("Bauer Anna\u00B64"));
    }

    void loadWithRoot() {
        test::ScriptedInteraction interaction;
        TTreeView2 tree;
        QVERIFY(LoadTreeFile(tree, fixture(QStringLiteral("addresses.dat")), QStringLiteral("Adressen")));
        QCOMPARE(describe(tree), addressTreeWithRoot);
        QVERIFY(tree.updatesEnabled());
        QVERIFY(interaction.texts().isEmpty());
        // The state image follows the type: root and main entries have one, others none.
        QVERIFY(!findNode(tree, QStringLiteral("Adressen"))->icon(0).isNull());
        QVERIFY(!findNode(tree, QStringLiteral("Zeta AG"))->icon(0).isNull());
        QVERIFY(findNode(tree, QStringLiteral("Mayer Max"))->icon(0).isNull());
        QVERIFY(findNode(tree, QStringLiteral("beta KG"))->icon(0).isNull());
    }

    void loadWithoutRoot() {
        TTreeView2 tree;
        QVERIFY(LoadTreeFile(tree, fixture(QStringLiteral("addresses.dat")), QString()));
        QStringList expected;
        for (const QString& line : addressTreeWithRoot.mid(1)) {
            const int level = line.section(u' ', 0, 0).toInt();
            expected << QString::number(level - 1) + line.mid(line.indexOf(u' '));
        }
        QCOMPARE(describe(tree), expected);
        QCOMPARE(tree.topLevelItemCount(), 4);
    }

    void roundTripIsByteExact_data() {
        QTest::addColumn<QString>("root");
        QTest::newRow("addresses") << "Adressen";
        QTest::newRow("topics") << "Themen";
    }

    void roundTripIsByteExact() {
        QFETCH(QString, root);
        QTemporaryDir dir;
        TTreeView2 tree;
        QVERIFY(LoadTreeFile(tree, fixture(QStringLiteral("addresses.dat")), root));
        const QString saved = dir.filePath(QStringLiteral("saved.dat"));
        QVERIFY(SaveTreeFile(tree, saved));
        QCOMPARE(readBytes(saved), readBytes(fixture(QStringLiteral("addresses.dat"))));
    }

    void longCaptionIsCut() {
        QTemporaryDir dir;
        TTreeView2 tree;
        TreeModel& model = treeModel(tree);
        model.setRecords({}, QStringLiteral("Adressen"));
        const QString longName = QStringLiteral("Ä").repeated(60);
        model.addChild(model.first(), longName, 5, TreeMainEntry);
        const QString saved = dir.filePath(QStringLiteral("long.dat"));
        QVERIFY(SaveTreeFile(tree, saved));
        QVERIFY(LoadTreeFile(tree, saved, QStringLiteral("Adressen")));
        QCOMPARE(describe(tree),
                 QStringList({QStringLiteral("0 Adressen 0 2"), QStringLiteral("1 %1 5 1").arg(longName.left(50))}));
    }

    void deeperRecordBecomesSibling() {
        QTemporaryDir dir;
        TTreeView2 tree;
        QVERIFY(LoadTreeFile(tree, fixture(QStringLiteral("deeper.dat")), QStringLiteral("Adressen")));
        const QStringList expected{QStringLiteral("0 Adressen 0 2"), QStringLiteral("1 Erster 1 1"),
                                   QStringLiteral("1 Zweiter 2 -1"), QStringLiteral("2 Dritter 3 -1")};
        QCOMPARE(describe(tree), expected);
        const QString saved = dir.filePath(QStringLiteral("saved.dat"));
        QVERIFY(SaveTreeFile(tree, saved));
        QCOMPARE(describeFile(saved, QStringLiteral("Adressen")), expected);
    }

    void emptyFileGivesOnlyTheRoot() {
        test::ScriptedInteraction interaction;
        FakeHost host;
        TreeHandlers handlers(host);
        handlers.attachTrees();
        Table addresses;
        host.showView(ViewState::Addresses, &addresses, fixture(QStringLiteral("empty.dat")));
        QVERIFY(LoadTreeFile(host.TVA, fixture(QStringLiteral("empty.dat")), QStringLiteral("Adressen")));
        QCOMPARE(describe(host.TVA), QStringList{QStringLiteral("0 Adressen 0 2")});
        host.TVA.setCurrentItem(host.TVA.topLevelItem(0));
        QCOMPARE(host.tabCaptions.value(0), QStringLiteral("Adressen [0]"));
        QCOMPARE(host.entryRules, QList<bool>{false});
        QCOMPARE(host.reloads, 1);
        QVERIFY(!host.gridAccepts);
        QVERIFY(interaction.texts().isEmpty());
    }

    void unreadableFileKeepsTheTree_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        const QString missing = fixture(QStringLiteral("fehlt.dat"));
        QTest::newRow("missing") << missing << QStringLiteral("Kann Datei \"%1\" nicht finden").arg(missing);
        const QString directory = fixture(QString());
        QTest::newRow("a directory") << directory << QStringLiteral("Kann Datei \"%1\" nicht finden").arg(directory);
    }

    void unreadableFileKeepsTheTree() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        test::ScriptedInteraction interaction;
        TTreeView2 tree;
        QVERIFY(LoadTreeFile(tree, fixture(QStringLiteral("addresses.dat")), QStringLiteral("Adressen")));
        QVERIFY(!LoadTreeFile(tree, path, QStringLiteral("Themen")));
        QCOMPARE(interaction.texts().size(), 1);
        QVERIFY2(interaction.texts().first().startsWith(message), qPrintable(interaction.texts().first()));
        QCOMPARE(describe(tree), addressTreeWithRoot);
        QVERIFY(tree.updatesEnabled());
    }

    void unwritableFileIsReported() {
        test::ScriptedInteraction interaction;
        QTemporaryDir dir;
        TTreeView2 tree;
        QVERIFY(LoadTreeFile(tree, fixture(QStringLiteral("addresses.dat")), QStringLiteral("Adressen")));
        const QString path = dir.filePath(QStringLiteral("fehlt/Adressen.dat"));
        QVERIFY(!SaveTreeFile(tree, path));
        QCOMPARE(interaction.texts(), QStringList{QStringLiteral("Kann Datei \"%1\" nicht finden").arg(path)});
        QVERIFY(!QFile::exists(path));
    }

    void documentTreeHasItsFixedNodes() {
        FakeHost host;
        TreeHandlers handlers(host);
        handlers.attachTrees();
        const QStringList expected{QStringLiteral("0 Dokumente 0 2"),     QStringLiteral("1 Alle 0 1"),
                                   QStringLiteral("1 Wiedervorlage 0 1"), QStringLiteral("2 Heute 0 0"),
                                   QStringLiteral("2 Morgen 0 0"),        QStringLiteral("2 Ab Übermorgen 0 0"),
                                   QStringLiteral("2 Datum 0 3"),         QStringLiteral("2 Täglich 0 4"),
                                   QStringLiteral("2 Wöchentlich 0 5"),   QStringLiteral("2 Monatlich 0 6")};
        QCOMPARE(describe(host.TVD), expected);
        QTreeWidgetItem* heute = nextNode(nextNode(nextNode(firstNode(host.TVD))));
        QCOMPARE(heute->text(0), QStringLiteral("Heute"));
        QVERIFY(heute->icon(0).isNull());
        QVERIFY(!findNode(host.TVD, QStringLiteral("Monatlich"))->icon(0).isNull());

        // Selecting a filter lists the documents only while the documents view is active.
        host.TVD.setCurrentItem(heute);
        QCOMPARE(host.reloads, 0);
        host.view.view = ViewState::Documents;
        host.view.tree = &host.TVD;
        host.TVD.setCurrentItem(findNode(host.TVD, QStringLiteral("Morgen")));
        QCOMPARE(host.reloads, 1);
        QVERIFY(host.tabCaptions.isEmpty());
    }

    void treeChangePositionsTheTable() {
        test::ScriptedInteraction interaction;
        Client client = newClient(interaction);
        FakeHost host(client.dm.get());
        TreeHandlers handlers(host);
        openAddresses(host, handlers, client);

        host.TVA.setCurrentItem(findNode(host.TVA, QStringLiteral("Bauer Anna")));
        QCOMPARE(client.dm->TAdr.field(u"Nr").asInteger(), 4);
        QCOMPARE(host.tabCaptions.value(0), QStringLiteral("Adressen [8]"));
        QCOMPARE(host.entryRules.last(), true);
        QCOMPARE(host.summaries, 1);
        QVERIFY(host.gridAccepts);
        QCOMPARE(host.reloads, 1);

        host.TVA.setCurrentItem(host.TVA.topLevelItem(0));
        QCOMPARE(host.entryRules.last(), false);
        QCOMPARE(host.summaries, 1);
        QVERIFY(!host.gridAccepts);
        QCOMPARE(host.reloads, 2);

        // The topic view positions its own table and shows no address summary.
        host.showView(ViewState::Topics, &client.dm->TThema, client.topicFile);
        host.TVB.setCurrentItem(findNode(host.TVB, QStringLiteral("Miete")));
        QCOMPARE(client.dm->TThema.field(u"Nr").asInteger(), 2);
        QCOMPARE(host.tabCaptions.value(1), QStringLiteral("Themen [3]"));
        QCOMPARE(host.summaries, 1);
        QVERIFY(host.gridAccepts);

        // While a tree loads, selection changes reach nothing.
        host.loading = true;
        host.TVB.setCurrentItem(findNode(host.TVB, QStringLiteral("Steuer")));
        QCOMPARE(client.dm->TThema.field(u"Nr").asInteger(), 2);
        QCOMPARE(host.reloads, 3);
        QVERIFY(interaction.texts().isEmpty());
    }

    void nodeWithoutRecord() {
        test::ScriptedInteraction interaction;
        Client client = newClient(interaction);
        FakeHost host(client.dm.get());
        TreeHandlers handlers(host);
        openAddresses(host, handlers, client);
        host.TVA.setCurrentItem(findNode(host.TVA, QStringLiteral("Mayer Max")));
        TreeModel& model = treeModel(host.TVA);
        QTreeWidgetItem* orphan =
            itemOf(host.TVA, model.addChild(entryOf(findNode(host.TVA, QStringLiteral("Zeta AG"))),
                                            QStringLiteral("Verwaist"), 99, TreeOtherEntry));
        const int reloads = host.reloads;

        host.TVA.setCurrentItem(orphan);
        QCOMPARE(
            interaction.texts(),
            QStringList{QStringLiteral("Es ist ein Fehler aufgetreten.\rSie sollten die Baumstruktur neu einlesen")});
        QCOMPARE(host.reloads, reloads + 1); // its documents are still listed
        QVERIFY(!host.gridAccepts);
        QCOMPARE(client.dm->TAdr.field(u"Nr").asInteger(), 5);

        // Moving it would otherwise change the record the table happens to stand on.
        const QByteArray fileBefore = readBytes(client.addressFile);
        QVERIFY(host.TVA.dropOn(host.TVA.topLevelItem(0), &host.TVA));
        QCOMPARE(interaction.texts().size(), 2);
        QCOMPARE(orphan->parent()->text(0), QStringLiteral("Zeta AG"));
        QCOMPARE(fieldOf(client.dataDir, QStringLiteral("Adressen.DB"), 5, QStringLiteral("Vor")).toInt(), 1);
        QCOMPARE(readBytes(client.addressFile), fileBefore);
    }

    void search() {
        test::ScriptedInteraction interaction;
        FakeHost host;
        TreeHandlers handlers(host);
        handlers.attachTrees();
        host.showView(ViewState::Addresses, nullptr, QString());
        QVERIFY(LoadTreeFile(host.TVA, fixture(QStringLiteral("addresses.dat")), QStringLiteral("Adressen")));
        const auto selected = [&] {
            return host.TVA.currentItem() ? host.TVA.currentItem()->text(0) : QString();
        };

        handlers.searchFromStart(QStringLiteral("pro")); // in a collapsed branch
        QCOMPARE(selected(), QStringLiteral("Projekt Süd"));
        handlers.searchFromStart(QString());
        QCOMPARE(selected(), QStringLiteral("Projekt Süd"));
        handlers.searchFromStart(QStringLiteral("übersee"));
        QCOMPARE(selected(), QStringLiteral("Projekt Süd"));
        handlers.searchFromStart(QStringLiteral("Übersee"));
        QCOMPARE(selected(), QStringLiteral("Übersee Büro"));
        handlers.searchFromStart(QStringLiteral("b"));
        QCOMPARE(selected(), QStringLiteral("Bauer Anna"));
        handlers.searchOn(QStringLiteral("b"));
        QCOMPARE(selected(), QStringLiteral("beta KG"));
        handlers.searchOn(QStringLiteral("b")); // nothing further on
        QCOMPARE(selected(), QStringLiteral("beta KG"));
        handlers.searchFromStart(QStringLiteral("a"));
        QCOMPARE(selected(), QStringLiteral("Adressen"));
        QVERIFY(interaction.texts().isEmpty());
    }

    void expandSortsAndCollapseKeepsTopLevel() {
        FakeHost host;
        TreeHandlers handlers(host);
        handlers.attachTrees();
        host.showView(ViewState::Addresses, nullptr, QString());
        QVERIFY(LoadTreeFile(host.TVA, fixture(QStringLiteral("addresses.dat")), QStringLiteral("Adressen")));
        QTreeWidgetItem* root = host.TVA.topLevelItem(0);
        host.TVA.setCurrentItem(root);

        handlers.expandSelected();
        QCOMPARE(childCaptions(root), QStringList({QStringLiteral("Alpha GmbH"), QStringLiteral("beta KG"),
                                                   QStringLiteral("Ein Name von genau fünfzig Zeichen, nicht länger!!"),
                                                   QStringLiteral("Zeta AG")}));
        for (const QString& caption :
             {QStringLiteral("Alpha GmbH"), QStringLiteral("Bauer Anna"), QStringLiteral("Zeta AG")})
            QVERIFY2(findNode(host.TVA, caption)->isExpanded(), qPrintable(caption));

        handlers.collapseSelected();
        QVERIFY(root->isExpanded());
        for (const QString& caption :
             {QStringLiteral("Alpha GmbH"), QStringLiteral("Bauer Anna"), QStringLiteral("Zeta AG")})
            QVERIFY2(!findNode(host.TVA, caption)->isExpanded(), qPrintable(caption));

        // Collapsing an entry collapses its descendants too.
        QTreeWidgetItem* alpha = findNode(host.TVA, QStringLiteral("Alpha GmbH"));
        host.TVA.setCurrentItem(alpha);
        handlers.expandSelected();
        handlers.collapseSelected();
        QVERIFY(!alpha->isExpanded());
        QVERIFY(!findNode(host.TVA, QStringLiteral("Bauer Anna"))->isExpanded());
        QVERIFY(host.TVA.updatesEnabled());
    }

    void enterIsSwallowed() {
        FakeHost host;
        TreeHandlers handlers(host);
        handlers.attachTrees();
        TTreeView2 unattached; // shows that Enter would otherwise activate the node
        for (TTreeView2* tree : {&host.TVA, &unattached}) {
            QVERIFY(LoadTreeFile(*tree, fixture(QStringLiteral("addresses.dat")), QStringLiteral("Adressen")));
            tree->setCurrentItem(tree->topLevelItem(0));
        }
        QSignalSpy activated(&host.TVA, &QTreeWidget::itemActivated);
        QSignalSpy activatedUnattached(&unattached, &QTreeWidget::itemActivated);
        for (TTreeView2* tree : {&host.TVA, &unattached}) {
            QTest::keyClick(tree, Qt::Key_Return);
            QTest::keyClick(tree, Qt::Key_Enter);
        }
        QCOMPARE(activated.count(), 0);
        QCOMPARE(activatedUnattached.count(), 2);
        // Other keys still reach the tree.
        host.TVA.topLevelItem(0)->setExpanded(true);
        QTest::keyClick(&host.TVA, Qt::Key_Down);
        QCOMPARE(host.TVA.currentItem()->text(0), QStringLiteral("Alpha GmbH"));
    }

    void moveEntry() {
        test::ScriptedInteraction interaction;
        Client client = newClient(interaction);
        FakeHost host(client.dm.get());
        TreeHandlers handlers(host);
        openAddresses(host, handlers, client);
        QTreeWidgetItem* bauer = findNode(host.TVA, QStringLiteral("Bauer Anna"));
        host.TVA.setCurrentItem(bauer);
        const int reloads = host.reloads;

        QTreeWidgetItem* zeta = findNode(host.TVA, QStringLiteral("Zeta AG"));
        QVERIFY(host.TVA.dropOn(zeta, &host.TVA));
        QCOMPARE(fieldOf(client.dataDir, QStringLiteral("Adressen.DB"), 4, QStringLiteral("Vor")).toInt(), 2);
        QCOMPARE(fieldOf(client.dataDir, QStringLiteral("Adressen.DB"), 7, QStringLiteral("Vor")).toInt(), 4);
        QCOMPARE(childCaptions(zeta), QStringList({QStringLiteral("Bauer Anna"), QStringLiteral("Übersee Büro")}));
        QCOMPARE(childCaptions(bauer), QStringList{QStringLiteral("Projekt Süd")});
        QCOMPARE(host.TVA.currentItem(), bauer);
        QCOMPARE(host.reloads, reloads); // the selection did not change
        QCOMPARE(describeFile(client.addressFile, QStringLiteral("Adressen")), describe(host.TVA));
        QVERIFY(host.TVA.updatesEnabled());

        // Onto the root: Vor 0.
        QVERIFY(host.TVA.dropOn(host.TVA.topLevelItem(0), &host.TVA));
        QCOMPARE(fieldOf(client.dataDir, QStringLiteral("Adressen.DB"), 4, QStringLiteral("Vor")).toInt(), 0);
        QCOMPARE(bauer->parent(), host.TVA.topLevelItem(0));
        QCOMPARE(childCaptions(host.TVA.topLevelItem(0)),
                 QStringList({QStringLiteral("Alpha GmbH"), QStringLiteral("Bauer Anna"), QStringLiteral("beta KG"),
                              QStringLiteral("Ein Name von genau fünfzig Zeichen, nicht länger!!"),
                              QStringLiteral("Zeta AG")}));
        QCOMPARE(describeFile(client.addressFile, QStringLiteral("Adressen")), describe(host.TVA));
        QVERIFY(interaction.texts().isEmpty());
    }

    // A tree file that cannot be written: the move is taken back, so table, tree and file agree.
    void moveAndCopyUndoneWhenTheFileCannotBeWritten() {
        test::ScriptedInteraction interaction;
        Client client = newClient(interaction);
        FakeHost host(client.dm.get());
        TreeHandlers handlers(host);
        openAddresses(host, handlers, client);
        // Showing the target expands the root, which sorts its children; every other node keeps its place.
        const QStringList& before = addressTreeRootExpanded;
        const auto nodes = [&host] {
            return describe(host.TVA);
        };
        QVERIFY(QFile::remove(client.addressFile));
        QVERIFY(QDir().mkpath(client.addressFile)); // a directory cannot be replaced by the file
        QTreeWidgetItem* bauer = findNode(host.TVA, QStringLiteral("Bauer Anna"));
        host.TVA.setCurrentItem(bauer);
        QVERIFY(host.TVA.dropOn(findNode(host.TVA, QStringLiteral("Zeta AG")), &host.TVA));
        QCOMPARE(fieldOf(client.dataDir, QStringLiteral("Adressen.DB"), 4, QStringLiteral("Vor")).toInt(), 1);
        QCOMPARE(nodes(), before);
        QCOMPARE(bauer->parent()->text(0), QStringLiteral("Alpha GmbH"));
        QCOMPARE(host.TVA.currentItem(), bauer);

        const int records = client.dm->TAdr.recordCount();
        host.copy = true;
        QVERIFY(host.TVA.dropOn(findNode(host.TVA, QStringLiteral("Zeta AG")), &host.TVA));
        client.dm->TAdr.refresh();
        QCOMPARE(client.dm->TAdr.recordCount(), records);
        QCOMPARE(nodes(), before);
        QCOMPARE(interaction.texts().size(), 2); // one message for each failed write
    }

    void moveRefused_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::newRow("onto itself") << "Bauer Anna"
                                     << "Bauer Anna";
        QTest::newRow("onto its child") << "Alpha GmbH"
                                        << "Bauer Anna";
        QTest::newRow("onto a deeper descendant") << "Alpha GmbH"
                                                  << "Projekt Süd";
        QTest::newRow("the root") << "Adressen"
                                  << "Alpha GmbH";
    }

    void moveRefused() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        test::ScriptedInteraction interaction;
        Client client = newClient(interaction);
        FakeHost host(client.dm.get());
        TreeHandlers handlers(host);
        openAddresses(host, handlers, client);
        host.TVA.setCurrentItem(findNode(host.TVA, dragged));
        const QByteArray fileBefore = readBytes(client.addressFile);
        QVERIFY(!host.TVA.acceptsDrop(findNode(host.TVA, target), &host.TVA));
        QVERIFY(!host.TVA.dropOn(findNode(host.TVA, target), &host.TVA));
        QCOMPARE(describe(host.TVA), addressTreeWithRoot);
        QCOMPARE(readBytes(client.addressFile), fileBefore);
        QCOMPARE(fieldOf(client.dataDir, QStringLiteral("Adressen.DB"), 4, QStringLiteral("Vor")).toInt(), 1);
    }

    void refusedPostChangesNothing() {
        test::ScriptedInteraction interaction;
        Client client = newClient(interaction);
        FakeHost host(client.dm.get());
        TreeHandlers handlers(host);
        openAddresses(host, handlers, client);
        host.TVA.setCurrentItem(findNode(host.TVA, QStringLiteral("Bauer Anna")));
        const QByteArray fileBefore = readBytes(client.addressFile);
        client.dm->TAdr.close();
        QVERIFY(host.TVA.dropOn(findNode(host.TVA, QStringLiteral("Zeta AG")), &host.TVA));
        QCOMPARE(interaction.texts().size(), 1); // the engine's message
        QCOMPARE(describe(host.TVA), addressTreeWithRoot);
        QCOMPARE(readBytes(client.addressFile), fileBefore);
        QVERIFY(host.TVA.updatesEnabled());
    }

    void copyAddress_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("targetNr");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("type");
        QTest::newRow("person onto its own descendant") << "Bauer Anna"
                                                        << "Projekt Süd" << 7 << "Bauer Anna" << -1;
        QTest::newRow("main entry onto the root") << "Zeta AG"
                                                  << "Adressen" << 0 << "Zeta AG" << 1;
        QTest::newRow("entry with Baum 0") << "beta KG"
                                           << "Alpha GmbH" << 1 << "beta KG" << -1;
    }

    void copyAddress() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(int, targetNr);
        QFETCH(QString, caption);
        QFETCH(int, type);
        test::ScriptedInteraction interaction;
        Client client = newClient(interaction);
        FakeHost host(client.dm.get());
        TreeHandlers handlers(host);
        openAddresses(host, handlers, client);
        QTreeWidgetItem* source = findNode(host.TVA, dragged);
        host.TVA.setCurrentItem(source);
        const int sourceNr = nodeNumber(source);
        host.copy = true;

        QTreeWidgetItem* targetNode = findNode(host.TVA, target);
        QVERIFY(host.TVA.dropOn(targetNode, &host.TVA));
        const QString adressen = QStringLiteral("Adressen.DB");
        QCOMPARE(recordCount(client.dataDir, adressen), 9);
        QCOMPARE(fieldOf(client.dataDir, adressen, 9, QStringLiteral("Vor")).toInt(), targetNr);
        for (const QString& field : {QStringLiteral("Name1"), QStringLiteral("Name2"), QStringLiteral("Person"),
                                     QStringLiteral("Ort"), QStringLiteral("Baum")})
            QCOMPARE(fieldOf(client.dataDir, adressen, 9, field), fieldOf(client.dataDir, adressen, sourceNr, field));

        QTreeWidgetItem* copy = host.TVA.currentItem();
        QCOMPARE(copy->parent(), targetNode);
        QCOMPARE(copy->text(0), caption);
        QCOMPARE(nodeNumber(copy), 9);
        QCOMPARE(nodeType(copy), type);
        QCOMPARE(copy->icon(0).isNull(), type != 1);
        const QStringList siblings = childCaptions(targetNode);
        QVERIFY(std::is_sorted(siblings.begin(), siblings.end(),
                               [](const QString& a, const QString& b) { return compareTreeCaptions(a, b) < 0; }));
        QCOMPARE(client.dm->TAdr.field(u"Nr").asInteger(), 9);
        QVERIFY(!client.dm->TAdrCopy.isActive());
        QCOMPARE(describeFile(client.addressFile, QStringLiteral("Adressen")), describe(host.TVA));
        QVERIFY(host.TVA.updatesEnabled());
        QVERIFY(interaction.texts().isEmpty());
    }

    void copyOfTheRootIsRefused() {
        test::ScriptedInteraction interaction;
        Client client = newClient(interaction);
        FakeHost host(client.dm.get());
        TreeHandlers handlers(host);
        openAddresses(host, handlers, client);
        host.TVA.setCurrentItem(host.TVA.topLevelItem(0));
        host.copy = true;
        QVERIFY(!host.TVA.dropOn(findNode(host.TVA, QStringLiteral("Alpha GmbH")), &host.TVA));
        QCOMPARE(recordCount(client.dataDir, QStringLiteral("Adressen.DB")), 8);
        QCOMPARE(describe(host.TVA), addressTreeWithRoot);
    }

    void copyWithinTopicsCopiesTheTopic() {
        test::ScriptedInteraction interaction;
        Client client = newClient(interaction);
        FakeHost host(client.dm.get());
        TreeHandlers handlers(host);
        openAddresses(host, handlers, client);
        host.showView(ViewState::Topics, &client.dm->TThema, client.topicFile);
        host.TVB.setCurrentItem(findNode(host.TVB, QStringLiteral("Miete")));
        host.copy = true;

        QTreeWidgetItem* steuer = findNode(host.TVB, QStringLiteral("Steuer"));
        QVERIFY(host.TVB.dropOn(steuer, &host.TVB));
        QCOMPARE(recordCount(client.dataDir, QStringLiteral("Adressen.DB")), 8);
        QCOMPARE(recordCount(client.dataDir, QStringLiteral("Thema.DB")), 4);
        QCOMPARE(fieldOf(client.dataDir, QStringLiteral("Thema.DB"), 4, QStringLiteral("Thema")).toString(),
                 QStringLiteral("Miete"));
        QCOMPARE(fieldOf(client.dataDir, QStringLiteral("Thema.DB"), 4, QStringLiteral("Vor")).toInt(), 3);
        QCOMPARE(host.TVB.currentItem()->parent(), steuer);
        QCOMPARE(nodeNumber(host.TVB.currentItem()), 4);
        QCOMPARE(client.dm->TThema.field(u"Nr").asInteger(), 4);
        QCOMPARE(describeFile(client.topicFile, QStringLiteral("Themen")), describe(host.TVB));
        QCOMPARE(describe(host.TVA), addressTreeWithRoot);
        QVERIFY(interaction.texts().isEmpty());
    }

    void documentDrops_data() {
        QTest::addColumn<QString>("sourceName");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<bool>("note");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QList<int>>("moved");
        QTest::addColumn<QList<int>>("copied");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("move") << "D_Grid"
                              << "Alpha GmbH" << false << false << true << QList<int>{1} << QList<int>{}
                              << QStringList{};
        QTest::newRow("copy") << "D_Grid"
                              << "Projekt Süd" << true << false << true << QList<int>{} << QList<int>{7}
                              << QStringList{};
        QTest::newRow("copy a note") << "D_Grid"
                                     << "Alpha GmbH" << true << true << true << QList<int>{} << QList<int>{}
                                     << QStringList{QStringLiteral("Das ist eine Notiz, keine Datei")};
        QTest::newRow("onto the root") << "D_Grid"
                                       << "Adressen" << false << false << false << QList<int>{} << QList<int>{}
                                       << QStringList{};
        QTest::newRow("another control") << "Edit_B_Such"
                                         << "Alpha GmbH" << false << false << false << QList<int>{} << QList<int>{}
                                         << QStringList{};
    }

    void documentDrops() {
        QFETCH(QString, sourceName);
        QFETCH(QString, target);
        QFETCH(bool, copy);
        QFETCH(bool, note);
        QFETCH(bool, accepted);
        QFETCH(QList<int>, moved);
        QFETCH(QList<int>, copied);
        QFETCH(QStringList, messages);
        test::ScriptedInteraction interaction;
        FakeHost host;
        TreeHandlers handlers(host);
        handlers.attachTrees();
        host.showView(ViewState::Addresses, nullptr, QString());
        QVERIFY(LoadTreeFile(host.TVA, fixture(QStringLiteral("addresses.dat")), QStringLiteral("Adressen")));
        host.TVA.setCurrentItem(findNode(host.TVA, QStringLiteral("Mayer Max")));
        QObject source;
        source.setObjectName(sourceName);
        host.copy = copy;
        host.note = note;
        QCOMPARE(host.TVA.dropOn(findNode(host.TVA, target), &source), accepted);
        QCOMPARE(host.movedDocuments, moved);
        QCOMPARE(host.copiedDocuments, copied);
        QCOMPARE(interaction.texts(), messages);
        QCOMPARE(describe(host.TVA), addressTreeWithRoot);
    }

    void dragModeFollowsCtrl() {
        FakeHost host;
        TreeHandlers handlers(host);
        handlers.attachTrees();
        host.TVA.setCtrlState(true);
        QVERIFY(host.copy);
        QCOMPARE(host.TVA.dragCursor(), int(DragCursorCopy));
        host.TVA.setCtrlState(false);
        QVERIFY(!host.copy);
        QCOMPARE(host.TVA.dragCursor(), int(DragCursorMove));

        host.TVA.setCtrlState(true);
        emit host.TVA.OnEndDrag(false);
        QVERIFY(!host.copy);
        QVERIFY(!host.TVA.ctrlState());
        QCOMPARE(host.TVA.dragCursor(), int(DragCursorMove));
    }

    void scrollStrips() {
        test::ScriptedInteraction interaction;
        FakeHost host;
        TreeHandlers handlers(host);
        handlers.attachTrees();
        host.showView(ViewState::Addresses, nullptr, QString());
        QVERIFY(LoadTreeFile(host.TVA, fixture(QStringLiteral("addresses.dat")), QStringLiteral("Adressen")));
        host.TVA.expandAll();
        host.TVA.resize(200, 60);
        host.TVA.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host.TVA));
        QScrollBar* bar = host.TVA.verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QObject oben, unten;
        oben.setObjectName(QStringLiteral("PnlOverOben"));
        unten.setObjectName(QStringLiteral("PnlOverUnten"));

        handlers.PnlOverObenBeginOver(&unten);
        QVERIFY(handlers.scrollRunning());
        QTRY_COMPARE(bar->value(), bar->maximum());
        handlers.PnlOverObenDragOver(&oben, StripDragState::Enter); // already running: nothing changes
        handlers.PnlOverObenDragOver(&unten, StripDragState::Move);
        QVERIFY(handlers.scrollRunning());
        handlers.PnlOverObenEndOver(&unten);
        QVERIFY(!handlers.scrollRunning());

        handlers.PnlOverObenDragOver(&oben, StripDragState::Enter);
        QVERIFY(handlers.scrollRunning());
        QTRY_COMPARE(bar->value(), 0);
        handlers.PnlOverObenDragOver(&oben, StripDragState::Leave);
        QVERIFY(!handlers.scrollRunning());
        handlers.PnlOverObenEndOver(&oben); // not running: nothing to stop
        QVERIFY(interaction.texts().isEmpty());
    }

    // Valid records and three stray bytes: the records load, the damage is reported with the advice to
    // rebuild, and a new address goes into the tree without losing a record of table or file.
    void damagedTreeFileThenNewEntry() {
        WindowInstallation inst("xyz");
        QVERIFY(inst.show());
        QCOMPARE(describe(inst.tva()), addressTreeRootExpanded);
        QCOMPARE(inst.interaction.texts(),
                 QStringList{QStringLiteral("Die Baumdatei \"%1\" ist beschädigt: ihre Größe von 515 Bytes ist kein "
                                            "Vielfaches von 64; die letzten 3 Bytes wurden nicht gelesen.\rEs ist ein "
                                            "Fehler aufgetreten.\rSie sollten die Baumstruktur neu einlesen\r(Menü "
                                            "Tools, Baumstruktur)")
                                 .arg(inst.treeFile)});
        QCOMPARE(readBytes(inst.treeFile), inst.treeBytes);
        QCOMPARE(inst.tva().currentItem(), inst.tva().topLevelItem(0));
        const QStringList names = inst.addressNames();

        onEntryForm([](QWidget& form) {
            auto* name = form.findChild<QLineEdit*>(QStringLiteral("A_1"));
            QTest::keyClicks(name, QStringLiteral("Neu GmbH"));
            QTest::mouseClick(form.findChild<QToolButton*>(QStringLiteral("BtnSave")), Qt::LeftButton);
            form.close();
        });
        QMetaObject::invokeMethod(inst.window->findChild<QToolButton*>(QStringLiteral("Btn_B_Neu")), "click");

        QCOMPARE(inst.addressNames(), names + QStringList{QStringLiteral("Neu GmbH")});
        // The root's children were sorted when it was expanded.
        const QList<TreeFileRecord> expected{
            {QStringLiteral("Alpha GmbH"), 1, 1, 1},
            {QStringLiteral("Bauer Anna"), 2, 4, -1},
            {QStringLiteral("Projekt Süd"), 3, 7, -1},
            {QStringLiteral("Mayer Max"), 2, 5, -1},
            {QStringLiteral("beta KG"), 1, 3, 0},
            {QStringLiteral("Ein Name von genau fünfzig Zeichen, nicht länger!!"), 1, 8, -1},
            {QStringLiteral("Neu GmbH"), 1, 9, -1},
            {QStringLiteral("Zeta AG"), 1, 2, 1},
            {QStringLiteral("Übersee Büro"), 2, 6, -1},
        };
        QCOMPARE(readTreeFile(inst.treeFile), expected);
        QCOMPARE(inst.interaction.texts().size(), 1);
    }

    // Without a node to put it below, "Neu" is refused in the main window and in both forms: no
    // record is added or renamed, and a tree without root is never written.
    void newEntryIsRefusedWithoutSelectedNode() {
        WindowInstallation inst;
        inst.nextClient = QStringLiteral("Leer");
        QVERIFY(inst.show());
        QCOMPARE(inst.tva().topLevelItemCount(), 0);
        const qsizetype loadMessages = inst.interaction.texts().size();
        QMetaObject::invokeMethod(inst.window->findChild<QToolButton*>(QStringLiteral("Btn_B_Neu")), "click");
        const QString refused =
            QStringLiteral("Bitte wählen Sie zuerst den Eintrag, unter dem der neue Eintrag angelegt werden soll.");
        QCOMPARE(inst.interaction.texts().mid(loadMessages), QStringList{refused});
        QVERIFY(inst.window->isEnabled());

        {
            AddressForm form(*inst.window, true);
            form.show();
            QTest::mouseClick(form.findChild<QToolButton*>(QStringLiteral("BtnNeu")), Qt::LeftButton);
            QVERIFY(!form.isNewRecord());
            QVERIFY(!inst.dm->TAdr.isEditing());
        }
        inst.window->SelectView(ViewState::Topics);
        {
            TopicForm form(*inst.window, true);
            form.show();
            QTest::mouseClick(form.findChild<QToolButton*>(QStringLiteral("BtnNeu")), Qt::LeftButton);
            QVERIFY(!inst.dm->TThema.isEditing());
        }
        QCOMPARE(inst.interaction.texts().mid(loadMessages), QStringList({refused, refused, refused}));
        QCOMPARE(inst.addressNames(), QStringList{});
        QVERIFY(!QFile::exists(inst.program.client.AdrTreeFile));
        QVERIFY(!SaveTreeFile(inst.tva(), inst.program.client.AdrTreeFile));
        QVERIFY(!QFile::exists(inst.program.client.AdrTreeFile));
    }

    // The previous client's nodes must not stay: a drop onto them would change this client's records.
    void clientWithoutTreeFilesShowsEmptyTrees() {
        WindowInstallation inst;
        QVERIFY(inst.show());
        QCOMPARE(describe(inst.tva()), addressTreeRootExpanded);
        QCOMPARE(inst.tvb().topLevelItemCount(), 1);
        inst.nextClient = QStringLiteral("Leer");
        QVERIFY(inst.window->SwitchClient(QStringLiteral("Muster"), 0));
        QCOMPARE(inst.tva().topLevelItemCount(), 0);
        QCOMPARE(inst.tvb().topLevelItemCount(), 0);
        QVERIFY(treeModel(inst.tva()).isEmpty());
        QVERIFY(treeModel(inst.tvb()).isEmpty());
        const QString daten = inst.tmp.filePath(QStringLiteral("Leer/Daten/"));
        QCOMPARE(inst.interaction.texts(),
                 QStringList({QStringLiteral("Kann Datei \"%1Adressen.dat\" nicht finden").arg(daten),
                              QStringLiteral("Kann Datei \"%1Themen.dat\" nicht finden").arg(daten)}));
    }

    // Documents from the list go onto any entry but the root; files from the desktop are taken by the
    // list while an entry is selected, never on the root.
    void listDropsOntoTheTreeAndFilesOntoTheList() {
        WindowInstallation inst;
        QVERIFY(inst.show());
        TTreeView2& tva = inst.tva();
        tva.setCurrentItem(tva.topLevelItem(0));
        QVERIFY(!inst.window->documentGrid().AcceptFiles());
        tva.setCurrentItem(findNode(tva, QStringLiteral("Alpha GmbH")));
        QVERIFY(inst.interaction.texts().isEmpty());
        QVERIFY(inst.window->documentGrid().AcceptFiles());
        QVERIFY(tva.acceptsDrop(findNode(tva, QStringLiteral("Zeta AG")), &inst.window->documentGrid()));
        QVERIFY(!tva.acceptsDrop(tva.topLevelItem(0), &inst.window->documentGrid()));
        QVERIFY(tva.acceptsDrop(findNode(tva, QStringLiteral("Zeta AG")), &tva));
    }

    void listSubtreeEntries_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("withDescendants");
        QTest::addColumn<bool>("withMainEntries");
        QTest::addColumn<QStringList>("lines");
        const QChar p(0x00B6);
        QTest::newRow("main entry alone") << "Alpha GmbH" << false << false << QStringList{};
        QTest::newRow("main entry with main entries")
            << "Alpha GmbH" << false << true << QStringList{QStringLiteral("Alpha GmbH") + p + u'1'};
        QTest::newRow("subtree without main entries")
            << "Alpha GmbH" << true << false
            << QStringList{QStringLiteral("Bauer Anna") + p + u'4', QStringLiteral("Projekt Süd") + p + u'7',
                           QStringLiteral("Mayer Max") + p + u'5'};
        QTest::newRow("the root first")
            << "Adressen" << true << false
            << QStringList{QStringLiteral("Adressen") + p + u'0',
                           QStringLiteral("Übersee Büro") + p + u'6',
                           QStringLiteral("Bauer Anna") + p + u'4',
                           QStringLiteral("Projekt Süd") + p + u'7',
                           QStringLiteral("Mayer Max") + p + u'5',
                           QStringLiteral("beta KG") + p + u'3',
                           QStringLiteral("Ein Name von genau fünfzig Zeichen, nicht länger!!") + p + u'8'};
    }

    void listSubtreeEntries() {
        QFETCH(QString, selected);
        QFETCH(bool, withDescendants);
        QFETCH(bool, withMainEntries);
        QFETCH(QStringList, lines);
        FakeHost host;
        TreeHandlers handlers(host);
        handlers.attachTrees();
        // Always the address tree, whatever view is active.
        host.showView(ViewState::Topics, nullptr, QString());
        QVERIFY(LoadTreeFile(host.TVA, fixture(QStringLiteral("addresses.dat")), QStringLiteral("Adressen")));
        host.TVA.setCurrentItem(findNode(host.TVA, selected));
        QStringList list{QStringLiteral("vorher")};
        handlers.ListSubtreeEntries(list, withDescendants, withMainEntries);
        QCOMPARE(list, QStringList{QStringLiteral("vorher")} + lines);
    }
};

QTEST_MAIN(TreesTest)
#include "tst_trees.moc"
