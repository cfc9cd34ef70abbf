#include "tools/ui/catalog_dialog.h"

#include "app/ui/help_window.h"
#include "app/ui/named_controls.h"

#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "data/catalog_file.h"
#include "data/cp1252.h"
#include "data/format_error.h"
#include "data/unrepresentable_text.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

namespace {

void showError(const FileError& error) {
    Interaction::instance().error(error.message(), ApplicationName.toString());
}

} // namespace

CatalogDialog::CatalogDialog(int number, const QString& generalDir, QWidget* parent)
    : QDialog(parent), number_(number), generalDir_(generalDir) {
    setObjectName(QStringLiteral("TKatalog1"));
    setWindowTitle(catalogCaption(number));
    buildControls();
    Edit1->setFocus();
}

void CatalogDialog::buildControls() {
    LB = new QListWidget(this);
    LB->setObjectName(QStringLiteral("LB"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    QPushButton* add = makeButton(QStringLiteral("Button1"), QStringLiteral("Hinzufügen"), this);
    QPushButton* remove = makeButton(QStringLiteral("Button2"), QStringLiteral("Löschen"), this);
    QPushButton* help = makeButton(QStringLiteral("BtnHelp"), QStringLiteral("Hilfe"), this);
    // No default button: Enter in the line adds it and the window stays open for the next one.
    QPushButton* ok = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);

    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(remove);
    side->addStretch();
    side->addWidget(help);
    side->addWidget(ok);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(Edit1);
    listColumn->addWidget(LB, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(side);
    resize(360, 300);

    connect(add, &QPushButton::clicked, this, &CatalogDialog::Button1Click);
    connect(remove, &QPushButton::clicked, this, &CatalogDialog::Button2Click);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(HelpTopic); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(Edit1, &QLineEdit::returnPressed, this, &CatalogDialog::Button1Click);
}

bool CatalogDialog::load() {
    try {
        QStringList lines;
        LoadCatalog(lines, number_, generalDir_);
        lines_ = sortedCatalogLines(lines);
    } catch (const FileError& error) {
        showError(error);
        return false;
    }
    showLines(lines_.isEmpty() ? -1 : 0);
    return true;
}

void CatalogDialog::showLines(int selectRow) {
    LB->clear();
    LB->addItems(lines_);
    if (selectRow >= 0 && selectRow < LB->count())
        LB->setCurrentRow(selectRow);
}

void CatalogDialog::Button1Click() {
    QString line = Edit1->text();
    const QString characters = unrepresentableCharactersOf({line});
    if (!characters.isEmpty()) {
        const QString question = unrepresentableTextQuestion(
            {QStringLiteral("Der Eintrag"), QStringLiteral("im Katalog"), QStringLiteral("den Eintrag")}, characters);
        if (Interaction::instance().askYesNo(question, ApplicationName.toString()) != Answer::Yes) {
            Edit1->setFocus();
            Edit1->selectAll();
            return;
        }
        line = withUnrepresentableReplaced(line);
    }
    lines_ = sortedCatalogLines(lines_ << line);
    showLines(int(lines_.indexOf(line)));
    Edit1->clear();
    Edit1->setFocus();
}

void CatalogDialog::Button2Click() {
    const int row = LB->currentRow();
    if (row < 0 || !LB->currentItem()->isSelected())
        return;
    lines_.removeAt(row);
    showLines(std::min(row, int(lines_.size()) - 1));
}

void CatalogDialog::done(int result) {
    try {
        SaveCatalog(lines_, number_, generalDir_);
    } catch (const FileError& error) {
        showError(error);
        return;
    }
    QDialog::done(result);
}

void EditCatalog(int number, QWidget* parent) {
    CatalogDialog dialog(number, Program::instance().paths.general, parent);
    QObject::connect(&dialog, &CatalogDialog::helpRequested, &dialog,
                     [&dialog](int topic) { ShowHelp(QString::number(topic), &dialog); });
    if (dialog.load())
        dialog.exec();
}

int catalogOfMenuItem(QStringView itemName) {
    struct Entry {
        QStringView name;
        int number;
    };
    static constexpr Entry entries[] = {{u"MKat_DokArt", 1},  {u"MKat_Autor", 4}, {u"MKat_AnredeBrief", 10},
                                        {u"MKat_Anrede", 11}, {u"MKat_Herr", 12}, {u"MKat_Gruss", 13}};
    for (const Entry& entry : entries) {
        if (entry.name == itemName)
            return entry.number;
    }
    return 0;
}

} // namespace zep
