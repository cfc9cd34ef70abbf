#pragma once

#include "mainwin/tree_model.h"

#include <QTreeWidgetItem>

class QTreeWidget;

namespace zep {

// Data a node of the trees carries besides its caption (column 0).
inline constexpr int TreeNumberRole = Qt::UserRole + 1; // the record's Nr; 0 for the root
inline constexpr int TreeTypeRole = Qt::UserRole + 2;   // 2 root, 1 main entry, -1 (or 0) other

enum TreeNodeType {
    TreeOtherEntry = TreeModel::OtherEntry,
    TreeMainEntry = TreeModel::MainEntry,
    TreeRootNode = TreeModel::RootNode
};

// The view's side of a model node: caption, number, type and state image are read from the model
// node, never stored twice. Siblings sort in the model's order (their rows there), so
// QTreeWidgetItem::sortChildren follows any reordering of the model and keeps expansion and selection.
class TreeNode : public QTreeWidgetItem {
public:
    explicit TreeNode(TreeModel::Node* entry);
    TreeModel::Node* entry() const { return entry_; }
    bool operator<(const QTreeWidgetItem& other) const override;
    QVariant data(int column, int role) const override;
    // Tells the view that the model node's caption or type changed.
    void refresh() { emitDataChanged(); }

private:
    TreeModel::Node* entry_;
};

// The model node an item of a bound tree shows; nullptr for none.
TreeModel::Node* entryOf(const QTreeWidgetItem* item);

int nodeNumber(const QTreeWidgetItem* item);
int nodeType(const QTreeWidgetItem* item);

// The root is the first node (absolute index 0).
bool isRootNode(const QTreeWidgetItem* item);
// Depth with the top-level nodes at 0.
int nodeLevel(const QTreeWidgetItem* item);

// Pre-order walk over the view's items, collapsed branches included; nullptr after the last node.
// Searches and rules walk the model; this shows what the view holds.
QTreeWidgetItem* firstNode(const QTreeWidget& tree);
QTreeWidgetItem* nextNode(QTreeWidgetItem* item);

// Collapses item and all its descendants, or expands them all.
void setSubtreeExpanded(QTreeWidgetItem* item, bool expanded);

} // namespace zep
