#pragma once

#include "clients/network_file_system.h"

#include <QString>

namespace zep {

class Interaction;

// Tells the user once per client that its directory lies on a network file system; the client's
// "Mand.ini" remembers that the warning was given. Nothing is refused.
void warnOnceAboutNetworkFileSystem(const NetworkFileSystemCheck& check, Interaction& interaction,
                                    const QString& clientName, const QString& clientDir);

} // namespace zep
