#pragma once

namespace zep {

// Who started a drag that hovers over the active tree.
enum class TreeDragSource { DocumentGrid, ActiveTree, Other };

// What a drop decision needs to know about the node under the pointer (the target) and the
// selected node, which is the dragged entry when the tree itself is the source.
struct TreeDropFacts {
    bool hasTarget = false;
    bool targetIsRoot = false; // absolute index 0
    bool hasSelection = false;
    bool targetIsSelected = false;
    bool targetBelowSelected = false; // a descendant of the selected node
    bool selectedIsRoot = false;
};

// Documents go onto any entry but the root. An entry moves anywhere but onto itself or its own
// subtree (so the root, which holds every node, never moves). A copy goes anywhere but onto the
// entry itself, also below it, and the root is never copied.
bool acceptsTreeDrop(TreeDragSource source, bool copyMode, const TreeDropFacts& facts);

} // namespace zep
