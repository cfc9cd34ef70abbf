#pragma once

#include <QString>

namespace zep {

struct DesktopApplication;
class TDM;

// The application the user chose for a document that nothing on the desktop opens.
struct ApplicationChoice {
    QString program; // what the register stores: a desktop entry file or a program file
    QString title;
    bool remember = false; // keep it in the register for the document's extension
};

// A desktop application as the register names it.
ApplicationChoice choiceOf(const DesktopApplication& application);
// A program file or desktop entry file the user picked: named after the entry, else after the file.
ApplicationChoice choiceOfFile(const QString& path);

// Adds the choice to the register for the extension and rebuilds the icon cache. A post the table
// engine refuses is reported with its message, and the register keeps no half-made record.
bool rememberApplication(TDM& dm, const QString& extension, const ApplicationChoice& choice);

} // namespace zep
