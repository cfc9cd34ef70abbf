#include "app/ui/window_placer.h"

#include "app/window_placement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace zep {

namespace {

// Set once a window has been placed, so that a window shown again stays where the user left it.
constexpr char PlacedProperty[] = "zepPlaced";

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

// Before its first show a window's frame is unknown: the owner's frame is the best guess, as the
// window manager decorates both alike.
QSize frameSize(const QWidget& window, const QWidget* owner) {
    if (window.windowFlags().testFlag(Qt::FramelessWindowHint))
        return window.size();
    const QSize known = window.frameGeometry().size();
    if (known != window.size() || owner == nullptr)
        return known;
    return window.size() + (owner->frameGeometry().size() - owner->size());
}

} // namespace

void WindowPlacer::install(QApplication& application) {
    application.installEventFilter(new WindowPlacer(&application));
}

bool WindowPlacer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->isWindow() && !widget->property(PlacedProperty).toBool()) {
        widget->setProperty(PlacedProperty, true);
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
    PlacementRequest request;
    request.owner = owner != nullptr ? owner->frameGeometry() : QRect();
    request.frame = frameSize(window, owner);
    request.screen = screen;
    request.place = statedPlaceFromName(window.property(StatedPlaceProperty).toString());
    request.own = window.pos();
    window.move(placedTopLeft(request));
}

} // namespace zep
