#pragma once

#include <QDialog>

#include <functional>

class QDateEdit;
class QLabel;
class QRadioButton;

namespace zep {

class TDM;

// "Dokument-Detail": all fields of the current document, with its resubmission rule, edited on the
// live record.
class DocumentDetailDialog : public QDialog {
    Q_OBJECT
public:
    // step: moves the main window's document list by -1 or +1 (the current document follows it).
    using ListStep = std::function<void(int step)>;
    DocumentDetailDialog(TDM& dm, ListStep listStep, QWidget* parent = nullptr);

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildUpperPanel();
    QWidget* buildResubmissionPage();
    QWidget* buildFieldsPage();
    QWidget* buildFileInfoPage();
    void showIcon();
    void loadResubmission();
    void clearDateShortcuts();
    void followDateChoice();
    bool postPending();
    void setRule(const QString& code);
    void step(int delta);
    void BtnOKClick();

    TDM& dm_;
    ListStep listStep_;
    bool loading_ = false;
    QLabel* I1 = nullptr;
    QRadioButton* RBTag = nullptr;
    QRadioButton* RBWoche = nullptr;
    QRadioButton* RBMonat = nullptr;
    QRadioButton* RBDatum = nullptr;
    QRadioButton* RBDatumMorgen = nullptr;
    QRadioButton* RBDatumWoche = nullptr;
    QRadioButton* RBkeine = nullptr;
    QDateEdit* Kalender = nullptr;
};

} // namespace zep
