#include "mainwin/tree_records.h"

#include "addresses/entry_editor.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/table.h"
#include "mainwin/tree_texts.h"

namespace zep {
namespace {

// Closes a table object on every path out of a scope; a record left in insert or edit state by an
// error is dropped, not posted.
class ClosedAtEnd {
public:
    explicit ClosedAtEnd(Table& table) : table_(table) {}
    ~ClosedAtEnd() {
        if (table_.isEditing())
            table_.cancel();
        table_.close();
    }
    ClosedAtEnd(const ClosedAtEnd&) = delete;
    ClosedAtEnd& operator=(const ClosedAtEnd&) = delete;

private:
    Table& table_;
};

// A new topic with the caption and main-entry flag of the topic `topics` stands on, below `parent`.
qint64 copyTopicRecord(const Table& topics, qint64 parent) {
    Table copy;
    copy.setDirectory(topics.directory());
    copy.setTableName(topics.tableName());
    copy.open();
    ClosedAtEnd closeCopy(copy);
    copy.append();
    copy.field(u"Thema").setValue(topics.value(topics.fieldPosition(u"Thema")));
    copy.field(u"Baum").setValue(topics.value(topics.fieldPosition(u"Baum")));
    copy.field(u"Vor").setValue(parent);
    copy.post();
    return copy.field(u"Nr").asInteger();
}

} // namespace

void setEntryParent(Table& table, const QVariant& parent) {
    try {
        table.edit();
        table.field(u"Vor").setValue(parent);
        table.post();
    } catch (...) {
        if (table.isEditing())
            table.cancel();
        throw;
    }
}

qint64 copyAddressRecord(const Table& source, Table& copy, qint64 parent) {
    copy.setDirectory(source.directory());
    copy.setTableName(source.tableName());
    copy.open();
    ClosedAtEnd closeCopy(copy);
    copy.append();
    for (int i = 0; i < source.fieldCount(); ++i) {
        const FieldInfo& info = source.fieldInfo(i);
        if (info.derived || info.def.kind == FieldKind::AutoInc)
            continue;
        const int position = copy.fieldPosition(info.def.name);
        if (position >= 0)
            copy.setValue(position, source.value(i));
    }
    copy.field(u"Vor").setValue(parent);
    copy.post();
    return copy.field(u"Nr").asInteger();
}

bool moveEntry(Table& table, TreeModel& model, TreeModel::Node* node, TreeModel::Node* target, const QString& treeFile,
               const std::function<void()>& beforeWrite) {
    if (!TreeModel::canMove(node, target) || !table.findKey({node->number()}))
        return false;
    const QVariant oldVor = table.field(u"Vor").value();
    setEntryParent(table, target->number());
    const TreeModel::Place place = model.move(node, target);
    if (beforeWrite)
        beforeWrite();
    try {
        model.save(treeFile);
    } catch (const FileError& error) {
        // The file keeps the old tree: table and model go back, so all three agree.
        model.moveTo(node, place);
        try {
            setEntryParent(table, oldVor);
        } catch (const EngineError& undo) {
            // The record keeps its new parent: only a rebuild brings file and table together again.
            throw FileError(error.message() + u'\r' + undo.message() + u'\r' + treeRebuildAdvice());
        }
        throw;
    }
    return true;
}

TreeModel::Node* addCopiedEntry(Table& table, TreeModel& model, TreeModel::Node* target, const QString& caption,
                                qint32 number, qint32 type, const QString& treeFile,
                                const std::function<void(TreeModel::Node*)>& beforeWrite) {
    TreeModel::Node* node = model.addChild(target, caption, number, type);
    if (beforeWrite)
        beforeWrite(node);
    try {
        model.save(treeFile);
    } catch (const FileError&) {
        model.remove(node);
        if (table.findKey({number}))
            table.deleteRecord();
        throw;
    }
    return node;
}

TreeModel::Node* copyEntry(const EntryCopy& copy, TreeModel& model, TreeModel::Node* node, TreeModel::Node* target,
                           const std::function<void(TreeModel::Node*)>& beforeWrite) {
    Table& table = copy.table;
    if (!model.canCopy(node, target) || !table.findKey({node->number()}))
        return nullptr;
    const QString caption = copy.addressCopy ? addressEntryCaption(table) : topicEntryCaption(table);
    const int type = entryTypeFromBaum(table.field(u"Baum").asInteger());
    const qint64 number = copy.addressCopy ? copyAddressRecord(table, *copy.addressCopy, target->number())
                                           : copyTopicRecord(table, target->number());
    table.refresh();
    table.findKey({number});
    return addCopiedEntry(table, model, target, caption, qint32(number), type, copy.treeFile, beforeWrite);
}

} // namespace zep
