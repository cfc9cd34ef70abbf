#include "controls/grid_geometry.h"
#include "controls/ui/db_grid3.h"
#include "controls/ui/icon_list_painter.h"
#include "controls/ui/over_panel.h"
#include "controls/ui/ta_scroll.h"
#include "controls/ui/tree_view2.h"
#include "data/data_source.h"
#include "data/table.h"
#include "test_install.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <memory>

using namespace zep;

namespace {

// Ten pixels per character, so widths in the cases below are easy to read.
int tenPerChar(const QString& text) {
    return int(text.size()) * 10;
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

QString title(int number) {
    return QStringLiteral("Dokument %1").arg(number, 2, 10, QLatin1Char('0'));
}

// The document table with a number of records, shown by a grid with two columns in field order:
// Ext (label "Typ", 4 characters) and Titel.
struct GridFixture {
    QTemporaryDir dir;
    Table table;
    DataSource source{&table};
    TDBGrid3 grid;

    explicit GridFixture(int records, int titleWidth = 20) {
        const QString data = dir.filePath(QStringLiteral("Daten"));
        test::createClientTables(data);
        test::openTable(table, data, QStringLiteral("Dok.DB"));
        for (int i = 1; i <= records; ++i)
            test::appendRecord(table, {{QStringLiteral("Titel"), title(i)}, {QStringLiteral("Ext"), "doc"}});
        table.first();
        table.hideAllFields();
        table.setFieldVisible(u"Titel", true);
        table.setDisplayLabel(u"Titel", QStringLiteral("Titel"));
        table.setDisplayWidth(u"Titel", titleWidth);
        table.setFieldVisible(u"Ext", true);
        table.setDisplayLabel(u"Ext", QStringLiteral("Typ"));
        table.setDisplayWidth(u"Ext", 4);
        QFont font = grid.font();
        font.setPixelSize(12);
        grid.setFont(font);
        grid.setDataSource(&source);
    }

    // Sizes the grid so that exactly rows data rows fit.
    void showWithRows(int rows, int width = 500) {
        const int chrome = grid.horizontalScrollBar()->sizeHint().height() + 2 * grid.frameWidth();
        grid.resize(width, (rows + 1) * grid.rowHeight() + chrome + grid.rowHeight() / 2);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCOMPARE(grid.visibleRows(), rows);
    }

    QPoint centre(int column, int row) const { return grid.cellRect(column, row).center(); }
};

} // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private slots:
    // ---- grid geometry rules

    void rowHeight_data() {
        QTest::addColumn<int>("textHeight");
        QTest::addColumn<int>("expected");
        QTest::newRow("12 px text") << 12 << 18;
        QTest::newRow("16 px text") << 16 << 21;
        QTest::newRow("13 px text") << 13 << 18;
        QTest::newRow("14 px text") << 14 << 19;
        QTest::newRow("tiny text") << 5 << 18;
    }
    void rowHeight() {
        QFETCH(int, textHeight);
        QFETCH(int, expected);
        QCOMPARE(grid::rowHeight(textHeight), expected);
    }

    void visibleRows_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("scrollBar");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("expected");
        QTest::newRow("header plus ten") << 11 * 18 + 16 << 16 << 18 << 10;
        QTest::newRow("one pixel short") << 11 * 18 + 15 << 16 << 18 << 9;
        QTest::newRow("header only") << 18 + 16 << 16 << 18 << 0;
        QTest::newRow("smaller than the bar") << 10 << 16 << 18 << 0;
    }
    void visibleRows() {
        QFETCH(int, height);
        QFETCH(int, scrollBar);
        QFETCH(int, rowHeight);
        QFETCH(int, expected);
        QCOMPARE(grid::visibleRows(height, scrollBar, rowHeight), expected);
    }

    void hitTest_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        // Columns 100 and 50 wide, rows 20 high, five data rows.
        QTest::newRow("left of everything") << 0 << -1 << 5 << -1 << 0;
        QTest::newRow("first pixel") << 0 << 0 << 0 << 0 << 0;
        QTest::newRow("right edge of column 0") << 0 << 100 << 20 << 0 << 0;
        QTest::newRow("just past column 0") << 0 << 101 << 21 << 1 << 1;
        QTest::newRow("right edge of the last column") << 0 << 150 << 60 << 1 << 2;
        QTest::newRow("beyond the last column") << 0 << 151 << 60 << -1 << 2;
        QTest::newRow("scrolled by 30") << 30 << 70 << 5 << 0 << 0;
        QTest::newRow("scrolled by 30, next column") << 30 << 71 << 5 << 1 << 0;
        QTest::newRow("above") << 0 << 10 << -1 << 0 << -1;
        QTest::newRow("last visible row") << 0 << 10 << 120 << 0 << 5;
        QTest::newRow("below the visible rows") << 0 << 10 << 121 << 0 << -1;
    }
    void hitTest() {
        QFETCH(int, offset);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, column);
        QFETCH(int, row);
        const grid::Hit hit = grid::hitTest({100, 50}, offset, 20, 5, x, y);
        QCOMPARE(hit.column, column);
        QCOMPARE(hit.row, row);
    }

    void horizontalClamp_data() {
        QTest::addColumn<int>("wanted");
        QTest::addColumn<int>("expected");
        // 700 px of columns in a 400 px window: maximum 450, so at most 300 to the left.
        QTest::newRow("inside") << 120 << 120;
        QTest::newRow("far right") << 10000 << 300;
        QTest::newRow("left of zero") << -50 << 0;
    }
    void horizontalClamp() {
        QFETCH(int, wanted);
        QFETCH(int, expected);
        const int maximum = grid::horizontalMaximum(700, 400);
        QCOMPARE(maximum, 450);
        QCOMPARE(grid::clampHorizontalOffset(wanted, maximum), expected);
    }

    void elision_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fits") << "abcdef" << 60 << "abcdef";
        QTest::newRow("one too wide") << "abcdef" << 59 << "ab...";
        QTest::newRow("room for one letter") << "abcdef" << 45 << "a...";
        QTest::newRow("only dots") << "abcdef" << 30 << "...";
        QTest::newRow("narrower than the dots") << "abcdef" << 10 << "...";
        QTest::newRow("empty") << "" << 0 << "";
        QTest::newRow("long text") << QString(500, u'x') << 105 << "xxxxxxx...";
        QTest::newRow("pair kept whole") << QStringLiteral("ab\U0001F600cdef") << 65 << "ab...";
    }
    void elision() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, expected);
        QCOMPARE(grid::elideWithDots(text, width, tenPerChar), expected);
    }

    void recordWindowFollowsTheCursor() {
        grid::RecordWindow window;
        window.update(10, 0, 30);
        QCOMPARE(window.first(), 0);
        QCOMPARE(window.activeIndex(), 0);
        window.update(10, 9, 30); // still inside: no scrolling
        QCOMPARE(window.first(), 0);
        window.update(10, 14, 30); // below: the current record becomes the last shown
        QCOMPARE(window.first(), 5);
        QCOMPARE(window.activeIndex(), 9);
        window.update(10, 3, 30); // above: it becomes the first shown
        QCOMPARE(window.first(), 3);
        window.update(10, 3, 8); // records removed: the window stays full where it can
        QCOMPARE(window.first(), 0);
        QCOMPARE(window.count(), 8);
        QCOMPARE(window.activeIndex(), 3);
        window.update(10, -1, 0);
        QCOMPARE(window.count(), 0);
        QCOMPARE(window.activeIndex(), -1);
    }

    // ---- the grid widget

    // Small text gets the fixed minimum row; larger text its own height and 5 pixels. The text height
    // depends on the installed fonts, so only the margin above it is fixed for large text.
    void gridRowHeightFollowsFont_data() {
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("small");
        QTest::addColumn<int>("expected"); // the row height for small text, the margin for large text
        QTest::newRow("6 px") << 6 << true << 18;
        QTest::newRow("8 px") << 8 << true << 18;
        QTest::newRow("16 px") << 16 << false << 5;
        QTest::newRow("20 px") << 20 << false << 5;
        QTest::newRow("30 px") << 30 << false << 5;
    }
    void gridRowHeightFollowsFont() {
        QFETCH(int, pixelSize);
        QFETCH(bool, small);
        QFETCH(int, expected);
        TDBGrid3 grid;
        QFont font = grid.font();
        font.setPixelSize(pixelSize);
        grid.setFont(font);
        const int textHeight = QFontMetrics(grid.font()).size(Qt::TextSingleLine, QStringLiteral("Yy")).height();
        QVERIFY2(small == (textHeight < 13), qPrintable(QString::number(textHeight)));
        QCOMPARE(small ? grid.rowHeight() : grid.rowHeight() - textHeight, expected);
    }

    void columnWidthsFromTheLetterO() {
        GridFixture f(3);
        f.grid.setFirstColOffs_X(40);
        const int o = QFontMetrics(f.grid.font()).horizontalAdvance(QLatin1Char('o'));
        const std::vector<int> expected{4 * o + 40, 20 * o};
        QCOMPARE(f.grid.columnWidths(), expected);
        QCOMPARE(f.grid.totalWidth(), 24 * o + 40);
    }

    void headerClick_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("releaseColumn");
        QTest::addColumn<bool>("moveFirst");
        QTest::addColumn<int>("clicks");
        QTest::newRow("same cell") << true << 1 << false << 1;
        QTest::newRow("moved to another cell") << true << 0 << true << 0;
        QTest::newRow("released over another cell") << true << 0 << false << 0;
        QTest::newRow("header clicks off") << false << 1 << false << 0;
    }
    void headerClick() {
        QFETCH(bool, enabled);
        QFETCH(int, releaseColumn);
        QFETCH(bool, moveFirst);
        QFETCH(int, clicks);
        GridFixture f(5);
        f.grid.setHeaderRowClick(enabled);
        f.showWithRows(4);
        QSignalSpy spy(&f.grid, &TDBGrid3::OnHeaderClick);
        QWidget* view = f.grid.viewport();
        sendMouse(view, QEvent::MouseButtonPress, f.centre(1, 0), Qt::LeftButton, Qt::LeftButton);
        if (moveFirst)
            sendMouse(view, QEvent::MouseMove, f.centre(releaseColumn, 0), Qt::NoButton, Qt::LeftButton);
        sendMouse(view, QEvent::MouseButtonRelease, f.centre(releaseColumn, 0), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(spy.count(), clicks);
        if (clicks == 1) {
            QCOMPARE(spy.at(0).at(0).toInt(), 1);
            QCOMPARE(spy.at(0).at(1).toInt(), 0);
        }
        QCOMPARE(f.table.recNo(), 1); // a header press never moves the cursor
    }

    void doubleClickOnlyOverRecords_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("expected");
        QTest::newRow("header") << 0 << 0;
        QTest::newRow("first record") << 1 << 1;
        QTest::newRow("last record") << 3 << 1;
        QTest::newRow("below the last record") << 5 << 0;
    }
    void doubleClickOnlyOverRecords() {
        QFETCH(int, row);
        QFETCH(int, expected);
        GridFixture f(3);
        f.grid.setHeaderRowClick(true);
        f.showWithRows(8);
        QSignalSpy spy(&f.grid, &TDBGrid3::doubleClicked);
        QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {}, f.centre(0, row));
        QCOMPARE(spy.count(), expected);
    }

    void clickMakesTheRowCurrent() {
        GridFixture f(30);
        f.showWithRows(10);
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.centre(0, 4));
        QCOMPARE(f.table.recNo(), 4);
        // Far down, the shown rows start further on: row 1 is the record at the window's start.
        f.table.setRecNo(25);
        const int first = f.grid.records().first();
        QCOMPARE(first, 25 - 10);
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.centre(1, 1));
        QCOMPARE(f.table.recNo(), first + 1);
        QCOMPARE(f.table.field(u"Titel").asString(), title(first + 1));
    }

    void keysMoveTheCursor_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("page down by visible rows - 1") << 1 << int(Qt::Key_PageDown) << 10;
        QTest::newRow("page up") << 20 << int(Qt::Key_PageUp) << 11;
        QTest::newRow("page down at the end") << 25 << int(Qt::Key_PageDown) << 30;
        QTest::newRow("down") << 5 << int(Qt::Key_Down) << 6;
        QTest::newRow("right") << 5 << int(Qt::Key_Right) << 6;
        QTest::newRow("up") << 5 << int(Qt::Key_Up) << 4;
        QTest::newRow("left") << 5 << int(Qt::Key_Left) << 4;
        QTest::newRow("up at the start") << 1 << int(Qt::Key_Up) << 1;
    }
    void keysMoveTheCursor() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, expected);
        GridFixture f(30);
        f.showWithRows(10);
        f.table.setRecNo(start);
        QSignalSpy keys(&f.grid, &TDBGrid3::keyPressed);
        QTest::keyClick(&f.grid, Qt::Key(key));
        QCOMPARE(f.table.recNo(), expected);
        QCOMPARE(f.grid.verticalScrollBar()->value(), expected);
        QCOMPARE(keys.count(), 1);
    }

    void verticalBarFollowsAndMovesTheCursor() {
        GridFixture f(30);
        f.showWithRows(10);
        QScrollBar* bar = f.grid.verticalScrollBar();
        QCOMPARE(bar->minimum(), 1);
        QCOMPARE(bar->maximum(), 30);
        // Thumb tracking moves by the distance between the thumb and the bar position.
        bar->setSliderPosition(15);
        QCOMPARE(f.table.recNo(), 15);
        bar->setSliderPosition(7);
        QCOMPARE(f.table.recNo(), 7);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(f.table.recNo(), 16);
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(f.table.recNo(), 30);
        QCOMPARE(bar->value(), 30);
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(f.table.recNo(), 29);
        QCOMPARE(bar->value(), 29);
        // Moves made elsewhere reach the bar through the data link.
        f.table.first();
        QCOMPARE(bar->value(), 1);
        f.table.setRecNo(12);
        QCOMPARE(bar->value(), 12);
    }

    void horizontalScrollingStopsAtTheLastPage() {
        GridFixture f(3, 100);
        f.showWithRows(2, 300);
        QCOMPARE(f.grid.horizontalOffset(), 0);
        QScrollBar* bar = f.grid.horizontalScrollBar();
        const int furthest = f.grid.totalWidth() - f.grid.viewport()->width();
        QVERIFY(furthest > 0);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(f.grid.horizontalOffset(), 50);
        for (int i = 0; i < 40; ++i)
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(f.grid.horizontalOffset(), furthest);
        QCOMPARE(f.grid.cellRect(0, 0).left(), -furthest);
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(f.grid.horizontalOffset(), furthest - 150);
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(f.grid.horizontalOffset(), 0);
    }

    void drawCellGivesEachShownRowWithoutMovingTheCursor() {
        GridFixture f(30);
        f.showWithRows(10);
        f.table.setRecNo(14);
        QStringList drawn;
        connect(&f.grid, &TDBGrid3::OnDrawCell, &f.grid,
                [&](int column, QPainter&, const QRect& cell, int field, int row) {
                    if (column == 1) {
                        QCOMPARE(f.table.fieldInfo(field).def.name, "Titel");
                        drawn << f.table.valueAt(row, field).toString();
                        QCOMPARE(cell.top(), (row - f.grid.records().first() + 1) * f.grid.rowHeight());
                    }
                });
        f.grid.grab();
        QStringList expected;
        for (int number = 5; number <= 14; ++number)
            expected << title(number);
        QCOMPARE(drawn, expected);
        QCOMPARE(f.table.recNo(), 14);
    }

    void currentRowColours() {
        GridFixture f(5);
        f.showWithRows(4);
        f.table.setRecNo(2);
        const QPoint inCurrent = f.grid.cellRect(1, 2).bottomRight() - QPoint(2, 2);
        const QPoint inOther = f.grid.cellRect(1, 3).bottomRight() - QPoint(2, 2);
        f.grid.clearFocus();
        QImage image = f.grid.viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(inCurrent), f.grid.palette().color(QPalette::Button));
        QCOMPARE(image.pixelColor(inOther), f.grid.color());
        f.grid.activateWindow();
        f.grid.setFocus();
        QTRY_VERIFY(f.grid.hasFocus());
        image = f.grid.viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(inCurrent), QColor(208, 208, 224));
        f.grid.setHeaderColor(QColor(193, 213, 191));
        image = f.grid.viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(f.grid.cellRect(1, 0).center() + QPoint(0, 4)), QColor(193, 213, 191));
    }

    void gridEmptiesWhenTheTableCloses() {
        GridFixture f(5);
        f.showWithRows(4);
        QCOMPARE(f.grid.records().count(), 4);
        QStringList drawn;
        connect(&f.grid, &TDBGrid3::OnDrawCell, &f.grid,
                [&](int, QPainter&, const QRect&, int, int row) { drawn << QString::number(row); });
        f.table.close();
        f.grid.grab();
        QVERIFY(drawn.isEmpty());
        QCOMPARE(f.grid.records().count(), 0);
        QCOMPARE(f.grid.verticalScrollBar()->maximum(), 1);
    }

    void droppedFiles_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("expected");
        QTest::newRow("accepting") << true << 1;
        QTest::newRow("not accepting") << false << 0;
    }
    void droppedFiles() {
        QFETCH(bool, accept);
        QFETCH(int, expected);
        GridFixture f(2);
        f.showWithRows(4);
        f.grid.setAcceptFiles(accept);
        QSignalSpy spy(&f.grid, &TDBGrid3::OnDragFiles);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.txt")), QUrl(QStringLiteral("https://x.example/")),
                      QUrl::fromLocalFile(QStringLiteral("/tmp/c.pdf"))});
        const QPointF pos = f.centre(0, 1);
        QDragEnterEvent enter(pos.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.grid.viewport(), &enter);
        QCOMPARE(enter.isAccepted(), accept);
        QDropEvent drop(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.grid.viewport(), &drop);
        QCOMPARE(spy.count(), expected);
        if (expected)
            QCOMPARE(spy.at(0).at(0).toStringList(), QStringList({"/tmp/a b.txt", "/tmp/c.pdf"}));
    }

    void gridStartsADragAfterTheThreshold_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("drags");
        QTest::newRow("automatic, data row") << int(TDBGrid3::dmAutomatic) << 3 << 1;
        QTest::newRow("automatic, header") << int(TDBGrid3::dmAutomatic) << 0 << 0;
        QTest::newRow("manual") << int(TDBGrid3::dmManual) << 3 << 0;
    }
    void gridStartsADragAfterTheThreshold() {
        QFETCH(int, mode);
        QFETCH(int, row);
        QFETCH(int, drags);
        GridFixture f(5);
        f.grid.setDragMode(TDBGrid3::DragMode(mode));
        f.showWithRows(4);
        QSignalSpy ended(&f.grid, &TDBGrid3::OnEndDrag);
        QWidget* view = f.grid.viewport();
        const QPoint start = f.centre(1, row);
        sendMouse(view, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        if (row > 0)
            QCOMPARE(f.table.recNo(), row); // the press is a click first
        sendMouse(view, QEvent::MouseMove, start + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(ended.count(), 0); // within the threshold
        // The platform's drag loop ends with the button's release.
        QTimer::singleShot(0, view, [view, start] { QTest::mouseRelease(view, Qt::LeftButton, {}, start); });
        const QPoint beyond = start + QPoint(QApplication::startDragDistance() + 2, 0);
        sendMouse(view, QEvent::MouseMove, beyond, Qt::NoButton, Qt::LeftButton);
        if (drags == 0)
            sendMouse(view, QEvent::MouseButtonRelease, beyond, Qt::LeftButton, Qt::NoButton);
        QTRY_COMPARE(ended.count(), drags);
        QVERIFY(!f.grid.isDragging());
    }

    void gridCtrlStateDuringDrag() {
        TDBGrid3 grid;
        QSignalSpy spy(&grid, &TDBGrid3::OnCTRLChanged);
        QTest::keyPress(&grid, Qt::Key_Control);
        QCOMPARE(spy.count(), 0); // not dragging
        DragState* state = DragState::of(&grid);
        QVERIFY(state);
        state->begin();
        QTest::keyPress(&grid, Qt::Key_Control);
        QTest::keyRelease(&grid, Qt::Key_Control, Qt::ControlModifier);
        state->end();
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(0).toBool(), true);
        QCOMPARE(spy.at(1).at(0).toBool(), false);
    }

    // ---- scroll strips

    void overPanelTriangle_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPolygon>("expected");
        QTest::newRow("down, 249 x 10") << int(TOverPanel::osUnten) << QSize(249, 10)
                                        << QPolygon({QPoint(124, 10), QPoint(116, 2), QPoint(132, 2)});
        QTest::newRow("up, 249 x 10") << int(TOverPanel::osOben) << QSize(249, 10)
                                      << QPolygon({QPoint(124, 0), QPoint(116, 8), QPoint(132, 8)});
        QTest::newRow("up, 100 x 7") << int(TOverPanel::osOben) << QSize(100, 7)
                                     << QPolygon({QPoint(50, 0), QPoint(45, 5), QPoint(55, 5)});
    }
    void overPanelTriangle() {
        QFETCH(int, style);
        QFETCH(QSize, size);
        QFETCH(QPolygon, expected);
        TOverPanel panel;
        panel.setStyle(TOverPanel::OverStyle(style));
        panel.resize(size);
        QCOMPARE(panel.trianglePoints(), expected);
    }

    void overPanelActiveFromPressUntilLeaving() {
        TOverPanel panel;
        panel.setStyle(TOverPanel::osUnten);
        panel.resize(249, 10);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QSignalSpy begin(&panel, &TOverPanel::OnBeginOver);
        QSignalSpy end(&panel, &TOverPanel::OnEndOver);
        const QPoint inside(124, 5);
        QCOMPARE(panel.grab().toImage().pixelColor(inside), panel.NormalColor());
        sendMouse(&panel, QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
        sendMouse(&panel, QEvent::MouseButtonRelease, inside, Qt::LeftButton, Qt::NoButton);
        sendMouse(&panel, QEvent::MouseButtonPress, inside, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(begin.count(), 1);
        QVERIFY(panel.isActive());
        QCOMPARE(panel.grab().toImage().pixelColor(inside), panel.ActiveColor());
        sendMouse(&panel, QEvent::MouseMove, QPoint(130, 6), Qt::NoButton, Qt::NoButton);
        QCOMPARE(end.count(), 0);
        sendMouse(&panel, QEvent::MouseMove, QPoint(130, 40), Qt::NoButton, Qt::NoButton);
        QCOMPARE(end.count(), 1);
        QVERIFY(!panel.isActive());
        QVERIFY(QWidget::mouseGrabber() != &panel);
    }

    void overPanelReportsDragsAndRefusesDrops() {
        TOverPanel panel;
        panel.resize(100, 10);
        QSignalSpy entered(&panel, &TOverPanel::OnDragEnter);
        QSignalSpy left(&panel, &TOverPanel::OnDragLeave);
        QMimeData mime;
        mime.setData(treeEntryDragMimeType(), "x");
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&panel, &enter);
        QDragMoveEvent move(QPoint(6, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&panel, &move);
        QVERIFY(!move.isAccepted()); // a drop on the strip is not offered
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(&panel, &leave);
        QCOMPARE(entered.count(), 1);
        QCOMPARE(left.count(), 1);
    }

    // ---- tree view

    void treeCtrlState() {
        TTreeView2 tree;
        QSignalSpy spy(&tree, &TTreeView2::OnCTRLChanged);
        QTest::keyPress(&tree, Qt::Key_Control);
        QCOMPARE(spy.count(), 0); // only while dragging
        DragState::of(&tree)->begin();
        QTest::keyPress(&tree, Qt::Key_Control);
        QTest::keyPress(&tree, Qt::Key_Control);
        QVERIFY(tree.ctrlState());
        DragState::of(&tree)->end();
        QCOMPARE(spy.count(), 1);
        // The owner resets the state after the drag: reported once, and only when it changes.
        tree.setCtrlState(false);
        tree.setCtrlState(false);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toBool(), false);
    }

    void treeDropsAskTheOwner() {
        TTreeView2 tree;
        auto* first = new QTreeWidgetItem(&tree, {QStringLiteral("Eins")});
        auto* second = new QTreeWidgetItem(&tree, {QStringLiteral("Zwei")});
        QSignalSpy drops(&tree, &TTreeView2::OnDragDrop);
        QVERIFY(!tree.dropOn(first, &tree)); // no handler: refused
        tree.setDragOverHandler(
            [&](QTreeWidgetItem* target, QObject* source) { return target == second && source == &tree; });
        QVERIFY(!tree.acceptsDrop(first, &tree));
        QVERIFY(!tree.dropOn(nullptr, &tree));
        QVERIFY(tree.dropOn(second, &tree));
        QCOMPARE(drops.count(), 1);
        QCOMPARE(drops.at(0).at(0).value<QTreeWidgetItem*>(), second);
        QCOMPARE(tree.topLevelItemCount(), 2); // the tree never moves items itself
    }

    void treeDragEventsReachTheOwner() {
        TTreeView2 tree;
        tree.setAcceptDrops(true);
        auto* first = new QTreeWidgetItem(&tree, {QStringLiteral("Eins")});
        auto* second = new QTreeWidgetItem(&tree, {QStringLiteral("Zwei")});
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        tree.setDragOverHandler([&](QTreeWidgetItem* target, QObject*) { return target == second; });
        QSignalSpy drops(&tree, &TTreeView2::OnDragDrop);
        QMimeData mime;
        mime.setData(treeEntryDragMimeType(), "Eins");
        const QPoint overFirst = tree.visualItemRect(first).center();
        const QPoint overSecond = tree.visualItemRect(second).center();
        QDragEnterEvent enter(overFirst, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &enter);
        QDragMoveEvent refused(overFirst, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &refused);
        QVERIFY(!refused.isAccepted());
        QDragMoveEvent accepted(overSecond, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &accepted);
        QVERIFY(accepted.isAccepted());
        QDropEvent dropOnFirst(overFirst, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &dropOnFirst);
        QCOMPARE(drops.count(), 0);
        // A second drag, dropped where the owner accepts it.
        QDragEnterEvent again(overSecond, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &again);
        QDropEvent dropOnSecond(overSecond, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(tree.viewport(), &dropOnSecond);
        QCOMPARE(drops.count(), 1);
        QCOMPARE(drops.at(0).at(0).value<QTreeWidgetItem*>(), second);
        QCOMPARE(tree.topLevelItem(0), first); // nothing moved by the tree itself
    }

    void sortTopLevel() {
        TTreeView2 tree;
        const QStringList captions{"Müller", "bauer", "Bauer", "Zander", "anton", "Ärzte"};
        for (const QString& caption : captions)
            new QTreeWidgetItem(&tree, {caption});
        QTreeWidgetItem* zander = tree.topLevelItem(3);
        new QTreeWidgetItem(zander, {QStringLiteral("z")});
        new QTreeWidgetItem(zander, {QStringLiteral("a")});
        zander->setExpanded(true);
        tree.setCurrentItem(zander->child(0));
        QSignalSpy selection(&tree, &QTreeWidget::currentItemChanged);
        QVERIFY(tree.SortTopLevel());
        // German order whatever the machine's locale: umlauts with their letter, lower case first.
        const QStringList expected{"anton", "Ärzte", "bauer", "Bauer", "Müller", "Zander"};
        QStringList sorted;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            sorted << tree.topLevelItem(i)->text(0);
        QCOMPARE(sorted, expected);
        QCOMPARE(zander->child(0)->text(0), "z"); // descendants keep their order
        QVERIFY(zander->isExpanded());
        QCOMPARE(tree.currentItem(), zander->child(0));
        QCOMPARE(selection.count(), 0);
    }

    // ---- scroll worker

    void scrollWorkerScrollsAndEndsWhenTold_data() {
        QTest::addColumn<int>("direction");
        QTest::newRow("down") << int(TTA_SCROLL::Down);
        QTest::newRow("up") << int(TTA_SCROLL::Up);
    }
    void scrollWorkerScrollsAndEndsWhenTold() {
        QFETCH(int, direction);
        TTreeView2 tree;
        for (int i = 0; i < 200; ++i)
            new QTreeWidgetItem(&tree, {QString::number(i)});
        tree.resize(200, 150);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QScrollBar* bar = tree.verticalScrollBar();
        const int start = direction == TTA_SCROLL::Down ? 0 : bar->maximum();
        bar->setValue(start);
        QPointer<TTA_SCROLL> worker = new TTA_SCROLL(&tree, TTA_SCROLL::Direction(direction), true);
        worker->start();
        QTRY_VERIFY(bar->value() != start);
        QVERIFY(direction == TTA_SCROLL::Down ? bar->value() > start : bar->value() < start);
        worker->Terminate();
        QTRY_VERIFY(worker.isNull()); // finished and deleted itself
        const int stopped = bar->value();
        QTest::qWait(150);
        QCOMPARE(bar->value(), stopped);
    }

    void scrollWorkerToldBeforeItsFirstStepNeverScrolls() {
        TTreeView2 tree;
        for (int i = 0; i < 200; ++i)
            new QTreeWidgetItem(&tree, {QString::number(i)});
        tree.resize(200, 150);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QPointer<TTA_SCROLL> worker = new TTA_SCROLL(&tree, TTA_SCROLL::Down, false);
        worker->Terminate();
        worker->start();
        QTRY_VERIFY(worker.isNull());
        QCOMPARE(tree.verticalScrollBar()->value(), 0);
    }

    // ---- icon drawing

    void iconPainter() {
        QTemporaryDir dir;
        const QString red = dir.filePath(QStringLiteral("red.png"));
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(red));
        TIconList icons;
        icons.addSmall(QStringLiteral("doc"), red);
        icons.addLarge(QStringLiteral("doc"), red);
        icons.addSmall(QStringLiteral("---"), TIconList::noteIconSource());
        TIconListPainter painter(icons);

        QCOMPARE(painter.smallPixmap(QStringLiteral("DOC"), QStringLiteral("/x/brief.doc")).toImage().pixelColor(8, 8),
                 QColor(Qt::red));
        QPixmap large;
        QVERIFY(painter.getLarge(QStringLiteral("Doc"), large));
        QCOMPARE(large.size(), QSize(32, 32)); // scaled to the large list's size
        QVERIFY(!painter.getLarge(QStringLiteral("pdf"), large));

        const QString unknownFile = QStringLiteral("/x/plan.pdf");
        const QImage fallback = painter.smallPixmap(QStringLiteral("pdf"), unknownFile).toImage();
        QCOMPARE(fallback, TIconListPainter::fileIcon(unknownFile, 16).toImage());
        QCOMPARE(fallback.size(), QSize(16, 16));
        // The note: a yellow sheet with a dark outline and ruled lines, two pixels in from either side.
        const QImage note = painter.smallPixmap(QStringLiteral("---"), QString()).toImage();
        QCOMPARE(note.size(), QSize(16, 16));
        QCOMPARE(note.pixelColor(5, 3), QColor(255, 240, 140));
        QCOMPARE(note.pixelColor(2, 8), QColor(120, 110, 40));
        QCOMPARE(note.pixelColor(12, 8), QColor(120, 110, 40));
        QCOMPARE(note.pixelColor(6, 6), QColor(150, 140, 90));
        QCOMPARE(note.pixelColor(6, 7), QColor(255, 240, 140));
        QCOMPARE(note.pixelColor(1, 8).alpha(), 0);
        QCOMPARE(note.pixelColor(13, 8).alpha(), 0);

        QImage canvas(40, 20, QImage::Format_ARGB32);
        canvas.fill(Qt::white);
        {
            QPainter p(&canvas);
            painter.drawSmall(QStringLiteral("doc"), QStringLiteral("/x/a.doc"), p, 20, 2);
        }
        QCOMPARE(canvas.pixelColor(21, 3), QColor(Qt::red));
        QCOMPARE(canvas.pixelColor(19, 3), QColor(Qt::white));
    }
};

QTEST_MAIN(ControlsTest)
#include "tst_controls.moc"
