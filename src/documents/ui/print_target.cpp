#include "documents/ui/print_target.h"

#include "app/interaction.h"
#include "app/program_info.h"

#include <QPrinter>

namespace zep {

std::optional<QString> choosePrintTarget() {
    QPrinter printer;
    Interaction& interaction = Interaction::instance();
    if (!interaction.setupPrinter(printer, QStringLiteral("Drucken")))
        return std::nullopt;
    if (!printer.outputFileName().isEmpty()) {
        interaction.error(QStringLiteral("Dokumente druckt ZEP auf einem Drucker, nicht in eine Datei."),
                          ApplicationName.toString());
        return std::nullopt;
    }
    return printer.printerName();
}

} // namespace zep
