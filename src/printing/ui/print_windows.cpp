#include "printing/ui/print_windows.h"

#include "app/program.h"
#include "data/tdm.h"
#include "mainwin/ui/main_window.h"
#include "printing/ui/address_print_dialog.h"
#include "printing/ui/envelope_print_dialog.h"

#include <QEventLoop>

namespace zep {

namespace {

// The main window is enabled again on every path out of the dialog's loop.
class MainWindowDisabled {
public:
    explicit MainWindowDisabled(QWidget& window) : window_(window) { window_.setEnabled(false); }
    ~MainWindowDisabled() { window_.setEnabled(true); }
    MainWindowDisabled(const MainWindowDisabled&) = delete;
    MainWindowDisabled& operator=(const MainWindowDisabled&) = delete;

private:
    QWidget& window_;
};

void runUntilHidden(LayoutDialog& dialog) {
    QEventLoop loop;
    QObject::connect(&dialog, &LayoutDialog::hidden, &loop, &QEventLoop::quit);
    dialog.show();
    if (dialog.isVisible())
        loop.exec();
}

} // namespace

void PrintAddresses(MainWindow& window) {
    const MainWindowDisabled disabled(window);
    const Program& program = Program::instance();
    AddressPrintDialog dialog(program.paths.general, program.client.DataDir,
                              [&window](bool withDescendants, bool withMainEntries) {
                                  return window.addressPrintSelection(withDescendants, withMainEntries);
                              });
    runUntilHidden(dialog);
}

void PrintEnvelope(MainWindow& window) {
    const MainWindowDisabled disabled(window);
    EnvelopePrintDialog dialog(Program::instance().paths.general, window.dataModule().TAdr);
    runUntilHidden(dialog);
}

} // namespace zep
