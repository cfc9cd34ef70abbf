#include "data/schema.h"
#include "data/sqlite_db.h"
#include "data/table.h"
#include "data/table_file.h"
#include "data/table_upgrade.h"
#include "durable_steps.h"
#include "test_install.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::test::appendRecord;
using zep::test::openTable;

namespace {

const QString kMarker = QString::fromUtf16(schema::kVersionMarker);

// Every entry of a directory with a hash of its content (empty for a sub-directory).
using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString& dir) {
    Snapshot result;
    for (const QFileInfo& entry : QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QByteArray hash;
        QFile file(entry.filePath());
        if (entry.isFile() && file.open(QIODevice::ReadOnly))
            hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        result.insert(entry.fileName(), hash);
    }
    return result;
}

QStringList fileNames(const QString& dir) {
    QStringList names = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

const TableLayout& schemaTable(const QString& name) {
    for (const auto* layouts : {&schema::clientTables(), &schema::generalTables()})
        for (const TableLayout* layout : *layouts)
            if (layout->name == name)
                return *layout;
    qFatal("unknown table");
}

// A layout as an older version stored it: without the marker and the dropped fields, with some fields
// of another kind or width and fields the current layout does not know.
TableLayout oldLayout(const TableLayout& current, const QStringList& dropped = {},
                      const std::vector<FieldDef>& changed = {}) {
    TableLayout layout = current;
    std::erase_if(layout.fields, [&](const FieldDef& field) {
        return field.name == kMarker || dropped.contains(field.name, Qt::CaseInsensitive);
    });
    std::erase_if(layout.indexes, [&](const IndexDef& index) { return layout.fieldIndex(index.fields.first()) < 0; });
    for (const FieldDef& field : changed) {
        const int at = layout.fieldIndex(field.name);
        if (at < 0)
            layout.fields.push_back(field);
        else
            layout.fields[size_t(at)] = field;
    }
    return layout;
}

QString createTable(const QString& dir, const QString& fileName, const TableLayout& layout) {
    const QString path = QDir(dir).filePath(fileName);
    QFile::remove(path);
    createTableFile(path, layout);
    return path;
}

// Every record by its record number (or rowid), each as field name -> value, read through the engine.
using Records = QMap<qint64, QVariantMap>;

Records readRecords(const QString& path) {
    const TableLayout layout = readTableLayout(path);
    QStringList columns{QStringLiteral("rowid")};
    for (const FieldDef& field : layout.fields)
        columns << quoteIdentifier(field.name);
    auto connection = Connection::forFile(path);
    Statement rows = connection->prepare(QStringLiteral("SELECT %1 FROM data").arg(columns.join(u',')));
    Records records;
    while (rows.step()) {
        QVariantMap record;
        for (size_t i = 0; i < layout.fields.size(); ++i)
            record.insert(layout.fields[i].name, readColumn(rows, int(i) + 1, layout.fields[i].kind));
        records.insert(rows.integer(0), record);
    }
    return records;
}

bool sameValue(const QVariant& actual, const QVariant& expected) {
    return actual.metaType() == expected.metaType() && actual == expected;
}

QString describe(const QVariant& value) {
    return QStringLiteral("%1 (%2)").arg(value.toString(), QString::fromLatin1(value.typeName()));
}

// Each record of before is in after under the same number, with every value it had.
void compareKept(const Records& after, const Records& before) {
    QCOMPARE(after.keys(), before.keys());
    for (auto record = before.begin(); record != before.end(); ++record) {
        for (auto value = record->begin(); value != record->end(); ++value) {
            const QVariant actual = after[record.key()].value(value.key());
            QVERIFY2(sameValue(actual, value.value()),
                     qPrintable(QStringLiteral("Nr %1, %2: %3 statt %4")
                                    .arg(record.key())
                                    .arg(value.key(), describe(actual), describe(value.value()))));
        }
    }
}

void checkCurrentLayout(const QString& path, const TableLayout& current) {
    const TableLayout stored = readTableLayout(path);
    for (const FieldDef& field : current.fields) {
        const int at = stored.fieldIndex(field.name);
        QVERIFY2(at >= 0, qPrintable(field.name));
        QCOMPARE(stored.fields[size_t(at)].name, field.name);
        QCOMPARE(int(stored.fields[size_t(at)].kind), int(field.kind));
    }
}

void deleteRecord(Table& table, qint64 nr) {
    QVERIFY(table.locate(u"Nr", nr));
    table.deleteRecord();
}

// All four client tables in an older layout, each with a few records.
void createOldClientTables(const QString& dir) {
    for (const TableLayout* layout : schema::clientTables()) {
        createTable(dir, layout->name, oldLayout(*layout));
        Table table;
        openTable(table, dir, layout->name);
        appendRecord(table, {});
        appendRecord(table, {});
    }
}

} // namespace

class UpgradeTest : public QObject {
    Q_OBJECT

private slots:
    void upgradesOldDocumentTable_data() {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("name as installed") << QStringLiteral("Dok.DB");
        QTest::newRow("name in other letter case") << QStringLiteral("dok.db");
    }

    void upgradesOldDocumentTable() {
        QFETCH(QString, fileName);
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        test::createClientTables(dir);
        QFile::remove(QDir(dir).filePath(QStringLiteral("Dok.DB")));
        const QString path = createTable(dir, fileName, oldLayout(schema::documents(), {QStringLiteral("Feld6")}));
        {
            Table dok;
            openTable(dok, dir, fileName);
            appendRecord(dok, {{"NrFirma", 1},
                               {"NrThema", 2},
                               {"Ext", "pdf"},
                               {"Titel", "Angebot"},
                               {"Datei", "angebot.pdf"},
                               {"EDatum", QDate(2024, 1, 5)},
                               {"ADatum", QDate(2024, 2, 29)},
                               {"Offen", 1},
                               {"Notice", QStringLiteral("Zeile 1\r\nZeile 2: äöüß")},
                               {"Feld5", "frei"}});
            appendRecord(dok, {{"Titel", QStringLiteral("gelöscht")}});
            appendRecord(dok, {{"NrFirma", -1},
                               {"NrThema", -1},
                               {"Ext", "---"},
                               {"Titel", "Notiz"},
                               {"WTyp", "T"},
                               {"WTag", 46363},
                               {"WDatum", QDate(1999, 12, 31)}});
            appendRecord(dok, {{"Titel", "Leer"}});
            appendRecord(dok, {{"Titel", "zuletzt angelegt"}});
            deleteRecord(dok, 2);
            deleteRecord(dok, 5);
        }
        const Records before = readRecords(path);
        QCOMPARE(before.keys(), (QList<qint64>{1, 3, 4}));
        const QStringList namesBefore = fileNames(dir);
        Snapshot others = snapshot(dir);
        others.remove(fileName);

        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 1);

        QCOMPARE(fileNames(dir), namesBefore);
        checkCurrentLayout(path, schema::documents());
        const Records after = readRecords(path);
        compareKept(after, before);
        for (const QVariantMap& record : after)
            QVERIFY(!record.value(QStringLiteral("Feld6")).isValid());
        Snapshot othersAfter = snapshot(dir);
        othersAfter.remove(fileName);
        QCOMPARE(othersAfter, others);

        Table dok;
        openTable(dok, dir, fileName);
        QCOMPARE(appendRecord(dok, {{"Titel", "neu"}}), qint64(6)); // 5 was given before and deleted
    }

    void keepsFieldsUnknownToTheLayout() {
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        const TableLayout old = oldLayout(schema::addresses(), {},
                                          {{QStringLiteral("Name1"), FieldKind::String, 200},
                                           {QStringLiteral("Kundennummer"), FieldKind::Integer, 0},
                                           {QStringLiteral("Bemerkung"), FieldKind::Memo, 0},
                                           {QStringLiteral("Geprueft"), FieldKind::Logical, 0}});
        const QString path = createTable(dir, QStringLiteral("Adressen.DB"), old);
        {
            Table adr;
            openTable(adr, dir, QStringLiteral("Adressen.DB"));
            appendRecord(adr, {{"Name1", QString(150, u'M') + QStringLiteral("üller")},
                               {"Person", true},
                               {"Datum1", QDate(2023, 7, 1)},
                               {"Zahl1", 2.5},
                               {"Kundennummer", 4711},
                               {"Bemerkung", "zwei\nZeilen"},
                               {"Geprueft", true}});
            appendRecord(adr, {{"Name1", "Zweite"}, {"Kundennummer", 0}, {"Geprueft", false}});
        }
        const Records before = readRecords(path);

        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 1);

        checkCurrentLayout(path, schema::addresses());
        const TableLayout stored = readTableLayout(path);
        for (const char* extra : {"Kundennummer", "Bemerkung", "Geprueft"}) {
            const int at = stored.fieldIndex(QString::fromLatin1(extra));
            QVERIFY2(at >= 0, extra);
            QCOMPARE(int(stored.fields[size_t(at)].kind),
                     int(old.fields[size_t(old.fieldIndex(QString::fromLatin1(extra)))].kind));
        }
        compareKept(readRecords(path), before);
    }

    void failedUpgradeLeavesEveryFileAsBefore_data() {
        QTest::addColumn<QString>("blocked");
        // A directory standing where the upgrade puts a file of its own.
        QTest::newRow("copy of the first table") << QStringLiteral("Adressen.DB.upgrade");
        QTest::newRow("copy of the last table") << QStringLiteral("Serie.db.upgrade");
        QTest::newRow("backup while replacing") << QStringLiteral("Dok.DB.upgrade-alt");
    }

    void failedUpgradeLeavesEveryFileAsBefore() {
        QFETCH(QString, blocked);
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        createOldClientTables(dir);
        QVERIFY(QDir(dir).mkdir(blocked));
        const Snapshot before = snapshot(dir);

        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 0);
        QCOMPARE(snapshot(dir), before);

        QVERIFY(QDir(dir).rmdir(blocked));
        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 1);
        for (const TableLayout* layout : schema::clientTables()) {
            const QString path = QDir(dir).filePath(layout->name);
            checkCurrentLayout(path, *layout);
            QCOMPARE(readRecords(path).size(), 2);
        }
        QCOMPARE(fileNames(dir).size(), int(schema::clientTables().size()));
    }

    void conversions_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("oldKind");
        QTest::addColumn<int>("oldSize");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<QVariant>("expected");
        const QString dok = QStringLiteral("Dok.DB"), adr = QStringLiteral("Adressen.DB");
        const auto text = int(FieldKind::String), integer = int(FieldKind::Integer), number = int(FieldKind::Number);
        const auto memo = int(FieldKind::Memo), date = int(FieldKind::Date), logical = int(FieldKind::Logical);

        QTest::newRow("text holding a number")
            << dok << "WTag" << text << 10 << QVariant(QStringLiteral("12")) << true << QVariant(qint64(12));
        QTest::newRow("text holding no number")
            << dok << "WTag" << text << 10 << QVariant(QStringLiteral("zwölf")) << false << QVariant();
        QTest::newRow("text holding a date") << dok << "EDatum" << text << 10 << QVariant(QStringLiteral("05.01.2020"))
                                             << true << QVariant(QDate(2020, 1, 5));
        QTest::newRow("text holding an impossible date")
            << dok << "EDatum" << text << 10 << QVariant(QStringLiteral("31.02.2020")) << false << QVariant();
        QTest::newRow("whole real number")
            << dok << "WTag" << number << 0 << QVariant(3.0) << true << QVariant(qint64(3));
        QTest::newRow("real number with fraction")
            << dok << "WTag" << number << 0 << QVariant(3.5) << false << QVariant();
        QTest::newRow("integer beyond a small integer")
            << dok << "Offen" << integer << 0 << QVariant(qint64(70000)) << false << QVariant();
        QTest::newRow("logical to small integer")
            << dok << "Offen" << logical << 0 << QVariant(true) << true << QVariant(qint64(1));
        QTest::newRow("memo that fits") << dok << "Titel" << memo << 0 << QVariant(QString(50, u'a')) << true
                                        << QVariant(QString(50, u'a'));
        QTest::newRow("memo longer than the field")
            << dok << "Titel" << memo << 0 << QVariant(QString(51, u'a')) << false << QVariant();
        QTest::newRow("date to text") << dok << "Feld1" << date << 0 << QVariant(QDate(2020, 1, 5)) << true
                                      << QVariant(QStringLiteral("05.01.2020"));
        QTest::newRow("number to text") << dok << "Feld1" << number << 0 << QVariant(2.5) << true
                                        << QVariant(QStringLiteral("2,5"));
        QTest::newRow("integer 1 to logical")
            << adr << "Person" << integer << 0 << QVariant(qint64(1)) << true << QVariant(true);
        QTest::newRow("integer 5 to logical")
            << adr << "Person" << integer << 0 << QVariant(qint64(5)) << false << QVariant();
        QTest::newRow("unreadable stored date")
            << dok << "EDatum" << date << 0 << QVariant(QStringLiteral("kein Datum")) << false << QVariant();
        QTest::newRow("text in an integer column")
            << dok << "WTag" << integer << 0 << QVariant(QStringLiteral("abc")) << false << QVariant();
    }

    void conversions() {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(int, oldKind);
        QFETCH(int, oldSize);
        QFETCH(QVariant, stored);
        QFETCH(bool, converts);
        QFETCH(QVariant, expected);
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        const QString path =
            createTable(dir, table, oldLayout(schemaTable(table), {}, {{field, FieldKind(oldKind), oldSize}}));
        {
            auto connection = Connection::forFile(path);
            Statement insert =
                connection->prepare(QStringLiteral("INSERT INTO data (%1) VALUES (?)").arg(quoteIdentifier(field)));
            insert.bind(1, stored);
            insert.run();
        }
        const Snapshot before = snapshot(dir);

        const int result = DO_UPDATE_DATA(dir, kMarker);

        if (!converts) {
            QCOMPARE(result, 0);
            QCOMPARE(snapshot(dir), before);
            return;
        }
        QCOMPARE(result, 1);
        const Records after = readRecords(path);
        QCOMPARE(after.size(), 1);
        const QVariant actual = after.first().value(field);
        QVERIFY2(sameValue(actual, expected), qPrintable(describe(actual)));
    }

    void upgradesGeneralTable() {
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        for (const TableLayout* layout : schema::generalTables())
            createTable(dir, layout->name, *layout);
        const QString path =
            createTable(dir, QStringLiteral("Programm.DB"),
                        oldLayout(schema::applications(), {}, {{QStringLiteral("IconNr"), FieldKind::String, 5}}));
        {
            Table pro;
            openTable(pro, dir, QStringLiteral("Programm.DB"));
            appendRecord(pro, {{"Ext", "pdf"}, {"Anw", "/usr/bin/evince"}, {"Titel", "Dokumente"}, {"IconNr", "0"}});
            appendRecord(pro, {{"Ext", "txt"}, {"Anw", "/usr/bin/gedit"}, {"Titel", "Text"}, {"IconNr", "2"}});
            appendRecord(pro, {{"Ext", "odt"}, {"Anw", "/usr/bin/lowriter"}, {"Titel", "Brief"}});
            appendRecord(pro, {{"Ext", "png"}, {"Anw", "/usr/bin/eog"}, {"Titel", "Bild"}, {"IconNr", "12"}});
            QVERIFY(pro.locate(u"Ext", QStringLiteral("txt")));
            pro.deleteRecord();
        }
        Records before = readRecords(path);
        Snapshot others = snapshot(dir);
        others.remove(QStringLiteral("Programm.DB"));

        QCOMPARE(DO_UPDATE_GENERAL(dir, kMarker), 1);

        checkCurrentLayout(path, schema::applications());
        const Records after = readRecords(path);
        QCOMPARE(after.keys(), before.keys());
        // The icon number's text becomes a number; a record without one keeps none.
        const QVariantMap icons = {{"pdf", qint64(0)}, {"odt", QVariant()}, {"png", qint64(12)}};
        for (auto record = before.begin(); record != before.end(); ++record) {
            (*record)[QStringLiteral("IconNr")] = icons.value(record->value(QStringLiteral("Ext")).toString());
            (*record)[kMarker] = QVariant();
        }
        compareKept(after, before);
        Snapshot othersAfter = snapshot(dir);
        othersAfter.remove(QStringLiteral("Programm.DB"));
        QCOMPARE(othersAfter, others); // the installation's other tables carry no marker and stay as they are
    }

    void recordNumberTakenFromRowid() {
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        const QString path =
            createTable(dir, QStringLiteral("Serie.db"), oldLayout(schema::serialLetters(), {QStringLiteral("NR")}));
        {
            Table serie;
            openTable(serie, dir, QStringLiteral("Serie.db"));
            for (int letter : {7, 8, 9})
                appendRecord(serie, {{"NRDoku", letter}});
            QVERIFY(serie.locate(u"NRDoku", 8));
            serie.deleteRecord();
        }
        const Records before = readRecords(path);

        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 1);

        const Records after = readRecords(path);
        QCOMPARE(after.keys(), before.keys());
        for (auto record = after.begin(); record != after.end(); ++record) {
            QCOMPARE(record->value(QStringLiteral("NR")).toLongLong(), record.key());
            QCOMPARE(record->value(QStringLiteral("NRDoku")), before[record.key()].value(QStringLiteral("NRDoku")));
        }
    }

    void openTableIsNotReplaced() {
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        createTable(dir, QStringLiteral("Dok.DB"), oldLayout(schema::documents()));
        {
            Table writer;
            openTable(writer, dir, QStringLiteral("Dok.DB"));
            appendRecord(writer, {{"Titel", "offen"}});
        }
        Table dok;
        openTable(dok, dir, QStringLiteral("Dok.DB"));
        const Snapshot before = snapshot(dir);

        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 0);
        QCOMPARE(snapshot(dir), before);
        dok.refresh();
        QCOMPARE(dok.field(u"Titel").asString(), QStringLiteral("offen"));

        dok.close();
        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 1);
    }

    // Each upgraded table takes its name durably: its folder is synced after the rename, before the
    // upgrade reports success, so a crash right after cannot bring the old layout back.
    void replacedTablesAreOnDisk() {
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        createOldClientTables(dir);
        test::DurableStepLog log;
        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 1);
        for (const TableLayout* layout : schema::clientTables()) {
            const QString path = QDir(dir).filePath(layout->name);
            const qsizetype renamed = log.indexOf(DurableStep::Renamed, path);
            QVERIFY2(renamed >= 0, qPrintable(layout->name));
            QVERIFY2(log.indexOf(DurableStep::FolderSynced, dir, renamed) > renamed, qPrintable(layout->name));
        }
        QCOMPARE(log.changesNotSynced(), QStringList());
    }

    void leftoversOfAnInterruptedUpgradeAreCleared() {
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        const QString path = createTable(dir, QStringLiteral("Dok.DB"), oldLayout(schema::documents()));
        {
            Table dok;
            openTable(dok, dir, QStringLiteral("Dok.DB"));
            appendRecord(dok, {{"Titel", "vorher"}});
        }
        for (const char* leftover : {"Dok.DB.upgrade", "Dok.DB.upgrade-journal", "Dok.DB.upgrade-alt"}) {
            QFile file(QDir(dir).filePath(QString::fromLatin1(leftover)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("halb geschrieben");
        }
        const Records before = readRecords(path);

        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 1);

        QCOMPARE(fileNames(dir), QStringList{QStringLiteral("Dok.DB")});
        checkCurrentLayout(path, schema::documents());
        QCOMPARE(readRecords(path).first().value(QStringLiteral("Titel")),
                 before.first().value(QStringLiteral("Titel")));
    }

    void currentTablesAreLeftAlone_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("size");
        QTest::newRow("as created") << QString() << QString() << 0 << 0;
        QTest::newRow("marker of another kind") << "Dok.DB" << kMarker << int(FieldKind::Memo) << 0;
        QTest::newRow("field unknown to the layout") << "Thema.DB"
                                                     << "Farbe" << int(FieldKind::Integer) << 0;
        QTest::newRow("wider text field") << "Adressen.DB"
                                          << "Name1" << int(FieldKind::String) << 200;
    }

    void currentTablesAreLeftAlone() {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(int, kind);
        QFETCH(int, size);
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        test::createClientTables(dir);
        if (!table.isEmpty()) {
            TableLayout layout = schemaTable(table);
            const int at = layout.fieldIndex(field);
            const FieldDef changed{field, FieldKind(kind), size};
            if (at < 0)
                layout.fields.push_back(changed);
            else
                layout.fields[size_t(at)] = changed;
            createTable(dir, table, layout);
        }
        for (const TableLayout* layout : schema::clientTables()) { // an empty copy could equal the original
            Table filled;
            openTable(filled, dir, layout->name);
            appendRecord(filled, {});
            appendRecord(filled, {});
        }
        const Snapshot before = snapshot(dir);

        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 1);
        QCOMPARE(snapshot(dir), before);
    }

    void unusableArguments_data() {
        QTest::addColumn<bool>("directoryExists");
        QTest::addColumn<QString>("marker");
        QTest::addColumn<int>("result");
        QTest::newRow("empty directory") << true << kMarker << 1;
        QTest::newRow("missing directory") << false << kMarker << 0;
        QTest::newRow("empty marker") << true << QString() << 0;
    }

    void unusableArguments() {
        QFETCH(bool, directoryExists);
        QFETCH(QString, marker);
        QFETCH(int, result);
        QTemporaryDir tmp;
        const QString dir = directoryExists ? tmp.path() : tmp.filePath(QStringLiteral("fehlt"));
        QCOMPARE(DO_UPDATE_DATA(dir, marker), result);
        QCOMPARE(DO_UPDATE_GENERAL(dir, marker), result);
        const QString cause =
            result == 1 ? QString() : QStringLiteral("Das Verzeichnis \"%1\" kann nicht aktualisiert werden.").arg(dir);
        QCOMPARE(lastUpgradeError(), cause);
    }

    // A folder sync that fails right after a table took its new name still puts the old table back.
    void syncFailureAfterTheRenameRestoresTheOldTable() {
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        createOldClientTables(dir);
        const Snapshot before = snapshot(dir);
        {
            test::SyncFailsAfterRename failure(QDir(dir).filePath(QStringLiteral("Dok.DB")));
            QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 0);
            QVERIFY(failure.struck());
        }
        QCOMPARE(snapshot(dir), before);
    }

    // The first cause of a failed upgrade is kept for the message the user sees.
    void failedUpgradeKeepsItsCause() {
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        createOldClientTables(dir);
        QVERIFY(QDir(dir).mkdir(QStringLiteral("Adressen.DB.upgrade")));
        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 0);
        const QString cause = lastUpgradeError();
        QVERIFY2(cause.contains(QStringLiteral("Adressen.DB")), qPrintable(cause));
        QVERIFY(QDir(dir).rmdir(QStringLiteral("Adressen.DB.upgrade")));
        QCOMPARE(DO_UPDATE_DATA(dir, kMarker), 1);
        QCOMPARE(lastUpgradeError(), QString());
    }
};

QTEST_GUILESS_MAIN(UpgradeTest)
#include "tst_upgrade.moc"
