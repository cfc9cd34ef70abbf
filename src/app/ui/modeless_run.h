#pragma once

#include <QEventLoop>
#include <QWidget>

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

// Shows a window that runs modelessly and processes events until it emits hidden().
template <typename Window> void runUntilHidden(Window& window) {
    QEventLoop loop;
    QObject::connect(&window, &Window::hidden, &loop, &QEventLoop::quit);
    window.show();
    if (window.isVisible())
        loop.exec();
}

} // namespace zep
