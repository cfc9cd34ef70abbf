#pragma once

namespace zep::bench {

// Loads a generated tree file of the given number of addresses into a TTreeView2 and saves it back,
// beside the time Qt needs to put the same number of plain QTreeWidgetItems into a QTreeWidget, and
// prints the times and their ratios (goal: 1.5 at most), and how much of the save is the flush to
// disk, which the plain items do not do. Needs a QApplication (the offscreen platform will do).
void runTreeBenchmark(int addresses);

// Rebuilds the tree file of an address table of 1,000, 10,000 and 100,000 entries beside reading
// the same records with raw SQLite calls, and prints the times, their ratios (goal: 3 at most at
// 10,000) and how they grow from one size to the next (n log n: about 13x per tenfold size).
void runTreeRebuildBenchmark();

// Searches a caption no entry has through a flat tree of 10,000 and of 100,000 entries below the
// root (as a keystroke in the entry search does), beside the same prefix test over a plain list of
// the captions, and prints the ratios and their growth (linear: 10x per tenfold size).
void runTreeSearchBenchmark();

} // namespace zep::bench
