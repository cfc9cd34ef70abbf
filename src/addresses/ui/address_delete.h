#pragma once

namespace zep {

class MainWindow;

// Deletes the selected entry of the main window's active tree with its subtree and their documents,
// after asking. While the tree's table is being edited it cancels the edit instead and deletes
// nothing. The tree file is written and the tree-change handler runs on every path once deleting
// has begun. The root is no entry: with the root selected nothing happens.
void DeleteTreeEntry(MainWindow& window);

} // namespace zep
