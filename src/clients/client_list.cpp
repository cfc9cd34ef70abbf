#include "clients/client_list.h"

#include "data/collation.h"

#include <algorithm>

namespace zep {

ClientList::ClientList(Registry registry, const QString& programKey)
    : registry_(std::move(registry)), clientsKey_(programKey + QStringLiteral("Mandanten")) {}

ClientListing ClientList::listing() const {
    QStringList names = registry_.valueNames(clientsKey_);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return collateText(a, b) < 0; });
    const QString last = lastClient();
    ClientListing result;
    for (const QString& name : names) {
        if (!last.isEmpty() && result.lastClientRow < 0 && name.compare(last, Qt::CaseInsensitive) == 0)
            result.lastClientRow = int(result.clients.size());
        result.clients.append({name, directoryOf(name)});
    }
    return result;
}

QString ClientList::lastClient() const {
    return registry_.readString(clientsKey_, {}, QString());
}

bool ClientList::setLastClient(const QString& clientName) const {
    return registry_.writeString(clientsKey_, {}, clientName);
}

std::optional<ClientEntry> ClientList::find(const QString& clientName) const {
    if (clientName.isEmpty())
        return std::nullopt;
    for (const QString& name : registry_.valueNames(clientsKey_))
        if (name.compare(clientName, Qt::CaseInsensitive) == 0)
            return ClientEntry{name, directoryOf(name)};
    return std::nullopt;
}

QString ClientList::directoryOf(const QString& clientName) const {
    if (clientName.isEmpty())
        return {};
    return registry_.readString(clientsKey_, clientName, QString());
}

bool ClientList::registerClient(const QString& clientName, const QString& directory) const {
    return !clientName.isEmpty() && registry_.writeString(clientsKey_, clientName, directory);
}

bool ClientList::remove(const QString& clientName) const {
    return !clientName.isEmpty() && registry_.deleteValue(clientsKey_, clientName);
}

} // namespace zep
