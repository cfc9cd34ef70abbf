#include "addresses/ui/entry_record_editor.h"

#include "addresses/ui/address_delete.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "data/engine_error.h"
#include "data/table.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_nodes.h"

#include <QTreeWidget>

namespace zep {

EntryRecordEditor::EntryRecordEditor(Table& table, QTreeWidget& tree, std::function<QString()> caption,
                                     std::function<QString()> treeFile)
    : table_(table), tree_(tree), caption_(std::move(caption)), treeFile_(std::move(treeFile)) {}

bool EntryRecordEditor::beginNew() {
    QTreeWidgetItem* selected = tree_.currentItem();
    if (!selected)
        return false;
    new_ = true;
    table_.append();
    table_.field(u"Vor").setValue(nodeNumber(selected));
    table_.field(u"Baum").setValue(-1);
    return true;
}

bool EntryRecordEditor::save() {
    QTreeWidgetItem* selected = tree_.currentItem();
    try {
        table_.post();
    } catch (const EngineError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
        return false;
    }
    const QString caption = caption_();
    const int type = entryTypeFromBaum(table_.field(u"Baum").asInteger());
    if (new_ && selected)
        tree_.setCurrentItem(addChildNode(tree_, selected, caption, int(table_.field(u"Nr").asInteger()), type));
    else if (selected)
        setNodeData(selected, caption, nodeNumber(selected), type);
    new_ = false;
    SaveTreeFile(tree_, treeFile_());
    return true;
}

void EntryRecordEditor::cancel() {
    CancelEntryEdit(table_, tree_.currentItem());
    new_ = false;
}

void EntryRecordEditor::settle() {
    if (!table_.isEditing())
        new_ = false;
}

} // namespace zep
