#include "documents/ui/string_grid2.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <qdrawutil.h>

namespace zep {

namespace {

// Text starts 2 pixels inside the cell's top-left corner and keeps 3 pixels from its right and bottom.
QRect textRect(const QRect& cell) {
    return cell.adjusted(2, 2, -3, -3);
}

void drawRaisedEdge(QPainter& painter, const QRect& cell, const QPalette& palette, bool sunken) {
    qDrawShadeRect(&painter, cell, palette, sunken, 1);
}

// Right and bottom edges only: the cells read as one raised surface.
void drawRightBottomEdge(QPainter& painter, const QRect& cell, const QPalette& palette) {
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawLine(cell.topRight(), cell.bottomRight());
    painter.drawLine(cell.bottomLeft(), cell.bottomRight());
}

class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(TStringGrid2& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QModelIndex current = grid_.currentIndex();
        const bool rows = grid_.selectionBehavior() == QAbstractItemView::SelectRows;
        const bool isCurrent =
            current.isValid() && current.row() == index.row() && (rows || current.column() == index.column());
        painter->save();
        painter->fillRect(option.rect, isCurrent ? grid_.SelectedColor() : option.palette.color(QPalette::Base));
        if (isCurrent)
            drawRaisedEdge(*painter, option.rect, option.palette, false);
        else
            drawRightBottomEdge(*painter, option.rect, option.palette);
        const QRect text = textRect(option.rect);
        painter->setClipRect(text);
        painter->setPen(option.palette.color(QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
        painter->restore();
    }

private:
    TStringGrid2& grid_;
};

// The heading row: cells in the button colour, raised, sunken while pressed as a button.
class FixedRowHeader : public QHeaderView {
public:
    explicit FixedRowHeader(TStringGrid2& grid) : QHeaderView(Qt::Horizontal, &grid), grid_(grid) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (!rect.isValid())
            return;
        painter->save();
        painter->fillRect(rect, palette().color(QPalette::Button));
        drawRaisedEdge(*painter, rect, palette(), logicalIndex == pressed_);
        const QRect text = textRect(rect);
        painter->setClipRect(text);
        painter->setFont(font());
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          model()->headerData(logicalIndex, orientation()).toString());
        painter->restore();
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (grid_.FixRowClick() && event->button() == Qt::LeftButton)
            setPressed(logicalIndexAt(event->position().toPoint()));
        QHeaderView::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (pressed_ >= 0 && logicalIndexAt(event->position().toPoint()) != pressed_)
            setPressed(-1);
        QHeaderView::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        const int released = pressed_;
        setPressed(-1);
        if (released >= 0 && logicalIndexAt(event->position().toPoint()) == released)
            emit grid_.OnFixedRowClick(released, 0);
        QHeaderView::mouseReleaseEvent(event);
    }

    void leaveEvent(QEvent* event) override {
        setPressed(-1);
        QHeaderView::leaveEvent(event);
    }

private:
    void setPressed(int section) {
        if (pressed_ == section)
            return;
        pressed_ = section;
        viewport()->update();
    }

    TStringGrid2& grid_;
    int pressed_ = -1;
};

} // namespace

TStringGrid2::TStringGrid2(QWidget* parent) : QTableWidget(parent), selectedColor_(208, 208, 224) {
    setHorizontalHeader(new FixedRowHeader(*this));
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->hide();
    setShowGrid(false);
    setItemDelegate(new CellDelegate(*this));
    // Below the last row and right of the last column the parent's colour shows.
    QPalette outside = viewport()->palette();
    outside.setColor(QPalette::Base, palette().color(QPalette::Window));
    viewport()->setPalette(outside);
    viewport()->setBackgroundRole(QPalette::Base);
}

void TStringGrid2::setSelectedColor(const QColor& color) {
    selectedColor_ = color;
    viewport()->update();
}

QFont TStringGrid2::FixedFont() const {
    return horizontalHeader()->font();
}

void TStringGrid2::setFixedFont(const QFont& font) {
    horizontalHeader()->setFont(font);
}

void TStringGrid2::setFixRowClick(bool enabled) {
    fixRowClick_ = enabled;
}

} // namespace zep
