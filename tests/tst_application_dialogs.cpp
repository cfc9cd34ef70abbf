#include "app/install_paths.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "documents/shell_open.h"
#include "documents/ui/application_edit_dialog.h"
#include "documents/ui/application_list_dialog.h"
#include "documents/ui/open_with_dialog.h"
#include "documents/ui/template_creation_dialog.h"
#include "fake_associations.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sqlite3.h>

using namespace zep;
using zep::test::appendRecord;

namespace {

class NoLauncher : public ProgramLauncher {
public:
    int start(const QString& program, const QStringList& arguments, const QString& directory) override {
        calls << program + u'|' + arguments.join(u'|');
        directories << directory;
        return shell_code::Started;
    }
    int openWithDesktop(const QString& document, const QString&, std::function<void()>) override {
        calls << u'|' + document;
        return shell_code::Started;
    }
    QStringList calls;
    QStringList directories;
};

template <typename T> T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromUtf8(name));
    if (found == nullptr)
        qFatal("control %s missing", name);
    return found;
}

void click(QWidget& window, const char* name) {
    QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton);
}

QString writeIcon(const QString& path, QColor colour) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    return image.save(path) ? path : QString();
}

QColor centre(const QLabel* label) {
    return label->pixmap().toImage().pixelColor(16, 16);
}

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// Another program holds the write lock of a table file while it lives.
class WriteLock {
public:
    explicit WriteLock(const QString& file) {
        sqlite3_open(file.toUtf8().constData(), &db_);
        locked = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~WriteLock() {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
    bool locked = false;

private:
    sqlite3* db_ = nullptr;
};

} // namespace

class ApplicationDialogsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir tmp_;
    InstallPaths paths_;
    test::FakeAssociations associations_;
    QString program_;
    QString red_;
    QString blue_;
    int installs_ = 0;

    // A fresh installation whose register holds "txt" and "odt" twice.
    InstallPaths freshInstallation() {
        const InstallPaths paths =
            InstallPaths::fromDirectory(tmp_.filePath(QStringLiteral("inst%1").arg(++installs_)));
        ensureInstallationLayout(paths.root);
        Table pro;
        test::openTable(pro, paths.general, QStringLiteral("Programm.DB"));
        appendRecord(pro, {{"Ext", "txt"}, {"Titel", "Editor"}, {"Anw", program_}, {"IconNr", 1}});
        appendRecord(pro, {{"Ext", "odt"}, {"Titel", "Schreiben"}, {"Anw", "/opt/zep/writer"}, {"IconNr", 0}});
        appendRecord(pro, {{"Ext", "odt"}, {"Titel", "Büro"}, {"Anw", "/opt/zep/office"}, {"IconNr", 0}});
        return paths;
    }

    QStringList registerRows(const InstallPaths& paths) {
        Table pro;
        test::openTable(pro, paths.general, QStringLiteral("Programm.DB"));
        QStringList rows;
        for (pro.first(); !pro.eof(); pro.next())
            rows << QStringLiteral("%1|%2|%3|%4")
                        .arg(pro.field(u"Ext").asString(), pro.field(u"Titel").asString(), pro.field(u"Anw").asString())
                        .arg(pro.field(u"IconNr").asInteger());
        return rows;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true); // the trash lies below the test's own data directory
        program_ = tmp_.filePath(QStringLiteral("edit"));
        touch(program_);
        red_ = writeIcon(tmp_.filePath(QStringLiteral("red.png")), Qt::red);
        blue_ = writeIcon(tmp_.filePath(QStringLiteral("blue.png")), Qt::blue);
        associations_.setProgramIcons(program_, {red_, blue_});
        associations_.setRegisteredExtensions({QStringLiteral("doc"), QStringLiteral("html"), QStringLiteral("odt")});
        associations_.setFileType(QStringLiteral("odt"), {QStringLiteral("application/vnd.oasis.opendocument.text"),
                                                          QStringLiteral("ODF-Textdokument")});
        associations_.setVerbCommand(
            QStringLiteral("application/vnd.oasis.opendocument.text"), DocumentVerb::Open,
            {QStringLiteral("\"/opt/zep/my writer\" --writer %U"), QString(), QString(), QString()});
    }

    // OK stores what was typed, unchecked; without a template file the user is asked, and only a
    // Yes (after the template dialog) or an existing template rebuilds the icon cache.
    void saveNewApplication_data() {
        QTest::addColumn<bool>("templatePresent");
        QTest::addColumn<int>("answer"); // -1: no question expected
        QTest::addColumn<bool>("iconsRebuilt");
        QTest::addColumn<int>("templateDialogs");
        QTest::newRow("template present") << true << -1 << true << 0;
        QTest::newRow("no template, No") << false << int(Answer::No) << false << 0;
        QTest::newRow("no template, Yes") << false << int(Answer::Yes) << true << 1;
    }
    void saveNewApplication() {
        QFETCH(bool, templatePresent);
        QFETCH(int, answer);
        QFETCH(bool, iconsRebuilt);
        QFETCH(int, templateDialogs);
        const InstallPaths paths = freshInstallation();
        if (templatePresent)
            touch(paths.templates + QStringLiteral("/Vorlage.zzt"));
        test::ScriptedInteraction interaction;
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.unlinkApplications();
        NoLauncher launcher;
        ApplicationEditDialog dialog(dm, paths.templates, launcher);
        QStringList templateCalls;
        dialog.setTemplateDialog(
            [&](const QString& program, const QString& ext) { templateCalls << program + u'|' + ext; });
        dialog.setNewMode(true);
        dialog.show();
        QCOMPARE(child<QComboBox>(dialog, "BoxExe")->currentText(), QStringLiteral("---"));
        child<QLineEdit>(dialog, "EditTitel")->setText(QStringLiteral("Zett"));
        child<QComboBox>(dialog, "BoxExe")->setEditText(QStringLiteral("zzt"));
        child<QLineEdit>(dialog, "EditPfad")->setText(program_);
        QCOMPARE(child<QLineEdit>(dialog, "VorExe")->text(), QStringLiteral("*.zzt"));
        if (answer >= 0)
            interaction.setNextAnswer(Answer(answer));
        click(dialog, "BtnOK");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(registerRows(paths).contains(QStringLiteral("zzt|Zett|%1|0").arg(program_)));
        QCOMPARE(interaction.texts(),
                 answer < 0 ? QStringList()
                            : QStringList{QStringLiteral("Ohne Vorlagendatei können Sie keine neuen Dokumente "
                                                         "erstellen. Jetzt Vorlagendatei hinzufügen ?")});
        if (answer >= 0)
            QCOMPARE(interaction.shown().last().look, QuestionLook::Error);
        QCOMPARE(dm.IList.large(QStringLiteral("zzt")), iconsRebuilt ? red_ : QString());
        QCOMPARE(templateCalls.size(), templateDialogs);
        if (templateDialogs > 0)
            QCOMPARE(templateCalls.first(), program_ + QStringLiteral("|zzt"));
    }

    // A refused post is reported, taken back, and leaves the register as it was; the dialog closes.
    void refusedPostIsTakenBack() {
        const InstallPaths paths = freshInstallation();
        touch(paths.templates + QStringLiteral("/Vorlage.zzt"));
        test::ScriptedInteraction interaction;
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.unlinkApplications();
        const QStringList before = registerRows(paths);
        NoLauncher launcher;
        ApplicationEditDialog dialog(dm, paths.templates, launcher);
        dialog.setNewMode(true);
        dialog.show();
        child<QComboBox>(dialog, "BoxExe")->setEditText(QStringLiteral("zzt"));
        {
            WriteLock lock(paths.general + QStringLiteral("/Programm.DB"));
            QVERIFY(lock.locked);
            click(dialog, "BtnOK");
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(interaction.shown().size(), 1);
        QCOMPARE(interaction.shown().first().kind, test::ScriptedInteraction::Kind::Error);
        QCOMPARE(dm.TPro.state(), DataSetState::Browse);
        QCOMPARE(dm.TPro.recordCount(), before.size());
        QCOMPARE(registerRows(paths), before);
        // The register takes the next record normally.
        dialog.setNewMode(true);
        dialog.show();
        child<QComboBox>(dialog, "BoxExe")->setEditText(QStringLiteral("zzt"));
        click(dialog, "BtnOK");
        QCOMPARE(registerRows(paths).size(), before.size() + 1);
    }

    // Edit mode shows the record; a new path previews icon 0 but the stored number changes only by a
    // click into the icon grid.
    void iconNumberChangesOnlyByClick() {
        const InstallPaths paths = freshInstallation();
        touch(paths.templates + QStringLiteral("/a.txt"));
        test::ScriptedInteraction interaction;
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.unlinkApplications();
        QVERIFY(dm.TPro.locate(u"Ext", QStringLiteral("txt")));
        NoLauncher launcher;
        ApplicationEditDialog dialog(dm, paths.templates, launcher);
        dialog.setNewMode(false);
        dialog.show();
        auto* preview = child<QLabel>(dialog, "I1");
        QCOMPARE(child<QLineEdit>(dialog, "EditTitel")->text(), QStringLiteral("Editor"));
        QCOMPARE(child<QLineEdit>(dialog, "VorExe")->text(), QStringLiteral("*.txt"));
        QCOMPARE(child<QListWidget>(dialog, "FLB")->count(), 2); // with the installation's letter template
        QCOMPARE(centre(preview), QColor(Qt::blue));
        child<QLineEdit>(dialog, "EditPfad")->clear();
        QTest::keyClicks(child<QLineEdit>(dialog, "EditPfad"), program_);
        QCOMPARE(centre(preview), QColor(Qt::red));
        QCOMPARE(dialog.iconNumber(), 1);
        // A name the icon theme lacks is not offered as an empty cell; the cells keep the numbers.
        associations_.setProgramIcons(program_, {red_, QStringLiteral("zep-ohne-bild"), blue_});
        click(dialog, "BtnSymbol");
        auto* grid = child<QTableWidget>(dialog, "GridIcon");
        QCOMPARE(grid->columnCount(), 2);
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 1)->toolTip(), blue_);
        emit grid->cellClicked(0, 1);
        QCOMPARE(dialog.iconNumber(), 2);
        QCOMPARE(centre(preview), QColor(Qt::blue));
        click(dialog, "BtnOK");
        QVERIFY(registerRows(paths).contains(QStringLiteral("txt|Editor|%1|2").arg(program_)));
        QVERIFY(interaction.texts().isEmpty());
    }

    // The list offers short registered extensions; only a choice from the opened list looks it up.
    void extensionLookup() {
        const InstallPaths paths = freshInstallation();
        test::ScriptedInteraction interaction;
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.unlinkApplications();
        NoLauncher launcher;
        ApplicationEditDialog dialog(dm, paths.templates, launcher);
        dialog.setNewMode(true);
        dialog.show();
        auto* box = child<QComboBox>(dialog, "BoxExe");
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        QCOMPARE(items, (QStringList{QStringLiteral("doc"), QStringLiteral("odt")}));
        box->setCurrentIndex(1); // without the list opened: typed, not chosen
        QCOMPARE(child<QLineEdit>(dialog, "EditTitel")->text(), QString());
        box->setCurrentIndex(0);
        box->showPopup();
        box->setCurrentIndex(1);
        box->hidePopup();
        QCOMPARE(child<QLineEdit>(dialog, "EditTitel")->text(), QStringLiteral("ODF-Textdokument"));
        QCOMPARE(child<QLineEdit>(dialog, "EditPfad")->text(), QStringLiteral("/opt/zep/my writer"));
        QCOMPARE(child<QLineEdit>(dialog, "VorExe")->text(), QStringLiteral("*.odt"));
        box->setCurrentIndex(0); // the choice disarmed the lookup
        QCOMPARE(child<QLineEdit>(dialog, "EditTitel")->text(), QStringLiteral("ODF-Textdokument"));
    }

    // The template list follows the directory; "Löschen" moves the selected file into the trash.
    void templateListFollowsDirectory() {
        const InstallPaths paths = freshInstallation();
        test::ScriptedInteraction interaction;
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.unlinkApplications();
        NoLauncher launcher;
        ApplicationEditDialog dialog(dm, paths.templates, launcher);
        dialog.setNewMode(true);
        dialog.show();
        child<QComboBox>(dialog, "BoxExe")->setEditText(QStringLiteral("zzt"));
        auto* list = child<QListWidget>(dialog, "FLB");
        auto* remove = child<QPushButton>(dialog, "BtnVorDel");
        QCOMPARE(list->count(), 0);
        QVERIFY(!remove->isEnabled());
        touch(paths.templates + QStringLiteral("/b.zzt"));
        QTRY_COMPARE(list->count(), 1); // the one-second timer
        QVERIFY(remove->isEnabled());
        list->setCurrentRow(0);
        touch(paths.templates + QStringLiteral("/a.zzt"));
        dialog.SyncFileList();
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->currentItem()->text(), QStringLiteral("b.zzt"));
        click(dialog, "BtnVorEdit");
        QCOMPARE(launcher.calls, QStringList{u'|' + paths.templates + QStringLiteral("/b.zzt")});
        click(dialog, "BtnVorDel");
        QVERIFY(!QFile::exists(paths.templates + QStringLiteral("/b.zzt")));
        const QString trash =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash/files");
        QVERIFY(!QDir(trash).entryList({QStringLiteral("b*.zzt")}, QDir::Files).isEmpty());
        QCOMPARE(list->count(), 1);
        QVERIFY(interaction.texts().isEmpty());
    }

    // TN01 holds every application while shown and follows the document again when closed; delete
    // asks first.
    void listDialog() {
        const InstallPaths paths = freshInstallation();
        test::ScriptedInteraction interaction;
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        const QString dataDir = tmp_.filePath(QStringLiteral("client%1").arg(installs_));
        test::createClientTables(dataDir);
        {
            Table dok;
            test::openTable(dok, dataDir, QStringLiteral("Dok.DB"));
            appendRecord(dok, {{"Ext", "txt"}, {"Datei", "a.txt"}});
        }
        dm.SetClientDataDir(dataDir);
        QCOMPARE(dm.OpenClientTables(), 0);
        QCOMPARE(dm.TPro.recordCount(), 1);
        NoLauncher launcher;
        auto dialog = std::make_unique<ApplicationListDialog>(dm, paths.templates, launcher);
        dialog->show();
        auto* grid = dialog->findChild<QListWidget*>(QStringLiteral("Grid"));
        QVERIFY(grid);
        QCOMPARE(grid->count(), 3);
        QCOMPARE(dm.TPro.recordCount(), 3);
        grid->setCurrentRow(2);
        QCOMPARE(dm.TPro.field(u"Ext").asString(), QStringLiteral("txt"));
        interaction.setNextAnswer(Answer::No);
        click(*dialog, "BtnDel");
        QCOMPARE(registerRows(paths).size(), 3);
        interaction.setNextAnswer(Answer::Yes);
        click(*dialog, "BtnDel");
        QCOMPARE(interaction.texts(), QStringList(2, QStringLiteral("Wirklich löschen?")));
        QCOMPARE(registerRows(paths).size(), 2);
        QCOMPARE(grid->count(), 2);
        click(*dialog, "BtnOK");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dm.TPro.recordCount(), 0); // no application for "txt" any more
    }

    // TN06 lists the applications of the document's extension; OK takes the selected one's program.
    void chooser_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("program");
        QTest::newRow("second chosen") << true << "/opt/zep/office";
        QTest::newRow("Abort") << false << "";
    }
    void chooser() {
        QFETCH(bool, ok);
        QFETCH(QString, program);
        const InstallPaths paths = freshInstallation();
        test::ScriptedInteraction interaction;
        TDM dm(paths, interaction, associations_);
        QVERIFY(dm.DMCreate());
        dm.unlinkApplications();
        dm.TPro.setFilterText(QStringLiteral("Ext='odt'"));
        dm.TPro.setFiltered(true);
        QCOMPARE(dm.TPro.recordCount(), 2);
        QTimer::singleShot(0, this, [ok] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            auto* grid = dialog->findChild<QListWidget*>(QStringLiteral("DBCtrlGrid1"));
            QCOMPARE(grid->count(), 2);
            grid->setCurrentRow(1);
            QTest::mouseClick(
                dialog->findChild<QPushButton*>(ok ? QStringLiteral("BitBtn11") : QStringLiteral("BitBtn12")),
                Qt::LeftButton);
        });
        const std::optional<QString> chosen = OpenWithDialog::choose(dm.DPro, nullptr);
        QCOMPARE(chosen.has_value(), ok);
        if (ok)
            QCOMPARE(*chosen, program);
    }

    void templateCreationShowsTheTwoWays() {
        const InstallPaths paths = freshInstallation();
        NoLauncher launcher;
        TemplateCreationDialog dialog(program_, QStringLiteral("zzt"), paths.templates, launcher);
        QCOMPARE(dialog.objectName(), QStringLiteral("TN03"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Vorlage erstellen"));
        QCOMPARE(child<QPlainTextEdit>(dialog, "Memo1")->toPlainText().split(u'\n'),
                 (QStringList{
                     "1. Möglichkeit:",
                     "Starten Sie die Anwendung und speichern Sie eine Datei in das Vorlagenverzeichnis von ZEP.", " ",
                     "2. Möglichkeit:", "Kopieren Sie eine entsprechende Datei in das Vorlagenverzeichnis von ZEP.",
                     " ", "Vorlagenverzeichnis von ZEP:", QDir(paths.templates).absolutePath()}));
        QVERIFY(child<QPlainTextEdit>(dialog, "Memo1")->isReadOnly());
        QCOMPARE(child<QPushButton>(dialog, "BtnStart")->text(), QStringLiteral("Anwendung starten"));
        QCOMPARE(child<QPushButton>(dialog, "BtnCopy")->text(), QStringLiteral("Datei kopieren"));
    }

    // The application starts without a document, in the templates directory, and the dialog closes.
    void templateCreationStartsTheApplicationInTheTemplates() {
        const InstallPaths paths = freshInstallation();
        NoLauncher launcher;
        TemplateCreationDialog dialog(program_, QStringLiteral("zzt"), paths.templates, launcher);
        dialog.show();
        click(dialog, "BtnStart");
        QCOMPARE(launcher.calls, QStringList{program_ + u'|'});
        QCOMPARE(launcher.directories, QStringList{paths.templates});
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void templateCreationCopiesAFile_data() {
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<bool>("targetBlocked");
        QTest::addColumn<bool>("copied");
        QTest::newRow("copied, the dialog closes") << true << false << true;
        QTest::newRow("cancelled, the dialog stays") << false << false << false;
        QTest::newRow("copy fails, message, the dialog stays") << true << true << false;
    }

    void templateCreationCopiesAFile() {
        QFETCH(bool, chosen);
        QFETCH(bool, targetBlocked);
        QFETCH(bool, copied);
        const InstallPaths paths = freshInstallation();
        QTemporaryDir elsewhere;
        const QString source = elsewhere.filePath(QStringLiteral("Brief Müller.zzt"));
        touch(source);
        const QString target = QDir(paths.templates).filePath(QStringLiteral("Brief Müller.zzt"));
        if (targetBlocked)
            QVERIFY(QDir().mkpath(target + QStringLiteral("/belegt")));
        test::ScriptedInteraction interaction;
        interaction.setNextFile(chosen ? source : QString());
        NoLauncher launcher;
        TemplateCreationDialog dialog(program_, QStringLiteral("zzt"), paths.templates, launcher);
        dialog.show();
        click(dialog, "BtnCopy");
        QCOMPARE(dialog.isVisible(), !copied);
        QCOMPARE(QFileInfo(target).isFile(), copied);
        QCOMPARE(interaction.shown().first().caption, QStringLiteral("Datei kopieren"));
        QCOMPARE(interaction.shown().first().filter, QStringLiteral("zzt (*.zzt);;ALLE (*)"));
        QCOMPARE(interaction.texts().mid(1),
                 targetBlocked ? QStringList{QStringLiteral("Die Datei \"%1\" konnte nicht nach \"%2\" kopiert werden.")
                                                 .arg(source, target)}
                               : QStringList());
        QVERIFY(QFileInfo(source).isFile());
    }
};

QTEST_MAIN(ApplicationDialogsTest)
#include "tst_application_dialogs.moc"
