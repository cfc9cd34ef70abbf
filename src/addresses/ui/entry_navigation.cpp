#include "addresses/ui/entry_navigation.h"

#include "mainwin/ui/tree_nodes.h"

#include <QTreeWidget>

namespace zep {
namespace {

QTreeWidgetItem* nextSiblingOf(QTreeWidget& tree, QTreeWidgetItem* item) {
    QTreeWidgetItem* parent = item->parent();
    return parent ? parent->child(parent->indexOfChild(item) + 1)
                  : tree.topLevelItem(tree.indexOfTopLevelItem(item) + 1);
}

QTreeWidgetItem* targetOf(QTreeWidget& tree, QTreeWidgetItem* node, QStringView name) {
    QTreeWidgetItem* parent = node->parent();
    if (name == u"BtnNav5")
        return parent && !isRootNode(parent) ? parent : nullptr;
    if (name == u"BtnNav6")
        return parent ? nextSiblingOf(tree, parent) : nullptr;
    if (name == u"BtnNav2") {
        QTreeWidgetItem* above = tree.itemAbove(node);
        return above && !isRootNode(above) ? above : nullptr;
    }
    if (name == u"BtnNav3")
        return tree.itemBelow(node);
    if (name == u"BtnNav1" || name == u"BtnNav4")
        node->setExpanded(name == u"BtnNav4");
    return nullptr;
}

} // namespace

void navigateEntryTree(QTreeWidget& tree, QStringView buttonName) {
    QTreeWidgetItem* node = tree.currentItem();
    if (!node)
        return;
    if (QTreeWidgetItem* target = targetOf(tree, node, buttonName))
        tree.setCurrentItem(target);
}

} // namespace zep
