#pragma once

#include <QDialog>

#include <memory>

namespace zep {

class ApplicationEditDialog;
class ProgramLauncher;
class TDBCtrlGrid;
class TDM;
class TIconListPainter;

// TN01 "Anwendung...": every application of the register with its icon; new, edit and delete. TPro
// holds the whole register while the dialog is shown and follows the current document again after.
class ApplicationListDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int PanelHeight = 37;

    ApplicationListDialog(TDM& dm, const QString& templatesDir, ProgramLauncher& launcher, QWidget* parent = nullptr);
    ~ApplicationListDialog() override;

    ApplicationEditDialog& editDialog() { return *TN02; }

signals:
    void helpRequested(const QString& topic);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void paintPanel(QPainter& painter, const QRect& panel, int row, bool current);
    void BtnNeu1Click();
    void BtnEditClick();
    void BtnDelClick();

    TDM& dm_;
    std::unique_ptr<TIconListPainter> icons_;
    TDBCtrlGrid* Grid = nullptr;
    ApplicationEditDialog* TN02 = nullptr;
};

// Shows TN01 modally with its TN02 and releases both when it closes.
void ShowApplicationList(TDM& dm, const QString& templatesDir, ProgramLauncher& launcher, QWidget* parent);

} // namespace zep
