#pragma once

#include <QEventLoop>
#include <QWidget>

#include <optional>

namespace zep {

// The main window is enabled again on every path out of a modeless window's loop.
class MainWindowDisabled {
public:
    explicit MainWindowDisabled(QWidget& window) : window_(window) { window_.setEnabled(false); }
    ~MainWindowDisabled() { window_.setEnabled(true); }
    MainWindowDisabled(const MainWindowDisabled&) = delete;
    MainWindowDisabled& operator=(const MainWindowDisabled&) = delete;

private:
    QWidget& window_;
};

// While a modeless window runs over the disabled main window, activating the main window (a click
// on it, the task bar) brings the running window back to the front, so it is never left hidden
// behind a window that takes no input.
class FrontWindowKeeper : public QObject {
public:
    FrontWindowKeeper(QWidget& blocked, QWidget& front);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& blocked_;
    QWidget& front_;
};

// Shows a window that runs modelessly and processes events until it emits hidden().
template <typename Window> void runUntilHidden(Window& window, QWidget* blocked = nullptr) {
    QEventLoop loop;
    QObject::connect(&window, &Window::hidden, &loop, &QEventLoop::quit);
    std::optional<FrontWindowKeeper> keeper;
    if (blocked != nullptr)
        keeper.emplace(*blocked, window);
    window.show();
    if (window.isVisible())
        loop.exec();
}

} // namespace zep
