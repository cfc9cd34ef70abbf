#pragma once

#include "mainwin/tree_model.h"

#include <QList>
#include <QString>
#include <QVariantList>

namespace zep {

class Table;

// The recipients of a serial letter are records of Serie.db: the letter's Nr, the address's Nr and its
// caption in the address tree. One address may be a recipient more than once.

// Appends and posts one recipient.
void addRecipient(Table& recipients, qint32 letterNumber, qint32 addressNumber, const QString& caption);

// Adds the address of a tree entry; the root (number 0) and no entry at all are no address. True when
// a recipient was added.
bool addEntryRecipient(Table& recipients, qint32 letterNumber, const TreeModel::Node* entry);

// The entries of a branch to add, in tree order: the entries below node (never node itself) that are
// its children or, with withAllBelow, lie anywhere below it; main entries only with withMainEntries.
QList<const TreeModel::Node*> branchRecipients(const TreeModel::Node* node, bool withAllBelow, bool withMainEntries);

// Adds the entries of the branch below node; returns how many were added.
int addBranchRecipients(Table& recipients, qint32 letterNumber, const TreeModel::Node* node, bool withAllBelow,
                        bool withMainEntries);

// The record numbers (field NR) "Adresse löschen" removes: the marked ones, or the current recipient
// when none is marked.
QList<qint64> recipientsToRemove(const QVariantList& markedNumbers, Table& recipients);

// Deletes the recipients with these record numbers (field NR); numbers no longer there are skipped.
void removeRecipients(Table& recipients, const QList<qint64>& recordNumbers);
// Deletes every recipient of the set (the table is restricted to one letter).
void removeAllRecipients(Table& recipients);

} // namespace zep
