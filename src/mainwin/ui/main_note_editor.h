#pragma once

#include "data/note_editor.h"

#include <QTextEdit>

namespace zep {

// True for the rich text (HTML) Qt writes for a document; every other note is plain text.
bool isQtRichText(const QString& text);

// RE: the note of the current document. The modified mark is the document's modified flag.
// A note without formatting is kept as plain text, so plain notes stay readable everywhere; a note
// with bold, italic, underline, another font, size or colour, or a list, is kept as Qt rich text.
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
