#pragma once

class QTreeWidgetItem;

namespace zep {

class MainWindow;
class Table;

// Deletes the selected entry of the main window's active tree with its subtree and their documents,
// after asking. While the tree's table is being edited it cancels the edit instead and deletes
// nothing. Once deleting has begun, the tree file is written and the tree-change handler runs on
// every path. The root is no entry: with the root selected nothing happens.
void DeleteTreeEntry(MainWindow& window);

// Discards the pending edit or insert of an entry table and returns it to the selected node's record.
// Throws EngineError.
void CancelEntryEdit(Table& table, const QTreeWidgetItem* selected);

} // namespace zep
