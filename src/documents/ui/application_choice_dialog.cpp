#include "documents/ui/application_choice_dialog.h"

#include "app/interaction.h"
#include "app/ui/named_controls.h"
#include "documents/associations.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace zep {

namespace {

constexpr int kProgramRole = Qt::UserRole;
constexpr int kTitleRole = Qt::UserRole + 1;

QIcon applicationIcon(const QString& icon) {
    const QIcon generic = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    if (icon.isEmpty())
        return generic;
    return QDir::isAbsolutePath(icon) ? QIcon(icon) : QIcon::fromTheme(icon, generic);
}

} // namespace

ApplicationChoiceDialog::ApplicationChoiceDialog(const QString& documentPath, const QString& extension,
                                                 const QList<DesktopApplication>& applications, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TOeffnenMit"));
    setWindowTitle(QStringLiteral("Öffnen mit"));
    auto* text = new QLabel(QStringLiteral("Für \"%1\" ist keine Anwendung eingerichtet.\nWomit soll die Datei "
                                           "geöffnet werden?")
                                .arg(QFileInfo(documentPath).fileName()),
                            this);
    text->setObjectName(QStringLiteral("L_Text"));
    LV_Anw = new QListWidget(this);
    LV_Anw->setObjectName(QStringLiteral("LV_Anw"));
    LV_Anw->setIconSize(QSize(24, 24));
    for (const DesktopApplication& application : applications)
        addChoice(choiceOf(application), application.icon);
    auto* other = makeButton(QStringLiteral("BtnAndere"), QStringLiteral("Andere Anwendung..."), this);
    CB_Merken = new QCheckBox(QStringLiteral("Für Dateien mit der Endung \".%1\" merken").arg(extension), this);
    CB_Merken->setObjectName(QStringLiteral("CB_Merken"));
    // Without an extension the register has no key to keep the choice under.
    CB_Merken->setEnabled(!extension.isEmpty());
    BtnOK = makeButton(QStringLiteral("BtnOK"), QStringLiteral("Öffnen"), this);
    BtnOK->setDefault(true);
    BtnOK->setEnabled(false);
    auto* abort = makeButton(QStringLiteral("BtnAbbruch"), QStringLiteral("Abbrechen"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(other);
    buttons->addStretch(1);
    buttons->addWidget(BtnOK);
    buttons->addWidget(abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(LV_Anw, 1);
    layout->addWidget(CB_Merken);
    layout->addLayout(buttons);
    resize(420, 320);
    connect(LV_Anw, &QListWidget::currentRowChanged, this, [this](int row) { BtnOK->setEnabled(row >= 0); });
    // The desktop's preferred application comes first and is chosen until the user picks another.
    LV_Anw->setCurrentRow(applications.isEmpty() ? -1 : 0);
    connect(LV_Anw, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(other, &QPushButton::clicked, this, &ApplicationChoiceDialog::BtnAndereClick);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
}

void ApplicationChoiceDialog::addChoice(const ApplicationChoice& choice, const QString& icon) {
    auto* item = new QListWidgetItem(applicationIcon(icon), choice.title, LV_Anw);
    item->setData(kProgramRole, choice.program);
    item->setData(kTitleRole, choice.title);
}

// Any program file, or a desktop entry file, chosen by hand joins the list as the current choice.
void ApplicationChoiceDialog::BtnAndereClick() {
    const QString path = Interaction::instance().openFileName(
        QStringLiteral("Andere Anwendung"), QStringLiteral("/usr/bin"), QStringLiteral("Alle Dateien (*)"));
    if (path.isEmpty())
        return;
    addChoice(choiceOfFile(path), QString());
    LV_Anw->setCurrentRow(LV_Anw->count() - 1);
}

std::optional<ApplicationChoice> ApplicationChoiceDialog::chosen() const {
    const QListWidgetItem* item = LV_Anw->currentItem();
    if (item == nullptr)
        return std::nullopt;
    return ApplicationChoice{item->data(kProgramRole).toString(), item->data(kTitleRole).toString(),
                             CB_Merken->isEnabled() && CB_Merken->isChecked()};
}

std::optional<ApplicationChoice> ApplicationChoiceDialog::choose(const QString& documentPath, const QString& extension,
                                                                 const QList<DesktopApplication>& applications,
                                                                 QWidget* parent) {
    ApplicationChoiceDialog dialog(documentPath, extension, applications, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

} // namespace zep
