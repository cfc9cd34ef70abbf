#pragma once

#include "data/table.h"

#include <QString>

namespace zep::test {

// Adressen.DB and Serie.db of one client in a directory, as the serial-letter window holds them: the
// recipients restricted to one letter in their order, and a second object on Serie.db that adds them.
struct SerialTables {
    SerialTables(const QString& dir, qint32 letter);
    // Appends and posts an address; returns its Nr.
    qint64 address(const QString& name1, const QString& ort);

    Table addresses, recipients, recipientWriter;
};

} // namespace zep::test
