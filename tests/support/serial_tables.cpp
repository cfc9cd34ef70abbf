#include "serial_tables.h"

#include "test_install.h"

namespace zep::test {

SerialTables::SerialTables(const QString& dir, qint32 letter) {
    createClientTables(dir);
    openTable(addresses, dir, QStringLiteral("Adressen.DB"));
    openTable(recipientWriter, dir, QStringLiteral("Serie.db"));
    openTable(recipients, dir, QStringLiteral("Serie.db"));
    recipients.setIndexName(QStringLiteral("iDoku"));
    recipients.setRange(letter);
}

qint64 SerialTables::address(const QString& name1, const QString& ort) {
    return appendRecord(addresses, {{QStringLiteral("Name1"), name1}, {QStringLiteral("Ort"), ort}});
}

} // namespace zep::test
