#include "documents/ui/application_list_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/help_window.h"
#include "app/ui/named_controls.h"
#include "controls/ui/db_ctrl_grid.h"
#include "controls/ui/icon_list_painter.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "documents/ui/application_edit_dialog.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace zep {

namespace {
constexpr int kVisiblePanels = 7;
}

ApplicationListDialog::ApplicationListDialog(TDM& dm, const QString& templatesDir, ProgramLauncher& launcher,
                                             QWidget* parent)
    : QDialog(parent), dm_(dm), icons_(std::make_unique<TIconListPainter>(dm.IList)) {
    setObjectName(QStringLiteral("TN01"));
    setWindowTitle(QStringLiteral("Anwendung..."));
    Grid = new TDBCtrlGrid(dm_.DPro, PanelHeight, kVisiblePanels, this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setPanelPainter([this](QPainter& painter, const QRect& panel, int row, bool current) {
        paintPanel(painter, panel, row, current);
    });
    auto* ok = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* help = makeButton(QStringLiteral("BtnHelp"), QStringLiteral("Hilfe"), this);
    auto* add = makeButton(QStringLiteral("BtnNeu1"), QStringLiteral("Neu"), this);
    auto* edit = makeButton(QStringLiteral("BtnEdit"), QStringLiteral("Bearbeiten"), this);
    auto* remove = makeButton(QStringLiteral("BtnDel"), QStringLiteral("Löschen"), this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {ok, help, add, edit, remove})
        buttons->addWidget(button);
    buttons->insertSpacing(2, 16);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    resize(440, Grid->height() + 24);
    TN02 = new ApplicationEditDialog(dm_, templatesDir, launcher, this);
    connect(TN02, &ApplicationEditDialog::helpRequested, TN02, [this](const QString& topic) { ShowHelp(topic, TN02); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(help, &QPushButton::clicked, this,
            [this] { emit helpRequested(QString::fromLatin1(ApplicationEditDialog::HelpTopic)); });
    connect(add, &QPushButton::clicked, this, &ApplicationListDialog::BtnNeu1Click);
    connect(edit, &QPushButton::clicked, this, &ApplicationListDialog::BtnEditClick);
    connect(remove, &QPushButton::clicked, this, &ApplicationListDialog::BtnDelClick);
    connect(Grid, &TDBCtrlGrid::itemDoubleClicked, this, &ApplicationListDialog::BtnEditClick);
}

ApplicationListDialog::~ApplicationListDialog() = default;

void ApplicationListDialog::showEvent(QShowEvent* event) {
    dm_.unlinkApplications();
    Grid->refill();
    QDialog::showEvent(event);
}

void ApplicationListDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    dm_.linkApplications();
}

void ApplicationListDialog::paintPanel(QPainter& painter, const QRect& panel, int row, bool current) {
    const Table& pro = dm_.TPro;
    const QString ext = pro.valueAt(row, pro.fieldPosition(u"Ext")).toString();
    const QString program = pro.valueAt(row, pro.fieldPosition(u"Anw")).toString();
    const QString title = pro.valueAt(row, pro.fieldPosition(u"Titel")).toString();
    const QPalette& colours = palette();
    painter.fillRect(panel.adjusted(2, 2, -2, -2), current ? colours.highlight() : colours.base());
    painter.setPen(current ? colours.highlightedText().color() : colours.text().color());
    icons_->drawLarge(ext, program, painter, 2, 3);
    const int textTop = 10;
    const int textHeight = panel.height() - textTop;
    painter.drawText(QRect(38, textTop, 58 - 38, textHeight), Qt::AlignLeft | Qt::AlignTop, ext);
    painter.drawText(QRect(60, textTop, panel.width() - 4 - 60, textHeight), Qt::AlignLeft | Qt::AlignTop, title);
}

void ApplicationListDialog::BtnNeu1Click() {
    TN02->setNewMode(true);
    TN02->exec();
    icons_->clearCache();
    Grid->refill();
}

void ApplicationListDialog::BtnEditClick() {
    if (dm_.TPro.isEmpty())
        return;
    TN02->setNewMode(false);
    TN02->exec();
    icons_->clearCache();
    Grid->refill();
}

void ApplicationListDialog::BtnDelClick() {
    if (dm_.TPro.isEmpty())
        return;
    if (Interaction::instance().askYesNo(QStringLiteral("Wirklich löschen?"), ApplicationName.toString()) !=
        Answer::Yes)
        return;
    try {
        dm_.TPro.deleteRecord();
    } catch (const EngineError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
    }
    Grid->refill();
}

void ShowApplicationList(TDM& dm, const QString& templatesDir, ProgramLauncher& launcher, QWidget* parent) {
    ApplicationListDialog dialog(dm, templatesDir, launcher, parent);
    QObject::connect(&dialog, &ApplicationListDialog::helpRequested, &dialog,
                     [&dialog](const QString& topic) { ShowHelp(topic, &dialog); });
    dialog.exec();
}

} // namespace zep
