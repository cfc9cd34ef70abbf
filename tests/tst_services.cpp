#include "data/services.h"
#include "durable_steps.h"
#include "file_bytes.h"

#include "scripted_interaction.h"
#include "small_disk.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::test::readBytes;
using zep::test::ScriptedInteraction;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Sorted by code point, so that expected lists can be written in that order.
QStringList filesIn(const QString& directory) {
    QStringList names = QDir(directory).entryList(QDir::Files | QDir::Hidden);
    names.sort();
    return names;
}

// The source directory of the copy tests: names in mixed case, one without extension, one hidden,
// and a sub-directory that is never copied.
const QStringList sourceNames{
    QStringLiteral(".versteckt"),    QStringLiteral("Adressen.DB"), QStringLiteral("MAND.INI"),
    QStringLiteral("Notiz"),         QStringLiteral("SERIE.DB"),    QStringLiteral("Serie.px"),
    QStringLiteral("Seriebrief.db"), QStringLiteral("serie.Xg0"),
};

} // namespace

class TestServices : public QObject {
    Q_OBJECT

private slots:
    void init();

    void dirCopyMatchesMask_data();
    void dirCopyMatchesMask();
    void dirCopyReplacesWhateverTheCase();
    void dirCopyFailsWithoutDirectories_data();
    void dirCopyFailsWithoutDirectories();
    void dirCopyReportsAFailedCopy();

    void fileCopy();
    void fileCopyUsesLongPathsWhole();
    void fileCopyOfMissingSourceLeavesTargetAlone();
    void copyIsOnDiskAndKeepsTheSourceTime();
    void copyOntoFullDiskFailsAndKeepsTarget_data();
    void copyOntoFullDiskFailsAndKeepsTarget();

    void systemRoot_data();
    void systemRoot();

    void directoryPicker_data();
    void directoryPicker();
    void unpreparedPickerFailsTheTest();
    void unusedAnswerFailsTheTest();
    void infoNotice();

private:
    QString source() const { return dir_->filePath(QStringLiteral("quelle")); }
    QString target() const { return dir_->filePath(QStringLiteral("ziel")); }

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestServices::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir().mkpath(source() + QStringLiteral("/Unterordner")));
    QVERIFY(QDir().mkpath(target()));
    for (const QString& name : sourceNames)
        writeBytes(source() + u'/' + name, name.toUtf8() + "-Inhalt");
    writeBytes(source() + QStringLiteral("/Unterordner/Serie.db"), "tiefer");
}

void TestServices::dirCopyMatchesMask_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("copied");
    QTest::newRow("every file") << QStringLiteral("*.*") << sourceNames;
    QTest::newRow("one file, other case") << QStringLiteral("Mand.ini") << QStringList{QStringLiteral("MAND.INI")};
    const QStringList serie{QStringLiteral("SERIE.DB"), QStringLiteral("Serie.px"), QStringLiteral("serie.Xg0")};
    QTest::newRow("leading slash") << QStringLiteral("/Serie.*") << serie;
    QTest::newRow("leading backslash") << QStringLiteral("\\Serie.*") << serie;
    // A copy that finds nothing to copy has not done what the caller relies on.
    QTest::newRow("no match") << QStringLiteral("Thema.*") << QStringList();
}

void TestServices::dirCopyMatchesMask() {
    QFETCH(QString, mask);
    QFETCH(QStringList, copied);
    QCOMPARE(DIRCOPY(source(), target(), mask), !copied.isEmpty());
    QCOMPARE(filesIn(target()), copied);
    for (const QString& name : copied)
        QCOMPARE(readBytes(target() + u'/' + name), name.toUtf8() + "-Inhalt");
    QVERIFY(!QFileInfo::exists(target() + QStringLiteral("/Unterordner")));
}

void TestServices::dirCopyReplacesWhateverTheCase() {
    writeBytes(target() + QStringLiteral("/serie.db"), "alter Stand");
    writeBytes(target() + QStringLiteral("/Serie.px"), "alter Stand");
    const QDateTime sourceTime = QFileInfo(source() + QStringLiteral("/SERIE.DB")).lastModified();
    QVERIFY(DIRCOPY(source(), target(), QStringLiteral("Serie.*")));
    QCOMPARE(filesIn(target()),
             (QStringList{QStringLiteral("Serie.px"), QStringLiteral("serie.Xg0"), QStringLiteral("serie.db")}));
    QCOMPARE(readBytes(target() + QStringLiteral("/serie.db")), QByteArray("SERIE.DB-Inhalt"));
    QCOMPARE(readBytes(target() + QStringLiteral("/Serie.px")), QByteArray("Serie.px-Inhalt"));
    QCOMPARE(QFileInfo(target() + QStringLiteral("/serie.db")).lastModified(), sourceTime);
}

void TestServices::dirCopyFailsWithoutDirectories_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("missing source") << QStringLiteral("fehlt") << QStringLiteral("ziel");
    QTest::newRow("missing target") << QStringLiteral("quelle") << QStringLiteral("fehlt");
    QTest::newRow("source is a file") << QStringLiteral("quelle/Notiz") << QStringLiteral("ziel");
    QTest::newRow("empty source") << QString() << QStringLiteral("ziel");
    QTest::newRow("empty target") << QStringLiteral("quelle") << QString();
}

void TestServices::dirCopyFailsWithoutDirectories() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    const auto path = [this](const QString& name) {
        return name.isEmpty() ? name : dir_->filePath(name);
    };
    QVERIFY(!DIRCOPY(path(from), path(to), QStringLiteral("*.*")));
    QVERIFY(filesIn(target()).isEmpty());
    QVERIFY(!QFileInfo::exists(dir_->filePath(QStringLiteral("fehlt"))));
}

void TestServices::dirCopyReportsAFailedCopy() {
    // A directory in the way of a target file makes that one copy fail.
    QVERIFY(QDir().mkpath(target() + QStringLiteral("/MAND.INI")));
    QVERIFY(!DIRCOPY(source(), target(), QStringLiteral("Mand.ini")));
    QVERIFY(QFileInfo(target() + QStringLiteral("/MAND.INI")).isDir());
    QVERIFY(filesIn(target()).isEmpty());
}

void TestServices::fileCopy() {
    const QString to = target() + QStringLiteral("/Kopie.txt");
    writeBytes(to, "alter Stand, länger als die Quelle");
    QVERIFY(FILECOPY(source() + QStringLiteral("/Notiz"), to));
    QCOMPARE(readBytes(to), QByteArray("Notiz-Inhalt"));
    QCOMPARE(filesIn(target()), QStringList{QStringLiteral("Kopie.txt")});
}

void TestServices::fileCopyUsesLongPathsWhole() {
    QString deep = target();
    while (deep.size() <= ServiceTextLimit)
        deep += QStringLiteral("/Unterverzeichnis");
    QVERIFY(QDir().mkpath(deep));
    const QString to = deep + QStringLiteral("/Dokument.txt");
    QVERIFY(FILECOPY(source() + QStringLiteral("/Notiz"), to));
    QCOMPARE(readBytes(to), QByteArray("Notiz-Inhalt"));
}

void TestServices::copyOntoFullDiskFailsAndKeepsTarget_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("small file") << 3000;
    QTest::newRow("larger than one buffer") << 100000;
}

// A full disk must fail the copy, not leave an empty or cut file in place of the target.
void TestServices::copyOntoFullDiskFailsAndKeepsTarget() {
    QFETCH(int, size);
    test::SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.skipText()));
    const QDir mountPoint(disk.path());
    const QString from = source() + QStringLiteral("/Mand.ini");
    writeBytes(from, QByteArray(size, 'n'));
    const QString to = mountPoint.filePath(QStringLiteral("Mand.ini"));
    writeBytes(to, "alter Stand");
    QVERIFY(disk.fill());
    QVERIFY(!FILECOPY(from, to));
    QVERIFY(!DIRCOPY(source(), mountPoint.path(), QStringLiteral("Mand.ini")));
    QCOMPARE(readBytes(to), QByteArray("alter Stand"));
    QCOMPARE(filesIn(mountPoint.path()), QStringList({QStringLiteral("Mand.ini"), QStringLiteral("ballast")}));
}

void TestServices::fileCopyOfMissingSourceLeavesTargetAlone() {
    const QString to = target() + QStringLiteral("/Kopie.txt");
    writeBytes(to, "bleibt");
    QVERIFY(!FILECOPY(source() + QStringLiteral("/fehlt"), to));
    QVERIFY(!FILECOPY(source() + QStringLiteral("/Unterordner"), to));
    QCOMPARE(readBytes(to), QByteArray("bleibt"));
    QCOMPARE(filesIn(target()), QStringList{QStringLiteral("Kopie.txt")});
}

void TestServices::copyIsOnDiskAndKeepsTheSourceTime() {
    const QString from = source() + QStringLiteral("/Notiz");
    const QDateTime past(QDate(2020, 5, 4), QTime(3, 2, 1));
    {
        QFile file(from);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(past, QFileDevice::FileModificationTime));
    }
    const QString to = target() + QStringLiteral("/Notiz");
    test::DurableStepLog log;
    QVERIFY(DIRCOPY(source(), target(), QStringLiteral("Notiz")));
    QCOMPARE(QFileInfo(to).lastModified(), past);
    const qsizetype renamed = log.indexOf(DurableStep::Renamed, to);
    QVERIFY(renamed > 0);
    QCOMPARE(log.entries().first().step, DurableStep::FileSynced);
    QCOMPARE(log.changesNotSynced(), QStringList());
}

void TestServices::systemRoot_data() {
    qputenv("ZEP_T_ROOT", "/opt/büro");
    qputenv("ZEP_T_EMPTY", "");
    qunsetenv("ZEP_T_UNSET");
    const QString root = qEnvironmentVariable("ZEP_T_ROOT");
    const QString home = QDir::homePath();

    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const auto same = [](const char* name, const QString& path) {
        QTest::newRow(name) << path << path;
    };
    QTest::newRow("$VAR") << QStringLiteral("$ZEP_T_ROOT/bin/prog") << root + QStringLiteral("/bin/prog");
    QTest::newRow("${VAR}") << QStringLiteral("${ZEP_T_ROOT}prog") << root + QStringLiteral("prog");
    QTest::newRow("%VAR%") << QStringLiteral("%ZEP_T_ROOT%/prog") << root + QStringLiteral("/prog");
    QTest::newRow("two in a row") << QStringLiteral("$ZEP_T_ROOT%ZEP_T_ROOT%") << root + root;
    QTest::newRow("$VAR ends at non-name") << QStringLiteral("$ZEP_T_ROOT.d") << root + QStringLiteral(".d");
    QTest::newRow("set but empty") << QStringLiteral("$ZEP_T_EMPTY/bin") << QStringLiteral("/bin");
    QTest::newRow("leading ~/") << QStringLiteral("~/bin/prog") << home + QStringLiteral("/bin/prog");
    QTest::newRow("only ~") << QStringLiteral("~") << home;
    same("unknown $VAR", QStringLiteral("$ZEP_T_UNSET/bin/prog"));
    same("unknown %VAR%", QStringLiteral("%ZEP_T_UNSET%\\prog.exe"));
    same("unknown ${VAR}", QStringLiteral("${ZEP_T_UNSET}/prog"));
    same("unclosed ${", QStringLiteral("${ZEP_T_ROOT/prog"));
    same("unclosed %", QStringLiteral("%ZEP_T_ROOT/prog"));
    same("percent signs", QStringLiteral("/opt/50% 10%/prog"));
    same("lone $", QStringLiteral("/opt/$/prog $"));
    same("~user", QStringLiteral("~jemand/prog"));
    same("~ inside", QStringLiteral("/opt/a~/prog"));
    same("plain path", QStringLiteral("/usr/bin/prog"));
    same("empty", QString());
}

void TestServices::systemRoot() {
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(GETSYSTEMROOT(path), expected);
}

void TestServices::directoryPicker_data() {
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("expected");
    QTest::newRow("picked") << QStringLiteral("/srv/zep/Neu") << QStringLiteral("/srv/zep/Neu");
    QTest::newRow("cancelled") << QString() << QStringLiteral("/home/büro/alt");
}

void TestServices::directoryPicker() {
    QFETCH(QString, picked);
    QFETCH(QString, expected);
    ScriptedInteraction ui;
    ui.setNextDirectory(picked);
    QCOMPARE(DO_VERZEICHNIS(QStringLiteral("/home/büro/alt")), expected);
    QCOMPARE(ui.shown().size(), 1);
    QCOMPARE(ui.shown().first().kind, ScriptedInteraction::Kind::Directory);
    QCOMPARE(ui.shown().first().text, QStringLiteral("/home/büro/alt"));
    QVERIFY(ui.errors().isEmpty());
}

void TestServices::unpreparedPickerFailsTheTest() {
    ScriptedInteraction ui;
    QEXPECT_FAIL("", "the double fails a test that asks without a prepared answer", Continue);
    QCOMPARE(DO_VERZEICHNIS(QStringLiteral("/alt")), QStringLiteral("/alt"));
    QCOMPARE(ui.errors().size(), 1);
}

void TestServices::unusedAnswerFailsTheTest() {
    auto ui = std::make_unique<ScriptedInteraction>();
    ui->setNextFile(QStringLiteral("/tmp/brief.txt"));
    QEXPECT_FAIL("", "the double fails a test that prepared a file nobody asked for", Continue);
    ui.reset();
}

void TestServices::infoNotice() {
    ScriptedInteraction ui;
    const QString text = QStringLiteral("Öffne Mandanten \"Müller\"\n\r\n\rBitte warten...");
    DO_INFO(text);
    QVERIFY(ui.infoVisible());
    RELEASE_INFO();
    QVERIFY(!ui.infoVisible());

    const QString longText = QString(300, u'ä');
    DO_INFO(longText);
    QCOMPARE(ui.texts(), (QStringList{text, longText.left(255)}));
    QCOMPARE(ui.shown().last().kind, ScriptedInteraction::Kind::Info);
    RELEASE_INFO();
    QVERIFY(!ui.infoVisible());
}

QTEST_GUILESS_MAIN(TestServices)
#include "tst_services.moc"
