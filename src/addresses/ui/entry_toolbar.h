#pragma once

#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace zep {

// The toolbar "ToolBar1" of the address and topic forms: New, Save, Cancel, Delete, the six
// navigation buttons and Exit, with their hints. Navigation buttons go to onNavigate, the others to
// onCommand; both get the clicked button.
QWidget* buildEntryToolBar(QWidget* owner, const QString& newHint, const QString& deleteHint,
                           const std::function<void(QObject*)>& onCommand,
                           const std::function<void(QObject*)>& onNavigate);

// What the command buttons of an entry form do.
struct EntryCommands {
    std::function<void()> newRecord, save, cancel, deleteEntry, exit;
};

// Runs the command of the clicked button (BtnNeu, BtnSave, BtnCancel, BtnDel, BtnExit); an error of
// the engine is shown and ends the command.
void runEntryCommand(const QObject* button, const EntryCommands& commands);

} // namespace zep
