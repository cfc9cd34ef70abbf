#include "documents/ui/add_documents_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zep {

namespace {

QString progressText(int done, int total) {
    return QStringLiteral("%1 von %2 Dateien abgelegt").arg(done).arg(total);
}

} // namespace

AddDocumentsDialog::AddDocumentsDialog(Table& documents, FilingTarget target, QStringList paths, QWidget* parent)
    : QDialog(parent), documents_(documents), target_(std::move(target)), paths_(std::move(paths)) {
    setObjectName(QStringLiteral("TN051"));
    setWindowTitle(QStringLiteral("Dokumente hinzufügen"));
    buildControls();
}

void AddDocumentsDialog::buildControls() {
    auto* group = new QGroupBox(QStringLiteral("%1 Dateien").arg(paths_.size()), this);
    CBNone = makeRadioButton(QStringLiteral("CBNone"), QStringLiteral("Dateien beibehalten"), group);
    CBMove = makeRadioButton(QStringLiteral("CBMove"), QStringLiteral("Dateien nach ZEP verschieben"), group);
    CBCopy = makeRadioButton(QStringLiteral("CBCopy"), QStringLiteral("Dateien nach ZEP kopieren"), group);
    CBCopy->setChecked(true);
    auto* choices = new QVBoxLayout(group);
    for (QRadioButton* button : {CBNone, CBMove, CBCopy})
        choices->addWidget(button);
    LblFortschritt = new QLabel(progressText(0, int(paths_.size())), this);
    LblFortschritt->setObjectName(QStringLiteral("LblFortschritt"));
    Fortschritt = new QProgressBar(this);
    Fortschritt->setObjectName(QStringLiteral("Fortschritt"));
    Fortschritt->setRange(0, int(paths_.size()));
    Fortschritt->setValue(0);
    for (QWidget* widget : {static_cast<QWidget*>(LblFortschritt), static_cast<QWidget*>(Fortschritt)})
        widget->setVisible(false);

    BtnOK = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    BtnOK->setDefault(true);
    auto* abort = makeButton(QStringLiteral("BtnAbbruch"), QStringLiteral("Abbrechen"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(BtnOK);
    buttons->addWidget(abort);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(group, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(LblFortschritt);
    layout->addWidget(Fortschritt);
    setMinimumWidth(420);
    connect(BtnOK, &QPushButton::clicked, this, &AddDocumentsDialog::BtnOKClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
}

FileHandling AddDocumentsDialog::handling() const {
    if (CBNone->isChecked())
        return FileHandling::Keep;
    return CBMove->isChecked() ? FileHandling::Move : FileHandling::Copy;
}

// Between two files the window is kept alive, so that a stop can be asked for.
bool AddDocumentsDialog::showProgress(int done, int total) {
    LblFortschritt->setText(progressText(done, total));
    Fortschritt->setValue(done);
    QApplication::processEvents();
    return !stopRequested_;
}

void AddDocumentsDialog::BtnOKClick() {
    running_ = true;
    stopRequested_ = false;
    for (QWidget* widget : findChildren<QRadioButton*>())
        widget->setEnabled(false);
    BtnOK->setEnabled(false);
    LblFortschritt->setVisible(true);
    Fortschritt->setVisible(true);
    const FilingRun run = fileDocuments(documents_, target_, paths_, handling(),
                                        [this](int done, int total) { return showProgress(done, total); });
    running_ = false;
    showProgress(run.filed, int(paths_.size()));
    documentNumber_ = run.lastNumber;
    if (!run.error.isEmpty())
        Interaction::instance().error(run.error + QStringLiteral("\n\n") + progressText(run.filed, int(paths_.size())) +
                                          u'.',
                                      ApplicationName.toString());
    // What was filed stays filed, also when the run was stopped: the list is to show it.
    if (run.filed > 0) {
        accept();
        return;
    }
    // Nothing filed: the choice may be changed and tried again.
    for (QWidget* widget : findChildren<QRadioButton*>())
        widget->setEnabled(true);
    BtnOK->setEnabled(true);
    if (run.stopped)
        reject();
}

// Closing while files are filed stops after the current file; the dialog closes once the run ends.
void AddDocumentsDialog::done(int result) {
    if (running_) {
        stopRequested_ = true;
        return;
    }
    QDialog::done(result);
}

} // namespace zep
