#include "documents/ui/new_note_dialog.h"

#include "app/clock.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"
#include "controls/ui/db_check_box.h"
#include "controls/ui/db_combo_box.h"
#include "controls/ui/db_lookup_combo_box.h"
#include "controls/ui/icon_list_painter.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "documents/ui/document_controls.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

namespace {

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

} // namespace

NewNoteDialog::NewNoteDialog(TDM& dm, QString linkField, qint64 entryNumber, QWidget* parent)
    : QDialog(parent), dm_(dm), linkField_(std::move(linkField)), entryNumber_(entryNumber), filing_(dm.TDok) {
    setObjectName(QStringLiteral("TO1"));
    setWindowTitle(QStringLiteral("Neue Notiz"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    buildControls();
}

void NewNoteDialog::buildControls() {
    Edit1 = titleEdit(dm_.TDok, this);
    const FilingFields fields = filingFields(dm_, &dm_.DDok, this, [this] { updateOk(); });
    auto* open = inWorkCheckBox(&dm_.DDok, this);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("I1"));
    picture->setPixmap(TIconListPainter::noteIcon(TIconListPainter::largeSize));

    auto* form = new QFormLayout;
    addFilingRows(*form, Edit1, fields.art, fields.address, fields.topic, fields.author, open);
    QVBoxLayout* buttons = filingButtonColumn(*this, picture, BtnOK, QStringLiteral("BitBtn2"),
                                              QStringLiteral("BitBtn3"), QStringLiteral("not010"));
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    connect(BtnOK, &QPushButton::clicked, this, &NewNoteDialog::BtnOKClick);
}

void NewNoteDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (begun_)
        return;
    begun_ = true;
    fillDocumentPickLists(*findChild<DBComboBox*>(QStringLiteral("DBComboBox2")),
                          *findChild<DBComboBox*>(QStringLiteral("DBComboBox1")));
    try {
        filing_.begin(linkField_, entryNumber_);
    } catch (const EngineError& error) {
        showError(error.message());
    }
    updateOk();
}

void NewNoteDialog::updateOk() {
    BtnOK->setEnabled(filing_.canFile());
}

void NewNoteDialog::BtnOKClick() {
    try {
        filing_.file(Edit1->text(), Clock::now());
    } catch (const EngineError& error) {
        showError(error.message());
        return;
    }
    accept();
}

// Every way of closing ends here: a note that was not filed leaves no record behind.
void NewNoteDialog::done(int result) {
    try {
        noteNumber_ = filing_.finish();
    } catch (const EngineError& error) {
        showError(error.message());
    }
    QDialog::done(result);
}

} // namespace zep
