#pragma once

#include <QString>

#include <functional>

namespace zep {

class Table;

// The record a filing dialog works on: posted when the dialog shows, so that its bound controls edit
// a real record, completed by the dialog's OK and removed on every other way of closing, so no
// half-filed document stays in the register. Until it is filed it carries the provisional mark, by
// which the next opening of the client removes it when the program ended with the dialog open.
class ProvisionalDocument {
public:
    explicit ProvisionalDocument(Table& documents) : documents_(documents) {}
    ProvisionalDocument(const ProvisionalDocument&) = delete;
    ProvisionalDocument& operator=(const ProvisionalDocument&) = delete;

    // Appends and posts the provisional record under the selected entry (linkField := its Nr), open
    // for work ("Offen" 1); fill sets the dialog's own starting values before the post. Throws
    // EngineError; nothing is left behind then.
    void begin(const QString& linkField, qint64 entryNumber, const std::function<void(Table&)>& fill = {});
    // True while the record is filed under an address or a topic: a document under neither would be
    // listed nowhere.
    bool canFile();
    // The record's Nr (0 when none was begun); removes the provisional record unless it was filed.
    // Throws EngineError when the provisional record cannot be removed.
    qint64 finish();

protected:
    Table& documents() { return documents_; }
    // True when the table stands on the provisional record, found again if something moved it.
    bool standsOnRecord();
    // Called once the completing post went through.
    void markFiled() { filed_ = true; }
    // Takes a record back to provisional after its file could not be placed: marked so again, and
    // naming no file. Throws EngineError.
    static void returnToProvisional(Table& documents);

private:
    Table& documents_;
    qint64 number_ = 0;
    bool filed_ = false;
};

} // namespace zep
