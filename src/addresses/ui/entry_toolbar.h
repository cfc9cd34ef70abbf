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

} // namespace zep
