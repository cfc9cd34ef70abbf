#include "addresses/ui/address_delete.h"

#include "addresses/address_texts.h"
#include "addresses/entry_delete.h"
#include "addresses/entry_editor.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_mirror.h"
#include "mainwin/ui/tree_nodes.h"

#include <QSignalBlocker>
#include <QTreeWidget>

namespace zep {

namespace {

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

} // namespace

void CancelEntryEdit(Table& table, const QTreeWidgetItem* selected) {
    cancelEntryEdit(table, entryOf(selected));
}

void DeleteTreeEntry(MainWindow& window) {
    const ViewState view = window.viewState();
    if (!view.hasTable() || !view.table || !view.tree || !view.dataSource)
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
    TreeModel::Node* node = entryOf(selected);
    if (!node || isRootNode(selected))
        return;
    if (Interaction::instance().askOkAbort(deleteEntryQuestion(), ApplicationName.toString()) != Answer::Ok)
        return;

    TDM& dm = window.dataModule();
    const EntryDeletion deletion{
        table, *view.dataSource, dm.TDok, view.documentIndex, view.linkField, Program::instance().client.FilesDir};
    try {
        // The nodes go one by one: the tree-change handler runs once at the end, not per node.
        const QSignalBlocker blocker(tree);
        const QStringList notTrashed = deleteEntrySubtree(deletion, treeModel(tree), node);
        if (!notTrashed.isEmpty())
            showError(filesNotTrashedMessage(notTrashed));
    } catch (const EngineError& error) {
        showError(error.message());
    }
    SaveTreeFile(tree, view.treeFile);
    dm.CloseDocumentQuery();
    window.activeTreeChanged();
}

} // namespace zep
