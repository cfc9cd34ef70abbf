#pragma once

#include <QDateTime>
#include <QString>

namespace zep {

class Table;

// The record behind "Neue Notiz": a provisional note is posted when the dialog shows, completed by
// OK and removed on every other way of closing, so no half-filed note stays in the register.
class NoteFiling {
public:
    explicit NoteFiling(Table& documents) : documents_(documents) {}
    NoteFiling(const NoteFiling&) = delete;
    NoteFiling& operator=(const NoteFiling&) = delete;

    // Appends and posts the provisional note under the selected entry (linkField := its Nr), open for
    // work ("Offen" 1). Throws EngineError; nothing is left behind then.
    void begin(const QString& linkField, qint64 entryNumber);
    // True while the note is filed under an address or a topic: a note under neither would be listed
    // nowhere.
    bool canFile();
    // Completes the note: title, the note marker, "Ablage" as its file, the filing time; a link left
    // empty becomes -1. Throws EngineError; the note then stays provisional.
    void file(const QString& title, const QDateTime& now);
    // The note's Nr (0 when none was begun); removes the provisional record unless it was filed.
    // Throws EngineError when the provisional record cannot be removed.
    qint64 finish();

private:
    Table& documents_;
    qint64 number_ = 0;
    bool filed_ = false;
};

} // namespace zep
