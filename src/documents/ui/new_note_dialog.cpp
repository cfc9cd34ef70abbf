#include "documents/ui/new_note_dialog.h"

#include "app/clock.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/ui/help_window.h"
#include "app/ui/named_controls.h"
#include "controls/ui/db_check_box.h"
#include "controls/ui/db_combo_box.h"
#include "controls/ui/db_lookup_combo_box.h"
#include "controls/ui/icon_list_painter.h"
#include "data/catalog_file.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/tdm.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int ArtCatalog = 1;
constexpr int AuthorCatalog = 4;

void showError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

} // namespace

NewNoteDialog::NewNoteDialog(TDM& dm, QString linkField, qint64 entryNumber, QWidget* parent)
    : QDialog(parent), dm_(dm), linkField_(std::move(linkField)), entryNumber_(entryNumber), filing_(dm.TDok) {
    setObjectName(QStringLiteral("TO1"));
    setWindowTitle(QStringLiteral("Neue Notiz"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    buildControls();
}

void NewNoteDialog::buildControls() {
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    auto* art = new DBComboBox(&dm_.DDok, QStringLiteral("Art"), this);
    art->setObjectName(QStringLiteral("DBComboBox2"));
    const auto lookup = [this](const QString& name, const QString& field, DataSource* list, const QString& shown) {
        auto* box = new DBLookupComboBox(this);
        box->setObjectName(name);
        box->setListSource(list);
        box->setKeyField(QStringLiteral("Nr"));
        box->setListField(shown);
        box->setDataSource(&dm_.DDok);
        box->setDataField(field);
        connect(box, &QComboBox::activated, this, &NewNoteDialog::updateOk);
        return box;
    };
    auto* address = lookup(QStringLiteral("DBLookupComboBox1"), QStringLiteral("NrFirma"), &dm_.DAdrLook,
                           QStringLiteral("Name1;Name2"));
    auto* topic = lookup(QStringLiteral("DBLookupComboBox2"), QStringLiteral("NrThema"), &dm_.DThemaLook,
                         QStringLiteral("Thema"));
    auto* author = new DBComboBox(&dm_.DDok, QStringLiteral("Autor"), this);
    author->setObjectName(QStringLiteral("DBComboBox1"));
    auto* open = new DBCheckBox(QStringLiteral("in Bearbeitung"), this);
    open->setObjectName(QStringLiteral("CB1"));
    open->setValues(1, 0);
    open->setDataField(QStringLiteral("Offen"));
    open->setDataSource(&dm_.DDok);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("I1"));
    picture->setPixmap(TIconListPainter::noteIcon(TIconListPainter::largeSize));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Titel:"), Edit1);
    form->addRow(QStringLiteral("Art:"), art);
    form->addRow(QStringLiteral("Adresse:"), address);
    form->addRow(QStringLiteral("Thema:"), topic);
    form->addRow(QStringLiteral("Autor:"), author);
    form->addRow(QString(), open);
    BtnOK = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    BtnOK->setDefault(true);
    auto* abort = makeButton(QStringLiteral("BitBtn2"), QStringLiteral("Abbrechen"), this);
    auto* help = makeButton(QStringLiteral("BitBtn3"), QStringLiteral("Hilfe"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(picture, 0, Qt::AlignHCenter);
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(abort);
    buttons->addWidget(help);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);
    setMinimumWidth(460);
    connect(BtnOK, &QPushButton::clicked, this, &NewNoteDialog::BtnOKClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(QStringLiteral("not010"), this); });
}

void NewNoteDialog::loadPickLists() {
    const QString general = Program::instance().paths.general;
    for (const auto& [name, catalog] : {std::pair{QStringLiteral("DBComboBox2"), ArtCatalog},
                                        std::pair{QStringLiteral("DBComboBox1"), AuthorCatalog}}) {
        QStringList lines;
        try {
            if (LoadCatalog(lines, catalog, general))
                findChild<DBComboBox*>(name)->setPickList(lines);
        } catch (const FileError& error) {
            showError(error.message());
        }
    }
}

void NewNoteDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (begun_)
        return;
    begun_ = true;
    loadPickLists();
    try {
        filing_.begin(linkField_, entryNumber_);
    } catch (const EngineError& error) {
        showError(error.message());
    }
    updateOk();
}

void NewNoteDialog::updateOk() {
    BtnOK->setEnabled(filing_.canFile());
}

void NewNoteDialog::BtnOKClick() {
    try {
        filing_.file(Edit1->text(), Clock::now());
    } catch (const EngineError& error) {
        showError(error.message());
        return;
    }
    accept();
}

// Every way of closing ends here: a note that was not filed leaves no record behind.
void NewNoteDialog::done(int result) {
    try {
        noteNumber_ = filing_.finish();
    } catch (const EngineError& error) {
        showError(error.message());
    }
    QDialog::done(result);
}

} // namespace zep
