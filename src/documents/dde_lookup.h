#pragma once

#include "documents/associations.h"

#include <QString>

#include <optional>

namespace zep {

// The request a running application is sent for a document, instead of starting the program.
struct DdeCommand {
    QString service;
    QString topic;
    QString command;
};

// The request the document's file type registers for the verb, but only when the type's command comes
// from exactly the given desktop entry or runs exactly the given program (letter case counts): another
// program must not receive the document.
std::optional<DdeCommand> FindDdeCommand(const Associations& associations, const QString& programPath,
                                         const QString& documentPath, DocumentVerb verb);

} // namespace zep
