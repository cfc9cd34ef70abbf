#pragma once

#include "mainwin/tree_model.h"

#include <QVariant>

#include <functional>

namespace zep {

class Table;

// Record operations behind moving and copying tree entries, and the rules that keep table, tree
// model and tree file in step when they move or copy an entry.

// Sets the parent (Vor) of the entry the table stands on; a refused post is cancelled and passed on.
void setEntryParent(Table& table, const QVariant& parent);

// Copies every stored field but the record number of the address `source` stands on into a new
// record below `parent`, through the table object `copy` (opened on source's directory and closed on
// every path). Returns the new record's number.
qint64 copyAddressRecord(const Table& source, Table& copy, qint64 parent);

// What copying an entry of the active tree works on.
struct EntryCopy {
    Table& table;       // TAdr or TThema
    Table* addressCopy; // TAdrCopy when the entries are addresses; nullptr for topics
    QString treeFile;
};

// Copies the entry of node below target. An address is copied whole through the copy table object
// (not its descendants or documents); a topic becomes a new topic with the caption and main-entry flag
// of the copied one, never an address. The table is read again and stands on the new record; the new
// node, with the copied record's caption and type, goes below target (siblings sorted) and the tree
// file is written (see addCopiedEntry). nullptr, with nothing changed, when the table holds no record
// of node's number or the copy is not allowed (canCopy). Throws EngineError and FileError.
TreeModel::Node* copyEntry(const EntryCopy& copy, TreeModel& model, TreeModel::Node* node, TreeModel::Node* target,
                           const std::function<void(TreeModel::Node*)>& beforeWrite = {});

// Moves an entry below target: the record of node's number gets target's number as Vor, node moves
// with its subtree to the end of target's children, those are sorted, and the tree file is written.
// The record is changed first: when the table refuses (EngineError), model and file stay as they
// were. When the file cannot be written, node goes back to exactly where it stood, the record gets
// its old Vor again, and the FileError passes on. False, with nothing changed, when the table holds
// no record of node's number or the move is not allowed (onto itself or its own subtree).
// beforeWrite, when given, runs once the model holds the move and before the file is written: a view
// that shows the moved entry there (expanding sorts) has its order in the file.
bool moveEntry(Table& table, TreeModel& model, TreeModel::Node* node, TreeModel::Node* target, const QString& treeFile,
               const std::function<void()>& beforeWrite = {});

// Adds the node of a copied record (the table stands on it) below target, siblings sorted, and
// writes the tree file. When the file cannot be written, node and record are taken out again and
// the FileError passes on. beforeWrite gets the new node, as with moveEntry.
TreeModel::Node* addCopiedEntry(Table& table, TreeModel& model, TreeModel::Node* target, const QString& caption,
                                qint32 number, qint32 type, const QString& treeFile,
                                const std::function<void(TreeModel::Node*)>& beforeWrite = {});

} // namespace zep
