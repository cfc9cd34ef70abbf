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
QString scrollWorkerMissingMessage();
QString scrollStopFailedMessage();

} // namespace zep
