#include "app/window_placement.h"

#include <QTest>

using namespace zep;

Q_DECLARE_METATYPE(zep::StatedPlace)

namespace {

// A screen of 1400 x 1000 with a panel of 30 pixels at its top, and a second one to its right.
const QRect FirstScreen(0, 30, 1400, 970);
const QRect SecondScreen(1400, 0, 1024, 768);

} // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

private slots:
    void placement_data() {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<int>("place");
        QTest::addColumn<QPoint>("own");
        QTest::addColumn<QPoint>("topLeft");

        const int none = int(StatedPlace::None);
        QTest::newRow("centred over an owner in the middle")
            << QRect(200, 100, 800, 600) << QSize(400, 300) << FirstScreen << none << QPoint() << QPoint(400, 250);
        QTest::newRow("odd remainder rounds towards the top left")
            << QRect(0, 100, 801, 601) << QSize(400, 300) << FirstScreen << none << QPoint() << QPoint(200, 250);
        QTest::newRow("owner at the right edge: window pushed back left")
            << QRect(1200, 300, 300, 200) << QSize(400, 300) << FirstScreen << none << QPoint() << QPoint(1000, 250);
        QTest::newRow("owner above the top: window below the panel")
            << QRect(100, -400, 600, 500) << QSize(400, 300) << FirstScreen << none << QPoint() << QPoint(200, 30);
        QTest::newRow("owner below the bottom: window above it")
            << QRect(100, 900, 600, 500) << QSize(400, 300) << FirstScreen << none << QPoint() << QPoint(200, 700);
        QTest::newRow("owner off the left edge")
            << QRect(-500, 300, 400, 200) << QSize(400, 300) << FirstScreen << none << QPoint() << QPoint(0, 250);
        QTest::newRow("no owner: centred on the screen")
            << QRect() << QSize(400, 300) << FirstScreen << none << QPoint() << QPoint(500, 365);
        QTest::newRow("larger than the screen: top left corner stays on it")
            << QRect(200, 100, 800, 600) << QSize(1600, 1200) << FirstScreen << none << QPoint() << QPoint(0, 30);
        QTest::newRow("second screen: kept on that screen")
            << QRect(2000, 500, 600, 400) << QSize(500, 400) << SecondScreen << none << QPoint() << QPoint(1924, 368);
        QTest::newRow("own position on the screen is kept")
            << QRect(200, 100, 800, 600) << QSize(400, 300) << FirstScreen << int(StatedPlace::Own) << QPoint(50, 60)
            << QPoint(50, 60);
        QTest::newRow("own position off the screen is moved onto it")
            << QRect(200, 100, 800, 600) << QSize(400, 300) << FirstScreen << int(StatedPlace::Own) << QPoint(1300, -20)
            << QPoint(1000, 30);
        QTest::newRow("screen centre whatever the owner")
            << QRect(0, 30, 300, 200) << QSize(400, 300) << FirstScreen << int(StatedPlace::ScreenCentre) << QPoint()
            << QPoint(500, 365);
        QTest::newRow("bottom right, 20 pixels above the bottom")
            << QRect(0, 30, 300, 200) << QSize(400, 300) << FirstScreen << int(StatedPlace::ScreenBottomRight)
            << QPoint() << QPoint(1000, 680);
        QTest::newRow("right edge, 60 pixels below the top")
            << QRect(0, 30, 300, 200) << QSize(400, 300) << FirstScreen << int(StatedPlace::ScreenRightEdge) << QPoint()
            << QPoint(1000, 90);
        QTest::newRow("bottom right on a screen too low for it")
            << QRect() << QSize(400, 760) << SecondScreen << int(StatedPlace::ScreenBottomRight) << QPoint()
            << QPoint(2024, 0);
        QTest::newRow("right edge on a second screen")
            << QRect() << QSize(300, 200) << SecondScreen << int(StatedPlace::ScreenRightEdge) << QPoint()
            << QPoint(2124, 60);
    }

    void placement() {
        QFETCH(QRect, owner);
        QFETCH(QSize, frame);
        QFETCH(QRect, screen);
        QFETCH(int, place);
        QFETCH(QPoint, own);
        QFETCH(QPoint, topLeft);
        const QPoint placed = placedTopLeft({owner, frame, screen, StatedPlace(place), own});
        QCOMPARE(placed, topLeft);
        // Whatever was asked, a window that fits lies wholly on the screen.
        if (frame.width() <= screen.width() && frame.height() <= screen.height())
            QVERIFY(screen.contains(QRect(placed, frame)));
    }

    void namesOfStatedPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<StatedPlace>("place");
        QTest::newRow("own") << QStringLiteral("own") << StatedPlace::Own;
        QTest::newRow("screen centre") << QStringLiteral("screenCentre") << StatedPlace::ScreenCentre;
        QTest::newRow("bottom right") << QStringLiteral("screenBottomRight") << StatedPlace::ScreenBottomRight;
        QTest::newRow("right edge") << QStringLiteral("screenRightEdge") << StatedPlace::ScreenRightEdge;
        QTest::newRow("letter case counts") << QStringLiteral("ScreenCentre") << StatedPlace::None;
        QTest::newRow("empty") << QString() << StatedPlace::None;
    }

    void namesOfStatedPlaces() {
        QFETCH(QString, name);
        QFETCH(StatedPlace, place);
        QCOMPARE(statedPlaceFromName(name), place);
    }

    // A window under the bottom-right preview goes up or left, the shorter way, as far as the screen allows.
    void clearOfAnObstacle_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("obstacle");
        QTest::addColumn<QPoint>("topLeft");
        const QRect preview(1100, 700, 300, 300);
        QTest::newRow("clear already") << QRect(100, 100, 500, 400) << preview << QPoint(100, 100);
        QTest::newRow("up is shorter") << QRect(380, 260, 640, 480) << QRect(960, 700, 440, 300) << QPoint(380, 220);
        QTest::newRow("left is shorter") << QRect(700, 100, 420, 800) << preview << QPoint(680, 100);
        QTest::newRow("up does not fit: left") << QRect(800, 50, 400, 800) << preview << QPoint(700, 50);
        QTest::newRow("neither fits") << QRect(0, 0, 1300, 1000) << preview << QPoint(0, 0);
    }
    void clearOfAnObstacle() {
        QFETCH(QRect, frame);
        QFETCH(QRect, obstacle);
        QFETCH(QPoint, topLeft);
        QCOMPARE(placedClearOf(frame, obstacle, QRect(0, 0, 1400, 1000)), topLeft);
    }
};

QTEST_GUILESS_MAIN(WindowPlacementTest)
#include "tst_window_placement.moc"
