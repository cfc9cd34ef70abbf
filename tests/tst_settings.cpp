#include "app/font_string.h"
#include "app/install_paths.h"
#include "app/profile_file.h"
#include "app/program_info.h"
#include "app/registry.h"
#include "app/settings.h"
#include "app/tmand.h"
#include "file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::test::readBytes;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

const FontDescription designFont{QStringLiteral("Sans"), false, false, false, false, 9};

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init();

    void namesMatchWithoutCase_data();
    void namesMatchWithoutCase();
    void keyWrittenInOtherCaseReplacesIt();
    void integerFallsBackToDefault_data();
    void integerFallsBackToDefault();
    void emptyValueIsNotTheDefault();
    void writeKeepsEveryOtherLine();
    void writeKeepsCrLfLineEnds();
    void writeIntoMissingDirectoryFails();
    void sectionNameIsTrimmed_data();
    void sectionNameIsTrimmed();
    void unstorableNamesAndValuesAreRefused_data();
    void unstorableNamesAndValuesAreRefused();
    void windows1252FileIsReadAndRewrittenAsUtf8();

    void defaultsWhenNothingIsStored();
    void mainWindowRectFallsBackPerField();
    void fontsRoundTripThroughSettings();

    void registryUnnamedValueIsStoredAsAt();
    void registryEmptyValueGivesDefault();
    void registryListsAndDeletesValues();

    void clientPaths();
    void installPaths_data();
    void installPaths();

    void fontString_data();
    void fontString();
    void fontStringRoundTrip();

private:
    QString iniPath() const { return dir_->filePath(QStringLiteral("zep.ini")); }

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestSettings::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestSettings::namesMatchWithoutCase_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("as stored") << QStringLiteral("Dokument") << QStringLiteral("SortSpalte");
    QTest::newRow("lower") << QStringLiteral("dokument") << QStringLiteral("sortspalte");
    QTest::newRow("upper") << QStringLiteral("DOKUMENT") << QStringLiteral("SORTSPALTE");
    QTest::newRow("mixed") << QStringLiteral("doKUment") << QStringLiteral("sortSPALTE");
}

void TestSettings::namesMatchWithoutCase() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    writeBytes(iniPath(), "[Adresse]\nSortSpalte=1\n[Dokument]\nSortSpalte=4\n");
    QCOMPARE(ProfileFile(iniPath()).readInteger(section, key, -1), 4);
}

void TestSettings::keyWrittenInOtherCaseReplacesIt() {
    const ProfileFile ini(iniPath());
    QVERIFY(ini.writeInteger(u"Dokument", u"SortSpalte", 1));
    QVERIFY(ini.writeInteger(u"dokument", u"Sortspalte", 3));
    QCOMPARE(ini.readInteger(u"Dokument", u"SortSpalte", -1), 3);
    QCOMPARE(ini.keys(u"Dokument"), QStringList{QStringLiteral("Sortspalte")});
}

void TestSettings::integerFallsBackToDefault_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("expected");
    QTest::newRow("missing file") << QByteArray() << 15;
    QTest::newRow("missing key") << QByteArray("[General]\nMusik=0\n") << 15;
    QTest::newRow("empty") << QByteArray("[General]\nAutoStartTime=\n") << 15;
    QTest::newRow("text") << QByteArray("[General]\nAutoStartTime=bald\n") << 15;
    QTest::newRow("digits then text") << QByteArray("[General]\nAutoStartTime=12s\n") << 15;
    QTest::newRow("zero") << QByteArray("[General]\nAutoStartTime=0\n") << 0;
    QTest::newRow("blanks around") << QByteArray("[General]\n  AutoStartTime = 30 \n") << 30;
    QTest::newRow("negative") << QByteArray("[General]\nAutoStartTime=-2\n") << -2;
}

void TestSettings::integerFallsBackToDefault() {
    QFETCH(QByteArray, content);
    QFETCH(int, expected);
    if (!content.isEmpty())
        writeBytes(iniPath(), content);
    QCOMPARE(Settings(iniPath()).autoStartTime(), expected);
}

void TestSettings::emptyValueIsNotTheDefault() {
    writeBytes(iniPath(), "[Adresse]\nFeld1=\n");
    QCOMPARE(ClientSettings(iniPath()).addressFieldCaption(1), QString());
    QCOMPARE(ClientSettings(iniPath()).addressFieldCaption(2), QStringLiteral("Feld2"));
}

void TestSettings::writeKeepsEveryOtherLine() {
    writeBytes(iniPath(), "; Einstellungen\n"
                          "[General]\n"
                          "AutoStartTime=15\n"
                          "Musik=1\n"
                          "\n"
                          "[WindowMain]\n"
                          "; zuletzt gespeichert\n"
                          "Top=10\n"
                          "\n");
    const ProfileFile ini(iniPath());
    QVERIFY(ini.writeInteger(u"general", u"autostarttime", 0));
    QVERIFY(ini.writeInteger(u"General", u"Neu", 7));
    QVERIFY(ini.writeInteger(u"WindowMain", u"Left", 20));
    QVERIFY(ini.writeString(u"PrintAdr", u"Index", u"2"));
    QCOMPARE(readBytes(iniPath()), QByteArray("; Einstellungen\n"
                                              "[General]\n"
                                              "autostarttime=0\n"
                                              "Musik=1\n"
                                              "Neu=7\n"
                                              "\n"
                                              "[WindowMain]\n"
                                              "; zuletzt gespeichert\n"
                                              "Top=10\n"
                                              "Left=20\n"
                                              "\n"
                                              "[PrintAdr]\n"
                                              "Index=2\n"));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("zep.ini")});
}

void TestSettings::writeKeepsCrLfLineEnds() {
    writeBytes(iniPath(), "[General]\r\nMusik=1\r\n");
    QVERIFY(ProfileFile(iniPath()).writeInteger(u"General", u"Musik", 0));
    QCOMPARE(readBytes(iniPath()), QByteArray("[General]\r\nMusik=0\r\n"));
}

void TestSettings::writeIntoMissingDirectoryFails() {
    const QString path = dir_->filePath(QStringLiteral("fehlt/zep.ini"));
    QVERIFY(!ProfileFile(path).writeInteger(u"General", u"Musik", 0));
    QVERIFY(!QFileInfo::exists(dir_->filePath(QStringLiteral("fehlt"))));
}

void TestSettings::sectionNameIsTrimmed_data() {
    QTest::addColumn<QString>("section");
    QTest::newRow("blank before") << QStringLiteral(" Dokument");
    QTest::newRow("blank after") << QStringLiteral("Dokument ");
    QTest::newRow("tab around") << QStringLiteral("\tDokument\t");
}

// Read and write agree on the name, so writing twice leaves one section that both find.
void TestSettings::sectionNameIsTrimmed() {
    QFETCH(QString, section);
    writeBytes(iniPath(), "[Dokument]\nSortSpalte=1\n");
    const ProfileFile ini(iniPath());
    QVERIFY(ini.writeInteger(section, u"SortSpalte", 2));
    QVERIFY(ini.writeInteger(section, u"Neu", 3));
    QCOMPARE(ini.readInteger(section, u"SortSpalte", -1), 2);
    QCOMPARE(ini.readInteger(u"Dokument", u"Neu", -1), 3);
    QCOMPARE(readBytes(iniPath()), QByteArray("[Dokument]\nSortSpalte=2\nNeu=3\n"));

    const ProfileFile fresh(dir_->filePath(QStringLiteral("Mand.ini")));
    QVERIFY(fresh.writeInteger(section, u"A", 1));
    QVERIFY(fresh.writeInteger(section, u"A", 2));
    QCOMPARE(readBytes(fresh.path()), QByteArray("[Dokument]\nA=2\n"));
    QCOMPARE(fresh.keys(section), QStringList{QStringLiteral("A")});
}

void TestSettings::unstorableNamesAndValuesAreRefused_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("line break in value") << QStringLiteral("A") << QStringLiteral("B")
                                         << QStringLiteral("x\n[General]");
    QTest::newRow("carriage return in value") << QStringLiteral("A") << QStringLiteral("B") << QStringLiteral("x\ry");
    QTest::newRow("equals in key") << QStringLiteral("A") << QStringLiteral("B=C") << QStringLiteral("x");
    QTest::newRow("bracket in section") << QStringLiteral("A]") << QStringLiteral("B") << QStringLiteral("x");
    QTest::newRow("empty key") << QStringLiteral("A") << QString() << QStringLiteral("x");
    QTest::newRow("empty section") << QString() << QStringLiteral("B") << QStringLiteral("x");
    QTest::newRow("blank around key") << QStringLiteral("A") << QStringLiteral(" B") << QStringLiteral("x");
    QTest::newRow("key looks like comment") << QStringLiteral("A") << QStringLiteral(";B") << QStringLiteral("x");
}

void TestSettings::unstorableNamesAndValuesAreRefused() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QByteArray before("[A]\nB=alt\n");
    writeBytes(iniPath(), before);
    QVERIFY(!ProfileFile(iniPath()).writeString(section, key, value));
    QCOMPARE(readBytes(iniPath()), before);
}

void TestSettings::windows1252FileIsReadAndRewrittenAsUtf8() {
    writeBytes(iniPath(), "[Adresse]\r\nFeld1=Stra\xDF"
                          "e \x80 \x84gut\x93\r\n");
    const QString expected = QStringLiteral("Straße € „gut“");
    const ClientSettings client(iniPath());
    QCOMPARE(client.addressFieldCaption(1), expected);

    QVERIFY(client.setAddressFieldCaption(2, u"Größe"));
    QCOMPARE(readBytes(iniPath()),
             (QStringLiteral("[Adresse]\r\nFeld1=") + expected + QStringLiteral("\r\nFeld2=Größe\r\n")).toUtf8());
    QCOMPARE(client.addressFieldCaption(1), expected);
    QCOMPARE(client.addressFieldCaption(2), QStringLiteral("Größe"));
}

void TestSettings::defaultsWhenNothingIsStored() {
    const Settings settings(iniPath());
    QCOMPARE(settings.autoStartTime(), 15);
    QCOMPARE(settings.music(), true);
    QCOMPARE(settings.resubmissionShow(), 0);
    QCOMPARE(settings.mainWindowMaximised(), true);
    QCOMPARE(settings.treeWidth(), 250);
    QCOMPARE(settings.addressPaneHeight(), 120);
    QCOMPARE(settings.printAddressIndex(), 0);
    QCOMPARE(settings.printLetterIndex(), 0);
    QCOMPARE(settings.treeFont(designFont), designFont);

    const ClientSettings client(dir_->filePath(QStringLiteral("Mand.ini")));
    QCOMPARE(client.addressFieldCaption(6), QStringLiteral("Feld6"));
    QCOMPARE(client.addressFieldCaption(7), QStringLiteral("DatumsFeld1"));
    QCOMPARE(client.addressFieldCaption(8), QStringLiteral("DatumsFeld2"));
    QCOMPARE(client.addressFieldCaption(9), QStringLiteral("ZahlenFeld1"));
    QCOMPARE(client.addressFieldCaption(10), QStringLiteral("ZahlenFeld2"));
    QCOMPARE(client.documentFieldCaption(6), QStringLiteral("Feld6"));
    QCOMPARE(client.sortColumn(), 0);
    QCOMPARE(client.sortDescending(), false);
    QCOMPARE(client.read(keys::DokumentSortAbsteigend.name, 1), 1);
    QCOMPARE(client.currentAddressTemplate(), 0);

    QVERIFY(QDir(dir_->path()).isEmpty());
}

void TestSettings::mainWindowRectFallsBackPerField() {
    writeBytes(iniPath(), "[WindowMain]\nLeft=5\nWidth=800\nHeight=viel\n");
    QCOMPARE(Settings(iniPath()).mainWindowRect(QRect(1, 2, 300, 400)), QRect(5, 2, 800, 400));
    QVERIFY(Settings(iniPath()).setMainWindowRect(QRect(11, 12, 640, 480)));
    QCOMPARE(Settings(iniPath()).mainWindowRect(QRect()), QRect(11, 12, 640, 480));
}

void TestSettings::fontsRoundTripThroughSettings() {
    const Settings settings(iniPath());
    const FontDescription chosen{QStringLiteral("DejaVu Sans Mono"), true, false, true, false, 11};
    QVERIFY(settings.setDocumentFont(chosen));
    QCOMPARE(ProfileFile(iniPath()).readString(u"WindowDoc", u"Font", QString()),
             QStringLiteral("DejaVu Sans Mono;1010;11;"));
    QCOMPARE(settings.documentFont(designFont), chosen);
    QCOMPARE(settings.treeFont(designFont), designFont);
}

void TestSettings::registryUnnamedValueIsStoredAsAt() {
    const QString path = dir_->filePath(QStringLiteral("Registry.ini"));
    const Registry registry(path);
    QVERIFY(registry.writeString(ClientsKey, u"", u"Muster GmbH"));
    QCOMPARE(registry.readString(ClientsKey, u"", QStringLiteral("keiner")), QStringLiteral("Muster GmbH"));
    QCOMPARE(ProfileFile(path).readString(u"SOFTWARE\\MORVEN\\ZEP\\Mandanten", u"@", QString()),
             QStringLiteral("Muster GmbH"));
    QCOMPARE(registry.readString(u"software\\morven\\zep\\mandanten\\", u"", QString()), QStringLiteral("Muster GmbH"));
}

void TestSettings::registryEmptyValueGivesDefault() {
    const QString path = dir_->filePath(QStringLiteral("Registry.ini"));
    writeBytes(path, "[SOFTWARE\\MORVEN\\ZEP\\Mandanten]\n@=\nLeer=\n");
    const Registry registry(path);
    QCOMPARE(registry.readString(ClientsKey, u"", QStringLiteral("vorgabe")), QStringLiteral("vorgabe"));
    QCOMPARE(registry.readString(ClientsKey, u"Leer", QStringLiteral("vorgabe")), QStringLiteral("vorgabe"));
    QCOMPARE(registry.readString(ClientsKey, u"Fehlt", QStringLiteral("vorgabe")), QStringLiteral("vorgabe"));
}

void TestSettings::registryListsAndDeletesValues() {
    const Registry registry(dir_->filePath(QStringLiteral("Registry.ini")));
    QVERIFY(registry.writeString(ClientsKey, u"Müller & Söhne", u"/daten/mueller"));
    QVERIFY(registry.writeString(ClientsKey, u"", u"Müller & Söhne"));
    QVERIFY(registry.writeString(ClientsKey, u"Beispiel", u"/daten/beispiel"));
    QVERIFY(registry.writeString(ProgramKey, u"Pfad", u"/opt/zep"));
    QCOMPARE(registry.valueNames(ClientsKey),
             (QStringList{QStringLiteral("Müller & Söhne"), QStringLiteral("Beispiel")}));

    QVERIFY(registry.deleteValue(ClientsKey, u"müller & söhne"));
    QCOMPARE(registry.valueNames(ClientsKey), QStringList{QStringLiteral("Beispiel")});
    QCOMPARE(registry.readString(ClientsKey, u"", QString()), QStringLiteral("Müller & Söhne"));
    QCOMPARE(registry.readString(ProgramKey, u"Pfad", QString()), QStringLiteral("/opt/zep"));
    QVERIFY(registry.valueNames(u"SOFTWARE\\MORVEN\\ZEP\\Fehlt").isEmpty());
}

void TestSettings::clientPaths() {
    TMand mand;
    QVERIFY(mand.ClientName.isEmpty());
    mand.SetClientPaths(QStringLiteral("Büro"), QStringLiteral("/srv/zep/Büro"));
    QCOMPARE(mand.ClientName, QStringLiteral("Büro"));
    QCOMPARE(mand.ClientDir, QStringLiteral("/srv/zep/Büro"));
    QCOMPARE(mand.DataDir, QStringLiteral("/srv/zep/Büro/Daten"));
    QCOMPARE(mand.FilesDir, QStringLiteral("/srv/zep/Büro/Files/"));
    QCOMPARE(mand.BackupDir, QStringLiteral("/srv/zep/Büro/Sicherung"));
    QCOMPARE(mand.AdrTreeFile, QStringLiteral("/srv/zep/Büro/Daten/Adressen.dat"));
    QCOMPARE(mand.TopicTreeFile, QStringLiteral("/srv/zep/Büro/Daten/Themen.dat"));
    QCOMPARE(mand.TempTreeFile, QStringLiteral("/srv/zep/Büro/Daten/Temp.dat"));
    QCOMPARE(mand.IniFile, QStringLiteral("/srv/zep/Büro/Mand.ini"));
    QVERIFY(!QFileInfo::exists(mand.ClientDir));
}

void TestSettings::installPaths_data() {
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("root");
    QTest::newRow("plain") << QStringLiteral("/opt/zep") << QStringLiteral("/opt/zep");
    QTest::newRow("trailing slash") << QStringLiteral("/opt/zep/") << QStringLiteral("/opt/zep");
    QTest::newRow("file-system root") << QStringLiteral("/") << QStringLiteral("/");
}

void TestSettings::installPaths() {
    QFETCH(QString, directory);
    QFETCH(QString, root);
    const InstallPaths paths = InstallPaths::fromDirectory(directory);
    const QString base = root == u"/" ? QString() : root;
    QCOMPARE(paths.root, root);
    QCOMPARE(paths.settingsFile, base + QStringLiteral("/zep.ini"));
    QCOMPARE(paths.general, base + QStringLiteral("/General"));
    QCOMPARE(paths.empty, base + QStringLiteral("/Empty"));
    QCOMPARE(paths.emptyData, base + QStringLiteral("/Empty/Daten"));
    QCOMPARE(paths.templates, base + QStringLiteral("/Vorlagen"));
    QCOMPARE(paths.columnFile, base + QStringLiteral("/General/Tab.dat"));
    QCOMPARE(paths.noteScratchFile, base + QStringLiteral("/Temp.rtf"));
    QCOMPARE(paths.serialScratchFile, base + QStringLiteral("/serie0.rtf"));
    QCOMPARE(paths.helpDir, base + QStringLiteral("/help"));
    QCOMPARE(paths.registryFile, base + QStringLiteral("/Registry.ini"));
}

void TestSettings::fontString_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("flags"); // bold, italic, underline, strike-out
    QTest::addColumn<int>("size");
    QTest::newRow("complete") << QStringLiteral("Arial;1000;12;") << QStringLiteral("Arial") << QStringLiteral("1000")
                              << 12;
    QTest::newRow("all flags") << QStringLiteral("Arial;1111;8;") << QStringLiteral("Arial") << QStringLiteral("1111")
                               << 8;
    QTest::newRow("italic underline") << QStringLiteral("Arial;0110;8;") << QStringLiteral("Arial")
                                      << QStringLiteral("0110") << 8;
    QTest::newRow("empty string") << QString() << QStringLiteral("Sans") << QStringLiteral("0000") << 9;
    QTest::newRow("empty name") << QStringLiteral(";1000;12;") << QStringLiteral("Sans") << QStringLiteral("1000")
                                << 12;
    QTest::newRow("three flags") << QStringLiteral("Arial;100;12;") << QStringLiteral("Arial") << QStringLiteral("0000")
                                 << 12;
    QTest::newRow("five flags") << QStringLiteral("Arial;10000;12;") << QStringLiteral("Arial")
                                << QStringLiteral("0000") << 12;
    QTest::newRow("flag not 0/1") << QStringLiteral("Arial;1x00;12;") << QStringLiteral("Arial")
                                  << QStringLiteral("0000") << 12;
    QTest::newRow("size not a number") << QStringLiteral("Arial;1000;gross;") << QStringLiteral("Arial")
                                       << QStringLiteral("1000") << 9;
    QTest::newRow("size zero") << QStringLiteral("Arial;1000;0;") << QStringLiteral("Arial") << QStringLiteral("1000")
                               << 9;
    QTest::newRow("size negative") << QStringLiteral("Arial;1000;-4;") << QStringLiteral("Arial")
                                   << QStringLiteral("1000") << 9;
    QTest::newRow("name only") << QStringLiteral("Arial") << QStringLiteral("Arial") << QStringLiteral("0000") << 9;
    QTest::newRow("no size") << QStringLiteral("Arial;0100") << QStringLiteral("Arial") << QStringLiteral("0100") << 9;
    QTest::newRow("no final separator") << QStringLiteral("Arial;0001;14") << QStringLiteral("Arial")
                                        << QStringLiteral("0001") << 14;
}

void TestSettings::fontString() {
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(QString, flags);
    QFETCH(int, size);
    const FontDescription font = applyFontString(text, designFont);
    QCOMPARE(font.name, name);
    const QString actualFlags = QString::number(font.bold) + QString::number(font.italic) +
                                QString::number(font.underline) + QString::number(font.strikeOut);
    QCOMPARE(actualFlags, flags);
    QCOMPARE(font.pointSize, size);
}

void TestSettings::fontStringRoundTrip() {
    const FontDescription font{QStringLiteral("Liberation Serif"), false, true, false, true, 16};
    QCOMPARE(encodeFontString(font), QStringLiteral("Liberation Serif;0101;16;"));
    QCOMPARE(applyFontString(encodeFontString(font), designFont), font);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
