#include "addresses/ui/address_templates_dialog.h"
#include "app/install_paths.h"
#include "data/tdm.h"
#include "fake_associations.h"
#include "scripted_interaction.h"
#include "test_install.h"
#include "tools/installation_layout.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zep;
using zep::test::appendRecord;

namespace {

template <typename T> T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromUtf8(name));
    if (found == nullptr)
        qFatal("control %s missing", name);
    return found;
}

void click(QWidget& window, const char* name) {
    QTest::mouseClick(child<QPushButton>(window, name), Qt::LeftButton);
}

// An installation with the templates "Brief" (1) and "Etikett" (2) and an open client.
struct Fixture {
    Fixture() {
        paths = InstallPaths::fromDirectory(tmp.filePath(QStringLiteral("inst")));
        ensureInstallationLayout(paths.root);
        Table templates;
        test::openTable(templates, paths.general, QStringLiteral("AdrVorlage.DB"));
        brief = appendRecord(templates, {{"Name", "Brief"}, {"Adr", "[Name1]\r\n[Ort]\r\n"}});
        etikett = appendRecord(templates, {{"Name", "Etikett"}, {"Adr", "[PLZ1] [Ort]\r\n"}});
        const QString data = tmp.filePath(QStringLiteral("Kunde/Daten"));
        test::createClientTables(data);
        dm = std::make_unique<TDM>(paths, interaction, associations);
        dm->DMCreate();
        dm->SetClientDataDir(data);
        opened = dm->OpenClientTables() == 0;
    }

    QString storedText(qint64 nr) {
        Table templates;
        test::openTable(templates, paths.general, QStringLiteral("AdrVorlage.DB"));
        return templates.locate(u"Nr", nr) ? templates.field(u"Adr").asString() : QStringLiteral("<fehlt>");
    }

    std::unique_ptr<AddressTemplatesDialog> dialog(int current) {
        currentNr = current;
        return std::make_unique<AddressTemplatesDialog>(
            *dm, paths.general, [this] { return currentNr; },
            [this](int nr) {
                setTo << nr;
                currentNr = nr;
            });
    }

    QTemporaryDir tmp;
    InstallPaths paths;
    test::ScriptedInteraction interaction;
    test::FakeAssociations associations;
    std::unique_ptr<TDM> dm;
    qint64 brief = 0;
    qint64 etikett = 0;
    bool opened = false;
    int currentNr = 0;
    QList<int> setTo;
};

} // namespace

class AddressTemplateDialogTest : public QObject {
    Q_OBJECT

private slots:
    // The edit belongs to the template it was made in, even when another row is selected first.
    void editStoredBeforeAnotherIsShown() {
        Fixture f;
        QVERIFY(f.opened);
        auto dialog = f.dialog(int(f.brief));
        dialog->show();
        auto* memo = child<QPlainTextEdit>(*dialog, "MB");
        QCOMPARE(memo->toPlainText(), QStringLiteral("[Name1]\n[Ort]"));
        QCOMPARE(child<QLabel>(*dialog, "LblAktuell")->text(), QStringLiteral("Brief"));
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, QStringLiteral(" Sued"));
        f.dm->TAdrVor.next();
        QCOMPARE(memo->toPlainText(), QStringLiteral("[PLZ1] [Ort]"));
        QCOMPARE(f.storedText(f.brief), QStringLiteral("[Name1]\r\n[Ort] Sued\r\n"));
        QCOMPARE(f.dm->TAdrVor.field(u"Name").asString(), QStringLiteral("Etikett"));
        QCOMPARE(f.storedText(f.etikett), QStringLiteral("[PLZ1] [Ort]\r\n"));
        QVERIFY(f.interaction.texts().isEmpty());
    }

    void fieldInsertedAtCaret() {
        Fixture f;
        auto dialog = f.dialog(int(f.brief));
        dialog->show();
        auto* names = child<QListWidget>(*dialog, "LB");
        names->clear();
        names->addItems({QStringLiteral("Name1"), QStringLiteral("Strasse")});
        names->setCurrentRow(1);
        auto* memo = child<QPlainTextEdit>(*dialog, "MB");
        memo->moveCursor(QTextCursor::Start);
        click(*dialog, "BtnAddField");
        QCOMPARE(memo->toPlainText(), QStringLiteral("[Strasse] [Name1]\n[Ort]"));
    }

    // "Neue Adressvorlage" insists on a name and appends the template with an empty text.
    void newTemplateNeedsAName() {
        Fixture f;
        const int before = f.dm->TAdrVor.recordCount();
        NewAddressTemplateDialog dialog(*f.dm);
        dialog.show();
        click(dialog, "BtnOK");
        QVERIFY(dialog.isVisible());
        QCOMPARE(f.interaction.texts(), QStringList{QStringLiteral("Geben Sie einen Namen ein !")});
        QCOMPARE(f.dm->TAdrVor.recordCount(), before);
        QTest::keyClicks(child<QLineEdit>(dialog, "Edit1"), QStringLiteral("Kurz"));
        click(dialog, "BtnOK");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(f.dm->TAdrVor.recordCount(), before + 1);
        QCOMPARE(f.dm->TAdrVor.field(u"Name").asString(), QStringLiteral("Kurz"));
        QCOMPARE(f.dm->TAdrVor.field(u"Adr").asString(), QString());
    }

    // Closing with a current number that has no template asks: Yes keeps the dialog open, No makes
    // the selected template current.
    void closingQuestion_data() {
        QTest::addColumn<bool>("dangling");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("stillOpen");
        QTest::addColumn<bool>("etikettMadeCurrent");
        QTest::newRow("current template exists") << false << -1 << false << false;
        QTest::newRow("dangling, Yes") << true << int(Answer::Yes) << true << false;
        QTest::newRow("dangling, No") << true << int(Answer::No) << false << true;
    }
    void closingQuestion() {
        QFETCH(bool, dangling);
        QFETCH(int, answer);
        QFETCH(bool, stillOpen);
        QFETCH(bool, etikettMadeCurrent);
        Fixture f;
        auto dialog = f.dialog(dangling ? 99 : int(f.brief));
        dialog->show();
        QVERIFY(f.dm->TAdrVor.locate(u"Nr", f.etikett));
        if (answer >= 0)
            f.interaction.setNextAnswer(Answer(answer));
        click(*dialog, "BtnOK");
        QCOMPARE(dialog->isVisible(), stillOpen);
        QCOMPARE(f.interaction.texts(),
                 answer < 0 ? QStringList()
                            : QStringList{QStringLiteral("Die aktuelle Adressvorlage ist nicht vorhanden\rWollen Sie "
                                                         "die aktuelle Adressvorlage jetzt setzen?")});
        if (answer >= 0)
            QCOMPARE(f.interaction.shown().last().look, QuestionLook::Warning);
        QCOMPARE(f.setTo, etikettMadeCurrent ? QList<int>{int(f.etikett)} : QList<int>());
        if (!stillOpen && !dangling)
            QCOMPARE(f.dm->TAdrVor.field(u"Nr").asInteger(), f.brief); // back on the current template
    }

    void deleteAsksFirst() {
        Fixture f;
        auto dialog = f.dialog(int(f.brief));
        dialog->show();
        const int before = f.dm->TAdrVor.recordCount();
        QCOMPARE(f.dm->TAdrVor.field(u"Nr").asInteger(), f.brief);
        f.interaction.setNextAnswer(Answer::No);
        click(*dialog, "BtnDel");
        QCOMPARE(f.dm->TAdrVor.recordCount(), before);
        f.interaction.setNextAnswer(Answer::Yes);
        click(*dialog, "BtnDel");
        QCOMPARE(f.dm->TAdrVor.recordCount(), before - 1);
        QCOMPARE(f.interaction.texts(), QStringList(2, QStringLiteral("Vorlage wirklich löschen ?")));
        QCOMPARE(f.storedText(f.brief), QStringLiteral("<fehlt>"));
    }
};

QTEST_MAIN(AddressTemplateDialogTest)
#include "tst_address_template_dialog.moc"
