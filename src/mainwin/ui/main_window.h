#pragma once

#include "documents/associations.h"
#include "mainwin/ui/tree_host.h"
#include "mainwin/ui/view_state.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QSplitter;
class QStackedWidget;
class QTabBar;
class QTextEdit;
class QTimer;
class QToolButton;
class QWidget;

namespace zep {

class ColumnArrangementDialog;
class PrintSpooler;
class ProgramLauncher;
class SerialLetterWindow;
class NoteEdit;
class Query;
class TDBGrid3;
class TDM;
class TIconListPainter;
class TOverPanel;
class TTreeView2;
class TreeHandlers;

// The program's one top-level window (TM01): the trees on the left, the document list with the note
// of the current document on the right, and the commands of every other window.
class MainWindow : public QMainWindow, public TreeHost {
    Q_OBJECT

public:
    // Opens a client: (program key, current client name, mode) -> a client is open afterwards.
    using ClientOpener = std::function<bool(const QString& programKey, const QString& currentName, int mode)>;

    // Builds the window and restores its layout from "zep.ini" (FormCreate). The data module is
    // created after the window and attached with setDataModule before the window is shown.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    void setDataModule(TDM* dm);
    // Replaces the client list of the installation (tests).
    void setClientOpener(ClientOpener opener);
    // The large note editor: edits a text file, returns non-zero when it changed it.
    using NoteEditorRunner = std::function<int(const QString& path, QWidget* parent)>;
    void setNoteEditorRunner(NoteEditorRunner runner) { noteEditorRunner_ = std::move(runner); }
    // The copy dialog for the current document and a target entry's number.
    using CopyDialogRunner = std::function<void(int targetNumber, QWidget* parent)>;
    void setCopyDialogRunner(CopyDialogRunner runner) { copyDialogRunner_ = std::move(runner); }
    // The tree picker: (caption, tree file) -> the chosen entry's number, 0 for none.
    using EntryPicker = std::function<int(const QString& caption, const QString& treeFile, QWidget* parent)>;
    void setEntryPicker(EntryPicker picker) { entryPicker_ = std::move(picker); }
    // Files the listed files under the selected entry; without it the list refuses dropped files.
    using FileAdder = std::function<void(const QStringList& paths)>;
    void setFileAdder(FileAdder adder) { fileAdder_ = std::move(adder); }

    // Operations other windows call.
    void SelectView(int view);
    // False when no client is open afterwards; the window is then closed.
    bool SwitchClient(const QString& clientName, int mode);
    void SetCurrentAddressTemplate(int nr);
    // Puts the current address on the clipboard in the current template's form; nothing without one.
    void CopyAddressToClipboard();
    // Opens, plays or prints the current document (Btn_D_Open, a double click, PD_Play, PD_Print).
    void OpenDocument(DocumentVerb mode);
    // Replaces the starter of programs (tests).
    void setProgramLauncher(std::unique_ptr<ProgramLauncher> launcher);
    int currentAddressTemplate() const { return currentAddressTemplate_; }
    // Hands a file to a running application without waiting for it; false when nothing was sent (no "%1"
    // in the template, no session bus). notTaken runs later when the application refuses or does not answer.
    bool ExecuteDdeCommand(bool setApplication, const QString& applicationPath, const QString& service,
                           const QString& topic, const QString& commandTemplate, const QString& fileName,
                           std::function<void()> notTaken = {});
    void applyDocumentsViewRule();
    // Entry commands of the address and topic views; edit and delete only with a proper entry.
    void newEntry();
    void editEntry();
    void deleteEntry();
    bool properEntrySelected() const;
    // Runs the tree-change handler of the active tree.
    void activeTreeChanged();
    // After every load, refresh or re-filter of the document list, with its record count.
    void applyDocumentRule(int count);

    // Sort state of the document list.
    int sortColumn() const { return sortColumn_; }
    bool sortDescending() const { return sortDescending_; }
    void setSortState(int column, bool descending);
    bool showSubEntries() const; // Btn_D_All is down

    // The document list: reopened with unchanged SQL and filter (it stands on its first record
    // afterwards), and moved to a document by its Nr (nothing moves when there is none).
    void RefreshDocumentList();
    bool locateDocument(qint64 nr);
    // TT01, the live column arrangement of the list.
    ColumnArrangementDialog& columnArrangement() { return *TT01; }
    // TS01, the serial-letter window.
    SerialLetterWindow& serialLetterWindow() { return *TS01; }

    // TreeHost
    const ViewState& viewState() const override { return viewState_; }
    TDM& dataModule() override;
    TTreeView2& addressTree() override { return *TVA; }
    TTreeView2& topicTree() override { return *TVB; }
    TTreeView2& documentTree() override { return *TVD; }
    bool treeLoading() const override { return treeLoading_; }
    void setTreeLoading(bool loading) override { treeLoading_ = loading; }
    bool copyDrag() const override { return copyDrag_; }
    void setCopyDrag(bool copy) override { copyDrag_ = copy; }
    void setViewTabCaption(int tabIndex, const QString& caption) override;
    void applyEntryRule(bool properEntrySelected) override;
    void reloadDocumentList(bool requery, bool filter) override;
    void showAddressSummary() override;
    void clearAddressSummary() override;
    void setGridAcceptsFiles(bool accept) override;
    void moveDocument(int number) override;
    void copyDocument(int number) override;
    bool currentDocumentIsNote() override;
    bool fileDropsCarriedOut() const override { return static_cast<bool>(fileAdder_); }

    // The selection list of the address printing: the selected address and what the flags add below it.
    QStringList addressPrintSelection(bool withDescendants, bool withMainEntries);

    NoteEdit& noteEditor() { return *RE; }
    TDBGrid3& documentGrid() { return *D_Grid; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void buildLayout();
    QWidget* buildTopStrip();
    QWidget* buildTreePane();
    QWidget* buildDocumentPane();
    void buildMenus();
    void buildPopupMenus();
    void connectControls();
    void restoreLayout();
    void restoreFonts();
    void applyPaneSizes();

    void TimerZeitTimer();
    void TimerSysTimer();
    void Tab00Change(int index);
    void BoxAdrVorCloseUp(int index);
    void Button1Click();
    void D_BtnClick(QObject* sender);
    void B_BtnClick(QObject* sender);
    void MKat_DokArtClick(QObject* sender);
    void MTool_Click(QObject* sender);
    void MHelp_Click(QObject* sender);
    void D_GridDblClick();
    void setUpDocumentList();
    void D_GridHeaderClick(int column, int row);
    void D_GridDrawCell(int column, QPainter& painter, const QRect& cell, int fieldPosition, int row);
    void D_GridCTRLChanged(bool pressed);
    void D_GridEndDrag();
    void D_GridDragFiles(const QStringList& paths);
    std::optional<QString> viewFilterText() const;
    void documentDone();
    void editColumnArrangement();
    void editApplications();
    void editAddressTemplates();

    bool openClient(const QString& clientName, int mode);
    bool openClientFromList(const QString& clientName, int mode);
    void loadTrees();
    void loadEntryTree(TTreeView2& tree, const QString& path, const QString& rootCaption);
    void chooseStartView();
    void fillAddressTemplates();
    void showAddressTemplate(int nr);
    void listFont();
    void treeFont();
    void saveCopy();
    void deleteCurrentDocument();
    void newDocument();
    void newNote();
    void showDocumentDetail();
    void serialLetter();
    void moveToEntry();
    void copyToEntry();
    void runCopyDialog(int targetNumber, QWidget* parent);
    // "Dokument holen": files chosen in a file dialog go to the filing dialogs.
    void fetchDocuments();
    void addFiles(const QStringList& paths);
    void about();
    void externalNoteEditor();
    void rebuildActiveTree();
    void importDbase();
    void exportDbase();
    bool listHasDocuments() const;
    // True, after telling why, when the current document is no note and its Datei names no file of the
    // client.
    bool currentDocumentFileRefused();
    QObject* namedControl(const QString& name);
    void setEnabledByName(const QStringList& names, bool enabled);
    // Without an open client every command that needs one is disabled; the other rules enable
    // nothing until a client is open.
    void applyClientRule(bool clientOpen);
    QString programKey() const;

    TDM* dm_ = nullptr;
    ClientOpener clientOpener_;
    NoteEditorRunner noteEditorRunner_;
    CopyDialogRunner copyDialogRunner_;
    EntryPicker entryPicker_;
    FileAdder fileAdder_;
    QHash<QString, QPointer<QObject>> namedControls_;
    ViewState viewState_;
    TreeHandlers* treeHandlers_ = nullptr;
    ColumnArrangementDialog* TT01 = nullptr;
    std::unique_ptr<SerialLetterWindow> TS01;
    std::unique_ptr<TIconListPainter> iconPainter_; // on the data module's IList
    std::unique_ptr<ProgramLauncher> launcher_;
    std::unique_ptr<PrintSpooler> printSpooler_;
    int sortColumn_ = 0;
    bool sortDescending_ = false;
    bool copyDrag_ = false;
    bool treeLoading_ = false;
    int currentAddressTemplate_ = 0;
    bool shownOnce_ = false;
    bool clientOpen_ = false;
    int treeWidth_ = 0;     // PnlBaum, as stored
    int addressHeight_ = 0; // PnlAdress, as stored

    // Components under their names.
    QWidget* ToolBar4 = nullptr;
    QLabel* PnlDate = nullptr;
    QLabel* PnlTime = nullptr;
    QLabel* PnlRAM = nullptr;
    QLabel* PnlPage = nullptr;
    QLabel* PnlDisk = nullptr;
    QComboBox* BoxAdrVor = nullptr;
    QToolButton* BtnAdrCopy = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* PnlBaum = nullptr;
    QTabBar* Tab00 = nullptr;
    QStackedWidget* treeStack_ = nullptr;
    TTreeView2* TVA = nullptr;
    TTreeView2* TVB = nullptr;
    TTreeView2* TVD = nullptr;
    QWidget* B_Tool1 = nullptr;
    QLineEdit* Edit_B_Such = nullptr;
    QWidget* ToolBar2 = nullptr;
    TOverPanel* PnlOverOben = nullptr;
    TOverPanel* PnlOverUnten = nullptr;
    QSplitter* Splitter2 = nullptr;
    QWidget* PnlAdress = nullptr;
    QTextEdit* REAdr = nullptr;
    QLabel* Image1 = nullptr;
    QWidget* PnlDok = nullptr;
    QTabBar* Tab22 = nullptr;
    QWidget* D_Tool1 = nullptr;
    QToolButton* Btn_D_All = nullptr;
    TDBGrid3* D_Grid = nullptr;
    QSplitter* Splitter = nullptr;
    QWidget* PnlNotiz = nullptr;
    NoteEdit* RE = nullptr;
    QTimer* TimerZeit = nullptr;
    QTimer* TimerSys = nullptr;
    QMenu* MA_Menu = nullptr;
    QMenu* MT_Menu = nullptr;
    QMenu* PA_Menu = nullptr;
    QMenu* PT_Menu = nullptr;
    QMenu* PD_Menu = nullptr;
};

} // namespace zep
