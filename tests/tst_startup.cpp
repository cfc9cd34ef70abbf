#include "app/program.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "data/schema.h"
#include "data/tdm.h"

#include "durable_steps.h"
#include "fake_associations.h"
#include "scripted_interaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::test::ScriptedInteraction;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The id of a process that has ended.
qint64 deadProcessId() {
    QProcess process;
    process.start(QStringLiteral("/bin/true"), {});
    if (!process.waitForStarted())
        return 0;
    const qint64 pid = process.processId();
    process.waitForFinished();
    return pid;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void init();

    void secondInstanceIsRefused();
    void lockIsFreeAgainAfterTheFirstEnds();
    void staleLockOfACrashedProcessDoesNotBlock();

    void startValuesWithoutSettingsFile();
    void startValuesFromSettingsFile();
    void installationLayoutIsNeededWithoutGeneral();
    void missingInstallationIsLaidOut();
    void laidOutInstallationIsOnDisk();
    void installationThatCannotBeLaidOutGivesAText();
    void missingFilesAreCompleted_data();
    void missingFilesAreCompleted();

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestStartup::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestStartup::secondInstanceIsRefused() {
    ScriptedInteraction ui;
    SingleInstance first(dir_->path());
    QVERIFY(claimSingleInstance(first, ui));
    QVERIFY(ui.shown().isEmpty());

    SingleInstance second(dir_->path());
    QVERIFY(!claimSingleInstance(second, ui));
    QCOMPARE(ui.texts(),
             QStringList{QStringLiteral("Diese Anwendung kann nur einmal gestartet werden.\rZEP läuft bereits!!")});
    QCOMPARE(ui.shown().first().kind, ScriptedInteraction::Kind::Warning);
    QVERIFY(first.tryAcquire());
}

void TestStartup::lockIsFreeAgainAfterTheFirstEnds() {
    auto first = std::make_unique<SingleInstance>(dir_->path());
    QVERIFY(first->tryAcquire());
    QVERIFY(!SingleInstance(dir_->path()).tryAcquire());
    first.reset();
    QVERIFY(SingleInstance(dir_->path()).tryAcquire());
}

void TestStartup::staleLockOfACrashedProcessDoesNotBlock() {
    const QString lockPath = SingleInstance(dir_->path()).lockFilePath();
    QByteArray content;
    {
        // A lock as this program writes it, then with the owner's id replaced by one that has ended.
        QLockFile lock(lockPath);
        QVERIFY(lock.tryLock(0));
        QFile file(lockPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        content = file.readAll();
    }
    const qint64 deadPid = deadProcessId();
    QVERIFY(deadPid > 0);
    content.replace(0, content.indexOf('\n'), QByteArray::number(deadPid));
    writeBytes(lockPath, content);

    ScriptedInteraction ui;
    SingleInstance next(dir_->path());
    QVERIFY(claimSingleInstance(next, ui));
    QVERIFY(ui.shown().isEmpty());
    QVERIFY(!SingleInstance(dir_->path()).tryAcquire());
}

void TestStartup::startValuesWithoutSettingsFile() {
    const Program program = loadProgram(dir_->path());
    QCOMPARE(program.paths.root, dir_->path());
    QCOMPARE(program.resubmissionStart, 0);
    QVERIFY(program.client.ClientName.isEmpty());
    QVERIFY(program.client.IniFile.isEmpty());
    QCOMPARE(program.settings().path(), dir_->filePath(QStringLiteral("zep.ini")));
    QVERIFY(QDir(dir_->path()).isEmpty());
}

void TestStartup::startValuesFromSettingsFile() {
    const QByteArray content("[wiedervorlage]\nzeigen=2\n");
    writeBytes(dir_->filePath(QStringLiteral("zep.ini")), content);
    QCOMPARE(loadProgram(dir_->path()).resubmissionStart, 2);
    QFile file(dir_->filePath(QStringLiteral("zep.ini")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

void TestStartup::installationLayoutIsNeededWithoutGeneral() {
    const InstallPaths paths = InstallPaths::fromDirectory(dir_->path());
    QVERIFY(needsInstallationLayout(paths));
    writeBytes(paths.general, "keine Ablage");
    QVERIFY(needsInstallationLayout(paths));
    QVERIFY(QFile::remove(paths.general));
    QVERIFY(QDir().mkpath(paths.general));
    QVERIFY(needsInstallationLayout(paths)); // "Empty" and "Vorlagen" are still missing
    QVERIFY(QDir().mkpath(paths.emptyData));
    QVERIFY(QDir().mkpath(paths.templates));
    QVERIFY(needsInstallationLayout(paths)); // the folders are there, their tables are not
}

void TestStartup::missingInstallationIsLaidOut() {
    const InstallPaths paths = InstallPaths::fromDirectory(dir_->path());
    QCOMPARE(prepareInstallation(paths), QString());
    QVERIFY(!needsInstallationLayout(paths));
    QVERIFY(QFileInfo(paths.emptyData).isDir());
    QVERIFY(!QFileInfo::exists(paths.settingsFile));
}

// Every table is built under a scratch name and takes its own name durably; tree files and settings
// are written durably too, and the folders made for them are synced, so a crash after the layout
// never finds a table half there.
void TestStartup::laidOutInstallationIsOnDisk() {
    const InstallPaths paths = InstallPaths::fromDirectory(dir_->path());
    test::DurableStepLog log;
    QCOMPARE(prepareInstallation(paths), QString());
    QStringList tables;
    for (const TableLayout* layout : schema::generalTables())
        tables << QDir(paths.general).filePath(layout->name);
    for (const TableLayout* layout : schema::clientTables())
        tables << QDir(paths.emptyData).filePath(layout->name);
    for (const QString& table : tables) {
        const qsizetype built = log.indexOf(DurableStep::Renamed, table + QStringLiteral(".anlegen"));
        QVERIFY2(built >= 0, qPrintable(table));
        QVERIFY2(log.indexOf(DurableStep::Renamed, table, built) > built, qPrintable(table));
    }
    for (const QString& file :
         {QDir(paths.emptyData).filePath(QStringLiteral("Adressen.dat")),
          QDir(paths.general).filePath(QStringLiteral("Tab.dat")), dir_->filePath(QStringLiteral("Empty/Mand.ini"))})
        QVERIFY2(log.indexOf(DurableStep::Renamed, file) >= 0, qPrintable(file));
    QCOMPARE(log.changesNotSynced(), QStringList());
    QVERIFY(log.indexOf(DurableStep::FolderSynced, dir_->path()) >= 0);
    QVERIFY(log.indexOf(DurableStep::FolderSynced, dir_->filePath(QStringLiteral("Empty"))) >= 0);
}

void TestStartup::installationThatCannotBeLaidOutGivesAText() {
    const QString blocked = dir_->filePath(QStringLiteral("Datei"));
    writeBytes(blocked, "kein Verzeichnis");
    const InstallPaths paths = InstallPaths::fromDirectory(blocked);
    QVERIFY(!prepareInstallation(paths).isEmpty());
    QVERIFY(QFileInfo(blocked).isFile());
}

void TestStartup::missingFilesAreCompleted_data() {
    QTest::addColumn<QString>("missing");
    QTest::newRow("the application register") << "General/Programm.DB";
    QTest::newRow("an installation-wide table") << "General/Brief.db";
    QTest::newRow("the column arrangement") << "General/Tab.dat";
    QTest::newRow("a template table") << "Empty/Daten/Dok.DB";
    QTest::newRow("a template tree file") << "Empty/Daten/Themen.dat";
    QTest::newRow("the template settings") << "Empty/Mand.ini";
}

// An installation whose folders stand but which lacks a file is completed at start, and the data
// module then starts on it; what was there is kept.
void TestStartup::missingFilesAreCompleted() {
    QFETCH(QString, missing);
    const InstallPaths paths = InstallPaths::fromDirectory(dir_->path());
    QCOMPARE(prepareInstallation(paths), QString());
    const QString kept = QDir(paths.general).filePath(QStringLiteral("1.kat"));
    writeBytes(kept, "eigener Katalog\r\n");
    QVERIFY(QFile::remove(dir_->filePath(missing)));
    QVERIFY(needsInstallationLayout(paths));

    QCOMPARE(prepareInstallation(paths), QString());

    QVERIFY(QFileInfo(dir_->filePath(missing)).isFile());
    QVERIFY(!needsInstallationLayout(paths));
    QFile catalog(kept);
    QVERIFY(catalog.open(QIODevice::ReadOnly));
    QCOMPARE(catalog.readAll(), QByteArray("eigener Katalog\r\n"));
    ScriptedInteraction ui;
    test::FakeAssociations associations;
    TDM dm(paths, ui, associations);
    QVERIFY(dm.DMCreate());
    QVERIFY(dm.TPro.isActive());
    QVERIFY(ui.shown().isEmpty());
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
