#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidgetItem;

namespace zep {

class TTreeView2;

// The tree picker (TW_TA): an address or topic tree from its tree file, without root, the top-level
// entries sorted by caption and the children of an entry sorted when it is expanded. OK picks the
// selected entry.
class TreePickerDialog : public QDialog {
    Q_OBJECT

public:
    explicit TreePickerDialog(const QString& caption, QWidget* parent = nullptr);

    // Fills the tree from the tree file and selects the first entry. False, after the user was
    // told, when the file cannot be read.
    bool load(const QString& treeFile);
    // The Nr of the selected entry; 0 when none is selected.
    int selectedNumber() const;

private:
    void buildControls();
    void TAExpanded(QTreeWidgetItem* item);

    TTreeView2* TA = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;
};

// Shows the tree picker modally with the caption over the tree of the tree file; the Nr of the entry
// picked with OK, or 0 (cancelled, nothing selected, or the file could not be read).
int PickTreeEntry(const QString& caption, const QString& treeFile, QWidget* parent);

} // namespace zep
