#include "printing/ui/print_windows.h"

#include "app/program.h"
#include "app/ui/help_window.h"
#include "app/ui/modeless_run.h"
#include "data/tdm.h"
#include "mainwin/ui/main_window.h"
#include "printing/ui/address_print_dialog.h"
#include "printing/ui/envelope_print_dialog.h"

namespace zep {

namespace {

void runWithHelp(LayoutDialog& dialog, MainWindow& window) {
    QObject::connect(&dialog, &LayoutDialog::helpRequested, &dialog,
                     [&dialog](const QString& topic) { ShowHelp(topic, &dialog); });
    runUntilHidden(dialog, &window);
}

} // namespace

void PrintAddresses(MainWindow& window) {
    const MainWindowDisabled disabled(window);
    const Program& program = Program::instance();
    AddressPrintDialog dialog(program.paths.general, program.client.DataDir,
                              [&window](bool withDescendants, bool withMainEntries) {
                                  return window.addressPrintSelection(withDescendants, withMainEntries);
                              });
    runWithHelp(dialog, window);
}

void PrintEnvelope(MainWindow& window) {
    const MainWindowDisabled disabled(window);
    EnvelopePrintDialog dialog(Program::instance().paths.general, window.dataModule().TAdr);
    runWithHelp(dialog, window);
}

} // namespace zep
