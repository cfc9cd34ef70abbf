#pragma once

#include "printing/envelope.h"
#include "printing/ui/layout_dialog.h"

#include <array>

namespace zep {

// "Briefumschlag drucken": one envelope for the address the given table stands on, with the
// layouts of Brief.db; every line has its own position, angle and font.
class EnvelopePrintDialog : public LayoutDialog {
    Q_OBJECT
public:
    EnvelopePrintDialog(const QString& generalDir, DataSet& address, QWidget* parent = nullptr);

    QLineEdit* E_X = nullptr;
    QLineEdit* E_Y = nullptr;
    QLineEdit* E_W = nullptr;

protected:
    void loadLayout(DataSet& record) override;
    void writeLayout(Table& table, const QString& name) override;
    void resetToNewLayout() override;
    void loadCurrentRow() override;
    void copyFieldsToRow() override;
    void fontChosen(const PrintFont& font) override { fonts_[size_t(currentRow())] = font; }
    PrintFont currentFont() const override { return fonts_[size_t(currentRow())]; }
    void paintPreview(QPainter& painter, const QRect& box) override;
    void printLayout() override;
    int storedIndex() const override;
    void storeIndex(int index) const override;

private:
    EnvelopeLayout layoutFromControls() const;
    std::vector<PlacedEnvelopeLine> placedLines(PrintMode mode);

    DataSet& address_;
    std::array<PrintFont, PrintLineCount> fonts_;
};

} // namespace zep
