#include "serial/ui/serial_letter_window.h"

#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/ui/wait_cursor.h"
#include "app/ui/window_placer.h"
#include "controls/ui/db_grid3.h"
#include "controls/ui/tree_view2.h"
#include "data/catalog_file.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/tdm.h"
#include "mainwin/ui/tree_nodes.h"
#include "serial/serial_data_file.h"
#include "serial/serial_recipients.h"
#include "serial/serial_texts.h"
#include "serial/ui/branch_choice_dialog.h"
#include "serial/word_version.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace zep {
namespace {

constexpr int MergeFieldCatalog = 30;

struct ToolButton {
    const char16_t* name;
    const char16_t* hint;
    const char* themeIcon;
    QStyle::StandardPixmap styleIcon;
    bool withText = false; // the word processor's three commands also show their caption
};

const ToolButton ToolButtons[] = {
    {u"BtnAdrHinzu", u"Adresse hinzufügen", "contact-new", QStyle::SP_FileIcon},
    {u"BtnZweigHinzu", u"Adresszweig hinzufügen", "folder-new", QStyle::SP_FileDialogNewFolder},
    {u"BtnNavFirst", u"Erste Adresse", "go-first", QStyle::SP_MediaSkipBackward},
    {u"BtnNavPrior", u"Vorherige Adresse", "go-previous", QStyle::SP_ArrowBack},
    {u"BtnNavNext", u"Nächste Adresse", "go-next", QStyle::SP_ArrowForward},
    {u"BtnNavLast", u"Letzte Adresse", "go-last", QStyle::SP_MediaSkipForward},
    {u"BtnNavDel", u"Adresse löschen", "edit-delete", QStyle::SP_TrashIcon},
    {u"BtnWordStart", u"Starten", "media-playback-start", QStyle::SP_MediaPlay, true},
    {u"BtnWordAktual", u"Adressen aktualisieren", "view-refresh", QStyle::SP_BrowserReload, true},
    {u"BtnWordEnd", u"Beenden", "process-stop", QStyle::SP_MediaStop, true},
    {u"BtnClose", u"Fenster schließen", "window-close", QStyle::SP_DialogCloseButton},
};

QStringList loadMergeFields() {
    QStringList fields;
    try {
        LoadCatalog(fields, MergeFieldCatalog, Program::instance().paths.general);
    } catch (const FileError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
    }
    return fields;
}

void tellEngineError(const EngineError& error) {
    Interaction::instance().error(error.message(), ApplicationName.toString());
}

} // namespace

SerialLetterWindow::SerialLetterWindow()
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), mergeFields_(loadMergeFields()) {
    setObjectName(QStringLiteral("TS01"));
    setWindowTitle(serial_texts::windowCaption());
    setProperty(StatedPlaceProperty, QStringLiteral("screenRightEdge"));
    buildControls();
}

SerialLetterWindow::~SerialLetterWindow() = default;

void SerialLetterWindow::setAutomation(std::unique_ptr<Automation> automation) {
    automation_ = std::move(automation);
    makeSession();
}

void SerialLetterWindow::setClickSound(std::unique_ptr<ClickSound> sound) {
    sound_ = std::move(sound);
}

void SerialLetterWindow::makeSession() {
    session_.reset();
    if (!automation_)
        return;
    session_ = std::make_unique<WordSession>(*automation_, Interaction::instance(),
                                             Program::instance().paths.serialScratchFile);
    session_->showStatus = [this](const QString& text) {
        showStatus(text);
    };
    session_->writeDataFile = [this] {
        return writeDataFile();
    };
    session_->setVersion(wordVersion_);
}

void SerialLetterWindow::buildControls() {
    auto* group = new QGroupBox(QStringLiteral("Dokument"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = new QLabel(group);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(Label1);

    Grid = new TDBGrid3(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setFirstColOffs_X(0);
    Grid->setMarkKeyField(QStringLiteral("NR"));
    Grid->installEventFilter(this);

    auto* statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(false);
    SPnl = new QLabel(statusBar);
    SPnl->setObjectName(QStringLiteral("SPnl"));
    statusBar->addWidget(SPnl, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addWidget(group);
    layout->addWidget(buildToolBar());
    layout->addWidget(Grid, 1);
    layout->addWidget(statusBar);
    resize(430, 520);
}

QWidget* SerialLetterWindow::buildToolBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (const ToolButton& entry : ToolButtons) {
        auto* button = new QToolButton(bar);
        const QString name = QString::fromUtf16(entry.name);
        const QString hint = QString::fromUtf16(entry.hint);
        button->setObjectName(name);
        button->setToolTip(hint);
        button->setIcon(QIcon::fromTheme(QString::fromLatin1(entry.themeIcon), style()->standardIcon(entry.styleIcon)));
        button->setAutoRaise(true);
        if (entry.withText) {
            button->setText(hint);
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        }
        connect(button, &QToolButton::clicked, this, [this, name] { onToolButton(name); });
        layout->addWidget(button);
        if (name == u"BtnZweigHinzu" || name == u"BtnNavDel" || name == u"BtnWordEnd")
            layout->addSpacing(8);
    }
    layout->addStretch();
    return bar;
}

void SerialLetterWindow::showFor(TDM& dm, TTreeView2& addressTree) {
    dm_ = &dm;
    addressTree_ = &addressTree;
    wordVersion_ = readWordVersion(Program::instance().registry());
    if (session_)
        session_->setVersion(wordVersion_);
    letter_ = currentSerialLetter(dm.TDok, Program::instance().client.FilesDir);
    Label1->setText(letter_.title);
    dm.TSerie.setRange(letter_.number);
    // The recipients close with their client: the window then has no letter any more.
    disconnect(recipientsState_);
    recipientsState_ = connect(&dm.TSerie, &DataSet::stateChanged, this, [this] {
        if (!dm_->TSerie.isActive())
            close();
    });
    Grid->setDataSource(&dm.DSerie);
    Grid->clearMarks();
    fitColumn();
    show();
    raise();
    activateWindow();
}

// While the word processor is being waited for, the window still paints but runs no second command
// and does not close: a click waits for the first command to end, a close request meanwhile is refused.
void SerialLetterWindow::onToolButton(const QString& name) {
    if (sound_)
        sound_->play();
    if (!dm_ || busy_)
        return;
    bool closeWindow = name == u"BtnClose";
    if (!closeWindow) {
        const QScopedValueRollback<bool> busy(busy_, true);
        try {
            closeWindow = runCommand(name);
        } catch (const EngineError& error) {
            tellEngineError(error);
        }
    }
    if (closeWindow)
        close();
}

// True when the window is to close afterwards.
bool SerialLetterWindow::runCommand(const QString& name) {
    Table& recipients = dm_->TSerie;
    if (name == u"BtnAdrHinzu")
        BtnAdrHinzuClick();
    else if (name == u"BtnZweigHinzu")
        BtnZweigHinzuClick();
    else if (name == u"BtnNavFirst")
        recipients.first();
    else if (name == u"BtnNavPrior")
        recipients.prior();
    else if (name == u"BtnNavNext")
        recipients.next();
    else if (name == u"BtnNavLast")
        recipients.last();
    else if (name == u"BtnNavDel")
        BtnNavDelClick();
    else if (name == u"BtnWordStart")
        return session_ && session_->start(letter_.file, !recipients.isEmpty()) == WordSession::Outcome::CloseWindow;
    else if (name == u"BtnWordAktual" && session_)
        session_->refresh();
    else if (name == u"BtnWordEnd" && session_)
        session_->end();
    return false;
}

void SerialLetterWindow::BtnAdrHinzuClick() {
    addEntryRecipient(dm_->TSerie, letter_.number, entryOf(addressTree_->currentItem()));
}

void SerialLetterWindow::BtnZweigHinzuClick() {
    const TreeModel::Node* node = entryOf(addressTree_->currentItem());
    if (!node)
        return;
    BranchChoiceDialog choice(this);
    if (choice.exec() != QDialog::Accepted)
        return;
    const WaitCursor wait;
    addBranchRecipients(dm_->TSerie, letter_.number, node, choice.withAllBelow(), choice.withMainEntries());
}

void SerialLetterWindow::BtnNavDelClick() {
    Table& recipients = dm_->TSerie;
    if (recipients.isEmpty())
        return;
    Interaction& interaction = Interaction::instance();
    if (ctrlHeld_) {
        if (interaction.askYesNo(serial_texts::askRemoveAll(), ApplicationName.toString(), QuestionLook::Warning) !=
            Answer::Yes)
            return;
        removeAllRecipients(recipients);
    } else {
        if (interaction.askYesNo(serial_texts::askRemoveMarked(), ApplicationName.toString()) != Answer::Yes)
            return;
        removeRecipients(recipients, recipientsToRemove(Grid->markedKeys(), recipients));
    }
    Grid->clearMarks();
}

bool SerialLetterWindow::writeDataFile() {
    const WaitCursor wait;
    return createSerialDataFile(Program::instance().paths.serialScratchFile, mergeFields_, dm_->TSerie, dm_->TAdrSerie,
                                Interaction::instance());
}

// The one column fills the grid but for the height of a horizontal scroll bar.
void SerialLetterWindow::fitColumn() {
    if (!dm_ || !dm_->TSerie.isActive())
        return;
    const int charWidth = std::max(1, Grid->fontMetrics().horizontalAdvance(QLatin1Char('o')));
    const int width = Grid->width() - Grid->horizontalScrollBar()->sizeHint().height();
    dm_->TSerie.setDisplayWidth(u"NameAdresse", std::max(1, width / charWidth));
}

void SerialLetterWindow::showStatus(const QString& text) {
    SPnl->setText(text);
    SPnl->repaint();
}

void SerialLetterWindow::closeEvent(QCloseEvent* event) {
    if (busy_) {
        event->ignore();
        return;
    }
    if (session_)
        session_->close();
    ctrlHeld_ = false;
    QWidget::closeEvent(event);
}

// Ctrl is followed while the window is active: a key the focused control leaves alone comes here.
void SerialLetterWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        ctrlHeld_ = true;
    QWidget::keyPressEvent(event);
}

void SerialLetterWindow::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control)
        ctrlHeld_ = false;
    QWidget::keyReleaseEvent(event);
}

// A Ctrl released in another window is never seen here.
void SerialLetterWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        ctrlHeld_ = false;
    QWidget::changeEvent(event);
}

bool SerialLetterWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Grid && event->type() == QEvent::Resize)
        fitColumn();
    return QWidget::eventFilter(watched, event);
}

} // namespace zep
