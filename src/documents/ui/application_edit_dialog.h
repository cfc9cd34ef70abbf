#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;
class QTimer;

namespace zep {

class ProgramLauncher;
class TDM;
class TemplateFileList;

// TN02 "Anwendung bearbeiten": edits the current application of TPro or appends a new one, and shows
// the template files of its extension in the templates directory. No field is checked: what the user
// typed is stored as it is.
class ApplicationEditDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* HelpTopic = "anw010";
    // Puts a first template for the program and extension into the templates directory.
    using TemplateDialog = std::function<void(const QString& programPath, const QString& extension)>;

    ApplicationEditDialog(TDM& dm, const QString& templatesDir, ProgramLauncher& launcher, QWidget* parent = nullptr);

    // Set by the caller before showing: a new record, or the current record of TPro.
    void setNewMode(bool newMode) { newMode_ = newMode; }
    bool newMode() const { return newMode_; }
    int iconNumber() const { return iconNumber_; }
    void setTemplateDialog(TemplateDialog dialog) { templateDialog_ = std::move(dialog); }
    // Reads the template list again when the directory changed; the selected file stays selected.
    void SyncFileList();

signals:
    void helpRequested(const QString& topic);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    QWidget* buildApplicationPage();
    QWidget* buildTemplatePage();
    void FormShow();
    void BtnPfadClick();
    void EditPfadChange();
    void BtnSymbolClick();
    void GridIconClick(int column);
    void BoxExeSelect();
    void VorExeChange();
    void BtnOKClick();
    void BtnVorNeuClick();
    void BtnVorEditClick();
    void BtnVorDelClick();
    void updateTemplateButtons();
    void showPreview(int number);

    TDM& dm_;
    QString templatesDir_;
    ProgramLauncher& launcher_;
    TemplateDialog templateDialog_;
    bool newMode_ = false;
    int iconNumber_ = 0;
    bool lookupArmed_ = false;
    QList<int> gridIcons_; // per column of GridIcon: the number of its icon in the program's list

    QTabWidget* pages_ = nullptr;
    QLineEdit* EditTitel = nullptr;
    QComboBox* BoxExe = nullptr;
    QLineEdit* EditPfad = nullptr;
    QTableWidget* GridIcon = nullptr;
    QLabel* I1 = nullptr;
    QLineEdit* VorExe = nullptr;
    TemplateFileList* FLB = nullptr;
    QPushButton* BtnVorDel = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace zep
