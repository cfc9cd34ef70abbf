#pragma once

class QFocusEvent;
class QString;
class QWidget;

namespace zep {

class FieldDataLink;

// What every bound control does alike with its field link.

// Connects the link to the control: when a post is refused for the control's text, the control takes
// the focus, so the user sees where to correct.
void attachFieldLink(QWidget& control, FieldDataLink& link);

// The user changed the control: the data set goes into edit state. When it cannot, the engine's
// message is shown, the control shows the field again, and false is returned.
bool beginFieldEdit(FieldDataLink& link);

// Writes the control's value into the record. A value that cannot be read is told on screen; the
// control keeps its text and the focus.
bool commitField(QWidget& control, FieldDataLink& link);

// Focus moving to another control writes the value; a popup or another window taking the focus does not.
void commitFieldOnLeave(QWidget& control, FieldDataLink& link, const QFocusEvent& event);

void showFieldError(const QString& message);

} // namespace zep
