#pragma once

#include <QString>

#include <optional>

namespace zep {

// The printer for a document, chosen in the print dialog "Drucken" with the default printer first: its
// name, empty for the system's default. None when the user cancels, or picks printing into a file,
// which is told: a document goes to a printer as it is.
std::optional<QString> choosePrintTarget();

} // namespace zep
