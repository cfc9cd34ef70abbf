#include "mainwin/tree_drop_rules.h"

namespace zep {

bool acceptsTreeDrop(const TreeModel& model, TreeDragSource source, bool copyMode, const TreeModel::Node* selected,
                     const TreeModel::Node* target) {
    if (!target)
        return false;
    switch (source) {
    case TreeDragSource::DocumentGrid:
        return !model.isRoot(target);
    case TreeDragSource::ActiveTree:
        if (!selected || target == selected)
            return false;
        return copyMode ? !model.isRoot(selected) : TreeModel::canMove(selected, target);
    case TreeDragSource::Other:
        return false;
    }
    return false;
}

} // namespace zep
