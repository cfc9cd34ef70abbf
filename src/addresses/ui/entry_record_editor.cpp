#include "addresses/ui/entry_record_editor.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "data/engine_error.h"
#include "data/table.h"
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
                                     CaptionFields captionFields, const QString& treeFile,
                                     EntryEditor::Values newValues)
    : table_(table), tree_(tree), captionFields_(std::move(captionFields)),
      editor_(table, treeModel(tree), std::move(caption), treeFile, std::move(newValues)) {}

bool EntryRecordEditor::beginNew() {
    try {
        if (editor_.beginNew(entryOf(tree_.currentItem())))
            return true;
        showError(noEntrySelectedMessage());
    } catch (const EngineError& error) {
        showError(error.message());
    }
    return false;
}

bool EntryRecordEditor::captionFitsTreeFile() {
    if (!table_.isEditing())
        return true;
    // What the controls hold but have not yet assigned is part of the caption about to be saved.
    table_.updateFromControls();
    const QStringList fields = captionFields_(table_);
    const QString characters = unrepresentableCaptionCharacters(table_, fields);
    if (characters.isEmpty())
        return true;
    if (Interaction::instance().askYesNo(unrepresentableCaptionQuestion(characters), ApplicationName.toString()) !=
        Answer::Yes)
        return false;
    replaceUnrepresentableCaptionCharacters(table_, fields);
    return true;
}

bool EntryRecordEditor::save() {
    EntryEditor::Saved saved;
    try {
        if (!captionFitsTreeFile())
            return false;
        saved = editor_.save();
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
