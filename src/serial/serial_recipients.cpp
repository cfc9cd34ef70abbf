#include "serial/serial_recipients.h"

#include "data/table.h"

namespace zep {

void addRecipient(Table& recipients, qint32 letterNumber, qint32 addressNumber, const QString& caption) {
    recipients.append();
    recipients.field(u"NRDoku").setValue(letterNumber);
    recipients.field(u"NRAdresse").setValue(addressNumber);
    recipients.field(u"NameAdresse").setValue(caption);
    recipients.post();
}

bool addEntryRecipient(Table& recipients, qint32 letterNumber, const TreeModel::Node* entry) {
    if (!entry || entry->number() == 0)
        return false;
    addRecipient(recipients, letterNumber, entry->number(), entry->caption());
    return true;
}

QList<const TreeModel::Node*> branchRecipients(const TreeModel::Node* node, bool withAllBelow, bool withMainEntries) {
    QList<const TreeModel::Node*> entries;
    const TreeModel::Node* end = TreeModel::nextAfterSubtree(node);
    const TreeModel::Node* entry = TreeModel::next(node);
    while (entry && entry != end) {
        if (withMainEntries || entry->type() != TreeModel::MainEntry)
            entries.append(entry);
        entry = withAllBelow ? TreeModel::next(entry) : TreeModel::nextAfterSubtree(entry);
    }
    return entries;
}

int addBranchRecipients(Table& recipients, qint32 letterNumber, const TreeModel::Node* node, bool withAllBelow,
                        bool withMainEntries) {
    const QList<const TreeModel::Node*> entries = branchRecipients(node, withAllBelow, withMainEntries);
    for (const TreeModel::Node* entry : entries)
        addRecipient(recipients, letterNumber, entry->number(), entry->caption());
    return int(entries.size());
}

QList<qint64> recipientsToRemove(const QVariantList& markedNumbers, Table& recipients) {
    QList<qint64> numbers;
    for (const QVariant& number : markedNumbers)
        numbers.append(number.toLongLong());
    if (numbers.isEmpty() && !recipients.isEmpty())
        numbers.append(recipients.field(u"NR").asInteger());
    return numbers;
}

void removeRecipients(Table& recipients, const QList<qint64>& recordNumbers) {
    for (qint64 number : recordNumbers)
        if (recipients.locate(u"NR", number))
            recipients.deleteRecord();
}

void removeAllRecipients(Table& recipients) {
    recipients.first();
    while (!recipients.isEmpty())
        recipients.deleteRecord();
}

} // namespace zep
