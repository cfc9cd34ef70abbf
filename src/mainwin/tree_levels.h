#pragma once

#include <QList>

namespace zep {

// Where each record of a tree file goes when the tree is built from the records' levels alone.
// Nodes are numbered in file order; with a root, node 0 is the root (level 0) and record i is node
// i + 1; without a root, record i is node i and every level is taken one smaller. The result holds,
// per record, the node number of its parent, or -1 for a top-level node.
//
// A record one level deeper than the node before becomes its child, one at the same level its
// sibling, a shallower one the next sibling of the ancestor at its level; a record two or more
// levels deeper than the node before cannot be placed and becomes that node's sibling.
QList<int> treeParentsFromLevels(const QList<int>& recordLevels, bool withRoot);

} // namespace zep
