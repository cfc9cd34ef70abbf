#pragma once

#include <QList>
#include <QString>

namespace zep {

// A page of the help: its topic key, as windows and menus ask for it, and its title in the contents.
struct HelpPage {
    QString topic;
    QString title;
};

// Every page in the order of the contents.
const QList<HelpPage>& helpPages();

// The file of a topic in the help folder: the key in lower case + ".html" (keys are matched without
// regard to case, as "Adr080" and "adr090" are both used).
QString helpPageFileName(const QString& topic);

// The contents page, built from helpPages(): a link to every page.
QString helpContentsHtml();

// Writes every page the program ships into helpDir where it is missing; a page the user changed is
// kept. Throws FileError when a page cannot be written.
void writeDefaultHelpPages(const QString& helpDir);

} // namespace zep
