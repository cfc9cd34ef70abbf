#pragma once

#include <QString>

class QWidget;

namespace zep {

// The large editor for the note of the current document. Edits the text file at path in place;
// returns a value other than 0 when the user confirmed a changed text and it was saved, 0 otherwise
// (also when the file cannot be read). A changed text that cannot be saved is reported and the
// editor stays open, so the user can try again or cancel.
int RICHING(const QString& path, QWidget* parent = nullptr);

} // namespace zep
