#pragma once

#include "controls/ui/drag_state.h"

#include <QTreeWidget>
#include <functional>

namespace zep {

// Tree view of the address, topic and resubmission trees and of the tree picker.
// Adds the Ctrl state during a drag and leaves every decision about drops to its owner: the tree
// never moves its items by itself on a drop. As with any item view, drags start only with
// setDragEnabled(true) and drops arrive only with setAcceptDrops(true).
class TTreeView2 : public QTreeWidget {
    Q_OBJECT
public:
    // Decides whether a drag from source (this tree, another control such as the document grid, or
    // nullptr for another application) may be dropped on target (nullptr: no item under the pointer).
    using DragOverHandler = std::function<bool(QTreeWidgetItem* target, QObject* source)>;

    explicit TTreeView2(QWidget* parent = nullptr);

    // Sorts the top-level items (not their descendants) by caption, locale-aware and
    // case-sensitive; keeps expansion and the current item without reporting a selection change.
    // Items exist without a native window, so a tree filled but not yet shown (the tree picker
    // sorts before its dialog opens) is sorted too; it always returns true.
    bool SortTopLevel();

    bool ctrlState() const { return dragState_->ctrlPressed(); }
    // Emits OnCTRLChanged when the state changes (the owner resets it after a drag).
    void setCtrlState(bool pressed) { dragState_->setCtrlPressed(pressed); }
    bool isDragging() const { return dragState_->dragging(); }
    int dragCursor() const { return dragState_->dragCursor(); }
    void setDragCursor(int cursor) { dragState_->setDragCursor(cursor); }

    // Without a handler every drop is refused.
    void setDragOverHandler(DragOverHandler handler) { dragOver_ = std::move(handler); }
    // What a drag over target would be answered (also usable without a real drag).
    bool acceptsDrop(QTreeWidgetItem* target, QObject* source) const;
    // Emits OnDragDrop when there is a target and the handler accepts it.
    bool dropOn(QTreeWidgetItem* target, QObject* source);

    // Starts the drag of the selected item as a real drag would (blocks in the platform's drag
    // loop until the drop); OnEndDrag follows whether dropped or not.
    void startEntryDrag();

signals:
    void OnCTRLChanged(bool pressed);
    void OnDragDrop(QTreeWidgetItem* target, QObject* source);
    void OnEndDrag(bool dropped);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    bool answerDrag(QDropEvent* event);
    void setDropTarget(QTreeWidgetItem* item);

    DragState* dragState_;
    DragOverHandler dragOver_;
    QPersistentModelIndex dropTarget_; // shown highlighted while a drag may drop there
};

} // namespace zep
