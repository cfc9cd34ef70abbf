#include "addresses/ui/address_templates_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"
#include "controls/ui/db_grid3.h"
#include "data/catalog_file.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/tdm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int kFieldCatalog = 30;
constexpr int kNr = 0;
constexpr int kName = 1;
constexpr int kText = 2;

void showError(const QString& text) {
    Interaction::instance().error(text, ApplicationName.toString());
}

// The memo keeps its lines with CR LF after each, the last one included.
QString storedText(const QString& memo) {
    QStringList lines = memo.split(u'\n');
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString memoText(const QString& stored) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = stored.split(lineBreak);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

} // namespace

NewAddressTemplateDialog::NewAddressTemplateDialog(TDM& dm, QWidget* parent) : QDialog(parent), dm_(dm) {
    setObjectName(QStringLiteral("TAdrVorNeu"));
    setWindowTitle(QStringLiteral("Neue Adressvorlage"));
    Edit1 = makeEdit(QStringLiteral("Edit1"), this);
    Edit1->setMaxLength(30);
    auto* ok = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* abort = makeButton(QStringLiteral("BtnAbbruch"), QStringLiteral("Abbruch"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Vorlagenname"), this));
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &NewAddressTemplateDialog::BtnOKClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
}

// A refused post is taken back: no half-made template stays in the table.
void NewAddressTemplateDialog::BtnOKClick() {
    if (Edit1->text().isEmpty()) {
        Interaction::instance().information(QStringLiteral("Geben Sie einen Namen ein !"), ApplicationName.toString());
        return;
    }
    Table& templates = dm_.TAdrVor;
    try {
        templates.append();
        templates.field(kName).setValue(Edit1->text());
        templates.post();
    } catch (const EngineError& error) {
        if (templates.isEditing())
            templates.cancel();
        showError(error.message());
        return;
    }
    accept();
}

AddressTemplatesDialog::AddressTemplatesDialog(TDM& dm, const QString& generalDir, std::function<int()> currentTemplate,
                                               std::function<void(int)> setCurrentTemplate, QWidget* parent)
    : QDialog(parent), dm_(dm), generalDir_(generalDir), currentTemplate_(std::move(currentTemplate)),
      setCurrentTemplate_(std::move(setCurrentTemplate)) {
    setObjectName(QStringLiteral("TAdrVor"));
    setWindowTitle(QStringLiteral("Adressvorlagen"));
    buildControls();
    connect(&dm_.DSAdrVor, &DataSource::dataChanged, this, &AddressTemplatesDialog::DSDataChange);
}

void AddressTemplatesDialog::buildControls() {
    DBGrid1 = new TDBGrid3(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(&dm_.DSAdrVor);
    MB = new QPlainTextEdit(this);
    MB->setObjectName(QStringLiteral("MB"));
    LB = new QListWidget(this);
    LB->setObjectName(QStringLiteral("LB"));
    auto* addField = makeButton(QStringLiteral("BtnAddField"), QStringLiteral("<"), this);
    addField->setFixedWidth(32);
    LblAktuell = new QLabel(this);
    LblAktuell->setObjectName(QStringLiteral("LblAktuell"));
    QFont bold = LblAktuell->font();
    bold.setBold(true);
    LblAktuell->setFont(bold);
    auto* current = makeButton(QStringLiteral("BtnAktuell"), QStringLiteral("Aktuell"), this);
    auto* add = makeButton(QStringLiteral("BtnNeu"), QStringLiteral("Neu"), this);
    auto* remove = makeButton(QStringLiteral("BtnDel"), QStringLiteral("Löschen"), this);
    auto* help = makeButton(QStringLiteral("BtnHelp"), QStringLiteral("Hilfe"), this);
    auto* close = makeButton(QStringLiteral("BtnOK"), QStringLiteral("Schließen"), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Adressvorlagen"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Format"), this), 0, 1);
    grid->addWidget(DBGrid1, 1, 0);
    grid->addWidget(MB, 1, 1);
    auto* fieldColumn = new QVBoxLayout;
    fieldColumn->addWidget(addField);
    fieldColumn->addStretch(1);
    grid->addLayout(fieldColumn, 1, 2);
    grid->addWidget(LB, 1, 3);
    auto* currentRow = new QHBoxLayout;
    auto* currentLabel = new QLabel(QStringLiteral("Aktuell"), this);
    currentLabel->setObjectName(QStringLiteral("Label1"));
    currentRow->addWidget(currentLabel);
    currentRow->addWidget(LblAktuell, 1);
    grid->addLayout(currentRow, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {current, add, remove})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(help);
    buttons->addWidget(close);
    grid->addLayout(buttons, 3, 0, 1, 4);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    resize(720, 380);

    const auto thenMemo = [this](auto handler) {
        return [this, handler] {
            (this->*handler)();
            MB->setFocus();
        };
    };
    connect(addField, &QPushButton::clicked, this, thenMemo(&AddressTemplatesDialog::BtnAddFieldClick));
    connect(current, &QPushButton::clicked, this, thenMemo(&AddressTemplatesDialog::BtnAktuellClick));
    connect(add, &QPushButton::clicked, this, thenMemo(&AddressTemplatesDialog::BtnNeuClick));
    connect(remove, &QPushButton::clicked, this, thenMemo(&AddressTemplatesDialog::BtnDelClick));
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(QString::fromLatin1(HelpTopic)); });
    connect(LB, &QListWidget::itemClicked, this, [this] { MB->setFocus(); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void AddressTemplatesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void AddressTemplatesDialog::FormShow() {
    Table& templates = dm_.TAdrVor;
    if (templates.locate(u"Nr", currentTemplate_()))
        LblAktuell->setText(templates.field(kName).asString());
    DSDataChange();
    QStringList names;
    try {
        LoadCatalog(names, kFieldCatalog, generalDir_);
    } catch (const FileError& error) {
        showError(error.message());
    }
    LB->clear();
    LB->addItems(names);
    LB->setCurrentRow(names.isEmpty() ? -1 : 0);
    MB->setFocus();
}

// A failure to load a template leaves the memo as it was.
void AddressTemplatesDialog::DSDataChange() {
    Table& templates = dm_.TAdrVor;
    if (saving_ || templates.state() != DataSetState::Browse)
        return;
    saveMemo();
    try {
        shownNumber_ = templates.isEmpty() ? 0 : int(templates.field(kNr).asInteger());
        MB->setPlainText(templates.isEmpty() ? QString() : memoText(templates.field(kText).asString()));
        MB->document()->setModified(false);
    } catch (const EngineError&) {
    }
}

// The edited text belongs to the template it was loaded from, wherever the grid stands now.
void AddressTemplatesDialog::saveMemo() {
    if (shownNumber_ <= 0 || !MB->document()->isModified())
        return;
    Table& templates = dm_.TAdrVor;
    const QScopedValueRollback<bool> guard(saving_, true);
    const QVariant current = templates.isEmpty() ? QVariant() : templates.field(kNr).value();
    templates.disableControls();
    try {
        if (templates.locate(u"Nr", shownNumber_)) {
            templates.edit();
            templates.field(kText).setValue(storedText(MB->toPlainText()));
            templates.post();
            MB->document()->setModified(false);
        }
    } catch (const EngineError& error) {
        if (templates.isEditing())
            templates.cancel();
        showError(error.message());
    }
    if (current.isValid())
        templates.locate(u"Nr", current);
    templates.enableControls();
}

void AddressTemplatesDialog::BtnAddFieldClick() {
    if (LB->currentItem() == nullptr)
        return;
    MB->textCursor().insertText(u'[' + LB->currentItem()->text() + QStringLiteral("] "));
}

int AddressTemplatesDialog::selectedNumber() {
    Table& templates = dm_.TAdrVor;
    return templates.isEmpty() ? 0 : int(templates.field(kNr).asInteger());
}

void AddressTemplatesDialog::BtnAktuellClick() {
    setCurrentTemplate_(selectedNumber());
    showCurrentName();
}

void AddressTemplatesDialog::showCurrentName() {
    Table& templates = dm_.TAdrVor;
    LblAktuell->setText(templates.isEmpty() ? QString() : templates.field(kName).asString());
}

void AddressTemplatesDialog::BtnNeuClick() {
    NewAddressTemplateDialog dialog(dm_, this);
    dialog.exec();
}

void AddressTemplatesDialog::BtnDelClick() {
    Table& templates = dm_.TAdrVor;
    if (templates.isEmpty())
        return;
    if (Interaction::instance().askYesNo(QStringLiteral("Vorlage wirklich löschen ?"), ApplicationName.toString()) !=
        Answer::Yes)
        return;
    try {
        templates.deleteRecord();
    } catch (const EngineError& error) {
        showError(error.message());
    }
}

void AddressTemplatesDialog::done(int result) {
    if (!FormCloseQuery())
        return;
    QDialog::done(result);
}

// A current number without its template is repaired here: Yes lets the user pick one, No takes the
// selected one.
bool AddressTemplatesDialog::FormCloseQuery() {
    saveMemo();
    Table& templates = dm_.TAdrVor;
    const QVariant selected = templates.isEmpty() ? QVariant() : templates.field(kNr).value();
    if (templates.locate(u"Nr", currentTemplate_()))
        return true;
    const Answer answer = Interaction::instance().askYesNo(
        QStringLiteral("Die aktuelle Adressvorlage ist nicht vorhanden\rWollen Sie die aktuelle Adressvorlage jetzt "
                       "setzen?"),
        ApplicationName.toString(), QuestionLook::Warning);
    if (answer == Answer::Yes)
        return false;
    if (selected.isValid())
        templates.locate(u"Nr", selected);
    BtnAktuellClick();
    return true;
}

} // namespace zep
