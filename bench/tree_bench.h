#pragma once

namespace zep::bench {

// Loads a generated tree file of the given number of addresses into a TTreeView2 and saves it back,
// beside the time Qt needs to put the same number of plain QTreeWidgetItems into a QTreeWidget, and
// prints the times and their ratios (goal: 1.5 at most). Needs a QApplication (the offscreen
// platform will do).
void runTreeBenchmark(int addresses);

} // namespace zep::bench
