#pragma once

#include <QString>

namespace zep {

class Table;

// One application of the register as its edit dialog sets it.
struct ApplicationRecord {
    QString title;
    QString program;
    QString extension;
    qint64 iconNumber = 0;
};

// Appends a record (isNew) or changes the register's current one. A refused post is taken back, so
// the register never keeps a half-made record; the EngineError passes on.
void storeApplication(Table& register_, bool isNew, const ApplicationRecord& record);

} // namespace zep
