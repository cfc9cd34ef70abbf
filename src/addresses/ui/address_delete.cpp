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

// Deletes the records of the subtree in pre-order, each with its documents; a node without a
// record is skipped.
void deleteSubtreeRecords(Table& table, Table& documents, QTreeWidgetItem* selected, const ViewState& view) {
    const QString filesDir = Program::instance().client.FilesDir;
    for (QTreeWidgetItem* node = selected; node && (node == selected || isDescendantOf(node, selected));
         node = nextNode(node)) {
        if (!table.findKey({nodeNumber(node)}))
            continue;
        if (documents.recordCount() > 0)
            removeEntryDocuments(documents, view.linkField, filesDir);
        table.deleteRecord();
    }
}

void removeSubtreeNodes(QTreeWidget& tree, QTreeWidgetItem* selected) {
    const QSignalBlocker blocker(tree);
    delete selected;
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
        deleteSubtreeRecords(table, documents, selected, view);
        removeSubtreeNodes(tree, selected);
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
