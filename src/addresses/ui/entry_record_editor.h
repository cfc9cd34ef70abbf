#pragma once

#include "addresses/caption_characters.h"
#include "addresses/entry_editor.h"

class QTreeWidget;

namespace zep {

class Table;

// The address and topic forms' side of EntryEditor: the selected node of the tree is the one the
// rules work on, their errors are shown through the interaction seam, a new node is selected.
class EntryRecordEditor {
public:
    EntryRecordEditor(Table& table, QTreeWidget& tree, EntryEditor::Caption caption, CaptionFields captionFields,
                      const QString& treeFile, EntryEditor::Values newValues = {});

    // Appends a record below the selected node; without a selected node the user is told and nothing
    // is appended (false).
    bool beginNew();
    // Posts the record and keeps node and tree file in step; shows the engine's message and returns
    // false when the post is refused. Caption characters the tree file cannot hold are replaced by "?"
    // when the user agrees; otherwise nothing is posted (false).
    bool save();
    void cancel();
    bool isNew() const { return editor_.isNew(); }
    void settle() { editor_.settle(); }

private:
    bool captionFitsTreeFile();

    Table& table_;
    QTreeWidget& tree_;
    CaptionFields captionFields_;
    EntryEditor editor_;
};

} // namespace zep
