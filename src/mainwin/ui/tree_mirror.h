#pragma once

#include "mainwin/tree_model.h"

#include <QObject>

class QTreeWidget;
class QTreeWidgetItem;

namespace zep {

class TreeNode;

// The model a tree view shows, made on first use and owned by the view. The view's nodes mirror the
// model: every change is made to the model, and the view follows its signals.
TreeModel& treeModel(QTreeWidget& tree);
const TreeModel& treeModel(const QTreeWidget& tree);

// The item that shows a node of the tree's model; nullptr for none.
QTreeWidgetItem* itemOf(const QTreeWidget& tree, const TreeModel::Node* node);

// Keeps the items of a tree view in step with a model. A node moved within the view keeps its
// subtree's expansion and, when it holds the current item, the selection, without reporting a
// selection change; removing the current item is a selection change the caller may block.
class TreeMirror : public QObject {
    Q_OBJECT
public:
    explicit TreeMirror(QTreeWidget& tree);
    TreeModel& model() { return model_; }
    QTreeWidgetItem* itemOf(const TreeModel::Node* node) const;

private:
    QTreeWidgetItem* holderOf(const TreeModel::Node* node) const;
    TreeNode* build(TreeModel::Node* node);
    void clear();
    void rebuild();
    void add(TreeModel::Node* node);
    void move(TreeModel::Node* node, TreeModel::Node* oldParent, int oldRow);
    void change(TreeModel::Node* node);
    void sort(TreeModel::Node* parent);
    void remove(TreeModel::Node* node);

    QTreeWidget& tree_;
    TreeModel model_;
};

} // namespace zep
