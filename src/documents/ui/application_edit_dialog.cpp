#include "documents/ui/application_edit_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"
#include "controls/ui/icon_list_painter.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "documents/application_record.h"
#include "documents/associations.h"
#include "documents/file_types.h"
#include "documents/ui/template_creation_dialog.h"
#include "documents/ui/template_file_list.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int kIconCell = 40;
constexpr int kIconSize = 32;

// Opening the list arms the lookup of the chosen extension; typing never does.
class ExtensionBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> onPopup;
    void showPopup() override {
        if (onPopup)
            onPopup();
        QComboBox::showPopup();
    }
};

QLabel* label(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

void showError(const QString& text) {
    Interaction::instance().error(text, ApplicationName.toString());
}

QString missingTemplateQuestion() {
    return QStringLiteral("Ohne Vorlagendatei können Sie keine neuen Dokumente erstellen. Jetzt Vorlagendatei "
                          "hinzufügen ?");
}

} // namespace

ApplicationEditDialog::ApplicationEditDialog(TDM& dm, const QString& templatesDir, ProgramLauncher& launcher,
                                             QWidget* parent)
    : QDialog(parent), dm_(dm), templatesDir_(templatesDir), launcher_(launcher) {
    setObjectName(QStringLiteral("TN02"));
    setWindowTitle(QStringLiteral("Anwendung bearbeiten"));
    templateDialog_ = [this](const QString& program, const QString& ext) {
        TemplateCreationDialog dialog(program, ext, templatesDir_, launcher_, this);
        dialog.exec();
    };
    buildControls();
    BoxExe->addItems(ListRegisteredExtensions(dm_.associations()));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &ApplicationEditDialog::SyncFileList);
}

void ApplicationEditDialog::buildControls() {
    pages_ = new QTabWidget(this);
    pages_->addTab(buildApplicationPage(), QStringLiteral("Anwendung"));
    pages_->addTab(buildTemplatePage(), QStringLiteral("Vorlagen"));
    auto* right = new QVBoxLayout;
    auto* ok = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* abort = makeButton(QStringLiteral("BtnAbbruch"), QStringLiteral("Abbrechen"), this);
    auto* help = makeButton(QStringLiteral("BtnHelp"), QStringLiteral("Hilfe"), this);
    I1 = label(QString(), this);
    I1->setObjectName(QStringLiteral("I1"));
    I1->setFixedSize(kIconCell, kIconCell);
    I1->setAlignment(Qt::AlignCenter);
    I1->setFrameShape(QFrame::Panel);
    I1->setFrameShadow(QFrame::Sunken);
    right->addWidget(I1, 0, Qt::AlignHCenter);
    right->addSpacing(12);
    right->addWidget(ok);
    right->addWidget(abort);
    right->addWidget(help);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addLayout(right);
    resize(560, 330);
    connect(ok, &QPushButton::clicked, this, &ApplicationEditDialog::BtnOKClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(QString::fromLatin1(HelpTopic)); });
}

QWidget* ApplicationEditDialog::buildApplicationPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Sheet1"));
    auto* layout = new QVBoxLayout(page);
    EditTitel = makeEdit(QStringLiteral("EditTitel"), page);
    auto* box = new ExtensionBox(page);
    box->onPopup = [this] {
        lookupArmed_ = true;
    };
    BoxExe = box;
    BoxExe->setObjectName(QStringLiteral("BoxExe"));
    BoxExe->setEditable(true);
    BoxExe->setInsertPolicy(QComboBox::NoInsert);
    BoxExe->setMaximumWidth(120);
    auto* pathRow = new QHBoxLayout;
    auto* pathButton = makeButton(QStringLiteral("BtnPfad"), QStringLiteral("Befehlszeile"), page);
    EditPfad = makeEdit(QStringLiteral("EditPfad"), page);
    pathRow->addWidget(pathButton);
    pathRow->addWidget(EditPfad, 1);
    auto* iconRow = new QHBoxLayout;
    auto* symbolButton = makeButton(QStringLiteral("BtnSymbol"), QStringLiteral("Symbole"), page);
    GridIcon = new QTableWidget(1, 1, page);
    GridIcon->setObjectName(QStringLiteral("GridIcon"));
    GridIcon->horizontalHeader()->hide();
    GridIcon->verticalHeader()->hide();
    GridIcon->horizontalHeader()->setDefaultSectionSize(kIconCell);
    GridIcon->verticalHeader()->setDefaultSectionSize(kIconCell);
    GridIcon->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridIcon->setIconSize(QSize(kIconSize, kIconSize));
    GridIcon->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridIcon->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    GridIcon->setFixedHeight(kIconCell + GridIcon->horizontalScrollBar()->sizeHint().height() + 4);
    iconRow->addWidget(symbolButton, 0, Qt::AlignTop);
    iconRow->addWidget(GridIcon, 1);
    layout->addWidget(label(QStringLiteral("Beschreibung:"), page));
    layout->addWidget(EditTitel);
    layout->addWidget(label(QStringLiteral("Dateinamenerweiterung:"), page));
    layout->addWidget(BoxExe);
    layout->addLayout(pathRow);
    layout->addLayout(iconRow);
    layout->addStretch(1);
    connect(pathButton, &QPushButton::clicked, this, &ApplicationEditDialog::BtnPfadClick);
    connect(EditPfad, &QLineEdit::textEdited, this, &ApplicationEditDialog::EditPfadChange);
    connect(symbolButton, &QPushButton::clicked, this, &ApplicationEditDialog::BtnSymbolClick);
    connect(GridIcon, &QTableWidget::cellClicked, this, [this](int, int column) { GridIconClick(column); });
    connect(BoxExe, &QComboBox::editTextChanged, this,
            [this](const QString& text) { VorExe->setText(QStringLiteral("*.") + text); });
    connect(BoxExe, &QComboBox::currentIndexChanged, this, &ApplicationEditDialog::BoxExeSelect);
    return page;
}

QWidget* ApplicationEditDialog::buildTemplatePage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Sheet2"));
    auto* layout = new QVBoxLayout(page);
    auto* head = new QHBoxLayout;
    VorExe = makeEdit(QStringLiteral("VorExe"), page);
    VorExe->setFrame(false);
    VorExe->setText(QStringLiteral("*.*"));
    head->addWidget(label(QStringLiteral("Vorlagen:"), page));
    head->addWidget(VorExe, 1);
    FLB = new TemplateFileList(templatesDir_, page);
    FLB->setObjectName(QStringLiteral("FLB"));
    auto* buttons = new QHBoxLayout;
    auto* add = makeButton(QStringLiteral("BtnVorNeu"), QStringLiteral("Hinzufügen"), page);
    auto* edit = makeButton(QStringLiteral("BtnVorEdit"), QStringLiteral("Bearbeiten"), page);
    BtnVorDel = makeButton(QStringLiteral("BtnVorDel"), QStringLiteral("Löschen"), page);
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addWidget(BtnVorDel);
    buttons->addStretch(1);
    layout->addLayout(head);
    layout->addWidget(FLB, 1);
    layout->addLayout(buttons);
    connect(VorExe, &QLineEdit::textChanged, this, &ApplicationEditDialog::VorExeChange);
    connect(FLB, &TemplateFileList::filesRead, this, &ApplicationEditDialog::updateTemplateButtons);
    connect(add, &QPushButton::clicked, this, &ApplicationEditDialog::BtnVorNeuClick);
    connect(edit, &QPushButton::clicked, this, &ApplicationEditDialog::BtnVorEditClick);
    connect(BtnVorDel, &QPushButton::clicked, this, &ApplicationEditDialog::BtnVorDelClick);
    return page;
}

void ApplicationEditDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void ApplicationEditDialog::FormShow() {
    const QSignalBlocker blocker(BoxExe);
    if (newMode_) {
        EditTitel->clear();
        EditPfad->clear();
        BoxExe->setEditText(QStringLiteral("---"));
        VorExe->clear();
    } else {
        Table& pro = dm_.TPro;
        EditTitel->setText(pro.field(u"Titel").asString());
        EditPfad->setText(pro.field(u"Anw").asString());
        BoxExe->setEditText(pro.field(u"Ext").asString());
        iconNumber_ = int(pro.field(u"IconNr").asInteger());
        VorExe->setText(QStringLiteral("*.") + BoxExe->currentText());
    }
    lookupArmed_ = false;
    FLB->fill();
    GridIcon->clear();
    GridIcon->setColumnCount(1);
    gridIcons_.clear();
    showPreview(iconNumber_);
    pages_->setCurrentIndex(0);
    Timer1->start();
}

void ApplicationEditDialog::BtnPfadClick() {
    const QString chosen = Interaction::instance().openFileName(
        QStringLiteral("Befehlszeile"), QFileInfo(EditPfad->text()).path(), QStringLiteral("Alle Dateien (*)"));
    if (chosen.isEmpty())
        return;
    EditPfad->setText(chosen);
    EditPfadChange();
}

// The preview follows the path; the number to be stored stays until an icon is clicked.
void ApplicationEditDialog::EditPfadChange() {
    showPreview(0);
}

// Only icons that can be drawn are offered (a theme lacks some fallback names); each cell keeps the
// icon's number in the program's list, which is what the register stores.
void ApplicationEditDialog::BtnSymbolClick() {
    const QStringList icons = dm_.associations().programIcons(EditPfad->text());
    gridIcons_.clear();
    GridIcon->clear();
    QList<QTableWidgetItem*> items;
    for (int number = 0; number < icons.size(); ++number) {
        const QPixmap pixmap = TIconListPainter::sourcePixmap(icons[number], kIconSize);
        if (pixmap.isNull())
            continue;
        auto* item = new QTableWidgetItem(QIcon(pixmap), QString());
        item->setToolTip(icons[number]);
        items << item;
        gridIcons_ << number;
    }
    GridIcon->setColumnCount(qMax(1, int(items.size())));
    for (int column = 0; column < items.size(); ++column)
        GridIcon->setItem(0, column, items[column]);
}

void ApplicationEditDialog::GridIconClick(int column) {
    if (column >= gridIcons_.size())
        return;
    iconNumber_ = gridIcons_[column];
    showPreview(iconNumber_);
}

void ApplicationEditDialog::showPreview(int number) {
    const QStringList icons = dm_.associations().programIcons(EditPfad->text());
    const QPixmap pixmap =
        number >= 0 && number < icons.size() ? TIconListPainter::sourcePixmap(icons[number], kIconSize) : QPixmap();
    I1->setPixmap(pixmap);
}

void ApplicationEditDialog::BoxExeSelect() {
    if (!lookupArmed_ || BoxExe->currentIndex() < 0)
        return;
    lookupArmed_ = false;
    const FileTypeInfo info = LookupFileType(dm_.associations(), BoxExe->currentText());
    EditTitel->setText(info.description);
    EditPfad->setText(info.program);
    EditPfadChange();
}

void ApplicationEditDialog::VorExeChange() {
    FLB->setMask(VorExe->text());
}

// After a refused post the dialog closes all the same and nothing after the post runs.
void ApplicationEditDialog::BtnOKClick() {
    try {
        storeApplication(dm_.TPro, newMode_,
                         {EditTitel->text(), EditPfad->text(), BoxExe->currentText(), qint64(iconNumber_)});
    } catch (const EngineError& error) {
        showError(error.message());
        accept();
        return;
    }
    if (FLB->count() > 0) {
        dm_.LoadApplicationIcons();
    } else if (Interaction::instance().askYesNo(missingTemplateQuestion(), ApplicationName.toString(),
                                                QuestionLook::Error) == Answer::Yes) {
        templateDialog_(EditPfad->text(), BoxExe->currentText());
        dm_.LoadApplicationIcons();
    }
    accept();
}

void ApplicationEditDialog::BtnVorNeuClick() {
    templateDialog_(EditPfad->text(), BoxExe->currentText());
    FLB->fill();
}

void ApplicationEditDialog::BtnVorEditClick() {
    FLB->editSelected(launcher_);
}

void ApplicationEditDialog::BtnVorDelClick() {
    FLB->deleteSelected();
}

void ApplicationEditDialog::SyncFileList() {
    FLB->SyncFileList();
}

void ApplicationEditDialog::updateTemplateButtons() {
    BtnVorDel->setEnabled(FLB->count() > 0);
}

} // namespace zep
