#pragma once

#include "mainwin/tree_model.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QTreeWidgetItem;

namespace zep {

class Table;
class TTA_SCROLL;
class TTreeView2;
class TreeHost;

// How a drag meets a scroll strip (PnlOverOben, PnlOverUnten).
enum class StripDragState { Enter, Leave, Move };

// The event handlers of the address tree (TVA), the topic tree (TVB), the resubmission tree (TVD)
// and the scroll strips. The main window owns one, calls attachTrees() once and wires its entry
// commands and strips to the public handlers below. Every handler shows errors of the table engine
// with their message and lets no exception out.
class TreeHandlers : public QObject {
    Q_OBJECT
public:
    explicit TreeHandlers(TreeHost& host, QObject* parent = nullptr);
    ~TreeHandlers() override;

    // Fills TVD with its fixed nodes and connects the trees' signals: selection changes of TVA and
    // TVB to TVAChange and of TVD to TVDChange; expanding, Enter, drag and drop and Ctrl of TVA and
    // TVB to the handlers below.
    void attachTrees();

    // Selection changed: positions the view's table on the entry and lists its documents.
    void TVAChange();
    void TVDChange();
    // Sorts the children of an expanded node.
    void TVAExpanded(QTreeWidgetItem* item);
    // Whether a drag from source may be dropped on target (nullptr: no node under the pointer).
    bool TVADragOver(TTreeView2& tree, QTreeWidgetItem* target, QObject* source) const;
    void TVADragDrop(TTreeView2& tree, QTreeWidgetItem* target, QObject* source);
    void TVAEndDrag(TTreeView2& tree);
    void TVACTRLChanged(TTreeView2& tree, bool pressed);

    // Entry search: Edit_B_Such from the root on every change of its text, Btn_B_Such from the
    // node after the selected one.
    void searchFromStart(const QString& text);
    void searchOn(const QString& text);
    // Btn_B_KlappAuf and Btn_B_KlappZu on the selected node.
    void expandSelected();
    void collapseSelected();

    // Drop actions within the active tree, on the dragged (selected) entry.
    void MoveEntry(QTreeWidgetItem* target);
    // Copy mode within the active tree: an address is copied whole, a topic as a topic (copyEntry).
    void CopyEntry(QTreeWidgetItem* target);

    // Scroll strips; the direction follows the strip (PnlOverUnten scrolls down, any other up).
    void PnlOverObenBeginOver(QObject* strip);
    void PnlOverObenEndOver(QObject* strip);
    void PnlOverObenDragOver(QObject* strip, StripDragState state);
    bool scrollRunning() const { return scrollRunning_; }

    // Appends "caption¶number" for the selected node of TVA and, with descendants, its subtree;
    // nodes of type 1 only with main entries.
    void ListSubtreeEntries(QStringList& list, bool withDescendants, bool withMainEntries);

protected:
    // Swallows Enter in TVA and TVB.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TTreeView2* activeTree() const;
    void attachEntryTree(TTreeView2& tree);
    void search(TreeModel::Node* start, const QString& text);
    void startScrolling(bool down);
    void stopScrolling();
    bool positionOn(Table& table, QTreeWidgetItem* node) const;
    void showError(const QString& message) const;

    TreeHost& host_;
    bool scrollRunning_ = false;
    QPointer<TTA_SCROLL> scrollWorker_; // deletes itself when it ends
};

} // namespace zep
