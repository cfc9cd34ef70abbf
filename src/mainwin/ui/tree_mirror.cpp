#include "mainwin/ui/tree_mirror.h"

#include "mainwin/ui/tree_nodes.h"

#include <QSignalBlocker>
#include <QTreeWidget>

namespace zep {

namespace {

TreeMirror* mirrorOf(const QTreeWidget& tree) {
    return tree.findChild<TreeMirror*>(QString(), Qt::FindDirectChildrenOnly);
}

void collectExpanded(QTreeWidgetItem* item, QList<QTreeWidgetItem*>& expanded) {
    if (item->isExpanded())
        expanded.append(item);
    for (int i = 0; i < item->childCount(); ++i)
        collectExpanded(item->child(i), expanded);
}

} // namespace

TreeModel& treeModel(QTreeWidget& tree) {
    TreeMirror* mirror = mirrorOf(tree);
    if (!mirror)
        mirror = new TreeMirror(tree);
    return mirror->model();
}

const TreeModel& treeModel(const QTreeWidget& tree) {
    return treeModel(const_cast<QTreeWidget&>(tree));
}

QTreeWidgetItem* itemOf(const QTreeWidget& tree, const TreeModel::Node* node) {
    const TreeMirror* mirror = mirrorOf(tree);
    return mirror ? mirror->itemOf(node) : nullptr;
}

TreeMirror::TreeMirror(QTreeWidget& tree) : QObject(&tree), tree_(tree) {
    tree_.clear();
    connect(&model_, &TreeModel::aboutToReset, this, &TreeMirror::clear);
    connect(&model_, &TreeModel::wasReset, this, &TreeMirror::rebuild);
    connect(&model_, &TreeModel::added, this, &TreeMirror::add);
    connect(&model_, &TreeModel::moved, this, &TreeMirror::move);
    connect(&model_, &TreeModel::changed, this, &TreeMirror::change);
    connect(&model_, &TreeModel::childrenSorted, this, &TreeMirror::sort);
    connect(&model_, &TreeModel::aboutToRemove, this, &TreeMirror::remove);
}

QTreeWidgetItem* TreeMirror::itemOf(const TreeModel::Node* node) const {
    return node ? static_cast<TreeNode*>(node->viewItem()) : nullptr;
}

// The item whose children are node's children: nullptr stands for the top level.
QTreeWidgetItem* TreeMirror::holderOf(const TreeModel::Node* node) const {
    return node ? itemOf(node) : tree_.invisibleRootItem();
}

// Attached top down, every item while it is still a leaf: attaching an item walks its subtree.
TreeNode* TreeMirror::build(TreeModel::Node* node) {
    auto* top = new TreeNode(node);
    node->setViewItem(top);
    const TreeModel::Node* end = TreeModel::nextAfterSubtree(node);
    for (TreeModel::Node* n = TreeModel::next(node); n != end; n = TreeModel::next(n)) {
        auto* item = new TreeNode(n);
        n->setViewItem(item);
        itemOf(n->parent())->addChild(item);
    }
    return top;
}

void TreeMirror::clear() {
    tree_.clear();
}

// Built detached from the view, so the view hears of the nodes once, not per node.
void TreeMirror::rebuild() {
    QList<QTreeWidgetItem*> topLevel;
    topLevel.reserve(model_.topLevelCount());
    for (int row = 0; row < model_.topLevelCount(); ++row)
        topLevel.append(build(model_.topLevel(row)));
    tree_.addTopLevelItems(topLevel);
}

void TreeMirror::add(TreeModel::Node* node) {
    holderOf(node->parent())->insertChild(node->row(), build(node));
}

void TreeMirror::move(TreeModel::Node* node, TreeModel::Node* oldParent, int oldRow) {
    QTreeWidgetItem* item = itemOf(node);
    QTreeWidgetItem* current = tree_.currentItem();
    const TreeModel::Node* currentNode = entryOf(current);
    const bool holdsCurrent = currentNode && (currentNode == node || currentNode->isBelow(node));
    QList<QTreeWidgetItem*> expanded;
    collectExpanded(item, expanded);
    // Taken out and put back, the node is no change of selection (nor of expansion) for the handlers.
    const QSignalBlocker blocker(&tree_);
    QTreeWidgetItem* from = holderOf(oldParent);
    from->takeChild(oldRow);
    holderOf(node->parent())->insertChild(node->row(), item);
    for (QTreeWidgetItem* e : std::as_const(expanded))
        e->setExpanded(true);
    if (holdsCurrent)
        tree_.setCurrentItem(current);
}

void TreeMirror::change(TreeModel::Node* node) {
    if (auto* item = static_cast<TreeNode*>(node->viewItem()))
        item->refresh();
}

void TreeMirror::sort(TreeModel::Node* parent) {
    if (QTreeWidgetItem* holder = holderOf(parent))
        holder->sortChildren(0, Qt::AscendingOrder);
}

void TreeMirror::remove(TreeModel::Node* node) {
    QTreeWidgetItem* item = itemOf(node);
    // Handlers woken by the deletion (a new current item) find no item for the leaving nodes.
    const TreeModel::Node* end = TreeModel::nextAfterSubtree(node);
    for (TreeModel::Node* n = node; n && n != end; n = TreeModel::next(n))
        n->setViewItem(nullptr);
    delete item;
}

} // namespace zep
