#include "app/ui/window_placer.h"

#include "app/ui/modeless_run.h"
#include "app/ui/qt_interaction.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QWindow>

using namespace zep;

namespace {

QRect screenArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// A normal top-level window standing for the main window, shown at a given frame position.
class Owner {
public:
    explicit Owner(QRect frame) {
        window.show();
        const QMargins frameMargins(window.geometry().left() - window.frameGeometry().left(),
                                    window.geometry().top() - window.frameGeometry().top(),
                                    window.frameGeometry().right() - window.geometry().right(),
                                    window.frameGeometry().bottom() - window.geometry().bottom());
        window.setGeometry(frame.marginsRemoved(frameMargins));
        QCoreApplication::processEvents();
    }
    QWidget window;
};

} // namespace

class WindowPlacerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { WindowPlacer::install(*qApp); }

    // Owner frames relative to the screen's available area.
    void dialogStaysWhollyOnTheOwnersScreen_data() {
        const QRect screen = screenArea();
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<bool>("centred");
        QTest::newRow("owner in the middle") << QRect(screen.center() - QPoint(200, 150), QSize(400, 300)) << true;
        QTest::newRow("owner partly off the bottom right")
            << QRect(screen.right() - 100, screen.bottom() - 80, 300, 200) << false;
        QTest::newRow("owner partly off the top left")
            << QRect(screen.left() - 250, screen.top() - 150, 300, 200) << false;
    }

    void dialogStaysWhollyOnTheOwnersScreen() {
        QFETCH(QRect, owner);
        QFETCH(bool, centred);
        Owner main(owner);
        QDialog dialog(&main.window);
        dialog.resize(320, 240);
        dialog.show();
        const QRect frame = dialog.frameGeometry();
        QVERIFY2(screenArea().contains(frame), qPrintable(QStringLiteral("%1,%2").arg(frame.x()).arg(frame.y())));
        if (centred) {
            QCOMPARE(frame.center(), main.window.frameGeometry().center());
        } else {
            // Moved no further than needed: it touches the edge the owner crosses.
            const bool atAnEdge = frame.right() == screenArea().right() || frame.left() == screenArea().left();
            QVERIFY(atAnEdge);
        }
    }

    void statedPlaces_data() {
        const QRect screen = screenArea();
        QTest::addColumn<QString>("place");
        QTest::addColumn<QPoint>("given");
        QTest::addColumn<QPoint>("expected");
        const QSize frame(324, 244); // 320 x 240 and the test platform's frame of 2 pixels
        QTest::newRow("screen centre") << QStringLiteral("screenCentre") << QPoint()
                                       << QPoint(screen.x() + (screen.width() - frame.width()) / 2,
                                                 screen.y() + (screen.height() - frame.height()) / 2);
        QTest::newRow("own place kept") << QStringLiteral("own") << QPoint(30, 40) << QPoint(30, 40);
        QTest::newRow("own place off the screen brought back")
            << QStringLiteral("own") << QPoint(screen.right(), -300)
            << QPoint(screen.right() + 1 - frame.width(), screen.top());
        QTest::newRow("right edge") << QStringLiteral("screenRightEdge") << QPoint()
                                    << QPoint(screen.right() + 1 - frame.width(), screen.top() + 60);
    }

    void statedPlaces() {
        QFETCH(QString, place);
        QFETCH(QPoint, given);
        QFETCH(QPoint, expected);
        Owner main(QRect(screenArea().topLeft() + QPoint(10, 10), QSize(200, 150)));
        QDialog dialog(&main.window);
        dialog.setProperty(StatedPlaceProperty, place);
        dialog.resize(320, 240);
        dialog.move(given);
        dialog.show();
        QCOMPARE(dialog.frameGeometry().size(), QSize(324, 244));
        QCOMPARE(dialog.frameGeometry().topLeft(), expected);
    }

    // Where the user moved a window that is shown again, it stays.
    void onlyTheFirstShowPlaces() {
        Owner main(QRect(screenArea().center() - QPoint(200, 150), QSize(400, 300)));
        QDialog dialog(&main.window);
        dialog.resize(200, 100);
        dialog.show();
        dialog.move(screenArea().topLeft() + QPoint(5, 5));
        dialog.hide();
        dialog.show();
        QCOMPARE(dialog.frameGeometry().topLeft(), screenArea().topLeft() + QPoint(5, 5));
    }

    // The notice window is shown again with every notice, its size following the text: each time centred.
    void noticeWindowIsCentredForEveryText() {
        QtInteraction interaction;
        for (const QString& text :
             {QStringLiteral("Kurz"), QStringLiteral("Ein viel längerer Hinweis, der das Fenster breiter macht")}) {
            interaction.showInfo(text);
            QWidget* notice = nullptr;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->objectName() == QStringLiteral("InfoWindow") && widget->isVisible())
                    notice = widget;
            QVERIFY(notice != nullptr);
            const QPoint offCentre = notice->frameGeometry().center() - screenArea().center();
            QVERIFY2(offCentre.manhattanLength() <= 1, qPrintable(text));
            interaction.hideInfo();
        }
    }

    // A message box sizes itself only as it is shown; it is centred by the size it then has.
    void messageBoxIsCentredByItsFinalSize() {
        Owner main(QRect(screenArea().center() - QPoint(300, 200), QSize(600, 400)));
        QMessageBox box(
            QMessageBox::Question, QStringLiteral("ZEP"),
            QStringLiteral("Der Name enthält Zeichen, die die Baumdatei nicht speichern kann. ").repeated(4),
            QMessageBox::Yes | QMessageBox::No, &main.window);
        box.show();
        QCoreApplication::processEvents();
        const QPoint offCentre = box.frameGeometry().center() - main.window.frameGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 1,
                 qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    }

    // Menus open where they are asked to, not over their owner.
    void popupsAreLeftAlone() {
        Owner main(QRect(screenArea().center() - QPoint(200, 150), QSize(400, 300)));
        QMenu menu(&main.window);
        menu.addAction(QStringLiteral("Öffnen"));
        const QPoint at = screenArea().topLeft() + QPoint(20, 30);
        menu.popup(at);
        QCOMPARE(menu.pos(), at);
        menu.close();
    }

    // Activating the disabled main window brings the modeless window that runs over it back to the front.
    void runningWindowComesBackToTheFront() {
        QWidget main;
        QWidget front(nullptr, Qt::Window);
        main.show();
        front.show();
        main.setEnabled(false);
        QVERIFY(QTest::qWaitForWindowExposed(&front));
        const FrontWindowKeeper keeper(main, front);
        // As the window manager does on a click on the main window.
        main.windowHandle()->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTRY_COMPARE(QApplication::activeWindow(), &front);
        front.hide();
        main.windowHandle()->requestActivate();
        QTRY_COMPARE(QApplication::activeWindow(), &main);
    }
};

QTEST_MAIN(WindowPlacerTest)
#include "tst_window_placer.moc"
