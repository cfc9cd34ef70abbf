#pragma once

#include "mainwin/tree_model.h"

namespace zep {

// Who started a drag that hovers over the active tree.
enum class TreeDragSource { DocumentGrid, ActiveTree, Other };

// Whether a drag may drop onto target (the node under the pointer; nullptr over no node). selected is
// the tree's selected node, the dragged entry when the tree itself is the source.
// Documents go onto any entry but the root. An entry moves anywhere but onto itself or its own
// subtree (so the root, which holds every node, never moves). A copy goes anywhere but onto the
// entry itself, also below it, and the root is never copied.
bool acceptsTreeDrop(const TreeModel& model, TreeDragSource source, bool copyMode, const TreeModel::Node* selected,
                     const TreeModel::Node* target);

} // namespace zep
