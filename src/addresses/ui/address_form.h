#pragma once

#include "addresses/ui/entry_record_editor.h"

#include "data/note_editor.h"

#include <QWidget>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace zep {

class DBEdit;
class MainWindow;
class TDM;
class Table;

// Shows the address form TB01 for the selected address (edit) or for a new one below the selected
// node, with the main window disabled until the form is closed.
void EditAddress(MainWindow& window, bool edit);

// TB01 "Adressen Detail": one record of the address table, bound to the data module's TAdr, and the
// address tree kept in step with it. While shown it is the data module's address form.
class AddressForm : public QWidget, public EntryFormButtons {
    Q_OBJECT
public:
    // edit false: the form starts a new address below the selected node when shown.
    AddressForm(MainWindow& window, bool edit, QWidget* parent = nullptr);
    ~AddressForm() override;

    void setControlEnabled(const QString& objectName, bool enabled) override;
    bool isNewRecord() const { return editor_.isNew(); }

    void BtnNeuClick(QObject* sender);
    void BtnNav1Click(QObject* sender);
    void BtnRing1Click(QObject* sender);
    void BtnInternet1Click(QObject* sender);

signals:
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QWidget* buildToolBar();
    QWidget* buildNamePanel();
    QWidget* buildPages();
    QWidget* buildCommunicationPage();
    QWidget* buildAddressPage();
    QWidget* buildLetterPage();
    QWidget* buildBankPage();
    QWidget* buildFreeFieldsPage();
    DBEdit* addEdit(const QString& name, const QString& field);
    QLabel* addLabel(const QString& name, const QString& caption);

    void FormShow();
    void setFreeFieldLabels();
    void fillSalutationBoxes();
    void updateNameLabels();
    void newRecord();
    bool save();
    void cancel();
    void deleteEntry();
    void showError(const QString& message) const;

    MainWindow& window_;
    TDM& dm_;
    Table& table_;
    QTreeWidget& tree_;
    bool edit_ = false;
    EntryRecordEditor editor_;
    bool shownOnce_ = false;
};

} // namespace zep
