#pragma once

#include <QString>

namespace zep {

// Tab caption of a tree: root caption + " [" + entries + "]", the root not counted.
QString treeTabCaption(const QString& rootCaption, int nodeCount);

// A line of the entry list for printing: caption, "¶", number.
QString subtreeEntryLine(const QString& caption, int number);

// Messages of the trees.
QString treeFileMessage(const QString& path); // load or save failed
QString missingRecordMessage();               // a node's number has no record
// The advice to rebuild the tree, with the menu that does it.
QString treeRebuildAdvice();
// A damaged tree file was loaded as far as it goes: the damage, then the advice to rebuild the tree.
QString damagedTreeFileMessage(const QString& damage);
// A tree without its root is never written over a tree file.
QString treeWithoutRootMessage(const QString& path);
// "Neu" in the address and topic forms needs the node the new entry goes below.
QString noEntrySelectedMessage();
QString scrollWorkerMissingMessage();
QString scrollStopFailedMessage();

} // namespace zep
