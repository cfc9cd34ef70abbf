#pragma once

#include "tools/tree_rebuild.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zep {

// The tree rebuild window (TDBReadWin): OK rebuilds the tree file from the table, with the gauge
// following the entries placed, and closes the window with OK. Abort closes it, and while the
// rebuild runs it stops the rebuild; the tree file then keeps its old content. A rebuild that
// fails is reported through the interaction seam and the window stays open.
class TreeRebuildDialog : public QDialog {
    Q_OBJECT

public:
    // treeCaption: "Adressen" or "Themen".
    TreeRebuildDialog(const TreeRebuildJob& job, const QString& treeCaption, QWidget* parent = nullptr);

    void reject() override;

private:
    void buildControls();
    void BitBtn1Click();
    bool showProgress(int placed, int total);

    TreeRebuildJob job_;
    bool running_ = false;
    bool stopRequested_ = false;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* G1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

// Shows the tree rebuild window modally; true when it closed with OK, the tree file rebuilt.
bool RebuildTree(const TreeRebuildJob& job, const QString& treeCaption, QWidget* parent);

} // namespace zep
