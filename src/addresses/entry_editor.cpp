#include "addresses/entry_editor.h"

#include "data/format_error.h"
#include "data/table.h"
#include "data/treefile.h"

namespace zep {

QString addressEntryCaption(Table& addresses) {
    return treeDisplayName(addresses.field(u"Name1").asString(), addresses.field(u"Name2").asString(),
                           addresses.field(u"Person").asBoolean());
}

QString topicEntryCaption(Table& topics) {
    return topics.field(u"Thema").asString();
}

EntryEditor::EntryEditor(Table& table, TreeModel& model, Caption caption, QString treeFile, Values newValues)
    : table_(table), model_(model), caption_(std::move(caption)), treeFile_(std::move(treeFile)),
      newValues_(std::move(newValues)) {}

bool EntryEditor::beginNew(const TreeModel::Node* selected) {
    if (!selected)
        return false;
    table_.append();
    try {
        table_.field(u"Vor").setValue(selected->number());
        table_.field(u"Baum").setValue(-1);
        for (const auto& [field, value] : newValues_)
            table_.field(field).setValue(value);
    } catch (...) {
        // No half-filled record stays pending for the next post.
        table_.cancel();
        throw;
    }
    new_ = true;
    return true;
}

EntryEditor::Saved EntryEditor::save() {
    table_.post();
    Saved saved;
    const QString caption = caption_(table_);
    const int type = entryTypeFromBaum(table_.field(u"Baum").asInteger());
    const auto number = qint32(table_.field(u"Nr").asInteger());
    if (new_) {
        // The record names its parent; a parent gone meanwhile leaves the entry to the root, where a
        // rebuild of the tree would put it too.
        TreeModel::Node* parent = model_.findNumber(qint32(table_.field(u"Vor").asInteger()));
        saved.node = model_.addChild(parent ? parent : model_.first(), caption, number, type);
    } else if ((saved.node = model_.findNumber(number))) {
        model_.setEntry(saved.node, caption, type);
    }
    new_ = false;
    try {
        model_.save(treeFile_);
    } catch (const FileError& error) {
        saved.fileError = error.message();
    }
    return saved;
}

void EntryEditor::cancel(const TreeModel::Node* selected) {
    cancelEntryEdit(table_, selected);
    new_ = false;
}

void EntryEditor::settle() {
    if (!table_.isEditing())
        new_ = false;
}

void cancelEntryEdit(Table& table, const TreeModel::Node* selected) {
    table.cancel();
    if (selected)
        table.findKey({selected->number()});
}

} // namespace zep
