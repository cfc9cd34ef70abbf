#include "mainwin/tree_levels.h"

namespace zep {

QList<int> treeParentsFromLevels(const QList<int>& recordLevels, bool withRoot) {
    QList<int> nodeLevel;
    QList<int> nodeParent;
    nodeLevel.reserve(recordLevels.size() + 1);
    nodeParent.reserve(recordLevels.size() + 1);
    int previous = -1;
    int previousParent = -1;
    if (withRoot) {
        nodeLevel.append(0);
        nodeParent.append(-1);
        previous = 0;
    }
    const int levelOffset = withRoot ? 0 : 1;

    QList<int> parents;
    parents.reserve(recordLevels.size());
    for (const int recordLevel : recordLevels) {
        const int d = recordLevel - levelOffset;
        int parent = -1;
        if (previous < 0) {
            parent = -1;
        } else if (d == nodeLevel[previous]) {
            parent = nodeParent[previous];
        } else if (d == nodeLevel[previous] + 1) {
            parent = previous;
        } else if (d < nodeLevel[previous]) {
            int ancestor = nodeParent[previous];
            while (ancestor >= 0 && nodeLevel[ancestor] > d)
                ancestor = nodeParent[ancestor];
            parent = ancestor < 0 ? -1 : nodeParent[ancestor];
        } else {
            parent = previousParent;
        }
        nodeLevel.append(parent < 0 ? 0 : nodeLevel[parent] + 1);
        nodeParent.append(parent);
        parents.append(parent);
        previousParent = parent;
        previous = int(nodeLevel.size()) - 1;
    }
    return parents;
}

} // namespace zep
