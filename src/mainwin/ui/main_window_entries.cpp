#include "addresses/ui/address_delete.h"
#include "addresses/ui/address_form.h"
#include "addresses/ui/topic_form.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "mainwin/tree_texts.h"
#include "mainwin/ui/main_window.h"
#include "mainwin/ui/tree_handlers.h"
#include "mainwin/ui/tree_nodes.h"

#include <QTreeWidget>

namespace zep {

bool MainWindow::properEntrySelected() const {
    const QTreeWidgetItem* selected = viewState_.tree ? viewState_.tree->currentItem() : nullptr;
    return selected && !isRootNode(selected);
}

// A new entry goes below the selected node: without one there is nothing to add it to (and no
// tree to write it into).
void MainWindow::newEntry() {
    if (!viewState_.tree || !viewState_.tree->currentItem()) {
        Interaction::instance().error(noEntrySelectedMessage(), ApplicationName.toString());
        return;
    }
    if (viewState_.view == ViewState::Topics)
        EditTopic(*this, false);
    else
        EditAddress(*this, false);
}

void MainWindow::editEntry() {
    if (!properEntrySelected())
        return;
    if (viewState_.view == ViewState::Topics) {
        EditTopic(*this, true);
        return;
    }
    EditAddress(*this, true);
    showAddressSummary();
}

void MainWindow::deleteEntry() {
    if (properEntrySelected())
        DeleteTreeEntry(*this);
}

void MainWindow::activeTreeChanged() {
    if (treeHandlers_)
        treeHandlers_->TVAChange();
}

} // namespace zep
