#include "controls/ui/db_grid3.h"

#include "controls/ui/grid_data_link.h"
#include "data/data_source.h"
#include "data/engine_error.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <qdrawutil.h>

namespace zep {

namespace {

const QColor focusedRowColor(208, 208, 224);

QStringList localFiles(const QMimeData* mime) {
    QStringList paths;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace

TDBGrid3::TDBGrid3(QWidget* parent)
    : QAbstractScrollArea(parent), link_(std::make_unique<TRkROGridDataLink>(*this)), dragState_(new DragState(this)),
      headerColor_(palette().color(QPalette::Button)), color_(palette().color(QPalette::Base)) {
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, &TDBGrid3::onVerticalAction);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, &TDBGrid3::onHorizontalAction);
    connect(dragState_, &DragState::ctrlChanged, this, &TDBGrid3::OnCTRLChanged);
    recomputeRows();
    updateVerticalBar();
    updateHorizontalBar();
}

TDBGrid3::~TDBGrid3() = default;

DataSource* TDBGrid3::dataSource() const {
    return link_->dataSource();
}

void TDBGrid3::setDataSource(DataSource* source) {
    link_->setDataSource(source);
}

DataSet* TDBGrid3::dataSet() const {
    return dataSource() ? dataSource()->dataSet() : nullptr;
}

bool TDBGrid3::linkActive() const {
    return link_->active();
}

void TDBGrid3::setFirstColOffs_X(int offset) {
    firstColOffset_ = offset;
    layoutChanged();
}

void TDBGrid3::setHeaderColor(const QColor& color) {
    headerColor_ = color;
    viewport()->update();
}

void TDBGrid3::setColor(const QColor& color) {
    color_ = color;
    viewport()->update();
}

void TDBGrid3::setAcceptFiles(bool accept) {
    acceptFiles_ = accept;
    setAcceptDrops(accept);
    viewport()->setAcceptDrops(accept);
}

// ---- geometry

std::vector<int> TDBGrid3::columnWidths() const {
    std::vector<int> widths;
    const DataSet* set = dataSet();
    if (!set)
        return widths;
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('o'));
    for (const int position : set->visibleFields()) {
        // The first column shown gets the icon room, also when the data set's first field is hidden.
        const bool first = widths.empty();
        widths.push_back(
            grid::columnWidth(charWidth, grid::displayChars(set->fieldInfo(position)), first, firstColOffset_));
    }
    return widths;
}

int TDBGrid3::totalWidth() const {
    int total = 0;
    for (const int width : columnWidths())
        total += width;
    return total;
}

grid::Hit TDBGrid3::hitTest(QPoint viewportPos) const {
    return grid::hitTest(columnWidths(), offset_, rowHeight_, visibleRows_, viewportPos.x(), viewportPos.y());
}

QRect TDBGrid3::cellRect(int column, int row) const {
    const std::vector<int> widths = columnWidths();
    if (column < 0 || column >= int(widths.size()))
        return {};
    int left = -offset_;
    for (int i = 0; i < column; ++i)
        left += widths[size_t(i)];
    return QRect(left, row * rowHeight_, widths[size_t(column)], rowHeight_);
}

void TDBGrid3::recomputeRows() {
    rowHeight_ = grid::rowHeight(fontMetrics().size(Qt::TextSingleLine, QStringLiteral("Yy")).height());
    const int controlHeight = height() - 2 * frameWidth();
    visibleRows_ = grid::visibleRows(controlHeight, horizontalScrollBar()->sizeHint().height(), rowHeight_);
    refitRecords();
}

void TDBGrid3::refitRecords() {
    const DataSet* set = linkActive() ? dataSet() : nullptr;
    if (!set) {
        window_.update(0, -1, 0);
        return;
    }
    window_.update(visibleRows_, set->recNo() - 1, set->recordCount());
}

// ---- marked rows

void TDBGrid3::setMarkKeyField(const QString& keyField) {
    markKeyField_ = keyField;
    clearMarks();
}

void TDBGrid3::clearMarks() {
    markedKeys_.clear();
    markAnchor_ = -1;
    viewport()->update();
}

QVariant TDBGrid3::markKeyOf(int row) const {
    const DataSet* set = dataSet();
    return set->valueAt(row, set->fieldPosition(markKeyField_));
}

void TDBGrid3::markOnClick(int row, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ShiftModifier) {
        const int from = markAnchor_ < 0 ? row : markAnchor_;
        for (int r = std::min(from, row); r <= std::max(from, row); ++r)
            if (const QVariant key = markKeyOf(r); !markedKeys_.contains(key))
                markedKeys_.append(key);
    } else if (modifiers & Qt::ControlModifier) {
        const QVariant key = markKeyOf(row);
        if (!markedKeys_.removeOne(key))
            markedKeys_.append(key);
        markAnchor_ = row;
    } else {
        markedKeys_.clear();
        markAnchor_ = row;
    }
    viewport()->update();
}

// ---- notifications from the data link

void TDBGrid3::linkActiveChanged() {
    refitRecords();
    updateVerticalBar();
    updateHorizontalBar();
    viewport()->update();
}

void TDBGrid3::dataSetChanged() {
    refitRecords();
    updateVerticalBar();
    viewport()->update();
}

void TDBGrid3::layoutChanged() {
    updateHorizontalBar();
    viewport()->update();
}

// ---- scrolling

int TDBGrid3::moveCursor(int distance) {
    DataSet* set = dataSet();
    if (!linkActive() || !set)
        return 0;
    const int moved = distance == 0 ? 0 : set->moveBy(distance);
    refitRecords();
    updateVerticalBar();
    viewport()->update();
    return moved;
}

void TDBGrid3::updateVerticalBar() {
    QScrollBar* bar = verticalScrollBar();
    const DataSet* set = linkActive() ? dataSet() : nullptr;
    const int count = set ? set->recordCount() : 0;
    bar->setRange(1, std::max(1, count));
    bar->setPageStep(1);
    if (!set || set->bof())
        bar->setValue(1);
    else if (set->eof())
        bar->setValue(count);
    else
        bar->setValue(set->recNo()); // the data set knows its position, so the bar cannot drift
}

void TDBGrid3::onVerticalAction(int action) {
    QScrollBar* bar = verticalScrollBar();
    const DataSet* set = dataSet();
    const int count = set ? set->recordCount() : 0;
    const int page = std::max(1, visibleRows_ - 1);
    int distance = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        distance = -1;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        distance = 1;
        break;
    case QAbstractSlider::SliderPageStepSub:
        distance = -page;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        distance = page;
        break;
    case QAbstractSlider::SliderToMinimum:
        distance = -count;
        break;
    case QAbstractSlider::SliderToMaximum:
        distance = count;
        break;
    case QAbstractSlider::SliderMove:
        distance = bar->sliderPosition() - bar->value();
        break;
    default:
        return;
    }
    moveCursor(distance);
    // The slider applies its own position after this signal; make it the cursor's.
    bar->setSliderPosition(bar->value());
}

void TDBGrid3::updateHorizontalBar() {
    QScrollBar* bar = horizontalScrollBar();
    const int maximum = grid::horizontalMaximum(totalWidth(), viewport()->width());
    // Qt's maximum is the last offset, the bar's maximum less its page.
    bar->setRange(0, std::max(0, maximum - grid::horizontalPage));
    bar->setPageStep(grid::horizontalPage);
    bar->setSingleStep(grid::horizontalLine);
    offset_ = grid::clampHorizontalOffset(offset_, maximum);
    bar->setValue(offset_);
}

void TDBGrid3::onHorizontalAction(int action) {
    QScrollBar* bar = horizontalScrollBar();
    int change = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        change = -grid::horizontalLine;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        change = grid::horizontalLine;
        break;
    case QAbstractSlider::SliderPageStepSub:
        change = -grid::horizontalPage;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        change = grid::horizontalPage;
        break;
    case QAbstractSlider::SliderToMinimum:
        change = -offset_;
        break;
    case QAbstractSlider::SliderToMaximum:
        change = bar->maximum() - offset_;
        break;
    case QAbstractSlider::SliderMove:
        change = bar->sliderPosition() - bar->value();
        break;
    default:
        return;
    }
    scrollHorizontally(change);
    bar->setSliderPosition(offset_);
}

void TDBGrid3::scrollHorizontally(int change) {
    const int maximum = grid::horizontalMaximum(totalWidth(), viewport()->width());
    offset_ = grid::clampHorizontalOffset(offset_ + change, maximum);
    horizontalScrollBar()->setValue(offset_);
    viewport()->update();
}

void TDBGrid3::scrollContentsBy(int, int) {
    // Offsets and record positions are kept by the grid itself; the bars only ask for changes.
}

// ---- painting

void TDBGrid3::paintEvent(QPaintEvent*) {
    renderBuffer();
    QPainter window(viewport());
    window.drawPixmap(0, 0, buffer_);
}

void TDBGrid3::renderBuffer() {
    const qreal ratio = devicePixelRatioF();
    if (buffer_.size() != viewport()->size() * ratio) {
        buffer_ = QPixmap(viewport()->size() * ratio);
        buffer_.setDevicePixelRatio(ratio);
    }
    buffer_.fill(color_);
    if (!linkActive())
        return;
    refitRecords();
    QPainter painter(&buffer_);
    painter.setFont(font());
    paintHeader(painter);
    try {
        for (int i = 0; i < std::min(window_.count(), visibleRows_); ++i)
            paintRow(painter, i, i == window_.activeIndex());
    } catch (const EngineError&) {
        // Rows that cannot be read stay empty: a message from painting would come back with every repaint.
    }
}

void TDBGrid3::paintHeader(QPainter& painter) const {
    const DataSet* set = dataSet();
    const std::vector<int> fields = set->visibleFields();
    const std::vector<int> widths = columnWidths();
    int left = -offset_;
    for (size_t i = 0; i < fields.size(); ++i) {
        const QRect cell(left, 0, widths[i], rowHeight_);
        left += widths[i];
        painter.fillRect(cell, headerColor_);
        const bool sunken = headerPressed_ && int(i) == pressedColumn_;
        qDrawShadePanel(&painter, cell, palette(), sunken, 1);
        const QRect inner = cell.adjusted(2, 2, -2, -2);
        painter.save();
        painter.setClipRect(inner);
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(QRect(inner.left() + 2, 2, inner.width() - 2, inner.height()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, set->fieldInfo(fields[i]).displayLabel);
        painter.restore();
    }
}

void TDBGrid3::paintRow(QPainter& painter, int bufferIndex, bool current) {
    const DataSet* set = dataSet();
    const int row = window_.first() + bufferIndex;
    const int top = (bufferIndex + 1) * rowHeight_;
    const bool focused = hasFocus();
    const bool marked = !markKeyField_.isEmpty() && markedKeys_.contains(markKeyOf(row));
    const QColor background = marked     ? palette().color(QPalette::Highlight)
                              : !current ? color_
                              : focused  ? focusedRowColor
                                         : palette().color(QPalette::Button);
    const QFontMetrics metrics = painter.fontMetrics();
    const auto measure = [&metrics](const QString& text) {
        return metrics.horizontalAdvance(text);
    };
    const std::vector<int> fields = set->visibleFields();
    const std::vector<int> widths = columnWidths();
    int left = -offset_;
    for (size_t i = 0; i < fields.size(); ++i) {
        const QRect cell(left, top, widths[i], rowHeight_);
        left += widths[i];
        painter.fillRect(cell, background);
        const int indent = 2 + (i == 0 ? firstColOffset_ : 0);
        // Right edge 4 and bottom edge 1 pixel inside the cell.
        const QRect text(QPoint(cell.left() + indent, top + 2), QPoint(cell.right() - 4, cell.bottom() - 1));
        const QString shown = grid::elideWithDots(valueText(set->valueAt(row, fields[i])), text.width(), measure);
        painter.save();
        painter.setClipRect(text);
        painter.setPen(palette().color(marked ? QPalette::HighlightedText : QPalette::Text));
        painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
        painter.restore();
        painter.save();
        emit OnDrawCell(int(i), painter, cell, fields[i], row);
        painter.restore();
    }
    if (current)
        qDrawShadePanel(&painter, QRect(0, top, std::max(0, left), rowHeight_), palette(), false, 1);
}

void TDBGrid3::setHeaderPressed(bool pressed) {
    headerPressed_ = pressed;
    if (!pressed) {
        pressedColumn_ = -1;
        pressedRow_ = -1;
    }
    viewport()->update(QRect(0, 0, viewport()->width(), rowHeight_));
}

// ---- events

void TDBGrid3::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    recomputeRows();
    updateVerticalBar();
    updateHorizontalBar();
}

void TDBGrid3::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        recomputeRows();
        updateVerticalBar();
        updateHorizontalBar();
        viewport()->update();
    }
}

void TDBGrid3::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TDBGrid3::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TDBGrid3::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const grid::Hit hit = hitTest(pos);
    doubleClickAllowed_ = hit.row > 0 && linkActive() && hit.row - 1 < window_.count();
    if (hit.row == 0 && headerRowClick_ && hit.column >= 0) {
        headerCapture_ = true; // the press grabs the pointer until the release
        pressedColumn_ = hit.column;
        pressedRow_ = hit.row;
        setHeaderPressed(true);
    } else if (hit.row > 0 && linkActive()) {
        if (!markKeyField_.isEmpty() && !secondPressOfDoubleClick_ && hit.row - 1 < window_.count())
            markOnClick(window_.first() + hit.row - 1, event->modifiers());
        moveCursor(hit.row - window_.activeIndex() - 1);
    }
    dragArmed_ = event->button() == Qt::LeftButton && dragMode_ == dmAutomatic && !isDragging() && hit.row != 0;
    dragStartPos_ = pos;
}

void TDBGrid3::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const grid::Hit hit = hitTest(pos);
    doubleClickAllowed_ = hit.row > 0 && linkActive() && hit.row - 1 < window_.count();
    if (headerPressed_ && (hit.column != pressedColumn_ || hit.row != pressedRow_ || pos.x() < 0 || pos.y() < 0))
        setHeaderPressed(false);
    if (dragArmed_ && (event->buttons() & Qt::LeftButton) &&
        (pos - dragStartPos_).manhattanLength() >= QApplication::startDragDistance()) {
        dragArmed_ = false;
        startDocumentDrag();
    }
}

void TDBGrid3::mouseReleaseEvent(QMouseEvent* event) {
    const grid::Hit hit = hitTest(event->position().toPoint());
    headerCapture_ = false;
    dragArmed_ = false;
    if (headerPressed_) {
        // Released over another cell without a move in between still is no click.
        const bool sameCell = hit.column == pressedColumn_ && hit.row == pressedRow_;
        setHeaderPressed(false);
        if (sameCell)
            emit OnHeaderClick(hit.column, hit.row);
    }
}

void TDBGrid3::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press too, but marks nothing again.
    secondPressOfDoubleClick_ = true;
    mousePressEvent(event);
    secondPressOfDoubleClick_ = false;
    if (doubleClickAllowed_)
        emit doubleClicked();
}

void TDBGrid3::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        dragState_->noteModifiers(event->modifiers() | Qt::ControlModifier);
    emit keyPressed(event->key(), event->modifiers());
    const int page = std::max(1, visibleRows_ - 1);
    switch (event->key()) {
    case Qt::Key_PageUp:
        moveCursor(-page);
        break;
    case Qt::Key_PageDown:
        moveCursor(page);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        moveCursor(-1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        moveCursor(1);
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

void TDBGrid3::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        dragState_->noteModifiers(event->modifiers() & ~Qt::ControlModifier);
    QAbstractScrollArea::keyReleaseEvent(event);
}

void TDBGrid3::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuRequested(event->globalPos());
    event->accept();
}

// ---- drag and drop

void TDBGrid3::startDocumentDrag() {
    const DataSet* set = dataSet();
    if (!linkActive() || !set || set->isEmpty())
        return;
    auto* mime = new QMimeData;
    mime->setData(documentDragMimeType(), QByteArray::number(set->recNo()));
    auto* drag = new QDrag(this); // deleted by the platform's drag manager
    drag->setMimeData(mime);
    dragState_->begin();
    const Qt::DropAction result = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    dragState_->end();
    emit OnEndDrag(result != Qt::IgnoreAction);
}

bool TDBGrid3::dropHasFiles(const QDropEvent* event) const {
    return acceptFiles_ && !localFiles(event->mimeData()).isEmpty();
}

void TDBGrid3::dragEnterEvent(QDragEnterEvent* event) {
    if (!dropHasFiles(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TDBGrid3::dragMoveEvent(QDragMoveEvent* event) {
    if (!dropHasFiles(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TDBGrid3::dropEvent(QDropEvent* event) {
    if (!dropHasFiles(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit OnDragFiles(localFiles(event->mimeData()));
}

} // namespace zep
