#include "mainwin/tree_model.h"

#include "data/format_error.h"
#include "mainwin/tree_levels.h"
#include "mainwin/tree_order.h"
#include "mainwin/tree_texts.h"

#include <algorithm>

namespace zep {

namespace {

bool captionBefore(const std::unique_ptr<TreeModel::Node>& a, const std::unique_ptr<TreeModel::Node>& b) {
    return compareTreeCaptions(a->caption(), b->caption()) < 0;
}

int subtreeSize(const TreeModel::Node* node) {
    int size = 1;
    for (int row = 0; row < node->childCount(); ++row)
        size += subtreeSize(node->child(row));
    return size;
}

} // namespace

TreeModel::Node* TreeModel::Node::parent() const {
    return parent_ && parent_->parent_ ? parent_ : nullptr;
}

TreeModel::Node* TreeModel::Node::child(int row) const {
    return row >= 0 && row < childCount() ? children_[size_t(row)].get() : nullptr;
}

int TreeModel::Node::row() const {
    return parent_ ? row_ : 0;
}

int TreeModel::Node::level() const {
    int level = 0;
    for (const Node* p = parent(); p; p = p->parent())
        ++level;
    return level;
}

bool TreeModel::Node::isBelow(const Node* ancestor) const {
    if (!ancestor)
        return false;
    for (const Node* p = parent(); p; p = p->parent()) {
        if (p == ancestor)
            return true;
    }
    return false;
}

TreeModel::TreeModel(QObject* parent) : QObject(parent) {}

TreeModel::~TreeModel() = default;

void TreeModel::setRecords(const QList<TreeFileRecord>& records, const QString& rootCaption) {
    const bool withRoot = !rootCaption.isEmpty();
    QList<int> levels;
    levels.reserve(records.size());
    for (const TreeFileRecord& record : records)
        levels.append(record.level);
    const QList<int> parents = treeParentsFromLevels(levels, withRoot);

    // Each node's children are counted first, so every list of children is allocated once.
    std::vector<int> childCounts(size_t(records.size()) + 1, 0);
    size_t topLevel = withRoot ? 1 : 0;
    for (const int parent : parents) {
        if (parent >= 0)
            ++childCounts[size_t(parent)];
        else
            ++topLevel;
    }

    emit aboutToReset();
    top_.children_.clear();
    top_.children_.reserve(topLevel);
    std::vector<Node*> nodes; // in file order, the root first
    nodes.reserve(size_t(records.size()) + 1);
    const auto append = [&](Node* parent, const QString& caption, qint32 number, qint32 type) {
        auto node = std::make_unique<Node>();
        node->children_.reserve(size_t(childCounts[nodes.size()]));
        node->caption_ = caption;
        node->number_ = number;
        node->type_ = type;
        node->parent_ = parent;
        node->row_ = parent->childCount();
        nodes.push_back(node.get());
        parent->children_.push_back(std::move(node));
    };
    if (withRoot)
        append(&top_, rootCaption, 0, RootNode);
    for (qsizetype i = 0; i < records.size(); ++i) {
        Node* parent = parents[i] < 0 ? &top_ : nodes[size_t(parents[i])];
        append(parent, records[i].name, records[i].nr, records[i].baum);
    }
    nodeCount_ = int(nodes.size());
    emit wasReset();
}

QString TreeModel::load(const QString& path, const QString& rootCaption) {
    const TreeFileContent content = readTreeFileContent(path);
    setRecords(content.records, rootCaption);
    return content.damage;
}

namespace {

template <typename Visit> void visitSubtree(const TreeModel::Node* node, int level, const Visit& visit) {
    visit(node, level);
    for (int row = 0; row < node->childCount(); ++row)
        visitSubtree(node->child(row), level + 1, visit);
}

// Calls visit(node, level) for every record of the tree file: every node but the first in pre-order.
// Any top-level node besides the root (only a damaged file makes one) is at level 0, so a reload puts
// it back.
template <typename Visit> void visitRecords(const TreeModel& model, const Visit& visit) {
    const TreeModel::Node* first = model.first();
    for (int row = 0; row < model.topLevelCount(); ++row) {
        visitSubtree(model.topLevel(row), 0, [&](const TreeModel::Node* node, int level) {
            if (node != first)
                visit(node, level);
        });
    }
}

} // namespace

QList<TreeFileRecord> TreeModel::records() const {
    QList<TreeFileRecord> records;
    records.reserve(nodeCount_);
    visitRecords(*this, [&](const Node* node, int level) {
        records.append({node->caption(), level, node->number(), node->type()});
    });
    return records;
}

// Encoded straight from the nodes: no list of records is made on the way.
void TreeModel::save(const QString& path) const {
    if (!hasRoot())
        throw FileError(treeWithoutRootMessage(path));
    TreeFileEncoder encoder(nodeCount_);
    visitRecords(*this, [&](const Node* node, int level) {
        encoder.append(node->caption(), level, node->number(), node->type());
    });
    encoder.write(path);
}

void TreeModel::clear() {
    emit aboutToReset();
    top_.children_.clear();
    nodeCount_ = 0;
    emit wasReset();
}

TreeModel::Node* TreeModel::first() const {
    return topLevel(0);
}

bool TreeModel::hasRoot() const {
    const Node* node = first();
    return node && node->type() == RootNode && node->number() == 0;
}

TreeModel::Node* TreeModel::next(const Node* node) {
    if (!node)
        return nullptr;
    if (node->childCount() > 0)
        return node->child(0);
    return nextAfterSubtree(node);
}

TreeModel::Node* TreeModel::nextAfterSubtree(const Node* node) {
    for (const Node* n = node; n && n->parent_; n = n->parent_) {
        if (Node* sibling = n->parent_->child(n->row() + 1))
            return sibling;
    }
    return nullptr;
}

TreeModel::Node* TreeModel::findNumber(qint32 number) const {
    for (Node* node = first(); node; node = next(node)) {
        if (node->number() == number)
            return node;
    }
    return nullptr;
}

QList<qint32> TreeModel::descendantNumbers(const Node* node) const {
    QList<qint32> numbers;
    const Node* end = nextAfterSubtree(node);
    for (const Node* n = next(node); n && n != end; n = next(n))
        numbers.append(n->number());
    return numbers;
}

QStringList TreeModel::subtreeEntryLines(const Node* node, bool withDescendants, bool withMainEntries) const {
    QStringList lines;
    if (!node)
        return lines;
    const Node* end = withDescendants ? nextAfterSubtree(node) : next(node);
    for (const Node* n = node; n && n != end; n = next(n)) {
        if (withMainEntries || n->type() != MainEntry)
            lines.append(subtreeEntryLine(n->caption(), n->number()));
    }
    return lines;
}

QList<TreeModel::Node*> TreeModel::subtreeLeavesFirst(Node* node) const {
    QList<Node*> nodes;
    const Node* end = nextAfterSubtree(node);
    for (Node* n = node; n && n != end; n = next(n))
        nodes.prepend(n);
    return nodes;
}

void TreeModel::insert(std::unique_ptr<Node> node, Node* parent, int row) {
    Node* into = holder(parent);
    node->parent_ = into;
    row = std::clamp(row, 0, into->childCount());
    into->children_.insert(into->children_.begin() + row, std::move(node));
    renumber(into, row);
}

void TreeModel::renumber(Node* holder, int fromRow) {
    for (int row = fromRow; row < holder->childCount(); ++row)
        holder->children_[size_t(row)]->row_ = row;
}

std::unique_ptr<TreeModel::Node> TreeModel::take(Node* node) {
    auto& siblings = node->parent_->children_;
    Node* holder = node->parent_;
    const int row = node->row();
    std::unique_ptr<Node> taken = std::move(siblings[size_t(row)]);
    siblings.erase(siblings.begin() + row);
    renumber(holder, row);
    taken->parent_ = nullptr;
    return taken;
}

TreeModel::Node* TreeModel::addChild(Node* parent, const QString& caption, qint32 number, qint32 type) {
    auto node = std::make_unique<Node>();
    node->caption_ = caption;
    node->number_ = number;
    node->type_ = type;
    Node* added = node.get();
    insert(std::move(node), parent, holder(parent)->childCount());
    ++nodeCount_;
    emit this->added(added);
    sortChildren(parent);
    return added;
}

void TreeModel::setEntry(Node* node, const QString& caption, qint32 type) {
    node->caption_ = caption;
    node->type_ = type;
    emit changed(node);
}

void TreeModel::sortChildren(Node* parent) {
    auto& children = holder(parent)->children_;
    // Children already in order (the usual case on expanding) are left alone: the view would
    // otherwise lay itself out again.
    if (std::is_sorted(children.begin(), children.end(), captionBefore))
        return;
    std::stable_sort(children.begin(), children.end(), captionBefore);
    renumber(holder(parent), 0);
    emit childrenSorted(parent);
}

void TreeModel::restoreOrder(Node* parent, const std::vector<Node*>& order) {
    auto& children = holder(parent)->children_;
    std::vector<std::unique_ptr<Node>> restored;
    restored.reserve(order.size());
    for (Node* node : order)
        restored.push_back(std::move(children[size_t(node->row())]));
    children = std::move(restored);
    renumber(holder(parent), 0);
    emit childrenSorted(parent);
}

bool TreeModel::canMove(const Node* node, const Node* target) {
    return node && target && node != target && !target->isBelow(node);
}

bool TreeModel::canCopy(const Node* node, const Node* target) const {
    return node && target && node != target && !isRoot(node);
}

TreeModel::Place TreeModel::move(Node* node, Node* target) {
    Place before{node->parent(), node->row()};
    if (!canMove(node, target))
        return before;
    before.target = target;
    for (int row = 0; row < target->childCount(); ++row)
        before.targetOrder.push_back(target->child(row));
    insert(take(node), target, target->childCount());
    emit moved(node, before.parent, before.row);
    sortChildren(target);
    return before;
}

void TreeModel::moveTo(Node* node, const Place& place) {
    Node* oldParent = node->parent();
    const int oldRow = node->row();
    insert(take(node), place.parent, place.row);
    emit moved(node, oldParent, oldRow);
    if (place.target)
        restoreOrder(place.target, place.targetOrder);
}

void TreeModel::remove(Node* node) {
    emit aboutToRemove(node);
    nodeCount_ -= subtreeSize(node);
    take(node);
}

int entryTypeFromBaum(qint64 baum) {
    return baum == 1 ? TreeModel::MainEntry : TreeModel::OtherEntry;
}

} // namespace zep
