#include "mainwin/ui/main_window.h"
#include "mainwin/tree_texts.h"
#include "serial/ui/serial_letter_window.h"

#include "addresses/address_template.h"
#include "addresses/entry_documents.h"
#include "app/clock.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/ui/window_placer.h"
#include "controls/ui/db_grid3.h"
#include "controls/ui/icon_list_painter.h"
#include "controls/ui/tree_view2.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "data/tdm1.h"
#include "documents/document_path.h"
#include "documents/process_launcher.h"
#include "mainwin/address_summary.h"
#include "mainwin/dde_command.h"
#include "mainwin/enabling_rules.h"
#include "mainwin/system_figures.h"
#include "mainwin/ui/main_note_dialog.h"
#include "mainwin/ui/main_note_editor.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_handlers.h"
#include "mainwin/ui/tree_mirror.h"
#include "mainwin/ui/tree_nodes.h"
#include "mainwin/window_texts.h"
#include "platform/dde_dbus.h"
#include "platform/print_spooler.h"
#include "tools/ui/tree_picker_dialog.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace zep {

namespace {

// The window's bounds as designed: the normal rectangle when zep.ini has none.
const QRect DesignBounds(173, 153, 847, 577);

QString engineCaption() {
    return ApplicationName.toString();
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TM01"));
    setWindowTitle(ProgramTitle.toString());
    buildLayout();
    buildMenus();
    buildPopupMenus();
    launcher_ = std::make_unique<ProcessLauncher>();
    printSpooler_ = std::make_unique<ProcessPrintSpooler>();
    noteEditorRunner_ = [](const QString& path, QWidget* parent) {
        return RICHING(path, parent);
    };
    entryPicker_ = &PickTreeEntry;
    copyDialogRunner_ = [this](int targetNumber, QWidget* parent) {
        runCopyDialog(targetNumber, parent);
    };
    fileAdder_ = [this](const QStringList& paths) {
        addFiles(paths);
    };
    treeHandlers_ = new TreeHandlers(*this, this);
    treeHandlers_->attachTrees();
    connectControls();
    setUpDocumentList();
    FormCreate();
    applyClientRule(false);
}

// The data module may outlive the window: it must not keep the window's note editor.
MainWindow::~MainWindow() {
    setDataModule(nullptr);
}

void MainWindow::setDataModule(TDM* dm) {
    if (dm_ != nullptr)
        dm_->setNoteEditor(nullptr);
    dm_ = dm;
    iconPainter_.reset();
    D_Grid->setDataSource(dm_ ? &dm_->dm1().DQDok : nullptr);
    if (dm_ != nullptr)
        dm_->setNoteEditor(RE);
}

void MainWindow::setClientOpener(ClientOpener opener) {
    clientOpener_ = std::move(opener);
}

TDM& MainWindow::dataModule() {
    if (dm_ == nullptr)
        qFatal("zep::MainWindow used without its data module");
    return *dm_;
}

void MainWindow::FormCreate() {
    D_Grid->setDragCursor(DragCursorMove);
    copyDrag_ = false;
    treeLoading_ = false;
    restoreFonts();
    restoreLayout();
}

void MainWindow::restoreLayout() {
    const Settings settings = Program::instance().settings();
    treeWidth_ = settings.treeWidth();
    addressHeight_ = settings.addressPaneHeight();
    const QRect normal = settings.mainWindowRect(DesignBounds);
    resize(normal.size());
    move(normal.topLeft());
    // The stored rectangle is kept, only moved onto the screen when it lies off it.
    setProperty(StatedPlaceProperty, QStringLiteral("own"));
    if (settings.mainWindowMaximised())
        setWindowState(windowState() | Qt::WindowMaximized);
}

// The splitters share out their own size: the panes get theirs once the window is laid out, and keep
// them when the window grows (their stretch factor is 0).
void MainWindow::applyPaneSizes() {
    Splitter1->setSizes({treeWidth_, std::max(1, Splitter1->width() - Splitter1->handleWidth() - treeWidth_)});
    Splitter2->setSizes({std::max(1, Splitter2->height() - Splitter2->handleWidth() - addressHeight_), addressHeight_});
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    layout()->activate();
    centralWidget()->layout()->activate();
    applyPaneSizes();
    // The client list is a modal dialog: open the client once the window is on screen.
    QMetaObject::invokeMethod(this, &MainWindow::FormShow, Qt::QueuedConnection);
}

void MainWindow::FormShow() {
    TimerZeitTimer();
    TimerZeit->start();
    TimerSys->start();
    const int autoStartTime = Program::instance().settings().autoStartTime();
    SwitchClient(Program::instance().client.ClientName, autoStartTime);
}

bool MainWindow::SwitchClient(const QString& clientName, int mode) {
    if (!openClient(clientName, mode)) {
        // Should closing be refused, the window stays without a client to work on.
        applyClientRule(false);
        close();
        return false;
    }
    applyClientRule(true);
    Program& program = Program::instance();
    const ClientSettings clientSettings = program.clientSettings();
    sortColumn_ = clientSettings.sortColumn();
    sortDescending_ = clientSettings.sortDescending();
    loadTrees();
    chooseStartView();
    setWindowTitle(mainWindowCaption(program.client.ClientName, program.client.ClientDir));
    fillAddressTemplates();
    showAddressTemplate(clientSettings.currentAddressTemplate());
    return true;
}

bool MainWindow::openClient(const QString& clientName, int mode) {
    if (clientOpener_)
        return clientOpener_(programKey(), clientName, mode);
    return openClientFromList(clientName, mode);
}

QString MainWindow::programKey() const {
    return ProgramKey.toString();
}

void MainWindow::loadTrees() {
    const TMand& client = Program::instance().client;
    setTreeLoading(true);
    // The previous client's entries must not stay on screen when this client's tree file is missing:
    // a drop onto them would change this client's records by the other client's numbers.
    treeModel(*TVA).clear();
    treeModel(*TVB).clear();
    loadEntryTree(*TVA, client.AdrTreeFile, QStringLiteral("Adressen"));
    loadEntryTree(*TVB, client.TopicTreeFile, QStringLiteral("Themen"));
    // The counts belong to this client's trees, also on the tab of the view not shown.
    setViewTabCaption(0, treeTabCaption(QStringLiteral("Adressen"), treeModel(*TVA).nodeCount()));
    setViewTabCaption(1, treeTabCaption(QStringLiteral("Themen"), treeModel(*TVB).nodeCount()));
    if (TVD->topLevelItemCount() > 0) {
        TVD->setCurrentItem(TVD->topLevelItem(0));
        TVD->expandAll();
    }
    setTreeLoading(false);
}

void MainWindow::loadEntryTree(TTreeView2& tree, const QString& path, const QString& rootCaption) {
    LoadTreeFile(tree, path, rootCaption);
    if (tree.topLevelItemCount() == 0)
        return;
    QTreeWidgetItem* root = tree.topLevelItem(0);
    tree.setCurrentItem(root);
    root->setExpanded(true);
}

void MainWindow::chooseStartView() {
    Program& program = Program::instance();
    if (program.resubmissionStart != 1 && program.resubmissionStart != 2) {
        SelectView(ViewState::Addresses);
        return;
    }
    SelectView(ViewState::Documents);
    const TreeModel::Node* today = treeModel(*TVD).first();
    for (int i = 0; i < 3 && today != nullptr; ++i)
        today = TreeModel::next(today);
    if (QTreeWidgetItem* item = itemOf(*TVD, today))
        TVD->setCurrentItem(item);
    // 1 shows "Heute" only for the first client of a run.
    if (program.resubmissionStart == 1)
        program.resubmissionStart = 0;
}

void MainWindow::SelectView(int view) {
    setGridAcceptsFiles(false);
    const TMand& client = Program::instance().client;
    switch (view) {
    case ViewState::Addresses:
        viewState_ = {ViewState::Addresses,
                      dm_ ? &dm_->TAdr : nullptr,
                      QStringLiteral("Adressen"),
                      QStringLiteral("iFirma"),
                      dm_ ? &dm_->DAdr : nullptr,
                      client.AdrTreeFile,
                      QStringLiteral("NrFirma"),
                      TVA,
                      0};
        break;
    case ViewState::Topics:
        viewState_ = {ViewState::Topics,
                      dm_ ? &dm_->TThema : nullptr,
                      QStringLiteral("Themen"),
                      QStringLiteral("iThema"),
                      dm_ ? &dm_->DThema : nullptr,
                      client.TopicTreeFile,
                      QStringLiteral("NrThema"),
                      TVB,
                      1};
        break;
    case ViewState::Documents:
        viewState_ = ViewState{};
        viewState_.view = ViewState::Documents;
        viewState_.tree = TVD;
        viewState_.tabIndex = 2;
        break;
    default:
        return;
    }
    treeStack_->setCurrentWidget(static_cast<TTreeView2*>(viewState_.tree));
    {
        const QSignalBlocker blocker(Tab00);
        Tab00->setCurrentIndex(viewState_.tabIndex);
    }
    B_Tool1->setVisible(view != ViewState::Documents);
    findChild<QAction*>(QStringLiteral("MTool_Baum"))->setEnabled(clientOpen_ && viewState_.hasTable());
    MA_Menu->menuAction()->setVisible(view == ViewState::Addresses);
    MT_Menu->menuAction()->setVisible(view == ViewState::Topics);
    REAdr->setVisible(view == ViewState::Addresses);
    if (view == ViewState::Documents) {
        treeHandlers_->TVDChange();
        applyDocumentsViewRule();
    } else {
        Btn_D_All->setEnabled(clientOpen_);
        treeHandlers_->TVAChange();
    }
}

void MainWindow::Tab00Change(int index) {
    SelectView(index);
}

// The rules run on every selection of an entry: each name is looked up among the window's children once.
QObject* MainWindow::namedControl(const QString& name) {
    QPointer<QObject>& control = namedControls_[name];
    if (control.isNull()) {
        if (auto* action = findChild<QAction*>(name))
            control = action;
        else
            control = findChild<QWidget*>(name);
    }
    return control.data();
}

void MainWindow::setEnabledByName(const QStringList& names, bool enabled) {
    for (const QString& name : names) {
        QObject* control = namedControl(name);
        if (auto* action = qobject_cast<QAction*>(control))
            action->setEnabled(enabled);
        else if (auto* widget = qobject_cast<QWidget*>(control))
            widget->setEnabled(enabled);
    }
}

void MainWindow::applyClientRule(bool clientOpen) {
    clientOpen_ = clientOpen;
    setEnabledByName(clientRuleControls(), clientOpen);
}

void MainWindow::applyEntryRule(bool properEntrySelected) {
    setEnabledByName(entryRuleControls(viewState_.view), clientOpen_ && properEntrySelected);
}

void MainWindow::applyDocumentsViewRule() {
    setEnabledByName(documentsViewRuleControls(), false);
}

void MainWindow::applyDocumentRule(int count) {
    Tab22->setTabText(0, documentTabCaption(count));
    const bool hasDocuments = count > 0;
    setEnabledByName(documentRuleControls(viewState_.view), clientOpen_ && hasDocuments);
    if (!hasDocuments) {
        RE->clear();
        // Clearing is no edit of a note: nothing may be written back.
        RE->setModified(false);
    }
    D_Grid->setDragMode(hasDocuments ? TDBGrid3::dmAutomatic : TDBGrid3::dmManual);
}

void MainWindow::setSortState(int column, bool descending) {
    sortColumn_ = column;
    sortDescending_ = descending;
}

bool MainWindow::showSubEntries() const {
    return Btn_D_All->isChecked();
}

void MainWindow::setViewTabCaption(int tabIndex, const QString& caption) {
    Tab00->setTabText(tabIndex, caption);
}

void MainWindow::showAddressSummary() {
    REAdr->setUpdatesEnabled(false);
    REAdr->clear();
    REAdr->setHtml(ShowAddressSummary(dataModule().TAdr));
    REAdr->moveCursor(QTextCursor::Start);
    REAdr->setUpdatesEnabled(true);
}

void MainWindow::clearAddressSummary() {
    REAdr->clear();
}

void MainWindow::setGridAcceptsFiles(bool accept) {
    D_Grid->setAcceptFiles(accept);
}

bool MainWindow::listHasDocuments() const {
    return dm_ != nullptr && dm_->dm1().QDok.isActive() && !dm_->dm1().QDok.isEmpty();
}

bool MainWindow::currentDocumentIsNote() {
    if (dm_ == nullptr || !dm_->TDok.isActive() || dm_->TDok.isEmpty())
        return false;
    return isNoteExtension(dm_->TDok.field(u"Ext").asString());
}

bool MainWindow::currentDocumentFileRefused() {
    if (dm_ == nullptr || !dm_->TDok.isActive() || dm_->TDok.isEmpty() || currentDocumentIsNote())
        return false;
    const DocumentPath file =
        ResolveDocumentPath(dm_->TDok.field(u"Datei").asString(), Program::instance().client.FilesDir);
    if (file.resolved())
        return false;
    Interaction::instance().error(file.refusal, ApplicationName.toString());
    return true;
}

void MainWindow::fillAddressTemplates() {
    const QSignalBlocker blocker(BoxAdrVor);
    BoxAdrVor->clear();
    if (dm_ == nullptr || !dm_->TAdrVor.isActive())
        return;
    const Table& templates = dm_->TAdrVor;
    const int nr = templates.fieldPosition(u"Nr");
    const int name = templates.fieldPosition(u"Name");
    for (int row = 0; row < templates.recordCount(); ++row)
        BoxAdrVor->addItem(templates.valueAt(row, name).toString(), templates.valueAt(row, nr).toInt());
}

void MainWindow::SetCurrentAddressTemplate(int nr) {
    fillAddressTemplates();
    showAddressTemplate(nr);
    Program::instance().clientSettings().setCurrentAddressTemplate(nr);
}

void MainWindow::CopyAddressToClipboard() {
    if (dm_ == nullptr)
        return;
    if (const std::optional<QString> text = addressClipboardText(dm_->TAdrVor, dm_->TAdr, currentAddressTemplate_))
        QGuiApplication::clipboard()->setText(*text);
}

void MainWindow::showAddressTemplate(int nr) {
    currentAddressTemplate_ = nr;
    const QSignalBlocker blocker(BoxAdrVor);
    BoxAdrVor->setCurrentIndex(BoxAdrVor->findData(nr));
}

void MainWindow::BoxAdrVorCloseUp(int index) {
    SetCurrentAddressTemplate(BoxAdrVor->itemData(index).toInt());
}

void MainWindow::TimerZeitTimer() {
    const QDateTime now = Clock::now();
    PnlDate->setText(clockDateText(now));
    PnlTime->setText(clockTimeText(now));
}

void MainWindow::TimerSysTimer() {
    const MemoryFigures memory = readMemInfo();
    PnlRAM->setText(freeMemoryText(memory));
    PnlPage->setText(freeSwapText(memory));
    const DiskFigures disk = readDiskFigures(Program::instance().paths.root);
    PnlDisk->setText(freeDiskText(disk.freeBytes, disk.mountPoint));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    QMainWindow::closeEvent(event);
}

bool MainWindow::FormCloseQuery() {
    if (dm_ == nullptr)
        return true;
    try {
        dm_->SaveNote();
    } catch (const EngineError& e) {
        // The window stays open once, so the user can copy the note; it is no longer marked modified.
        Interaction::instance().error(e.message(), engineCaption());
        return false;
    }
    return true;
}

void MainWindow::FormClose() {
    TS01->close();
    TimerZeit->stop();
    TimerSys->stop();
    const Settings settings = Program::instance().settings();
    const bool maximised = isMaximized();
    settings.setMainWindowMaximised(maximised);
    if (!maximised)
        settings.setMainWindowRect(QRect(pos(), size()));
    settings.setTreeWidth(PnlBaum->width());
    settings.setAddressPaneHeight(PnlAdress->height());
}

bool MainWindow::ExecuteDdeCommand(bool setApplication, const QString& applicationPath, const QString& service,
                                   const QString& topic, const QString& commandTemplate, const QString& fileName,
                                   std::function<void()> notTaken) {
    Q_UNUSED(applicationPath)
    Q_UNUSED(topic)
    const std::optional<QString> command = ddeCommandText(commandTemplate, fileName);
    if (!command)
        return false;
    // The bus starts a D-Bus activatable application itself when asked to; the service is the
    // desktop entry id. The template only decides whether a request is sent: what is opened is the file.
    // The window goes on at once; a refusal is answered later.
    return sendFileToDesktopApplication(service, fileName, setApplication, this,
                                        [notTaken = std::move(notTaken)](bool taken) {
                                            if (!taken && notTaken)
                                                notTaken();
                                        });
}

} // namespace zep
