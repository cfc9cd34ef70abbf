#pragma once

#include <QString>

class QWidget;

namespace zep {

// The large editor for the note of the current document, on the rich-text scratch file at path (Qt
// rich text, HTML in UTF-8). Returns a value other than 0 when the user saved a changed text into
// the file, 0 otherwise (also when the file cannot be read). A changed text that cannot be saved is
// reported and the editor stays open, so the user can try again or cancel.
int RICHING(const QString& path, QWidget* parent = nullptr);

} // namespace zep
