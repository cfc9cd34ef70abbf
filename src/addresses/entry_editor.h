#pragma once

#include "mainwin/tree_model.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <utility>
#include <vector>

namespace zep {

class Table;

// Node caption of the record a table stands on: an address shows Name1, a person Name1, a blank and
// Name2; a topic shows Thema.
QString addressEntryCaption(Table& addresses);
QString topicEntryCaption(Table& topics);

// The record side of the address and topic forms, kept in step with the tree model and its tree
// file: a new entry below the selected node, saving with its node added or updated, cancelling.
class EntryEditor {
public:
    using Caption = std::function<QString(Table&)>;
    using Values = std::vector<std::pair<QString, QVariant>>;

    // newValues: fields a new record starts with besides Vor and Baum (an address: Person false).
    EntryEditor(Table& table, TreeModel& model, Caption caption, QString treeFile, Values newValues = {});

    // Appends a record below selected (Vor = its number, Baum -1). Without a selected node nothing is
    // appended and the result is false: a new entry needs the node it goes below. Throws EngineError.
    bool beginNew(const TreeModel::Node* selected);

    struct Saved {
        TreeModel::Node* node = nullptr; // the saved entry's node; nullptr when the tree has none
        QString fileError;               // set when the tree file could not be written
    };
    // Posts the record. A new one gets a node below the node it was begun under (its Vor), whatever is
    // selected now; an edited one its caption and type on its own node (its place stays); then the tree
    // file is written. A refused post throws EngineError and changes nothing else.
    Saved save();
    // Discards the pending edit or insert and returns the table to selected's record. Throws
    // EngineError.
    void cancel(const TreeModel::Node* selected);
    bool isNew() const { return new_; }
    // After a delete: a record no longer in insert state is no new one.
    void settle();

private:
    Table& table_;
    TreeModel& model_;
    Caption caption_;
    QString treeFile_;
    Values newValues_;
    bool new_ = false;
};

// Discards the pending edit or insert of an entry table and returns it to the selected node's record.
// Throws EngineError.
void cancelEntryEdit(Table& table, const TreeModel::Node* selected);

} // namespace zep
