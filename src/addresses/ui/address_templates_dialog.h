#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace zep {

class TDBGrid3;
class TDM;

// TAdrVorNeu "Neue Adressvorlage": names a new template and appends it with an empty text.
class NewAddressTemplateDialog : public QDialog {
    Q_OBJECT
public:
    NewAddressTemplateDialog(TDM& dm, QWidget* parent = nullptr);

private:
    void BtnOKClick();

    TDM& dm_;
    QLineEdit* Edit1 = nullptr;
};

// TAdrVor "Adressvorlagen": the templates of the installation, the text of the selected one, the
// field names to insert, and which template the client uses for the clipboard.
class AddressTemplatesDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* HelpTopic = "Adr080";

    // The client's current template number and how it is set (the main window keeps it).
    AddressTemplatesDialog(TDM& dm, const QString& generalDir, std::function<int()> currentTemplate,
                           std::function<void(int)> setCurrentTemplate, QWidget* parent = nullptr);

    void done(int result) override;

signals:
    void helpRequested(const QString& topic);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void FormShow();
    void DSDataChange();
    void saveMemo();
    bool FormCloseQuery();
    void BtnAddFieldClick();
    void BtnAktuellClick();
    void BtnNeuClick();
    void BtnDelClick();
    void showCurrentName();
    int selectedNumber();

    TDM& dm_;
    QString generalDir_;
    std::function<int()> currentTemplate_;
    std::function<void(int)> setCurrentTemplate_;
    int shownNumber_ = 0; // the template whose text MB shows
    bool saving_ = false;

    TDBGrid3* DBGrid1 = nullptr;
    QPlainTextEdit* MB = nullptr;
    QListWidget* LB = nullptr;
    QLabel* LblAktuell = nullptr;
};

} // namespace zep
