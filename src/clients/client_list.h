#pragma once

#include "app/registry.h"

#include <QList>
#include <QString>

#include <optional>

namespace zep {

struct ClientEntry {
    QString name;
    QString directory; // as registered
};

// What the client list dialog shows: the clients in display order and the row of the client opened
// last (-1 when that client is not in the list).
struct ClientListing {
    QList<ClientEntry> clients;
    int lastClientRow = -1;
};

// The clients registered under the clients key (program key + "Mandanten"): every named value maps
// a client name to its directory, the unnamed value names the client opened last. Names match
// without regard to case, so names differing only in case are one client.
class ClientList {
public:
    ClientList(Registry registry, const QString& programKey);

    const QString& clientsKey() const { return clientsKey_; }

    // Sorted by name (case and accents ignored).
    ClientListing listing() const;
    // Empty when no client was opened yet.
    QString lastClient() const;
    bool setLastClient(const QString& clientName) const;
    // The listed client of that name, however its letters are cased; nothing when none is listed.
    std::optional<ClientEntry> find(const QString& clientName) const;
    // Empty for an empty name and for a client that is not registered.
    QString directoryOf(const QString& clientName) const;
    // Adds the client or replaces the directory of a client of that name.
    bool registerClient(const QString& clientName, const QString& directory) const;
    // Removes the entry only; the client's directory is not touched.
    bool remove(const QString& clientName) const;
    // Why the last write to the list's file failed, in German.
    const QString& lastError() const { return registry_.lastError(); }

private:
    Registry registry_;
    QString clientsKey_;
};

} // namespace zep
