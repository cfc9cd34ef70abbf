#include "addresses/address_texts.h"
#include "addresses/ui/address_form.h"
#include "app/profile_file.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/ui/window_placer.h"
#include "controls/ui/tree_view2.h"
#include "data/tdm.h"
#include "data/treefile.h"
#include "documents/associations.h"
#include "fake_associations.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_nodes.h"
#include "platform/telephony.h"
#include "platform/web_pages.h"
#include "printing/ui/address_print_dialog.h"
#include "printing/ui/envelope_print_dialog.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace zep;
using zep::test::appendRecord;
using zep::test::ScriptedInteraction;

namespace {

const QString DeleteQuestion =
    QStringLiteral("Der ausgewählte Eintrag, alle seine Untereinträge und zugehörige Dokumente werden gelöscht !!!");

class RecordingTelephony : public Telephony {
public:
    int requestMakeCall(const QString& destination, const QString& applicationName, const QString& calledParty,
                        const QString& comment) override {
        calls << QStringList{destination, applicationName, calledParty, comment};
        return result;
    }
    QList<QStringList> calls;
    int result = TelephonyAccepted;
};

class RecordingWebPages : public WebPages {
public:
    int open(const QString& address) override {
        opened << address;
        return result;
    }
    QStringList opened;
    int result = 33;
};

// A client "Muster": Alpha GmbH (1) with Bauer Max (2, below him Kunz Karl 4) and Schulz Eva (3);
// Zeta AG (5). Documents: one under Bauer Max and a topic, one file and one note under Schulz Eva.
class Installation {
public:
    Installation() {
        qputenv("XDG_DATA_HOME", tmp.filePath(QStringLiteral("xdg")).toUtf8());
        ensureInstallationLayout(tmp.path());
        program = loadProgram(tmp.path());
        Program::setInstance(&program);
        clientDir = tmp.filePath(QStringLiteral("Muster"));
        program.client.SetClientPaths(QStringLiteral("Muster"), clientDir);
        fillClient();
        window = std::make_unique<MainWindow>();
        dm = std::make_unique<TDM>(program.paths, interaction, associations);
        dm->DMCreate();
        window->setDataModule(dm.get());
        window->setClientOpener([this](const QString&, const QString&, int) { return openClient(); });
        Telephony::setInstance(&telephony);
        WebPages::setInstance(&pages);
    }
    ~Installation() {
        Telephony::setInstance(nullptr);
        WebPages::setInstance(nullptr);
        window->setDataModule(nullptr);
        window.reset();
        dm.reset();
        Program::setInstance(nullptr);
    }

    bool showWindow() {
        window->show();
        return QTest::qWaitFor([this] { return opened > 0 && tree().topLevelItemCount() > 0; });
    }

    QTreeWidget& tree() { return window->addressTree(); }
    QTreeWidgetItem* node(const QString& caption) {
        const QList<QTreeWidgetItem*> found = tree().findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    bool select(const QString& caption) {
        QTreeWidgetItem* item = node(caption);
        tree().setCurrentItem(item);
        return item != nullptr;
    }
    QString filesDir() const { return program.client.FilesDir; }
    QString treeFile() const { return program.client.AdrTreeFile; }

    ScriptedInteraction interaction;
    QTemporaryDir tmp;
    Program program;
    QString clientDir;
    test::FakeAssociations associations; // nothing registered
    RecordingTelephony telephony;
    RecordingWebPages pages;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<TDM> dm;
    int opened = 0;

private:
    bool openClient() {
        ++opened;
        dm->CloseClientTables();
        dm->SetClientDataDir(program.client.DataDir);
        return dm->OpenClientTables() == 0;
    }

    void fillClient() {
        const QString data = program.client.DataDir;
        test::createClientTables(data);
        Table adr, thema, dok;
        test::openTable(adr, data, QStringLiteral("Adressen.DB"));
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Alpha GmbH"}, {"Baum", 1}});
        appendRecord(adr, {{"Vor", 1}, {"Name1", "Bauer"}, {"Name2", "Max"}, {"Person", true}, {"Baum", -1}});
        appendRecord(adr, {{"Vor", 1}, {"Name1", "Schulz"}, {"Name2", "Eva"}, {"Person", true}, {"Baum", -1}});
        appendRecord(adr, {{"Vor", 2}, {"Name1", "Kunz"}, {"Name2", "Karl"}, {"Person", true}, {"Baum", -1}});
        appendRecord(adr, {{"Vor", 0}, {"Name1", "Zeta AG"}, {"Baum", 1}});
        writeTreeFile(data + QStringLiteral("/Adressen.dat"), {{QStringLiteral("Alpha GmbH"), 1, 1, 1},
                                                               {QStringLiteral("Bauer Max"), 2, 2, -1},
                                                               {QStringLiteral("Kunz Karl"), 3, 4, -1},
                                                               {QStringLiteral("Schulz Eva"), 2, 3, -1},
                                                               {QStringLiteral("Zeta AG"), 1, 5, 1}});
        test::openTable(thema, data, QStringLiteral("Thema.DB"));
        appendRecord(thema, {{"Vor", 0}, {"Thema", "Projekte"}});
        writeTreeFile(data + QStringLiteral("/Themen.dat"), {{QStringLiteral("Projekte"), 1, 1, 1}});
        test::openTable(dok, data, QStringLiteral("Dok.DB"));
        appendRecord(dok, {{"NrFirma", 2}, {"NrThema", 1}, {"Ext", "odt"}, {"Titel", "Angebot"}, {"Datei", "a.odt"}});
        appendRecord(dok, {{"NrFirma", 3}, {"NrThema", -1}, {"Ext", "pdf"}, {"Titel", "Brief"}, {"Datei", "b.pdf"}});
        appendRecord(dok, {{"NrFirma", 3}, {"NrThema", -1}, {"Ext", "---"}, {"Titel", "Anruf"}, {"Datei", "a.odt"}});
        appendRecord(dok, {{"NrFirma", 5}, {"NrThema", -1}, {"Ext", "pdf"}, {"Titel", "Zeta"}, {"Datei", "z.pdf"}});
        QDir().mkpath(filesDir());
        for (const char* name : {"a.odt", "b.pdf", "z.pdf"}) {
            QFile file(filesDir() + QString::fromLatin1(name));
            file.open(QIODevice::WriteOnly);
            file.write("x");
        }
        ProfileFile(clientDir + QStringLiteral("/Mand.ini")).writeInteger(u"Adressvorlage", u"Aktuell", 0);
    }
};

// The tree as its file holds it: every node but the root, with levels counted from the root.
QList<TreeFileRecord> treeRecords(QTreeWidget& tree) {
    QList<TreeFileRecord> records;
    for (QTreeWidgetItem* item = nextNode(firstNode(tree)); item; item = nextNode(item))
        records.append({item->text(0), nodeLevel(item), nodeNumber(item), nodeType(item)});
    return records;
}

QStringList childCaptions(const QTreeWidgetItem* parent) {
    QStringList captions;
    for (int i = 0; i < parent->childCount(); ++i)
        captions << parent->child(i)->text(0);
    return captions;
}

template <typename T = QWidget> T* child(QWidget& form, const char* name) {
    T* found = form.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no control %s", name);
    return found;
}

QWidget* topLevel(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String(name))
            return window;
    return nullptr;
}

void click(QWidget& form, const char* name) {
    QTest::mouseClick(child(form, name), Qt::LeftButton);
}

void type(QWidget& form, const char* name, const QString& text) {
    auto* edit = child<QLineEdit>(form, name);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QVariantList fieldValues(Table& table, const char* field) {
    return test::columnValues(table, QString::fromLatin1(field));
}

// Typing beyond ASCII, one key event per character.
QString rectText(const QRect& rect) {
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

void typeText(QWidget* edit, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class AddressFormTest : public QObject {
    Q_OBJECT

private slots:
    void printCommandsOpenTheirDialogs() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Alpha GmbH")));
        QStringList selections;
        bool mainDisabled = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<AddressPrintDialog*>(topLevel("TW_A_Print2"));
            QVERIFY(dialog && dialog->isVisible());
            mainDisabled = !inst.window->isEnabled();
            selections << dialog->selectionList().join(u'|');
            QTest::mouseClick(dialog->Check_U, Qt::LeftButton);
            selections << dialog->selectionList().join(u'|');
            QTest::mouseClick(dialog->Check_H, Qt::LeftButton);
            selections << dialog->selectionList().join(u'|');
            dialog->close();
        });
        inst.window->findChild<QAction*>(QStringLiteral("MA_PrintAdr"))->trigger();
        QVERIFY(mainDisabled);
        QVERIFY(inst.window->isEnabled());
        QVERIFY(!topLevel("TW_A_Print2"));
        // A main entry is listed only with its flag; the entries below it in tree order, sorted.
        QCOMPARE(selections, (QStringList{QString(), QStringLiteral("Bauer Max¶2|Kunz Karl¶4|Schulz Eva¶3"),
                                          QStringLiteral("Alpha GmbH¶1|Bauer Max¶2|Kunz Karl¶4|Schulz Eva¶3")}));

        QVERIFY(inst.select(QStringLiteral("Schulz Eva")));
        QString envelopeAddress;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<EnvelopePrintDialog*>(topLevel("TBrief2"));
            QVERIFY(dialog && dialog->isVisible());
            mainDisabled = !inst.window->isEnabled();
            envelopeAddress = inst.dm->TAdr.field(u"Name1").asString();
            dialog->close();
        });
        mainDisabled = false;
        inst.window->findChild<QAction*>(QStringLiteral("MA_PrintBrief"))->trigger();
        QVERIFY(mainDisabled);
        QVERIFY(inst.window->isEnabled());
        QCOMPARE(envelopeAddress, QStringLiteral("Schulz"));
    }

    void newPersonGetsItsNameAndIsSortedAmongSiblings() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Alpha GmbH")));
        AddressForm form(*inst.window, false);
        form.show();
        QVERIFY(form.isNewRecord());
        QVERIFY(!child(form, "BtnNeu")->isEnabled());
        QVERIFY(child(form, "BtnSave")->isEnabled());
        type(form, "A_1", QStringLiteral("Meier"));
        type(form, "A_2", QStringLiteral("Anna"));
        child<QCheckBox>(form, "DBCheckBox1")->click();
        QCOMPARE(child<QLabel>(form, "Label_A_1")->text(), QStringLiteral("Nachname"));
        click(form, "BtnSave");

        QVERIFY(!form.isNewRecord());
        QVERIFY(child(form, "BtnNeu")->isEnabled());
        QCOMPARE(
            childCaptions(inst.node(QStringLiteral("Alpha GmbH"))),
            (QStringList{QStringLiteral("Bauer Max"), QStringLiteral("Meier Anna"), QStringLiteral("Schulz Eva")}));
        QTreeWidgetItem* added = inst.node(QStringLiteral("Meier Anna"));
        QCOMPARE(inst.tree().currentItem(), added);
        QCOMPARE(nodeType(added), -1);
        Table& adr = inst.dm->TAdr;
        QVERIFY(adr.findKey({nodeNumber(added)}));
        QCOMPARE(adr.field(u"Vor").asInteger(), 1);
        QCOMPARE(adr.field(u"Person").asBoolean(), true);
        QCOMPARE(adr.field(u"Baum").asInteger(), -1);
        QCOMPARE(readTreeFile(inst.treeFile()), treeRecords(inst.tree()));
        QVERIFY(inst.interaction.shown().isEmpty());
    }

    // The new address belongs below the entry it was begun under, also when another node is selected
    // by the time it is saved.
    void newEntryStaysBelowTheNodeItWasBegunUnder() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Alpha GmbH")));
        AddressForm form(*inst.window, false);
        form.show();
        type(form, "A_1", QStringLiteral("Neu"));
        {
            const QSignalBlocker quiet(inst.tree()); // the table stays on the record being inserted
            QVERIFY(inst.select(QStringLiteral("Zeta AG")));
        }
        click(form, "BtnSave");

        QCOMPARE(childCaptions(inst.node(QStringLiteral("Alpha GmbH"))),
                 (QStringList{QStringLiteral("Bauer Max"), QStringLiteral("Neu"), QStringLiteral("Schulz Eva")}));
        QCOMPARE(inst.node(QStringLiteral("Zeta AG"))->childCount(), 0);
        QCOMPARE(inst.tree().currentItem(), inst.node(QStringLiteral("Neu")));
        QCOMPARE(inst.dm->TAdr.field(u"Vor").asInteger(), 1);
        QCOMPARE(readTreeFile(inst.treeFile()), treeRecords(inst.tree()));
    }

    // A new address the engine refuses to begin is reported in German and leaves no record behind.
    void refusedNewAddressIsReported() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Alpha GmbH")));
        inst.dm->TAdr.close();
        AddressForm form(*inst.window, false);
        form.show();

        QVERIFY(!form.isNewRecord());
        QCOMPARE(inst.dm->TAdr.state(), DataSetState::Inactive);
        QCOMPARE(inst.interaction.shown().size(), 1);
        QCOMPARE(inst.interaction.shown().first().kind, ScriptedInteraction::Kind::Error);
        QVERIFY(inst.interaction.shown().first().text.contains(QStringLiteral("nicht geöffnet")));
    }

    void renamingKeepsThePlaceAndSetsTheType() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Bauer Max")));
        AddressForm form(*inst.window, true);
        form.show();
        QCOMPARE(child<QLineEdit>(form, "A_1")->text(), QStringLiteral("Bauer"));
        type(form, "A_1", QStringLiteral("Zander"));
        QVERIFY(inst.dm->TAdr.isEditing());
        child<QCheckBox>(form, "DBCheckBox2")->click();
        click(form, "BtnSave");

        QTreeWidgetItem* renamed = inst.tree().currentItem();
        QCOMPARE(renamed->text(0), QStringLiteral("Zander Max"));
        QCOMPARE(nodeType(renamed), 1);
        QCOMPARE(childCaptions(inst.node(QStringLiteral("Alpha GmbH"))),
                 (QStringList{QStringLiteral("Zander Max"), QStringLiteral("Schulz Eva")}));
        QCOMPARE(inst.dm->TAdr.field(u"Baum").asInteger(), 1);
        QCOMPARE(readTreeFile(inst.treeFile()), treeRecords(inst.tree()));
    }

    // A date that cannot be read is reported on saving; the form stays in edit with the text kept.
    void unreadableDateIsNotDroppedSilently() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Bauer Max")));
        AddressForm form(*inst.window, true);
        form.show();
        type(form, "DBEdit14", QStringLiteral("31.02.2026"));
        click(form, "BtnSave");
        QVERIFY(inst.dm->TAdr.isEditing());
        QCOMPARE(child<QLineEdit>(form, "DBEdit14")->text(), QStringLiteral("31.02.2026"));
        QVERIFY(inst.interaction.texts().last().contains(QStringLiteral("\"DatumsFeld1\"")));
        child<QLineEdit>(form, "DBEdit14")->clear();
        type(form, "DBEdit14", QStringLiteral("28.02.2026"));
        click(form, "BtnSave");
        QVERIFY(!inst.dm->TAdr.isEditing());
        QCOMPARE(inst.dm->TAdr.field(u"Datum1").asString(), QStringLiteral("28.02.2026"));
    }

    void unreadableValueIsReportedUnderTheCaptionTheUserSees() {
        Installation inst;
        ClientSettings(inst.program.client.IniFile).setAddressFieldCaption(9, u"Umsatz");
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Bauer Max")));
        AddressForm form(*inst.window, true);
        form.show();
        type(form, "DBEdit16", QStringLiteral("viel"));
        QVERIFY(!form.close());
        QCOMPARE(inst.interaction.texts(),
                 QStringList{QStringLiteral("\"viel\" ist keine gültige Zahl für das Feld \"Umsatz\".")});
        QVERIFY(form.isVisible());
        QVERIFY(inst.dm->TAdr.isEditing());
        QCOMPARE(child<QLineEdit>(form, "DBEdit16")->text(), QStringLiteral("viel"));
    }

    void closingDuringInsertSaves() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Zeta AG")));
        const int before = inst.dm->TAdr.recordCount();
        {
            AddressForm form(*inst.window, false);
            form.show();
            QVERIFY(form.close());
        }
        QCOMPARE(inst.dm->TAdr.recordCount(), before + 1);
        QVERIFY(!inst.dm->TAdr.isEditing());
        QTreeWidgetItem* zeta = inst.node(QStringLiteral("Zeta AG"));
        QCOMPARE(zeta->childCount(), 1);
        QCOMPARE(zeta->child(0)->text(0), QString());
        QCOMPARE(inst.dm->TAdr.field(u"Vor").asInteger(), 5);
        QCOMPARE(readTreeFile(inst.treeFile()), treeRecords(inst.tree()));
    }

    void deleteWhileEditingCancelsAndDeletesNothing_data() {
        QTest::addColumn<bool>("edit");
        QTest::newRow("insert") << false;
        QTest::newRow("edit") << true;
    }
    void deleteWhileEditingCancelsAndDeletesNothing() {
        QFETCH(bool, edit);
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Bauer Max")));
        const QList<TreeFileRecord> fileBefore = readTreeFile(inst.treeFile());
        const int before = inst.dm->TAdr.recordCount();
        AddressForm form(*inst.window, edit);
        form.show();
        type(form, "A_1", QStringLiteral("Neu"));
        QVERIFY(inst.dm->TAdr.isEditing());
        click(form, "BtnDel");

        QVERIFY(inst.interaction.shown().isEmpty());
        QVERIFY(!inst.dm->TAdr.isEditing());
        QVERIFY(!form.isNewRecord());
        QCOMPARE(inst.dm->TAdr.recordCount(), before);
        QCOMPARE(inst.dm->TAdr.field(u"Name1").asString(), QStringLiteral("Bauer"));
        QCOMPARE(child<QLineEdit>(form, "A_1")->text(), QStringLiteral("Bauer"));
        QCOMPARE(readTreeFile(inst.treeFile()), fileBefore);
    }

    void deletingACompanyRemovesItsSubtreeAndDocuments() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Alpha GmbH")));
        inst.interaction.setNextAnswer(Answer::Ok);
        AddressForm form(*inst.window, true);
        form.show();
        click(form, "BtnDel");

        QCOMPARE(inst.interaction.texts(), QStringList{DeleteQuestion});
        Table& adr = inst.dm->TAdr;
        QCOMPARE(fieldValues(adr, "Nr"), (QVariantList{qint64(5)}));
        for (const char* gone : {"Alpha GmbH", "Bauer Max", "Kunz Karl", "Schulz Eva"})
            QVERIFY2(!inst.node(QString::fromLatin1(gone)), gone);
        QCOMPARE(readTreeFile(inst.treeFile()), treeRecords(inst.tree()));

        Table& dok = inst.dm->TDok;
        QVERIFY(!dok.hasMaster());
        QVERIFY(dok.indexName().isEmpty());
        QCOMPARE(fieldValues(dok, "Titel"), (QVariantList{QStringLiteral("Angebot"), QStringLiteral("Zeta")}));
        QVERIFY(dok.locate(u"Titel", QStringLiteral("Angebot")));
        QCOMPARE(dok.field(u"NrFirma").asInteger(), -1);
        QCOMPARE(dok.field(u"NrThema").asInteger(), 1);
        // The unlinked document and the note keep their file; the deleted document's is in the trash.
        QVERIFY(QFile::exists(inst.filesDir() + QStringLiteral("a.odt")));
        QVERIFY(!QFile::exists(inst.filesDir() + QStringLiteral("b.pdf")));
        QVERIFY(QFile::exists(inst.tmp.filePath(QStringLiteral("xdg/Trash/files/b.pdf"))));
        QVERIFY(QFile::exists(inst.filesDir() + QStringLiteral("z.pdf")));
    }

    void fileThatCannotBeTrashedIsNamedAndKept() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Schulz Eva")));
        const QString blocker = inst.tmp.filePath(QStringLiteral("blocker"));
        QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));
        qputenv("XDG_DATA_HOME", (blocker + QStringLiteral("/xdg")).toUtf8()); // no trash can be made
        inst.interaction.setNextAnswer(Answer::Ok);
        AddressForm form(*inst.window, true);
        form.show();
        click(form, "BtnDel");

        const QString file = inst.filesDir() + QStringLiteral("b.pdf");
        QCOMPARE(inst.interaction.texts(),
                 (QStringList{DeleteQuestion, QStringLiteral("Diese Dateien konnten nicht in den Papierkorb verschoben "
                                                             "werden:\r%1\rIhre Dokumente und Einträge wurden nicht "
                                                             "gelöscht.")
                                                  .arg(file)}));
        QCOMPARE(inst.interaction.shown().last().kind, ScriptedInteraction::Kind::Error);
        QVERIFY(QFile::exists(file));
        QVERIFY(!QFile::exists(QStringLiteral("info/b.pdf.trashinfo"))); // nothing left where the test runs
        QVERIFY(inst.node(QStringLiteral("Schulz Eva")));
        QVERIFY(inst.dm->TAdr.findKey({3}));
        QVERIFY(inst.dm->TDok.locate(u"Datei", QStringLiteral("b.pdf")));
        QVERIFY(!inst.dm->TDok.locate(u"Titel", QStringLiteral("Anruf"))); // the note went
        QCOMPARE(readTreeFile(inst.treeFile()), treeRecords(inst.tree()));
    }

    void deletingAskedAndAbortedChangesNothing() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Bauer Max")));
        inst.interaction.setNextAnswer(Answer::Abort);
        const int before = inst.dm->TAdr.recordCount();
        AddressForm form(*inst.window, true);
        form.show();
        click(form, "BtnDel");
        QCOMPARE(inst.interaction.texts(), QStringList{DeleteQuestion});
        QCOMPARE(inst.interaction.shown().first().kind, ScriptedInteraction::Kind::OkAbort);
        QCOMPARE(inst.dm->TAdr.recordCount(), before);
        QVERIFY(inst.node(QStringLiteral("Kunz Karl")));
    }

    void theRootIsNoEntry() {
        Installation inst;
        QVERIFY(inst.showWindow());
        inst.tree().setCurrentItem(inst.tree().topLevelItem(0));
        const int before = inst.dm->TAdr.recordCount();
        AddressForm form(*inst.window, true);
        form.show();
        click(form, "BtnDel");
        QVERIFY(inst.interaction.shown().isEmpty());
        QCOMPARE(inst.dm->TAdr.recordCount(), before);
    }

    void newUnderTheRootIsATopLevelAddress() {
        Installation inst;
        QVERIFY(inst.showWindow());
        inst.tree().setCurrentItem(inst.tree().topLevelItem(0));
        AddressForm form(*inst.window, false);
        form.show();
        type(form, "A_1", QStringLiteral("Beta KG"));
        click(form, "BtnSave");
        QCOMPARE(childCaptions(inst.tree().topLevelItem(0)),
                 (QStringList{QStringLiteral("Alpha GmbH"), QStringLiteral("Beta KG"), QStringLiteral("Zeta AG")}));
        QCOMPARE(inst.dm->TAdr.field(u"Vor").asInteger(), 0);
    }

    void cancelDiscardsTheNewRecord() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Zeta AG")));
        const int before = inst.dm->TAdr.recordCount();
        AddressForm form(*inst.window, false);
        form.show();
        type(form, "A_1", QStringLiteral("Verworfen"));
        click(form, "BtnCancel");
        QVERIFY(!form.isNewRecord());
        QCOMPARE(inst.dm->TAdr.recordCount(), before);
        QCOMPARE(inst.dm->TAdr.field(u"Name1").asString(), QStringLiteral("Zeta AG"));
        QCOMPARE(inst.node(QStringLiteral("Zeta AG"))->childCount(), 0);
    }

    void navigationMovesTheSelection_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("selected");
        const auto row = [](const char* tag, const char* start, const char* button, const char* selected) {
            QTest::newRow(tag) << QString::fromLatin1(start) << QString::fromLatin1(button)
                               << QString::fromLatin1(selected);
        };
        row("parent", "Kunz Karl", "BtnNav5", "Bauer Max");
        row("parent is the root", "Alpha GmbH", "BtnNav5", "Alpha GmbH");
        row("parent's next sibling", "Kunz Karl", "BtnNav6", "Schulz Eva");
        row("previous", "Schulz Eva", "BtnNav2", "Kunz Karl");
        row("previous is the root", "Alpha GmbH", "BtnNav2", "Alpha GmbH");
        row("next", "Schulz Eva", "BtnNav3", "Zeta AG");
    }
    void navigationMovesTheSelection() {
        QFETCH(QString, start);
        QFETCH(QString, button);
        QFETCH(QString, selected);
        Installation inst;
        QVERIFY(inst.showWindow());
        inst.tree().expandAll();
        QVERIFY(inst.select(start));
        AddressForm form(*inst.window, true);
        form.show();
        click(form, button.toLatin1().constData());
        QCOMPARE(inst.tree().currentItem()->text(0), selected);
        QCOMPARE(nodeNumber(inst.tree().currentItem()), int(inst.dm->TAdr.field(u"Nr").asInteger()));
    }

    void dialling_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("accepted") << 0 << QString();
        QTest::newRow("other") << -1 << QString();
        QTest::newRow("no recipient") << -2 << QStringLiteral("Tapi nicht verfügbar");
        QTest::newRow("queue full") << -3 << QStringLiteral("Warteschlange voll");
        QTest::newRow("invalid") << -4 << QStringLiteral("Ungültige Rufnummer");
    }
    void dialling() {
        QFETCH(int, result);
        QFETCH(QString, message);
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Alpha GmbH")));
        inst.telephony.result = result;
        AddressForm form(*inst.window, true);
        form.show();
        type(form, "E_Ring3", QStringLiteral("+49 (30) 123-4"));
        click(form, "BtnRing3");
        QCOMPARE(inst.telephony.calls, (QList<QStringList>{{QStringLiteral("+49 (30) 123-4"), QStringLiteral("ZEP"),
                                                            QStringLiteral("Alpha GmbH"), QString()}}));
        QCOMPARE(inst.interaction.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    void diallingAnEmptyNumberDoesNothing() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Alpha GmbH")));
        AddressForm form(*inst.window, true);
        form.show();
        click(form, "BtnRing1");
        QVERIFY(inst.telephony.calls.isEmpty());
    }

    void webPages_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("messages");
        // Both buttons open a page, so a failure is reported twice.
        QTest::newRow("opened") << 33 << QStringList();
        QTest::newRow("failed at 32") << 32
                                      << QStringList{QStringLiteral("Fehler beim Öffnen der Seite\n\rFehler: 32"),
                                                     QStringLiteral("Fehler beim Öffnen der Seite\n\rFehler: 32")};
        QTest::newRow("failed") << 31
                                << QStringList{QStringLiteral("Fehler beim Öffnen der Seite\n\rFehler: 31"),
                                               QStringLiteral("Fehler beim Öffnen der Seite\n\rFehler: 31")};
    }
    void webPages() {
        QFETCH(int, code);
        QFETCH(QStringList, messages);
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Alpha GmbH")));
        inst.pages.result = code;
        AddressForm form(*inst.window, true);
        form.show();
        type(form, "DBEdit13", QStringLiteral("www.beispiel.de"));
        click(form, "BtnInternet2");
        click(form, "BtnInternet1");
        QCOMPARE(inst.pages.opened, (QStringList{QStringLiteral("www.beispiel.de"), QString()}));
        QCOMPARE(inst.interaction.texts(), messages);
    }

    void labelsAndListsComeFromTheClientAndCatalogs() {
        Installation inst;
        ClientSettings(inst.program.client.IniFile).setAddressFieldCaption(2, u"Kundennummer");
        QFile catalog(inst.program.paths.general + QStringLiteral("/12.kat"));
        QVERIFY(catalog.open(QIODevice::WriteOnly));
        catalog.write("Frau\r\nHerr\r\n");
        catalog.close();
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Alpha GmbH")));
        AddressForm form(*inst.window, true);
        form.show();
        const QStringList expected{"Feld1", "Kundennummer", "Feld3",       "Feld4",       "Feld5",
                                   "Feld6", "DatumsFeld1",  "DatumsFeld2", "ZahlenFeld1", "ZahlenFeld2"};
        for (int i = 1; i <= 10; ++i)
            QCOMPARE(child<QLabel>(form, QStringLiteral("Feld%1").arg(i).toLatin1().constData())->text(),
                     expected[i - 1]);
        auto* box = child<QComboBox>(form, "DBSerieBox3");
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(1), QStringLiteral("Herr"));
        QCOMPARE(child<QLabel>(form, "Label_A_1")->text(), QStringLiteral("Firmenname"));
        QCOMPARE(child<QTabWidget>(form, "PageControl1")->currentIndex(), 0);
        QCOMPARE(child<QToolButton>(form, "BtnNav6")->toolTip(), QStringLiteral("Nächster übergeordneter Eintrag"));
    }

    void theMainWindowIsDisabledWhileTheFormIsOpen() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Bauer Max")));
        bool disabledMeanwhile = false;
        QTimer::singleShot(0, [&] {
            disabledMeanwhile = !inst.window->isEnabled();
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->objectName() == QStringLiteral("TB01") && widget->isVisible())
                    widget->close();
            }
        });
        QMetaObject::invokeMethod(child(*inst.window, "Btn_B_Edit"), "click");
        QVERIFY(disabledMeanwhile);
        QVERIFY(inst.window->isEnabled());
        QCOMPARE(inst.tree().currentItem()->text(0), QStringLiteral("Bauer Max"));
    }

    void theFormOpensCentredOverANormalMainWindow() {
        Installation inst;
        QVERIFY(inst.showWindow());
        WindowPlacer placer;
        qApp->installEventFilter(&placer);
        inst.window->showNormal();
        // Left of the screen's centre (the test screen is 800 x 600), so that centring over the screen would show.
        inst.window->setGeometry(0, 2, 700, 596);
        QVERIFY(QTest::qWaitForWindowActive(inst.window.get()));
        QCoreApplication::processEvents();
        QRect form;
        QTimer::singleShot(0, [&] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->objectName() == QStringLiteral("TB01") && widget->isVisible()) {
                    form = widget->frameGeometry();
                    widget->close();
                }
            }
        });
        QMetaObject::invokeMethod(child(*inst.window, "Btn_B_Neu"), "click");
        QVERIFY(form.isValid());
        const QRect owner = inst.window->frameGeometry();
        QVERIFY2(qAbs(form.center().x() - owner.center().x()) <= 1 && qAbs(form.center().y() - owner.center().y()) <= 1,
                 qPrintable(rectText(form) + QStringLiteral(" über ") + rectText(owner)));
        QVERIFY(inst.window->screen()->availableGeometry().contains(form));
    }

    void theMainWindowsDeleteCommandWritesTheTreeFile() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Schulz Eva")));
        inst.interaction.setNextAnswer(Answer::Ok);
        QMetaObject::invokeMethod(child(*inst.window, "Btn_B_Del"), "click");
        QVERIFY(!inst.node(QStringLiteral("Schulz Eva")));
        QCOMPARE(readTreeFile(inst.treeFile()), treeRecords(inst.tree()));
        QVERIFY(inst.window->isEnabled());
    }

    void refusedValueIsSelectedForCorrection_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("date") << QStringLiteral("DBEdit14") << QStringLiteral("31.02.2026")
                              << QStringLiteral("\"31.02.2026\" ist kein gültiges Datum für das Feld \"DatumsFeld1\". "
                                                "Bitte das Datum als TT.MM.JJJJ eingeben.");
        QTest::newRow("number") << QStringLiteral("DBEdit16") << QStringLiteral("viel")
                                << QStringLiteral("\"viel\" ist keine gültige Zahl für das Feld \"ZahlenFeld1\".");
    }

    void refusedValueIsSelectedForCorrection() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Bauer Max")));
        AddressForm form(*inst.window, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* field = form.findChild<QLineEdit*>(edit);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, typed);
        click(form, "BtnSave");

        QCOMPARE(inst.interaction.texts(), QStringList{message});
        QCOMPARE(QApplication::focusWidget(), field);
        QCOMPARE(field->selectedText(), typed);
    }

    void captionCharactersTheTreeFileCannotHold_data() {
        QTest::addColumn<bool>("replace");
        QTest::newRow("Ja") << true;
        QTest::newRow("Nein") << false;
    }

    // Tree files hold Windows-1252 only; a person's first name reaches the caption too. "Nein" goes
    // back to the typed name with nothing stored.
    void captionCharactersTheTreeFileCannotHold() {
        QFETCH(bool, replace);
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Bauer Max")));
        const QList<TreeFileRecord> treeBefore = readTreeFile(inst.treeFile());
        AddressForm form(*inst.window, true);
        form.show();
        auto* firstName = child<QLineEdit>(form, "A_2");
        firstName->selectAll();
        typeText(firstName, QStringLiteral("Łukasz"));
        inst.interaction.setNextAnswer(replace ? Answer::Yes : Answer::No);
        click(form, "BtnSave");

        QCOMPARE(inst.interaction.texts(),
                 QStringList{QStringLiteral("Der Name enthält Zeichen, die in der Baumansicht nicht gespeichert "
                                            "werden können: Ł\r\rJa: Speichern, diese Zeichen werden durch \"?\" "
                                            "ersetzt.\rNein: Zurück zur Eingabe, um den Namen zu ändern.")});
        if (!replace) {
            QVERIFY(inst.dm->TAdr.isEditing());
            QCOMPARE(firstName->text(), QStringLiteral("Łukasz"));
            QCOMPARE(readTreeFile(inst.treeFile()), treeBefore);
            QCOMPARE(inst.tree().currentItem()->text(0), QStringLiteral("Bauer Max"));
            return;
        }
        QVERIFY(!inst.dm->TAdr.isEditing());
        QCOMPARE(inst.dm->TAdr.field(u"Name2").asString(), QStringLiteral("?ukasz"));
        QCOMPARE(inst.tree().currentItem()->text(0), QStringLiteral("Bauer ?ukasz"));
        QCOMPARE(readTreeFile(inst.treeFile()), treeRecords(inst.tree()));
    }

    void discardAndDeleteLookDifferent() {
        Installation inst;
        QVERIFY(inst.showWindow());
        QVERIFY(inst.select(QStringLiteral("Bauer Max")));
        AddressForm form(*inst.window, true);
        const QImage discard = child<QToolButton>(form, "BtnCancel")->icon().pixmap(16).toImage();
        const QImage remove = child<QToolButton>(form, "BtnDel")->icon().pixmap(16).toImage();
        QVERIFY(!discard.isNull());
        QVERIFY(discard != remove);
    }
};

QTEST_MAIN(AddressFormTest)
#include "tst_address_form.moc"
