#pragma once

#include <QStringList>

namespace zep {

// Object names of the controls and menu items each enabling rule of the main window switches.
// View numbers are those of ViewState (0 addresses, 1 topics, 2 documents, -1 none).

// Enabled only while a client is open: every command that reads or writes a client's tables, trees,
// files or settings. Fonts, catalogs, the application register, help, the client list and closing
// need no client.
QStringList clientRuleControls();
// Enabled when the active tree has a proper (non-root) entry selected.
QStringList entryRuleControls(int view);
// Disabled in the documents view.
QStringList documentsViewRuleControls();
// Enabled when the document list holds at least one document (RE, the note editor, included).
QStringList documentRuleControls(int view);

} // namespace zep
