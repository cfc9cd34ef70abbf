#include "printing/ui/print_windows.h"

#include "app/program.h"
#include "app/ui/modeless_run.h"
#include "data/tdm.h"
#include "mainwin/ui/main_window.h"
#include "printing/ui/address_print_dialog.h"
#include "printing/ui/envelope_print_dialog.h"

namespace zep {

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
