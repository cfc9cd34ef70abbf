#include "addresses/ui/address_templates_dialog.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/safe_file.h"
#include "app/ui/help_window.h"
#include "clients/client_opening.h"
#include "clients/ui/client_list_dialog.h"
#include "controls/ui/db_grid3.h"
#include "controls/ui/icon_list_painter.h"
#include "controls/ui/over_panel.h"
#include "controls/ui/tree_view2.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/services.h"
#include "data/table_upgrade.h"
#include "data/tdm.h"
#include "data/tdm1.h"
#include "documents/document_opening.h"
#include "documents/document_path.h"
#include "documents/filing_recovery.h"
#include "documents/process_launcher.h"
#include "documents/ui/application_choice_dialog.h"
#include "documents/ui/application_list_dialog.h"
#include "documents/ui/open_with_dialog.h"
#include "documents/ui/print_target.h"
#include "mainwin/tree_texts.h"
#include "mainwin/ui/main_note_editor.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_handlers.h"
#include "mainwin/ui/tree_mirror.h"
#include "mainwin/ui/tree_nodes.h"
#include "mainwin/window_texts.h"
#include "printing/ui/print_windows.h"
#include "serial/ui/serial_letter_window.h"
#include "tools/address_dbase.h"
#include "tools/ui/backup_dialog.h"
#include "tools/ui/catalog_dialog.h"
#include "tools/ui/options_dialog.h"
#include "tools/ui/tree_rebuild_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace zep {

namespace {

FontDescription fontDescriptionOf(const QFont& font) {
    return FontDescription{font.family(),    font.bold(),      font.italic(),
                           font.underline(), font.strikeOut(), font.pointSize()};
}

QFont fontOf(const FontDescription& entry, QFont font) {
    if (!entry.name.isEmpty())
        font.setFamily(entry.name);
    font.setBold(entry.bold);
    font.setItalic(entry.italic);
    font.setUnderline(entry.underline);
    font.setStrikeOut(entry.strikeOut);
    if (entry.pointSize > 0)
        font.setPointSize(entry.pointSize);
    return font;
}

void inform(const QString& text) {
    Interaction::instance().information(text, ApplicationName.toString());
}

bool isSender(const QObject* sender, QStringView name) {
    return sender->objectName() == name;
}

} // namespace

void MainWindow::connectControls() {
    for (QToolButton* button : D_Tool1->findChildren<QToolButton*>())
        connect(button, &QToolButton::clicked, this, [this, button] { D_BtnClick(button); });
    auto* notiz = findChild<QToolButton*>(QStringLiteral("Btn_D_Notiz"));
    connect(notiz, &QToolButton::clicked, this, [this, notiz] { D_BtnClick(notiz); });
    for (QWidget* bar : {B_Tool1, ToolBar2}) {
        for (QToolButton* button : bar->findChildren<QToolButton*>())
            connect(button, &QToolButton::clicked, this, [this, button] { B_BtnClick(button); });
    }
    connect(Edit_B_Such, &QLineEdit::textChanged, this, [this] { B_BtnClick(Edit_B_Such); });
    connect(Tab00, &QTabBar::currentChanged, this, &MainWindow::Tab00Change);
    connect(BoxAdrVor, &QComboBox::activated, this, &MainWindow::BoxAdrVorCloseUp);
    connect(BtnAdrCopy, &QToolButton::clicked, this, &MainWindow::Button1Click);
    connect(TimerZeit, &QTimer::timeout, this, &MainWindow::TimerZeitTimer);
    connect(TimerSys, &QTimer::timeout, this, &MainWindow::TimerSysTimer);
    connect(D_Grid, &TDBGrid3::doubleClicked, this, &MainWindow::D_GridDblClick);
    connect(D_Grid, &TDBGrid3::keyPressed, this, [this](int key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            D_GridDblClick();
    });
    for (TOverPanel* strip : {PnlOverOben, PnlOverUnten}) {
        connect(strip, &TOverPanel::OnBeginOver, this, [this, strip] { treeHandlers_->PnlOverObenBeginOver(strip); });
        connect(strip, &TOverPanel::OnEndOver, this, [this, strip] { treeHandlers_->PnlOverObenEndOver(strip); });
        connect(strip, &TOverPanel::OnDragEnter, this,
                [this, strip] { treeHandlers_->PnlOverObenDragOver(strip, StripDragState::Enter); });
        connect(strip, &TOverPanel::OnDragLeave, this,
                [this, strip] { treeHandlers_->PnlOverObenDragOver(strip, StripDragState::Leave); });
    }
}

void MainWindow::D_BtnClick(QObject* sender) {
    if (isSender(sender, u"Btn_D_Font") || isSender(sender, u"MD_Font"))
        listFont();
    else if (isSender(sender, u"Btn_D_All"))
        reloadDocumentList(false, true);
    else if (isSender(sender, u"Btn_D_Done"))
        documentDone();
    else if (isSender(sender, u"Btn_D_Tab") || isSender(sender, u"MD_Tab"))
        editColumnArrangement();
    else if (isSender(sender, u"PD_Save") || isSender(sender, u"MD_Save"))
        saveCopy();
    else if (isSender(sender, u"Btn_D_Book") || isSender(sender, u"MD_Book") || isSender(sender, u"PD_Book"))
        showDocumentDetail();
    else if (isSender(sender, u"Btn_D_NeuDok") || isSender(sender, u"MD_NeuDok"))
        newDocument();
    else if (isSender(sender, u"Btn_D_NeuNot") || isSender(sender, u"MD_NeuNot"))
        newNote();
    else if (isSender(sender, u"Btn_D_Holen") || isSender(sender, u"MD_Holen"))
        fetchDocuments();
    else if (isSender(sender, u"Btn_D_Del") || isSender(sender, u"MD_Del") || isSender(sender, u"PD_Del"))
        deleteCurrentDocument();
    else if (isSender(sender, u"PD_Move") || isSender(sender, u"MD_Move"))
        moveToEntry();
    else if (isSender(sender, u"PD_Copy") || isSender(sender, u"MD_Copy"))
        copyToEntry();
    else if (isSender(sender, u"MSer_Word"))
        serialLetter();
    else if (isSender(sender, u"Btn_D_Notiz"))
        externalNoteEditor();
    else if (isSender(sender, u"Btn_D_Open") || isSender(sender, u"MD_Open") || isSender(sender, u"PD_Open"))
        OpenDocument(DocumentVerb::Open);
    else if (isSender(sender, u"PD_Play"))
        OpenDocument(DocumentVerb::Play);
    else if (isSender(sender, u"PD_Print"))
        OpenDocument(DocumentVerb::Print);
}

void MainWindow::B_BtnClick(QObject* sender) {
    const QString name = sender->objectName();
    if (name.endsWith(QStringLiteral("_Font")))
        treeFont();
    else if (name == QStringLiteral("Edit_B_Such"))
        treeHandlers_->searchFromStart(Edit_B_Such->text());
    else if (name == QStringLiteral("Btn_B_Such"))
        treeHandlers_->searchOn(Edit_B_Such->text());
    else if (name == QStringLiteral("Btn_B_KlappAuf"))
        treeHandlers_->expandSelected();
    else if (name == QStringLiteral("Btn_B_KlappZu"))
        treeHandlers_->collapseSelected();
    else if (name == QStringLiteral("MA_Vorlage"))
        editAddressTemplates();
    else if (name.endsWith(QStringLiteral("_Neu")))
        newEntry();
    else if (name.endsWith(QStringLiteral("_Edit")))
        editEntry();
    else if (name.endsWith(QStringLiteral("_Del")))
        deleteEntry();
    else if (name.endsWith(QStringLiteral("_PrintAdr")))
        PrintAddresses(*this);
    else if (name.endsWith(QStringLiteral("_PrintBrief")))
        PrintEnvelope(*this);
}

QStringList MainWindow::addressPrintSelection(bool withDescendants, bool withMainEntries) {
    QStringList lines;
    treeHandlers_->ListSubtreeEntries(lines, withDescendants, withMainEntries);
    return lines;
}

// The catalog editor edits the catalog that belongs to the item.
void MainWindow::MKat_DokArtClick(QObject* sender) {
    if (const int number = catalogOfMenuItem(sender->objectName()))
        EditCatalog(number, this);
}

void MainWindow::MTool_Click(QObject* sender) {
    if (isSender(sender, u"MTool_Mand"))
        SwitchClient(Program::instance().client.ClientName, -1);
    else if (isSender(sender, u"MTool_Option"))
        EditOptions(this);
    else if (isSender(sender, u"MTool_Sicher"))
        ShowBackupWindow(Program::instance().client.DataDir, Program::instance().client.BackupDir, this);
    else if (isSender(sender, u"MTool_Baum") && viewState_.hasTable())
        rebuildActiveTree();
    else if (isSender(sender, u"MTool_ImpDBF"))
        importDbase();
    else if (isSender(sender, u"MTool_ExpDBF"))
        exportDbase();
    else if (isSender(sender, u"MTool_Anw"))
        editApplications();
}

// The addresses of the file become top-level entries once the user has seen how their names read;
// the table and the address tree are read anew.
void MainWindow::importDbase() {
    const TMand& client = Program::instance().client;
    const QString path =
        Interaction::instance().openFileName(QStringLiteral("dBase-Datei importieren"), QDir::homePath(),
                                             QStringLiteral("dBase-Dateien (*.dbf *.DBF);;Alle Dateien (*)"));
    if (path.isEmpty())
        return;
    setTreeLoading(true);
    const auto loaded = qScopeGuard([this] { setTreeLoading(false); });
    try {
        const AddressImport import = readAddressImport(path);
        if (!confirmAddressImport(import, Interaction::instance()))
            return;
        const int count = importAddresses(import, client.DataDir, client.AdrTreeFile);
        inform(count == 1 ? QStringLiteral("Eine Adresse wurde importiert.")
                          : QStringLiteral("%1 Adressen wurden importiert.").arg(count));
    } catch (const FileError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
    } catch (const EngineError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
    }
    if (dm_ != nullptr)
        dm_->TAdr.refresh();
    loadEntryTree(*TVA, client.AdrTreeFile, QStringLiteral("Adressen"));
    setViewTabCaption(0, treeTabCaption(QStringLiteral("Adressen"), treeModel(*TVA).nodeCount()));
}

void MainWindow::exportDbase() {
    const QString folder =
        Interaction::instance().directory(QStringLiteral("dBase-Export: Zielordner wählen"), QDir::homePath());
    if (folder.isEmpty())
        return;
    const QString target = QDir(folder).filePath(QString::fromUtf16(AddressDbfName));
    if (QFileInfo::exists(target) &&
        Interaction::instance().askYesNo(QStringLiteral("Die Datei \"%1\" ist bereits vorhanden.\nSoll sie "
                                                        "überschrieben werden?")
                                             .arg(QDir::toNativeSeparators(target)),
                                         ApplicationName.toString()) != Answer::Yes)
        return;
    try {
        const int count = exportAddresses(Program::instance().client.DataDir, folder, QDate::currentDate());
        inform(QStringLiteral("%1 Adressen wurden nach \"%2\" exportiert.")
                   .arg(count)
                   .arg(QDir::toNativeSeparators(target)));
    } catch (const FileError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
    } catch (const EngineError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
    }
    if (TVA->topLevelItemCount() > 0)
        TVA->setCurrentItem(TVA->topLevelItem(0));
}

// The tree is reloaded without a tree-change handler: list and summary stay until a node is chosen.
void MainWindow::rebuildActiveTree() {
    TTreeView2& tree = viewState_.view == ViewState::Addresses ? *TVA : *TVB;
    const TreeRebuildJob job{viewState_.table->directory(), viewState_.table->tableName(),
                             viewState_.view == ViewState::Topics, viewState_.treeFile};
    if (!RebuildTree(job, viewState_.rootCaption, this))
        return;
    setTreeLoading(true);
    const auto loaded = qScopeGuard([this] { setTreeLoading(false); });
    loadEntryTree(tree, viewState_.treeFile, viewState_.rootCaption);
    setViewTabCaption(viewState_.tabIndex, treeTabCaption(viewState_.rootCaption, treeModel(tree).nodeCount()));
}

void MainWindow::MHelp_Click(QObject* sender) {
    if (isSender(sender, u"MHelp_Uber"))
        about();
    else if (isSender(sender, u"MHelp_View"))
        ShowHelp({}, this);
    else if (isSender(sender, u"MHelp_Tips"))
        ShowHelp(QStringLiteral("tip010"), this);
    else if (isSender(sender, u"MHelp_Support"))
        ShowHelp(QStringLiteral("zep050"), this);
}

void MainWindow::Button1Click() {
    CopyAddressToClipboard();
}

void MainWindow::D_GridDblClick() {
    OpenDocument(DocumentVerb::Open);
}

void MainWindow::OpenDocument(DocumentVerb mode) {
    if (!listHasDocuments())
        return;
    OpeningWindows windows;
    windows.chooseApplication = [this] {
        return OpenWithDialog::choose(dm_->DPro, this);
    };
    windows.chooseOtherApplication = [this](const QString& path, const QString& ext,
                                            const QList<DesktopApplication>& applications) {
        return ApplicationChoiceDialog::choose(path, ext, applications, this);
    };
    windows.copyAddress = [this] {
        CopyAddressToClipboard();
    };
    windows.executeDde = [this](bool setApplication, const QString& program, const QString& service,
                                const QString& topic, const QString& command, const QString& fileName,
                                std::function<void()> notTaken) {
        return ExecuteDdeCommand(setApplication, program, service, topic, command, fileName, std::move(notTaken));
    };
    windows.choosePrinter = &choosePrintTarget;
    DocumentOpener opener(*dm_, Program::instance().client, dm_->associations(), *launcher_, *printSpooler_,
                          std::move(windows));
    opener.OpenDocument(mode);
}

void MainWindow::editAddressTemplates() {
    if (dm_ == nullptr || !dm_->TAdrVor.isActive())
        return;
    AddressTemplatesDialog dialog(
        *dm_, Program::instance().paths.general, [this] { return currentAddressTemplate_; },
        [this](int nr) { SetCurrentAddressTemplate(nr); }, this);
    connect(&dialog, &AddressTemplatesDialog::helpRequested, &dialog,
            [&dialog](const QString& topic) { ShowHelp(topic, &dialog); });
    dialog.exec();
    fillAddressTemplates();
    showAddressTemplate(currentAddressTemplate_);
}

// The register's icons may have changed: the list is painted again.
void MainWindow::editApplications() {
    if (dm_ == nullptr || !dm_->TPro.isActive())
        return;
    ShowApplicationList(*dm_, Program::instance().paths.templates, *launcher_, this);
    if (iconPainter_)
        iconPainter_->clearCache();
    D_Grid->viewport()->update();
}

void MainWindow::setProgramLauncher(std::unique_ptr<ProgramLauncher> launcher) {
    launcher_ = std::move(launcher);
}

void MainWindow::restoreFonts() {
    const Settings settings = Program::instance().settings();
    D_Grid->setFont(fontOf(settings.documentFont(fontDescriptionOf(D_Grid->font())), D_Grid->font()));
    PnlBaum->setFont(fontOf(settings.treeFont(fontDescriptionOf(PnlBaum->font())), PnlBaum->font()));
}

void MainWindow::listFont() {
    const std::optional<FontDescription> chosen =
        Interaction::instance().font(fontDescriptionOf(D_Grid->font()), QStringLiteral("Schriftart"));
    if (!chosen)
        return;
    D_Grid->setFont(fontOf(*chosen, D_Grid->font()));
    Program::instance().settings().setDocumentFont(*chosen);
}

void MainWindow::treeFont() {
    const std::optional<FontDescription> chosen =
        Interaction::instance().font(fontDescriptionOf(PnlBaum->font()), QStringLiteral("Schriftart"));
    if (!chosen)
        return;
    PnlBaum->setFont(fontOf(*chosen, PnlBaum->font()));
    Program::instance().settings().setTreeFont(*chosen);
}

void MainWindow::saveCopy() {
    if (!listHasDocuments())
        return;
    if (currentDocumentIsNote()) {
        inform(noteIsNoFileMessage());
        return;
    }
    if (currentDocumentFileRefused())
        return;
    const QString source =
        ResolveDocumentPath(dm_->TDok.field(u"Datei").asString(), Program::instance().client.FilesDir).path;
    const QFileInfo file(source);
    const QString suffix = file.suffix();
    const QString ext = suffix.isEmpty() ? QString() : u'.' + suffix;
    const QString filter = u'*' + ext + QStringLiteral(" (*") + ext + QStringLiteral(");;*.* (*)");
    QString target = Interaction::instance().saveFileName(QStringLiteral("Datei \"") + file.fileName() +
                                                              QStringLiteral("\" speichern unter ..."),
                                                          QDir(QDir::homePath()).filePath(file.fileName()), filter);
    if (target.isEmpty())
        return;
    // The document's extension is the default when the user typed none.
    if (QFileInfo(target).suffix().isEmpty())
        target += ext;
    FILECOPY(source, target);
}

// The target comes from the active tree; the documents view has none.
void MainWindow::moveToEntry() {
    if (!listHasDocuments() || !viewState_.hasTable())
        return;
    const int target = entryPicker_(moveTargetCaption(), viewState_.treeFile, this);
    if (target > 0)
        moveDocument(target);
}

void MainWindow::copyToEntry() {
    if (currentDocumentIsNote()) {
        inform(noteIsNoFileMessage());
        return;
    }
    if (!listHasDocuments() || !viewState_.hasTable())
        return;
    const int target = entryPicker_(copyTargetCaption(), viewState_.treeFile, this);
    if (target > 0)
        copyDocument(target);
}

void MainWindow::serialLetter() {
    if (!listHasDocuments())
        inform(noSerialLetterDocumentMessage());
    else if (currentDocumentIsNote())
        inform(noteIsNoFileMessage());
    else if (!currentDocumentFileRefused())
        TS01->showFor(*dm_, *TVA);
}

bool MainWindow::openClientFromList(const QString& clientName, int mode) {
    Program& program = Program::instance();
    ClientOpening* self = nullptr;
    ClientOpening opening(program.paths, program.registry(), dataModule(), program.client, Interaction::instance(),
                          [this, &self](int countdown) { return ShowClientDialog(*self, countdown, this); });
    self = &opening;
    opening.setTableUpgrade(&DO_UPDATE_DATA);
    opening.setFilingRecovery(&recoverFilingAtOpening);
    return opening.OpenClient(programKey(), clientName, mode);
}

// The note goes as Qt rich text through the scratch file to the large editor and, when changed there,
// back into RE as an edit of the note, which the data module stores into the document.
void MainWindow::externalNoteEditor() {
    const QString scratch = Program::instance().paths.noteScratchFile;
    try {
        writeFileSafely(scratch, RE->toHtml().toUtf8());
    } catch (const FileError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
        return;
    }
    if (noteEditorRunner_(scratch, this) == 0)
        return;
    QFile changed(scratch);
    if (!changed.open(QIODevice::ReadOnly))
        return;
    RE->setNoteText(QString::fromUtf8(changed.readAll()));
    RE->setModified(true);
}

void MainWindow::about() {
    Interaction::instance().information(aboutText(), QString());
}

} // namespace zep
