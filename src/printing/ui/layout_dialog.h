#pragma once

#include "data/table.h"
#include "printing/print_units.h"

#include <QComboBox>
#include <QPrinter>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QToolButton;
class QGridLayout;

namespace zep {

class PrintPreviewWindow;
class TDM;

// The name list of the layouts: asks before it drops down.
class LayoutNameBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
    void hidePopup() override;
signals:
    void aboutToDropDown();
    void closedUp();
};

// What the address list and envelope dialogs share: the layouts of one table in "General" with
// their name list, the status pair (redraw, modified), new, save, cancel and delete, the line texts
// in a grid with "<" inserting an address field, the preview window and the printer.
class LayoutDialog : public QWidget {
    Q_OBJECT
public:
    struct Kind {
        QString objectName;
        QString caption;
        QString tableName;
        QString previewName;
        QString helpTopic;
        QStringList gridColumns; // after the column "Zeile"
        QList<int> gridWidths;   // of every column
        QString pageWidth;       // defaults of E_Breite and E_Hohe
        QString pageHeight;
    };

    ~LayoutDialog() override;

    PrintPreviewWindow& preview() { return *preview_; }
    QPrinter& printer() { return printer_; }
    const QPrinter& printer() const { return printer_; }
    bool isModified() const { return modified_; }

    LayoutNameBox* BoxBez = nullptr;
    QPushButton* NeuBtn = nullptr;
    QPushButton* SaveBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* DelBtn = nullptr;
    QPushButton* BtnPrint = nullptr;
    QPushButton* BtnHilfe = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnFont = nullptr;
    QToolButton* SpeedButton11 = nullptr;
    QLabel* Label15 = nullptr;
    QListWidget* LB = nullptr;
    QLineEdit* E_T = nullptr;
    QLineEdit* E_F = nullptr;
    QLineEdit* E_Breite = nullptr;
    QLineEdit* E_Hohe = nullptr;
    QTableWidget* Grid = nullptr;

signals:
    void hidden();
    void helpRequested(const QString& topic);

protected:
    LayoutDialog(const Kind& kind, const QString& generalDir, QWidget* parent);

    // The shared controls are built by the constructor; a dialog adds its own into this layout.
    QGridLayout* controlsLayout() const { return controls_; }
    // A number field of up to digits digits; edits and leaving it follow the editing rules.
    QLineEdit* addNumberField(const QString& name, int digits, const QString& value);
    void watchEdit(QLineEdit* edit, bool number);

    void setStatus(bool redraw, std::optional<bool> modified);
    void redrawPreview();
    int currentRow() const;
    const QStringList& knownNames() const { return knownNames_; }
    int screenDpiY() const;
    // The print dialog on the dialog's printer; false when cancelled.
    bool choosePrinter();
    void showEngineError(const QString& message) const;

    // The layout's own controls.
    virtual void loadLayout(DataSet& record) = 0;
    virtual void writeLayout(Table& table, const QString& name) = 0;
    virtual void resetToNewLayout() = 0;
    virtual void loadCurrentRow() = 0;
    virtual void copyFieldsToRow() = 0;
    virtual void fontChosen(const PrintFont& font) = 0;
    virtual PrintFont currentFont() const = 0;
    virtual void paintPreview(QPainter& painter, const QRect& box) = 0;
    virtual void printLayout() = 0;
    virtual int storedIndex() const = 0;
    virtual void storeIndex(int index) const = 0;

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    bool loading_ = false;

private:
    void buildControls(const Kind& kind);
    void FormShow();
    void FormClose();
    void fillNames();
    void BoxBezDropDown();
    void BoxBezChange(int index);
    void chooseLayout(int index);
    void fieldEdited();
    void fieldLeft(QLineEdit* edit);
    void GridClick();
    void SpeedButton11Click();
    void BtnFontClick();
    void NeuBtnClick();
    bool SaveBtnClick();
    void CancelBtnClick();
    void DelBtnClick();
    void reloadCurrentLayout();
    void selectNumber(int nr);

    Kind kind_;
    QString generalDir_;
    Table tableKey_;   // primary order: finding and writing
    Table tableNames_; // by "iBez": the name list
    QPrinter printer_{QPrinter::HighResolution};
    PrintPreviewWindow* preview_ = nullptr;
    QGridLayout* controls_ = nullptr;
    QStringList knownNames_;
    std::vector<int> numbers_; // parallel to BoxBez
    std::vector<QLineEdit*> numberFields_;
    bool modified_ = false;
    bool newLayout_ = false;
    bool pending_ = false;
    bool choice_ = false;
    bool shown_ = false;
};

} // namespace zep
