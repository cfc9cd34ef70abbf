#include "serial/ui/branch_choice_dialog.h"

#include "app/ui/named_controls.h"
#include "serial/serial_texts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zep {

namespace {

QCheckBox* makeCheckBox(const QString& name, const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

BranchChoiceDialog::BranchChoiceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TS02"));
    setWindowTitle(serial_texts::branchDialogCaption());
    CheckUnter = makeCheckBox(QStringLiteral("CheckUnter"), QStringLiteral("Alle Untereinträge mit einbeziehen"), this);
    CheckHaupt = makeCheckBox(QStringLiteral("CheckHaupt"), QStringLiteral("Haupteinträge mit einbeziehen"), this);
    QPushButton* ok = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    QPushButton* abort = makeButton(QStringLiteral("BtnAbort"), QStringLiteral("Abbrechen"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckUnter);
    layout->addWidget(CheckHaupt);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

bool BranchChoiceDialog::withAllBelow() const {
    return CheckUnter->isChecked();
}

bool BranchChoiceDialog::withMainEntries() const {
    return CheckHaupt->isChecked();
}

} // namespace zep
