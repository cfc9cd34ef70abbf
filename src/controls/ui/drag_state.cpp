#include "controls/ui/drag_state.h"

#include <QGuiApplication>

namespace zep {

namespace {
// Often enough that the drag cursor follows the key without a visible lag.
constexpr int pollIntervalMs = 40;
} // namespace

DragState::DragState(QObject* owner) : QObject(owner) {
    poller_.setInterval(pollIntervalMs);
    connect(&poller_, &QTimer::timeout, this, &DragState::poll);
}

DragState* DragState::of(const QObject* source) {
    return source ? source->findChild<DragState*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void DragState::begin() {
    dragging_ = true;
    poller_.start();
}

void DragState::end() {
    poller_.stop();
    dragging_ = false;
}

void DragState::setCtrlPressed(bool pressed) {
    if (ctrl_ == pressed)
        return;
    ctrl_ = pressed;
    emit ctrlChanged(pressed);
}

void DragState::noteModifiers(Qt::KeyboardModifiers modifiers) {
    if (dragging_)
        setCtrlPressed(modifiers.testFlag(Qt::ControlModifier));
}

Qt::DropAction DragState::proposedAction() const {
    return cursor_ == DragCursorCopy ? Qt::CopyAction : Qt::MoveAction;
}

void DragState::poll() {
    noteModifiers(QGuiApplication::queryKeyboardModifiers());
}

} // namespace zep
