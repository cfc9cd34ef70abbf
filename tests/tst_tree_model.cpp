#include "addresses/entry_delete.h"
#include "addresses/entry_editor.h"
#include "data/data_source.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/table.h"
#include "data/treefile.h"
#include "file_bytes.h"
#include "mainwin/tree_drop_rules.h"
#include "mainwin/tree_model.h"
#include "mainwin/tree_records.h"
#include "mainwin/tree_search.h"
#include "mainwin/tree_texts.h"
#include "test_install.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace zep;
using test::appendRecord;
using zep::test::readBytes;
using zep::test::writeBytes;

Q_DECLARE_METATYPE(TreeModel::Node*)

namespace {

// The address tree of the fixtures: siblings in file order, not sorted.
const QList<TreeFileRecord> addressRecords = {
    {QStringLiteral("Zeta AG"), 1, 2, 1},      {QStringLiteral("Übersee Büro"), 2, 6, -1},
    {QStringLiteral("Alpha GmbH"), 1, 1, 1},   {QStringLiteral("Bauer Anna"), 2, 4, -1},
    {QStringLiteral("Projekt Süd"), 3, 7, -1}, {QStringLiteral("Mayer Max"), 2, 5, -1},
    {QStringLiteral("beta KG"), 1, 3, 0},      {QStringLiteral("Ein Name"), 1, 8, -1},
};

// One line per node in pre-order: depth (top level 0), caption, number, type.
QStringList describe(const TreeModel& model) {
    QStringList lines;
    for (const TreeModel::Node* node = model.first(); node; node = TreeModel::next(node))
        lines << QStringLiteral("%1 %2 %3 %4")
                     .arg(node->level())
                     .arg(node->caption())
                     .arg(node->number())
                     .arg(node->type());
    return lines;
}

// Depth and caption only.
QStringList shape(const TreeModel& model) {
    QStringList lines;
    for (const TreeModel::Node* node = model.first(); node; node = TreeModel::next(node))
        lines << QStringLiteral("%1 %2").arg(node->level()).arg(node->caption());
    return lines;
}

QStringList childCaptions(const TreeModel::Node* node) {
    QStringList captions;
    for (int row = 0; row < node->childCount(); ++row)
        captions << node->child(row)->caption();
    return captions;
}

TreeModel::Node* find(const TreeModel& model, const QString& caption) {
    for (TreeModel::Node* node = model.first(); node; node = TreeModel::next(node)) {
        if (node->caption() == caption)
            return node;
    }
    return nullptr;
}

// Every node's row() is its index among its parent's children, and the pre-order walk meets every
// node once.
bool rowsAgree(const TreeModel& model) {
    int walked = 0;
    for (const TreeModel::Node* node = model.first(); node; node = TreeModel::next(node), ++walked) {
        for (int row = 0; row < node->childCount(); ++row) {
            if (node->child(row)->row() != row)
                return false;
        }
    }
    for (int row = 0; row < model.topLevelCount(); ++row) {
        if (model.topLevel(row)->row() != row)
            return false;
    }
    return walked == model.nodeCount();
}

QByteArray fileBytes(const QList<TreeFileRecord>& records) {
    QByteArray bytes;
    for (const TreeFileRecord& record : records)
        bytes += encodeTreeRecord(record);
    return bytes;
}

QVariantList recordValues(Table& table) {
    QVariantList values;
    for (int i = 0; i < table.fieldCount(); ++i)
        values << table.value(i);
    return values;
}

QVariant fieldOf(const QString& dir, const QString& table, qint64 nr, const QString& field) {
    Table t;
    test::openTable(t, dir, table);
    return t.findKey({nr}) ? t.field(field).value() : QVariant(QStringLiteral("<fehlt>"));
}

int recordCount(const QString& dir, const QString& table) {
    Table t;
    test::openTable(t, dir, table);
    return t.recordCount();
}

// A client's tables whose addresses match addressRecords, and its tree file.
struct Client {
    QTemporaryDir tmp;
    QString dir = tmp.filePath(QStringLiteral("Daten"));
    QString treeFile = dir + QStringLiteral("/Adressen.dat");
    Table adr;
    Table dok;
    DataSource dAdr{&adr};
    TreeModel model;

    Client() {
        test::createClientTables(dir);
        test::openTable(adr, dir, QStringLiteral("Adressen.DB"));
        const auto address = [&](int vor, int baum, const QString& name1, const QString& name2 = {}) {
            appendRecord(adr, {{QStringLiteral("Vor"), vor},
                               {QStringLiteral("Baum"), baum},
                               {QStringLiteral("Person"), !name2.isEmpty()},
                               {QStringLiteral("Name1"), name1},
                               {QStringLiteral("Name2"), name2}});
        };
        address(0, 1, QStringLiteral("Alpha GmbH"));                     // 1
        address(0, 1, QStringLiteral("Zeta AG"));                        // 2
        address(0, 0, QStringLiteral("beta KG"));                        // 3
        address(1, -1, QStringLiteral("Bauer"), QStringLiteral("Anna")); // 4
        address(1, -1, QStringLiteral("Mayer Max"));                     // 5
        address(2, -1, QStringLiteral("Übersee Büro"));                  // 6
        address(4, -1, QStringLiteral("Projekt Süd"));                   // 7
        address(0, -1, QStringLiteral("Ein Name"));                      // 8
        test::openTable(dok, dir, QStringLiteral("Dok.DB"));
        writeTreeFile(treeFile, addressRecords);
        model.load(treeFile, QStringLiteral("Adressen"));
    }

    EntryDeletion deletion() {
        return {adr, dAdr, dok, QStringLiteral("iFirma"), QStringLiteral("NrFirma"), dir + u'/'};
    }
    EntryEditor editor() {
        return EntryEditor(adr, model, addressEntryCaption, treeFile, {{QStringLiteral("Person"), false}});
    }
    // Makes the tree file unwritable: a directory stands where it is replaced.
    bool blockTreeFile() { return QFile::remove(treeFile) && QDir().mkpath(treeFile); }
};

// Holds the write lock of a table file through a connection of its own, as another program would.
class ForeignWriteLock {
public:
    explicit ForeignWriteLock(const QString& path) {
        sqlite3_open(path.toUtf8().constData(), &db_);
        locked = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~ForeignWriteLock() {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
    ForeignWriteLock(const ForeignWriteLock&) = delete;
    ForeignWriteLock& operator=(const ForeignWriteLock&) = delete;
    bool locked = false;

private:
    sqlite3* db_ = nullptr;
};

} // namespace

class TreeModelTest : public QObject {
    Q_OBJECT

private slots:
    void structureFromLevels_data() {
        QTest::addColumn<QList<int>>("levels");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QStringList>("shape");
        const QString root = QStringLiteral("Wurzel");
        QTest::newRow("no records") << QList<int>{} << root << QStringList{"0 Wurzel"};
        QTest::newRow("same level: sibling") << QList<int>{1, 1} << root << QStringList{"0 Wurzel", "1 r1", "1 r2"};
        QTest::newRow("one deeper: child") << QList<int>{1, 2} << root << QStringList{"0 Wurzel", "1 r1", "2 r2"};
        QTest::newRow("shallower: after the ancestor")
            << QList<int>{1, 2, 3, 2, 1} << root << QStringList{"0 Wurzel", "1 r1", "2 r2", "3 r3", "2 r4", "1 r5"};
        QTest::newRow("two deeper: sibling")
            << QList<int>{1, 2, 4} << root << QStringList{"0 Wurzel", "1 r1", "2 r2", "2 r3"};
        QTest::newRow("level 0 beside the root") << QList<int>{1, 0} << root << QStringList{"0 Wurzel", "1 r1", "0 r2"};
        QTest::newRow("without root, no previous: top level") << QList<int>{2} << QString() << QStringList{"0 r1"};
        QTest::newRow("without root, level 1 is top level")
            << QList<int>{1, 2, 1} << QString() << QStringList{"0 r1", "1 r2", "0 r3"};
        QTest::newRow("without root, too deep")
            << QList<int>{1, 3, 2} << QString() << QStringList{"0 r1", "0 r2", "1 r3"};
        QTest::newRow("without root, past the top")
            << QList<int>{1, 2, 0} << QString() << QStringList{"0 r1", "1 r2", "0 r3"};
    }

    void structureFromLevels() {
        QFETCH(QList<int>, levels);
        QFETCH(QString, root);
        QFETCH(QStringList, shape);
        QList<TreeFileRecord> records;
        for (int i = 0; i < levels.size(); ++i)
            records.append({QStringLiteral("r%1").arg(i + 1), levels[i], i + 1, -1});
        TreeModel model;
        model.setRecords(records, root);
        QCOMPARE(::shape(model), shape);
        QCOMPARE(model.nodeCount(), int(shape.size()));
        QCOMPARE(model.hasRoot(), !root.isEmpty());
    }

    void savedAsLoaded() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Adressen.dat"));
        QVERIFY(writeBytes(path, fileBytes(addressRecords)));
        TreeModel model;
        QCOMPARE(model.load(path, QStringLiteral("Adressen")), QString());
        QCOMPARE(describe(model).first(), QStringLiteral("0 Adressen 0 2"));
        QCOMPARE(model.records(), addressRecords);
        const QString saved = dir.filePath(QStringLiteral("Kopie.dat"));
        model.save(saved);
        QCOMPARE(readBytes(saved), fileBytes(addressRecords));
    }

    void treeWithoutRootIsNeverWritten_data() {
        QTest::addColumn<bool>("empty");
        QTest::newRow("no nodes") << true;
        QTest::newRow("loaded without root") << false;
    }

    void treeWithoutRootIsNeverWritten() {
        QFETCH(bool, empty);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Adressen.dat"));
        QVERIFY(writeBytes(path, fileBytes(addressRecords)));
        TreeModel model;
        if (!empty)
            model.setRecords(addressRecords, QString());
        try {
            model.save(path);
            QFAIL("a tree without root was written");
        } catch (const FileError& error) {
            QCOMPARE(error.message(), QStringLiteral("Die Baumdatei \"%1\" wurde nicht geschrieben: dem Baum fehlt "
                                                     "sein Stammeintrag.")
                                          .arg(path));
        }
        QCOMPARE(readBytes(path), fileBytes(addressRecords));
    }

    void damagedFileLoadsItsWholeRecords_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<TreeFileRecord>>("records");
        QTest::addColumn<QString>("damage"); // %1 stands for the path
        QByteArray badLength = fileBytes(addressRecords);
        badLength[64] = char(51); // the second record, "Übersee Büro"
        QTest::newRow("whole") << fileBytes(addressRecords) << addressRecords << QString();
        QTest::newRow("three stray bytes")
            << fileBytes(addressRecords) + "xyz" << addressRecords
            << QStringLiteral("Die Baumdatei \"%1\" ist beschädigt: ihre Größe von 515 Bytes ist kein Vielfaches "
                              "von 64; die letzten 3 Bytes wurden nicht gelesen.");
        QTest::newRow("length byte over 50")
            << badLength << addressRecords
            << QStringLiteral("Die Baumdatei \"%1\" ist beschädigt: Eintrag 2: Die Namenslänge 51 ist größer als 50; "
                              "der Name wurde gekürzt.");
        QTest::newRow("both") << badLength + "\1" << addressRecords
                              << QStringLiteral(
                                     "Die Baumdatei \"%1\" ist beschädigt: Eintrag 2: Die Namenslänge 51 "
                                     "ist größer als 50; der Name wurde gekürzt. ihre Größe von 513 Bytes "
                                     "ist kein Vielfaches von 64; die letzten 1 Bytes wurden nicht gelesen.");
        QTest::newRow("shorter than a record")
            << QByteArray(10, 'x') << QList<TreeFileRecord>{}
            << QStringLiteral("Die Baumdatei \"%1\" ist beschädigt: ihre Größe von 10 Bytes ist kein Vielfaches von "
                              "64; die letzten 10 Bytes wurden nicht gelesen.");
    }

    void damagedFileLoadsItsWholeRecords() {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<TreeFileRecord>, records);
        QFETCH(QString, damage);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Adressen.dat"));
        QVERIFY(writeBytes(path, bytes));
        TreeModel model;
        QCOMPARE(model.load(path, QStringLiteral("Adressen")), damage.isEmpty() ? QString() : damage.arg(path));
        QVERIFY(model.hasRoot());
        QCOMPARE(model.records(), records);
        QCOMPARE(readBytes(path), bytes); // loading never repairs the file behind the user's back
        if (!damage.isEmpty())
            QVERIFY_THROWS_EXCEPTION(FormatError, readTreeFile(path));
    }

    void damageMessageAdvisesTheRebuild() {
        QCOMPARE(damagedTreeFileMessage(QStringLiteral("Die Baumdatei \"x\" ist beschädigt: y")),
                 QStringLiteral("Die Baumdatei \"x\" ist beschädigt: y\rEs ist ein Fehler aufgetreten.\rSie sollten "
                                "die Baumstruktur neu einlesen\r(Menü Tools, Baumstruktur)"));
    }

    void unreadableFileKeepsTheModel() {
        QTemporaryDir dir;
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QSignalSpy resets(&model, &TreeModel::aboutToReset);
        QVERIFY_THROWS_EXCEPTION(FileError, model.load(dir.filePath(QStringLiteral("fehlt.dat")), QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(FileError, model.load(dir.path(), QStringLiteral("x")));
        QCOMPARE(model.records(), addressRecords);
        QCOMPARE(resets.count(), 0);
    }

    void walk() {
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QCOMPARE(model.nodeCount(), 9);
        QCOMPARE(shape(model), (QStringList{"0 Adressen", "1 Zeta AG", "2 Übersee Büro", "1 Alpha GmbH", "2 Bauer Anna",
                                            "3 Projekt Süd", "2 Mayer Max", "1 beta KG", "1 Ein Name"}));
        TreeModel::Node* alpha = find(model, QStringLiteral("Alpha GmbH"));
        QCOMPARE(TreeModel::nextAfterSubtree(alpha)->caption(), QStringLiteral("beta KG"));
        QCOMPARE(TreeModel::nextAfterSubtree(find(model, QStringLiteral("Ein Name"))), nullptr);
        QCOMPARE(model.findNumber(7)->caption(), QStringLiteral("Projekt Süd"));
        QCOMPARE(model.findNumber(99), nullptr);
        QCOMPARE(model.descendantNumbers(alpha), (QList<qint32>{4, 7, 5}));
        QCOMPARE(model.descendantNumbers(model.first()), (QList<qint32>{2, 6, 1, 4, 7, 5, 3, 8}));
        QCOMPARE(model.descendantNumbers(find(model, QStringLiteral("Mayer Max"))), QList<qint32>{});
        QStringList leavesFirst;
        for (const TreeModel::Node* node : model.subtreeLeavesFirst(alpha))
            leavesFirst << node->caption();
        QCOMPARE(leavesFirst, (QStringList{"Mayer Max", "Projekt Süd", "Bauer Anna", "Alpha GmbH"}));
        QVERIFY(find(model, QStringLiteral("Projekt Süd"))->isBelow(alpha));
        QVERIFY(!alpha->isBelow(alpha));
        QCOMPARE(alpha->row(), 1);
        QCOMPARE(alpha->parent(), model.first());
        QCOMPARE(model.first()->parent(), nullptr);
    }

    void subtreeEntryLines_data() {
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
        QTest::newRow("root first, Baum 0 is no main entry")
            << "Adressen" << true << false
            << QStringList{QStringLiteral("Adressen") + p + u'0',   QStringLiteral("Übersee Büro") + p + u'6',
                           QStringLiteral("Bauer Anna") + p + u'4', QStringLiteral("Projekt Süd") + p + u'7',
                           QStringLiteral("Mayer Max") + p + u'5',  QStringLiteral("beta KG") + p + u'3',
                           QStringLiteral("Ein Name") + p + u'8'};
    }

    void subtreeEntryLines() {
        QFETCH(QString, selected);
        QFETCH(bool, withDescendants);
        QFETCH(bool, withMainEntries);
        QFETCH(QStringList, lines);
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QCOMPARE(model.subtreeEntryLines(find(model, selected), withDescendants, withMainEntries), lines);
    }

    void addedChildSortsAllItsSiblings() {
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QSignalSpy added(&model, &TreeModel::added);
        QSignalSpy sorted(&model, &TreeModel::childrenSorted);
        TreeModel::Node* node = model.addChild(model.first(), QStringLiteral("Meier"), 9, TreeModel::OtherEntry);
        QCOMPARE(childCaptions(model.first()), (QStringList{"Alpha GmbH", "beta KG", "Ein Name", "Meier", "Zeta AG"}));
        QCOMPARE(node->parent(), model.first());
        QCOMPARE(node->number(), 9);
        QCOMPARE(model.nodeCount(), 10);
        QCOMPARE(added.count(), 1);
        QCOMPARE(sorted.count(), 1);
        // Among siblings already in order nothing is reordered.
        model.addChild(find(model, QStringLiteral("Bauer Anna")), QStringLiteral("Zentrale"), 10, 1);
        QCOMPARE(sorted.count(), 1);
    }

    void renamedEntryKeepsItsPlace() {
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QSignalSpy changed(&model, &TreeModel::changed);
        TreeModel::Node* alpha = find(model, QStringLiteral("Alpha GmbH"));
        model.setEntry(alpha, QStringLiteral("Aaa"), TreeModel::OtherEntry);
        QCOMPARE(childCaptions(model.first()), (QStringList{"Zeta AG", "Aaa", "beta KG", "Ein Name"}));
        QCOMPARE(alpha->type(), -1);
        QCOMPARE(alpha->number(), 1);
        QCOMPARE(changed.count(), 1);
    }

    void moveAndCopyRules_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("move");
        QTest::addColumn<bool>("copy");
        QTest::newRow("onto another entry") << "Bauer Anna"
                                            << "Zeta AG" << true << true;
        QTest::newRow("onto the root") << "Bauer Anna"
                                       << "Adressen" << true << true;
        QTest::newRow("onto itself") << "Bauer Anna"
                                     << "Bauer Anna" << false << false;
        QTest::newRow("onto its child") << "Alpha GmbH"
                                        << "Bauer Anna" << false << true;
        QTest::newRow("onto a deeper descendant") << "Alpha GmbH"
                                                  << "Projekt Süd" << false << true;
        QTest::newRow("onto its parent") << "Bauer Anna"
                                         << "Alpha GmbH" << true << true;
        QTest::newRow("the root") << "Adressen"
                                  << "Alpha GmbH" << false << false;
        QTest::newRow("onto nothing") << "Bauer Anna"
                                      << "fehlt" << false << false;
    }

    void moveAndCopyRules() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(bool, move);
        QFETCH(bool, copy);
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QCOMPARE(TreeModel::canMove(find(model, dragged), find(model, target)), move);
        QCOMPARE(model.canCopy(find(model, dragged), find(model, target)), copy);
    }

    // The target's whole list of children is sorted, not only its first; the moved subtree follows.
    void moveSortsTheTargetsChildrenAndGoesBackExactly() {
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QSignalSpy moved(&model, &TreeModel::moved);
        TreeModel::Node* root = model.first();
        TreeModel::Node* bauer = find(model, QStringLiteral("Bauer Anna"));
        const TreeModel::Place place = model.move(bauer, root);
        QCOMPARE(childCaptions(root), (QStringList{"Alpha GmbH", "Bauer Anna", "beta KG", "Ein Name", "Zeta AG"}));
        QCOMPARE(childCaptions(bauer), QStringList{"Projekt Süd"});
        QCOMPARE(childCaptions(find(model, QStringLiteral("Alpha GmbH"))), QStringList{"Mayer Max"});
        QCOMPARE(place.parent, find(model, QStringLiteral("Alpha GmbH")));
        QCOMPARE(place.row, 0);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.first().at(0).value<TreeModel::Node*>(), bauer);
        QCOMPARE(moved.first().at(1).value<TreeModel::Node*>(), place.parent);
        QCOMPARE(moved.first().at(2).toInt(), 0);

        // Back from an unsorted place: the middle of the root's children in file order.
        TreeModel fresh;
        fresh.setRecords(addressRecords, QStringLiteral("Adressen"));
        TreeModel::Node* beta = find(fresh, QStringLiteral("beta KG"));
        const TreeModel::Place betaPlace = fresh.move(beta, find(fresh, QStringLiteral("Zeta AG")));
        QCOMPARE(childCaptions(fresh.first()), (QStringList{"Zeta AG", "Alpha GmbH", "Ein Name"}));
        fresh.moveTo(beta, betaPlace);
        QCOMPARE(childCaptions(fresh.first()), (QStringList{"Zeta AG", "Alpha GmbH", "beta KG", "Ein Name"}));
        QCOMPARE(childCaptions(find(fresh, QStringLiteral("Zeta AG"))), QStringList{"Übersee Büro"});
        QCOMPARE(fresh.records(), addressRecords);
    }

    // Selected and target by caption; "" for none.
    void dropRules_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("accepted");
        const int grid = int(TreeDragSource::DocumentGrid), tree = int(TreeDragSource::ActiveTree),
                  other = int(TreeDragSource::Other);
        const QString root = QStringLiteral("Adressen"), alpha = QStringLiteral("Alpha GmbH"),
                      projekt = QStringLiteral("Projekt Süd"), zeta = QStringLiteral("Zeta AG");
        QTest::newRow("document onto entry") << grid << false << alpha << zeta << true;
        QTest::newRow("document onto entry, copy") << grid << true << alpha << zeta << true;
        QTest::newRow("document onto the entry it is under") << grid << false << alpha << alpha << true;
        QTest::newRow("document onto root") << grid << false << alpha << root << false;
        QTest::newRow("document onto nothing") << grid << true << alpha << QString() << false;
        QTest::newRow("move onto entry") << tree << false << alpha << zeta << true;
        QTest::newRow("move onto root") << tree << false << projekt << root << true;
        QTest::newRow("move onto its parent's sibling") << tree << false << projekt << zeta << true;
        QTest::newRow("move onto itself") << tree << false << alpha << alpha << false;
        QTest::newRow("move onto a grandchild") << tree << false << alpha << projekt << false;
        QTest::newRow("move the root") << tree << false << root << alpha << false;
        QTest::newRow("copy onto a grandchild") << tree << true << alpha << projekt << true;
        QTest::newRow("copy onto itself") << tree << true << alpha << alpha << false;
        QTest::newRow("copy the root") << tree << true << root << alpha << false;
        QTest::newRow("copy onto root") << tree << true << alpha << root << true;
        QTest::newRow("tree without selection") << tree << false << QString() << alpha << false;
        QTest::newRow("foreign source") << other << false << alpha << zeta << false;
    }

    void dropRules() {
        QFETCH(int, source);
        QFETCH(bool, copy);
        QFETCH(QString, selected);
        QFETCH(QString, target);
        QFETCH(bool, accepted);
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        const TreeModel::Node* selectedNode = selected.isEmpty() ? nullptr : find(model, selected);
        const TreeModel::Node* targetNode = target.isEmpty() ? nullptr : find(model, target);
        QCOMPARE(selected.isEmpty(), !selectedNode);
        QCOMPARE(target.isEmpty(), !targetNode);
        QCOMPARE(acceptsTreeDrop(model, TreeDragSource(source), copy, selectedNode, targetNode), accepted);
    }

    // The search walks the model in pre-order from its start, the start included (the button starts
    // after the selected node); "" as start: the first node, the root.
    void searchFindsTheFirstCaptionFromTheStart_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found"); // "" for none
        QTest::newRow("from the root") << QString() << "b"
                                       << "Bauer Anna";
        QTest::newRow("past a subtree") << "Projekt Süd"
                                        << "b"
                                        << "beta KG";
        QTest::newRow("inside a subtree") << QString() << "proj"
                                          << "Projekt Süd";
        QTest::newRow("the start itself matches") << "Zeta AG"
                                                  << "zeta"
                                                  << "Zeta AG";
        QTest::newRow("umlaut as typed") << QString() << "Üb"
                                         << "Übersee Büro";
        QTest::newRow("umlaut in the other case") << QString() << "üb" << QString();
        QTest::newRow("nothing after the last match") << "Ein Name"
                                                      << "b" << QString();
        QTest::newRow("empty text") << QString() << "" << QString();
    }

    void searchFindsTheFirstCaptionFromTheStart() {
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(QString, found);
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        TreeModel::Node* from = start.isEmpty() ? model.first() : find(model, start);
        QVERIFY(from);
        const TreeModel::Node* hit = findEntryByCaption(from, typed);
        QCOMPARE(hit ? hit->caption() : QString(), found);
    }

    void refusedMoveChangesNothing() {
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QSignalSpy moved(&model, &TreeModel::moved);
        TreeModel::Node* alpha = find(model, QStringLiteral("Alpha GmbH"));
        const TreeModel::Place place = model.move(alpha, find(model, QStringLiteral("Projekt Süd")));
        QCOMPARE(place.parent, model.first());
        QCOMPARE(place.row, 1);
        QCOMPARE(model.records(), addressRecords);
        QCOMPARE(moved.count(), 0);
    }

    void removeTakesTheSubtree() {
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QSignalSpy removing(&model, &TreeModel::aboutToRemove);
        TreeModel::Node* alpha = find(model, QStringLiteral("Alpha GmbH"));
        model.remove(alpha);
        QCOMPARE(shape(model), (QStringList{"0 Adressen", "1 Zeta AG", "2 Übersee Büro", "1 beta KG", "1 Ein Name"}));
        QCOMPARE(model.nodeCount(), 5);
        QCOMPARE(removing.count(), 1);
        model.clear();
        QVERIFY(model.isEmpty());
        QCOMPARE(model.first(), nullptr);
        QVERIFY(!model.hasRoot());
    }

    // The rows the walks rely on follow every kind of change.
    void rowsFollowEveryChange() {
        TreeModel model;
        model.setRecords(addressRecords, QStringLiteral("Adressen"));
        QVERIFY(rowsAgree(model));
        TreeModel::Node* root = model.first();
        model.addChild(root, QStringLiteral("Aaron"), 20, -1);
        QVERIFY(rowsAgree(model));
        TreeModel::Node* mayer = find(model, QStringLiteral("Mayer Max"));
        const TreeModel::Place place = model.move(mayer, root);
        QVERIFY(rowsAgree(model));
        model.moveTo(mayer, place);
        QVERIFY(rowsAgree(model));
        model.remove(find(model, QStringLiteral("Alpha GmbH")));
        QVERIFY(rowsAgree(model));
        QCOMPARE(model.descendantNumbers(root), (QList<qint32>{20, 3, 8, 2, 6}));
    }

    void newEntryNeedsASelectedNode() {
        Client client;
        EntryEditor editor = client.editor();
        QVERIFY(!editor.beginNew(nullptr));
        QVERIFY(!client.adr.isEditing());
        QVERIFY(!editor.isNew());
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 8);
        QCOMPARE(readBytes(client.treeFile), fileBytes(addressRecords));
    }

    // A start value the table cannot take: the error reaches the caller and no record stays pending.
    void failedNewEntryLeavesNoPendingRecord() {
        Client client;
        EntryEditor editor(client.adr, client.model, addressEntryCaption, client.treeFile,
                           {{QStringLiteral("KeinFeld"), 1}});
        QVERIFY_THROWS_EXCEPTION(EngineError, editor.beginNew(find(client.model, QStringLiteral("Alpha GmbH"))));
        QVERIFY(!client.adr.isEditing());
        QVERIFY(!editor.isNew());
        client.adr.post();
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 8);
    }

    void newEntryGoesBelowTheSelectedNode() {
        Client client;
        EntryEditor editor = client.editor();
        TreeModel::Node* alpha = find(client.model, QStringLiteral("Alpha GmbH"));
        QVERIFY(editor.beginNew(alpha));
        QVERIFY(editor.isNew());
        QCOMPARE(client.adr.field(u"Vor").asInteger(), 1);
        QCOMPARE(client.adr.field(u"Baum").asInteger(), -1);
        QCOMPARE(client.adr.field(u"Person").asBoolean(), false);
        client.adr.field(u"Name1").setValue(QStringLiteral("Meier"));
        client.adr.field(u"Name2").setValue(QStringLiteral("Anna"));
        client.adr.field(u"Person").setValue(true);

        const EntryEditor::Saved saved = editor.save();
        QCOMPARE(saved.fileError, QString());
        QVERIFY(!editor.isNew());
        QCOMPARE(saved.node->caption(), QStringLiteral("Meier Anna"));
        QCOMPARE(saved.node->number(), 9);
        QCOMPARE(saved.node->type(), -1);
        QCOMPARE(childCaptions(alpha), (QStringList{"Bauer Anna", "Mayer Max", "Meier Anna"}));
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Adressen.DB"), 9, QStringLiteral("Vor")).toInt(), 1);
        QCOMPARE(readTreeFile(client.treeFile), client.model.records());
    }

    void editedEntryIsRenamedInPlace() {
        Client client;
        EntryEditor editor = client.editor();
        TreeModel::Node* bauer = find(client.model, QStringLiteral("Bauer Anna"));
        QVERIFY(client.adr.findKey({4}));
        client.adr.edit();
        client.adr.field(u"Name1").setValue(QStringLiteral("Zander"));
        client.adr.field(u"Baum").setValue(1);
        const EntryEditor::Saved saved = editor.save();
        QCOMPARE(saved.node, bauer);
        QCOMPARE(bauer->caption(), QStringLiteral("Zander Anna"));
        QCOMPARE(bauer->type(), 1);
        QCOMPARE(childCaptions(find(client.model, QStringLiteral("Alpha GmbH"))),
                 (QStringList{"Zander Anna", "Mayer Max"}));
        QCOMPARE(readTreeFile(client.treeFile), client.model.records());
    }

    // Another program holds the address table: the post is refused and no node is made.
    void refusedPostChangesNoNode() {
        Client client;
        EntryEditor editor = client.editor();
        TreeModel::Node* alpha = find(client.model, QStringLiteral("Alpha GmbH"));
        QVERIFY(editor.beginNew(alpha));
        client.adr.field(u"Name1").setValue(QStringLiteral("Neu"));
        {
            ForeignWriteLock lock(client.dir + QStringLiteral("/Adressen.DB"));
            QVERIFY(lock.locked);
            QVERIFY_THROWS_EXCEPTION(EngineError, editor.save());
        }
        QVERIFY(client.adr.isEditing());
        QCOMPARE(client.model.records(), addressRecords);
        QCOMPARE(readBytes(client.treeFile), fileBytes(addressRecords));
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 8);
    }

    void unwritableTreeFileIsReportedAfterThePost() {
        Client client;
        EntryEditor editor = client.editor();
        QVERIFY(client.blockTreeFile());
        TreeModel::Node* alpha = find(client.model, QStringLiteral("Alpha GmbH"));
        QVERIFY(editor.beginNew(alpha));
        client.adr.field(u"Name1").setValue(QStringLiteral("Neu"));
        const EntryEditor::Saved saved = editor.save();
        QCOMPARE(
            saved.fileError,
            QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: Unter diesem Namen steht ein Ordner.")
                .arg(client.treeFile));
        QCOMPARE(saved.node->caption(), QStringLiteral("Neu"));
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 9);
    }

    void cancelReturnsToTheSelectedRecord() {
        Client client;
        EntryEditor editor = client.editor();
        TreeModel::Node* zeta = find(client.model, QStringLiteral("Zeta AG"));
        QVERIFY(editor.beginNew(zeta));
        editor.cancel(zeta);
        QVERIFY(!editor.isNew());
        QVERIFY(!client.adr.isEditing());
        QCOMPARE(client.adr.field(u"Nr").asInteger(), 2);
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 8);
    }

    void moveEntrySetsVorAndWritesTheFile() {
        Client client;
        TreeModel::Node* bauer = find(client.model, QStringLiteral("Bauer Anna"));
        QVERIFY(moveEntry(client.adr, client.model, bauer, client.model.first(), client.treeFile));
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Adressen.DB"), 4, QStringLiteral("Vor")).toInt(), 0);
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Adressen.DB"), 7, QStringLiteral("Vor")).toInt(), 4);
        QCOMPARE(childCaptions(client.model.first()),
                 (QStringList{"Alpha GmbH", "Bauer Anna", "beta KG", "Ein Name", "Zeta AG"}));
        QCOMPARE(readTreeFile(client.treeFile), client.model.records());
    }

    // The node goes back to its own place among unsorted siblings, not to their end nor sorted, and
    // the target's children get back the order they had before the move sorted them.
    void moveEntryIsUndoneWhenTheFileCannotBeWritten_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("record");
        QTest::addColumn<int>("vor");
        QTest::newRow("onto an entry") << "beta KG"
                                       << "Zeta AG" << 3 << 0;
        QTest::newRow("onto the root, its unsorted children sorted by the move") << "Übersee Büro"
                                                                                 << "Adressen" << 6 << 2;
    }

    void moveEntryIsUndoneWhenTheFileCannotBeWritten() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(int, record);
        QFETCH(int, vor);
        Client client;
        QVERIFY(client.blockTreeFile());
        QVERIFY_THROWS_EXCEPTION(FileError, moveEntry(client.adr, client.model, find(client.model, dragged),
                                                      find(client.model, target), client.treeFile));
        QCOMPARE(childCaptions(client.model.first()), (QStringList{"Zeta AG", "Alpha GmbH", "beta KG", "Ein Name"}));
        QCOMPARE(client.model.records(), addressRecords);
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Adressen.DB"), record, QStringLiteral("Vor")).toInt(), vor);
    }

    // When the record cannot go back either (removed meanwhile by another object), the message says
    // so and advises the rebuild instead of hiding the file's failure.
    void failedUndoOfAMoveAdvisesTheRebuild() {
        Client client;
        QVERIFY(client.blockTreeFile());
        Table other;
        test::openTable(other, client.dir, QStringLiteral("Adressen.DB"));
        try {
            moveEntry(client.adr, client.model, find(client.model, QStringLiteral("beta KG")),
                      find(client.model, QStringLiteral("Zeta AG")), client.treeFile, [&] {
                          QVERIFY(other.findKey({3}));
                          other.deleteRecord();
                      });
            QFAIL("the move was reported as done");
        } catch (const FileError& error) {
            QVERIFY2(error.message().startsWith(
                         QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden").arg(client.treeFile)),
                     qPrintable(error.message()));
            QVERIFY2(error.message().endsWith(QStringLiteral("Sie sollten die Baumstruktur neu einlesen\r(Menü Tools, "
                                                             "Baumstruktur)")),
                     qPrintable(error.message()));
        }
        QCOMPARE(childCaptions(client.model.first()), (QStringList{"Zeta AG", "Alpha GmbH", "beta KG", "Ein Name"}));
    }

    void moveEntryWithoutRecordOrOntoItsSubtreeChangesNothing_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::newRow("node without record") << "Verwaist"
                                             << "Zeta AG";
        QTest::newRow("onto its own child") << "Alpha GmbH"
                                            << "Bauer Anna";
    }

    void moveEntryWithoutRecordOrOntoItsSubtreeChangesNothing() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        Client client;
        client.model.addChild(find(client.model, QStringLiteral("Ein Name")), QStringLiteral("Verwaist"), 99, -1);
        const QList<TreeFileRecord> before = client.model.records();
        QVERIFY(client.adr.findKey({5}));
        QVERIFY(!moveEntry(client.adr, client.model, find(client.model, dragged), find(client.model, target),
                           client.treeFile));
        QCOMPARE(client.model.records(), before);
        QCOMPARE(readBytes(client.treeFile), fileBytes(addressRecords));
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Adressen.DB"), 5, QStringLiteral("Vor")).toInt(), 1);
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Adressen.DB"), 1, QStringLiteral("Vor")).toInt(), 0);
    }

    void copyEntryCopiesTheAddressBelowTheTarget_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("type");
        QTest::newRow("a person onto another company") << "Bauer Anna"
                                                       << "Zeta AG" << -1;
        QTest::newRow("a main entry onto its own grandchild") << "Alpha GmbH"
                                                              << "Projekt Süd" << 1;
        QTest::newRow("a type 0 entry onto the root") << "beta KG"
                                                      << "Adressen" << -1;
    }

    void copyEntryCopiesTheAddressBelowTheTarget() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(int, type);
        Client client;
        Table adrCopy;
        TreeModel::Node* source = find(client.model, dragged);
        TreeModel::Node* below = find(client.model, target);
        QVERIFY(client.adr.findKey({source->number()}));
        const QVariantList before = recordValues(client.adr);

        const TreeModel::Node* copied = copyEntry({client.adr, &adrCopy, client.treeFile}, client.model, source, below);

        QVERIFY(copied);
        QCOMPARE(copied->number(), 9);
        QCOMPARE(copied->parent(), below);
        QCOMPARE(copied->caption(), dragged);
        QCOMPARE(copied->type(), type);
        QCOMPARE(client.adr.field(u"Nr").asInteger(), 9); // the table stands on the copy
        QCOMPARE(client.adr.field(u"Vor").asInteger(), below->number());
        QVariantList after = recordValues(client.adr);
        QVariantList expected = before;
        expected[client.adr.fieldPosition(u"Nr")] = 9;
        expected[client.adr.fieldPosition(u"Vor")] = below->number();
        QCOMPARE(after, expected);
        QVERIFY(!adrCopy.isActive());
        QCOMPARE(source->childCount(), find(Client().model, dragged)->childCount()); // descendants stay
        QCOMPARE(readTreeFile(client.treeFile), client.model.records());
    }

    void copyEntryRefusedChangesNothing_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<qint64>("recordGone"); // deleted before the copy; 0 for none
        QTest::newRow("the root") << "Adressen"
                                  << "Zeta AG" << qint64(0);
        QTest::newRow("onto itself") << "Zeta AG"
                                     << "Zeta AG" << qint64(0);
        QTest::newRow("a node without record") << "Mayer Max"
                                               << "Zeta AG" << qint64(5);
    }

    void copyEntryRefusedChangesNothing() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(qint64, recordGone);
        Client client;
        if (recordGone) {
            QVERIFY(client.adr.findKey({recordGone}));
            client.adr.deleteRecord();
        }
        const int records = recordCount(client.dir, QStringLiteral("Adressen.DB"));
        Table adrCopy;
        QCOMPARE(copyEntry({client.adr, &adrCopy, client.treeFile}, client.model, find(client.model, dragged),
                           find(client.model, target)),
                 nullptr);
        QCOMPARE(client.model.records(), addressRecords);
        QCOMPARE(readBytes(client.treeFile), fileBytes(addressRecords));
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), records);
    }

    // Within the topic tree a copy is a topic: the address table is never touched.
    void copyEntryOfATopicMakesATopic() {
        Client client;
        Table thema;
        test::openTable(thema, client.dir, QStringLiteral("Thema.DB"));
        appendRecord(thema, {{QStringLiteral("Vor"), 0}, {QStringLiteral("Thema"), "Projekte"}, {"Baum", 1}});
        appendRecord(thema, {{QStringLiteral("Vor"), 0}, {QStringLiteral("Thema"), "Archiv"}, {"Baum", -1}});
        const QString topicFile = client.dir + QStringLiteral("/Themen.dat");
        TreeModel topics;
        topics.setRecords({{QStringLiteral("Archiv"), 1, 2, -1}, {QStringLiteral("Projekte"), 1, 1, 1}},
                          QStringLiteral("Themen"));

        const TreeModel::Node* copied =
            copyEntry({thema, nullptr, topicFile}, topics, find(topics, QStringLiteral("Projekte")),
                      find(topics, QStringLiteral("Archiv")));

        QVERIFY(copied);
        QCOMPARE(copied->caption(), QStringLiteral("Projekte"));
        QCOMPARE(copied->type(), 1);
        QCOMPARE(copied->number(), 3);
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Thema.DB"), 3, QStringLiteral("Vor")).toInt(), 2);
        QCOMPARE(thema.field(u"Nr").asInteger(), 3);
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 8);
        QCOMPARE(readTreeFile(topicFile), topics.records());
    }

    void copiedEntryIsTakenBackWhenTheFileCannotBeWritten() {
        Client client;
        QVERIFY(client.adr.findKey({4}));
        Table copy;
        const qint64 nr = copyAddressRecord(client.adr, copy, 2);
        client.adr.refresh();
        QVERIFY(client.adr.findKey({nr}));
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 9);
        QVERIFY(client.blockTreeFile());
        QVERIFY_THROWS_EXCEPTION(FileError,
                                 addCopiedEntry(client.adr, client.model, find(client.model, QStringLiteral("Zeta AG")),
                                                QStringLiteral("Kopie"), qint32(nr), -1, client.treeFile));
        QCOMPARE(client.model.records(), addressRecords);
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 8);
    }

    // Leaves first; a document under a topic too stays with its address link cleared, others go.
    void deleteEntrySubtreeLeavesFirst() {
        Client client;
        appendRecord(client.dok, {{QStringLiteral("NrFirma"), 4},
                                  {QStringLiteral("NrThema"), 1},
                                  {QStringLiteral("Ext"), QStringLiteral("odt")},
                                  {QStringLiteral("Titel"), "Bleibt"}});
        appendRecord(client.dok, {{QStringLiteral("NrFirma"), 5},
                                  {QStringLiteral("NrThema"), -1},
                                  {QStringLiteral("Ext"), QStringLiteral("---")},
                                  {QStringLiteral("Titel"), "Notiz"}});
        appendRecord(client.dok, {{QStringLiteral("NrFirma"), 2},
                                  {QStringLiteral("NrThema"), -1},
                                  {QStringLiteral("Ext"), QStringLiteral("---")},
                                  {QStringLiteral("Titel"), "Zeta"}});
        QStringList order;
        connect(&client.model, &TreeModel::aboutToRemove, this,
                [&order](const TreeModel::Node* node) { order << node->caption(); });
        deleteEntrySubtree(client.deletion(), client.model, find(client.model, QStringLiteral("Alpha GmbH")));

        QCOMPARE(order, (QStringList{"Mayer Max", "Projekt Süd", "Bauer Anna", "Alpha GmbH"}));
        QCOMPARE(shape(client.model),
                 (QStringList{"0 Adressen", "1 Zeta AG", "2 Übersee Büro", "1 beta KG", "1 Ein Name"}));
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 4);
        for (const qint64 nr : {1, 4, 5, 7})
            QCOMPARE(fieldOf(client.dir, QStringLiteral("Adressen.DB"), nr, QStringLiteral("Nr")).toString(),
                     QStringLiteral("<fehlt>"));
        QCOMPARE(recordCount(client.dir, QStringLiteral("Dok.DB")), 2);
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Dok.DB"), 1, QStringLiteral("NrFirma")).toInt(), -1);
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Dok.DB"), 1, QStringLiteral("NrThema")).toInt(), 1);
        QVERIFY(!client.dok.hasMaster());
        QVERIFY(client.dok.indexName().isEmpty());
    }

    // A file that cannot be put into the trash keeps its document, and the entries it is filed under
    // stay with their ancestors; a note, and a file already gone, never hold anything back.
    void fileNotTrashedKeepsItsDocumentAndEntries_data() {
        QTest::addColumn<bool>("trashWorks");
        QTest::newRow("trash works") << true;
        QTest::newRow("trash cannot be made") << false;
    }

    void fileNotTrashedKeepsItsDocumentAndEntries() {
        QFETCH(bool, trashWorks);
        Client client;
        const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", oldDataHome); });
        // A file where the trash's directory would have to be made: nothing can be put there.
        const QString blocker = client.tmp.filePath(QStringLiteral("blocker"));
        QVERIFY(QFile(blocker).open(QIODevice::WriteOnly));
        const QString dataHome =
            trashWorks ? client.tmp.filePath(QStringLiteral("xdg")) : blocker + QStringLiteral("/xdg");
        qputenv("XDG_DATA_HOME", dataHome.toUtf8());
        const QString kept = client.dir + QStringLiteral("/projekt.pdf");
        QVERIFY(QFile(kept).open(QIODevice::WriteOnly));
        const auto document = [&](int nrFirma, const char* ext, const char* datei) {
            appendRecord(client.dok, {{QStringLiteral("NrFirma"), nrFirma},
                                      {QStringLiteral("NrThema"), -1},
                                      {QStringLiteral("Ext"), QString::fromLatin1(ext)},
                                      {QStringLiteral("Datei"), QString::fromLatin1(datei)}});
        };
        document(7, "pdf", "projekt.pdf"); // Projekt Süd, below Bauer Anna
        document(5, "---", "");            // a note under Mayer Max
        document(4, "pdf", "weg.pdf");     // Bauer Anna, its file already gone

        const QStringList notTrashed =
            deleteEntrySubtree(client.deletion(), client.model, find(client.model, QStringLiteral("Alpha GmbH")));

        QVERIFY(!client.dok.hasMaster());
        if (trashWorks) {
            QCOMPARE(notTrashed, QStringList());
            QVERIFY(!QFile::exists(kept));
            QVERIFY(QFile::exists(dataHome + QStringLiteral("/Trash/files/projekt.pdf")));
            QCOMPARE(recordCount(client.dir, QStringLiteral("Dok.DB")), 0);
            QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 4);
            return;
        }
        QCOMPARE(notTrashed, QStringList{kept});
        QVERIFY(QFile::exists(kept));
        QCOMPARE(test::columnValues(client.dok, QStringLiteral("Datei")), QVariantList{QStringLiteral("projekt.pdf")});
        QCOMPARE(shape(client.model), (QStringList{"0 Adressen", "1 Zeta AG", "2 Übersee Büro", "1 Alpha GmbH",
                                                   "2 Bauer Anna", "3 Projekt Süd", "1 beta KG", "1 Ein Name"}));
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 7);
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Adressen.DB"), 5, QStringLiteral("Nr")).toString(),
                 QStringLiteral("<fehlt>"));
    }

    // A Datei that is neither a bare name nor a full path names no file of the client: its document and
    // entries stay and it is listed, and no file is taken from the working directory into the trash.
    void relativeDateiKeepsItsDocumentAndEntries() {
        Client client;
        const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
        const auto restoreHome = qScopeGuard([&] { qputenv("XDG_DATA_HOME", oldDataHome); });
        const QString dataHome = client.tmp.filePath(QStringLiteral("xdg"));
        qputenv("XDG_DATA_HOME", dataHome.toUtf8());
        const QString work = client.tmp.filePath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(work) && QDir().mkpath(client.tmp.filePath(QStringLiteral("outside"))));
        const QString outside = client.tmp.filePath(QStringLiteral("outside/x.pdf"));
        QVERIFY(QFile(outside).open(QIODevice::WriteOnly));
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work));
        const auto restoreCurrent = qScopeGuard([&] { QDir::setCurrent(oldCurrent); });
        appendRecord(client.dok, {{QStringLiteral("NrFirma"), 7},
                                  {QStringLiteral("NrThema"), -1},
                                  {QStringLiteral("Ext"), QStringLiteral("pdf")},
                                  {QStringLiteral("Datei"), QStringLiteral("../outside/x.pdf")}});

        const QStringList notTrashed =
            deleteEntrySubtree(client.deletion(), client.model, find(client.model, QStringLiteral("Alpha GmbH")));

        QCOMPARE(notTrashed, QStringList{QStringLiteral("../outside/x.pdf")});
        QVERIFY(QFile::exists(outside));
        QVERIFY(!QFileInfo::exists(dataHome + QStringLiteral("/Trash/files/x.pdf")));
        QCOMPARE(test::columnValues(client.dok, QStringLiteral("Datei")),
                 QVariantList{QStringLiteral("../outside/x.pdf")});
        QCOMPARE(shape(client.model), (QStringList{"0 Adressen", "1 Zeta AG", "2 Übersee Büro", "1 Alpha GmbH",
                                                   "2 Bauer Anna", "3 Projekt Süd", "1 beta KG", "1 Ein Name"}));
    }

    // Another program holds the document table: the entries deleted before that are gone from table
    // and model alike, the rest stay in both, and the documents are no longer restricted.
    void deleteStoppedHalfWayLeavesTreeAndTableInStep() {
        Client client;
        appendRecord(client.dok, {{QStringLiteral("NrFirma"), 4},
                                  {QStringLiteral("NrThema"), -1},
                                  {QStringLiteral("Ext"), QStringLiteral("---")},
                                  {QStringLiteral("Titel"), "Notiz"}});
        ForeignWriteLock lock(client.dir + QStringLiteral("/Dok.DB"));
        QVERIFY(lock.locked);
        QVERIFY_THROWS_EXCEPTION(EngineError, deleteEntrySubtree(client.deletion(), client.model,
                                                                 find(client.model, QStringLiteral("Alpha GmbH"))));
        QCOMPARE(shape(client.model), (QStringList{"0 Adressen", "1 Zeta AG", "2 Übersee Büro", "1 Alpha GmbH",
                                                   "2 Bauer Anna", "1 beta KG", "1 Ein Name"}));
        QCOMPARE(recordCount(client.dir, QStringLiteral("Adressen.DB")), 6);
        QCOMPARE(fieldOf(client.dir, QStringLiteral("Adressen.DB"), 4, QStringLiteral("Name1")).toString(),
                 QStringLiteral("Bauer"));
        QVERIFY(!client.dok.hasMaster());
        QVERIFY(client.dok.indexName().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TreeModelTest)
#include "tst_tree_model.moc"
