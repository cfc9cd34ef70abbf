#include "tools/ui/tree_picker_dialog.h"

#include "app/ui/named_controls.h"
#include "app/ui/wait_cursor.h"
#include "controls/ui/tree_view2.h"
#include "mainwin/ui/tree_file_io.h"
#include "mainwin/ui/tree_mirror.h"
#include "mainwin/ui/tree_nodes.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zep {

TreePickerDialog::TreePickerDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TW_TA"));
    setWindowTitle(caption);
    buildControls();
}

void TreePickerDialog::buildControls() {
    TA = new TTreeView2(this);
    TA->setObjectName(QStringLiteral("TA"));
    TA->setHeaderHidden(true);
    BtnOK = makeButton(QStringLiteral("BtnOK"), QStringLiteral("OK"), this);
    BtnOK->setDefault(true);
    BtnCancel = makeButton(QStringLiteral("BtnCancel"), QStringLiteral("Abbrechen"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TA, 1);
    layout->addLayout(buttons);
    resize(320, 420);

    connect(TA, &QTreeWidget::itemExpanded, this, &TreePickerDialog::TAExpanded);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TreePickerDialog::load(const QString& treeFile) {
    WaitCursor wait;
    if (!LoadTreeFile(*TA, treeFile, QString()))
        return false;
    treeModel(*TA).sortChildren(nullptr);
    if (TA->topLevelItemCount() > 0)
        TA->setCurrentItem(TA->topLevelItem(0));
    return true;
}

void TreePickerDialog::TAExpanded(QTreeWidgetItem* item) {
    if (TreeModel::Node* node = entryOf(item))
        treeModel(*TA).sortChildren(node);
}

int TreePickerDialog::selectedNumber() const {
    const QTreeWidgetItem* selected = TA->currentItem();
    return selected ? nodeNumber(selected) : 0;
}

int PickTreeEntry(const QString& caption, const QString& treeFile, QWidget* parent) {
    TreePickerDialog dialog(caption, parent);
    if (!dialog.load(treeFile) || dialog.exec() != QDialog::Accepted)
        return 0;
    return dialog.selectedNumber();
}

} // namespace zep
