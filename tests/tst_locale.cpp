#include "app/german_locale.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QTest>

#include <cstdlib>

using namespace zep;

// Runs under the bare "C.UTF-8" locale, as on a server or in a container without German locales.
class TestLocale : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QLocale::system().name(), QStringLiteral("C"));
        QVERIFY(speakGerman());
    }

    void localeIsGerman() {
        QCOMPARE(QLocale().name(), QStringLiteral("de_DE"));
        QCOMPARE(QLocale().toString(QDate(2026, 12, 10), QLocale::ShortFormat), QStringLiteral("10.12.26"));
        QCOMPARE(QLocale().toString(QDate(2026, 12, 10), QLocale::LongFormat),
                 QStringLiteral("Donnerstag, 10. Dezember 2026"));
        QCOMPARE(QLocale().toString(1234567.5, 'f', 2), QStringLiteral("1.234.567,50"));
        QCOMPARE(QLocale().toDouble(QStringLiteral("12,5")), 12.5);
    }

    // Qt's own dialogs: the file dialog and the buttons of message boxes.
    void qtTextsAreGerman_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("german");
        QTest::newRow("file dialog") << "QFileDialog"
                                     << "Look in:"
                                     << "Suchen in:";
        QTest::newRow("file dialog, new folder") << "QFileDialog"
                                                 << "New Folder"
                                                 << "Neues Verzeichnis";
        QTest::newRow("buttons") << "QPlatformTheme"
                                 << "Cancel"
                                 << "Abbrechen";
    }

    void qtTextsAreGerman() {
        QFETCH(QString, context);
        QFETCH(QString, english);
        QFETCH(QString, german);
        QCOMPARE(QCoreApplication::translate(qPrintable(context), qPrintable(english)), german);
    }
};

int main(int argc, char** argv) {
    ::setenv("LC_ALL", "C.UTF-8", 1);
    ::setenv("LANG", "C.UTF-8", 1);
    ::unsetenv("LANGUAGE");
    QCoreApplication app(argc, argv);
    TestLocale test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_locale.moc"
