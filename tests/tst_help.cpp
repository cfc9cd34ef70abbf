#include "app/program.h"
#include "app/startup.h"
#include "app/ui/help_window.h"
#include "tools/help_pages.h"
#include "tools/installation_layout.h"
#include "tools/ui/catalog_dialog.h"

#include "scripted_interaction.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace zep;

namespace {

// An installation laid out as the build does it, with the help folder.
struct Installation {
    Installation() {
        ensureInstallationLayout(tmp.path());
        program = loadProgram(tmp.path());
        Program::setInstance(&program);
    }
    ~Installation() { Program::setInstance(nullptr); }
    QTemporaryDir tmp;
    Program program;
};

QString shownText(HelpWindow& window) {
    return window.browser()->toPlainText();
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void everyNamedTopicHasItsPage_data() {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("title");
        QTest::newRow("anw010") << "anw010"
                                << "Anwendungen";
        QTest::newRow("dok020") << "dok020"
                                << "Neues Dokument und Dokument kopieren";
        QTest::newRow("dok030") << "dok030"
                                << "Dokument hinzufügen";
        QTest::newRow("dok100") << "dok100"
                                << "Dokument-Detail";
        QTest::newRow("dok111") << "dok111"
                                << "Tabellenspalten anordnen";
        QTest::newRow("not010") << "not010"
                                << "Neue Notiz";
        QTest::newRow("Adr080") << "Adr080"
                                << "Adressvorlagen für die Zwischenablage";
        QTest::newRow("adr090") << "adr090"
                                << "Adressen drucken";
        QTest::newRow("adr100") << "adr100"
                                << "Briefumschlag drucken";
        QTest::newRow("catalogs") << "100"
                                  << "Kataloge";
        QTest::newRow("tip010") << "tip010"
                                << "Tips und Tricks";
        QTest::newRow("zep050") << "zep050"
                                << "Support";
    }

    // Each topic the windows ask for opens its own page, not the notice of a missing one.
    void everyNamedTopicHasItsPage() {
        QFETCH(QString, topic);
        QFETCH(QString, title);
        Installation inst;
        HelpWindow window(inst.program.paths.helpDir);
        window.showTopic(topic);
        QCOMPARE(window.browser()->documentTitle(), title);
        QVERIFY(shownText(window).startsWith(title));
        QVERIFY(!shownText(window).contains(QStringLiteral("Keine Hilfeseite")));
    }

    // The contents names every page, and every link of every page leads to a page that exists.
    void contentsAndLinksLeadToPages() {
        Installation inst;
        HelpWindow window(inst.program.paths.helpDir);
        window.showTopic({});
        for (const HelpPage& page : helpPages())
            QVERIFY2(shownText(window).contains(page.title), qPrintable(page.title));
        QStringList targets;
        const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
        for (const HelpPage& page : helpPages()) {
            QFile file(QDir(inst.program.paths.helpDir).filePath(helpPageFileName(page.topic)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const auto& match : link.globalMatch(QString::fromUtf8(file.readAll())))
                targets.append(match.captured(1));
        }
        for (const auto& match : link.globalMatch(helpContentsHtml()))
            targets.append(match.captured(1));
        targets.removeDuplicates();
        QVERIFY(targets.size() > helpPages().size());
        for (const QString& target : std::as_const(targets)) {
            window.browser()->setSource(QUrl(target));
            QVERIFY2(!shownText(window).contains(QStringLiteral("Keine Hilfeseite")), qPrintable(target));
        }
    }

    // Back and forward walk the pages shown; a topic without a page says so.
    void backForwardAndMissingPage() {
        Installation inst;
        HelpWindow window(inst.program.paths.helpDir);
        auto* back = window.findChild<QToolButton*>(QStringLiteral("BtnZurueck"));
        auto* forward = window.findChild<QToolButton*>(QStringLiteral("BtnVor"));
        window.showTopic(QStringLiteral("tip010"));
        QVERIFY(!back->isEnabled());
        window.showTopic(QStringLiteral("zep050"));
        window.showTopic(QStringLiteral("gibtsnicht"));
        QVERIFY(shownText(window).contains(QStringLiteral("Zu „gibtsnicht“ gibt es keine Hilfeseite.")));
        back->click();
        QCOMPARE(window.browser()->documentTitle(), QStringLiteral("Support"));
        back->click();
        QCOMPARE(window.browser()->documentTitle(), QStringLiteral("Tips und Tricks"));
        QVERIFY(!back->isEnabled());
        forward->click();
        QCOMPARE(window.browser()->documentTitle(), QStringLiteral("Support"));
        window.findChild<QToolButton*>(QStringLiteral("BtnInhalt"))->click();
        QCOMPARE(window.browser()->documentTitle(), QStringLiteral("Inhalt"));
    }

    // A page the user changed survives the next layout; a removed one comes back.
    void changedPagesAreKept() {
        Installation inst;
        const QDir help(inst.program.paths.helpDir);
        QFile changed(help.filePath(QStringLiteral("tip010.html")));
        QVERIFY(changed.open(QIODevice::WriteOnly) && changed.write("<html><body>eigene Tips</body></html>") > 0);
        changed.close();
        QVERIFY(QFile::remove(help.filePath(QStringLiteral("zep050.html"))));
        writeDefaultHelpPages(help.path());
        QVERIFY(changed.open(QIODevice::ReadOnly));
        QCOMPARE(changed.readAll(), QByteArray("<html><body>eigene Tips</body></html>"));
        QVERIFY(help.exists(QStringLiteral("zep050.html")));
    }

    // The catalog editor's help button opens the catalogs page in a window of the running dialog.
    void catalogHelpButtonOpensItsPage() {
        Installation inst;
        test::ScriptedInteraction ui;
        QString title;
        bool helpUsable = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            dialog->findChild<QPushButton*>(QStringLiteral("BtnHelp"))->click();
            auto* help = dialog->findChild<HelpWindow*>();
            QVERIFY(help != nullptr);
            title = help->browser()->documentTitle();
            // A window of the modal dialog itself is not blocked by it.
            helpUsable = help->parentWidget() == dialog && help->isVisible();
            static_cast<QDialog*>(dialog)->reject();
        });
        EditCatalog(1, nullptr);
        QCOMPARE(title, QStringLiteral("Kataloge"));
        QVERIFY(helpUsable);
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
