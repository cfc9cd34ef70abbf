#pragma once

#include <QString>

class QTreeWidget;

namespace zep {

// Rebuilds the tree's model (and so the tree) from a tree file. With a root caption the tree gets a
// root node (number 0, type 2) and the records' levels count from it; with an empty caption there is
// no root and level-1 records become top-level nodes. When the file cannot be read the user is told
// through the interaction seam, the tree keeps its nodes and the result is false. A damaged file
// loads its whole, valid records; the user is told the damage and advised to rebuild the tree.
// Repainting is suspended while the nodes are added.
bool LoadTreeFile(QTreeWidget& tree, const QString& path, const QString& rootCaption);

// Writes every node of the tree's model but the first (the root) in pre-order with its level (the
// root being 0), number and type; the file is replaced in one step. A tree without root is never
// written. On failure the user is told, the file keeps its old content and the result is false.
bool SaveTreeFile(const QTreeWidget& tree, const QString& path);

} // namespace zep
