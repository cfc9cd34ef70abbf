#include "printing/ui/layout_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/window_placement.h"
#include "data/catalog_file.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "printing/print_layouts.h"
#include "printing/ui/print_preview_window.h"
#include "printing/ui/printer_device.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int AddressFieldCatalog = 30;

QString changesQuestion() {
    return QStringLiteral("Änderungen speichern ?");
}

QPushButton* button(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

// Enter in a line edit leaves the field as focus-out does; it never reaches a default button.
class EnterSwallower : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                emit static_cast<QLineEdit*>(watched)->editingFinished();
                return true;
            }
        }
        return false;
    }
};

} // namespace

void LayoutNameBox::showPopup() {
    emit aboutToDropDown();
    QComboBox::showPopup();
}

// A choice from the list is announced right after the list closes, in the same call; closedUp
// comes once that is done.
void LayoutNameBox::hidePopup() {
    QComboBox::hidePopup();
    QTimer::singleShot(0, this, &LayoutNameBox::closedUp);
}

LayoutDialog::LayoutDialog(const Kind& kind, const QString& generalDir, QWidget* parent)
    : QWidget(parent, Qt::Window), kind_(kind), generalDir_(generalDir) {
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    for (Table* table : {&tableKey_, &tableNames_}) {
        table->setDirectory(generalDir);
        table->setTableName(kind.tableName);
    }
    tableNames_.setIndexName(QStringLiteral("iBez"));
    printer_.setDocName(QStringLiteral("ZEP-Druckauftrag"));
    buildControls(kind);
    preview_ = new PrintPreviewWindow(kind.previewName, [this](QPainter& painter, const QRect& box) {
        if (shown_)
            paintPreview(painter, box);
    });
    preview_->show();
    preview_->placeAtBottomRight();
    Label15->setText(printerDisplayName(printer_));
    setStatus(false, false);
}

LayoutDialog::~LayoutDialog() {
    delete preview_;
}

void LayoutDialog::buildControls(const Kind& kind) {
    auto* layout = new QVBoxLayout(this);
    auto* names = new QHBoxLayout;
    names->addWidget(new QLabel(QStringLiteral("Format:"), this));
    BoxBez = new LayoutNameBox(this);
    BoxBez->setObjectName(QStringLiteral("BoxBez"));
    BoxBez->setEditable(true);
    BoxBez->setInsertPolicy(QComboBox::NoInsert);
    BoxBez->setMinimumWidth(220);
    names->addWidget(BoxBez, 1);
    NeuBtn = button(QStringLiteral("NeuBtn"), QStringLiteral("Neu"), this);
    SaveBtn = button(QStringLiteral("SaveBtn"), QStringLiteral("Sichern"), this);
    CancelBtn = button(QStringLiteral("CancelBtn"), QStringLiteral("Abbruch"), this);
    DelBtn = button(QStringLiteral("DelBtn"), QStringLiteral("Löschen"), this);
    for (QPushButton* b : {NeuBtn, SaveBtn, CancelBtn, DelBtn})
        names->addWidget(b);
    layout->addLayout(names);

    auto* printerRow = new QHBoxLayout;
    printerRow->addWidget(new QLabel(QStringLiteral("Drucker: "), this));
    Label15 = new QLabel(this);
    Label15->setObjectName(QStringLiteral("Label15"));
    printerRow->addWidget(Label15, 1);
    layout->addLayout(printerRow);

    controls_ = new QGridLayout;
    E_Breite = addNumberField(QStringLiteral("E_Breite"), 4, kind.pageWidth);
    E_Hohe = addNumberField(QStringLiteral("E_Hohe"), 4, kind.pageHeight);
    controls_->addWidget(new QLabel(QStringLiteral("Breite [mm]"), this), 0, 0);
    controls_->addWidget(E_Breite, 0, 1);
    controls_->addWidget(new QLabel(QStringLiteral("Höhe [mm]"), this), 1, 0);
    controls_->addWidget(E_Hohe, 1, 1);
    layout->addLayout(controls_);

    auto* lines = new QHBoxLayout;
    Grid = new QTableWidget(10, int(kind.gridColumns.size()) + 1, this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setHorizontalHeaderLabels(QStringList{QStringLiteral("Zeile")} + kind.gridColumns);
    Grid->verticalHeader()->hide();
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int row = 0; row < 10; ++row) {
        Grid->setItem(row, 0, new QTableWidgetItem(QStringLiteral("Zeile ") + QString::number(row + 1)));
        for (int column = 1; column < Grid->columnCount(); ++column)
            Grid->setItem(row, column, new QTableWidgetItem);
    }
    for (int column = 0; column < kind.gridWidths.size(); ++column)
        Grid->setColumnWidth(column, kind.gridWidths[column]);
    Grid->horizontalHeader()->setStretchLastSection(true);
    Grid->setCurrentCell(0, 1);
    lines->addWidget(Grid, 1);
    auto* fields = new QVBoxLayout;
    fields->addWidget(new QLabel(QStringLiteral("Adress-Felder"), this));
    LB = new QListWidget(this);
    LB->setObjectName(QStringLiteral("LB"));
    fields->addWidget(LB, 1);
    lines->addLayout(fields);
    layout->addLayout(lines, 1);

    auto* textRow = new QHBoxLayout;
    E_T = new QLineEdit(this);
    E_T->setObjectName(QStringLiteral("E_T"));
    E_T->setMaxLength(255);
    SpeedButton11 = new QToolButton(this);
    SpeedButton11->setObjectName(QStringLiteral("SpeedButton11"));
    SpeedButton11->setText(QStringLiteral("<"));
    textRow->addWidget(new QLabel(QStringLiteral("Text:"), this));
    textRow->addWidget(E_T, 1);
    textRow->addWidget(SpeedButton11);
    layout->addLayout(textRow);
    watchEdit(E_T, false);

    auto* fontRow = new QHBoxLayout;
    BtnFont = button(QStringLiteral("BtnFont"), QStringLiteral("Font"), this);
    E_F = new QLineEdit(this);
    E_F->setObjectName(QStringLiteral("E_F"));
    E_F->setReadOnly(true);
    fontRow->addWidget(BtnFont);
    fontRow->addWidget(E_F, 1);
    layout->addLayout(fontRow);

    auto* buttons = new QHBoxLayout;
    BtnPrint = button(QStringLiteral("BtnPrint"), QStringLiteral("Drucken"), this);
    BtnHilfe = button(QStringLiteral("BtnHilfe"), QStringLiteral("Hilfe"), this);
    BtnOK = button(QStringLiteral("BtnOK"), QStringLiteral("Schließen"), this);
    buttons->addWidget(BtnPrint);
    buttons->addStretch(1);
    buttons->addWidget(BtnHilfe);
    buttons->addWidget(BtnOK);
    layout->addLayout(buttons);

    connect(BoxBez, &LayoutNameBox::aboutToDropDown, this, &LayoutDialog::BoxBezDropDown);
    connect(BoxBez, &QComboBox::activated, this, &LayoutDialog::BoxBezChange);
    // A list closed without a choice: what is typed next is a change, not a choice.
    connect(BoxBez, &LayoutNameBox::closedUp, this, [this] { choice_ = false; });
    connect(BoxBez, &QComboBox::editTextChanged, this, [this] {
        if (!loading_ && !choice_)
            setStatus(false, true);
    });
    connect(Grid, &QTableWidget::currentCellChanged, this, &LayoutDialog::GridClick);
    connect(SpeedButton11, &QToolButton::clicked, this, &LayoutDialog::SpeedButton11Click);
    connect(BtnFont, &QPushButton::clicked, this, &LayoutDialog::BtnFontClick);
    connect(NeuBtn, &QPushButton::clicked, this, &LayoutDialog::NeuBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &LayoutDialog::SaveBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &LayoutDialog::CancelBtnClick);
    connect(DelBtn, &QPushButton::clicked, this, &LayoutDialog::DelBtnClick);
    connect(BtnPrint, &QPushButton::clicked, this, [this] { printLayout(); });
    connect(BtnHilfe, &QPushButton::clicked, this, [this] { emit helpRequested(kind_.helpTopic); });
    connect(BtnOK, &QPushButton::clicked, this, &QWidget::close);
}

QLineEdit* LayoutDialog::addNumberField(const QString& name, int digits, const QString& value) {
    auto* edit = new QLineEdit(value, this);
    edit->setObjectName(name);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), edit));
    edit->setMaximumWidth(70);
    watchEdit(edit, true);
    return edit;
}

void LayoutDialog::watchEdit(QLineEdit* edit, bool number) {
    if (number)
        numberFields_.push_back(edit);
    edit->installEventFilter(new EnterSwallower(edit));
    connect(edit, &QLineEdit::textChanged, this, &LayoutDialog::fieldEdited);
    connect(edit, &QLineEdit::editingFinished, this, [this, edit] { fieldLeft(edit); });
}

namespace {

// The window manager frames new windows shortly after they are shown.
constexpr int FramesSettleMs = 200;

} // namespace

void LayoutDialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FormShow();
        // Once both windows wear their frames: the preview stays on top at the bottom right and must
        // not cover the buttons.
        QTimer::singleShot(FramesSettleMs, this, [this] {
            const QRect frame = frameGeometry();
            const QScreen* screen = this->screen();
            if (screen != nullptr)
                move(pos() + placedClearOf(frame, preview_->frameGeometry(), screen->availableGeometry()) -
                     frame.topLeft());
        });
    }
}

void LayoutDialog::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimising hides the window too; only a real hide ends the dialog.
    if (event->spontaneous() && isVisible())
        return;
    emit hidden();
}

void LayoutDialog::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void LayoutDialog::FormShow() {
    try {
        QStringList catalog;
        LoadCatalog(catalog, AddressFieldCatalog, generalDir_);
        knownNames_ = catalog;
        LB->addItems(catalog);
    } catch (const FileError& e) {
        showEngineError(e.message());
    }
    loading_ = true;
    try {
        tableKey_.open();
        tableNames_.open();
        fillNames();
        const int index = storedIndex();
        if (index >= 0 && index < BoxBez->count())
            BoxBez->setCurrentIndex(index);
        if (!numbers_.empty()) // with no layout stored there is nothing to load
            chooseLayout(BoxBez->currentIndex());
    } catch (const EngineError& e) {
        showEngineError(e.message());
    }
    loading_ = false;
}

void LayoutDialog::FormClose() {
    if (modified_ && Interaction::instance().askYesNo(changesQuestion(), ApplicationName.toString()) == Answer::Yes)
        SaveBtnClick();
    tableKey_.close();
    tableNames_.close();
    preview_->hide();
    storeIndex(BoxBez->currentIndex());
}

void LayoutDialog::fillNames() {
    const bool wasLoading = loading_;
    loading_ = true;
    BoxBez->clear();
    numbers_.clear();
    for (const LayoutName& layout : readLayoutNames(tableNames_)) {
        BoxBez->addItem(layout.name);
        numbers_.push_back(layout.nr);
    }
    loading_ = wasLoading;
}

void LayoutDialog::BoxBezDropDown() {
    if (modified_ && Interaction::instance().askYesNo(changesQuestion(), ApplicationName.toString()) == Answer::Yes)
        SaveBtnClick();
    try {
        const QString text = BoxBez->currentText();
        const int index = BoxBez->currentIndex();
        fillNames();
        loading_ = true;
        BoxBez->setCurrentIndex(std::min(index, BoxBez->count() - 1));
        BoxBez->setEditText(text);
        loading_ = false;
        choice_ = true;
    } catch (const EngineError& e) {
        loading_ = false;
        showEngineError(e.message());
    }
}

void LayoutDialog::BoxBezChange(int index) {
    if (choice_)
        chooseLayout(index);
}

void LayoutDialog::chooseLayout(int index) {
    choice_ = false;
    const int nr = index >= 0 && size_t(index) < numbers_.size() ? numbers_[size_t(index)] : 0;
    try {
        if (!tableKey_.findKey({std::max(nr, 0)})) {
            Interaction::instance().error(QStringLiteral("Eintrag nicht gefunden"), ApplicationName.toString());
            return;
        }
        const bool wasLoading = loading_;
        loading_ = true;
        BoxBez->setEditText(tableKey_.field(u"Bezeichnung").asString());
        loadLayout(tableKey_);
        loadCurrentRow();
        loading_ = wasLoading;
        pending_ = false;
        setStatus(true, false);
    } catch (const EngineError& e) {
        loading_ = false;
        showEngineError(e.message());
    }
}

void LayoutDialog::setStatus(bool redraw, std::optional<bool> modified) {
    if (modified)
        modified_ = *modified;
    SaveBtn->setEnabled(modified_);
    CancelBtn->setEnabled(modified_);
    if (redraw)
        redrawPreview();
}

void LayoutDialog::redrawPreview() {
    preview_->PB->update();
}

int LayoutDialog::currentRow() const {
    return std::max(Grid->currentRow(), 0);
}

int LayoutDialog::screenDpiY() const {
    return preview_->screenDpiY();
}

bool LayoutDialog::choosePrinter() {
    const bool chosen = Interaction::instance().setupPrinter(printer_, kind_.caption);
    Label15->setText(printerDisplayName(printer_));
    return chosen;
}

void LayoutDialog::showEngineError(const QString& message) const {
    Interaction::instance().error(message, ApplicationName.toString());
}

void LayoutDialog::fieldEdited() {
    if (loading_)
        return;
    pending_ = true;
    copyFieldsToRow();
}

void LayoutDialog::fieldLeft(QLineEdit* edit) {
    if (!pending_ || loading_)
        return;
    pending_ = false;
    if (std::find(numberFields_.begin(), numberFields_.end(), edit) != numberFields_.end() &&
        printFieldValue(edit->text()) == 0) {
        loading_ = true;
        edit->setText(QStringLiteral("0"));
        copyFieldsToRow();
        loading_ = false;
    }
    setStatus(true, true);
}

void LayoutDialog::GridClick() {
    if (loading_)
        return;
    loading_ = true;
    loadCurrentRow();
    loading_ = false;
    if (pending_)
        fieldLeft(E_T);
}

void LayoutDialog::SpeedButton11Click() {
    const QListWidgetItem* item = LB->currentItem();
    if (!item)
        return;
    E_T->insert(QStringLiteral("[") + item->text() + QStringLiteral("] "));
}

void LayoutDialog::BtnFontClick() {
    const PrintFont font = currentFont();
    const FontDescription initial{font.name, font.bold, font.italic, false, false, font.pointSize};
    const std::optional<FontDescription> chosen = Interaction::instance().font(initial, QStringLiteral("Schriftart"));
    if (!chosen)
        return;
    const PrintFont taken{chosen->name.left(PrintFontNameLength), chosen->bold, chosen->italic, chosen->pointSize};
    fontChosen(taken);
    E_F->setText(printFontDescription(taken));
    setStatus(true, true);
}

void LayoutDialog::NeuBtnClick() {
    newLayout_ = true;
    loading_ = true;
    BoxBez->addItem(QStringLiteral("Neu"));
    BoxBez->setCurrentIndex(BoxBez->count() - 1);
    resetToNewLayout();
    loadCurrentRow();
    loading_ = false;
    pending_ = false;
    setStatus(true, true);
}

bool LayoutDialog::SaveBtnClick() {
    const QString name = BoxBez->currentText();
    if (name.isEmpty()) {
        Interaction::instance().information(QStringLiteral("Geben Sie eine Formatsbezeichnung ein!"),
                                            ApplicationName.toString());
        return false;
    }
    try {
        if (newLayout_ || tableKey_.isEmpty())
            tableKey_.append();
        else
            tableKey_.edit();
        writeLayout(tableKey_, name);
        tableKey_.post();
    } catch (const EngineError& e) {
        if (tableKey_.isEditing())
            tableKey_.cancel();
        showEngineError(e.message());
        return false;
    }
    newLayout_ = false;
    reloadCurrentLayout();
    setStatus(false, false);
    return true;
}

void LayoutDialog::CancelBtnClick() {
    newLayout_ = false;
    reloadCurrentLayout();
    setStatus(false, false);
}

void LayoutDialog::DelBtnClick() {
    try {
        if (newLayout_) {
            newLayout_ = false;
            reloadCurrentLayout();
        } else if (tableNames_.recordCount() > 1) {
            tableKey_.deleteRecord();
            tableNames_.refresh();
            fillNames();
            loading_ = true;
            BoxBez->setCurrentIndex(0);
            chooseLayout(0);
            loading_ = false;
        }
    } catch (const EngineError& e) {
        loading_ = false;
        showEngineError(e.message());
    }
    newLayout_ = false;
    setStatus(true, false);
}

// The controls show the layout record the key table stands on again, and the name list is read anew.
void LayoutDialog::reloadCurrentLayout() {
    try {
        tableNames_.refresh();
        fillNames();
        if (tableKey_.isEmpty())
            return;
        selectNumber(int(tableKey_.field(u"Nr").asInteger()));
        loading_ = true;
        BoxBez->setEditText(tableKey_.field(u"Bezeichnung").asString());
        loadLayout(tableKey_);
        loadCurrentRow();
        loading_ = false;
        pending_ = false;
        redrawPreview();
    } catch (const EngineError& e) {
        loading_ = false;
        showEngineError(e.message());
    }
}

void LayoutDialog::selectNumber(int nr) {
    const auto found = std::find(numbers_.begin(), numbers_.end(), nr);
    loading_ = true;
    BoxBez->setCurrentIndex(found == numbers_.end() ? -1 : int(found - numbers_.begin()));
    loading_ = false;
}

} // namespace zep
