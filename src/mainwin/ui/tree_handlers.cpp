#include "mainwin/ui/tree_handlers.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "controls/ui/ta_scroll.h"
#include "controls/ui/tree_view2.h"
#include "data/engine_error.h"
#include "data/tdm.h"
#include "data/treefile.h"
#include "mainwin/tree_drop_rules.h"
#include "mainwin/tree_records.h"
#include "mainwin/tree_search.h"
#include "mainwin/tree_texts.h"
#include "mainwin/ui/tree_document_tree.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_host.h"
#include "mainwin/ui/tree_nodes.h"
#include "mainwin/ui/tree_repaint.h"
#include "mainwin/window_texts.h"

#include <QCursor>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace zep {

namespace {

void collectExpanded(QTreeWidgetItem* item, QList<QTreeWidgetItem*>& expanded) {
    if (item->isExpanded())
        expanded.append(item);
    for (int i = 0; i < item->childCount(); ++i)
        collectExpanded(item->child(i), expanded);
}

// Moves a node with its subtree to the end of target's children, keeping which nodes are expanded.
void moveSubtree(QTreeWidgetItem* node, QTreeWidgetItem* target) {
    QList<QTreeWidgetItem*> expanded;
    collectExpanded(node, expanded);
    QTreeWidgetItem* parent = node->parent();
    if (parent)
        parent->takeChild(parent->indexOfChild(node));
    else
        node->treeWidget()->takeTopLevelItem(node->treeWidget()->indexOfTopLevelItem(node));
    target->addChild(node);
    for (QTreeWidgetItem* item : std::as_const(expanded))
        item->setExpanded(true);
}

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
        const int nodes = treeNodeCount(*tree);
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
        host_.setGridAcceptsFiles(true);
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
    if (item && item->treeWidget())
        sortChildNodes(*item->treeWidget(), item);
}

bool TreeHandlers::TVADragOver(TTreeView2& tree, QTreeWidgetItem* target, QObject* source) const {
    if (&tree != activeTree())
        return false;
    TreeDragSource kind = TreeDragSource::Other;
    if (source == &tree)
        kind = TreeDragSource::ActiveTree;
    else if (source && source->objectName() == u"D_Grid")
        kind = TreeDragSource::DocumentGrid;
    QTreeWidgetItem* selected = tree.currentItem();
    TreeDropFacts facts;
    facts.hasTarget = target != nullptr;
    facts.targetIsRoot = isRootNode(target);
    facts.hasSelection = selected != nullptr;
    facts.targetIsSelected = target && target == selected;
    facts.targetBelowSelected = isDescendantOf(target, selected);
    facts.selectedIsRoot = isRootNode(selected);
    return acceptsTreeDrop(kind, host_.copyDrag(), facts);
}

void TreeHandlers::TVADragDrop(TTreeView2& tree, QTreeWidgetItem* target, QObject* source) {
    if (!target || !TVADragOver(tree, target, source))
        return;
    try {
        if (source == &tree) {
            if (!host_.copyDrag())
                MoveEntry(target);
            else if (host_.viewState().view == ViewState::Addresses)
                CopyAddress(target);
            else
                CopyTopic(target);
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
    const int cursor = pressed ? DragCursorCopy : DragCursorMove;
    if (tree.dragCursor() == cursor)
        return;
    tree.setDragCursor(cursor);
    // Moving the pointer onto itself makes the platform ask the target again, which shows the cursor.
    QCursor::setPos(QCursor::pos());
}

void TreeHandlers::search(QTreeWidgetItem* start, const QString& text) {
    TTreeView2* tree = activeTree();
    const QString folded = foldSearchText(text);
    if (!tree || folded.isEmpty())
        return;
    for (QTreeWidgetItem* node = start; node; node = nextNode(node)) {
        if (captionMatchesSearch(node->text(0), folded)) {
            tree->setCurrentItem(node);
            tree->scrollToItem(node);
            return;
        }
    }
}

void TreeHandlers::searchFromStart(const QString& text) {
    if (TTreeView2* tree = activeTree())
        search(firstNode(*tree), text);
}

void TreeHandlers::searchOn(const QString& text) {
    TTreeView2* tree = activeTree();
    if (tree && tree->currentItem())
        search(nextNode(tree->currentItem()), text);
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

// The record is changed before the tree: when the table refuses, tree and file stay as they were.
// The record is looked up by the node's number rather than trusted to be current, so a node without
// record never moves another entry.
void TreeHandlers::MoveEntry(QTreeWidgetItem* target) {
    TTreeView2* tree = activeTree();
    const ViewState& view = host_.viewState();
    QTreeWidgetItem* node = tree ? tree->currentItem() : nullptr;
    if (!node || !target || !view.table)
        return;
    Table& table = *view.table;
    if (!positionOn(table, node)) {
        showError(missingRecordMessage());
        return;
    }
    QTreeWidgetItem* oldParent = node->parent();
    const int oldIndex = oldParent ? oldParent->indexOfChild(node) : tree->indexOfTopLevelItem(node);
    const QVariant oldVor = table.field(u"Vor").value();
    setEntryParent(table, nodeNumber(target));
    {
        RepaintSuspended suspended(*tree);
        // The node is taken out and put back: that is no change of selection for the handlers.
        const QSignalBlocker blockTree(tree);
        moveSubtree(node, target);
        sortChildNodes(*tree, target);
        tree->setCurrentItem(node);
    }
    tree->scrollToItem(node);
    if (SaveTreeFile(*tree, view.treeFile) || !oldParent)
        return;
    // The file keeps the old tree: put the entry back in table and tree, so all three agree.
    {
        RepaintSuspended suspended(*tree);
        const QSignalBlocker blockTree(tree);
        QTreeWidgetItem* taken = node->parent()->takeChild(node->parent()->indexOfChild(node));
        oldParent->insertChild(oldIndex, taken);
        tree->setCurrentItem(node);
    }
    setEntryParent(table, oldVor);
}

void TreeHandlers::CopyAddress(QTreeWidgetItem* target) {
    TTreeView2* tree = activeTree();
    QTreeWidgetItem* node = tree ? tree->currentItem() : nullptr;
    if (!node || !target || isRootNode(node))
        return;
    TDM& dm = host_.dataModule();
    Table& adr = dm.TAdr;
    if (!positionOn(adr, node)) {
        showError(missingRecordMessage());
        return;
    }
    // The caption comes from the dragged record, which the copy repeats.
    const QString caption = treeDisplayName(adr.field(u"Name1").asString(), adr.field(u"Name2").asString(),
                                            adr.field(u"Person").asBoolean());
    const int type = entryTypeFromBaum(adr.field(u"Baum").asInteger());
    const qint64 newNr = copyAddressRecord(adr, dm.TAdrCopy, nodeNumber(target));
    adr.refresh();
    adr.findKey({newNr});
    addCopiedNode(adr, target, caption, int(newNr), type);
}

// Within the topic tree a copy is a new topic with the caption and main-entry flag of the dragged
// one under the target; it never touches the address table.
void TreeHandlers::CopyTopic(QTreeWidgetItem* target) {
    TTreeView2* tree = activeTree();
    QTreeWidgetItem* node = tree ? tree->currentItem() : nullptr;
    if (!node || !target || isRootNode(node))
        return;
    Table& topics = host_.dataModule().TThema;
    if (!positionOn(topics, node)) {
        showError(missingRecordMessage());
        return;
    }
    const QString caption = topics.field(u"Thema").asString();
    const qint64 baum = topics.field(u"Baum").asInteger();
    const qint64 newNr = copyTopicRecord(topics, nodeNumber(target));
    topics.refresh();
    topics.findKey({newNr});
    addCopiedNode(topics, target, caption, int(newNr), entryTypeFromBaum(baum));
}

void TreeHandlers::addCopiedNode(Table& table, QTreeWidgetItem* target, const QString& caption, int number, int type) {
    TTreeView2* tree = activeTree();
    RepaintSuspended suspended(*tree);
    QTreeWidgetItem* dragged = tree->currentItem();
    TreeNode* node = addChildNode(*tree, target, caption, number, type);
    tree->setCurrentItem(node);
    tree->scrollToItem(node);
    if (SaveTreeFile(*tree, host_.viewState().treeFile))
        return;
    // The file keeps the old tree: take the copy back out of table and tree, so all three agree.
    {
        const QSignalBlocker blockTree(tree);
        delete node;
        tree->setCurrentItem(dragged);
    }
    if (table.findKey({number}))
        table.deleteRecord();
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
    QTreeWidgetItem* selected = host_.addressTree().currentItem();
    if (!selected)
        return;
    QTreeWidgetItem* end = withDescendants ? nextAfterSubtree(selected) : nextNode(selected);
    for (QTreeWidgetItem* node = selected; node && node != end; node = nextNode(node)) {
        if (withMainEntries || nodeType(node) != TreeMainEntry)
            list.append(subtreeEntryLine(node->text(0), nodeNumber(node)));
    }
}

} // namespace zep
