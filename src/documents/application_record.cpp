#include "documents/application_record.h"

#include "data/engine_error.h"
#include "data/table.h"

namespace zep {

void storeApplication(Table& register_, bool isNew, const ApplicationRecord& record) {
    try {
        if (isNew)
            register_.append();
        else
            register_.edit();
        register_.field(u"Titel").setValue(record.title);
        register_.field(u"Anw").setValue(record.program);
        register_.field(u"Ext").setValue(record.extension);
        register_.field(u"IconNr").setValue(record.iconNumber);
        register_.post();
    } catch (const EngineError&) {
        if (register_.isEditing())
            register_.cancel();
        throw;
    }
}

} // namespace zep
