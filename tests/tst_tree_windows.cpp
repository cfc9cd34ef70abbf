#include "app/program.h"
#include "app/startup.h"
#include "controls/ui/tree_view2.h"
#include "data/tdm.h"
#include "data/treefile.h"
#include "fake_associations.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_nodes.h"
#include "mainwin/window_texts.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"
#include "tools/ui/tree_picker_dialog.h"
#include "tools/ui/tree_rebuild_dialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace zep;
using test::appendRecord;
using test::ScriptedInteraction;

namespace {

template <typename T> T* child(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromUtf8(name));
}

// Clicks a button of the next modal window once it is shown; remembers which window it was.
void clickInNextModal(const char* button, QString* shownWindow = nullptr) {
    QTimer::singleShot(0, [button, shownWindow] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog != nullptr);
        if (shownWindow)
            *shownWindow = dialog->objectName();
        QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
    });
}

// "level nr name" per record of a tree file.
QStringList treeFileLines(const QString& path) {
    QStringList lines;
    for (const TreeFileRecord& r : readTreeFile(path))
        lines << QStringLiteral("%1 %2 %3").arg(r.level).arg(r.nr).arg(r.name);
    return lines;
}

// Depth (top level 0), caption and number of every node in pre-order.
QStringList treeLines(const QTreeWidget& tree) {
    QStringList lines;
    std::function<void(const QTreeWidgetItem*, int)> visit = [&](const QTreeWidgetItem* item, int depth) {
        lines << QStringLiteral("%1 %2 %3").arg(depth).arg(item->text(0)).arg(nodeNumber(item));
        for (int i = 0; i < item->childCount(); ++i)
            visit(item->child(i), depth + 1);
    };
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        visit(tree.topLevelItem(i), 0);
    return lines;
}

QStringList childCaptions(const QTreeWidgetItem* item) {
    QStringList captions;
    for (int i = 0; i < item->childCount(); ++i)
        captions << item->child(i)->text(0);
    return captions;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QList<TreeFileRecord> staleTree = {{QStringLiteral("Veraltet"), 1, 1, 1}};

} // namespace

Q_DECLARE_METATYPE(QList<TreeFileRecord>)

class TreeWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void rebuildWindowShowsTheTree();
    void okRebuildsAndCloses();
    void failureIsToldAndTheWindowStaysOpen();
    void abortStopsTheRunningRebuild();
    void rebuildTreeReturnsHowTheWindowClosed_data();
    void rebuildTreeReturnsHowTheWindowClosed();
    void pickerSortsTopLevelAndSelectsTheFirst();
    void pickerSortsChildrenWhenExpanded();
    void pickTreeEntryReturnsThePickedNumber_data();
    void pickTreeEntryReturnsThePickedNumber();
    void pickerWithoutTreeFileTellsAndReturnsZero();
    void mainWindowRebuildsAndReloadsTheActiveTree_data();
    void mainWindowRebuildsAndReloadsTheActiveTree();

private:
    // Three addresses (Nr 1 to 3, 2 below 1) and two topics; tree files that no longer match.
    void fillClientTables();
    TreeRebuildJob addressJob() const;

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<ScriptedInteraction> interaction_;
    QString data_;
};

void TreeWindowsTest::init() {
    interaction_.reset(); // the previous double goes before its successor installs itself
    interaction_ = std::make_unique<ScriptedInteraction>();
    tmp_ = std::make_unique<QTemporaryDir>();
    data_ = tmp_->filePath(QStringLiteral("Muster/Daten"));
    fillClientTables();
}

void TreeWindowsTest::fillClientTables() {
    test::createClientTables(data_);
    Table adr, thema;
    test::openTable(adr, data_, QStringLiteral("Adressen.DB"));
    appendRecord(adr, {{"Vor", 0}, {"Name1", "Zeta AG"}, {"Baum", 1}});
    appendRecord(adr, {{"Vor", 1}, {"Name1", "Meier"}, {"Name2", "Anna"}, {"Person", true}});
    appendRecord(adr, {{"Vor", 0}, {"Name1", "Alpha GmbH"}, {"Baum", 1}});
    test::openTable(thema, data_, QStringLiteral("Thema.DB"));
    appendRecord(thema, {{"Vor", 0}, {"Thema", "Rechnungen"}});
    appendRecord(thema, {{"Vor", 1}, {"Thema", "Mahnungen"}});
    writeTreeFile(data_ + QStringLiteral("/Adressen.dat"), staleTree);
    writeTreeFile(data_ + QStringLiteral("/Themen.dat"), staleTree);
}

TreeRebuildJob TreeWindowsTest::addressJob() const {
    return {data_, QStringLiteral("Adressen.DB"), false, data_ + QStringLiteral("/Adressen.dat")};
}

void TreeWindowsTest::rebuildWindowShowsTheTree() {
    TreeRebuildDialog dialog(addressJob(), QStringLiteral("Adressen"));
    QCOMPARE(dialog.objectName(), QStringLiteral("TDBReadWin"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Einlesen der Baumstruktur"));
    QCOMPARE(child<QLabel>(&dialog, "Label1")->text(),
             QStringLiteral("Neuaufbau der Baumstruktur aus den Daten der Datenbank"));
    QCOMPARE(child<QLabel>(&dialog, "Label2")->text(), QStringLiteral("Adressen"));
    QCOMPARE(child<QProgressBar>(&dialog, "G1")->value(), 0);
    QCOMPARE(child<QPushButton>(&dialog, "BitBtn1")->text(), QStringLiteral("OK"));
    QCOMPARE(child<QPushButton>(&dialog, "BitBtn2")->text(), QStringLiteral("Abbrechen"));
}

void TreeWindowsTest::okRebuildsAndCloses() {
    TreeRebuildDialog dialog(addressJob(), QStringLiteral("Adressen"));
    dialog.show();
    QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    auto* gauge = child<QProgressBar>(&dialog, "G1");
    QCOMPARE(gauge->maximum(), 3);
    QCOMPARE(gauge->value(), 3);
    QCOMPARE(treeFileLines(addressJob().treeFile),
             (QStringList{QStringLiteral("1 3 Alpha GmbH"), QStringLiteral("1 1 Zeta AG"),
                          QStringLiteral("2 2 Meier Anna")}));
    QVERIFY(interaction_->shown().isEmpty());
}

void TreeWindowsTest::failureIsToldAndTheWindowStaysOpen() {
    TreeRebuildJob job = addressJob();
    job.treeFile = data_; // a directory: no tree file can replace it
    TreeRebuildDialog dialog(job, QStringLiteral("Adressen"));
    dialog.show();
    QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);

    QCOMPARE(interaction_->texts().size(), 1);
    QVERIFY(interaction_->texts().first().startsWith(QStringLiteral("Kann Datei \"") + job.treeFile +
                                                     QStringLiteral("\" nicht finden\n")));
    QCOMPARE(interaction_->shown().first().kind, ScriptedInteraction::Kind::Error);
    QVERIFY(dialog.isVisible());
    QVERIFY(child<QPushButton>(&dialog, "BitBtn1")->isEnabled());
    QCOMPARE(child<QProgressBar>(&dialog, "G1")->value(), 0);
    QVERIFY(QFileInfo(job.treeFile).isDir());

    QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn2"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

// Abort, pressed while the entries are placed, reaches the window through the gauge's repaint.
void TreeWindowsTest::abortStopsTheRunningRebuild() {
    const TreeRebuildJob job = addressJob();
    const QByteArray before = fileBytes(job.treeFile);
    TreeRebuildDialog dialog(job, QStringLiteral("Adressen"));
    dialog.show();
    QTimer::singleShot(0, &dialog, [&] {
        QVERIFY(!child<QPushButton>(&dialog, "BitBtn1")->isEnabled()); // the rebuild runs
        QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn2"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(fileBytes(job.treeFile), before);
    QVERIFY(interaction_->shown().isEmpty());
}

void TreeWindowsTest::rebuildTreeReturnsHowTheWindowClosed_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<bool>("rebuilt");
    QTest::newRow("OK") << QByteArray("BitBtn1") << true;
    QTest::newRow("Abort") << QByteArray("BitBtn2") << false;
}

void TreeWindowsTest::rebuildTreeReturnsHowTheWindowClosed() {
    QFETCH(QByteArray, button);
    QFETCH(bool, rebuilt);
    const TreeRebuildJob job = addressJob();
    QString shown;
    clickInNextModal(button.constData(), &shown);
    QCOMPARE(RebuildTree(job, QStringLiteral("Adressen"), nullptr), rebuilt);
    QCOMPARE(shown, QStringLiteral("TDBReadWin"));
    QCOMPARE(readTreeFile(job.treeFile).size(), rebuilt ? 3 : 1);
}

void TreeWindowsTest::pickerSortsTopLevelAndSelectsTheFirst() {
    const QString file = tmp_->filePath(QStringLiteral("Themen.dat"));
    writeTreeFile(file, {{QStringLiteral("Zeta"), 1, 5, 1},
                         {QStringLiteral("Beta"), 1, 2, -1},
                         {QStringLiteral("alpha"), 1, 9, 0},
                         {QStringLiteral("Unter"), 2, 4, -1},
                         {QStringLiteral("Alpha"), 1, 3, -1}});
    TreePickerDialog dialog(QStringLiteral("Dokument verschieben nach..."));
    QVERIFY(dialog.load(file));
    QCOMPARE(dialog.objectName(), QStringLiteral("TW_TA"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dokument verschieben nach..."));
    auto* tree = child<TTreeView2>(&dialog, "TA");
    QCOMPARE(treeLines(*tree),
             (QStringList{QStringLiteral("0 alpha 9"), QStringLiteral("1 Unter 4"), QStringLiteral("0 Alpha 3"),
                          QStringLiteral("0 Beta 2"), QStringLiteral("0 Zeta 5")}));
    QCOMPARE(tree->currentItem()->text(0), QStringLiteral("alpha"));
    QCOMPARE(dialog.selectedNumber(), 9);
    QCOMPARE(child<QPushButton>(&dialog, "BtnOK")->text(), QStringLiteral("OK"));
    QCOMPARE(child<QPushButton>(&dialog, "BtnCancel")->text(), QStringLiteral("Abbrechen"));
}

void TreeWindowsTest::pickerSortsChildrenWhenExpanded() {
    const QString file = tmp_->filePath(QStringLiteral("Adressen.dat"));
    writeTreeFile(file, {{QStringLiteral("Firma"), 1, 1, 1},
                         {QStringLiteral("Zimmer"), 2, 2, -1},
                         {QStringLiteral("Ärger"), 2, 3, -1},
                         {QStringLiteral("Bauer"), 2, 4, -1},
                         {QStringLiteral("Zweig"), 3, 6, -1},
                         {QStringLiteral("Ast"), 3, 5, -1}});
    TreePickerDialog dialog(QStringLiteral("Wohin?"));
    QVERIFY(dialog.load(file));
    QTreeWidgetItem* firma = child<TTreeView2>(&dialog, "TA")->topLevelItem(0);
    QCOMPARE(childCaptions(firma),
             (QStringList{QStringLiteral("Zimmer"), QStringLiteral("Ärger"), QStringLiteral("Bauer")}));
    firma->setExpanded(true);
    QCOMPARE(childCaptions(firma),
             (QStringList{QStringLiteral("Ärger"), QStringLiteral("Bauer"), QStringLiteral("Zimmer")}));
    QTreeWidgetItem* bauer = firma->child(1);
    QCOMPARE(childCaptions(bauer), (QStringList{QStringLiteral("Zweig"), QStringLiteral("Ast")}));
    bauer->setExpanded(true);
    QCOMPARE(childCaptions(bauer), (QStringList{QStringLiteral("Ast"), QStringLiteral("Zweig")}));
}

void TreeWindowsTest::pickTreeEntryReturnsThePickedNumber_data() {
    QTest::addColumn<QList<TreeFileRecord>>("records");
    QTest::addColumn<QString>("select"); // caption of the entry to select; empty: keep the first
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<int>("picked");
    const QList<TreeFileRecord> tree{
        {QStringLiteral("Zeta"), 1, 5, 1}, {QStringLiteral("Kind"), 2, 8, -1}, {QStringLiteral("Beta"), 1, 2, -1}};
    QTest::newRow("first entry") << tree << QString() << QByteArray("BtnOK") << 2;
    QTest::newRow("a child") << tree << QStringLiteral("Kind") << QByteArray("BtnOK") << 8;
    QTest::newRow("cancelled") << tree << QStringLiteral("Kind") << QByteArray("BtnCancel") << 0;
    QTest::newRow("empty tree") << QList<TreeFileRecord>{} << QString() << QByteArray("BtnOK") << 0;
}

void TreeWindowsTest::pickTreeEntryReturnsThePickedNumber() {
    QFETCH(QList<TreeFileRecord>, records);
    QFETCH(QString, select);
    QFETCH(QByteArray, button);
    QFETCH(int, picked);
    const QString file = tmp_->filePath(QStringLiteral("Themen.dat"));
    writeTreeFile(file, records);
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog && dialog->objectName() == QStringLiteral("TW_TA"));
        QCOMPARE(dialog->windowTitle(), copyTargetCaption());
        auto* tree = child<TTreeView2>(dialog, "TA");
        if (!select.isEmpty())
            tree->setCurrentItem(tree->findItems(select, Qt::MatchExactly | Qt::MatchRecursive).first());
        QTest::mouseClick(child<QPushButton>(dialog, button.constData()), Qt::LeftButton);
    });
    QCOMPARE(PickTreeEntry(copyTargetCaption(), file, nullptr), picked);
}

void TreeWindowsTest::pickerWithoutTreeFileTellsAndReturnsZero() {
    const QString missing = tmp_->filePath(QStringLiteral("fehlt.dat"));
    QCOMPARE(PickTreeEntry(QStringLiteral("Wohin?"), missing, nullptr), 0);
    QCOMPARE(interaction_->texts(),
             QStringList{QStringLiteral("Kann Datei \"") + missing + QStringLiteral("\" nicht finden")});
}

void TreeWindowsTest::mainWindowRebuildsAndReloadsTheActiveTree_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("treeName");
    QTest::addColumn<QString>("treeFile");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("addresses") << int(ViewState::Addresses) << QStringLiteral("TVA") << QStringLiteral("Adressen.dat")
                               << QStringList{QStringLiteral("0 Adressen 0"), QStringLiteral("1 Alpha GmbH 3"),
                                              QStringLiteral("1 Zeta AG 1"), QStringLiteral("2 Meier Anna 2")};
    QTest::newRow("topics") << int(ViewState::Topics) << QStringLiteral("TVB") << QStringLiteral("Themen.dat")
                            << QStringList{QStringLiteral("0 Themen 0"), QStringLiteral("1 Rechnungen 1"),
                                           QStringLiteral("2 Mahnungen 2")};
}

void TreeWindowsTest::mainWindowRebuildsAndReloadsTheActiveTree() {
    QFETCH(int, view);
    QFETCH(QString, treeName);
    QFETCH(QString, treeFile);
    QFETCH(QStringList, expected);
    ensureInstallationLayout(tmp_->path());
    Program program = loadProgram(tmp_->path());
    Program::setInstance(&program);
    const auto uninstall = qScopeGuard([] { Program::setInstance(nullptr); });
    test::FakeAssociations associations;
    auto dm = std::make_unique<TDM>(program.paths, *interaction_, associations);
    dm->DMCreate();
    MainWindow window;
    window.setDataModule(dm.get());
    window.setClientOpener([&](const QString&, const QString&, int) {
        program.client.SetClientPaths(QStringLiteral("Muster"), tmp_->filePath(QStringLiteral("Muster")));
        dm->SetClientDataDir(program.client.DataDir);
        return dm->OpenClientTables() == 0;
    });
    window.show();
    QTRY_VERIFY(window.viewState().table != nullptr);
    window.SelectView(view);
    auto* tree = child<TTreeView2>(&window, treeName.toUtf8().constData());
    QCOMPARE(treeLines(*tree), (QStringList{expected.first(), QStringLiteral("1 Veraltet 1")}));

    QString shown;
    clickInNextModal("BitBtn1", &shown);
    child<QAction>(&window, "MTool_Baum")->trigger();

    QCOMPARE(shown, QStringLiteral("TDBReadWin"));
    QCOMPARE(treeLines(*tree), expected);
    QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
    QVERIFY(tree->topLevelItem(0)->isExpanded());
    QVERIFY(!window.treeLoading());
    QCOMPARE(child<QTabBar>(&window, "Tab00")->tabText(view),
             tree->topLevelItem(0)->text(0) + QStringLiteral(" [%1]").arg(expected.size() - 1));
    QCOMPARE(QFileInfo(data_ + u'/' + treeFile).size(), (expected.size() - 1) * TreeRecordSize);
    QVERIFY(interaction_->shown().isEmpty());
}

QTEST_MAIN(TreeWindowsTest)
#include "tst_tree_windows.moc"
