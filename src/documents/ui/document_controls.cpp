#include "documents/ui/document_controls.h"

#include "app/program.h"
#include "app/ui/help_window.h"
#include "app/ui/named_controls.h"
#include "controls/ui/db_check_box.h"
#include "controls/ui/db_combo_box.h"
#include "controls/ui/db_lookup_combo_box.h"
#include "data/table.h"
#include "data/tdm.h"

#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int ArtCatalog = 1;
constexpr int AuthorCatalog = 4;

DBLookupComboBox* documentLookup(DataSource* documents, const QString& name, const QString& field, DataSource* list,
                                 const QString& shown, QWidget* parent) {
    auto* box = new DBLookupComboBox(parent);
    box->setObjectName(name);
    box->setListSource(list);
    box->setKeyField(QStringLiteral("Nr"));
    box->setListField(shown);
    box->setDataSource(documents);
    box->setDataField(field);
    return box;
}

} // namespace

DBLookupComboBox* addressLookup(TDM& dm, const QString& name, QWidget* parent, DataSource* documents) {
    return documentLookup(documents ? documents : &dm.DDok, name, QStringLiteral("NrFirma"), &dm.DAdrLook,
                          QStringLiteral("Name1;Name2"), parent);
}

DBLookupComboBox* topicLookup(TDM& dm, const QString& name, QWidget* parent, DataSource* documents) {
    return documentLookup(documents ? documents : &dm.DDok, name, QStringLiteral("NrThema"), &dm.DThemaLook,
                          QStringLiteral("Thema"), parent);
}

void fillDocumentPickLists(DBComboBox& art, DBComboBox& author) {
    const QString general = Program::instance().paths.general;
    fillPickListFromCatalog(art, ArtCatalog, general);
    fillPickListFromCatalog(author, AuthorCatalog, general);
}

FilingFields filingFields(TDM& dm, DataSource* documents, QWidget* parent, const std::function<void()>& linkChanged) {
    auto* art = new DBComboBox(documents, QStringLiteral("Art"), parent);
    art->setObjectName(QStringLiteral("DBComboBox2"));
    auto* address = addressLookup(dm, QStringLiteral("DBLookupComboBox1"), parent, documents);
    auto* topic = topicLookup(dm, QStringLiteral("DBLookupComboBox2"), parent, documents);
    for (DBLookupComboBox* box : {address, topic})
        QObject::connect(box, &QComboBox::activated, parent, [linkChanged] { linkChanged(); });
    auto* author = new DBComboBox(documents, QStringLiteral("Autor"), parent);
    author->setObjectName(QStringLiteral("DBComboBox1"));
    return {art, address, topic, author};
}

QLineEdit* titleEdit(Table& documents, QWidget* parent) {
    QLineEdit* edit = makeEdit(QStringLiteral("Edit1"), parent);
    if (const int width = documents.field(u"Titel").info().def.size; width > 0)
        edit->setMaxLength(width);
    return edit;
}

QVBoxLayout* filingButtonColumn(QDialog& dialog, QWidget* picture, QPushButton*& ok, const QString& abortName,
                                const QString& helpName, const QString& helpTopic) {
    ok = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto* abort = makeButton(abortName, QStringLiteral("Abbrechen"), &dialog);
    auto* help = makeButton(helpName, QStringLiteral("Hilfe"), &dialog);
    auto* column = new QVBoxLayout;
    column->addWidget(picture, 0, Qt::AlignHCenter);
    column->addStretch();
    column->addWidget(ok);
    column->addWidget(abort);
    column->addWidget(help);
    QObject::connect(abort, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(help, &QPushButton::clicked, &dialog, [&dialog, helpTopic] { ShowHelp(helpTopic, &dialog); });
    return column;
}

DBCheckBox* inWorkCheckBox(DataSource* documents, QWidget* parent) {
    auto* box = new DBCheckBox(QStringLiteral("in Bearbeitung"), parent);
    box->setObjectName(QStringLiteral("CB1"));
    box->setValues(1, 0);
    box->setDataField(QStringLiteral("Offen"));
    box->setDataSource(documents);
    return box;
}

void addFilingRows(QFormLayout& form, QWidget* title, QWidget* art, QWidget* address, QWidget* topic, QWidget* author,
                   QWidget* inWork) {
    form.addRow(QStringLiteral("Titel:"), title);
    form.addRow(QStringLiteral("Art:"), art);
    form.addRow(QStringLiteral("Adresse:"), address);
    form.addRow(QStringLiteral("Thema:"), topic);
    form.addRow(QStringLiteral("Autor:"), author);
    if (inWork != nullptr)
        form.addRow(QString(), inWork);
}

} // namespace zep
