#include "documents/ui/new_document_dialog.h"

#include "app/clock.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/ui/help_window.h"
#include "app/ui/named_controls.h"
#include "controls/ui/db_check_box.h"
#include "controls/ui/db_combo_box.h"
#include "controls/ui/db_ctrl_grid.h"
#include "controls/ui/db_lookup_combo_box.h"
#include "controls/ui/icon_list_painter.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "documents/ui/document_controls.h"
#include "documents/ui/template_creation_dialog.h"
#include "documents/ui/template_file_list.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int ArtCatalog = 1;
constexpr int AuthorCatalog = 4;
constexpr int VisiblePanels = 7;

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

void drawClipped(QPainter& painter, const QRect& area, const QString& text) {
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}

} // namespace

NewDocumentDialog::NewDocumentDialog(TDM& dm, QString linkField, qint64 entryNumber, QString filesDir,
                                     QString templatesDir, ProgramLauncher& launcher, QWidget* parent)
    : QDialog(parent), dm_(dm), linkField_(std::move(linkField)), entryNumber_(entryNumber),
      filesDir_(std::move(filesDir)), templatesDir_(std::move(templatesDir)), launcher_(launcher), filing_(dm.TDok),
      DPro(&dm.TPro), icons_(std::make_unique<TIconListPainter>(dm.IList)) {
    setObjectName(QStringLiteral("TN04"));
    setWindowTitle(QStringLiteral("Neues Dokument"));
    buildControls();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, FLB, &TemplateFileList::SyncFileList);
    connect(&DPro, &DataSource::dataChanged, this, &NewDocumentDialog::applicationChanged);
}

NewDocumentDialog::~NewDocumentDialog() = default;

void NewDocumentDialog::buildControls() {
    auto* layout = new QGridLayout(this);
    layout->addWidget(buildApplicationGroup(), 0, 0);
    layout->addWidget(buildTemplateGroup(), 0, 1);
    layout->addWidget(buildFilingGroup(), 1, 0);
    layout->addWidget(buildButtonPanel(), 1, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
}

QWidget* NewDocumentDialog::buildApplicationGroup() {
    auto* group = new QGroupBox(QStringLiteral("Anwendung"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    Grid = new TDBCtrlGrid(DPro, PanelHeight, VisiblePanels, group);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setFrameShape(QFrame::NoFrame);
    Grid->setMinimumWidth(300);
    Grid->setPanelPainter([this](QPainter& painter, const QRect& panel, int row, bool current) {
        paintPanel(painter, panel, row, current);
    });
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(Grid);
    layout->addStretch(1);
    return group;
}

QWidget* NewDocumentDialog::buildFilingGroup() {
    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox2"));
    Edit1 = titleEdit(dm_.TDok, group);
    const FilingFields fields = filingFields(dm_, &dm_.DDok, group, [this] { updateOk(); });
    auto* open = inWorkCheckBox(&dm_.DDok, group);
    auto* form = new QFormLayout(group);
    addFilingRows(*form, Edit1, fields.art, fields.address, fields.topic, fields.author, open);
    connect(Edit1, &QLineEdit::textChanged, this, &NewDocumentDialog::updateOk);
    return group;
}

QWidget* NewDocumentDialog::buildTemplateGroup() {
    auto* group = new QGroupBox(QStringLiteral("Vorlagen"), this);
    group->setObjectName(QStringLiteral("GroupBox3"));
    FLB = new TemplateFileList(templatesDir_, group);
    FLB->setObjectName(QStringLiteral("FLB"));
    auto* add = makeButton(QStringLiteral("BtnVorNeu"), QStringLiteral("Hinzufügen"), group);
    auto* edit = makeButton(QStringLiteral("BtnVorEdit"), QStringLiteral("Bearbeiten"), group);
    auto* remove = makeButton(QStringLiteral("BtnVorDel"), QStringLiteral("Löschen"), group);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {add, edit, remove})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(FLB, 1);
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &NewDocumentDialog::BtnVorNeuClick);
    connect(edit, &QPushButton::clicked, this, [this] { FLB->editSelected(launcher_); });
    connect(remove, &QPushButton::clicked, FLB, &TemplateFileList::deleteSelected);
    connect(FLB, &TemplateFileList::filesRead, this, &NewDocumentDialog::updateOk);
    connect(FLB, &QListWidget::itemSelectionChanged, this, &NewDocumentDialog::updateOk);
    return group;
}

QWidget* NewDocumentDialog::buildButtonPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    BtnOK = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), panel);
    BtnOK->setDefault(true);
    auto* abort = makeButton(QStringLiteral("BitBtn2"), QStringLiteral("Abbruch"), panel);
    auto* help = makeButton(QStringLiteral("BtnHelp"), QStringLiteral("Hilfe"), panel);
    auto* layout = new QVBoxLayout(panel);
    layout->addStretch(1);
    for (QPushButton* button : {BtnOK, abort, help})
        layout->addWidget(button);
    connect(BtnOK, &QPushButton::clicked, this, &NewDocumentDialog::BtnOKClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(QStringLiteral("dok020"), this); });
    return panel;
}

void NewDocumentDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

// The provisional record goes in last, so a failure before it leaves nothing to take back.
void NewDocumentDialog::FormShow() {
    const QString general = Program::instance().paths.general;
    fillPickListFromCatalog(*findChild<DBComboBox*>(QStringLiteral("DBComboBox1")), AuthorCatalog, general);
    fillPickListFromCatalog(*findChild<DBComboBox*>(QStringLiteral("DBComboBox2")), ArtCatalog, general);
    dm_.unlinkApplications();
    Grid->refill();
    applicationChanged();
    try {
        filing_.begin(linkField_, entryNumber_);
    } catch (const EngineError& error) {
        showError(error.message());
    }
    Timer1->start();
    updateOk();
}

void NewDocumentDialog::paintPanel(QPainter& painter, const QRect& panel, int row, bool current) {
    const Table& pro = dm_.TPro;
    const QString ext = pro.valueAt(row, pro.fieldPosition(u"Ext")).toString();
    const QString program = pro.valueAt(row, pro.fieldPosition(u"Anw")).toString();
    const QString title = pro.valueAt(row, pro.fieldPosition(u"Titel")).toString();
    const QPalette& colours = palette();
    painter.fillRect(panel, current ? colours.highlight() : colours.base());
    painter.setPen(current ? colours.highlightedText().color() : colours.text().color());
    icons_->drawSmall(ext, program, painter, 2, 2);
    const int height = panel.height() - 2;
    drawClipped(painter, QRect(24, 2, 50 - 24, height), ext);
    drawClipped(painter, QRect(56, 2, panel.width() - 4 - 56, height), title);
}

// The template list follows the application the user moves to.
void NewDocumentDialog::applicationChanged() {
    Table& pro = dm_.TPro;
    if (!pro.isActive() || pro.isEditing())
        return;
    FLB->setMask(pro.isEmpty() ? QStringLiteral("*.") : QStringLiteral("*.") + pro.field(u"Ext").asString());
    updateOk();
}

void NewDocumentDialog::updateOk() {
    BtnOK->setEnabled(!Edit1->text().isEmpty() && !FLB->selectedTemplate().isEmpty() && !dm_.TPro.isEmpty() &&
                      filing_.canFile());
}

void NewDocumentDialog::BtnOKClick() {
    QString message;
    try {
        message = filing_.file(Edit1->text(), FLB->selectedTemplate(), dm_.TPro.field(u"Ext").asString(), filesDir_,
                               Clock::now());
    } catch (const EngineError& error) {
        message = error.message();
    }
    if (!message.isEmpty()) {
        showError(message);
        Edit1->setFocus();
        return;
    }
    accept();
}

void NewDocumentDialog::BtnVorNeuClick() {
    Table& pro = dm_.TPro;
    if (pro.isEmpty())
        return;
    TemplateCreationDialog dialog(pro.field(u"Anw").asString(), pro.field(u"Ext").asString(), templatesDir_, launcher_,
                                  this);
    dialog.exec();
    FLB->fill();
}

// Every way of closing ends here: a document that was not filed leaves no record behind.
void NewDocumentDialog::done(int result) {
    if (shown_) {
        Timer1->stop();
        try {
            documentNumber_ = filing_.finish();
        } catch (const EngineError& error) {
            showError(error.message());
        }
        dm_.linkApplications();
    }
    QDialog::done(result);
}

} // namespace zep
