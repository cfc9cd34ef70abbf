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

MainWindow::~MainWindow() = default;

void MainWindow::setDataModule(TDM* dm) {
    dm_ = dm;
}

void MainWindow::setClientOpener(ClientOpener opener) {
    clientOpener_ = std::move(opener);
}

TDM& MainWindow::dataModule() {
    return *dm_;
}

void MainWindow::setViewTabCaption(int, const QString&) {}
void MainWindow::applyEntryRule(bool) {}
void MainWindow::reloadDocumentList(bool, bool) {}
void MainWindow::showAddressSummary() {}
void MainWindow::clearAddressSummary() {}
void MainWindow::setGridAcceptsFiles(bool) {}
void MainWindow::moveDocument(int) {}
void MainWindow::copyDocument(int) {}
bool MainWindow::currentDocumentIsNote() {
    return false;
}
void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
}
void MainWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
}

} // namespace zep
