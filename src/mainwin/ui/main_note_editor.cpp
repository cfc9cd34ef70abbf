#include "mainwin/ui/main_note_editor.h"

namespace zep {

NoteEdit::NoteEdit(QWidget* parent) : QTextEdit(parent) {
    setObjectName(QStringLiteral("RE"));
    setAcceptRichText(true);
}

bool NoteEdit::isModified() const {
    return document()->isModified();
}

void NoteEdit::setModified(bool modified) {
    document()->setModified(modified);
}

// Notes are stored as plain text lines in the document's Notice field.
QString NoteEdit::noteText() const {
    return toPlainText();
}

void NoteEdit::setNoteText(const QString& text) {
    setPlainText(text);
}

} // namespace zep
