#include "tools/ui/options_dialog.h"
#include "app/ui/named_controls.h"

#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int ResubmissionNone = -1;

QWidget* makePage(const QString& name, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(name);
    return page;
}

// Labels of the address captions: six free fields, two date fields, two number fields.
QString addressLabel(int index) {
    if (index < 6)
        return QStringLiteral("Feld%1").arg(index + 1);
    if (index < 8)
        return QStringLiteral("Datumsfeld%1").arg(index - 5);
    return QStringLiteral("Zahlenfeld%1").arg(index - 7);
}

} // namespace

OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TW_Opt1"));
    setWindowTitle(QStringLiteral("Optionen"));
    PC = new QTabWidget(this);
    PC->setObjectName(QStringLiteral("PC"));
    PC->addTab(buildGeneralPage(), QStringLiteral("Allgemein"));
    PC->addTab(buildFieldNamesPage(), QStringLiteral("Feldnamen (M)"));
    PC->addTab(buildResubmissionPage(), QStringLiteral("Wiedervorlage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PC);
    layout->addWidget(buildButtons());
    const Program& program = Program::instance();
    showValues(readOptions(program.settings(), program.clientSettings()));
}

QWidget* OptionsDialog::buildGeneralPage() {
    QWidget* page = makePage(QStringLiteral("TabS"), this);
    E_AutoCount = makeEdit(QStringLiteral("E_AutoCount"), page);
    E_AutoCount->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), E_AutoCount));
    E_AutoCount->setMaxLength(2);
    E_AutoCount->setMaximumWidth(E_AutoCount->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
    E_AutoCount->setText(QStringLiteral("15"));
    Check_Musik = new QCheckBox(QStringLiteral("Startmusik"), page);
    Check_Musik->setObjectName(QStringLiteral("Check_Musik"));
    Check_Musik->setVisible(false);
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Autostart Mandant"), E_AutoCount);
    return page;
}

QWidget* OptionsDialog::buildFieldNamesPage() {
    QWidget* page = makePage(QStringLiteral("TabF"), this);
    auto* addresses = new QGroupBox(QStringLiteral("Adressen"), page);
    auto* addressForm = new QFormLayout(addresses);
    for (int i = 0; i < int(E_FA.size()); ++i) {
        E_FA[i] = makeEdit(QStringLiteral("E_FA%1").arg(i + 1), addresses);
        addressForm->addRow(addressLabel(i), E_FA[i]);
    }
    auto* documents = new QGroupBox(QStringLiteral("Dokumente"), page);
    auto* documentForm = new QFormLayout(documents);
    for (int i = 0; i < int(E_FD.size()); ++i) {
        E_FD[i] = makeEdit(QStringLiteral("E_FD%1").arg(i + 1), documents);
        documentForm->addRow(QStringLiteral("Feld%1").arg(i + 1), E_FD[i]);
    }
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(addresses);
    layout->addWidget(documents, 0, Qt::AlignTop);
    return page;
}

QWidget* OptionsDialog::buildResubmissionPage() {
    QWidget* page = makePage(QStringLiteral("TabV"), this);
    RB_Aus = new QRadioButton(QStringLiteral("Aus"), page);
    RB_Prog = new QRadioButton(QStringLiteral("bei Programmstart"), page);
    RB_Mand = new QRadioButton(QStringLiteral("bei Mandantenwechsel"), page);
    resubmissionGroup_ = new QButtonGroup(page);
    auto* layout = new QVBoxLayout(page);
    int mode = 0;
    for (QRadioButton* button : {RB_Aus, RB_Prog, RB_Mand}) {
        resubmissionGroup_->addButton(button, mode++);
        layout->addWidget(button);
    }
    RB_Aus->setObjectName(QStringLiteral("RB_Aus"));
    RB_Prog->setObjectName(QStringLiteral("RB_Prog"));
    RB_Mand->setObjectName(QStringLiteral("RB_Mand"));
    layout->addStretch();
    return page;
}

QWidget* OptionsDialog::buildButtons() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    QPushButton* ok = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("OK"), panel);
    ok->setDefault(true);
    QPushButton* abort = makeButton(QStringLiteral("BitBtn2"), QStringLiteral("Abbrechen"), panel);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    layout->addWidget(ok);
    layout->addWidget(abort);
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::BitBtn1Click);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
    return panel;
}

void OptionsDialog::showValues(const OptionValues& values) {
    E_AutoCount->setText(values.autoStartTime);
    Check_Musik->setChecked(values.music);
    for (int i = 0; i < int(E_FA.size()); ++i)
        E_FA[i]->setText(values.addressCaptions[i]);
    for (int i = 0; i < int(E_FD.size()); ++i)
        E_FD[i]->setText(values.documentCaptions[i]);
    if (QAbstractButton* button = resubmissionGroup_->button(values.resubmissionShow))
        button->setChecked(true);
}

OptionValues OptionsDialog::typedValues() const {
    OptionValues values;
    values.autoStartTime = E_AutoCount->text();
    values.music = Check_Musik->isChecked();
    for (int i = 0; i < int(E_FA.size()); ++i)
        values.addressCaptions[i] = E_FA[i]->text();
    for (int i = 0; i < int(E_FD.size()); ++i)
        values.documentCaptions[i] = E_FD[i]->text();
    const int checked = resubmissionGroup_->checkedId();
    values.resubmissionShow = checked == ResubmissionNone ? 0 : checked;
    return values;
}

// A settings file that cannot be written keeps the window open, so nothing typed is lost.
void OptionsDialog::BitBtn1Click() {
    Program& program = Program::instance();
    const OptionValues values = typedValues();
    const Settings settings = program.settings();
    const ClientSettings clientSettings = program.clientSettings();
    if (!writeOptions(values, settings, clientSettings)) {
        const QString cause = clientSettings.lastError().isEmpty() ? settings.lastError() : clientSettings.lastError();
        Interaction::instance().error(QStringLiteral("Die Optionen konnten nicht gespeichert werden.\r") + cause,
                                      ApplicationName.toString());
        return;
    }
    program.resubmissionStart = runningResubmissionStart(values.resubmissionShow);
    accept();
}

void EditOptions(QWidget* parent) {
    OptionsDialog dialog(parent);
    dialog.exec();
}

} // namespace zep
