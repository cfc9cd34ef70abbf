#pragma once

#include <QTreeWidgetItem>

class QTreeWidget;

namespace zep {

// Data a node of the address and topic trees carries besides its caption (column 0).
inline constexpr int TreeNumberRole = Qt::UserRole + 1; // the record's Nr; 0 for the root
inline constexpr int TreeTypeRole = Qt::UserRole + 2;   // 2 root, 1 main entry, -1 (or 0) other

enum TreeNodeType { TreeOtherEntry = -1, TreeMainEntry = 1, TreeRootNode = 2 };

// A node whose siblings sort in caption order (compareTreeCaptions). Every node of the trees is
// one of these, so QTreeWidgetItem::sortChildren gives the program's order and keeps expansion and
// selection.
class TreeNode : public QTreeWidgetItem {
public:
    TreeNode(const QString& caption, int number, int type);
    bool operator<(const QTreeWidgetItem& other) const override;
    // Number and type are kept as members: a large tree loads markedly faster than with item data.
    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant& value) override;

private:
    int number_ = 0;
    int type_ = 0;
};

int nodeNumber(const QTreeWidgetItem* item);
int nodeType(const QTreeWidgetItem* item);
// Caption, number and type; the type is also the state image when it is greater than 0.
void setNodeData(QTreeWidgetItem* item, const QString& caption, int number, int type);
// The type of an entry made from a record's Baum field: 1 for a main entry, else -1.
int entryTypeFromBaum(qint64 baum);

// The root is the first node (absolute index 0).
bool isRootNode(const QTreeWidgetItem* item);
bool isDescendantOf(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor);
int treeNodeCount(const QTreeWidget& tree);
// Depth with the top-level nodes at 0.
int nodeLevel(const QTreeWidgetItem* item);

// Pre-order walk, collapsed branches included; nullptr after the last node.
QTreeWidgetItem* firstNode(const QTreeWidget& tree);
QTreeWidgetItem* nextNode(QTreeWidgetItem* item);
// The node after the last descendant of item (its subtree ends there).
QTreeWidgetItem* nextAfterSubtree(QTreeWidgetItem* item);

// Sorts the children of item (or the top-level nodes for nullptr) by caption.
void sortChildNodes(QTreeWidget& tree, QTreeWidgetItem* item);
// Adds a node as the last child of parent and sorts its siblings. The caller saves the tree file.
TreeNode* addChildNode(QTreeWidget& tree, QTreeWidgetItem* parent, const QString& caption, int number, int type);

// Collapses item and all its descendants, or expands them all.
void setSubtreeExpanded(QTreeWidgetItem* item, bool expanded);

} // namespace zep
