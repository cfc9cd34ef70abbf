#pragma once

#include "platform/click_sound.h"
#include "serial/automation.h"
#include "serial/serial_letter.h"
#include "serial/word_session.h"

#include <QMetaObject>
#include <QStringList>
#include <QWidget>

#include <memory>

class QLabel;
class QToolButton;

namespace zep {

class TDBGrid3;
class TDM;
class TTreeView2;

// TS01 ("Seriendruck mit Word"): the recipients of the letter selected in the main window, and the
// word processor that merges them. Made once at program start, shown for each use, never modal. It
// has no owner, so that a window that blocks the main window does not block it too.
class SerialLetterWindow : public QWidget {
    Q_OBJECT
public:
    SerialLetterWindow();
    ~SerialLetterWindow() override;

    void setAutomation(std::unique_ptr<Automation> automation);
    void setClickSound(std::unique_ptr<ClickSound> sound);

    // Shows the window for the current document of the data module; addresses are added from the tree.
    void showFor(TDM& dm, TTreeView2& addressTree);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildToolBar();
    void onToolButton(const QString& name);
    bool runCommand(const QString& name);
    void BtnAdrHinzuClick();
    void BtnZweigHinzuClick();
    void BtnNavDelClick();
    bool writeDataFile();
    void fitColumn();
    void showStatus(const QString& text);
    void makeSession();

    TDM* dm_ = nullptr;
    TTreeView2* addressTree_ = nullptr;
    std::unique_ptr<Automation> automation_;
    std::unique_ptr<ClickSound> sound_;
    std::unique_ptr<WordSession> session_;
    QStringList mergeFields_;
    SerialLetter letter_;
    int wordVersion_ = 0;
    QMetaObject::Connection recipientsState_;
    bool ctrlHeld_ = false;
    bool busy_ = false;

    QLabel* Label1 = nullptr;
    TDBGrid3* Grid = nullptr;
    QLabel* SPnl = nullptr;
};

} // namespace zep
