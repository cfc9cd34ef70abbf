#include "mainwin/ui/tree_document_tree.h"

#include "mainwin/ui/tree_mirror.h"

namespace zep {

// The type of a filter node is its state image (0: none).
void fillDocumentTree(QTreeWidget& tree) {
    const QList<TreeFileRecord> filters = {
        {QStringLiteral("Alle"), 1, 0, 1},          {QStringLiteral("Wiedervorlage"), 1, 0, 1},
        {QStringLiteral("Heute"), 2, 0, 0},         {QStringLiteral("Morgen"), 2, 0, 0},
        {QStringLiteral("Ab Übermorgen"), 2, 0, 0}, {QStringLiteral("Datum"), 2, 0, 3},
        {QStringLiteral("Täglich"), 2, 0, 4},       {QStringLiteral("Wöchentlich"), 2, 0, 5},
        {QStringLiteral("Monatlich"), 2, 0, 6},
    };
    treeModel(tree).setRecords(filters, QStringLiteral("Dokumente"));
}

} // namespace zep
