#pragma once

#include <QDialog>

class QCheckBox;

namespace zep {

// TS02 ("Auswahl"): which entries of a branch become recipients.
class BranchChoiceDialog : public QDialog {
    Q_OBJECT
public:
    explicit BranchChoiceDialog(QWidget* parent = nullptr);

    bool withAllBelow() const;
    bool withMainEntries() const;

private:
    QCheckBox* CheckUnter = nullptr;
    QCheckBox* CheckHaupt = nullptr;
};

} // namespace zep
