#include "controls/ui/db_check_box.h"
#include "controls/ui/db_combo_box.h"
#include "controls/ui/db_edit.h"
#include "controls/ui/db_lookup_combo_box.h"
#include "controls/ui/db_memo.h"
#include "data/data_source.h"
#include "data/engine_error.h"
#include "data/table.h"
#include "scripted_interaction.h"
#include "test_install.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <sqlite3.h>

using namespace zep;
using zep::test::appendRecord;

namespace {

// Addresses: Alpha GmbH (1, Baum 1), Bauer Max (2, person, Baum 0), Schulz Eva (3, person, Baum -1,
// Datum1 05.03.2024, Zahl1 1234.5). Documents: "Angebot" (NrFirma 2, Art "Brief", Offen 1) and
// "Notiz" (NrFirma -1, Offen 0). Topics: none. Each table object stands on its first record.
struct Fixture {
    test::ScriptedInteraction interaction;
    QTemporaryDir tmp;
    Table adr, dok, thema;
    DataSource adrSource, dokSource, themaSource;
    QWidget window;
    QVBoxLayout* layout = new QVBoxLayout(&window);

    Fixture() {
        test::createClientTables(tmp.path());
        test::openTable(adr, tmp.path(), QStringLiteral("Adressen.DB"));
        appendRecord(adr, {{"Name1", "Alpha GmbH"}, {"Baum", 1}});
        appendRecord(adr, {{"Name1", "Bauer"}, {"Name2", "Max"}, {"Person", true}, {"Baum", 0}});
        appendRecord(adr, {{"Name1", "Schulz"},
                           {"Name2", "Eva"},
                           {"Person", true},
                           {"Baum", -1},
                           {"Datum1", QDate(2024, 3, 5)},
                           {"Zahl1", 1234.5}});
        adr.first();
        test::openTable(dok, tmp.path(), QStringLiteral("Dok.DB"));
        appendRecord(dok, {{"NrFirma", 2}, {"Titel", "Angebot"}, {"Art", "Brief"}, {"Offen", 1}});
        appendRecord(dok, {{"NrFirma", -1}, {"Titel", "Notiz"}, {"Offen", 0}});
        dok.first();
        test::openTable(thema, tmp.path(), QStringLiteral("Thema.DB"));
        adrSource.setDataSet(&adr);
        dokSource.setDataSet(&dok);
        themaSource.setDataSet(&thema);
    }

    template <typename Control> Control* add(Control* control) {
        layout->addWidget(control);
        return control;
    }
    DBEdit* edit(DataSource& source, const char* field) { return add(new DBEdit(&source, QString::fromLatin1(field))); }

    bool showActive() {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    // A field of a record as the file holds it, read through a table object of its own.
    QVariant stored(const char* table, qint64 nr, const char* field) {
        Table reader;
        test::openTable(reader, tmp.path(), QString::fromLatin1(table));
        if (!reader.locate(u"Nr", nr))
            return QStringLiteral("<kein Datensatz>");
        return reader.field(QString::fromLatin1(field)).value();
    }
};

void retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

QStringList itemTexts(const QComboBox& box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

// Holds the write lock of a table file through a connection of its own, as another program would.
class WriteLock {
public:
    explicit WriteLock(const QString& path) {
        sqlite3_open(path.toUtf8().constData(), &db_);
        locked_ = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~WriteLock() {
        release();
        sqlite3_close(db_);
    }
    bool locked() const { return locked_; }
    void release() {
        if (locked_)
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        locked_ = false;
    }

private:
    sqlite3* db_ = nullptr;
    bool locked_ = false;
};

} // namespace

class BoundControlsTest : public QObject {
    Q_OBJECT

private slots:
    void editFollowsTheRecordOnEveryDataChange() {
        Fixture f;
        DBEdit* name = f.edit(f.adrSource, "Name1");
        QCOMPARE(name->text(), QStringLiteral("Alpha GmbH"));
        f.adr.next();
        QCOMPARE(name->text(), QStringLiteral("Bauer"));
        retype(name, QStringLiteral("Verworfen"));
        QCOMPARE(f.adr.state(), DataSetState::Edit);
        f.adr.cancel();
        QCOMPARE(name->text(), QStringLiteral("Bauer"));

        Table other;
        test::openTable(other, f.tmp.path(), QStringLiteral("Adressen.DB"));
        QVERIFY(other.locate(u"Nr", 2));
        other.edit();
        other.field(u"Name1").setValue(QStringLiteral("Baumann"));
        other.post();
        f.adr.refresh();
        QCOMPARE(name->text(), QStringLiteral("Baumann"));
    }

    // Whoever posts, and however: what was typed reaches the file.
    void everyPostCarriesTheTypedText_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("post") << QStringLiteral("post");
        QTest::newRow("browse mode") << QStringLiteral("checkBrowseMode");
        QTest::newRow("moving on") << QStringLiteral("next");
        QTest::newRow("reading again") << QStringLiteral("refresh");
    }
    void everyPostCarriesTheTypedText() {
        QFETCH(QString, how);
        Fixture f;
        DBEdit* name = f.edit(f.adrSource, "Name1");
        DBMemo* notice = f.add(new DBMemo(&f.adrSource, QStringLiteral("Notice")));
        retype(name, QStringLiteral("Ahorn AG"));
        QTest::keyClicks(notice, QStringLiteral("Zeile 1"));
        QTest::keyClick(notice, Qt::Key_Return);
        QTest::keyClicks(notice, QStringLiteral("Zeile 2"));
        QCOMPARE(f.adr.state(), DataSetState::Edit);
        if (how == u"post")
            f.adr.post();
        else if (how == u"checkBrowseMode")
            f.adr.checkBrowseMode();
        else if (how == u"next")
            f.adr.next();
        else
            f.adr.refresh();
        QCOMPARE(f.adr.state(), DataSetState::Browse);
        QCOMPARE(f.stored("Adressen.DB", 1, "Name1"), QVariant(QStringLiteral("Ahorn AG")));
        QCOMPARE(f.stored("Adressen.DB", 1, "Notice"), QVariant(QStringLiteral("Zeile 1\nZeile 2")));
    }

    // A table object that reads its record again when it goes into edit state, as one must when
    // another object may have changed it: the first key typed is not lost to that reading.
    void editThatReadsTheRecordAgainKeepsWhatIsTyped() {
        struct RereadingTable : Table {
            void edit() override {
                Table::edit();
                notifyDataChanged();
            }
        };
        Fixture f;
        RereadingTable table;
        test::openTable(table, f.tmp.path(), QStringLiteral("Adressen.DB"));
        DataSource source(&table);
        DBEdit* name = f.edit(source, "Name1");
        DBEdit* street = f.edit(source, "Strasse");
        street->setText(QStringLiteral("nicht gespeichert"));
        QTest::keyClicks(name, QStringLiteral("X"));
        QCOMPARE(table.state(), DataSetState::Edit);
        QCOMPARE(name->text(), QStringLiteral("Alpha GmbHX"));
        QCOMPARE(street->text(), QString());
        table.post();
        QCOMPARE(f.stored("Adressen.DB", 1, "Name1"), QVariant(QStringLiteral("Alpha GmbHX")));
    }

    // Tab moves on to the next control; the value is in the record before any post.
    void leavingTheControlWritesTheValue_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("date edit") << "edit"
                                   << "Datum1"
                                   << "5.3.2026" << QVariant(QDate(2026, 3, 5)) << "05.03.2026";
        QTest::newRow("memo") << "memo"
                              << "Notice"
                              << "Notiz" << QVariant(QStringLiteral("Notiz")) << "Notiz";
        QTest::newRow("combo box") << "combo"
                                   << "Anrede"
                                   << "Herr" << QVariant(QStringLiteral("Herr")) << "Herr";
    }
    void leavingTheControlWritesTheValue() {
        QFETCH(QString, kind);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        Fixture f;
        QWidget* control = nullptr;
        std::function<QString()> text;
        if (kind == u"edit") {
            auto* edit = f.add(new DBEdit(&f.adrSource, field));
            text = [edit] {
                return edit->text();
            };
            control = edit;
        } else if (kind == u"memo") {
            auto* memo = f.add(new DBMemo(&f.adrSource, field));
            text = [memo] {
                return memo->toPlainText();
            };
            control = memo;
        } else {
            auto* box = f.add(new DBComboBox(&f.adrSource, field));
            text = [box] {
                return box->currentText();
            };
            control = box;
        }
        DBEdit* other = f.edit(f.adrSource, "Name2");
        QVERIFY(f.showActive());
        control->setFocus();
        QTRY_VERIFY(control->hasFocus());
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(f.adr.state(), DataSetState::Edit);
        QCOMPARE(f.adr.field(field).value(), value);
        QCOMPARE(text(), shown);
        QVERIFY(f.interaction.shown().isEmpty());
    }

    void valuesAreShownInTheirTextForm() {
        Fixture f;
        f.adr.last();
        QCOMPARE(f.edit(f.adrSource, "Datum1")->text(), QStringLiteral("05.03.2024"));
        QCOMPARE(f.edit(f.adrSource, "Datum2")->text(), QString());
    }

    void typingIsLimitedToTheFieldWidth() {
        Fixture f;
        DBEdit* ext = f.edit(f.dokSource, "Ext");
        QTest::keyClicks(ext, QStringLiteral("abcdef"));
        QCOMPARE(ext->text(), QStringLiteral("abc"));
        DBMemo* title = f.add(new DBMemo(&f.dokSource, QStringLiteral("Titel")));
        title->selectAll();
        QTest::keyClicks(title, QString(60, u'x'));
        QCOMPARE(title->toPlainText(), QString(50, u'x'));
        DBComboBox* kind = f.add(new DBComboBox(&f.dokSource, QStringLiteral("Art")));
        QCOMPARE(kind->lineEdit()->maxLength(), 50);
        f.dok.post();
        QCOMPARE(f.stored("Dok.DB", 1, "Ext"), QVariant(QStringLiteral("abc")));
        QCOMPARE(f.stored("Dok.DB", 1, "Titel"), QVariant(QString(50, u'x')));
    }

    // A text that is no value of its field refuses the post with a message naming the field; the
    // record stays in edit state, the text and the focus stay in the control, the file is unchanged.
    void unreadableValueRefusesThePost_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("corrected");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("date") << "Datum1"
                              << "Geburtstag"
                              << "31.02.2026"
                              << "\"31.02.2026\" ist kein gültiges Datum für das Feld \"Geburtstag\". "
                                 "Bitte das Datum als TT.MM.JJJJ eingeben."
                              << "28.02.2026" << QVariant(QDate(2026, 2, 28));
        QTest::newRow("number") << "Zahl1"
                                << "Umsatz"
                                << "zwei"
                                << "\"zwei\" ist keine gültige Zahl für das Feld \"Umsatz\"."
                                << "12,5" << QVariant(12.5);
        QTest::newRow("integer without caption") << "Baum"
                                                 << ""
                                                 << "eins"
                                                 << "\"eins\" ist keine gültige ganze Zahl für das Feld \"Baum\"."
                                                 << "1" << QVariant(qint64(1));
    }
    void unreadableValueRefusesThePost() {
        QFETCH(QString, field);
        QFETCH(QString, caption);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, corrected);
        QFETCH(QVariant, stored);
        Fixture f;
        auto* edit = f.add(new DBEdit(&f.adrSource, field));
        edit->dataLink().setCaption(caption);
        f.edit(f.adrSource, "Name3");
        QVERIFY(f.showActive());
        const QVariant before = f.stored("Adressen.DB", 1, field.toLatin1().constData());
        retype(edit, typed);
        try {
            f.adr.post();
            QFAIL("the post went through");
        } catch (const EngineError& error) {
            QCOMPARE(error.message(), message);
        }
        QCOMPARE(f.adr.state(), DataSetState::Edit);
        QCOMPARE(edit->text(), typed);
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(f.stored("Adressen.DB", 1, field.toLatin1().constData()), before);

        retype(edit, corrected);
        f.adr.post();
        QCOMPARE(f.adr.state(), DataSetState::Browse);
        QCOMPARE(f.stored("Adressen.DB", 1, field.toLatin1().constData()), stored);
    }

    void leavingWithAnUnreadableDateTellsAndKeepsTheFocus() {
        Fixture f;
        DBEdit* date = f.edit(f.adrSource, "Datum1");
        date->dataLink().setCaption(QStringLiteral("Geburtstag"));
        DBEdit* other = f.edit(f.adrSource, "Name2");
        QVERIFY(f.showActive());
        date->setFocus();
        QTRY_VERIFY(date->hasFocus());
        QTest::keyClicks(date, QStringLiteral("1.13.2026"));
        QTest::keyClick(date, Qt::Key_Tab);
        QCOMPARE(f.interaction.texts(),
                 QStringList{QStringLiteral("\"1.13.2026\" ist kein gültiges Datum für das Feld \"Geburtstag\". "
                                            "Bitte das Datum als TT.MM.JJJJ eingeben.")});
        QVERIFY(date->hasFocus());
        QVERIFY(!other->hasFocus());
        QCOMPARE(date->text(), QStringLiteral("1.13.2026"));
        QCOMPARE(f.adr.state(), DataSetState::Edit);
        QVERIFY(f.adr.field(u"Datum1").isNull());
    }

    // Another connection holds the file's write lock: the post fails and nothing typed is lost.
    void refusedPostKeepsTheTypedText() {
        Fixture f;
        DBEdit* title = f.edit(f.dokSource, "Titel");
        retype(title, QStringLiteral("Angebot 2"));
        WriteLock lock(f.dok.filePath());
        QVERIFY(lock.locked());
        QVERIFY_THROWS_EXCEPTION(EngineError, f.dok.post());
        QCOMPARE(f.dok.state(), DataSetState::Edit);
        QCOMPARE(title->text(), QStringLiteral("Angebot 2"));
        lock.release();
        f.dok.post();
        QCOMPARE(f.stored("Dok.DB", 1, "Titel"), QVariant(QStringLiteral("Angebot 2")));
    }

    void typingWithoutARecordIsRefusedAndUndone() {
        Fixture f;
        DBEdit* topic = f.edit(f.themaSource, "Thema");
        QTest::keyClicks(topic, QStringLiteral("x"));
        QCOMPARE(f.interaction.shown().size(), 1);
        QCOMPARE(f.interaction.shown().first().kind, test::ScriptedInteraction::Kind::Error);
        QCOMPARE(topic->text(), QString());
        QCOMPARE(f.thema.state(), DataSetState::Browse);
    }

    void controlsFollowAnExchangedDataSet() {
        Fixture f;
        DBEdit* name = f.edit(f.adrSource, "Name1");
        Table second;
        test::openTable(second, f.tmp.path(), QStringLiteral("Adressen.DB"));
        second.last();
        f.adrSource.setDataSet(&second);
        QCOMPARE(name->text(), QStringLiteral("Schulz"));
        retype(name, QStringLiteral("Schulze"));
        QCOMPARE(second.state(), DataSetState::Edit);
        QCOMPARE(f.adr.state(), DataSetState::Browse);
        second.post();
        QCOMPARE(f.stored("Adressen.DB", 3, "Name1"), QVariant(QStringLiteral("Schulze")));
        QCOMPARE(f.stored("Adressen.DB", 1, "Name1"), QVariant(QStringLiteral("Alpha GmbH")));
        f.adrSource.setDataSet(nullptr);
        QCOMPARE(name->text(), QString());
        QVERIFY(name->isReadOnly());
    }

    void memoCancelShowsTheStoredText() {
        Fixture f;
        f.adr.edit();
        f.adr.field(u"Notice").setValue(QStringLiteral("gespeichert"));
        f.adr.post();
        DBMemo* notice = f.add(new DBMemo(&f.adrSource, QStringLiteral("Notice")));
        QCOMPARE(notice->toPlainText(), QStringLiteral("gespeichert"));
        QTest::keyClicks(notice, QStringLiteral("verworfen"));
        QCOMPARE(f.adr.state(), DataSetState::Edit);
        f.adr.cancel();
        QCOMPARE(notice->toPlainText(), QStringLiteral("gespeichert"));
    }

    void comboStoresAPickAtOnceAndTypedTextOnPost() {
        Fixture f;
        DBComboBox* kind = f.add(new DBComboBox(&f.dokSource, QStringLiteral("Art")));
        kind->setPickList({QStringLiteral("Brief"), QStringLiteral("Rechnung"), QStringLiteral("Vertrag")});
        QCOMPARE(kind->currentText(), QStringLiteral("Brief"));
        QCOMPARE(f.dok.state(), DataSetState::Browse);

        QTest::keyClick(kind, Qt::Key_Down);
        QCOMPARE(kind->currentText(), QStringLiteral("Rechnung"));
        QCOMPARE(f.dok.state(), DataSetState::Edit);
        QCOMPARE(f.dok.field(u"Art").asString(), QStringLiteral("Rechnung"));

        kind->lineEdit()->selectAll();
        QTest::keyClicks(kind->lineEdit(), QStringLiteral("Mahnung"));
        QTest::keyClick(kind->lineEdit(), Qt::Key_Return);
        QCOMPARE(kind->count(), 3);
        kind->setPickList({QStringLiteral("Brief")});
        QCOMPARE(kind->currentText(), QStringLiteral("Mahnung"));
        f.dok.post();
        QCOMPARE(f.stored("Dok.DB", 1, "Art"), QVariant(QStringLiteral("Mahnung")));
        f.dok.next();
        QCOMPARE(kind->currentText(), QString());
    }

    void lookupShowsTheListFieldsAndStoresTheKey() {
        Fixture f;
        Table look;
        look.setIndexName(QStringLiteral("iName1"));
        test::openTable(look, f.tmp.path(), QStringLiteral("Adressen.DB"));
        DataSource lookSource(&look);
        auto* box = f.add(new DBLookupComboBox);
        box->setListSource(&lookSource);
        box->setKeyField(QStringLiteral("Nr"));
        box->setListField(QStringLiteral("Name1;Name2"));
        box->setDataSource(&f.dokSource);
        box->setDataField(QStringLiteral("NrFirma"));
        QCOMPARE(itemTexts(*box), (QStringList{"Alpha GmbH", "Bauer Max", "Schulz Eva"}));
        QCOMPARE(box->currentText(), QStringLiteral("Bauer Max"));
        QCOMPARE(box->keyValue(), QVariant(qint64(2)));

        f.dok.next(); // NrFirma -1: no address
        QCOMPARE(box->currentIndex(), -1);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), QStringLiteral("Alpha GmbH"));
        QCOMPARE(f.dok.state(), DataSetState::Edit);
        QCOMPARE(f.dok.field(u"NrFirma").asInteger(), 1);
        f.dok.post();
        QCOMPARE(f.stored("Dok.DB", 2, "NrFirma"), QVariant(qint64(1)));
    }

    // The list's table object is not refreshed by anyone: the control reads it again itself.
    void lookupShowsARecordPostedThroughAnotherTableObject() {
        Fixture f;
        Table look;
        test::openTable(look, f.tmp.path(), QStringLiteral("Adressen.DB"));
        DataSource lookSource(&look);
        auto* box = f.add(new DBLookupComboBox);
        box->setListSource(&lookSource);
        box->setKeyField(QStringLiteral("Nr"));
        box->setListField(QStringLiteral("Name1;Name2"));
        box->setDataSource(&f.dokSource);
        box->setDataField(QStringLiteral("NrFirma"));
        QCOMPARE(box->count(), 3);

        Table writer;
        test::openTable(writer, f.tmp.path(), QStringLiteral("Adressen.DB"));
        const qint64 added = appendRecord(writer, {{"Name1", "Neu"}, {"Name2", "Nina"}});
        f.dok.edit();
        f.dok.field(u"NrFirma").setValue(added);
        f.dok.post();
        QCOMPARE(box->currentText(), QStringLiteral("Neu Nina"));
        QCOMPARE(box->keyValue(), QVariant(added));

        appendRecord(writer, {{"Name1", "Omega"}});
        box->showPopup();
        QCOMPARE(itemTexts(*box), (QStringList{"Alpha GmbH", "Bauer Max", "Schulz Eva", "Neu Nina", "Omega"}));
        QCOMPARE(box->currentText(), QStringLiteral("Neu Nina"));
        box->hidePopup();
    }

    void lookupWhoseListCannotBeReadAgainShowsNoEntry() {
        Fixture f;
        QTemporaryDir other;
        test::createClientTables(other.path());
        Table look;
        test::openTable(look, other.path(), QStringLiteral("Adressen.DB"));
        appendRecord(look, {{"Name1", "Alpha GmbH"}});
        DataSource lookSource(&look);
        auto* box = f.add(new DBLookupComboBox);
        box->setListSource(&lookSource);
        box->setKeyField(QStringLiteral("Nr"));
        box->setListField(QStringLiteral("Name1"));
        box->setDataSource(&f.dokSource);
        box->setDataField(QStringLiteral("NrFirma"));
        QCOMPARE(box->currentIndex(), -1); // key 2 is not in that list

        QFile file(look.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(file.write(QByteArray(4096, 'x')) == 4096);
        file.close();
        f.dok.edit();
        f.dok.field(u"NrFirma").setValue(7);
        f.dok.post();
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(f.stored("Dok.DB", 1, "NrFirma"), QVariant(qint64(7)));
    }

    // A list that cannot be read is told once, however often the control looks at it, and never
    // escapes to the caller of the record's notices.
    void lookupListThatCannotBeReadIsToldOnce() {
        Fixture f;
        QTemporaryDir other;
        test::createClientTables(other.path());
        Table look;
        test::openTable(look, other.path(), QStringLiteral("Adressen.DB"));
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            appendRecord(look, {{"Name1", name}});
        DataSource lookSource(&look);
        auto* box = f.add(new DBLookupComboBox);
        box->setListSource(&lookSource);
        box->setKeyField(QStringLiteral("Nr"));
        box->setListField(QStringLiteral("Name1"));
        box->setDataSource(&f.dokSource);
        box->setDataField(QStringLiteral("NrFirma"));
        QCOMPARE(box->currentText(), QStringLiteral("Beta"));

        QFile file(look.filePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(file.write(QByteArray(4096, 'x')) == 4096);
        file.close();
        for (const int key : {7, 8}) {
            f.dok.edit();
            f.dok.field(u"NrFirma").setValue(key);
            f.dok.post();
        }
        box->showPopup();
        box->hidePopup();

        QCOMPARE(f.interaction.shown().size(), 1);
        QCOMPARE(f.interaction.shown().first().kind, test::ScriptedInteraction::Kind::Error);
        QVERIFY(!f.interaction.shown().first().text.isEmpty());
        QCOMPARE(itemTexts(*box), (QStringList{"Alpha", "Beta", "Gamma"})); // as read last
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(f.stored("Dok.DB", 1, "NrFirma"), QVariant(qint64(8)));
    }

    void checkBoxStoresItsValues_data() {
        QTest::addColumn<bool>("onAddresses");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("checkedValue");
        QTest::addColumn<QVariant>("uncheckedValue");
        QTest::addColumn<bool>("shownChecked");
        QTest::addColumn<QVariant>("afterFirstClick");
        QTest::addColumn<QVariant>("afterSecondClick");
        QTest::newRow("Person true/false")
            << true << "Person" << QVariant(true) << QVariant(false) << true << QVariant(false) << QVariant(true);
        QTest::newRow("Baum 1/-1, stored 0")
            << true << "Baum" << QVariant(1) << QVariant(-1) << false << QVariant(qint64(1)) << QVariant(qint64(-1));
        QTest::newRow("Offen \"1\"/\"0\"")
            << false << "Offen" << QVariant(QStringLiteral("1")) << QVariant(QStringLiteral("0")) << true
            << QVariant(qint64(0)) << QVariant(qint64(1));
    }
    void checkBoxStoresItsValues() {
        QFETCH(bool, onAddresses);
        QFETCH(QString, field);
        QFETCH(QVariant, checkedValue);
        QFETCH(QVariant, uncheckedValue);
        QFETCH(bool, shownChecked);
        QFETCH(QVariant, afterFirstClick);
        QFETCH(QVariant, afterSecondClick);
        Fixture f;
        Table& table = onAddresses ? f.adr : f.dok;
        if (onAddresses)
            f.adr.next(); // Bauer Max
        auto* box = f.add(new DBCheckBox(QStringLiteral("Wert")));
        box->setValues(checkedValue, uncheckedValue);
        box->setDataField(field);
        box->setDataSource(onAddresses ? &f.adrSource : &f.dokSource);
        QCOMPARE(box->isChecked(), shownChecked);
        QVERIFY(f.showActive());

        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(table.state(), DataSetState::Edit);
        QCOMPARE(table.field(field).value(), afterFirstClick);
        table.post();
        const char* file = onAddresses ? "Adressen.DB" : "Dok.DB";
        const qint64 nr = table.field(u"Nr").asInteger();
        QCOMPARE(f.stored(file, nr, field.toLatin1().constData()), afterFirstClick);
        QTest::keyClick(box, Qt::Key_Space);
        table.post();
        QCOMPARE(f.stored(file, nr, field.toLatin1().constData()), afterSecondClick);
        QCOMPARE(box->isChecked(), shownChecked);
    }
};

QTEST_MAIN(BoundControlsTest)
#include "tst_bound_controls.moc"
