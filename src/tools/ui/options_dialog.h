#pragma once

#include "tools/options.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace zep {

// The options window (TW_Opt1): start behaviour, captions of the free fields of the open client,
// and when the resubmission view is shown. Reads on construction, writes on OK only.
class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit OptionsDialog(QWidget* parent = nullptr);

private:
    QWidget* buildGeneralPage();
    QWidget* buildFieldNamesPage();
    QWidget* buildResubmissionPage();
    QWidget* buildButtons();
    void showValues(const OptionValues& values);
    OptionValues typedValues() const;
    void BitBtn1Click();

    QTabWidget* PC = nullptr;
    QLineEdit* E_AutoCount = nullptr;
    QCheckBox* Check_Musik = nullptr;
    std::array<QLineEdit*, 10> E_FA{};
    std::array<QLineEdit*, 6> E_FD{};
    QRadioButton* RB_Aus = nullptr;
    QRadioButton* RB_Prog = nullptr;
    QRadioButton* RB_Mand = nullptr;
    QButtonGroup* resubmissionGroup_ = nullptr;
};

// Shows the options window modally.
void EditOptions(QWidget* parent);

} // namespace zep
