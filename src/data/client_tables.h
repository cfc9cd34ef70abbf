#pragma once

#include <QString>

namespace zep {

// What opening a client asks of the data modules: re-point, open and close the per-client tables
// and the document query. TDM and TDM1 provide it; tests may provide their own.
class ClientTables {
public:
    virtual ~ClientTables() = default;
    virtual void CloseClientTables() = 0;
    virtual void CloseDocumentQuery() = 0;
    virtual void SetClientDataDir(const QString& dataDir) = 0;
    // 0 opened; -2 a table lacks the version marker or Serie.db is missing and could not be copied;
    // -1 an error of the engine. Never throws.
    virtual int OpenClientTables() = 0;
};

} // namespace zep
