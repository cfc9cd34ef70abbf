#include "documents/ui/add_document_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"
#include "controls/ui/db_combo_box.h"
#include "controls/ui/db_lookup_combo_box.h"
#include "controls/ui/icon_list_painter.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "documents/ui/add_documents_dialog.h"
#include "documents/ui/document_controls.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zep {

namespace {

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

QLineEdit* pathField(const QString& name, QWidget* parent) {
    QLineEdit* edit = makeEdit(name, parent);
    edit->setFocusPolicy(Qt::ClickFocus); // outside the tab order
    return edit;
}

} // namespace

AddDocumentDialog::AddDocumentDialog(TDM& dm, FilingTarget target, QString source, QWidget* parent)
    : QDialog(parent), dm_(dm), target_(std::move(target)), source_(std::move(source)), adding_(dm.TDok) {
    setObjectName(QStringLiteral("TN05"));
    setWindowTitle(QStringLiteral("Dokument hinzufügen"));
    buildControls();
}

void AddDocumentDialog::buildControls() {
    Edit1 = titleEdit(dm_.TDok, this);
    const FilingFields fields = filingFields(dm_, &dm_.DDok, this, [this] { updateOk(); });
    I1 = new QLabel(this);
    I1->setObjectName(QStringLiteral("I1"));
    I1->setFixedSize(TIconListPainter::largeSize, TIconListPainter::largeSize);

    auto* form = new QFormLayout;
    addFilingRows(*form, Edit1, fields.art, fields.address, fields.topic, fields.author);
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addWidget(buildFileGroup());

    QVBoxLayout* buttons = filingButtonColumn(*this, I1, BtnOK, QStringLiteral("BtnAbbruch"), QStringLiteral("BitBtn1"),
                                              QStringLiteral("dok030"));
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    setMinimumWidth(560);
    connect(Edit1, &QLineEdit::textChanged, this, &AddDocumentDialog::updateOk);
    connect(BtnOK, &QPushButton::clicked, this, &AddDocumentDialog::BtnOKClick);
}

QWidget* AddDocumentDialog::buildFileGroup() {
    auto* group = new QGroupBox(QStringLiteral("Datei"), this);
    Lbl_Von = pathField(QStringLiteral("Lbl_Von"), group);
    Lbl_Nach = pathField(QStringLiteral("Lbl_Nach"), group);
    CBNone = makeRadioButton(QStringLiteral("CBNone"), QStringLiteral("Datei beibehalten"), group);
    CBMove = makeRadioButton(QStringLiteral("CBMove"), QStringLiteral("Datei nach ZEP verschieben"), group);
    CBCopy = makeRadioButton(QStringLiteral("CBCopy"), QStringLiteral("Datei nach ZEP kopieren"), group);
    CBCopy->setChecked(true);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(new QLabel(QStringLiteral("Quell-Datei:"), group));
    layout->addWidget(Lbl_Von);
    layout->addWidget(new QLabel(QStringLiteral("Ziel-Datei:"), group));
    layout->addWidget(Lbl_Nach);
    for (QRadioButton* button : {CBNone, CBMove, CBCopy}) {
        layout->addWidget(button);
        connect(button, &QRadioButton::clicked, this, &AddDocumentDialog::updatePaths);
    }
    return group;
}

void AddDocumentDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (begun_)
        return;
    begun_ = true;
    fillDocumentPickLists(*findChild<DBComboBox*>(QStringLiteral("DBComboBox2")),
                          *findChild<DBComboBox*>(QStringLiteral("DBComboBox1")));
    Lbl_Von->setText(source_);
    Lbl_Nach->setText(proposedTarget(source_, target_.filesDir));
    if (Edit1->text().isEmpty())
        Edit1->setText(proposedTitle(source_));
    I1->setPixmap(TIconListPainter(dm_.IList).FileIcon(source_, extensionOf(source_)));
    try {
        adding_.begin(target_, source_);
    } catch (const EngineError& error) {
        showError(error.message());
    }
    updateOk();
    updatePaths();
}

void AddDocumentDialog::updateOk() {
    BtnOK->setEnabled(!Edit1->text().isEmpty() && !Lbl_Nach->text().isEmpty() && adding_.canFile());
}

void AddDocumentDialog::updatePaths() {
    Lbl_Von->setEnabled(!CBMove->isChecked());
    Lbl_Nach->setEnabled(!CBNone->isChecked());
}

FileHandling AddDocumentDialog::handling() const {
    if (CBNone->isChecked())
        return FileHandling::Keep;
    return CBMove->isChecked() ? FileHandling::Move : FileHandling::Copy;
}

// A file that cannot be put in place is reported; the dialog stays open for another choice.
void AddDocumentDialog::BtnOKClick() {
    const QString failed = adding_.file(Edit1->text(), Lbl_Von->text(), Lbl_Nach->text(), handling());
    if (!failed.isEmpty()) {
        showError(failed);
        return;
    }
    accept();
}

// Every way of closing ends here: a document that was not filed leaves no record behind.
void AddDocumentDialog::done(int result) {
    try {
        const qint64 number = adding_.finish();
        documentNumber_ = result == Accepted ? number : 0;
    } catch (const EngineError& error) {
        showError(error.message());
    }
    QDialog::done(result);
}

qint64 addDocuments(TDM& dm, const FilingTarget& target, const QStringList& paths, QWidget* parent) {
    if (paths.isEmpty())
        return 0;
    if (paths.size() == 1) {
        AddDocumentDialog dialog(dm, target, paths.first(), parent);
        dialog.exec();
        return dialog.documentNumber();
    }
    AddDocumentsDialog dialog(dm.TDok, target, paths, parent);
    dialog.exec();
    return dialog.documentNumber();
}

} // namespace zep
