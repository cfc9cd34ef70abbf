#include "controls/ui/bound_control.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "controls/field_data_link.h"
#include "data/engine_error.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QWidget>

namespace zep {

namespace {

// The refused text is selected, so that the next typing replaces it.
void focusRefusedControl(QWidget& control) {
    control.setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(&control))
        edit->selectAll();
}

} // namespace

void attachFieldLink(QWidget& control, FieldDataLink& link) {
    QObject::connect(&link, &FieldDataLink::updateRefused, &control, [&control] { focusRefusedControl(control); });
}

bool beginFieldEdit(FieldDataLink& link) {
    try {
        link.edit();
        return true;
    } catch (const EngineError& error) {
        showFieldError(error.message());
        link.reset();
        return false;
    }
}

bool commitField(QWidget& control, FieldDataLink& link) {
    try {
        link.updateRecord();
        return true;
    } catch (const EngineError& error) {
        showFieldError(error.message());
        focusRefusedControl(control);
        return false;
    }
}

void commitFieldOnLeave(QWidget& control, FieldDataLink& link, const QFocusEvent& event) {
    if (event.reason() == Qt::ActiveWindowFocusReason || event.reason() == Qt::PopupFocusReason)
        return;
    commitField(control, link);
}

void showFieldError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

} // namespace zep
