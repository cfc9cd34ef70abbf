#include "clients/ui/new_client_dialog.h"
#include "app/ui/named_controls.h"

#include "clients/client_creation.h"
#include "clients/client_names.h"
#include "data/services.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

NewClientDialog::NewClientDialog(const ClientCreation& creation, const QString& parentDirectory, QWidget* parent)
    : QDialog(parent), creation_(creation) {
    setObjectName(QStringLiteral("TW_MandNeu"));
    setWindowTitle(QStringLiteral("Einen neuen Mandanten anlegen"));
    buildControls();
    editVerz_->setText(parentDirectory);
    EditChange();
    resize(480, sizeHint().height());
}

void NewClientDialog::buildControls() {
    editMand_ = makeEdit(QStringLiteral("Edit_Mand"), this);
    editMand_->setMaxLength(ClientNameMaxLength);
    editVerz_ = makeEdit(QStringLiteral("Edit_Verz"), this);
    editMandPath_ = makeEdit(QStringLiteral("Edit_MandPath"), this);
    editMandPath_->setReadOnly(true);
    btnVerz_ = makeButton(QStringLiteral("BtnVerz"), QStringLiteral("..."), this);
    btnVerz_->setMaximumWidth(btnVerz_->fontMetrics().horizontalAdvance(btnVerz_->text()) + 24);
    btnOK_ = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    btnOK_->setDefault(true);
    btnCancel_ = makeButton(QStringLiteral("BitBtn12"), QStringLiteral("Abbrechen"), this);

    auto* directoryRow = new QHBoxLayout;
    directoryRow->addWidget(editVerz_, 1);
    directoryRow->addWidget(btnVerz_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Mandant"), editMand_);
    form->addRow(QStringLiteral("im Verzeichnis"), directoryRow);
    form->addRow(QStringLiteral("Verzeichnis des Mandanten"), editMandPath_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(editMand_, &QLineEdit::textChanged, this, &NewClientDialog::EditChange);
    connect(editVerz_, &QLineEdit::textChanged, this, &NewClientDialog::EditChange);
    connect(btnVerz_, &QPushButton::clicked, this, &NewClientDialog::BtnVerzClick);
    connect(btnOK_, &QPushButton::clicked, this, &NewClientDialog::BtnOKClick);
    connect(btnCancel_, &QPushButton::clicked, this, &NewClientDialog::reject);
}

QString NewClientDialog::clientName() const {
    return editMand_->text();
}

void NewClientDialog::EditChange() {
    editMandPath_->setText(clientDirectory(editVerz_->text(), editMand_->text()));
    btnOK_->setEnabled(!editMand_->text().isEmpty());
}

void NewClientDialog::BtnVerzClick() {
    editVerz_->setText(DO_VERZEICHNIS(editVerz_->text()));
}

void NewClientDialog::BtnOKClick() {
    if (creation_.confirm(editVerz_->text(), editMand_->text())) {
        accept();
        return;
    }
    // The refused field gets the focus with its text selected, so the next typing corrects it.
    const bool directoryRefused = refusedClientField(editVerz_->text(), editMand_->text()) == ClientField::Directory;
    QLineEdit* refused = directoryRefused ? editVerz_ : editMand_;
    refused->setFocus();
    refused->selectAll();
}

QString NewClient(const ClientCreation& creation, const QString& parentDirectory, QWidget* parent) {
    NewClientDialog dialog(creation, parentDirectory, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.clientName() : QString();
}

} // namespace zep
