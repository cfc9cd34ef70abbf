#pragma once

#include <QCursor>
#include <QObject>
#include <QTimer>

namespace zep {

// Mime types of the program's own drags, so a drop target can tell them from anything else.
inline QString documentDragMimeType() {
    return QStringLiteral("application/x-zep-document");
}
inline QString treeEntryDragMimeType() {
    return QStringLiteral("application/x-zep-tree-entry");
}

// Drag cursor numbers as the main window registers them.
enum DragCursor { DragCursorMove = 10, DragCursorCopy = 11, DragCursorSame = 12 };

// The Ctrl state and drag cursor of a control that is the source of a drag.
// While a drag runs the platform's drag loop takes the key events, so the state is also taken
// from the modifiers of drag events reaching our own targets and from polling the keyboard.
class DragState : public QObject {
    Q_OBJECT
public:
    explicit DragState(QObject* owner);

    // The state of the control that started a drag (nullptr for a foreign source).
    static DragState* of(const QObject* source);

    bool dragging() const { return dragging_; }
    void begin();
    void end();

    bool ctrlPressed() const { return ctrl_; }
    // Emits ctrlChanged when the state changes.
    void setCtrlPressed(bool pressed);
    // Feeds a key event or modifier state seen during a drag; ignored when not dragging.
    void noteModifiers(Qt::KeyboardModifiers modifiers);

    int dragCursor() const { return cursor_; }
    void setDragCursor(int cursor) { cursor_ = cursor; }
    // The drop action a target should propose for this source's drag.
    Qt::DropAction proposedAction() const;

signals:
    void ctrlChanged(bool pressed);

private:
    void poll();

    QTimer poller_;
    bool dragging_ = false;
    bool ctrl_ = false;
    int cursor_ = DragCursorMove;
};

// Gives a drag source (tree or grid) the copy or the move cursor. Moving the pointer onto itself
// makes the platform ask the target again, which shows a changed cursor at once.
template <typename DragSource> void showDragCursor(DragSource& source, bool copy) {
    const int cursor = copy ? DragCursorCopy : DragCursorMove;
    if (source.dragCursor() == cursor)
        return;
    source.setDragCursor(cursor);
    QCursor::setPos(QCursor::pos());
}

} // namespace zep
