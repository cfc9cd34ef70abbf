#include "clients/ui/client_list_dialog.h"
#include "app/ui/named_controls.h"
#include "app/ui/window_placer.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "clients/client_creation.h"
#include "clients/client_opening.h"
#include "clients/client_texts.h"
#include "clients/ui/new_client_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zep {

namespace {

QLabel* makeStatusPanel(const QString& name, const QString& text, QWidget* parent) {
    auto* panel = new QLabel(text, parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMargin(2);
    return panel;
}

} // namespace

ClientListDialog::ClientListDialog(ClientOpening& opening, int countdown, QWidget* parent)
    : QDialog(parent), opening_(opening), countdown_(countdown) {
    setObjectName(QStringLiteral("TW_Mand"));
    setWindowTitle(QStringLiteral("Mandanten auswählen"));
    setProperty(StatedPlaceProperty, QStringLiteral("screenCentre"));
    buildControls();
    FillList();
    // Key preview: every key and every click anywhere in the dialog stops the countdown.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    resize(520, 330);
}

void ClientListDialog::buildControls() {
    panel2_ = new QLabel(this);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    panel2_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel2_->setMargin(4);
    QFont bold = panel2_->font();
    bold.setBold(true);
    panel2_->setFont(bold);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("LV"));
    list_->setHeaderLabels({QStringLiteral("Mandant"), QStringLiteral("Pfad")});
    list_->setColumnWidth(0, 100);
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(1, 380);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &ClientListDialog::LVSelectItem);

    auto* panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    btnNeu_ = makeButton(QStringLiteral("BtnNeu"), QStringLiteral("Neu"), panel1);
    btnDel_ = makeButton(QStringLiteral("BtnDel"), QStringLiteral("Löschen"), panel1);
    btnOK_ = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), panel1);
    btnOK_->setDefault(true);
    btnEnde_ = makeButton(QStringLiteral("BtnEnde"), QStringLiteral("Beenden"), panel1);
    auto* buttons = new QHBoxLayout(panel1);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(btnNeu_);
    buttons->addWidget(btnDel_);
    buttons->addStretch();
    buttons->addWidget(btnOK_);
    buttons->addWidget(btnEnde_);
    connect(btnNeu_, &QPushButton::clicked, this, &ClientListDialog::BtnNeuClick);
    connect(btnDel_, &QPushButton::clicked, this, &ClientListDialog::BtnDelClick);
    connect(btnOK_, &QPushButton::clicked, this, &ClientListDialog::BtnOKClick);
    connect(btnEnde_, &QPushButton::clicked, this, &ClientListDialog::BtnEndeClick);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &ClientListDialog::TimerTimer);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel2_);
    layout->addWidget(list_, 1);
    layout->addWidget(panel1);
    layout->addWidget(buildStatusBar());
}

QWidget* ClientListDialog::buildStatusBar() {
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("SB"));
    statusBar_->setSizeGripEnabled(false);
    seconds_ = makeStatusPanel(QStringLiteral("SBSeconds"), QString(), statusBar_);
    seconds_->setAlignment(Qt::AlignCenter);
    seconds_->setMinimumWidth(40);
    statusBar_->addWidget(
        makeStatusPanel(QStringLiteral("SBStart"), QStringLiteral("Automatischer Start in"), statusBar_));
    statusBar_->addWidget(seconds_);
    statusBar_->addWidget(makeStatusPanel(QStringLiteral("SBUnit"), QStringLiteral("Sekunden"), statusBar_), 1);
    statusBar_->hide();
    return statusBar_;
}

void ClientListDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    list_->setFocus();
    startCountdown();
}

void ClientListDialog::FillList() {
    list_->clear();
    // A choice left from before the list was filled could name a client that was just removed.
    ClientSelection& selection = opening_.selection();
    selection.chosenName.clear();
    selection.chosenDir.clear();
    const ClientListing listing = opening_.clients().listing();
    for (const ClientEntry& client : listing.clients)
        new QTreeWidgetItem(list_, {client.name, client.directory});
    if (listing.lastClientRow >= 0)
        list_->setCurrentItem(list_->topLevelItem(listing.lastClientRow));
    LVSelectItem();
}

void ClientListDialog::LVSelectItem() {
    ClientSelection& selection = opening_.selection();
    if (const QList<QTreeWidgetItem*> selected = list_->selectedItems(); !selected.isEmpty()) {
        selection.chosenName = selected.first()->text(0);
        selection.chosenDir = selected.first()->text(1);
    }
    panel2_->setText(selection.chosenName + QStringLiteral("  ") + selection.chosenDir);
    const bool hasRows = list_->topLevelItemCount() > 0;
    btnOK_->setEnabled(hasRows);
    btnDel_->setEnabled(hasRows);
}

void ClientListDialog::startCountdown() {
    // Never confirm an empty choice: without a chosen client the countdown does not start.
    if (countdown_ <= 0 || opening_.selection().chosenName.isEmpty())
        return;
    seconds_->setText(QString::number(countdown_));
    statusBar_->show();
    timer_->start();
}

void ClientListDialog::stopCountdown() {
    if (!timer_->isActive())
        return;
    timer_->stop();
    statusBar_->hide();
}

void ClientListDialog::TimerTimer() {
    --countdown_;
    if (countdown_ >= 0) {
        seconds_->setText(QString::number(countdown_));
        return;
    }
    stopCountdown();
    if (mayClose(true))
        done(Accepted);
}

bool ClientListDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)
        stopCountdown();
    return QDialog::eventFilter(watched, event);
}

bool ClientListDialog::mayClose(bool confirmed) {
    if (quit_)
        return true;
    if (opening_.selection().chosenName.isEmpty()) {
        // Leaving through the window's close without a choice opens nothing and is not OK anyway.
        if (!confirmed)
            return true;
        opening_.interaction().information(texts::noClientChosen(), ApplicationName.toString());
        return false;
    }
    return opening_.attemptOpenSelectedClient();
}

void ClientListDialog::BtnOKClick() {
    if (mayClose(true))
        done(Accepted);
}

void ClientListDialog::BtnEndeClick() {
    quit_ = true;
    done(Rejected);
}

void ClientListDialog::reject() {
    BtnEndeClick();
}

void ClientListDialog::closeEvent(QCloseEvent* event) {
    stopCountdown();
    if (!mayClose(false)) {
        event->ignore();
        return;
    }
    setResult(Rejected);
    event->accept();
}

void ClientListDialog::BtnNeuClick() {
    const ClientCreation creation(opening_.paths(), opening_.clients(), opening_.interaction(),
                                  opening_.openClientName());
    const QString created = NewClient(creation, opening_.paths().root, this);
    FillList();
    // The client just made is the one the user wants to open next.
    for (int row = 0; !created.isEmpty() && row < list_->topLevelItemCount(); ++row)
        if (list_->topLevelItem(row)->text(0).compare(created, Qt::CaseInsensitive) == 0)
            list_->setCurrentItem(list_->topLevelItem(row));
}

void ClientListDialog::BtnDelClick() {
    const QString name = opening_.selection().chosenName;
    if (name.isEmpty())
        return;
    Interaction& interaction = opening_.interaction();
    if (interaction.askOkAbort(texts::deleteClientQuestion(name), ApplicationName.toString()) != Answer::Ok)
        return;
    const ClientList clients = opening_.clients();
    if (!clients.remove(name))
        interaction.error(texts::clientNotRemoved(name, clients.lastError()), ApplicationName.toString());
    FillList();
}

bool ShowClientDialog(ClientOpening& opening, int countdown, QWidget* parent) {
    ClientListDialog dialog(opening, countdown, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zep
