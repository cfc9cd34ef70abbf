#include "addresses/ui/address_delete.h"

#include "addresses/address_texts.h"
#include "addresses/entry_documents.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_nodes.h"

#include <QSignalBlocker>
#include <QTreeWidget>

namespace zep {

namespace {

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

// Deletes the subtree from the leaves up: each entry's documents, its record, then its node. Should
// the engine fail half-way, the tree still holds exactly the entries whose records are left, so tree,
// table and tree file stay in step. A node without a record is removed as well.
void deleteSubtree(QTreeWidget& tree, Table& table, Table& documents, QTreeWidgetItem* selected,
                   const ViewState& view) {
    const QString filesDir = Program::instance().client.FilesDir;
    std::vector<QTreeWidgetItem*> nodes;
    for (QTreeWidgetItem* node = selected; node && (node == selected || isDescendantOf(node, selected));
         node = nextNode(node))
        nodes.push_back(node);
    const QSignalBlocker blocker(tree);
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        if (table.findKey({nodeNumber(*it)})) {
            if (documents.recordCount() > 0)
                removeEntryDocuments(documents, view.linkField, filesDir);
            table.deleteRecord();
        }
        delete *it;
    }
}

} // namespace

void CancelEntryEdit(Table& table, const QTreeWidgetItem* selected) {
    table.cancel();
    if (selected)
        table.findKey({nodeNumber(selected)});
}

void DeleteTreeEntry(MainWindow& window) {
    const ViewState view = window.viewState();
    if (!view.hasTable() || !view.table || !view.tree)
        return;
    Table& table = *view.table;
    QTreeWidget& tree = *view.tree;
    QTreeWidgetItem* selected = tree.currentItem();
    try {
        if (table.isEditing()) {
            CancelEntryEdit(table, selected);
            return;
        }
    } catch (const EngineError& error) {
        showError(error.message());
        return;
    }
    if (!selected || isRootNode(selected))
        return;
    if (Interaction::instance().askOkAbort(deleteEntryQuestion(), ApplicationName.toString()) != Answer::Ok)
        return;

    TDM& dm = window.dataModule();
    Table& documents = dm.TDok;
    try {
        documents.setIndexName(view.documentIndex);
        documents.setMaster(view.dataSource, QStringLiteral("Nr"));
        deleteSubtree(tree, table, documents, selected, view);
    } catch (const EngineError& error) {
        showError(error.message());
    }
    try {
        documents.clearMaster();
        documents.setIndexName(QString());
    } catch (const EngineError& error) {
        showError(error.message());
    }
    SaveTreeFile(tree, view.treeFile);
    dm.CloseDocumentQuery();
    window.activeTreeChanged();
}

} // namespace zep
