#pragma once

#include <QString>

namespace zep {

// Shared by the client opening and the client list dialog for one OpenClient call.
struct ClientSelection {
    QString chosenName;
    QString chosenDir;
    // The client that is open already and need not be opened again; empty when the caller gave none.
    QString openName;
    QString programKey;
};

} // namespace zep
