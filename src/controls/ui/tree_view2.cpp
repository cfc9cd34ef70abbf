#include "controls/ui/tree_view2.h"
#include "mainwin/tree_order.h"

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalBlocker>
#include <algorithm>

namespace zep {

namespace {

void collectExpanded(QTreeWidgetItem* item, QList<QTreeWidgetItem*>& expanded) {
    if (item->isExpanded())
        expanded.append(item);
    for (int i = 0; i < item->childCount(); ++i)
        collectExpanded(item->child(i), expanded);
}

} // namespace

TTreeView2::TTreeView2(QWidget* parent) : QTreeWidget(parent), dragState_(new DragState(this)) {
    connect(dragState_, &DragState::ctrlChanged, this, &TTreeView2::OnCTRLChanged);
}

bool TTreeView2::SortTopLevel() {
    QList<QTreeWidgetItem*> expanded;
    QList<QTreeWidgetItem*> items;
    QTreeWidgetItem* current = currentItem();
    {
        // Taking the items out and back must not look like a selection change to the owner.
        const QSignalBlocker blockTree(this);
        const QSignalBlocker blockSelection(selectionModel());
        // Expansion is a state of the view: read it while the items are still in the tree.
        for (int i = 0; i < topLevelItemCount(); ++i)
            collectExpanded(topLevelItem(i), expanded);
        while (topLevelItemCount() > 0)
            items.append(takeTopLevelItem(0));
        std::stable_sort(items.begin(), items.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
            return compareTreeCaptions(a->text(0), b->text(0)) < 0;
        });
        addTopLevelItems(items);
        for (QTreeWidgetItem* item : std::as_const(expanded))
            item->setExpanded(true);
        if (current)
            setCurrentItem(current);
    }
    return true;
}

bool TTreeView2::acceptsDrop(QTreeWidgetItem* target, QObject* source) const {
    return dragOver_ && dragOver_(target, source);
}

bool TTreeView2::dropOn(QTreeWidgetItem* target, QObject* source) {
    if (!target || !acceptsDrop(target, source))
        return false;
    emit OnDragDrop(target, source);
    return true;
}

void TTreeView2::startEntryDrag() {
    QTreeWidgetItem* item = currentItem();
    if (!item || isDragging())
        return;
    auto* mime = new QMimeData;
    mime->setData(treeEntryDragMimeType(), item->text(0).toUtf8());
    auto* drag = new QDrag(this); // deleted by the platform's drag manager
    drag->setMimeData(mime);
    dragState_->begin();
    const Qt::DropAction result = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    dragState_->end();
    emit OnEndDrag(result != Qt::IgnoreAction);
}

void TTreeView2::startDrag(Qt::DropActions) {
    startEntryDrag();
}

bool TTreeView2::answerDrag(QDropEvent* event) {
    DragState* sourceState = DragState::of(event->source());
    if (sourceState)
        sourceState->noteModifiers(event->modifiers());
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    if (!target || !acceptsDrop(target, event->source())) {
        setDropTarget(nullptr);
        event->ignore();
        return false;
    }
    setDropTarget(target);
    event->setDropAction(sourceState ? sourceState->proposedAction() : event->proposedAction());
    event->accept();
    return true;
}

void TTreeView2::dragEnterEvent(QDragEnterEvent* event) {
    answerDrag(event);
    // Stay interested so that the moves over other items are asked too.
    event->accept();
}

void TTreeView2::dragMoveEvent(QDragMoveEvent* event) {
    answerDrag(event);
}

void TTreeView2::dragLeaveEvent(QDragLeaveEvent* event) {
    setDropTarget(nullptr);
    event->accept();
}

void TTreeView2::dropEvent(QDropEvent* event) {
    const bool accepted = answerDrag(event);
    setDropTarget(nullptr);
    if (accepted)
        emit OnDragDrop(itemAt(event->position().toPoint()), event->source());
}

void TTreeView2::setDropTarget(QTreeWidgetItem* item) {
    const QPersistentModelIndex index = item ? QPersistentModelIndex(indexFromItem(item)) : QPersistentModelIndex();
    if (index == dropTarget_)
        return;
    dropTarget_ = index;
    viewport()->update();
}

void TTreeView2::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!dropTarget_.isValid() || index.siblingAtColumn(0) != dropTarget_) {
        QTreeWidget::drawRow(painter, option, index);
        return;
    }
    QStyleOptionViewItem highlighted = option;
    highlighted.state |= QStyle::State_Selected;
    QTreeWidget::drawRow(painter, highlighted, index);
}

void TTreeView2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        dragState_->noteModifiers(event->modifiers() | Qt::ControlModifier);
    QTreeWidget::keyPressEvent(event);
}

void TTreeView2::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        dragState_->noteModifiers(event->modifiers() & ~Qt::ControlModifier);
    QTreeWidget::keyReleaseEvent(event);
}

} // namespace zep
