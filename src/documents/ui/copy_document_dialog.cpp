#include "documents/ui/copy_document_dialog.h"

#include "app/clock.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/help_window.h"
#include "app/ui/named_controls.h"
#include "controls/ui/db_check_box.h"
#include "controls/ui/db_combo_box.h"
#include "controls/ui/db_lookup_combo_box.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "documents/ui/document_controls.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace zep {

namespace {

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

// In place of drive letters: the home folder and the roots of the mounted file systems.
QStringList startingPoints() {
    QStringList points{QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !points.contains(volume.rootPath()))
            points << volume.rootPath();
    }
    return points;
}

} // namespace

CopyDocumentDialog::CopyDocumentDialog(TDM& dm, QString linkField, qint64 targetNumber, QString filesDir,
                                       QWidget* parent)
    : QDialog(parent), dm_(dm), linkField_(std::move(linkField)), targetNumber_(targetNumber),
      filesDir_(std::move(filesDir)), copying_(dm.TDok.directory()) {
    setObjectName(QStringLiteral("TN07"));
    setWindowTitle(QStringLiteral("Dokument kopieren"));
    DZiel.setDataSet(&copying_.TZiel);
    source_ = copySourceOf(dm_.TDok.field(u"Datei").asString(), filesDir_);
    targetDirectory_ = filesDir_;
    buildControls();
    Edit1->setText(dm_.TDok.field(u"Titel").asString());
}

void CopyDocumentDialog::buildControls() {
    Edit1 = titleEdit(copying_.TZiel, this);
    const FilingFields fields = filingFields(dm_, &DZiel, this, [this] { updateOk(); });
    auto* open = inWorkCheckBox(&DZiel, this);

    auto* form = new QFormLayout;
    form->setVerticalSpacing(4);
    addFilingRows(*form, Edit1, fields.art, fields.address, fields.topic, fields.author, open);
    BtnOK = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    BtnOK->setDefault(true);
    auto* abort = makeButton(QStringLiteral("BitBtn2"), QStringLiteral("Abbruch"), this);
    auto* help = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("Hilfe"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(BtnOK);
    buttons->addWidget(abort);
    buttons->addWidget(help);
    buttons->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(buttons);
    buildDirectoryChooser();
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(buildFileGroup());
    layout->addWidget(DriveComboBox1);
    layout->addWidget(DirBox, 1);
    setMinimumWidth(560);
    connect(Edit1, &QLineEdit::textChanged, this, &CopyDocumentDialog::recomputeTarget);
    connect(BtnOK, &QPushButton::clicked, this, &CopyDocumentDialog::BtnOKClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(QStringLiteral("dok020"), this); });
}

QGroupBox* CopyDocumentDialog::buildFileGroup() {
    auto* group = new QGroupBox(QStringLiteral("Datei"), this);
    group->setObjectName(QStringLiteral("GB1"));
    RB_ZEP = makeRadioButton(QStringLiteral("RB_ZEP"), QStringLiteral("Ordner von ZEP"), group);
    RB_SAME = makeRadioButton(QStringLiteral("RB_SAME"), QStringLiteral("Ordner beibehalten"), group);
    RB_OTHER = makeRadioButton(QStringLiteral("RB_OTHER"), QStringLiteral("Anderer Ordner"), group);
    RB_ZEP->setChecked(true);
    // Shows the target; the dialog keeps the target itself, typing here changes nothing.
    EditZFile = makeEdit(QStringLiteral("EditZFile"), group);
    auto* choices = new QHBoxLayout;
    for (QRadioButton* button : {RB_ZEP, RB_SAME, RB_OTHER}) {
        choices->addWidget(button);
        connect(button, &QRadioButton::clicked, this, &CopyDocumentDialog::radioClicked);
    }
    choices->addStretch();
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(4);
    layout->addLayout(choices);
    layout->addWidget(EditZFile);
    return group;
}

void CopyDocumentDialog::buildDirectoryChooser() {
    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->addItems(startingPoints());
    directories_ = new QFileSystemModel(this);
    directories_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    directories_->setRootPath(QDir::rootPath());
    DirBox = new QTreeView(this);
    DirBox->setObjectName(QStringLiteral("DirBox"));
    DirBox->setModel(directories_);
    for (int column = 1; column < directories_->columnCount(); ++column)
        DirBox->hideColumn(column);
    DirBox->header()->hide();
    DirBox->setCurrentIndex(directories_->index(DriveComboBox1->itemText(0)));
    connect(DriveComboBox1, &QComboBox::currentTextChanged, this, &CopyDocumentDialog::driveChanged);
    connect(DirBox->selectionModel(), &QItemSelectionModel::currentChanged, this, &CopyDocumentDialog::dirBoxClicked);
    showDirectoryChooser(false);
}

void CopyDocumentDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (created_)
        return;
    created_ = true;
    fillDocumentPickLists(*findChild<DBComboBox*>(QStringLiteral("DBComboBox2")),
                          *findChild<DBComboBox*>(QStringLiteral("DBComboBox1")));
    showDirectoryChooser(false);
    try {
        copying_.begin(dm_.TDok, linkField_, targetNumber_, Clock::now());
        dm_.FlushAfterPost(copying_.TZiel);
    } catch (const EngineError& error) {
        showError(error.message());
    }
    recomputeTarget();
}

void CopyDocumentDialog::showDirectoryChooser(bool show) {
    DriveComboBox1->setVisible(show);
    DirBox->setVisible(show);
    setFixedHeight(show ? FullHeight : CompactHeight);
}

QString CopyDocumentDialog::selectedDirectory() const {
    const QString path = directories_->filePath(DirBox->currentIndex());
    return path.isEmpty() ? DriveComboBox1->currentText() : path;
}

void CopyDocumentDialog::radioClicked() {
    if (RB_ZEP->isChecked())
        targetDirectory_ = filesDir_;
    else if (RB_SAME->isChecked())
        targetDirectory_ = source_.directory;
    else
        targetDirectory_ = selectedDirectory();
    showDirectoryChooser(RB_OTHER->isChecked());
    recomputeTarget();
}

void CopyDocumentDialog::driveChanged() {
    DirBox->setCurrentIndex(directories_->index(DriveComboBox1->currentText()));
    if (!RB_OTHER->isChecked())
        return;
    DirBox->setFocus();
    dirBoxClicked();
}

void CopyDocumentDialog::dirBoxClicked() {
    if (!RB_OTHER->isChecked())
        return;
    targetDirectory_ = selectedDirectory();
    recomputeTarget();
}

void CopyDocumentDialog::recomputeTarget() {
    targetFile_ = copyTargetFile(targetDirectory_, Edit1->text(), source_.extension);
    EditZFile->setText(targetFile_);
    updateOk();
}

void CopyDocumentDialog::updateOk() {
    BtnOK->setEnabled(!Edit1->text().isEmpty() && !targetFile_.isEmpty() && !source_.path.isEmpty() &&
                      copying_.canFile());
}

// A copy that cannot be made is reported; the dialog stays open for another title or folder.
void CopyDocumentDialog::BtnOKClick() {
    const QString failed = copying_.file(Edit1->text(), source_.path, targetFile_, filesDir_);
    if (!failed.isEmpty()) {
        showError(failed);
        return;
    }
    try {
        dm_.FlushAfterPost(copying_.TZiel);
    } catch (const EngineError& error) {
        showError(error.message());
    }
    accept();
}

// Every way of closing ends here: a copy that was not completed leaves no record behind.
void CopyDocumentDialog::done(int result) {
    try {
        copying_.finish();
        copying_.TZiel.close();
        dm_.TDok.refresh();
    } catch (const EngineError& error) {
        showError(error.message());
    }
    QDialog::done(result);
}

} // namespace zep
