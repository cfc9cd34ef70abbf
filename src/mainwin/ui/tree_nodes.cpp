#include "mainwin/ui/tree_nodes.h"

#include "mainwin/ui/tree_images.h"

#include <QTreeWidget>

namespace zep {

TreeNode::TreeNode(TreeModel::Node* entry) : QTreeWidgetItem(QTreeWidgetItem::UserType), entry_(entry) {}

bool TreeNode::operator<(const QTreeWidgetItem& other) const {
    const TreeModel::Node* otherEntry = entryOf(&other);
    return otherEntry ? entry_->row() < otherEntry->row() : QTreeWidgetItem::operator<(other);
}

QVariant TreeNode::data(int column, int role) const {
    if (column != 0)
        return QTreeWidgetItem::data(column, role);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry_->caption();
    case Qt::DecorationRole:
        // A node without image has no icon at all: an empty one would cost time on every entry.
        return entry_->type() > 0 ? QVariant(baum16Image(entry_->type())) : QVariant();
    case TreeNumberRole:
        return entry_->number();
    case TreeTypeRole:
        return entry_->type();
    default:
        return QTreeWidgetItem::data(column, role);
    }
}

TreeModel::Node* entryOf(const QTreeWidgetItem* item) {
    return item && item->type() == QTreeWidgetItem::UserType ? static_cast<const TreeNode*>(item)->entry() : nullptr;
}

int nodeNumber(const QTreeWidgetItem* item) {
    return item ? item->data(0, TreeNumberRole).toInt() : 0;
}

int nodeType(const QTreeWidgetItem* item) {
    return item ? item->data(0, TreeTypeRole).toInt() : 0;
}

bool isRootNode(const QTreeWidgetItem* item) {
    const QTreeWidget* tree = item ? item->treeWidget() : nullptr;
    return tree && tree->topLevelItemCount() > 0 && tree->topLevelItem(0) == item;
}

int nodeLevel(const QTreeWidgetItem* item) {
    int level = 0;
    for (const QTreeWidgetItem* p = item ? item->parent() : nullptr; p; p = p->parent())
        ++level;
    return level;
}

QTreeWidgetItem* firstNode(const QTreeWidget& tree) {
    return tree.topLevelItemCount() > 0 ? tree.topLevelItem(0) : nullptr;
}

namespace {

QTreeWidgetItem* nextAfterSubtree(QTreeWidgetItem* item) {
    for (QTreeWidgetItem* node = item; node; node = node->parent()) {
        QTreeWidgetItem* parent = node->parent();
        if (parent) {
            const int index = parent->indexOfChild(node);
            if (index + 1 < parent->childCount())
                return parent->child(index + 1);
        } else if (QTreeWidget* tree = node->treeWidget()) {
            const int index = tree->indexOfTopLevelItem(node);
            if (index >= 0 && index + 1 < tree->topLevelItemCount())
                return tree->topLevelItem(index + 1);
        }
    }
    return nullptr;
}

} // namespace

QTreeWidgetItem* nextNode(QTreeWidgetItem* item) {
    if (!item)
        return nullptr;
    if (item->childCount() > 0)
        return item->child(0);
    return nextAfterSubtree(item);
}

void setSubtreeExpanded(QTreeWidgetItem* item, bool expanded) {
    if (!item)
        return;
    // Changed from the top down when collapsing and from the bottom up when expanding, the view
    // lays out only the nodes that stay visible.
    if (!expanded)
        item->setExpanded(false);
    for (int i = 0; i < item->childCount(); ++i)
        setSubtreeExpanded(item->child(i), expanded);
    if (expanded)
        item->setExpanded(true);
}

} // namespace zep
