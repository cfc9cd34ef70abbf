#include "addresses/ui/topic_form.h"
#include "app/program.h"
#include "app/startup.h"
#include "controls/ui/tree_view2.h"
#include "data/tdm.h"
#include "data/treefile.h"
#include "documents/associations.h"
#include "fake_associations.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_nodes.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace zep;
using zep::test::appendRecord;

namespace {

// A client "Muster" whose topic tree holds Projekte (Beta, Delta below it) and Rechnungen, shown in
// the main window's topic view.
class Installation {
public:
    Installation() {
        ensureInstallationLayout(tmp.path());
        program = loadProgram(tmp.path());
        Program::setInstance(&program);
        clientDir = tmp.filePath(QStringLiteral("Muster"));
        fillClient();
        window = std::make_unique<MainWindow>();
        dm = std::make_unique<TDM>(program.paths, interaction, associations);
        dm->DMCreate();
        window->setDataModule(dm.get());
        window->setClientOpener([this](const QString&, const QString&, int) { return openClient(); });
        window->show();
        if (!QTest::qWaitFor([this] { return topics().isActive(); }))
            qFatal("the client did not open");
        window->SelectView(ViewState::Topics);
    }
    ~Installation() {
        window.reset();
        Program::setInstance(nullptr);
    }

    QTreeWidget& tree() { return window->topicTree(); }
    Table& topics() { return dm->TThema; }
    QString treeFile() const { return clientDir + QStringLiteral("/Daten/Themen.dat"); }

    QTreeWidgetItem* node(const QString& caption) {
        const QList<QTreeWidgetItem*> found = tree().findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    void select(const QString& caption) { tree().setCurrentItem(node(caption)); }

    // The tree as its file would hold it.
    QList<TreeFileRecord> treeRecords() {
        QList<TreeFileRecord> records;
        for (QTreeWidgetItem* item = nextNode(firstNode(tree())); item; item = nextNode(item))
            records << TreeFileRecord{item->text(0), nodeLevel(item), nodeNumber(item), nodeType(item)};
        return records;
    }

    test::ScriptedInteraction interaction;
    QTemporaryDir tmp;
    Program program;
    QString clientDir;
    test::FakeAssociations associations; // nothing registered
    std::unique_ptr<TDM> dm;
    std::unique_ptr<MainWindow> window;

private:
    bool openClient() {
        program.client.SetClientPaths(QStringLiteral("Muster"), clientDir);
        dm->CloseClientTables();
        dm->SetClientDataDir(program.client.DataDir);
        return dm->OpenClientTables() == 0;
    }

    void fillClient() {
        const QString data = clientDir + QStringLiteral("/Daten");
        test::createClientTables(data);
        Table thema;
        test::openTable(thema, data, QStringLiteral("Thema.DB"));
        appendRecord(thema, {{"Vor", 0}, {"Thema", "Projekte"}, {"Baum", 1}});
        appendRecord(thema, {{"Vor", 0}, {"Thema", "Rechnungen"}, {"Baum", 1}});
        appendRecord(thema, {{"Vor", 1}, {"Thema", "Beta"}, {"Baum", -1}});
        appendRecord(thema, {{"Vor", 1}, {"Thema", "Delta"}, {"Baum", -1}});
        writeTreeFile(data + QStringLiteral("/Themen.dat"), {{QStringLiteral("Projekte"), 1, 1, 1},
                                                             {QStringLiteral("Beta"), 2, 3, -1},
                                                             {QStringLiteral("Delta"), 2, 4, -1},
                                                             {QStringLiteral("Rechnungen"), 1, 2, 1}});
    }
};

template <typename T = QWidget> T* child(QWidget& form, const char* name) {
    return form.findChild<T*>(QString::fromUtf8(name));
}

void click(QWidget& form, const char* button) {
    child<QToolButton>(form, button)->click();
}

void type(QWidget& form, const QString& text) {
    auto* edit = child<QLineEdit>(form, "A_1");
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QStringList childCaptions(QTreeWidgetItem* parent) {
    QStringList captions;
    for (int i = 0; i < parent->childCount(); ++i)
        captions << parent->child(i)->text(0);
    return captions;
}

// Typing beyond ASCII, one key event per character.
void typeText(QWidget* edit, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestTopicForm : public QObject {
    Q_OBJECT

private slots:
    void controlsCarryTheirNames();
    void newTopicIsSortedAmongItsSiblings();
    void renamingDoesNotResort();
    void mainEntryFlagGivesTheNodeType_data();
    void mainEntryFlagGivesTheNodeType();
    void closingDuringInsertSaves();
    void cancelDuringInsertAddsNothing();
    void buttonsFollowTheEditState();
    void editTopicRunsModallyAndReportsSaving();
    void captionCharactersTheTreeFileCannotHold_data();
    void captionCharactersTheTreeFileCannotHold();
};

void TestTopicForm::controlsCarryTheirNames() {
    Installation inst;
    inst.select(QStringLiteral("Beta"));
    TopicForm form(*inst.window, true);
    QCOMPARE(form.objectName(), QStringLiteral("TB02"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Thema"));
    const std::pair<const char*, const char*> hints[] = {{"BtnNeu", "Neues Thema"},
                                                         {"BtnSave", "Änderungen speichern"},
                                                         {"BtnCancel", "Änderungen verwerfen"},
                                                         {"BtnDel", "Thema löschen"},
                                                         {"BtnNav1", "Zuklappen"},
                                                         {"BtnNav5", "Übergeordneter Eintrag"},
                                                         {"BtnNav2", "Vor"},
                                                         {"BtnNav3", "Nächster"},
                                                         {"BtnNav6", "Nächster übergeordneter Eintrag"},
                                                         {"BtnNav4", "Aufklappen"},
                                                         {"BtnExit", "Fenster schließen"}};
    for (const auto& [name, hint] : hints)
        QCOMPARE(child<QToolButton>(form, name)->toolTip(), QString::fromUtf8(hint));
    QCOMPARE(child<QCheckBox>(form, "DBCheckBox2")->text(), QStringLiteral("Haupteintrag"));
    QVERIFY(child(form, "Panel1")->isAncestorOf(child(form, "A_1")));
    // The controls show the selected topic's record.
    QCOMPARE(child<QLineEdit>(form, "A_1")->text(), QStringLiteral("Beta"));
    QVERIFY(!child<QCheckBox>(form, "DBCheckBox2")->isChecked());
}

void TestTopicForm::newTopicIsSortedAmongItsSiblings() {
    Installation inst;
    inst.select(QStringLiteral("Projekte"));
    TopicForm form(*inst.window, false);
    form.show();
    QVERIFY(form.isNewRecord());
    type(form, QStringLiteral("Charlie"));
    click(form, "BtnSave");

    QVERIFY(!form.isNewRecord());
    QTreeWidgetItem* parent = inst.node(QStringLiteral("Projekte"));
    QCOMPARE(childCaptions(parent), (QStringList{"Beta", "Charlie", "Delta"}));
    QTreeWidgetItem* added = inst.tree().currentItem();
    QCOMPARE(added->text(0), QStringLiteral("Charlie"));
    QCOMPARE(nodeType(added), int(TreeOtherEntry));
    QVERIFY(inst.topics().findKey({nodeNumber(added)}));
    QCOMPARE(inst.topics().field(u"Thema").asString(), QStringLiteral("Charlie"));
    QCOMPARE(inst.topics().field(u"Vor").asInteger(), 1);
    QCOMPARE(readTreeFile(inst.treeFile()), inst.treeRecords());
}

void TestTopicForm::renamingDoesNotResort() {
    Installation inst;
    inst.select(QStringLiteral("Beta"));
    TopicForm form(*inst.window, true);
    form.show();
    QVERIFY(!form.isNewRecord());
    type(form, QStringLiteral("Zulu"));
    QCOMPARE(inst.topics().state(), DataSetState::Edit);
    click(form, "BtnSave");

    QCOMPARE(childCaptions(inst.node(QStringLiteral("Projekte"))), (QStringList{"Zulu", "Delta"}));
    QVERIFY(inst.topics().findKey({3}));
    QCOMPARE(inst.topics().field(u"Thema").asString(), QStringLiteral("Zulu"));
    QCOMPARE(readTreeFile(inst.treeFile()), inst.treeRecords());
    QCOMPARE(readTreeFile(inst.treeFile()).at(1).name, QStringLiteral("Zulu"));
}

void TestTopicForm::mainEntryFlagGivesTheNodeType_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<int>("storedBaum");
    QTest::addColumn<int>("nodeType");
    QTest::newRow("ticked") << QStringLiteral("Beta") << 1 << int(TreeMainEntry);
    QTest::newRow("cleared") << QStringLiteral("Projekte") << -1 << int(TreeOtherEntry);
}

void TestTopicForm::mainEntryFlagGivesTheNodeType() {
    QFETCH(QString, topic);
    QFETCH(int, storedBaum);
    QFETCH(int, nodeType);
    Installation inst;
    inst.select(topic);
    TopicForm form(*inst.window, true);
    form.show();
    child<QCheckBox>(form, "DBCheckBox2")->click();
    click(form, "BtnSave");

    QTreeWidgetItem* node = inst.node(topic);
    QCOMPARE(zep::nodeType(node), nodeType);
    QVERIFY(inst.topics().findKey({nodeNumber(node)}));
    QCOMPARE(inst.topics().field(u"Baum").asInteger(), storedBaum);
    QCOMPARE(readTreeFile(inst.treeFile()), inst.treeRecords());
}

void TestTopicForm::closingDuringInsertSaves() {
    Installation inst;
    inst.select(QStringLiteral("Rechnungen"));
    const int before = inst.topics().recordCount();
    TopicForm form(*inst.window, false);
    form.show();
    type(form, QStringLiteral("Mahnungen"));
    click(form, "BtnExit");

    QVERIFY(!form.isVisible());
    QCOMPARE(inst.topics().state(), DataSetState::Browse);
    QCOMPARE(inst.topics().recordCount(), before + 1);
    QCOMPARE(childCaptions(inst.node(QStringLiteral("Rechnungen"))), QStringList{"Mahnungen"});
    QCOMPARE(readTreeFile(inst.treeFile()), inst.treeRecords());
}

void TestTopicForm::cancelDuringInsertAddsNothing() {
    Installation inst;
    inst.select(QStringLiteral("Projekte"));
    const QList<TreeFileRecord> onDisk = readTreeFile(inst.treeFile());
    const int before = inst.topics().recordCount();
    TopicForm form(*inst.window, false);
    form.show();
    type(form, QStringLiteral("Verworfen"));
    click(form, "BtnCancel");

    QVERIFY(!form.isNewRecord());
    QCOMPARE(inst.topics().state(), DataSetState::Browse);
    QCOMPARE(inst.topics().recordCount(), before);
    QCOMPARE(inst.topics().field(u"Thema").asString(), QStringLiteral("Projekte"));
    QCOMPARE(child<QLineEdit>(form, "A_1")->text(), QStringLiteral("Projekte"));
    QCOMPARE(inst.treeRecords(), onDisk);
}

void TestTopicForm::buttonsFollowTheEditState() {
    Installation inst;
    inst.select(QStringLiteral("Delta"));
    TopicForm form(*inst.window, true);
    form.show();
    const auto enabled = [&form](const char* name) {
        return child(form, name)->isEnabled();
    };
    QVERIFY(enabled("BtnNeu") && enabled("BtnNav3") && enabled("BtnDel") && enabled("Panel1"));
    QVERIFY(!enabled("BtnSave") && !enabled("BtnCancel"));
    type(form, QStringLiteral("Echo"));
    QVERIFY(!enabled("BtnNeu") && !enabled("BtnNav3"));
    QVERIFY(enabled("BtnSave") && enabled("BtnCancel"));
    click(form, "BtnCancel");
    QVERIFY(enabled("BtnNeu") && !enabled("BtnSave"));
    QCOMPARE(inst.node(QStringLiteral("Delta"))->text(0), QStringLiteral("Delta"));
}

void TestTopicForm::editTopicRunsModallyAndReportsSaving() {
    Installation inst;
    inst.select(QStringLiteral("Projekte"));
    QTimer::singleShot(0, [&inst] {
        auto* form = inst.window->findChild<TopicForm*>(QStringLiteral("TB02"));
        QVERIFY(form && form->isModal());
        type(*form, QStringLiteral("Archiv"));
        form->reject();
    });
    QVERIFY(EditTopic(*inst.window, false));
    QCOMPARE(childCaptions(inst.node(QStringLiteral("Projekte"))), (QStringList{"Archiv", "Beta", "Delta"}));

    QTimer::singleShot(0, [&inst] { inst.window->findChild<TopicForm*>(QStringLiteral("TB02"))->reject(); });
    QVERIFY(!EditTopic(*inst.window, true));
}

void TestTopicForm::captionCharactersTheTreeFileCannotHold_data() {
    QTest::addColumn<bool>("replace");
    QTest::newRow("saved with ? in table and tree") << true;
    QTest::newRow("back to the form") << false;
}

void TestTopicForm::captionCharactersTheTreeFileCannotHold() {
    QFETCH(bool, replace);
    Installation inst;
    inst.select(QStringLiteral("Beta"));
    TopicForm form(*inst.window, true);
    form.show();
    auto* thema = child<QLineEdit>(form, "A_1");
    thema->selectAll();
    typeText(thema, QStringLiteral("Łódź ✓ Projekt Ł"));
    inst.interaction.setNextAnswer(replace ? Answer::Yes : Answer::No);
    click(form, "BtnSave");

    QCOMPARE(inst.interaction.texts().last(),
             (QStringLiteral("Der Name enthält Zeichen, die in der Baumansicht nicht gespeichert werden "
                             "können: Ł ź ✓\r\rJa: Speichern, diese Zeichen werden durch \"?\" "
                             "ersetzt.\rNein: Zurück zur Eingabe, um den Namen zu ändern.")));
    QCOMPARE(inst.interaction.shown().last().kind, test::ScriptedInteraction::Kind::YesNo);
    if (!replace) {
        QCOMPARE(inst.topics().state(), DataSetState::Edit);
        QCOMPARE(child<QLineEdit>(form, "A_1")->text(), QStringLiteral("Łódź ✓ Projekt Ł"));
        QCOMPARE(readTreeFile(inst.treeFile()).at(1).name, QStringLiteral("Beta"));
        return;
    }
    QCOMPARE(inst.topics().state(), DataSetState::Browse);
    QVERIFY(inst.topics().findKey({3}));
    QCOMPARE(inst.topics().field(u"Thema").asString(), QStringLiteral("?ód? ? Projekt ?"));
    QCOMPARE(inst.node(QStringLiteral("?ód? ? Projekt ?")), inst.tree().currentItem());
    QCOMPARE(readTreeFile(inst.treeFile()).at(1).name, QStringLiteral("?ód? ? Projekt ?"));
    QCOMPARE(child<QLineEdit>(form, "A_1")->text(), QStringLiteral("?ód? ? Projekt ?"));
}

QTEST_MAIN(TestTopicForm)
#include "tst_topic_form.moc"
