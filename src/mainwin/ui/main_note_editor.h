#pragma once

#include "data/note_editor.h"

#include <QTextEdit>

namespace zep {

// RE: the note of the current document. The modified mark is the document's modified flag.
class NoteEdit : public QTextEdit, public NoteEditor {
    Q_OBJECT

public:
    explicit NoteEdit(QWidget* parent = nullptr);

    bool isModified() const override;
    void setModified(bool modified) override;
    QString noteText() const override;
    void setNoteText(const QString& text) override;
};

} // namespace zep
