#pragma once

#include "printing/address_list.h"
#include "printing/ui/layout_dialog.h"

#include <functional>

class QCheckBox;
class QRadioButton;

namespace zep {

// "Adressen drucken": a list of address blocks in columns, from the address selected in the tree and
// optionally the addresses below it, with the layouts of AdrPrt.db.
class AddressPrintDialog : public LayoutDialog {
    Q_OBJECT
public:
    // The selection list's lines for "with descendants" and "with main entries" (subtreeEntryLine).
    using SelectionSource = std::function<QStringList(bool withDescendants, bool withMainEntries)>;

    AddressPrintDialog(const QString& generalDir, const QString& addressDir, const SelectionSource& selection,
                       QWidget* parent = nullptr);

    const QStringList& selectionList() const { return selection_; }

    QLineEdit* E_RO = nullptr;
    QLineEdit* E_RU = nullptr;
    QLineEdit* E_RL = nullptr;
    QLineEdit* E_RR = nullptr;
    QRadioButton* R_S[4] = {};
    QCheckBox* Check_U = nullptr;
    QCheckBox* Check_H = nullptr;
    QCheckBox* Check_S = nullptr;

protected:
    void loadLayout(DataSet& record) override;
    void writeLayout(Table& table, const QString& name) override;
    void resetToNewLayout() override;
    void loadCurrentRow() override;
    void copyFieldsToRow() override;
    void fontChosen(const PrintFont& font) override { font_ = font; }
    PrintFont currentFont() const override { return font_; }
    void paintPreview(QPainter& painter, const QRect& box) override;
    void printLayout() override;
    int storedIndex() const override;
    void storeIndex(int index) const override;
    void showEvent(QShowEvent* event) override;

private:
    void buildOwnControls();
    void rebuildSelection();
    AddressListLayout layoutFromControls() const;
    AddressListOptions options() const;
    ListGeometry geometry() const;
    ComposedList compose(PrintMode mode, const ListRunStop& stop = {});

    SelectionSource source_;
    QStringList selection_;
    Table addresses_; // open from the first show to the dialog's end
    PrintFont font_ = defaultPrintFont();
    int columns_ = 1;
};

} // namespace zep
