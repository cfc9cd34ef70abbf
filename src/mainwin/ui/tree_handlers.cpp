#include "mainwin/ui/tree_handlers.h"

#include "addresses/entry_editor.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "controls/ui/ta_scroll.h"
#include "controls/ui/tree_view2.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/tdm.h"
#include "mainwin/tree_drop_rules.h"
#include "mainwin/tree_records.h"
#include "mainwin/tree_search.h"
#include "mainwin/tree_texts.h"
#include "mainwin/ui/tree_document_tree.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_host.h"
#include "mainwin/ui/tree_mirror.h"
#include "mainwin/ui/tree_nodes.h"
#include "mainwin/ui/tree_repaint.h"
#include "mainwin/window_texts.h"

#include <QCursor>
#include <QKeyEvent>

namespace zep {

namespace {

bool isEnterKey(const QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TreeHandlers::TreeHandlers(TreeHost& host, QObject* parent) : QObject(parent), host_(host) {}

TreeHandlers::~TreeHandlers() {
    // Not waited for: the worker may be waiting for this thread to scroll.
    if (scrollWorker_)
        scrollWorker_->Terminate();
}

void TreeHandlers::attachTrees() {
    fillDocumentTree(host_.documentTree());
    connect(&host_.documentTree(), &QTreeWidget::currentItemChanged, this, &TreeHandlers::TVDChange);
    attachEntryTree(host_.addressTree());
    attachEntryTree(host_.topicTree());
}

void TreeHandlers::attachEntryTree(TTreeView2& tree) {
    tree.installEventFilter(this);
    connect(&tree, &QTreeWidget::currentItemChanged, this, &TreeHandlers::TVAChange);
    connect(&tree, &QTreeWidget::itemExpanded, this, &TreeHandlers::TVAExpanded);
    connect(&tree, &TTreeView2::OnCTRLChanged, this, [this, &tree](bool pressed) { TVACTRLChanged(tree, pressed); });
    connect(&tree, &TTreeView2::OnDragDrop, this,
            [this, &tree](QTreeWidgetItem* target, QObject* source) { TVADragDrop(tree, target, source); });
    connect(&tree, &TTreeView2::OnEndDrag, this, [this, &tree] { TVAEndDrag(tree); });
    tree.setDragOverHandler(
        [this, &tree](QTreeWidgetItem* target, QObject* source) { return TVADragOver(tree, target, source); });
}

TTreeView2* TreeHandlers::activeTree() const {
    const QTreeWidget* tree = host_.viewState().tree;
    for (TTreeView2* candidate : {&host_.addressTree(), &host_.topicTree(), &host_.documentTree()}) {
        if (candidate == tree)
            return candidate;
    }
    return nullptr;
}

void TreeHandlers::showError(const QString& message) const {
    Interaction::instance().error(message, ApplicationName.toString());
}

bool TreeHandlers::positionOn(Table& table, QTreeWidgetItem* node) const {
    return table.findKey({nodeNumber(node)});
}

bool TreeHandlers::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterKey(event))
        return true;
    return QObject::eventFilter(watched, event);
}

void TreeHandlers::TVAChange() {
    host_.clearAddressSummary();
    host_.setGridAcceptsFiles(false);
    TTreeView2* tree = activeTree();
    const ViewState& view = host_.viewState();
    QTreeWidgetItem* selected = tree ? tree->currentItem() : nullptr;
    if (!tree || host_.treeLoading() || !selected || !view.hasTable() || !view.table)
        return;
    try {
        const int nodes = treeModel(*tree).nodeCount();
        host_.setViewTabCaption(view.tabIndex, treeTabCaption(view.rootCaption, nodes));
        const bool proper = !isRootNode(selected);
        host_.applyEntryRule(nodes > 0 && proper);
        host_.reloadDocumentList(false, true);
        if (!proper)
            return;
        if (!positionOn(*view.table, selected)) {
            showError(missingRecordMessage());
            return;
        }
        if (view.view == ViewState::Addresses)
            host_.showAddressSummary();
        host_.setGridAcceptsFiles(host_.fileDropsCarriedOut());
    } catch (const EngineError& error) {
        showError(error.message());
    }
}

void TreeHandlers::TVDChange() {
    host_.clearAddressSummary();
    TTreeView2* tree = activeTree();
    if (!tree || host_.treeLoading() || !tree->currentItem())
        return;
    try {
        host_.reloadDocumentList(false, true);
    } catch (const EngineError& error) {
        showError(error.message());
    }
}

void TreeHandlers::TVAExpanded(QTreeWidgetItem* item) {
    if (TreeModel::Node* node = entryOf(item))
        treeModel(*item->treeWidget()).sortChildren(node);
}

bool TreeHandlers::TVADragOver(TTreeView2& tree, QTreeWidgetItem* target, QObject* source) const {
    if (&tree != activeTree())
        return false;
    TreeDragSource kind = TreeDragSource::Other;
    if (source == &tree)
        kind = TreeDragSource::ActiveTree;
    else if (source && source->objectName() == u"D_Grid")
        kind = TreeDragSource::DocumentGrid;
    return acceptsTreeDrop(treeModel(tree), kind, host_.copyDrag(), entryOf(tree.currentItem()), entryOf(target));
}

void TreeHandlers::TVADragDrop(TTreeView2& tree, QTreeWidgetItem* target, QObject* source) {
    if (!target || !TVADragOver(tree, target, source))
        return;
    try {
        if (source == &tree) {
            if (!host_.copyDrag())
                MoveEntry(target);
            else
                CopyEntry(target);
        } else if (!host_.copyDrag()) {
            host_.moveDocument(nodeNumber(target));
        } else if (host_.currentDocumentIsNote()) {
            Interaction::instance().information(noteIsNoFileMessage(), ApplicationName.toString());
        } else {
            host_.copyDocument(nodeNumber(target));
        }
    } catch (const EngineError& error) {
        showError(error.message());
    }
}

void TreeHandlers::TVAEndDrag(TTreeView2& tree) {
    tree.setDragCursor(DragCursorMove);
    tree.setCtrlState(false);
    host_.setCopyDrag(false);
}

void TreeHandlers::TVACTRLChanged(TTreeView2& tree, bool pressed) {
    host_.setCopyDrag(pressed);
    showDragCursor(tree, pressed);
}

void TreeHandlers::search(TreeModel::Node* start, const QString& text) {
    TTreeView2* tree = activeTree();
    if (!tree)
        return;
    if (QTreeWidgetItem* found = itemOf(*tree, findEntryByCaption(start, text))) {
        tree->setCurrentItem(found);
        tree->scrollToItem(found);
    }
}

void TreeHandlers::searchFromStart(const QString& text) {
    if (TTreeView2* tree = activeTree())
        search(treeModel(*tree).first(), text);
}

void TreeHandlers::searchOn(const QString& text) {
    TTreeView2* tree = activeTree();
    if (const TreeModel::Node* selected = tree ? entryOf(tree->currentItem()) : nullptr)
        search(TreeModel::next(selected), text);
}

void TreeHandlers::expandSelected() {
    TTreeView2* tree = activeTree();
    QTreeWidgetItem* selected = tree ? tree->currentItem() : nullptr;
    if (!selected)
        return;
    RepaintSuspended suspended(*tree);
    setSubtreeExpanded(selected, true);
}

void TreeHandlers::collapseSelected() {
    TTreeView2* tree = activeTree();
    QTreeWidgetItem* selected = tree ? tree->currentItem() : nullptr;
    if (!selected)
        return;
    RepaintSuspended suspended(*tree);
    setSubtreeExpanded(selected, false);
    if (isRootNode(selected))
        selected->setExpanded(true);
}

void TreeHandlers::MoveEntry(QTreeWidgetItem* target) {
    TTreeView2* tree = activeTree();
    const ViewState& view = host_.viewState();
    QTreeWidgetItem* selected = tree ? tree->currentItem() : nullptr;
    if (!selected || !target || !view.table)
        return;
    try {
        RepaintSuspended suspended(*tree);
        const auto showMoved = [tree, selected] {
            tree->scrollToItem(selected);
        };
        if (!moveEntry(*view.table, treeModel(*tree), entryOf(selected), entryOf(target), view.treeFile, showMoved)) {
            // A node without record never moves another entry.
            showError(missingRecordMessage());
            return;
        }
    } catch (const FileError&) {
        showError(treeFileMessage(view.treeFile));
    }
}

void TreeHandlers::CopyEntry(QTreeWidgetItem* target) {
    TTreeView2* tree = activeTree();
    const ViewState& view = host_.viewState();
    QTreeWidgetItem* dragged = tree ? tree->currentItem() : nullptr;
    if (!dragged || !target || !view.table)
        return;
    TDM& dm = host_.dataModule();
    const EntryCopy copy{*view.table, view.view == ViewState::Addresses ? &dm.TAdrCopy : nullptr, view.treeFile};
    RepaintSuspended suspended(*tree);
    const auto showCopy = [tree](TreeModel::Node* node) {
        QTreeWidgetItem* item = itemOf(*tree, node);
        tree->setCurrentItem(item);
        tree->scrollToItem(item);
    };
    try {
        if (!copyEntry(copy, treeModel(*tree), entryOf(dragged), entryOf(target), showCopy))
            showError(missingRecordMessage());
    } catch (const FileError&) {
        // The copy is gone again: the dragged entry is the selected one, as before the drop.
        tree->setCurrentItem(dragged);
        showError(treeFileMessage(view.treeFile));
    }
}

void TreeHandlers::PnlOverObenBeginOver(QObject* strip) {
    startScrolling(strip && strip->objectName() == u"PnlOverUnten");
}

void TreeHandlers::PnlOverObenEndOver(QObject*) {
    stopScrolling();
}

void TreeHandlers::PnlOverObenDragOver(QObject* strip, StripDragState state) {
    if (state == StripDragState::Enter)
        PnlOverObenBeginOver(strip);
    else if (state == StripDragState::Leave)
        stopScrolling();
}

void TreeHandlers::startScrolling(bool down) {
    TTreeView2* tree = activeTree();
    if (scrollRunning_ || !tree)
        return;
    scrollRunning_ = true;
    scrollWorker_ = new TTA_SCROLL(tree, down ? TTA_SCROLL::Down : TTA_SCROLL::Up, true);
    scrollWorker_->start();
}

void TreeHandlers::stopScrolling() {
    if (!scrollRunning_)
        return;
    scrollRunning_ = false;
    if (!scrollWorker_)
        showError(scrollWorkerMissingMessage());
    else if (!scrollWorker_->isRunning())
        showError(scrollStopFailedMessage()); // it ended without being told: it cannot be stopped
    else
        scrollWorker_->Terminate();
}

void TreeHandlers::ListSubtreeEntries(QStringList& list, bool withDescendants, bool withMainEntries) {
    TTreeView2& tree = host_.addressTree();
    list += treeModel(tree).subtreeEntryLines(entryOf(tree.currentItem()), withDescendants, withMainEntries);
}

} // namespace zep
