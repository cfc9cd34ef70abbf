#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QStatusBar;
class QTimer;
class QTreeWidget;

namespace zep {

class ClientOpening;

// The client list (TW_Mand): shows the registered clients, adds and removes entries, and opens the
// chosen client while it closes. It closes only when the chosen client opened or "Beenden" was pressed.
class ClientListDialog : public QDialog {
    Q_OBJECT

public:
    // A countdown of n > 0 confirms the chosen client after n seconds unless the user acts first.
    ClientListDialog(ClientOpening& opening, int countdown, QWidget* parent = nullptr);

    void reject() override; // Esc: as "Beenden"

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildStatusBar();
    void FillList();
    void LVSelectItem();
    void TimerTimer();
    void BtnOKClick();
    void BtnEndeClick();
    void BtnNeuClick();
    void BtnDelClick();
    void startCountdown();
    void stopCountdown();
    bool mayClose(bool confirmed);

    ClientOpening& opening_;
    int countdown_;
    bool quit_ = false;
    bool shownOnce_ = false;

    QLabel* panel2_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* btnNeu_ = nullptr;
    QPushButton* btnDel_ = nullptr;
    QPushButton* btnOK_ = nullptr;
    QPushButton* btnEnde_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* seconds_ = nullptr;
    QTimer* timer_ = nullptr;
};

// Shows the client list modally and returns whether it closed with OK (the window's own close gives
// false even when the chosen client was opened).
bool ShowClientDialog(ClientOpening& opening, int countdown, QWidget* parent = nullptr);

} // namespace zep
