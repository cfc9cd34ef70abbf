#include "app/profile_file.h"
#include "app/program.h"
#include "data/catalog_file.h"
#include "scripted_interaction.h"
#include "tools/ui/catalog_dialog.h"
#include "tools/ui/options_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zep;
using namespace Qt::StringLiterals;
using zep::test::ScriptedInteraction;

namespace {

template <typename T> T* child(const QWidget& window, const QString& name) {
    T* widget = window.findChild<T*>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList listTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class TestOptionsCatalogs : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void optionsShowStoredValues_data();
    void optionsShowStoredValues();
    void optionsShowDefaults();
    void optionsOkWritesTypedValues_data();
    void optionsOkWritesTypedValues();
    void optionsAbortWritesNothing();
    void optionsUnwritableSettingsKeepWindowOpen();

    void catalogCaptionAndFirstLineSelected();
    void catalogAddKeepsSortedOrder();
    void catalogDeleteRemovesSelectedLine();
    void catalogSavedOnEveryWayOfClosing_data();
    void catalogSavedOnEveryWayOfClosing();
    void catalogUnwritableKeepsWindowOpen();
    void catalogUnreadableIsNotEdited();
    void catalogMenuItems_data();
    void catalogMenuItems();
    void catalogEnterAddsAndStaysOpen();
    void catalogEntryWithCharactersTheFileCannotHold_data();
    void catalogEntryWithCharactersTheFileCannotHold();

private:
    QString catalogPath(int number) const { return QDir(program_.paths.general).filePath(catalogFileName(number)); }
    ProfileFile zepIni() const { return ProfileFile(program_.paths.settingsFile); }
    ProfileFile mandIni() const { return ProfileFile(program_.client.IniFile); }

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<ScriptedInteraction> interaction_;
    Program program_;
};

void TestOptionsCatalogs::init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    program_ = Program{};
    program_.paths = InstallPaths::fromDirectory(tmp_->filePath(u"zep"_s));
    QVERIFY(QDir().mkpath(program_.paths.general));
    const QString client = tmp_->filePath(u"Muster"_s);
    QVERIFY(QDir().mkpath(client));
    program_.client.SetClientPaths(u"Muster"_s, client);
    Program::setInstance(&program_);
    interaction_ = std::make_unique<ScriptedInteraction>();
}

void TestOptionsCatalogs::cleanup() {
    QVERIFY2(interaction_->errors().isEmpty(), qPrintable(interaction_->errors().join(u'\n')));
    interaction_.reset();
    Program::setInstance(nullptr);
    tmp_.reset();
}

void TestOptionsCatalogs::optionsShowStoredValues_data() {
    QTest::addColumn<QString>("autoStart");
    QTest::addColumn<int>("musik");
    QTest::addColumn<int>("zeigen");
    QTest::addColumn<bool>("musicTicked");
    QTest::addColumn<QString>("checkedRadio"); // "" for none

    QTest::newRow("never, music off") << u"0"_s << 0 << 0 << false << u"RB_Aus"_s;
    QTest::newRow("at program start") << u"30"_s << 1 << 1 << true << u"RB_Prog"_s;
    QTest::newRow("at client change") << u"7"_s << 2 << 2 << true << u"RB_Mand"_s;
    QTest::newRow("unknown mode selects none") << u"15"_s << 1 << 5 << true << QString();
    QTest::newRow("empty start time stays empty") << QString() << 1 << 0 << true << u"RB_Aus"_s;
}

void TestOptionsCatalogs::optionsShowStoredValues() {
    QFETCH(QString, autoStart);
    QFETCH(int, musik);
    QFETCH(int, zeigen);
    QFETCH(bool, musicTicked);
    QFETCH(QString, checkedRadio);
    QVERIFY(zepIni().writeString(u"General", u"AutoStartTime", autoStart));
    QVERIFY(zepIni().writeInteger(u"General", u"Musik", musik));
    QVERIFY(zepIni().writeInteger(u"Wiedervorlage", u"Zeigen", zeigen));
    QVERIFY(mandIni().writeString(u"Adresse", u"Feld9", u"Umsatz"));
    QVERIFY(mandIni().writeString(u"Dokument", u"Feld2", u"Projekt"));

    OptionsDialog dialog;
    QCOMPARE(child<QLineEdit>(dialog, u"E_AutoCount"_s)->text(), autoStart);
    QCOMPARE(child<QCheckBox>(dialog, u"Check_Musik"_s)->isChecked(), musicTicked);
    for (const QString& radio : {u"RB_Aus"_s, u"RB_Prog"_s, u"RB_Mand"_s})
        QCOMPARE(child<QRadioButton>(dialog, radio)->isChecked(), radio == checkedRadio);
    QCOMPARE(child<QLineEdit>(dialog, u"E_FA9"_s)->text(), u"Umsatz"_s);
    QCOMPARE(child<QLineEdit>(dialog, u"E_FD2"_s)->text(), u"Projekt"_s);
}

void TestOptionsCatalogs::optionsShowDefaults() {
    OptionsDialog dialog;
    QCOMPARE(dialog.windowTitle(), u"Optionen"_s);
    QCOMPARE(child<QLineEdit>(dialog, u"E_AutoCount"_s)->text(), u"15"_s);
    QVERIFY(child<QCheckBox>(dialog, u"Check_Musik"_s)->isChecked());
    QVERIFY(child<QRadioButton>(dialog, u"RB_Aus"_s)->isChecked());
    const QStringList address{u"Feld1"_s, u"Feld2"_s,       u"Feld3"_s,       u"Feld4"_s,       u"Feld5"_s,
                              u"Feld6"_s, u"DatumsFeld1"_s, u"DatumsFeld2"_s, u"ZahlenFeld1"_s, u"ZahlenFeld2"_s};
    for (int i = 0; i < address.size(); ++i)
        QCOMPARE(child<QLineEdit>(dialog, u"E_FA%1"_s.arg(i + 1))->text(), address[i]);
    for (int i = 1; i <= 6; ++i)
        QCOMPARE(child<QLineEdit>(dialog, u"E_FD%1"_s.arg(i))->text(), u"Feld%1"_s.arg(i));
}

void TestOptionsCatalogs::optionsOkWritesTypedValues_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<int>("runningBefore");
    QTest::addColumn<int>("writtenZeigen");
    QTest::addColumn<int>("runningAfter");

    QTest::newRow("never") << u"RB_Aus"_s << 2 << 0 << 0;
    QTest::newRow("at program start waits for the next start") << u"RB_Prog"_s << 0 << 1 << 0;
    QTest::newRow("at program start ends the client change mode") << u"RB_Prog"_s << 2 << 1 << 0;
    QTest::newRow("at client change at once") << u"RB_Mand"_s << 0 << 2 << 2;
}

void TestOptionsCatalogs::optionsOkWritesTypedValues() {
    QFETCH(QString, radio);
    QFETCH(int, runningBefore);
    QFETCH(int, writtenZeigen);
    QFETCH(int, runningAfter);
    program_.resubmissionStart = runningBefore;
    QVERIFY(mandIni().writeString(u"Adresse", u"Feld3", u"alt"));

    OptionsDialog dialog;
    dialog.show();
    child<QLineEdit>(dialog, u"E_AutoCount"_s)->clear();
    child<QLineEdit>(dialog, u"E_FA3"_s)->clear();
    child<QLineEdit>(dialog, u"E_FA7"_s)->setText(u"Geburtstag"_s);
    child<QLineEdit>(dialog, u"E_FD6"_s)->setText(u" Ablage = Ordner "_s);
    child<QRadioButton>(dialog, radio)->setChecked(true);
    QTest::mouseClick(child<QPushButton>(dialog, u"BitBtn1"_s), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(zepIni().readString(u"General", u"AutoStartTime", u"missing"_s), QString());
    QCOMPARE(zepIni().readInteger(u"General", u"Musik", -1), 1);
    QCOMPARE(zepIni().readInteger(u"Wiedervorlage", u"Zeigen", -1), writtenZeigen);
    QCOMPARE(program_.resubmissionStart, runningAfter);
    QCOMPARE(mandIni().readString(u"Adresse", u"Feld3", u"missing"_s), QString());
    QCOMPARE(mandIni().readString(u"Adresse", u"Feld7", QString()), u"Geburtstag"_s);
    QCOMPARE(mandIni().readString(u"Adresse", u"Feld10", QString()), u"ZahlenFeld2"_s);
    QCOMPARE(mandIni().readString(u"Dokument", u"Feld6", QString()), u"Ablage = Ordner"_s);
    // An empty start time reads back at start as the default.
    QCOMPARE(program_.settings().autoStartTime(), 15);
}

void TestOptionsCatalogs::optionsAbortWritesNothing() {
    program_.resubmissionStart = 1;
    OptionsDialog dialog;
    dialog.show();
    child<QLineEdit>(dialog, u"E_FA1"_s)->setText(u"Neu"_s);
    child<QRadioButton>(dialog, u"RB_Mand"_s)->setChecked(true);
    QTest::mouseClick(child<QPushButton>(dialog, u"BitBtn2"_s), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!QFile::exists(program_.paths.settingsFile));
    QVERIFY(!QFile::exists(program_.client.IniFile));
    QCOMPARE(program_.resubmissionStart, 1);
}

void TestOptionsCatalogs::optionsUnwritableSettingsKeepWindowOpen() {
    QVERIFY(QDir().mkpath(program_.client.IniFile)); // a directory where the file belongs
    OptionsDialog dialog;
    dialog.show();
    child<QLineEdit>(dialog, u"E_FA1"_s)->setText(u"Branche"_s);
    child<QRadioButton>(dialog, u"RB_Mand"_s)->setChecked(true);
    QTest::mouseClick(child<QPushButton>(dialog, u"BitBtn1"_s), Qt::LeftButton);

    QVERIFY(dialog.isVisible());
    QCOMPARE(interaction_->texts(),
             QStringList{u"Die Optionen konnten nicht gespeichert werden.\rDie Datei \"%1\" konnte nicht gespeichert "
                         u"werden: Unter diesem Namen steht ein Ordner."_s.arg(
                             QDir::toNativeSeparators(program_.client.IniFile))});
    QCOMPARE(child<QLineEdit>(dialog, u"E_FA1"_s)->text(), u"Branche"_s);
    QCOMPARE(program_.resubmissionStart, 0);
}

void TestOptionsCatalogs::catalogCaptionAndFirstLineSelected() {
    writeFile(catalogPath(13), "Mit freundlichen Gr\xfc\xdf"
                               "en\r\nHochachtungsvoll\r\n");
    CatalogDialog dialog(13, program_.paths.general);
    QVERIFY(dialog.load());
    QCOMPARE(dialog.windowTitle(), u"Grußwort"_s);
    auto* list = child<QListWidget>(dialog, u"LB"_s);
    QCOMPARE(listTexts(list), (QStringList{u"Hochachtungsvoll"_s, u"Mit freundlichen Grüßen"_s}));
    QCOMPARE(list->currentRow(), 0);

    CatalogDialog empty(4, program_.paths.general);
    QVERIFY(empty.load());
    QCOMPARE(child<QListWidget>(empty, u"LB"_s)->count(), 0);
    QCOMPARE(child<QListWidget>(empty, u"LB"_s)->currentRow(), -1);
}

void TestOptionsCatalogs::catalogAddKeepsSortedOrder() {
    writeFile(catalogPath(1), "Rechnung\r\nangebot\r\n");
    CatalogDialog dialog(1, program_.paths.general);
    QVERIFY(dialog.load());
    dialog.show();
    auto* edit = child<QLineEdit>(dialog, u"Edit1"_s);
    for (const QString& line : {u"Brief"_s, u"Ärger"_s}) {
        edit->setText(line);
        QTest::mouseClick(child<QPushButton>(dialog, u"Button1"_s), Qt::LeftButton);
        QVERIFY(edit->text().isEmpty());
    }
    QCOMPARE(listTexts(child<QListWidget>(dialog, u"LB"_s)),
             (QStringList{u"angebot"_s, u"Ärger"_s, u"Brief"_s, u"Rechnung"_s}));
    QCOMPARE(child<QListWidget>(dialog, u"LB"_s)->currentItem()->text(), u"Ärger"_s);
}

void TestOptionsCatalogs::catalogDeleteRemovesSelectedLine() {
    writeFile(catalogPath(4), "Meier\r\nHuber\r\nSchulz\r\n");
    CatalogDialog dialog(4, program_.paths.general);
    QVERIFY(dialog.load());
    dialog.show();
    auto* list = child<QListWidget>(dialog, u"LB"_s);
    list->setCurrentRow(1);
    QTest::mouseClick(child<QPushButton>(dialog, u"Button2"_s), Qt::LeftButton);
    QCOMPARE(listTexts(list), (QStringList{u"Huber"_s, u"Schulz"_s}));

    list->clearSelection();
    list->setCurrentRow(-1);
    QTest::mouseClick(child<QPushButton>(dialog, u"Button2"_s), Qt::LeftButton);
    QCOMPARE(listTexts(list), (QStringList{u"Huber"_s, u"Schulz"_s}));
}

void TestOptionsCatalogs::catalogSavedOnEveryWayOfClosing_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("OK") << u"ok"_s;
    QTest::newRow("window close") << u"close"_s;
    QTest::newRow("Esc") << u"escape"_s;
}

void TestOptionsCatalogs::catalogSavedOnEveryWayOfClosing() {
    QFETCH(QString, way);
    writeFile(catalogPath(12), "Herr\r\n");
    CatalogDialog dialog(12, program_.paths.general);
    QVERIFY(dialog.load());
    dialog.show();
    child<QLineEdit>(dialog, u"Edit1"_s)->setText(u"Frau"_s);
    QTest::mouseClick(child<QPushButton>(dialog, u"Button1"_s), Qt::LeftButton);

    if (way == u"ok")
        QTest::mouseClick(child<QPushButton>(dialog, u"BtnOK"_s), Qt::LeftButton);
    else if (way == u"close")
        QVERIFY(dialog.close());
    else
        QTest::keyClick(&dialog, Qt::Key_Escape);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(fileBytes(catalogPath(12)), QByteArray("Frau\r\nHerr\r\n"));
}

void TestOptionsCatalogs::catalogUnwritableKeepsWindowOpen() {
    CatalogDialog dialog(11, program_.paths.general);
    QVERIFY(dialog.load());
    QVERIFY(QDir().mkpath(catalogPath(11))); // a directory where the file belongs
    dialog.show();
    child<QLineEdit>(dialog, u"Edit1"_s)->setText(u"Sehr geehrte"_s);
    QTest::mouseClick(child<QPushButton>(dialog, u"Button1"_s), Qt::LeftButton);

    QVERIFY(!dialog.close());
    QVERIFY(dialog.isVisible());
    QCOMPARE(interaction_->shown().size(), 1);
    QCOMPARE(interaction_->shown().first().kind, ScriptedInteraction::Kind::Error);
    QVERIFY2(interaction_->texts().first().startsWith(u"Der Katalog \"11.kat\" konnte nicht gespeichert werden."),
             qPrintable(interaction_->texts().first()));
    QCOMPARE(listTexts(child<QListWidget>(dialog, u"LB"_s)), QStringList{u"Sehr geehrte"_s});

    QVERIFY(QDir(catalogPath(11)).removeRecursively());
    QTest::mouseClick(child<QPushButton>(dialog, u"BtnOK"_s), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(fileBytes(catalogPath(11)), QByteArray("Sehr geehrte\r\n"));
}

// Closing a window over a catalog that could not be read would replace the file with nothing.
void TestOptionsCatalogs::catalogUnreadableIsNotEdited() {
    QVERIFY(QDir().mkpath(catalogPath(10)));
    CatalogDialog dialog(10, program_.paths.general);
    QVERIFY(!dialog.load());
    QCOMPARE(interaction_->shown().size(), 1);
    QVERIFY2(interaction_->texts().first().startsWith(u"Der Katalog \"10.kat\" konnte nicht gelesen werden: Unter "
                                                      u"diesem Namen steht ein Ordner.\nEinzelheiten: "_s),
             qPrintable(interaction_->texts().first()));
    QVERIFY(QFileInfo(catalogPath(10)).isDir());
}

void TestOptionsCatalogs::catalogMenuItems_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("number");
    QTest::newRow("kind") << u"MKat_DokArt"_s << 1;
    QTest::newRow("author") << u"MKat_Autor"_s << 4;
    QTest::newRow("letter salutation") << u"MKat_AnredeBrief"_s << 10;
    QTest::newRow("salutation") << u"MKat_Anrede"_s << 11;
    QTest::newRow("Herr / Frau") << u"MKat_Herr"_s << 12;
    QTest::newRow("greeting") << u"MKat_Gruss"_s << 13;
    QTest::newRow("other item") << u"MTool_Option"_s << 0;
}

void TestOptionsCatalogs::catalogMenuItems() {
    QFETCH(QString, item);
    QFETCH(int, number);
    QCOMPARE(catalogOfMenuItem(item), number);
}

void TestOptionsCatalogs::catalogEnterAddsAndStaysOpen() {
    writeFile(catalogPath(12), "Herr\r\n");
    CatalogDialog dialog(12, program_.paths.general);
    QVERIFY(dialog.load());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* edit = child<QLineEdit>(dialog, u"Edit1"_s);
    for (const QString& line : {u"Frau"_s, u"Dr."_s}) {
        QTest::keyClicks(edit, line);
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
        QVERIFY(edit->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), edit);
    }
    QCOMPARE(listTexts(child<QListWidget>(dialog, u"LB"_s)), (QStringList{u"Dr."_s, u"Frau"_s, u"Herr"_s}));
    QCOMPARE(fileBytes(catalogPath(12)), QByteArray("Herr\r\n"));
}

void TestOptionsCatalogs::catalogEntryWithCharactersTheFileCannotHold_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("saved replaced") << Answer::Yes << QStringList{u"Herr"_s, u"Pan ?ukasz"_s}
                                    << QByteArray("Herr\r\nPan ?ukasz\r\n");
    QTest::newRow("back to the entry") << Answer::No << QStringList{u"Herr"_s} << QByteArray("Herr\r\n");
}

// The catalog file holds Windows-1252: "Ł" is asked about before it is added, never lost silently.
void TestOptionsCatalogs::catalogEntryWithCharactersTheFileCannotHold() {
    QFETCH(Answer, answer);
    QFETCH(QStringList, listed);
    QFETCH(QByteArray, saved);
    writeFile(catalogPath(12), "Herr\r\n");
    CatalogDialog dialog(12, program_.paths.general);
    QVERIFY(dialog.load());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* edit = child<QLineEdit>(dialog, u"Edit1"_s);
    edit->setText(u"Pan Łukasz"_s);
    interaction_->setNextAnswer(answer);
    QTest::keyClick(edit, Qt::Key_Return);

    QCOMPARE(interaction_->texts(),
             QStringList{u"Der Eintrag enthält Zeichen, die im Katalog nicht gespeichert werden können: Ł\r\rJa: "
                         "Speichern, diese Zeichen werden durch \"?\" ersetzt.\rNein: Zurück zur Eingabe, um den "
                         "Eintrag zu ändern."_s});
    QCOMPARE(listTexts(child<QListWidget>(dialog, u"LB"_s)), listed);
    QCOMPARE(edit->text(), answer == Answer::Yes ? QString() : u"Pan Łukasz"_s);
    QCOMPARE(edit->selectedText(), answer == Answer::Yes ? QString() : u"Pan Łukasz"_s);
    QCOMPARE(QApplication::focusWidget(), edit);
    dialog.accept();
    QCOMPARE(fileBytes(catalogPath(12)), saved);
}

QTEST_MAIN(TestOptionsCatalogs)
#include "tst_options_catalogs.moc"
