#include "mainwin/ui/tree_document_tree.h"

#include "mainwin/ui/tree_nodes.h"

#include <QTreeWidget>

namespace zep {

void fillDocumentTree(QTreeWidget& tree) {
    tree.clear();
    auto* root = new TreeNode(QStringLiteral("Dokumente"), 0, 2);
    tree.addTopLevelItem(root);
    root->addChild(new TreeNode(QStringLiteral("Alle"), 0, 1));
    auto* resubmission = new TreeNode(QStringLiteral("Wiedervorlage"), 0, 1);
    root->addChild(resubmission);
    const std::pair<const char16_t*, int> filters[] = {
        {u"Heute", 0},   {u"Morgen", 0},      {u"Ab Übermorgen", 0}, {u"Datum", 3},
        {u"Täglich", 4}, {u"Wöchentlich", 5}, {u"Monatlich", 6},
    };
    for (const auto& [caption, image] : filters)
        resubmission->addChild(new TreeNode(QString::fromUtf16(caption), 0, image));
}

} // namespace zep
