#include "addresses/ui/address_form.h"
#include "addresses/ui/entry_navigation.h"
#include "addresses/ui/entry_record_editor.h"
#include "addresses/ui/entry_toolbar.h"

#include "addresses/ui/address_delete.h"
#include "addresses/ui/address_links.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/ui/modeless_run.h"
#include "controls/ui/db_check_box.h"
#include "controls/ui/db_combo_box.h"
#include "controls/ui/db_edit.h"
#include "controls/ui/db_memo.h"
#include "controls/ui/tree_view2.h"
#include "data/catalog_file.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/tdm.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_nodes.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace zep {

namespace {

const QString DialHint = QStringLiteral("Wählen");

// Salutation boxes: name, field, label and the catalog that fills the list.
struct SalutationBox {
    const char16_t* name;
    const char16_t* field;
    const char16_t* label;
    int catalog;
};
const SalutationBox SalutationBoxes[] = {
    {u"DBSerieBox1", u"AnredeBrief", u"Anrede Briefkopf", 10},
    {u"DBSerieBox2", u"Anrede", u"Anrede", 11},
    {u"DBSerieBox3", u"Herr_Frau", u"Herr / Frau / ...", 12},
    {u"DBSerieBox4", u"Grusswort", u"Grusswort", 13},
};

// Free fields: edit, field; the label FeldN belongs to the Nth row.
const std::pair<const char16_t*, const char16_t*> FreeFields[] = {
    {u"DBEdit5", u"Feld1"},  {u"DBEdit4", u"Feld2"},  {u"DBEdit3", u"Feld3"},   {u"DBEdit2", u"Feld4"},
    {u"DBEdit1", u"Feld5"},  {u"DBEdit6", u"Feld6"},  {u"DBEdit14", u"Datum1"}, {u"DBEdit15", u"Datum2"},
    {u"DBEdit16", u"Zahl1"}, {u"DBEdit17", u"Zahl2"},
};

// Name labels: company caption, person caption.
const std::pair<const char16_t*, const char16_t*> NameLabels[] = {
    {u"Firmenname", u"Nachname"},
    {u"Firmenname", u"Vorname"},
    {u"Firmenname", u"Anrede"},
};

QToolButton* dialButton(const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(DialHint);
    button->setIcon(parent->style()->standardIcon(QStyle::SP_MediaPlay));
    return button;
}

QString nameLabelName(int row) {
    return QStringLiteral("Label_A_%1").arg(row);
}

} // namespace

void EditAddress(MainWindow& window, bool edit) {
    const MainWindowDisabled disabled(window);
    AddressForm form(window, edit);
    runUntilHidden(form, &window);
}

AddressForm::AddressForm(MainWindow& window, bool edit, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), window_(window), dm_(window.dataModule()),
      table_(dm_.TAdr), tree_(window.addressTree()), edit_(edit),
      editor_(table_, tree_, addressEntryCaption, addressCaptionFields, Program::instance().client.AdrTreeFile,
              {{QStringLiteral("Person"), false}}) {
    setObjectName(QStringLiteral("TB01"));
    setWindowTitle(QStringLiteral("Adressen Detail"));
    buildControls();
    // The name labels follow the record and its Person flag.
    connect(&dm_.DAdr, &DataSource::dataChanged, this, &AddressForm::updateNameLabels);
    connect(&dm_.DAdr, &DataSource::fieldChanged, this, &AddressForm::updateNameLabels);
    updateNameLabels();
}

AddressForm::~AddressForm() {
    dm_.setAddressForm(nullptr);
    // Never leave the address table in edit state behind a form that is gone.
    if (table_.isEditing())
        table_.cancel();
}

void AddressForm::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildToolBar());
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(buildNamePanel());
    panelLayout->addWidget(buildPages());
    auto* notes = new QGroupBox(QStringLiteral("Anmerkung"), panel);
    auto* notesLayout = new QVBoxLayout(notes);
    auto* memo = new DBMemo(&dm_.DAdr, QStringLiteral("Notice"), notes);
    memo->setObjectName(QStringLiteral("A_15"));
    memo->setMaximumHeight(90);
    notesLayout->addWidget(memo);
    panelLayout->addWidget(notes);
    layout->addWidget(panel);
    resize(600, 560);
}

QWidget* AddressForm::buildToolBar() {
    return buildEntryToolBar(
        this, QStringLiteral("Neue Adresse"), QStringLiteral("Adresse löschen"),
        [this](QObject* button) { BtnNeuClick(button); }, [this](QObject* button) { BtnNav1Click(button); });
}

DBEdit* AddressForm::addEdit(const QString& name, const QString& field) {
    auto* edit = new DBEdit(&dm_.DAdr, field, this);
    edit->setObjectName(name);
    return edit;
}

QLabel* AddressForm::addLabel(const QString& name, const QString& caption) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    return label;
}

QWidget* AddressForm::buildNamePanel() {
    auto* group = new QGroupBox(QStringLiteral("Firma / Name"), this);
    auto* grid = new QGridLayout(group);
    for (int row = 1; row <= 3; ++row) {
        grid->addWidget(addLabel(nameLabelName(row), QString::fromUtf16(NameLabels[row - 1].first)), row - 1, 0);
        grid->addWidget(addEdit(QStringLiteral("A_%1").arg(row), QStringLiteral("Name%1").arg(row)), row - 1, 1);
    }
    auto* person = new DBCheckBox(QStringLiteral("Person"), group);
    person->setObjectName(QStringLiteral("DBCheckBox1"));
    person->setDataField(QStringLiteral("Person"));
    person->setDataSource(&dm_.DAdr);
    auto* mainEntry = new DBCheckBox(QStringLiteral("Haupteintrag"), group);
    mainEntry->setObjectName(QStringLiteral("DBCheckBox2"));
    mainEntry->setValues(1, -1);
    mainEntry->setDataField(QStringLiteral("Baum"));
    mainEntry->setDataSource(&dm_.DAdr);
    grid->addWidget(person, 0, 2);
    grid->addWidget(mainEntry, 1, 2);
    return group;
}

QWidget* AddressForm::buildPages() {
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->addTab(buildCommunicationPage(), QStringLiteral("Kommunikation"));
    pages->addTab(buildAddressPage(), QStringLiteral("Adresse"));
    pages->addTab(buildLetterPage(), QStringLiteral("Serienbrief"));
    pages->addTab(buildBankPage(), QStringLiteral("Bankverbindung"));
    pages->addTab(buildFreeFieldsPage(), QStringLiteral("Weitere Felder"));
    pages->setCurrentIndex(0);
    return pages;
}

QWidget* AddressForm::buildCommunicationPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabKommunikation"));
    auto* grid = new QGridLayout(page);
    for (int i = 1; i <= 6; ++i) {
        const int row = (i - 1) % 3;
        const int column = (i - 1) / 3 * 3;
        grid->addWidget(addLabel(QStringLiteral("L_Tel%1").arg(i), QStringLiteral("Tel %1").arg(i)), row, column);
        grid->addWidget(addEdit(QStringLiteral("E_Ring%1").arg(i), QStringLiteral("Tel%1").arg(i)), row, column + 1);
        QToolButton* ring = dialButton(QStringLiteral("BtnRing%1").arg(i), page);
        connect(ring, &QToolButton::clicked, this, [this, ring] { BtnRing1Click(ring); });
        grid->addWidget(ring, row, column + 2);
    }
    const std::tuple<const char16_t*, const char16_t*, const char16_t*, const char16_t*> rows[] = {
        {u"L_Fax1", u"Fax 1", u"A_13", u"Fax"},
        {u"L_Fax2", u"Fax 2", u"DBEdit9", u"Fax2"},
        {u"L_Mail1", u"E-Mail 1", u"A_14", u"Mail"},
        {u"L_Mail2", u"E-Mail 2", u"DBEdit11", u"Mail2"},
        {u"L_Internet1", u"Internet 1", u"DBEdit12", u"Internet1"},
        {u"L_Internet2", u"Internet 2", u"DBEdit13", u"Internet2"},
    };
    int row = 3;
    for (const auto& [labelName, caption, editName, field] : rows) {
        grid->addWidget(addLabel(QString::fromUtf16(labelName), QString::fromUtf16(caption)), row, 0);
        grid->addWidget(addEdit(QString::fromUtf16(editName), QString::fromUtf16(field)), row, 1, 1, 4);
        ++row;
    }
    for (int i = 1; i <= 2; ++i) {
        QToolButton* button = dialButton(QStringLiteral("BtnInternet%1").arg(i), page);
        connect(button, &QToolButton::clicked, this, [this, button] { BtnInternet1Click(button); });
        grid->addWidget(button, 6 + i, 5);
    }
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* AddressForm::buildAddressPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabAdresse"));
    auto* grid = new QGridLayout(page);
    grid->addWidget(addLabel(QStringLiteral("L_Land"), QStringLiteral("Land")), 0, 0);
    grid->addWidget(addEdit(QStringLiteral("A_4"), QStringLiteral("Land")), 0, 1, 1, 2);
    grid->addWidget(addLabel(QStringLiteral("L_Strasse"), QStringLiteral("Straße")), 1, 0);
    grid->addWidget(addEdit(QStringLiteral("A_7"), QStringLiteral("Strasse")), 1, 1, 1, 2);
    grid->addWidget(addLabel(QStringLiteral("L_PLZ"), QStringLiteral("PLZ")), 2, 0);
    grid->addWidget(addEdit(QStringLiteral("A_5"), QStringLiteral("PLZ1")), 2, 1);
    grid->addWidget(addLabel(QStringLiteral("L_Ort"), QStringLiteral("Ort")), 3, 0);
    grid->addWidget(addEdit(QStringLiteral("A_6"), QStringLiteral("Ort")), 3, 1, 1, 2);
    grid->addWidget(addLabel(QStringLiteral("L_PF"), QStringLiteral("PLZ / PF")), 4, 0);
    grid->addWidget(addEdit(QStringLiteral("A_8"), QStringLiteral("PLZ2")), 4, 1);
    grid->addWidget(addEdit(QStringLiteral("A_9"), QStringLiteral("PF")), 4, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);
    return page;
}

QWidget* AddressForm::buildLetterPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSerienbrief"));
    auto* grid = new QGridLayout(page);
    int row = 0;
    for (const SalutationBox& entry : SalutationBoxes) {
        auto* box = new DBComboBox(&dm_.DAdr, QString::fromUtf16(entry.field), page);
        box->setObjectName(QString::fromUtf16(entry.name));
        box->setProperty("tag", entry.catalog);
        grid->addWidget(addLabel(QStringLiteral("L_") + box->objectName(), QString::fromUtf16(entry.label)), row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* AddressForm::buildBankPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabBank"));
    auto* grid = new QGridLayout(page);
    const std::tuple<const char16_t*, const char16_t*, const char16_t*> rows[] = {
        {u"BLZ", u"B_1", u"BBLZ"}, {u"Bankname", u"B_2", u"BBank"}, {u"Konto", u"B_3", u"BKonto"}};
    int row = 0;
    for (const auto& [caption, editName, field] : rows) {
        grid->addWidget(addLabel(QStringLiteral("L_") + QString::fromUtf16(editName), QString::fromUtf16(caption)), row,
                        0);
        grid->addWidget(addEdit(QString::fromUtf16(editName), QString::fromUtf16(field)), row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);
    return page;
}

QWidget* AddressForm::buildFreeFieldsPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabWeitere"));
    auto* grid = new QGridLayout(page);
    int row = 0;
    for (const auto& [editName, field] : FreeFields) {
        const QString labelName = QStringLiteral("Feld%1").arg(row + 1);
        grid->addWidget(addLabel(labelName, labelName), row % 5, row / 5 * 2);
        grid->addWidget(addEdit(QString::fromUtf16(editName), QString::fromUtf16(field)), row % 5, row / 5 * 2 + 1);
        ++row;
    }
    grid->setRowStretch(5, 1);
    return page;
}

void AddressForm::setControlEnabled(const QString& objectName, bool enabled) {
    if (auto* control = findChild<QWidget*>(objectName))
        control->setEnabled(enabled);
}

void AddressForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void AddressForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimising hides the window too (a spontaneous hide while it stays visible): the form goes on.
    if (event->spontaneous() && isVisible())
        return;
    dm_.setAddressForm(nullptr);
    emit hidden();
}

void AddressForm::closeEvent(QCloseEvent* event) {
    // A record that cannot be posted keeps the form open rather than leaving the table in edit state.
    if (table_.isEditing() && !save()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void AddressForm::FormShow() {
    dm_.setAddressForm(this);
    setFreeFieldLabels();
    fillSalutationBoxes();
    if (!edit_)
        newRecord();
}

void AddressForm::setFreeFieldLabels() {
    const ClientSettings settings = Program::instance().clientSettings();
    for (int i = 1; i <= 10; ++i) {
        const QString caption = settings.addressFieldCaption(i);
        if (auto* label = findChild<QLabel*>(QStringLiteral("Feld%1").arg(i)))
            label->setText(caption);
        // A date or number the field cannot take is reported under the caption the user sees.
        if (auto* edit = findChild<DBEdit*>(QString::fromUtf16(FreeFields[i - 1].first)))
            edit->dataLink().setCaption(caption);
    }
}

void AddressForm::fillSalutationBoxes() {
    const QString general = Program::instance().paths.general;
    for (const SalutationBox& entry : SalutationBoxes)
        fillPickListFromCatalog(*findChild<DBComboBox*>(QString::fromUtf16(entry.name)), entry.catalog, general);
}

void AddressForm::updateNameLabels() {
    const bool person =
        table_.isActive() && (table_.isEditing() || !table_.isEmpty()) && table_.field(u"Person").asBoolean();
    for (int row = 1; row <= 3; ++row) {
        const auto& [company, personCaption] = NameLabels[row - 1];
        if (auto* label = findChild<QLabel*>(nameLabelName(row)))
            label->setText(QString::fromUtf16(person ? personCaption : company));
    }
}

void AddressForm::BtnNeuClick(QObject* sender) {
    runEntryCommand(sender,
                    {[this] { newRecord(); }, [this] { save(); }, [this] { cancel(); }, [this] { deleteEntry(); },
                     [this] {
                         close();
                     }});
}

void AddressForm::newRecord() {
    if (!editor_.beginNew())
        return;
    setControlEnabled(QStringLiteral("Panel1"), true);
    if (auto* first = findChild<QLineEdit*>(QStringLiteral("A_1")))
        first->setFocus();
}

bool AddressForm::save() {
    return editor_.save();
}

void AddressForm::cancel() {
    editor_.cancel();
}

void AddressForm::deleteEntry() {
    DeleteTreeEntry(window_);
    editor_.settle();
}

void AddressForm::BtnNav1Click(QObject* sender) {
    navigateEntryTree(tree_, sender->objectName());
}

void AddressForm::BtnRing1Click(QObject* sender) {
    const QString number = sender->objectName().mid(QStringLiteral("BtnRing").size());
    const auto* edit = findChild<QLineEdit*>(QStringLiteral("E_Ring") + number);
    if (!edit || edit->text().isEmpty())
        return;
    const auto* name = findChild<QLineEdit*>(QStringLiteral("A_1"));
    DialNumber(edit->text(), name ? name->text() : QString());
}

void AddressForm::BtnInternet1Click(QObject* sender) {
    const bool second = sender->objectName() == QStringLiteral("BtnInternet2");
    const auto* edit = findChild<QLineEdit*>(second ? QStringLiteral("DBEdit13") : QStringLiteral("DBEdit12"));
    OpenWebPage(edit ? edit->text() : QString());
}

void AddressForm::showError(const QString& message) const {
    Interaction::instance().error(message, ApplicationName.toString());
}

} // namespace zep
