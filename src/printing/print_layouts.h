#pragma once

#include "printing/address_list.h"
#include "printing/envelope.h"
#include "printing/print_line.h"

#include <QString>

#include <vector>

namespace zep {

class DataSet;
class Table;

// The layouts of AdrPrt.db and Brief.db read from and written to the current record. Every field is
// written as text, as the dialogs hold it; numbers that are no whole number are stored as 0.

AddressListLayout readAddressListLayout(DataSet& table);
void writeAddressListLayout(Table& table, const QString& name, const AddressListLayout& layout);

EnvelopeLayout readEnvelopeLayout(DataSet& table);
void writeEnvelopeLayout(Table& table, const QString& name, const EnvelopeLayout& layout);

// The layouts' names and numbers in the table's current order.
struct LayoutName {
    QString name;
    int nr = 0;
};
std::vector<LayoutName> readLayoutNames(DataSet& table);

// The field texts of the data set's current record, for the line substitution.
PrintFieldText recordFieldText(DataSet& record);

} // namespace zep
