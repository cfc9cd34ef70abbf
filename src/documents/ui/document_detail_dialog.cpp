#include "documents/ui/document_detail_dialog.h"

#include "app/clock.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/ui/help_window.h"
#include "app/ui/named_controls.h"
#include "controls/ui/db_check_box.h"
#include "controls/ui/db_combo_box.h"
#include "controls/ui/db_edit.h"
#include "controls/ui/db_lookup_combo_box.h"
#include "controls/ui/icon_list_painter.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "documents/document_path.h"
#include "documents/ui/document_controls.h"
#include "mainwin/resubmission.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int FreeFieldCount = 6;

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

DBEdit* edit(TDM& dm, const QString& name, const QString& field, QWidget* parent) {
    auto* box = new DBEdit(&dm.DDok, field, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

DocumentDetailDialog::DocumentDetailDialog(TDM& dm, ListStep listStep, QWidget* parent)
    : QDialog(parent), dm_(dm), listStep_(std::move(listStep)) {
    setObjectName(QStringLiteral("TA02"));
    setWindowTitle(QStringLiteral("Dokument-Detail"));
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PC"));
    pages->addTab(buildResubmissionPage(), QStringLiteral("Wiedervorlage"));
    pages->addTab(buildFieldsPage(), QStringLiteral("Weitere Felder"));
    pages->addTab(buildFileInfoPage(), QStringLiteral("Datei Info"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildUpperPanel());
    layout->addWidget(pages, 1);
    setMinimumWidth(560);
}

QWidget* DocumentDetailDialog::buildUpperPanel() {
    auto* panel = new QWidget(this);
    I1 = new QLabel(panel);
    I1->setObjectName(QStringLiteral("I1"));
    I1->setFixedSize(TIconListPainter::largeSize, TIconListPainter::largeSize);
    auto* art = new DBComboBox(&dm_.DDok, QStringLiteral("Art"), panel);
    art->setObjectName(QStringLiteral("DBComboBox1"));
    auto* author = new DBComboBox(&dm_.DDok, QStringLiteral("Autor"), panel);
    author->setObjectName(QStringLiteral("DBComboBox2"));
    auto* open = inWorkCheckBox(&dm_.DDok, panel);
    auto* form = new QFormLayout;
    addFilingRows(*form, edit(dm_, QStringLiteral("DBEdit1"), QStringLiteral("Titel"), panel), art,
                  addressLookup(dm_, QStringLiteral("DBLookupComboBox1"), panel),
                  topicLookup(dm_, QStringLiteral("DBLookupComboBox2"), panel), author, open);

    auto* previous =
        makeSpeedButton(QStringLiteral("BtnPri"), QStringLiteral("<"), QStringLiteral("Vorheriger Datensatz"), panel);
    auto* next =
        makeSpeedButton(QStringLiteral("BtnNext"), QStringLiteral(">"), QStringLiteral("Nächster Datensatz"), panel);
    auto* ok = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), panel);
    ok->setDefault(true);
    auto* abort = makeButton(QStringLiteral("BtnAbbruch"), QStringLiteral("Abbrechen"), panel);
    auto* help = makeButton(QStringLiteral("BtnHelp"), QStringLiteral("Hilfe"), panel);
    auto* steps = new QHBoxLayout;
    steps->addWidget(previous);
    steps->addWidget(next);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(I1, 0, Qt::AlignHCenter);
    buttons->addLayout(steps);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(abort);
    buttons->addWidget(help);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);
    connect(previous, &QToolButton::clicked, this, [this] { step(-1); });
    connect(next, &QToolButton::clicked, this, [this] { step(1); });
    connect(ok, &QPushButton::clicked, this, &DocumentDetailDialog::BtnOKClick);
    connect(abort, &QPushButton::clicked, this, &DocumentDetailDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(QStringLiteral("dok100"), this); });
    return panel;
}

QWidget* DocumentDetailDialog::buildResubmissionPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PC1"));
    RBTag = makeRadioButton(QStringLiteral("RBTag"), QStringLiteral("täglich"), page);
    RBWoche = makeRadioButton(QStringLiteral("RBWoche"), QStringLiteral("wöchentlich"), page);
    RBMonat = makeRadioButton(QStringLiteral("RBMonat"), QStringLiteral("monatlich"), page);
    RBDatum = makeRadioButton(QStringLiteral("RBDatum"), QStringLiteral("Datum"), page);
    RBkeine = makeRadioButton(QStringLiteral("RBkeine"), QStringLiteral("keine Wiedervorlage"), page);
    auto* dates = new QWidget(page);
    dates->setObjectName(QStringLiteral("PnlDatum"));
    RBDatumMorgen = makeRadioButton(QStringLiteral("RBDatumMorgen"), QStringLiteral("morgen"), dates);
    RBDatumWoche = makeRadioButton(QStringLiteral("RBDatumWoche"), QStringLiteral("in einer Woche"), dates);
    Kalender = new QDateEdit(dates);
    Kalender->setObjectName(QStringLiteral("Kalender"));
    Kalender->setCalendarPopup(true);
    Kalender->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    auto* dateLayout = new QVBoxLayout(dates);
    dateLayout->addWidget(Kalender);
    dateLayout->addWidget(RBDatumMorgen);
    dateLayout->addWidget(RBDatumWoche);
    auto* grid = new QGridLayout(page);
    grid->addWidget(RBTag, 0, 0);
    grid->addWidget(RBWoche, 1, 0);
    grid->addWidget(RBMonat, 2, 0);
    grid->addWidget(RBDatum, 0, 1);
    grid->addWidget(dates, 1, 1, 3, 1);
    grid->addWidget(RBkeine, 4, 0);
    grid->setRowStretch(5, 1);
    const std::pair<QRadioButton*, const char*> rules[] = {{RBTag, "T"},    {RBWoche, "W"},        {RBMonat, "M"},
                                                           {RBDatum, "DK"}, {RBDatumMorgen, "DM"}, {RBDatumWoche, "DW"},
                                                           {RBkeine, "K"}};
    for (const auto& [button, code] : rules)
        connect(button, &QRadioButton::clicked, this, [this, code = QString::fromLatin1(code)] { setRule(code); });
    connect(Kalender, &QDateEdit::dateChanged, this, [this] { setRule(QStringLiteral("DK")); });
    return page;
}

QWidget* DocumentDetailDialog::buildFieldsPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PC2"));
    auto* form = new QFormLayout(page);
    for (int i = 1; i <= FreeFieldCount; ++i) {
        auto* label = new QLabel(page);
        label->setObjectName(QStringLiteral("Feld%1").arg(i));
        form->addRow(label, edit(dm_, QStringLiteral("DBEdit%1").arg(i + 3), QStringLiteral("Feld%1").arg(i), page));
    }
    return page;
}

QWidget* DocumentDetailDialog::buildFileInfoPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("PC3"));
    auto* form = new QFormLayout(page);
    for (const auto& [name, field, caption] :
         {std::tuple{QStringLiteral("DBEdit2"), QStringLiteral("Datei"), QStringLiteral("Datei:")},
          std::tuple{QStringLiteral("DBEdit10"), QStringLiteral("EDatum"), QStringLiteral("erstellt am:")}}) {
        DBEdit* box = edit(dm_, name, field, page);
        box->setBackgroundRole(QPalette::Button);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        box->setPalette(palette);
        form->addRow(caption, box);
    }
    return page;
}

void DocumentDetailDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const ClientSettings settings = Program::instance().clientSettings();
    for (int i = 1; i <= FreeFieldCount; ++i)
        findChild<QLabel*>(QStringLiteral("Feld%1").arg(i))->setText(settings.documentFieldCaption(i));
    fillDocumentPickLists(*findChild<DBComboBox*>(QStringLiteral("DBComboBox1")),
                          *findChild<DBComboBox*>(QStringLiteral("DBComboBox2")));
    showIcon();
    loadResubmission();
}

void DocumentDetailDialog::showIcon() {
    Table& dok = dm_.TDok;
    const QString path = ResolveDocumentPath(dok.field(u"Datei").asString(), Program::instance().client.FilesDir).path;
    TIconListPainter painter(dm_.IList);
    I1->setPixmap(painter.FileIcon(path, dok.field(u"Ext").asString()));
}

// The program ticks the buttons here; only the user's clicks set a rule.
void DocumentDetailDialog::loadResubmission() {
    loading_ = true;
    const QString type = dm_.TDok.field(u"WTyp").asString().left(1);
    RBTag->setChecked(type == u"T");
    RBWoche->setChecked(type == u"W");
    RBMonat->setChecked(type == u"M");
    RBDatum->setChecked(type == u"D");
    RBkeine->setChecked(type.isEmpty());
    clearDateShortcuts();
    Kalender->setDate(RBDatum->isChecked() ? dm_.TDok.field(u"WDatum").asDate() : Clock::today());
    followDateChoice();
    loading_ = false;
}

// "morgen" and "in einer Woche" share their own exclusive group: both are unticked by leaving it.
void DocumentDetailDialog::clearDateShortcuts() {
    for (QRadioButton* button : {RBDatumMorgen, RBDatumWoche}) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void DocumentDetailDialog::followDateChoice() {
    const bool byDate = RBDatum->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{Kalender, RBDatumMorgen, RBDatumWoche})
        control->setEnabled(byDate);
}

void DocumentDetailDialog::setRule(const QString& code) {
    if (loading_)
        return;
    if (code == u"DK" && sender() == RBDatum)
        clearDateShortcuts();
    try {
        setResubmissionRule(dm_.TDok, code, Clock::today(), Kalender->date());
    } catch (const EngineError& error) {
        showError(error.message());
    }
    followDateChoice();
}

// A refused post is shown and keeps the dialog on this document.
bool DocumentDetailDialog::postPending() {
    if (!dm_.TDok.isEditing())
        return true;
    try {
        dm_.TDok.post();
    } catch (const EngineError& error) {
        showError(error.message());
        return false;
    }
    return true;
}

void DocumentDetailDialog::step(int delta) {
    if (!postPending())
        return;
    if (listStep_)
        listStep_(delta);
    showIcon();
    loadResubmission();
}

void DocumentDetailDialog::BtnOKClick() {
    if (postPending())
        accept();
}

// Abort and the close box discard what was not posted, so a refused post never blocks closing.
void DocumentDetailDialog::reject() {
    if (dm_.TDok.isEditing())
        dm_.TDok.cancel();
    QDialog::reject();
}

} // namespace zep
