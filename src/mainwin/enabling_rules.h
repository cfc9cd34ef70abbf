#pragma once

#include <QStringList>

namespace zep {

// Object names of the controls and menu items each enabling rule of the main window switches.
// View numbers are those of ViewState (0 addresses, 1 topics, 2 documents, -1 none).

// Enabled when the active tree has a proper (non-root) entry selected.
QStringList entryRuleControls(int view);
// Disabled in the documents view.
QStringList documentsViewRuleControls();
// Enabled when the document list holds at least one document (RE, the note editor, included).
QStringList documentRuleControls(int view);

} // namespace zep
