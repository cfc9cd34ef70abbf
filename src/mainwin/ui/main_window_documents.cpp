// The main window's document list: building and filtering its query, sorting by a header click,
// the icons and resubmission marks of its first column, and "Dokument erledigt".
#include "app/clock.h"
#include "app/interaction.h"
#include "app/program.h"
#include "app/program_info.h"
#include "app/ui/help_window.h"
#include "controls/ui/db_grid3.h"
#include "controls/ui/drag_state.h"
#include "controls/ui/icon_list_painter.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "data/tdm1.h"
#include "documents/document_path.h"
#include "documents/dropped_files.h"
#include "documents/ui/add_document_dialog.h"
#include "documents/ui/column_arrangement_dialog.h"
#include "documents/ui/copy_document_dialog.h"
#include "documents/ui/document_delete_dialog.h"
#include "documents/ui/document_detail_dialog.h"
#include "documents/ui/new_document_dialog.h"
#include "documents/ui/new_note_dialog.h"
#include "mainwin/document_list.h"
#include "mainwin/document_move.h"
#include "mainwin/entry_filter.h"
#include "mainwin/resubmission.h"
#include "mainwin/ui/main_window.h"
#include "serial/ui/serial_letter_window.h"

#include "mainwin/ui/resubmission_marks.h"
#include "mainwin/ui/tree_mirror.h"
#include "mainwin/ui/tree_nodes.h"
#include "mainwin/window_texts.h"

#include <QApplication>
#include <QPainter>
#include <QTreeWidget>

namespace zep {

namespace {

// The wait cursor while the query runs; restored on every path.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

void showListError(const QString& message) {
    Interaction::instance().error(message, ApplicationName.toString());
}

// Where the first column's pictures go, relative to its cell.
constexpr QPoint IconOffset(2, 1);
constexpr QPoint MarkOffset(20, 1);
constexpr QPoint OverdueOffset(30, 1);

} // namespace

void MainWindow::setUpDocumentList() {
    TT01 = new ColumnArrangementDialog(this);
    connect(TT01, &ColumnArrangementDialog::rebuildRequested, this, [this] { reloadDocumentList(true, false); });
    connect(TT01, &ColumnArrangementDialog::sortColumnReset, this, [this] { sortColumn_ = 0; });
    connect(TT01, &ColumnArrangementDialog::helpRequested, this,
            [this](const QString& topic) { ShowHelp(topic, TT01); });
    TS01 = std::make_unique<SerialLetterWindow>();
    connect(D_Grid, &TDBGrid3::OnHeaderClick, this, &MainWindow::D_GridHeaderClick);
    connect(D_Grid, &TDBGrid3::OnDrawCell, this, &MainWindow::D_GridDrawCell);
    connect(D_Grid, &TDBGrid3::OnCTRLChanged, this, &MainWindow::D_GridCTRLChanged);
    connect(D_Grid, &TDBGrid3::OnEndDrag, this, &MainWindow::D_GridEndDrag);
    connect(D_Grid, &TDBGrid3::OnDragFiles, this, &MainWindow::D_GridDragFiles);
}

void MainWindow::reloadDocumentList(bool requery, bool filter) {
    if (dm_ == nullptr)
        return;
    Query& query = dm_->dm1().QDok;
    DocumentList list(query);
    QString message;
    try {
        if (requery || !query.isActive()) {
            const WaitCursor wait;
            message = list.rebuild(TT01->arrangement(), sortColumn_, sortDescending_,
                                   filter ? viewFilterText() : std::nullopt);
        } else if (const std::optional<QString> text = filter ? viewFilterText() : std::nullopt) {
            list.setFilter(*text);
        } else {
            return;
        }
    } catch (const EngineError& e) {
        message = e.message();
    }
    applyDocumentRule(query.recordCount());
    if (!message.isEmpty())
        showListError(message);
}

void MainWindow::RefreshDocumentList() {
    if (dm_ == nullptr)
        return;
    Query& query = dm_->dm1().QDok;
    QString message;
    try {
        const WaitCursor wait;
        message = DocumentList(query).refresh(TT01->arrangement());
    } catch (const EngineError& e) {
        message = e.message();
    }
    applyDocumentRule(query.recordCount());
    if (!message.isEmpty())
        showListError(message);
}

bool MainWindow::locateDocument(qint64 nr) {
    return dm_ != nullptr && DocumentList(dm_->dm1().QDok).locate(nr);
}

// The resubmission tree's node in the documents view, the selected entry (and its sub-entries)
// otherwise; nothing while no node is selected.
std::optional<QString> MainWindow::viewFilterText() const {
    QTreeWidgetItem* selected = viewState_.tree ? viewState_.tree->currentItem() : nullptr;
    if (selected == nullptr)
        return std::nullopt;
    if (viewState_.view == ViewState::Documents)
        return resubmissionFilterText(selected->text(0), Clock::today());
    const bool isRoot = isRootNode(selected);
    const bool withSubEntries = showSubEntries();
    // The root's filter is one term, and without sub-entries none is listed: no walk for those.
    QList<int> descendants;
    const TreeModel::Node* entry = entryOf(selected);
    if (withSubEntries && !isRoot && entry != nullptr)
        for (const qint32 number : treeModel(*viewState_.tree).descendantNumbers(entry))
            descendants << number;
    const QString linkField = viewState_.linkField.isEmpty() ? QStringLiteral("NrFirma") : viewState_.linkField;
    return entryFilterText(linkField, nodeNumber(selected), isRoot, withSubEntries, descendants);
}

// A click on a heading sorts by that column and turns the direction round, also for a new column.
void MainWindow::D_GridHeaderClick(int column, int) {
    const bool nodeSelected = viewState_.tree != nullptr && viewState_.tree->currentItem() != nullptr;
    const int arranged = dm_ == nullptr ? -1 : arrangedColumnOfGridColumn(dm_->dm1().QDok, TT01->arrangement(), column);
    if (!nodeSelected || arranged < 0)
        return;
    sortColumn_ = arranged;
    sortDescending_ = !sortDescending_;
    reloadDocumentList(true, false);
}

void MainWindow::D_GridDrawCell(int column, QPainter& painter, const QRect& cell, int, int row) {
    if (column != 0 || dm_ == nullptr)
        return;
    const Query& query = dm_->dm1().QDok;
    const auto value = [&query, row](QStringView name) {
        const int position = query.fieldPosition(name);
        return position < 0 ? QVariant() : query.valueAt(row, position);
    };
    const QString file = ResolveDocumentPath(value(u"Datei").toString(), Program::instance().client.FilesDir).path;
    if (!iconPainter_)
        iconPainter_ = std::make_unique<TIconListPainter>(dm_->IList);
    const QPoint origin = cell.topLeft();
    iconPainter_->drawSmall(value(u"Ext").toString(), file, painter, origin.x() + IconOffset.x(),
                            origin.y() + IconOffset.y());
    const QString type = value(u"WTyp").toString();
    const std::optional<int> mark = resubmissionMark(type);
    if (!mark)
        return;
    painter.drawPixmap(origin + MarkOffset, resubmissionMarkPixmap(*mark));
    if (resubmissionOverdue(type, value(u"WTag"), value(u"WDatum"), Clock::today()))
        painter.drawPixmap(origin + OverdueOffset, resubmissionMarkPixmap(OverdueMark));
}

// A note goes under the entry selected in the address or topic view; the list then stands on it.
void MainWindow::newNote() {
    QTreeWidgetItem* selected = viewState_.tree ? viewState_.tree->currentItem() : nullptr;
    if (dm_ == nullptr || viewState_.view == ViewState::Documents || selected == nullptr ||
        viewState_.linkField.isEmpty())
        return;
    NewNoteDialog dialog(*dm_, viewState_.linkField, nodeNumber(selected), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    RefreshDocumentList();
    locateDocument(dialog.noteNumber());
}

// A new document goes under the entry selected in the address or topic view; the list then stands on
// it and it opens. A document the list cannot find is not opened: the current one would be another.
void MainWindow::newDocument() {
    QTreeWidgetItem* selected = viewState_.tree ? viewState_.tree->currentItem() : nullptr;
    if (dm_ == nullptr || viewState_.view == ViewState::Documents || selected == nullptr ||
        viewState_.linkField.isEmpty())
        return;
    const Program& program = Program::instance();
    NewDocumentDialog dialog(*dm_, viewState_.linkField, nodeNumber(selected), program.client.FilesDir,
                             program.paths.templates, *launcher_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    RefreshDocumentList();
    if (locateDocument(dialog.documentNumber()))
        OpenDocument(DocumentVerb::Open);
}

// The detail steps through the list; afterwards the list is read anew and stands on the document the
// detail showed last.
void MainWindow::showDocumentDetail() {
    if (!listHasDocuments())
        return;
    Query& query = dm_->dm1().QDok;
    // A step off either end of the list moves nothing.
    DocumentDetailDialog dialog(
        *dm_, [&query](int step) { query.moveBy(step); }, this);
    dialog.exec();
    const qint64 nr = dm_->TDok.field(u"Nr").asInteger();
    RefreshDocumentList();
    locateDocument(nr);
}

// After a deletion the list is read anew and stands on the row the deleted document held, or on the
// last row when the deleted document was the last.
void MainWindow::deleteCurrentDocument() {
    if (!listHasDocuments())
        return;
    Query& query = dm_->dm1().QDok;
    const int row = query.recNo();
    const bool resubmissionView = viewState_.view == ViewState::Documents;
    const QString linkField = viewState_.linkField.isEmpty() ? QStringLiteral("NrFirma") : viewState_.linkField;
    DocumentDeleteDialog dialog(dm_->TDok, resubmissionView, linkField, Program::instance().client.FilesDir, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    RefreshDocumentList();
    if (query.isActive() && !query.isEmpty())
        query.setRecNo(row);
}

// The document is filed under the other entry; the list is read anew and keeps its row.
void MainWindow::moveDocument(int number) {
    if (!listHasDocuments() || viewState_.linkField.isEmpty() || currentDocumentFileRefused())
        return;
    Query& query = dm_->dm1().QDok;
    const int row = query.recNo();
    try {
        if (!linkDocumentToEntry(dm_->TDok, viewState_.linkField, number))
            return;
    } catch (const EngineError& e) {
        showListError(e.message());
        return;
    }
    RefreshDocumentList();
    if (query.isActive())
        query.setRecNo(row);
}

void MainWindow::copyDocument(int number) {
    if (!listHasDocuments() || currentDocumentFileRefused())
        return;
    if (!copyDialogRunner_)
        return;
    const qint64 nr = dm_->dm1().QDok.field(u"Nr").asInteger();
    copyDialogRunner_(number, this);
    RefreshDocumentList();
    locateDocument(nr);
}

// The copy goes under the target entry of the active tree; TN07 reads the current document of TDok.
void MainWindow::runCopyDialog(int targetNumber, QWidget* parent) {
    if (dm_ == nullptr || viewState_.linkField.isEmpty())
        return;
    try {
        CopyDocumentDialog dialog(*dm_, viewState_.linkField, targetNumber, Program::instance().client.FilesDir,
                                  parent);
        dialog.exec();
    } catch (const EngineError& e) {
        showListError(e.message());
    }
}

void MainWindow::fetchDocuments() {
    if (dm_ == nullptr || viewState_.view == ViewState::Documents || !fileAdder_)
        return;
    const QStringList paths =
        Interaction::instance().openFileNames(fetchDocumentsCaption(), QString(), QStringLiteral("Alle Dateien (*)"));
    if (!paths.isEmpty())
        fileAdder_(paths);
}

// Files go under the entry selected in the address or topic view; the list then stands on the
// document filed (the last one of several).
void MainWindow::addFiles(const QStringList& paths) {
    QTreeWidgetItem* selected = viewState_.tree ? viewState_.tree->currentItem() : nullptr;
    if (dm_ == nullptr || viewState_.view == ViewState::Documents || selected == nullptr ||
        viewState_.linkField.isEmpty())
        return;
    const FilingTarget target{viewState_.linkField, nodeNumber(selected), Program::instance().client.FilesDir};
    const qint64 nr = addDocuments(*dm_, target, paths, this);
    if (nr == 0)
        return;
    RefreshDocumentList();
    locateDocument(nr);
}

void MainWindow::D_GridCTRLChanged(bool pressed) {
    if (!D_Grid->isDragging())
        return;
    setCopyDrag(pressed);
    showDragCursor(*D_Grid, pressed);
}

void MainWindow::D_GridEndDrag() {
    D_Grid->setDragCursor(DragCursorMove);
    D_Grid->setCtrlState(false);
    setCopyDrag(false);
}

// Directories cannot be filed; the rest goes to the filing dialogs with the window in front.
void MainWindow::D_GridDragFiles(const QStringList& paths) {
    const QStringList files = filesAmongDropped(paths);
    if (files.isEmpty() || !fileAdder_)
        return;
    raise();
    activateWindow();
    fileAdder_(files);
}

// "Dokument erledigt" on the current document, then back to the same row of the refreshed list.
void MainWindow::documentDone() {
    if (!listHasDocuments())
        return;
    Query& query = dm_->dm1().QDok;
    const int row = query.recNo();
    try {
        markResubmissionDone(dm_->TDok, Clock::today());
    } catch (const EngineError& e) {
        // A refused post must not stay pending, to be posted by the next move of the table.
        if (dm_->TDok.isEditing())
            dm_->TDok.cancel();
        showListError(e.message());
    }
    RefreshDocumentList();
    if (query.isActive())
        query.setRecNo(row);
}

void MainWindow::editColumnArrangement() {
    TT01->exec();
}

} // namespace zep
