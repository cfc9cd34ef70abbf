#include "mainwin/ui/tree_nodes.h"

#include "mainwin/tree_order.h"
#include "mainwin/ui/tree_images.h"

#include <QTreeWidget>

namespace zep {

TreeNode::TreeNode(const QString& caption, int number, int type) : QTreeWidgetItem(QTreeWidgetItem::UserType) {
    setNodeData(this, caption, number, type);
}

bool TreeNode::operator<(const QTreeWidgetItem& other) const {
    return compareTreeCaptions(text(0), other.text(0)) < 0;
}

QVariant TreeNode::data(int column, int role) const {
    if (column == 0 && role == TreeNumberRole)
        return number_;
    if (column == 0 && role == TreeTypeRole)
        return type_;
    return QTreeWidgetItem::data(column, role);
}

void TreeNode::setData(int column, int role, const QVariant& value) {
    if (column == 0 && role == TreeNumberRole)
        number_ = value.toInt();
    else if (column == 0 && role == TreeTypeRole)
        type_ = value.toInt();
    else
        QTreeWidgetItem::setData(column, role, value);
}

int nodeNumber(const QTreeWidgetItem* item) {
    return item ? item->data(0, TreeNumberRole).toInt() : 0;
}

int nodeType(const QTreeWidgetItem* item) {
    return item ? item->data(0, TreeTypeRole).toInt() : 0;
}

void setNodeData(QTreeWidgetItem* item, const QString& caption, int number, int type) {
    item->setText(0, caption);
    item->setData(0, TreeNumberRole, number);
    item->setData(0, TreeTypeRole, type);
    // A node without image stores no empty icon: that would cost time and memory on every entry.
    if (type > 0)
        item->setIcon(0, baum16Image(type));
    else if (item->data(0, Qt::DecorationRole).isValid())
        item->setIcon(0, QIcon());
}

int entryTypeFromBaum(qint64 baum) {
    return baum == 1 ? TreeMainEntry : TreeOtherEntry;
}

bool isRootNode(const QTreeWidgetItem* item) {
    const QTreeWidget* tree = item ? item->treeWidget() : nullptr;
    return tree && tree->topLevelItemCount() > 0 && tree->topLevelItem(0) == item;
}

bool isDescendantOf(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor) {
    if (!item || !ancestor)
        return false;
    for (const QTreeWidgetItem* p = item->parent(); p; p = p->parent()) {
        if (p == ancestor)
            return true;
    }
    return false;
}

namespace {

int subtreeSize(const QTreeWidgetItem* item) {
    int count = 1;
    for (int i = 0; i < item->childCount(); ++i)
        count += subtreeSize(item->child(i));
    return count;
}

} // namespace

int treeNodeCount(const QTreeWidget& tree) {
    int count = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        count += subtreeSize(tree.topLevelItem(i));
    return count;
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

QTreeWidgetItem* nextNode(QTreeWidgetItem* item) {
    if (!item)
        return nullptr;
    if (item->childCount() > 0)
        return item->child(0);
    return nextAfterSubtree(item);
}

void sortChildNodes(QTreeWidget& tree, QTreeWidgetItem* item) {
    // The invisible root sorts only the top level; QTreeWidget::sortItems would sort every level.
    QTreeWidgetItem* parent = item ? item : tree.invisibleRootItem();
    // Sorting relayouts the whole view; children already in order (the usual case on expanding)
    // are left alone.
    for (int i = 1; i < parent->childCount(); ++i) {
        if (*parent->child(i) < *parent->child(i - 1)) {
            parent->sortChildren(0, Qt::AscendingOrder);
            return;
        }
    }
}

TreeNode* addChildNode(QTreeWidget& tree, QTreeWidgetItem* parent, const QString& caption, int number, int type) {
    auto* node = new TreeNode(caption, number, type);
    if (parent)
        parent->addChild(node);
    else
        tree.addTopLevelItem(node);
    sortChildNodes(tree, parent);
    return node;
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
