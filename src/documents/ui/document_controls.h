#pragma once

class QString;
class QWidget;

namespace zep {

class DBLookupComboBox;
class TDM;

// The document's address and topic as drop-down lists, bound to NrFirma and NrThema of the current
// document; shared by the note and detail dialogs.
DBLookupComboBox* addressLookup(TDM& dm, const QString& name, QWidget* parent);
DBLookupComboBox* topicLookup(TDM& dm, const QString& name, QWidget* parent);

} // namespace zep
