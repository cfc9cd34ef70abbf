#include "app/ui/window_placer.h"

#include "app/window_placement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

namespace zep {

namespace {

// Set once a window has been placed, so that a window shown again stays where the user left it.
constexpr char PlacedProperty[] = "zepPlaced";
constexpr char ShowingProperty[] = "zepShowing";

bool isPlaceable(const QWidget& widget) {
    if (!widget.isWindow() || widget.isMaximized() || widget.isFullScreen())
        return false;
    switch (widget.windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Tool:
        return true;
    default:
        return false;
    }
}

QWidget* windowShowing(const QWindow* handle) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowHandle() == handle)
            return widget;
    return nullptr;
}

// The window it was opened from: its parent, the window it is transient for, or the active window.
QWidget* ownerOf(const QWidget& window) {
    QWidget* owner = nullptr;
    if (QWidget* parent = window.parentWidget())
        owner = parent->window();
    else if (window.windowHandle() != nullptr && window.windowHandle()->transientParent() != nullptr)
        owner = windowShowing(window.windowHandle()->transientParent());
    else
        owner = QApplication::activeWindow();
    return owner != &window && owner != nullptr && owner->isVisible() ? owner : nullptr;
}

QRect availableArea(const QWidget& window, const QWidget* owner) {
    const QScreen* screen = owner != nullptr ? owner->screen() : window.screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

QMargins frameMarginsOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

// A frame as the window manager draws it: that of a framed window on the screen, else a title bar.
QMargins usualFrameMargins() {
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && !widget->windowFlags().testFlag(Qt::FramelessWindowHint)) {
            const QMargins margins = frameMarginsOf(*widget);
            if (!margins.isNull())
                return margins;
        }
    }
    return {0, QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0};
}

// Before the window manager has framed a window its frame is unknown: the owner's frame is the best
// guess, as the window manager decorates both alike.
QMargins expectedFrameMargins(const QWidget& window, const QWidget* owner) {
    if (window.windowFlags().testFlag(Qt::FramelessWindowHint))
        return {};
    const QMargins known = frameMarginsOf(window);
    if (!known.isNull())
        return known;
    return owner != nullptr ? frameMarginsOf(*owner) : usualFrameMargins();
}

// A window not yet created is moved by its frame; a created one is moved by its inner area as long as
// its frame is unknown, so the expected frame is added.
void moveFrameTo(QWidget& window, QPoint frameTopLeft, const QMargins& expected) {
    const bool frameUnknown = frameMarginsOf(window).isNull();
    if (window.testAttribute(Qt::WA_WState_Created) && frameUnknown)
        window.move(frameTopLeft + QPoint(expected.left(), expected.top()));
    else
        window.move(frameTopLeft);
}

} // namespace

void WindowPlacer::install(QApplication& application) {
    application.installEventFilter(new WindowPlacer(&application));
}

// A window that sizes itself in its own show handling (a message box fits its text there) is
// placed again by that size; ShowToParent ends the showing.
bool WindowPlacer::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!watched->isWidgetType() || (type != QEvent::Show && type != QEvent::Resize && type != QEvent::ShowToParent))
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow())
        return false;
    if (type == QEvent::ShowToParent) {
        widget->setProperty(ShowingProperty, false);
    } else if (type == QEvent::Resize) {
        if (widget->property(ShowingProperty).toBool())
            placeWindow(*widget);
    } else if (!widget->property(PlacedProperty).toBool()) {
        widget->setProperty(PlacedProperty, true);
        widget->setProperty(ShowingProperty, true);
        placeWindow(*widget);
    }
    return false;
}

void placeWindow(QWidget& window) {
    if (!isPlaceable(window))
        return;
    const QWidget* owner = ownerOf(window);
    const QRect screen = availableArea(window, owner);
    if (screen.isEmpty())
        return;
    const QMargins margins = expectedFrameMargins(window, owner);
    PlacementRequest request;
    request.owner = owner != nullptr ? owner->frameGeometry() : QRect();
    request.frame = window.size().grownBy(margins);
    request.screen = screen;
    request.place = statedPlaceFromName(window.property(StatedPlaceProperty).toString());
    request.own = window.pos();
    // A window already in its place is not moved: Qt then still puts its frame where it was asked to.
    const QPoint placed = placedTopLeft(request);
    if (placed != window.pos())
        moveFrameTo(window, placed, margins);
}

} // namespace zep
