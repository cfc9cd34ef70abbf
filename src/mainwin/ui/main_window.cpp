#include "mainwin/ui/main_window.h"

#include "app/program_info.h"

#include <QMenuBar>

namespace zep {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TM01"));
    setWindowTitle(ProgramTitle.toString());
    menuBar()->setObjectName(QStringLiteral("MainMenu"));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("PnlMain"));
    setCentralWidget(central);
    resize(1024, 700);
}

} // namespace zep
