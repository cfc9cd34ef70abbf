#pragma once

#include <QString>
#include <functional>

class QTreeWidget;

namespace zep {

class Table;

// The record and tree side of the address and topic forms: a new entry below the selected node,
// saving with its node kept in step and the tree file written, cancelling.
class EntryRecordEditor {
public:
    // caption: the node caption of the current record; treeFile: where the tree is written.
    EntryRecordEditor(Table& table, QTreeWidget& tree, std::function<QString()> caption,
                      std::function<QString()> treeFile);

    // Appends a record below the selected node (Vor = its number, Baum -1); false without a selection.
    bool beginNew();
    // Posts the record; a new one gets a node under the selected one (siblings sorted), an edited one
    // its caption and type. Shows the engine's message and returns false when the post is refused.
    bool save();
    void cancel();
    bool isNew() const { return new_; }
    // After a delete: a record no longer in insert state is no new one.
    void settle();

private:
    Table& table_;
    QTreeWidget& tree_;
    std::function<QString()> caption_;
    std::function<QString()> treeFile_;
    bool new_ = false;
};

} // namespace zep
