#include "addresses/ui/entry_record_editor.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "data/engine_error.h"
#include "mainwin/tree_texts.h"
#include "mainwin/ui/tree_mirror.h"
#include "mainwin/ui/tree_nodes.h"

#include <QTreeWidget>

namespace zep {

namespace {

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

} // namespace

EntryRecordEditor::EntryRecordEditor(Table& table, QTreeWidget& tree, EntryEditor::Caption caption,
                                     const QString& treeFile, EntryEditor::Values newValues)
    : tree_(tree), editor_(table, treeModel(tree), std::move(caption), treeFile, std::move(newValues)) {}

bool EntryRecordEditor::beginNew() {
    if (editor_.beginNew(entryOf(tree_.currentItem())))
        return true;
    showError(noEntrySelectedMessage());
    return false;
}

bool EntryRecordEditor::save() {
    EntryEditor::Saved saved;
    try {
        saved = editor_.save(entryOf(tree_.currentItem()));
    } catch (const EngineError& error) {
        showError(error.message());
        return false;
    }
    if (QTreeWidgetItem* item = itemOf(tree_, saved.node))
        tree_.setCurrentItem(item);
    if (!saved.fileError.isEmpty())
        showError(saved.fileError);
    return true;
}

void EntryRecordEditor::cancel() {
    editor_.cancel(entryOf(tree_.currentItem()));
}

} // namespace zep
