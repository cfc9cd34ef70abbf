#include "controls/ui/over_panel.h"

#include <QDragEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zep {

TOverPanel::TOverPanel(QWidget* parent) : QFrame(parent) {
    setAcceptDrops(true);
    setMouseTracking(true);
}

void TOverPanel::setNormalColor(const QColor& color) {
    normalColor_ = color;
    update();
}

void TOverPanel::setActiveColor(const QColor& color) {
    activeColor_ = color;
    update();
}

void TOverPanel::setStyle(OverStyle style) {
    style_ = style;
    update();
}

void TOverPanel::setActive(bool active) {
    if (active_ == active)
        return;
    active_ = active;
    update();
    if (active)
        emit OnBeginOver();
    else
        emit OnEndOver();
}

QPolygon TOverPanel::trianglePoints() const {
    const int w = width();
    const int h = height();
    const int half = w / 2;
    const int spread = h - 2;
    if (style_ == osOben)
        return QPolygon({QPoint(half, 0), QPoint(half - spread, h - 2), QPoint(half + spread, h - 2)});
    return QPolygon({QPoint(half, h), QPoint(half - spread, 2), QPoint(half + spread, 2)});
}

void TOverPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QColor color = active_ ? activeColor_ : normalColor_;
    painter.setPen(color);
    painter.setBrush(color);
    painter.drawPolygon(trianglePoints());
}

void TOverPanel::mousePressEvent(QMouseEvent* event) {
    if (!grabbing_ && !QWidget::mouseGrabber()) {
        grabMouse();
        grabbing_ = true;
    }
    setActive(true);
    event->accept();
}

void TOverPanel::mouseReleaseEvent(QMouseEvent* event) {
    // Keep hearing the pointer after the button is up, to notice when it leaves.
    if (!grabbing_ && !QWidget::mouseGrabber()) {
        grabMouse();
        grabbing_ = true;
    }
    event->accept();
}

void TOverPanel::mouseMoveEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint()))
        leave();
    event->accept();
}

void TOverPanel::leaveEvent(QEvent* event) {
    // Also without a grab (another widget holds it) the panel must not stay active.
    leave();
    QFrame::leaveEvent(event);
}

void TOverPanel::leave() {
    if (grabbing_) {
        releaseMouse();
        grabbing_ = false;
    }
    setActive(false);
}

void TOverPanel::dragEnterEvent(QDragEnterEvent* event) {
    emit OnDragEnter();
    // Accepted only so that the leave is reported; the moves refuse, so a drop is never offered.
    event->accept();
}

void TOverPanel::dragMoveEvent(QDragMoveEvent* event) {
    event->ignore();
}

void TOverPanel::dragLeaveEvent(QDragLeaveEvent* event) {
    emit OnDragLeave();
    event->accept();
}

} // namespace zep
