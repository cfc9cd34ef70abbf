#pragma once

#include "data/treefile.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace zep {

// An entry of the address or topic table as the rebuild reads it.
struct TreeSourceEntry {
    qint32 nr = 0;
    std::optional<qint32> vor; // the parent's Nr; empty when the field is null
    QString name;              // display name: Thema, Name1, or for a person Name1 + " " + Name2
    qint32 baum = 0;
};

// Told how many of all entries are placed; returns false to stop the rebuild.
using TreeRebuildProgress = std::function<bool(int placed, int total)>;

// Every entry after all of its descendants, levels counted from 1 at the top:
// - the entry with the smallest (Vor, Nr) not yet placed becomes a top-level entry (a null Vor
//   counts as smaller than every number), followed by nothing else until its subtree is placed;
// - its subtree: its children not yet placed (the entries whose Vor is its Nr) in Nr order, each
//   with its own subtree, then the entry itself;
// - so an entry whose Vor names no record is top level when its turn comes, and so is one whose
//   parent is not yet placed when its turn comes.
// Vor links that form a cycle are cut where the walk would come back to the top-level entry it
// started from: the cycle's entry with the smallest (Vor, Nr) stays top level and the rest of the
// cycle hangs below it along the links.
// Returns nothing when progress asks to stop. n log n for n entries.
std::optional<QList<TreeFileRecord>> collectTreeEntries(std::vector<TreeSourceEntry> entries,
                                                        const TreeRebuildProgress& progress = {});

// Where a rebuild reads and writes.
struct TreeRebuildJob {
    QString directory;   // of the table
    QString tableName;   // "Adressen.DB" or "Thema.DB"
    bool topics = false; // display names from Thema, else from Name1, Name2 and Person
    QString treeFile;    // "Adressen.dat" or "Themen.dat"
};

// Reads Nr, Vor, Baum and the name fields of all entries in one ordered read of the table.
// Throws EngineError.
std::vector<TreeSourceEntry> readTreeSourceEntries(const TreeRebuildJob& job);

// Writes the tree file: the entries of collectTreeEntries in reverse order, every entry before its
// descendants. The order is worked out in memory; no scratch file and no marker in the table is
// written. The file is replaced in one step, so when the rebuild fails or is stopped it keeps its
// old content. Returns false when progress asked to stop. Throws EngineError when the table cannot
// be read and FileError ("Kann Datei ... nicht finden") when the tree file cannot be written.
bool rebuildTreeFile(const TreeRebuildJob& job, const TreeRebuildProgress& progress = {});

} // namespace zep
