#include "mainwin/tree_drop_rules.h"

namespace zep {

bool acceptsTreeDrop(TreeDragSource source, bool copyMode, const TreeDropFacts& facts) {
    if (!facts.hasTarget)
        return false;
    switch (source) {
    case TreeDragSource::DocumentGrid:
        return !facts.targetIsRoot;
    case TreeDragSource::ActiveTree:
        if (!facts.hasSelection || facts.targetIsSelected)
            return false;
        return copyMode ? !facts.selectedIsRoot : !facts.targetBelowSelected;
    case TreeDragSource::Other:
        return false;
    }
    return false;
}

} // namespace zep
