#include "controls/ui/db_check_box.h"

#include "controls/ui/bound_control.h"

namespace zep {

DBCheckBox::DBCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    link_.setControlValue([this] { return isChecked() ? valueChecked_ : valueUnchecked_; });
    attachFieldLink(*this, link_);
    connect(&link_, &FieldDataLink::dataChanged, this, &DBCheckBox::showField);
    connect(this, &QCheckBox::clicked, this, &DBCheckBox::userClicked);
    showField();
}

void DBCheckBox::setValues(const QVariant& valueChecked, const QVariant& valueUnchecked) {
    valueChecked_ = valueChecked;
    valueUnchecked_ = valueUnchecked;
    showField();
}

void DBCheckBox::showField() {
    setChecked(link_.holds(valueChecked_));
}

void DBCheckBox::userClicked() {
    if (beginFieldEdit(link_) && !commitField(*this, link_))
        link_.reset();
}

} // namespace zep
