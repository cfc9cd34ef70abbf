#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/table.h"
#include "data/treefile.h"
#include "file_bytes.h"
#include "test_install.h"
#include "tools/tree_rebuild.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <unistd.h>

using namespace zep;
using zep::test::writeBytes;

namespace {

// A record of an address or topic table; its Nr is its position + 1 (the order of appending).
struct Row {
    std::optional<qint32> vor;
    QString name1; // Thema for a topic
    QString name2;
    bool person = false;
    qint32 baum = -1;
};
using Rows = QList<Row>;

// A company or topic; Name2 is not part of its name.
Row entry(std::optional<qint32> vor, const QString& name, qint32 baum = -1, const QString& name2 = {}) {
    return {vor, name, name2, false, baum};
}

Row person(std::optional<qint32> vor, const QString& name1, const QString& name2) {
    return {vor, name1, name2, true, -1};
}

QString displayName(const Row& row) {
    return row.person ? row.name1 + u' ' + row.name2 : row.name1;
}

// The rebuild step by step with two cursors over the table: a cursor t1 over the records not
// yet written, a level, a search for the children of the current record on every step, and the
// exact key search back to the parent. Slow on purpose; only the cycle guard (no descent into a
// record already on the path) is added.
QList<TreeFileRecord> stepwiseRebuild(const Rows& rows) {
    struct Record {
        qint32 nr;
        std::optional<qint32> vor;
        QString name;
        qint32 baum;
        bool help = false; // "y": written
    };
    std::vector<Record> t1;
    for (int i = 0; i < rows.size(); ++i)
        t1.push_back({i + 1, rows[i].vor, displayName(rows[i]), rows[i].baum});
    const auto vorLess = [](const Record& a, const Record& b) {
        if (a.vor.has_value() != b.vor.has_value())
            return !a.vor.has_value(); // a blank key sorts first
        if (a.vor != b.vor)
            return *a.vor < *b.vor;
        return a.nr < b.nr;
    };
    const auto anyLeft = [&] {
        return std::any_of(t1.begin(), t1.end(), [](const Record& r) { return !r.help; });
    };

    QList<TreeFileRecord> scratch;
    std::vector<size_t> path;
    size_t current = 0;
    int level = 0;
    while (anyLeft()) {
        if (level == 0) {
            // Order t1 by iVor, go first, back to the primary order on that record.
            std::optional<size_t> first;
            for (size_t i = 0; i < t1.size(); ++i)
                if (!t1[i].help && (!first || vorLess(t1[i], t1[*first])))
                    first = i;
            current = *first;
            path.assign(1, current);
            level = 1;
            continue;
        }
        // T2: the unwritten children of t1's record in iVor order (equal Vor: by Nr).
        std::optional<size_t> child;
        for (size_t i = 0; i < t1.size() && !child; ++i)
            if (!t1[i].help && t1[i].vor == t1[current].nr && std::find(path.begin(), path.end(), i) == path.end())
                child = i;
        if (child) {
            current = *child;
            path.push_back(current);
            ++level;
            continue;
        }
        Record& record = t1[current];
        scratch.append({record.name.left(50), level, record.nr, record.baum});
        const std::optional<qint32> vor = record.vor;
        record.help = true;
        path.pop_back();
        for (size_t i = 0; i < t1.size(); ++i)
            if (!t1[i].help && vor && t1[i].nr == *vor)
                current = i; // not found: t1 stays
        --level;
    }
    return scratch;
}

QList<TreeFileRecord> reversed(const QList<TreeFileRecord>& records) {
    return QList<TreeFileRecord>(records.crbegin(), records.crend());
}

std::vector<TreeSourceEntry> sourceEntries(const Rows& rows) {
    std::vector<TreeSourceEntry> entries;
    for (int i = 0; i < rows.size(); ++i)
        entries.push_back({i + 1, rows[i].vor, displayName(rows[i]), rows[i].baum});
    return entries;
}

// "level nr baum name" per record.
QStringList lines(const QList<TreeFileRecord>& records) {
    QStringList result;
    for (const TreeFileRecord& r : records)
        result << QStringLiteral("%1 %2 %3 %4").arg(r.level).arg(r.nr).arg(r.baum).arg(r.name);
    return result;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

// A small tmpfs for real write faults; needs the right to mount (root in the test machines).
class MountedTmpfs {
public:
    explicit MountedTmpfs(const QString& dir, const QString& size) : dir_(dir) {
        QDir().mkpath(dir);
        mounted_ = QProcess::execute(QStringLiteral("mount"),
                                     {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                      QStringLiteral("size=") + size, QStringLiteral("tmpfs"), dir}) == 0;
    }
    ~MountedTmpfs() {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {dir_});
    }
    bool mounted() const { return mounted_; }
    bool makeReadOnly() {
        return QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), dir_}) ==
               0;
    }

private:
    QString dir_;
    bool mounted_ = false;
};

const QList<TreeFileRecord> oldTree = {{QStringLiteral("Alter Baum"), 1, 1, 1}, {QStringLiteral("Kind"), 2, 7, -1}};

} // namespace

Q_DECLARE_METATYPE(Rows)

class TreeRebuildTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void rebuildFromTable_data();
    void rebuildFromTable();
    void randomTablesMatchTheStepwiseRebuild();
    void progressCountsAndStops();
    void treeFileThatIsADirectoryIsNotReplaced();
    void readOnlyFolderKeepsOldTreeFile();
    void fullFileSystemKeepsOldTreeFile();
    void missingTableIsAnEngineError();

private:
    // Fills Adressen.DB or Thema.DB of the data directory; the rows get Nr 1, 2, ...
    void fillTable(const Rows& rows, bool topics);
    TreeRebuildJob job(bool topics) const;

    QTemporaryDir tmp_;
    QString data_;
};

void TreeRebuildTest::init() {
    data_ =
        tmp_.filePath(QString::fromLatin1(QTest::currentTestFunction()) + QString::fromLatin1(QTest::currentDataTag()));
    test::createClientTables(data_);
}

void TreeRebuildTest::fillTable(const Rows& rows, bool topics) {
    Table table;
    test::openTable(table, data_, topics ? QStringLiteral("Thema.DB") : QStringLiteral("Adressen.DB"));
    for (const Row& row : rows) {
        test::Values values{{QStringLiteral("Baum"), row.baum}};
        if (row.vor)
            values.push_back({QStringLiteral("Vor"), *row.vor});
        if (topics) {
            values.push_back({QStringLiteral("Thema"), row.name1});
        } else {
            values.push_back({QStringLiteral("Name1"), row.name1});
            values.push_back({QStringLiteral("Name2"), row.name2});
            values.push_back({QStringLiteral("Person"), row.person});
        }
        test::appendRecord(table, values);
    }
}

TreeRebuildJob TreeRebuildTest::job(bool topics) const {
    const QDir dir(data_);
    return {data_, topics ? QStringLiteral("Thema.DB") : QStringLiteral("Adressen.DB"), topics,
            dir.filePath(topics ? QStringLiteral("Themen.dat") : QStringLiteral("Adressen.dat"))};
}

void TreeRebuildTest::rebuildFromTable_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<bool>("topics");
    QTest::addColumn<QStringList>("expected"); // the tree file: level nr baum name

    QTest::newRow("nested") << Rows{entry(0, QStringLiteral("Zeta AG"), 1),
                                    entry(0, QStringLiteral("Alpha GmbH"), 1),
                                    person(1, QStringLiteral("Bauer"), QStringLiteral("Anna")),
                                    entry(1, QStringLiteral("Adler"), 0, QStringLiteral("Zweig")),
                                    entry(3, QStringLiteral("Projekt Süd")),
                                    entry(2, QStringLiteral("Kunde"))}
                            << false
                            << QStringList{QStringLiteral("1 2 1 Alpha GmbH"),  QStringLiteral("2 6 -1 Kunde"),
                                           QStringLiteral("1 1 1 Zeta AG"),     QStringLiteral("2 4 0 Adler"),
                                           QStringLiteral("2 3 -1 Bauer Anna"), QStringLiteral("3 5 -1 Projekt Süd")};
    QTest::newRow("person without Name2")
        << Rows{person(0, QStringLiteral("Meier"), {}), entry(0, QStringLiteral("Firma"), -1, QStringLiteral("Zusatz"))}
        << false << QStringList{QStringLiteral("1 2 -1 Firma"), QStringLiteral("1 1 -1 Meier ")};
    // 2 and 5 name no record. 3 and 6 hang below them, but their turns (Vor 2 and 5) come before
    // those of their parents (Vor 99 and 1000): they are top level too. 7 names a negative Nr, so
    // its turn comes first and it keeps its child 8.
    QTest::newRow("orphans") << Rows{entry(0, QStringLiteral("A")),    entry(99, QStringLiteral("B")),
                                     entry(2, QStringLiteral("C")),    entry(1, QStringLiteral("D")),
                                     entry(1000, QStringLiteral("E")), entry(5, QStringLiteral("F")),
                                     entry(-3, QStringLiteral("G")),   entry(7, QStringLiteral("H"))}
                             << false << QStringList{QStringLiteral("1 5 -1 E"), QStringLiteral("1 2 -1 B"),
                                                     QStringLiteral("1 6 -1 F"), QStringLiteral("1 3 -1 C"),
                                                     QStringLiteral("1 1 -1 A"), QStringLiteral("2 4 -1 D"),
                                                     QStringLiteral("1 7 -1 G"), QStringLiteral("2 8 -1 H")};
    // 2 -> 3 -> 4 -> 2 is a cycle with 5 hanging from 3, 6 names itself. The cycle's entry with the
    // smallest Vor (4) is top level, the others hang below it along their links.
    QTest::newRow("cycle") << Rows{entry(0, QStringLiteral("Wurzel")), entry(3, QStringLiteral("X")),
                                   entry(4, QStringLiteral("Y")),      entry(2, QStringLiteral("Z")),
                                   entry(3, QStringLiteral("Hang")),   entry(6, QStringLiteral("Selbst"))}
                           << false << QStringList{QStringLiteral("1 6 -1 Selbst"), QStringLiteral("1 4 -1 Z"),
                                                   QStringLiteral("2 3 -1 Y"),      QStringLiteral("3 5 -1 Hang"),
                                                   QStringLiteral("3 2 -1 X"),      QStringLiteral("1 1 -1 Wurzel")};
    QTest::newRow("empty table") << Rows{} << false << QStringList{};
    QTest::newRow("equal Vor by Nr") << Rows{entry(0, QStringLiteral("Eltern")), entry(1, QStringLiteral("c")),
                                             entry(1, QStringLiteral("b")), entry(0, QStringLiteral("Zweite")),
                                             entry(1, QStringLiteral("a"))}
                                     << false
                                     << QStringList{QStringLiteral("1 4 -1 Zweite"), QStringLiteral("1 1 -1 Eltern"),
                                                    QStringLiteral("2 5 -1 a"), QStringLiteral("2 3 -1 b"),
                                                    QStringLiteral("2 2 -1 c")};
    // A null Vor sorts before every number; names are cut to 50 characters.
    QTest::newRow("topics")
        << Rows{entry(0, QStringLiteral("Verträge")), entry(std::nullopt, QStringLiteral("Ohne Vorgänger")),
                entry(1, QStringLiteral("Ein Thema mit einem Titel, der länger als fünfzig Zeichen ist"))}
        << true
        << QStringList{QStringLiteral("1 1 -1 Verträge"),
                       QStringLiteral("2 3 -1 Ein Thema mit einem Titel, der länger als fünfzig "),
                       QStringLiteral("1 2 -1 Ohne Vorgänger")};
}

void TreeRebuildTest::rebuildFromTable() {
    QFETCH(Rows, rows);
    QFETCH(bool, topics);
    QFETCH(QStringList, expected);
    fillTable(rows, topics);
    const TreeRebuildJob rebuild = job(topics);
    writeTreeFile(rebuild.treeFile, oldTree);

    QVERIFY(rebuildTreeFile(rebuild));

    const QList<TreeFileRecord> stepwise = stepwiseRebuild(rows);
    QCOMPARE(lines(readTreeFile(rebuild.treeFile)), expected);
    QCOMPARE(readTreeFile(rebuild.treeFile), reversed(stepwise));
    QCOMPARE(QFileInfo(rebuild.treeFile).size(), qint64(rows.size()) * TreeRecordSize);
    // The table is only read: no work markers are left in it.
    Table table;
    test::openTable(table, data_, rebuild.tableName);
    QCOMPARE(test::columnValues(table, QStringLiteral("Help")), QVariantList(rows.size()));
}

// Tables with every kind of Vor: none, 0, negative, missing, forward, backward, cycles, self links;
// the entries also come shuffled.
void TreeRebuildTest::randomTablesMatchTheStepwiseRebuild() {
    QRandomGenerator random(4711);
    for (int table = 0; table < 600; ++table) {
        const int size = int(random.bounded(0, 40));
        Rows rows;
        for (int i = 0; i < size; ++i) {
            Row row;
            const int kind = int(random.bounded(10));
            if (kind == 0)
                row.vor = std::nullopt;
            else if (kind <= 3)
                row.vor = 0;
            else if (kind == 4)
                row.vor = int(random.bounded(-3, size + 6));
            else
                row.vor = int(random.bounded(1, std::max(size, 1) + 1));
            row.name1 = QStringLiteral("E%1").arg(i + 1);
            row.baum = int(random.bounded(-1, 2));
            rows.append(row);
        }
        const std::optional<QList<TreeFileRecord>> collected = collectTreeEntries(sourceEntries(rows));
        QVERIFY(collected);
        QCOMPARE(*collected, stepwiseRebuild(rows));
        // The order is one of Vor and Nr alone, not of the order the entries come in.
        std::vector<TreeSourceEntry> shuffled = sourceEntries(rows);
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        QCOMPARE(*collectTreeEntries(shuffled), *collected);
    }
}

void TreeRebuildTest::progressCountsAndStops() {
    const Rows rows{entry(0, QStringLiteral("A")), entry(1, QStringLiteral("B")), entry(0, QStringLiteral("C"))};
    fillTable(rows, false);
    const TreeRebuildJob rebuild = job(false);
    writeTreeFile(rebuild.treeFile, oldTree);
    const QByteArray before = fileBytes(rebuild.treeFile);

    QList<QPair<int, int>> calls;
    QVERIFY(!rebuildTreeFile(rebuild, [&](int placed, int total) {
        calls.append({placed, total});
        return placed < 2;
    }));
    QCOMPARE(calls, (QList<QPair<int, int>>{{1, 3}, {2, 3}}));
    QCOMPARE(fileBytes(rebuild.treeFile), before);

    calls.clear();
    QVERIFY(rebuildTreeFile(rebuild, [&](int placed, int total) {
        calls.append({placed, total});
        return true;
    }));
    QCOMPARE(calls, (QList<QPair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
}

void TreeRebuildTest::treeFileThatIsADirectoryIsNotReplaced() {
    fillTable({entry(0, QStringLiteral("Neu"))}, false);
    const TreeRebuildJob rebuild = job(false);
    QVERIFY(QDir().mkpath(rebuild.treeFile));
    QVERIFY(writeBytes(rebuild.treeFile + QStringLiteral("/inside"), "kept"));

    try {
        rebuildTreeFile(rebuild);
        QFAIL("the rebuild reported success");
    } catch (const FileError& error) {
        QVERIFY2(error.message().startsWith(QStringLiteral("Kann Datei \"") + rebuild.treeFile +
                                            QStringLiteral("\" nicht finden\n")),
                 qPrintable(error.message()));
    }
    QVERIFY(QFileInfo(rebuild.treeFile).isDir());
    QCOMPARE(fileBytes(rebuild.treeFile + QStringLiteral("/inside")), QByteArray("kept"));
    QCOMPARE(QDir(data_).entryList({QStringLiteral("*.dat*")}, QDir::Files), QStringList()); // no temporary file left
}

void TreeRebuildTest::readOnlyFolderKeepsOldTreeFile() {
    fillTable({entry(0, QStringLiteral("Neu")), entry(1, QStringLiteral("Kind"))}, false);
    TreeRebuildJob rebuild = job(false);
    const QString folder = tmp_.filePath(QStringLiteral("readonly"));
    std::unique_ptr<MountedTmpfs> mount;
    if (geteuid() == 0) { // root writes into any folder whatever its permissions
        mount = std::make_unique<MountedTmpfs>(folder, QStringLiteral("1m"));
        if (!mount->mounted())
            QSKIP("no right to mount a file system");
    }
    QVERIFY(QDir().mkpath(folder));
    rebuild.treeFile = folder + QStringLiteral("/Adressen.dat");
    writeTreeFile(rebuild.treeFile, oldTree);
    const QByteArray before = fileBytes(rebuild.treeFile);
    if (mount)
        QVERIFY(mount->makeReadOnly());
    else
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));

    QVERIFY_THROWS_EXCEPTION(FileError, rebuildTreeFile(rebuild));
    QCOMPARE(fileBytes(rebuild.treeFile), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Adressen.dat")});
    if (!mount)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TreeRebuildTest::fullFileSystemKeepsOldTreeFile() {
    Rows rows;
    for (int i = 0; i < 200; ++i) // 12,800 bytes of tree file
        rows.append(entry(i == 0 ? 0 : 1, QStringLiteral("Eintrag %1").arg(i)));
    fillTable(rows, false);
    TreeRebuildJob rebuild = job(false);
    const QString folder = tmp_.filePath(QStringLiteral("full"));
    MountedTmpfs mount(folder, QStringLiteral("64k"));
    if (!mount.mounted())
        QSKIP("no right to mount a file system");
    rebuild.treeFile = folder + QStringLiteral("/Adressen.dat");
    writeTreeFile(rebuild.treeFile, oldTree);
    const QByteArray before = fileBytes(rebuild.treeFile);
    {
        QFile filler(folder + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

    try {
        rebuildTreeFile(rebuild);
        QFAIL("the rebuild reported success");
    } catch (const FileError& error) {
        QVERIFY2(error.message().endsWith(QStringLiteral("Der Datenträger ist voll.")), qPrintable(error.message()));
    }
    QCOMPARE(fileBytes(rebuild.treeFile), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files),
             (QStringList{QStringLiteral("Adressen.dat"), QStringLiteral("filler")}));
}

void TreeRebuildTest::missingTableIsAnEngineError() {
    TreeRebuildJob rebuild = job(false);
    rebuild.tableName = QStringLiteral("Fehlt.DB");
    writeTreeFile(rebuild.treeFile, oldTree);
    const QByteArray before = fileBytes(rebuild.treeFile);
    QVERIFY_THROWS_EXCEPTION(EngineError, rebuildTreeFile(rebuild));
    QCOMPARE(fileBytes(rebuild.treeFile), before);
}

QTEST_GUILESS_MAIN(TreeRebuildTest)
#include "tst_tree_rebuild.moc"
