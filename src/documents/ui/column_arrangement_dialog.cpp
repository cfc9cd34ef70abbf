#include "documents/ui/column_arrangement_dialog.h"

#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"
#include "data/cp1252.h"
#include "data/format_error.h"
#include "data/unrepresentable_text.h"
#include "documents/column_arrangement.h"
#include "documents/ui/string_grid2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace zep {

// The sort box fills itself with the current headings whenever its list drops down.
class SortHeadingBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;

    void showPopup() override {
        if (beforePopup)
            beforePopup();
        QComboBox::showPopup();
    }
};

namespace {

constexpr int FieldColumn = 0;
constexpr int LabelColumn = 1;
constexpr int WidthColumn = 2;

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

} // namespace

ColumnArrangementDialog::ColumnArrangementDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TT01"));
    setWindowTitle(QStringLiteral("Tabellenspalten anordnen"));
    buildControls();
    loadArrangement();
}

void ColumnArrangementDialog::buildControls() {
    G = new TStringGrid2(this);
    G->setObjectName(QStringLiteral("G"));
    G->setColumnCount(3);
    G->setHorizontalHeaderLabels({QStringLiteral("Feld"), QStringLiteral("Bezeichnung"), QStringLiteral("Größe")});
    for (const auto& [column, width] : {std::pair{FieldColumn, 80}, {LabelColumn, 120}, {WidthColumn, 50}})
        G->setColumnWidth(column, width);
    G->horizontalHeader()->setStretchLastSection(false);
    G->verticalHeader()->setDefaultSectionSize(20);
    G->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    G->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    G->setSelectionMode(QAbstractItemView::SingleSelection);
    G->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                       QAbstractItemView::AnyKeyPressed);
    G->setFixedWidth(253 + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * G->frameWidth());
    connect(G, &QTableWidget::itemChanged, this, &ColumnArrangementDialog::GItemChanged);

    LB = new QListWidget(this);
    LB->setObjectName(QStringLiteral("LB"));
    LB->addItems(offeredColumnFields());
    auto* fieldsPanel = new QGroupBox(QStringLiteral(" Adressfelder"), this);
    (new QVBoxLayout(fieldsPanel))->addWidget(LB);

    auto* buttons = new QVBoxLayout;
    QToolButton* hinHin =
        makeSpeedButton(QStringLiteral("BtnHinHin"), QStringLiteral(">>"), QStringLiteral("darunter einfügen"), this);
    QToolButton* hin = makeSpeedButton(QStringLiteral("BtnHin"), QStringLiteral(">"), QStringLiteral("Ersetzen"), this);
    QToolButton* del =
        makeSpeedButton(QStringLiteral("BtnDel"), QStringLiteral("---"), QStringLiteral("Löschen"), this);
    QToolButton* auf = makeSpeedButton(QStringLiteral("BtnAuf"), QString(), QStringLiteral("Eintrag nach oben"), this);
    auf->setArrowType(Qt::UpArrow);
    QToolButton* ab = makeSpeedButton(QStringLiteral("BtnAb"), QString(), QStringLiteral("Eintrag nach unten"), this);
    ab->setArrowType(Qt::DownArrow);
    buttons->addStretch();
    for (QToolButton* button : {hinHin, hin, del})
        buttons->addWidget(button);
    buttons->addSpacing(16);
    buttons->addWidget(auf);
    buttons->addWidget(ab);
    buttons->addStretch();

    auto* sortGroup = new QGroupBox(QStringLiteral("Startsortierung"), this);
    sortGroup->setObjectName(QStringLiteral("GroupBox1"));
    SortBox = new SortHeadingBox(sortGroup);
    SortBox->setObjectName(QStringLiteral("SortBox"));
    SortBox->beforePopup = [this] {
        refreshSortBox();
    };
    Sortcheck = new QCheckBox(QStringLiteral("absteigend"), sortGroup);
    Sortcheck->setObjectName(QStringLiteral("Sortcheck"));
    auto* sortLayout = new QHBoxLayout(sortGroup);
    sortLayout->addWidget(SortBox, 1);
    sortLayout->addWidget(Sortcheck);

    QPushButton* ok = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    ok->setDefault(true);
    QPushButton* abort = makeButton(QStringLiteral("BtnAbort"), QStringLiteral("Abbrechen"), this);
    QPushButton* help = makeButton(QStringLiteral("BtnHelp"), QStringLiteral("Hilfe"), this);
    QPushButton* zeigen = makeButton(QStringLiteral("BtnZeigen"), QStringLiteral("Zeigen"), this);
    auto* right = new QVBoxLayout;
    for (QPushButton* button : {ok, abort, help})
        right->addWidget(button);
    right->addStretch();
    right->addWidget(zeigen);

    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(G, 1);
    gridColumn->addWidget(sortGroup);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(fieldsPanel);
    layout->addLayout(buttons);
    layout->addLayout(gridColumn);
    layout->addLayout(right);
    resize(620, 380);

    connect(hinHin, &QToolButton::clicked, this, [this] { editRowsWithField(&insertColumnBelow); });
    connect(hin, &QToolButton::clicked, this, [this] { editRowsWithField(&replaceColumn); });
    connect(del, &QToolButton::clicked, this, [this] { editRows(&removeColumn); });
    connect(auf, &QToolButton::clicked, this, [this] { editRows(&moveColumnUp); });
    connect(ab, &QToolButton::clicked, this, [this] { editRows(&moveColumnDown); });
    connect(ok, &QPushButton::clicked, this, &ColumnArrangementDialog::BtnOKClick);
    connect(abort, &QPushButton::clicked, this, &ColumnArrangementDialog::BtnAbortClick);
    connect(zeigen, &QPushButton::clicked, this, &ColumnArrangementDialog::BtnZeigenClick);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(QString::fromLatin1(HelpTopic)); });
}

QList<ColumnRow> ColumnArrangementDialog::arrangement() const {
    QList<ColumnRow> rows;
    for (int row = 0; row < G->rowCount(); ++row) {
        auto text = [this, row](int column) {
            const QTableWidgetItem* item = G->item(row, column);
            return item ? item->text() : QString();
        };
        rows.append({text(FieldColumn), text(LabelColumn), text(WidthColumn)});
    }
    return rows;
}

void ColumnArrangementDialog::setRows(const QList<ColumnRow>& rows, int current) {
    const QSignalBlocker blocker(G);
    G->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        G->setItem(row, FieldColumn, new QTableWidgetItem(rows[row].field));
        G->setItem(row, LabelColumn, new QTableWidgetItem(rows[row].label));
        G->setItem(row, WidthColumn, new QTableWidgetItem(rows[row].width));
    }
    if (current >= 0 && current < rows.size())
        G->setCurrentCell(current, std::max(0, G->currentColumn()));
    G->viewport()->update();
}

int ColumnArrangementDialog::currentRow() const {
    return G->currentRow();
}

QString ColumnArrangementDialog::selectedField() const {
    const QListWidgetItem* item = LB->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void ColumnArrangementDialog::loadArrangement() {
    const LoadedArrangement loaded = loadColumnArrangement(Program::instance().paths.columnFile);
    setRows(loaded.rows, 0);
    SortBox->clear();
    SortBox->addItems(columnHeadings(loaded.rows));
    // Before the first client opens there is no "Mand.ini": the defaults show.
    const bool clientOpen = !Program::instance().client.IniFile.isEmpty();
    const ClientSettings settings = Program::instance().clientSettings();
    SortBox->setCurrentIndex(clientOpen ? settings.arrangementSortColumn() : 0);
    Sortcheck->setChecked(clientOpen ? settings.arrangementSortDescending() : true);
    if (!loaded.message.isEmpty())
        showError(loaded.message);
}

bool ColumnArrangementDialog::saveArrangement() {
    QList<ColumnRow> rows = arrangement();
    if (!headingsFitTheColumnFile(rows))
        return false;
    const int sortColumn = std::max(0, SortBox->currentIndex());
    const bool descending = Sortcheck->isChecked();
    const QString error = saveColumnArrangement(Program::instance().paths.columnFile, rows, [&] {
        const ClientSettings settings = Program::instance().clientSettings();
        if (settings.setArrangementSort(sortColumn, descending))
            return QString();
        return QStringLiteral("Die Sortierung konnte nicht in \"%1\" gespeichert werden.\n%2")
            .arg(settings.path(), settings.lastError());
    });
    if (!error.isEmpty())
        showError(error);
    return error.isEmpty();
}

// A heading the column file cannot hold is saved with "?" in its place or edited again.
bool ColumnArrangementDialog::headingsFitTheColumnFile(QList<ColumnRow>& rows) {
    QStringList headings;
    for (const ColumnRow& row : std::as_const(rows))
        headings << row.label;
    const QString characters = unrepresentableCharactersOf(headings);
    if (characters.isEmpty())
        return true;
    const QString question =
        unrepresentableTextQuestion({QStringLiteral("Eine Spaltenbezeichnung"),
                                     QStringLiteral("in der Spaltenanordnung"), QStringLiteral("die Bezeichnung")},
                                    characters);
    if (Interaction::instance().askYesNo(question, ApplicationName.toString()) != Answer::Yes)
        return false;
    for (ColumnRow& row : rows)
        row.label = withUnrepresentableReplaced(row.label);
    setRows(rows, currentRow());
    return true;
}

void ColumnArrangementDialog::showEvent(QShowEvent* event) {
    shown_ = false;
    loadArrangement();
    QDialog::showEvent(event);
}

void ColumnArrangementDialog::editRows(int (*step)(QList<ColumnRow>&, int)) {
    QList<ColumnRow> rows = arrangement();
    const int current = step(rows, currentRow());
    setRows(rows, current);
    refreshSortBox();
}

void ColumnArrangementDialog::editRowsWithField(int (*step)(QList<ColumnRow>&, int, const QString&)) {
    const QString field = selectedField();
    if (!field.isEmpty()) {
        QList<ColumnRow> rows = arrangement();
        const int current = step(rows, currentRow(), field);
        setRows(rows, current);
    }
    refreshSortBox();
}

void ColumnArrangementDialog::refreshSortBox() {
    const QStringList headings = columnHeadings(arrangement());
    const SortBoxChoice choice = refreshedSortChoice(SortBox->currentText(), headings);
    SortBox->clear();
    SortBox->addItems(headings);
    SortBox->setCurrentIndex(choice.index);
    if (choice.sortColumnReset)
        emit sortColumnReset();
}

void ColumnArrangementDialog::GItemChanged(QTableWidgetItem* item) {
    if (item->column() != WidthColumn)
        return;
    const QString finished = finishedWidthText(item->text());
    if (finished != item->text())
        item->setText(finished);
}

void ColumnArrangementDialog::BtnOKClick() {
    if (!saveArrangement())
        return;
    emit rebuildRequested();
    accept();
}

void ColumnArrangementDialog::BtnZeigenClick() {
    shown_ = true;
    emit rebuildRequested();
}

// The edits are dropped, and a list that showed them shows the saved arrangement again.
void ColumnArrangementDialog::BtnAbortClick() {
    loadArrangement();
    if (shown_)
        emit rebuildRequested();
    QDialog::reject();
}

void ColumnArrangementDialog::reject() {
    BtnAbortClick();
}

} // namespace zep
