#include "test_install.h"

#include "data/schema.h"

#include <QDir>

namespace zep::test {

void createClientTables(const QString& dir) {
    QDir().mkpath(dir);
    for (const TableLayout* layout : schema::clientTables())
        createTableFile(QDir(dir).filePath(layout->name), *layout);
}

qint64 appendRecord(Table& table, const Values& values) {
    table.append();
    for (const auto& [name, value] : values)
        table.field(name).setValue(value);
    table.post();
    return table.field(0).asInteger();
}

void openTable(Table& table, const QString& dir, const QString& name) {
    table.setDirectory(dir);
    table.setTableName(name);
    table.open();
}

QVariantList columnValues(DataSet& dataSet, const QString& field) {
    QVariantList values;
    const int position = dataSet.fieldPosition(field);
    for (dataSet.first(); !dataSet.eof(); dataSet.next())
        values << dataSet.value(position);
    return values;
}

QVariantList numbers(std::initializer_list<int> values) {
    QVariantList list;
    for (int v : values)
        list << qint64(v);
    return list;
}

} // namespace zep::test
