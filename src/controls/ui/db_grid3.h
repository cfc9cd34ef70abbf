#pragma once

#include "controls/grid_geometry.h"
#include "controls/ui/drag_state.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPixmap>
#include <memory>

namespace zep {

class DataSource;
class DataSet;
class TRkROGridDataLink;

// Read-only grid of the visible fields of a data source's data set, painted by itself. It shows
// the records around the current one without moving the cursor and moves the cursor only on
// clicks, keys and scrolling.
class TDBGrid3 : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum DragMode { dmManual, dmAutomatic };

    explicit TDBGrid3(QWidget* parent = nullptr);
    ~TDBGrid3() override;

    DataSource* dataSource() const;
    void setDataSource(DataSource* source);
    DataSet* dataSet() const; // nullptr without source

    // Extra width of the first column and indent of its text (room for icons drawn by OnDrawCell).
    int FirstColOffs_X() const { return firstColOffset_; }
    void setFirstColOffs_X(int offset);
    bool HeaderRowClick() const { return headerRowClick_; }
    void setHeaderRowClick(bool enabled) { headerRowClick_ = enabled; }
    QColor HeaderColor() const { return headerColor_; }
    void setHeaderColor(const QColor& color);
    // The grid's colour: background of the control and of rows that are not current.
    QColor color() const { return color_; }
    void setColor(const QColor& color);
    // Files dropped from the desktop raise OnDragFiles only while this is true.
    bool AcceptFiles() const { return acceptFiles_; }
    void setAcceptFiles(bool accept);

    DragMode dragMode() const { return dragMode_; }
    void setDragMode(DragMode mode) { dragMode_ = mode; }
    bool isDragging() const { return dragState_->dragging(); }
    bool ctrlState() const { return dragState_->ctrlPressed(); }
    // Emits OnCTRLChanged when the state changes (the owner resets it after a drag).
    void setCtrlState(bool pressed) { dragState_->setCtrlPressed(pressed); }
    int dragCursor() const { return dragState_->dragCursor(); }
    void setDragCursor(int cursor) { dragState_->setDragCursor(cursor); }

    // Geometry in viewport pixels.
    int rowHeight() const { return rowHeight_; }
    int visibleRows() const { return visibleRows_; }
    std::vector<int> columnWidths() const; // of the visible fields, in field order
    int totalWidth() const;
    int horizontalOffset() const { return offset_; }
    grid::Hit hitTest(QPoint viewportPos) const;
    QRect cellRect(int column, int row) const;
    // The buffered records: 0-based data set rows first() .. first() + count() - 1.
    const grid::RecordWindow& records() const { return window_; }

    // Moves the cursor by distance and puts the vertical bar in step; returns the distance moved.
    int moveCursor(int distance);

    // Several rows can be marked, each known by its value of keyField: a click with Ctrl marks or
    // unmarks a row, a click with Shift marks the rows from the last click on, a plain click unmarks all.
    // An empty key field turns marking off.
    void setMarkKeyField(const QString& keyField);
    const QVariantList& markedKeys() const { return markedKeys_; }
    void clearMarks();

signals:
    void OnHeaderClick(int column, int row);
    // After a data cell's text is drawn. row is the 0-based data set row, to be read with
    // DataSet::valueAt; the cursor is not moved for drawing.
    void OnDrawCell(int column, QPainter& painter, const QRect& cell, int fieldPosition, int row);
    void OnCTRLChanged(bool pressed);
    void OnDragFiles(const QStringList& paths);
    void OnEndDrag(bool dropped);
    // Only over a data row that holds a record.
    void doubleClicked();
    // After the grid's own key handling.
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);
    void contextMenuRequested(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class TRkROGridDataLink;
    // Calls from the data link.
    void linkActiveChanged();
    void dataSetChanged();
    void layoutChanged();

    bool linkActive() const;
    void recomputeRows();
    void refitRecords();
    void updateVerticalBar();
    void updateHorizontalBar();
    void onVerticalAction(int action);
    void onHorizontalAction(int action);
    void scrollHorizontally(int change);
    void setHeaderPressed(bool pressed);
    void renderBuffer();
    void paintHeader(QPainter& painter) const;
    void paintRow(QPainter& painter, int bufferIndex, bool current);
    void markOnClick(int row, Qt::KeyboardModifiers modifiers);
    QVariant markKeyOf(int row) const;
    bool dropHasFiles(const QDropEvent* event) const;
    void startDocumentDrag();

    std::unique_ptr<TRkROGridDataLink> link_;
    QString markKeyField_;
    QVariantList markedKeys_;
    int markAnchor_ = -1;
    bool secondPressOfDoubleClick_ = false;
    DragState* dragState_;
    grid::RecordWindow window_;
    QPixmap buffer_;
    QColor headerColor_;
    QColor color_;
    int firstColOffset_ = 20;
    bool headerRowClick_ = false;
    bool acceptFiles_ = false;
    DragMode dragMode_ = dmManual;
    int rowHeight_ = 18;
    int visibleRows_ = 0;
    int offset_ = 0;
    int pressedColumn_ = -1;
    int pressedRow_ = -1;
    bool headerPressed_ = false;
    bool headerCapture_ = false;
    bool doubleClickAllowed_ = false;
    QPoint dragStartPos_;
    bool dragArmed_ = false;
};

} // namespace zep
