#include "file_bytes.h"
#include "scripted_interaction.h"
#include "small_disk.h"
#include "tools/file_copy.h"
#include "tools/szdd.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace zep;
using zep::test::ScriptedInteraction;
using zep::test::writeBytes;

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The 14-byte header of a compressed file: magic, mode letter, replaced character, expanded size.
QByteArray szddHeader(quint32 size, char mode = 'A') {
    QByteArray header("SZDD\x88\xF0\x27\x33", 8);
    header.append(mode);
    header.append('_');
    for (int shift = 0; shift < 32; shift += 8)
        header.append(char((size >> shift) & 0xFF));
    return header;
}

// Three literals (flag bits 0-2 set), then a match (bit 3 clear) of 6 bytes from window position
// 0xFF0, where the first literal was written: "ABC" repeated three times.
const QByteArray RepeatStream("\x07"
                              "ABC"
                              "\xF0\xF3",
                              6);

} // namespace

class TestFileCopy : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QDir(dir_.path()).removeRecursively();
        QVERIFY(QDir().mkpath(dir_.path()));
    }

    void refusedNames_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("code");
        const int copy = int(TFileCopy::CopyKind::Copy);
        const int move = int(TFileCopy::CopyKind::Move);
        const int expand = int(TFileCopy::CopyKind::Expand);
        QTest::newRow("star in source") << "*.DB"
                                        << "b.DB" << copy << TFileCopy::Wildcard;
        QTest::newRow("question mark in target") << "a.DB"
                                                 << "b?.DB" << move << TFileCopy::Wildcard;
        QTest::newRow("wildcard before empty") << ""
                                               << "x*" << expand << TFileCopy::Wildcard;
        QTest::newRow("empty source") << ""
                                      << "b.DB" << copy << TFileCopy::EmptyName;
        QTest::newRow("empty target") << "a.DB"
                                      << "" << move << TFileCopy::EmptyName;
        QTest::newRow("both empty") << ""
                                    << "" << expand << TFileCopy::EmptyName;
    }

    // Refused names leave the disk alone and ask nothing.
    void refusedNames() {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(int, kind);
        QFETCH(int, code);
        const QDir d(dir_.path());
        QVERIFY(writeBytes(d.filePath(QStringLiteral("a.DB")), "inhalt"));
        ScriptedInteraction ui;
        TFileCopy copy;
        copy.SourceFile = source.isEmpty() ? source : d.filePath(source);
        copy.TargetFile = target.isEmpty() ? target : d.filePath(target);
        copy.CopyType = TFileCopy::CopyKind(kind);
        QCOMPARE(copy.Execute(), code);
        QVERIFY(ui.shown().isEmpty());
        QCOMPARE(d.entryList(QDir::Files), QStringList{QStringLiteral("a.DB")});
        QCOMPARE(readBytes(d.filePath(QStringLiteral("a.DB"))), QByteArray("inhalt"));
    }

    void sameFileIsRefused_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("other case, German") << int(TFileCopy::MessageLanguage::German) << "ADRESSEN.db"
                                            << "Quelldatei und Zieldatei sind identisch!";
        QTest::newRow("dot path, English") << int(TFileCopy::MessageLanguage::English) << "./Adressen.DB"
                                           << "Attempt to copy file onto itself";
        QTest::newRow("link to it") << int(TFileCopy::MessageLanguage::German) << "Verweis.DB"
                                    << "Quelldatei und Zieldatei sind identisch!";
    }

    // Copying a file onto itself would empty it: refused with the message in the chosen language.
    void sameFileIsRefused() {
        QFETCH(int, language);
        QFETCH(QString, target);
        QFETCH(QString, message);
        const QDir d(dir_.path());
        const QString source = d.filePath(QStringLiteral("Adressen.DB"));
        QVERIFY(writeBytes(source, "tabelle"));
        QVERIFY(QFile::link(source, d.filePath(QStringLiteral("Verweis.DB"))));
        ScriptedInteraction ui;
        TFileCopy copy;
        copy.SourceFile = source;
        copy.TargetFile = d.filePath(target);
        copy.Language = TFileCopy::MessageLanguage(language);
        QCOMPARE(copy.Execute(), TFileCopy::SameFile);
        QCOMPARE(ui.texts(), QStringList{message});
        QCOMPARE(ui.shown().first().kind, ScriptedInteraction::Kind::Warning);
        QCOMPARE(readBytes(source), QByteArray("tabelle"));
    }

    void overwriteQuestion_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("yes");
        QTest::newRow("copy declined") << int(TFileCopy::CopyKind::Copy) << int(TFileCopy::MessageLanguage::German)
                                       << false;
        QTest::newRow("copy accepted") << int(TFileCopy::CopyKind::Copy) << int(TFileCopy::MessageLanguage::German)
                                       << true;
        QTest::newRow("expand declined, English")
            << int(TFileCopy::CopyKind::Expand) << int(TFileCopy::MessageLanguage::English) << false;
    }

    // The question names both files with date and size; No keeps the target, Yes replaces it.
    void overwriteQuestion() {
        QFETCH(int, kind);
        QFETCH(int, language);
        QFETCH(bool, yes);
        const QDir d(dir_.path());
        const QString source = d.filePath(QStringLiteral("neu.txt"));
        const QString target = d.filePath(QStringLiteral("alt.txt"));
        QVERIFY(writeBytes(source, "zwölf Bytes"));
        QVERIFY(writeBytes(target, "alt"));
        const QDateTime sourceTime(QDate(2024, 3, 5), QTime(14, 7));
        const QDateTime targetTime(QDate(2023, 11, 30), QTime(8, 0));
        QFile sourceFile(source);
        QVERIFY(sourceFile.open(QIODevice::ReadWrite) &&
                sourceFile.setFileTime(sourceTime, QFileDevice::FileModificationTime));
        sourceFile.close();
        QFile targetFile(target);
        QVERIFY(targetFile.open(QIODevice::ReadWrite) &&
                targetFile.setFileTime(targetTime, QFileDevice::FileModificationTime));
        targetFile.close();
        // The program's locale is German whatever the system's (as set at start).
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restoreLocale = qScopeGuard([&] { QLocale::setDefault(previous); });
        const QString expected =
            language == int(TFileCopy::MessageLanguage::German)
                ? QStringLiteral("Die Zieldatei ist bereits vorhanden:\n\nQuelldatei \"neu.txt\"\nDatum: %1, Größe: 12 "
                                 "Byte\n\nZieldatei alt.txt\nDatum: %2, Größe: 3 Byte\n\nSoll die vorhandene Datei "
                                 "überschrieben werden?")
                : QStringLiteral("Target file already exists:\n\nSource \"neu.txt\"\nDate: %1, Size: 12 "
                                 "byte\n\nTarget alt.txt\nDate: %2, Size: 3 byte\n\nOverwrite existing file?");

        ScriptedInteraction ui;
        ui.setNextAnswer(yes ? Answer::Yes : Answer::No);
        TFileCopy copy;
        copy.SourceFile = source;
        copy.TargetFile = target;
        copy.CopyType = TFileCopy::CopyKind(kind);
        copy.Language = TFileCopy::MessageLanguage(language);
        copy.CheckExists = true;
        const int result = copy.Execute();

        QCOMPARE(ui.texts(),
                 QStringList{expected.arg(QStringLiteral("05.03.24 14:07"), QStringLiteral("30.11.23 08:00"))});
        QCOMPARE(ui.shown().first().kind, ScriptedInteraction::Kind::YesNo);
        QCOMPARE(result, yes ? 0 : TFileCopy::OverwriteDeclined);
        QCOMPARE(readBytes(target), yes ? QByteArray("zwölf Bytes") : QByteArray("alt"));
    }

    // Without CheckExists a copy replaces the target silently and keeps no scratch file behind.
    void copyReplacesAndReportsSystemErrors() {
        const QDir d(dir_.path());
        const QString source = d.filePath(QStringLiteral("Dok.DB"));
        QByteArray big(3 * 1024 * 1024 + 17, 'x');
        big[0] = 'A';
        big[big.size() - 1] = 'Z';
        QVERIFY(writeBytes(source, big));
        QVERIFY(writeBytes(d.filePath(QStringLiteral("Kopie.DB")), "alt"));
        ScriptedInteraction ui;
        TFileCopy copy;
        copy.SourceFile = source;
        copy.TargetFile = d.filePath(QStringLiteral("Kopie.DB"));
        QCOMPARE(copy.Execute(), 0);
        QCOMPARE(readBytes(copy.TargetFile), big);

        copy.SourceFile = d.filePath(QStringLiteral("fehlt.DB"));
        QCOMPARE(copy.Execute(), ENOENT);
        copy.SourceFile = source;
        copy.TargetFile = d.filePath(QStringLiteral("kein/Ordner.DB"));
        QCOMPARE(copy.Execute(), ENOENT);
        QVERIFY(ui.shown().isEmpty());
        QCOMPARE(d.entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("Dok.DB"), QStringLiteral("Kopie.DB")}));
    }

    // A move refuses an existing target, as the system's move does, and keeps the source then.
    void moveRefusesAnExistingTarget() {
        const QDir d(dir_.path());
        QVERIFY(writeBytes(d.filePath(QStringLiteral("a.txt")), "a"));
        QVERIFY(writeBytes(d.filePath(QStringLiteral("b.txt")), "b"));
        ScriptedInteraction ui;
        TFileCopy move;
        move.CopyType = TFileCopy::CopyKind::Move;
        move.SourceFile = d.filePath(QStringLiteral("a.txt"));
        move.TargetFile = d.filePath(QStringLiteral("b.txt"));
        QCOMPARE(move.Execute(), EEXIST);
        QCOMPARE(readBytes(d.filePath(QStringLiteral("b.txt"))), QByteArray("b"));
        move.TargetFile = d.filePath(QStringLiteral("c.txt"));
        QCOMPARE(move.Execute(), 0);
        QVERIFY(!QFile::exists(move.SourceFile));
        QCOMPARE(readBytes(move.TargetFile), QByteArray("a"));
    }

    void expand_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("expanded"); // "<missing>": no target file
        QTest::newRow("match repeats literals") << szddHeader(9) + RepeatStream << 9 << QByteArray("ABCABCABC");
        QTest::newRow("uncompressed copied unchanged")
            << QByteArray("SZDX kein Kopf") << 14 << QByteArray("SZDX kein Kopf");
        QTest::newRow("empty file") << QByteArray() << 0 << QByteArray();
        QTest::newRow("truncated stream") << szddHeader(12) + RepeatStream << int(LzRead) << QByteArray("<missing>");
        QTest::newRow("unknown mode") << szddHeader(9, 'B') + RepeatStream << int(LzUnknownAlgorithm)
                                      << QByteArray("<missing>");
    }

    // Expansion hands the result of expandSzdd on (its cases are in tst_szdd); a damaged compressed file
    // leaves no half-expanded target.
    void expand() {
        QFETCH(QByteArray, source);
        QFETCH(int, result);
        QFETCH(QByteArray, expanded);
        const QDir d(dir_.path());
        QVERIFY(writeBytes(d.filePath(QStringLiteral("ZEP.EX_")), source));
        ScriptedInteraction ui;
        TFileCopy copy;
        copy.CopyType = TFileCopy::CopyKind::Expand;
        copy.SourceFile = d.filePath(QStringLiteral("ZEP.EX_"));
        copy.TargetFile = d.filePath(QStringLiteral("ZEP.EXE"));
        QCOMPARE(copy.Execute(), result);
        QCOMPARE(readBytes(copy.TargetFile), expanded);
        QVERIFY(ui.shown().isEmpty());
    }

    void expandChecksDirectories_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("source German") << "fehlt/a.EX_"
                                       << "a.EXE" << int(TFileCopy::MessageLanguage::German)
                                       << TFileCopy::SourceDriveMissing << "Quellaufwerk nicht vorhanden";
        QTest::newRow("source English") << "fehlt/a.EX_"
                                        << "a.EXE" << int(TFileCopy::MessageLanguage::English)
                                        << TFileCopy::SourceDriveMissing << "Source drive doesn't exist";
        QTest::newRow("target English") << "a.EX_"
                                        << "fehlt/a.EXE" << int(TFileCopy::MessageLanguage::English)
                                        << TFileCopy::TargetDriveMissing << "Target drive doesn't exist";
        QTest::newRow("target German") << "a.EX_"
                                       << "fehlt/a.EXE" << int(TFileCopy::MessageLanguage::German)
                                       << TFileCopy::TargetDriveMissing << "Ziellaufwerk nicht vorhanden";
    }

    void expandChecksDirectories() {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(int, language);
        QFETCH(int, code);
        QFETCH(QString, message);
        const QDir d(dir_.path());
        QVERIFY(writeBytes(d.filePath(QStringLiteral("a.EX_")), szddHeader(9) + RepeatStream));
        ScriptedInteraction ui;
        TFileCopy copy;
        copy.CopyType = TFileCopy::CopyKind::Expand;
        copy.Language = TFileCopy::MessageLanguage(language);
        copy.SourceFile = d.filePath(source);
        copy.TargetFile = d.filePath(target);
        QCOMPARE(copy.Execute(), code);
        QCOMPARE(ui.texts(), QStringList{message});
    }

    // The scratch copy must not be opened over the source when the source carries the scratch's name.
    void copyOfAFileNamedLikeTheScratch() {
        const QDir d(dir_.path());
        QVERIFY(writeBytes(d.filePath(QStringLiteral(".Brief.odt.copy")), "Inhalt"));
        ScriptedInteraction ui;
        TFileCopy copy;
        copy.SourceFile = d.filePath(QStringLiteral(".Brief.odt.copy"));
        copy.TargetFile = d.filePath(QStringLiteral("Brief.odt"));
        QCOMPARE(copy.Execute(), 0);
        QCOMPARE(readBytes(copy.TargetFile), QByteArray("Inhalt"));
        QCOMPARE(readBytes(copy.SourceFile), QByteArray("Inhalt"));
    }

    // Across file systems a move copies; when the source then cannot be removed (an immutable
    // folder), the copy goes again, so the file stays in one place only.
    void failedMoveAcrossFileSystemsLeavesNoCopy() {
        QTemporaryDir shm(QStringLiteral("/dev/shm/zep-test-XXXXXX"));
        QVERIFY(shm.isValid());
        const QString source = QDir(shm.path()).filePath(QStringLiteral("Umzug.txt"));
        QVERIFY(writeBytes(source, "bleibt"));
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), shm.path()}) != 0)
            QSKIP("chattr +i geht hier nicht");
        const auto unlock = qScopeGuard([&] {
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), shm.path()});
        });
        ScriptedInteraction ui;
        TFileCopy move;
        move.CopyType = TFileCopy::CopyKind::Move;
        move.SourceFile = source;
        move.TargetFile = QDir(dir_.path()).filePath(QStringLiteral("Umzug00001.txt"));
        QCOMPARE(move.Execute(), EPERM);
        QCOMPARE(readBytes(source), QByteArray("bleibt"));
        QVERIFY(!QFile::exists(move.TargetFile));
    }

    void moveFromAReadOnlyDisk_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("German") << int(TFileCopy::MessageLanguage::German)
                                << "Kein Verschieben von einem Read-Only-Medium möglich!";
        QTest::newRow("English") << int(TFileCopy::MessageLanguage::English) << "Move from a CD ROM is impossible!";
    }

    void moveFromAReadOnlyDisk() {
        QFETCH(int, language);
        QFETCH(QString, message);
        test::SmallDisk disk(64 * 1024);
        if (!disk.mounted())
            QSKIP(qPrintable(disk.skipText()));
        const QString source = QDir(disk.path()).filePath(QStringLiteral("a.txt"));
        QVERIFY(writeBytes(source, "a"));
        QVERIFY(disk.remountReadOnly());
        ScriptedInteraction ui;
        TFileCopy move;
        move.CopyType = TFileCopy::CopyKind::Move;
        move.Language = TFileCopy::MessageLanguage(language);
        move.SourceFile = source;
        move.TargetFile = QDir(dir_.path()).filePath(QStringLiteral("a.txt"));
        QCOMPARE(move.Execute(), TFileCopy::MoveFromReadOnly);
        QCOMPARE(ui.texts(), QStringList{message});
        QCOMPARE(readBytes(source), QByteArray("a"));
        QVERIFY(!QFile::exists(move.TargetFile));
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestFileCopy)
#include "tst_file_copy.moc"
