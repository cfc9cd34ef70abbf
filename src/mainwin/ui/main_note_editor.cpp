#include "mainwin/ui/main_note_editor.h"

#include <QTextBlock>

namespace zep {

namespace {

bool hasCharacterFormat(const QTextCharFormat& format) {
    return format.hasProperty(QTextFormat::FontWeight) || format.hasProperty(QTextFormat::FontItalic) ||
           format.hasProperty(QTextFormat::FontUnderline) || format.hasProperty(QTextFormat::TextUnderlineStyle) ||
           format.hasProperty(QTextFormat::FontFamilies) || format.hasProperty(QTextFormat::FontFamily) ||
           format.hasProperty(QTextFormat::FontPointSize) || format.hasProperty(QTextFormat::ForegroundBrush);
}

bool hasFormatting(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.textList() != nullptr)
            return true;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (hasCharacterFormat(it.fragment().charFormat()))
                return true;
    }
    return false;
}

} // namespace

bool isQtRichText(const QString& text) {
    return text.startsWith(QStringLiteral("<!DOCTYPE HTML"));
}

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

QString NoteEdit::noteText() const {
    return hasFormatting(*document()) ? toHtml() : toPlainText();
}

void NoteEdit::setNoteText(const QString& text) {
    if (isQtRichText(text))
        setHtml(text);
    else
        setPlainText(text);
}

} // namespace zep
