#include "app/install_paths.h"
#include "data/engine_error.h"
#include "data/schema.h"
#include "data/tdm.h"
#include "data/tdm1.h"
#include "fake_associations.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <sqlite3.h>

using namespace zep;
using zep::test::appendRecord;

namespace {

class FakeNoteEditor : public NoteEditor {
public:
    bool isModified() const override { return modified; }
    void setModified(bool m) override { modified = m; }
    QString noteText() const override { return text; }
    void setNoteText(const QString& t) override { text = t; }
    bool modified = false;
    QString text;
};

class FakeForm : public EntryFormButtons {
public:
    void setControlEnabled(const QString& name, bool enabled) override { state[name] = enabled; }
    std::map<QString, bool> state;
};

QString readNotice(const QString& dataDir, qint64 nr) {
    Table t;
    test::openTable(t, dataDir, QStringLiteral("Dok.DB"));
    return t.findKey({nr}) ? t.field(u"Notice").asString() : QStringLiteral("<fehlt>");
}

} // namespace

class DataModuleTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    InstallPaths paths_;
    test::FakeAssociations associations_;
    int clients_ = 0;

    // A client data directory made from the template tables.
    QString newClient() {
        const QString data = tmp_.filePath(QStringLiteral("client%1/Daten").arg(++clients_));
        QDir().mkpath(data);
        for (const QString& name : QDir(paths_.emptyData).entryList(QDir::Files))
            QFile::copy(QDir(paths_.emptyData).filePath(name), QDir(data).filePath(name));
        return data;
    }

private slots:
    void initTestCase() {
        const QString root = tmp_.filePath(QStringLiteral("inst"));
        ensureInstallationLayout(root);
        paths_ = InstallPaths::fromDirectory(root);
        associations_.setApplication(QStringLiteral("odt"), {QStringLiteral("writer.desktop"), QStringLiteral("Writer"),
                                                             QStringLiteral("/usr/bin/office"), QString(),
                                                             QStringLiteral("office-writer"), false});
        associations_.setApplication(QStringLiteral("txt"),
                                     {QStringLiteral("edit.desktop"), QStringLiteral("Editor"),
                                      QStringLiteral("/usr/bin/noicon"), QString(), QString(), false});
        associations_.setProgramIcons(QStringLiteral("/usr/bin/office"),
                                      {QStringLiteral("office-calc"), QStringLiteral("office-writer")});
    }

    void openClientTables_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("expected");
        QTest::newRow("current tables") << "" << 0;
        QTest::newRow("no Serie.db: copied from the template") << "remove Serie.db" << 0;
        QTest::newRow("Dok.DB without marker") << "old Dok.DB" << -2;
        QTest::newRow("Adressen.DB without a field") << "Adressen.DB without Ort" << -2;
        QTest::newRow("no Serie.db and no template") << "remove Serie.db and template" << -2;
        QTest::newRow("Adressen.DB not a table") << "corrupt Adressen.DB" << -1;
    }

    // Opening never lets an engine error out and leaves nothing open when it fails.
    void openClientTables() {
        QFETCH(QString, damage);
        QFETCH(int, expected);
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        QTemporaryDir emptyCopy;
        InstallPaths paths = paths_;
        if (damage.startsWith(u"remove Serie.db"))
            QVERIFY(QFile::remove(QDir(data).filePath(QStringLiteral("Serie.db"))));
        if (damage.endsWith(u"and template"))
            paths.emptyData = emptyCopy.path();
        if (damage == u"old Dok.DB") {
            QVERIFY(QFile::remove(QDir(data).filePath(QStringLiteral("Dok.DB"))));
            TableLayout old = schema::documents();
            old.fields.pop_back();
            createTableFile(QDir(data).filePath(old.name), old);
        }
        if (damage == u"Adressen.DB without Ort") {
            QVERIFY(QFile::remove(QDir(data).filePath(QStringLiteral("Adressen.DB"))));
            TableLayout old = schema::addresses();
            old.fields.erase(old.fields.begin() + old.fieldIndex(u"Ort"));
            createTableFile(QDir(data).filePath(old.name), old);
        }
        if (damage == u"corrupt Adressen.DB") {
            QFile file(QDir(data).filePath(QStringLiteral("Adressen.DB")));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray(4096, 'x'));
        }
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), expected);
        QCOMPARE(dm.TDok.isActive(), expected == 0);
        if (expected != 0) {
            QVERIFY(!dm.TAdr.isActive() && !dm.TThema.isActive() && !dm.TAdrVor.isActive() && !dm.TSerie.isActive());
        } else {
            QVERIFY(dm.HasVersionMarker(dm.TSerieVers));
            QVERIFY(dm.TSerie.isActive());
        }
    }

    // A modified note is stored into its own document before the list shows another one.
    void noteFollowsDocumentList() {
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        TDM dm(paths_, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        const qint64 a = appendRecord(dm.TDok, {{"Titel", "A"}, {"Notice", "Notiz A"}});
        const qint64 b = appendRecord(dm.TDok, {{"Titel", "B"}, {"Notice", "Notiz B"}});
        FakeNoteEditor editor;
        dm.setNoteEditor(&editor);
        TDM1& dm1 = dm.dm1();
        dm1.QDok.open();
        QCOMPARE(dm.TDok.field(u"Nr").asInteger(), a);
        QCOMPARE(editor.text, QStringLiteral("Notiz A"));

        editor.text = QStringLiteral("Neu für A");
        editor.modified = true;
        dm1.QDok.next();
        QCOMPARE(dm.TDok.field(u"Nr").asInteger(), b);
        QCOMPARE(editor.text, QStringLiteral("Notiz B"));
        QVERIFY(!editor.modified);
        QCOMPARE(readNotice(data, a), QStringLiteral("Neu für A"));
        QCOMPARE(readNotice(data, b), QStringLiteral("Notiz B"));

        // An unmodified editor writes nothing.
        editor.text = QStringLiteral("nicht gespeichert");
        dm1.QDok.first();
        QCOMPARE(readNotice(data, b), QStringLiteral("Notiz B"));
        QCOMPARE(editor.text, QStringLiteral("Neu für A"));
    }

    // A document filed through another table object (the copy dialog's) after TDok read its set:
    // selecting it in the list shows its note, and the note goes back into it.
    void noteOfADocumentFiledElsewhere() {
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        TDM dm(paths_, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        const qint64 a = appendRecord(dm.TDok, {{"Titel", "A"}, {"Notice", "Notiz A"}});
        Table target;
        test::openTable(target, data, QStringLiteral("Dok.DB"));
        const qint64 b = appendRecord(target, {{"Titel", "B"}, {"Notice", "Notiz B"}});
        FakeNoteEditor editor;
        dm.setNoteEditor(&editor);
        TDM1& dm1 = dm.dm1();
        dm1.QDok.open();
        QCOMPARE(editor.text, QStringLiteral("Notiz A"));
        QVERIFY(dm1.QDok.locate(u"Nr", b));
        QCOMPARE(dm.TDok.field(u"Nr").asInteger(), b);
        QCOMPARE(editor.text, QStringLiteral("Notiz B"));
        editor.text = QStringLiteral("Neu für B");
        editor.modified = true;
        dm1.QDok.first();
        QCOMPARE(readNotice(data, b), QStringLiteral("Neu für B"));
        QCOMPARE(readNotice(data, a), QStringLiteral("Notiz A"));
    }

    // A document the list shows but the table no longer holds: the editor shows nothing, and what is
    // typed there is never written into the document TDok still stands on.
    void noteOfADocumentDeletedElsewhere() {
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        TDM dm(paths_, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        const qint64 a = appendRecord(dm.TDok, {{"Titel", "A"}, {"Notice", "Notiz A"}});
        const qint64 b = appendRecord(dm.TDok, {{"Titel", "B"}, {"Notice", "Notiz B"}});
        FakeNoteEditor editor;
        dm.setNoteEditor(&editor);
        TDM1& dm1 = dm.dm1();
        dm1.QDok.open();
        QCOMPARE(editor.text, QStringLiteral("Notiz A"));
        Table other;
        test::openTable(other, data, QStringLiteral("Dok.DB"));
        QVERIFY(other.findKey({b}));
        other.deleteRecord();

        QVERIFY(dm1.QDok.locate(u"Nr", b)); // the list was read before the delete
        QCOMPARE(editor.text, QString());
        QVERIFY(!editor.modified);
        editor.text = QStringLiteral("getippt für B");
        editor.modified = true;
        dm.SaveNote();
        QVERIFY(!editor.modified);
        QCOMPARE(readNotice(data, a), QStringLiteral("Notiz A"));
        QCOMPARE(readNotice(data, b), QStringLiteral("<fehlt>"));

        editor.text = QStringLiteral("noch einmal");
        editor.modified = true;
        dm1.QDok.first(); // the list's move stores the note first: into nothing
        QCOMPARE(readNotice(data, a), QStringLiteral("Notiz A"));
        QCOMPARE(editor.text, QStringLiteral("Notiz A"));
    }

    // The lookup lists show an address or topic posted a moment ago through the forms' objects.
    void lookupListsShowRecordsPostedThroughTheForms() {
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        TDM dm(paths_, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        appendRecord(dm.TAdr, {{"Name1", "Zeta AG"}});
        appendRecord(dm.TAdr, {{"Name1", "Alpha GmbH"}});
        QCOMPARE(test::columnValues(dm.TAdrLook, QStringLiteral("Name1")), QVariantList({"Alpha GmbH", "Zeta AG"}));
        const qint64 topic = appendRecord(dm.TThema, {{"Thema", "Projekte"}});
        QTRY_COMPARE(dm.TThemaLook.recordCount(), 1);
        QCOMPARE(dm.TThemaLook.field(u"Nr").asInteger(), topic);
    }

    // A note typed while no document is listed has nowhere to go: nothing is stored, nothing thrown.
    void noteWithoutDocumentIsNotStored() {
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        TDM dm(paths_, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        FakeNoteEditor editor;
        dm.setNoteEditor(&editor);
        editor.text = QStringLiteral("verwaist");
        editor.modified = true;
        dm.SaveNote();
        QCOMPARE(dm.TDok.state(), DataSetState::Browse);
        QVERIFY(!editor.modified);
        const qint64 nr = appendRecord(dm.TDok, {{"Titel", "danach"}});
        QCOMPARE(readNotice(data, nr), QString());
    }

    // A note that cannot be stored (another program holds the table's write lock) is reported once
    // and leaves the document table usable.
    void failedNoteSaveLeavesTableBrowsing() {
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        TDM dm(paths_, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        const qint64 nr = appendRecord(dm.TDok, {{"Titel", "gesperrt"}});
        FakeNoteEditor editor;
        dm.setNoteEditor(&editor);
        editor.text = QStringLiteral("nicht gespeichert");
        editor.modified = true;
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QDir(data).filePath(QStringLiteral("Dok.DB")).toUtf8().constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        QVERIFY_THROWS_EXCEPTION(EngineError, dm.SaveNote());
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(dm.TDok.state(), DataSetState::Browse);
        QVERIFY(!editor.modified);
        QCOMPARE(readNotice(data, nr), QString());
        QVERIFY(appendRecord(dm.TDok, {{"Titel", "danach"}}) > nr);
    }

    // A note being edited is stored before the tables are closed for another client, and before a
    // new document is inserted.
    void noteStoredBeforeCloseAndInsert() {
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        TDM dm(paths_, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        const qint64 a = appendRecord(dm.TDok, {{"Titel", "A"}});
        FakeNoteEditor editor;
        dm.setNoteEditor(&editor);
        editor.text = QStringLiteral("vor dem Einfügen");
        editor.modified = true;
        appendRecord(dm.TDok, {{"Titel", "B"}});
        QCOMPARE(readNotice(data, a), QStringLiteral("vor dem Einfügen"));
        editor.text = QStringLiteral("vor dem Schließen");
        editor.modified = true;
        dm.CloseClientTables();
        QCOMPARE(readNotice(data, a + 1), QStringLiteral("vor dem Schließen"));
    }

    void documentWithoutLinksGetsMinusOne() {
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        TDM dm(paths_, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        const qint64 firma = appendRecord(dm.TAdr, {{"Name1", "Alpha GmbH"}});
        appendRecord(dm.TDok, {{"Titel", "lose"}});
        QCOMPARE(dm.TDok.field(u"NrFirma").asInteger(), -1);
        QCOMPARE(dm.TDok.field(u"NrThema").asInteger(), -1);
        QVERIFY(dm.TDok.field(u"Adresse").isNull());
        appendRecord(dm.TDok, {{"Titel", "gebunden"}, {"NrFirma", firma}});
        dm.TAdrLook.refresh();
        QCOMPARE(dm.TDok.field(u"Adresse").asString(), QStringLiteral("Alpha GmbH"));
        QCOMPARE(dm.TDok.field(u"NrThema").asInteger(), -1);
    }

    void formButtonsFollowState() {
        test::ScriptedInteraction interaction;
        const QString data = newClient();
        TDM dm(paths_, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        FakeForm form;
        dm.setAddressForm(&form);
        QCOMPARE(form.state[QStringLiteral("BtnDel")], false);
        QCOMPARE(form.state[QStringLiteral("BtnNeu")], true);
        dm.TAdr.append();
        QCOMPARE(form.state[QStringLiteral("BtnNeu")], false);
        QCOMPARE(form.state[QStringLiteral("BtnSave")], true);
        QCOMPARE(form.state[QStringLiteral("BtnCancel")], true);
        QCOMPARE(form.state[QStringLiteral("BtnNav6")], false);
        dm.TAdr.field(u"Name1").setValue(QStringLiteral("Neu"));
        dm.TAdr.post();
        QCOMPARE(form.state[QStringLiteral("BtnDel")], true);
        QCOMPARE(form.state[QStringLiteral("Panel1")], true);
        QCOMPARE(form.state[QStringLiteral("BtnSave")], false);
        QCOMPARE(form.state[QStringLiteral("BtnNav1")], true);
        dm.setAddressForm(nullptr);
        dm.TAdr.deleteRecord();
        QCOMPARE(form.state[QStringLiteral("BtnDel")], true); // a closed form is left alone

        FakeForm topics;
        dm.setTopicForm(&topics);
        QCOMPARE(topics.state[QStringLiteral("BtnDel")], false);
        dm.TThema.append();
        QCOMPARE(topics.state[QStringLiteral("BtnSave")], true);
        QCOMPARE(topics.state[QStringLiteral("BtnNav3")], false);
        dm.TThema.cancel();
        QCOMPARE(topics.state[QStringLiteral("BtnNeu")], true);
        dm.setTopicForm(nullptr);
    }

    // The register is filled once from the desktop; icons come from the program's desktop entries.
    void applicationsAndIcons() {
        test::ScriptedInteraction interaction;
        QTemporaryDir inst;
        ensureInstallationLayout(inst.path());
        const InstallPaths paths = InstallPaths::fromDirectory(inst.path());
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        QCOMPARE(dm.TPro.recordCount(), 2);
        QCOMPARE(dm.IList.small(QStringLiteral("ODT")), QStringLiteral("office-writer"));
        QCOMPARE(dm.IList.large(QStringLiteral("odt")), QStringLiteral("office-writer"));
        QCOMPARE(dm.IList.small(QStringLiteral("---")), TIconList::noteIconSource());
        QVERIFY(dm.IList.small(QStringLiteral("txt")).isEmpty()); // its program yields no icon
        QCOMPARE(dm.IList.countSmall(), 2);

        const QString data = newClient();
        dm.SetClientDataDir(data);
        QCOMPARE(dm.OpenClientTables(), 0);
        appendRecord(dm.TDok, {{"Titel", "Brief"}, {"Ext", "odt"}});
        QCOMPARE(dm.TPro.recordCount(), 1);
        QCOMPARE(dm.TPro.field(u"Titel").asString(), QStringLiteral("Writer"));
        appendRecord(dm.TDok, {{"Titel", "Notiz"}, {"Ext", "---"}});
        QVERIFY(dm.TPro.isEmpty());
        dm.LoadApplicationIcons();
        QCOMPARE(dm.IList.countSmall(), 2); // every application, not only the current document's
    }

    void outdatedRegisterIsUpgraded() {
        test::ScriptedInteraction interaction;
        QTemporaryDir inst;
        ensureInstallationLayout(inst.path());
        const InstallPaths paths = InstallPaths::fromDirectory(inst.path());
        const QString programm = QDir(paths.general).filePath(QStringLiteral("Programm.DB"));
        QVERIFY(QFile::remove(programm));
        TableLayout old = schema::applications();
        old.fields.pop_back();
        createTableFile(programm, old);
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        QCOMPARE(interaction.texts(),
                 QStringList{QStringLiteral("Falsche Datenbankversion !\n\r\n\rDatenbank wird nun aktualisiert")});
        QVERIFY(dm.HasVersionMarker(dm.TPro));
        QVERIFY(dm.TPro.isActive());
    }
};

QTEST_GUILESS_MAIN(DataModuleTest)
#include "tst_data_module.moc"
