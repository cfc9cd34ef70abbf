#pragma once

#include <QString>

namespace zep {

// The main window's note editor as the data module sees it.
class NoteEditor {
public:
    virtual ~NoteEditor() = default;
    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    virtual QString noteText() const = 0;
    virtual void setNoteText(const QString& text) = 0;
};

// The buttons of the address or topic form whose enabling the data module decides.
class EntryFormButtons {
public:
    virtual ~EntryFormButtons() = default;
    virtual void setControlEnabled(const QString& objectName, bool enabled) = 0;
};

} // namespace zep
