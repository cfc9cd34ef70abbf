#pragma once

#include "data/treefile.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

namespace zep {

// The address tree or the topic tree in memory: nodes with caption, number (the record's Nr) and
// type, in the order and nesting of the tree file. Every change goes through this model; a tree view
// bound to it follows its signals, so view, model and tree file never disagree.
//
// Types: 2 the root, 1 a main entry, -1 (or 0, as the rebuild writes it) any other entry; a type
// greater than 0 is also the node's state image.
class TreeModel : public QObject {
    Q_OBJECT
public:
    enum NodeType { OtherEntry = -1, MainEntry = 1, RootNode = 2 };

    class Node {
    public:
        const QString& caption() const { return caption_; }
        qint32 number() const { return number_; }
        qint32 type() const { return type_; }
        // nullptr for a top-level node.
        Node* parent() const;
        int childCount() const { return int(children_.size()); }
        Node* child(int row) const;
        // Position among its siblings (the top-level nodes for a top-level node).
        int row() const;
        // Depth with the top-level nodes at 0.
        int level() const;
        // True for a node strictly below ancestor.
        bool isBelow(const Node* ancestor) const;
        // What the view bound to the model shows for this node; the model only keeps it, so the view
        // finds its item without a lookup table.
        void* viewItem() const { return viewItem_; }
        void setViewItem(void* item) { viewItem_ = item; }

    private:
        friend class TreeModel;
        QString caption_;
        qint32 number_ = 0;
        qint32 type_ = 0;
        Node* parent_ = nullptr; // the model's hidden top for a top-level node
        int row_ = 0;            // kept by the model, so walks never search the siblings
        void* viewItem_ = nullptr;
        std::vector<std::unique_ptr<Node>> children_;
    };

    // Where a node stood: its parent (nullptr for the top level) and its row there; after a move
    // also the order of the target's children before the node joined them.
    struct Place {
        Node* parent = nullptr;
        int row = 0;
        Node* target = nullptr;
        std::vector<Node*> targetOrder;
    };

    explicit TreeModel(QObject* parent = nullptr);
    ~TreeModel() override;

    // Replaces every node by the tree the records describe (levels placed by treeParentsFromLevels).
    // With a root caption the first node is a root (number 0, type 2) and level-1 records are its
    // children; without, level-1 records are top-level nodes.
    void setRecords(const QList<TreeFileRecord>& records, const QString& rootCaption);
    // Reads a tree file into the model. Throws FileError when the file cannot be opened or read; the
    // model is then unchanged. A damaged file still loads its whole, valid records; the result then
    // says what was left out, and is empty for a whole file.
    QString load(const QString& path, const QString& rootCaption);
    // Every node but the first (the root) in pre-order, with its level counted from the root (0).
    QList<TreeFileRecord> records() const;
    // Writes records() to a tree file. A model without root is never written: its first node would be
    // lost. Throws FileError.
    void save(const QString& path) const;
    void clear();

    int topLevelCount() const { return top_.childCount(); }
    Node* topLevel(int row) const { return top_.child(row); }
    // The first node in pre-order (the root when there is one), or nullptr.
    Node* first() const;
    bool hasRoot() const;
    bool isRoot(const Node* node) const { return node && node == first() && hasRoot(); }
    int nodeCount() const { return nodeCount_; }
    bool isEmpty() const { return nodeCount_ == 0; }

    // Pre-order walk, collapsed or not: the node after node, or nullptr after the last.
    static Node* next(const Node* node);
    // The node after the last descendant of node.
    static Node* nextAfterSubtree(const Node* node);
    // The first node in pre-order with this number, or nullptr.
    Node* findNumber(qint32 number) const;
    // The numbers of node's descendants in pre-order (node itself not included).
    QList<qint32> descendantNumbers(const Node* node) const;
    // Lines "caption¶number" for node and, with descendants, its subtree in pre-order; main entries
    // (type 1) only with main entries. Node itself is always visited first, also when it is the root.
    QStringList subtreeEntryLines(const Node* node, bool withDescendants, bool withMainEntries) const;
    // Node and its descendants, every node after all of its descendants (reverse pre-order).
    QList<Node*> subtreeLeavesFirst(Node* node) const;

    // Adds a node as the last child of parent (nullptr: the top level) and sorts its siblings.
    Node* addChild(Node* parent, const QString& caption, qint32 number, qint32 type);
    // Caption and type of an entry; its place among its siblings stays.
    void setEntry(Node* node, const QString& caption, qint32 type);
    // Sorts the children of parent (nullptr: the top-level nodes) by caption (compareTreeCaptions).
    void sortChildren(Node* parent);
    // A node moves onto any node but itself or one of its descendants (so the root never moves).
    static bool canMove(const Node* node, const Node* target);
    // A copy goes onto any node but the copied one, also below it; the root is never copied.
    bool canCopy(const Node* node, const Node* target) const;
    // Moves node with its subtree to be the last child of target, sorts target's children and returns
    // where node stood before. Nothing happens (and node's place is returned) when canMove refuses.
    Place move(Node* node, Node* target);
    // Puts node back exactly where it stood (as returned by move) and gives the target's children
    // their order from before the move.
    void moveTo(Node* node, const Place& place);
    // Removes node with its subtree.
    void remove(Node* node);

signals:
    void aboutToReset();
    void wasReset();
    // node was inserted at node->row() of its parent.
    void added(TreeModel::Node* node);
    // node (with its subtree) left row oldRow of oldParent (nullptr: the top level) and now stands at
    // node->row() of its parent.
    void moved(TreeModel::Node* node, TreeModel::Node* oldParent, int oldRow);
    void changed(TreeModel::Node* node);
    // The children of parent (nullptr: the top level) were reordered by sortChildren.
    void childrenSorted(TreeModel::Node* parent);
    // node and its subtree are about to be removed.
    void aboutToRemove(TreeModel::Node* node);

private:
    Node* holder(Node* parent) { return parent ? parent : &top_; }
    std::unique_ptr<Node> take(Node* node);
    void insert(std::unique_ptr<Node> node, Node* parent, int row);
    static void renumber(Node* holder, int fromRow);
    void restoreOrder(Node* parent, const std::vector<Node*>& order);

    Node top_; // holds the top-level nodes; never shown, never a parent() of anybody
    int nodeCount_ = 0;
};

// The type of an entry made from a record's Baum field: 1 for a main entry, else -1.
int entryTypeFromBaum(qint64 baum);

} // namespace zep
