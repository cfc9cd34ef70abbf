#pragma once

#include <QString>

class QDBusConnection;

namespace zep {

// A desktop entry id ("org.example.Editor.desktop") as its D-Bus service name and object path.
QString applicationBusName(const QString& desktopId);
QString applicationObjectPath(const QString& desktopId);

// Hands a file to a running application through org.freedesktop.Application.Open on the session
// bus. With startApplication the bus may start a D-Bus activatable application that is not running.
// False when there is no session bus, nobody answers within the timeout, or the call fails.
bool openWithDesktopApplication(const QString& desktopId, const QString& filePath, bool startApplication,
                                int timeoutMs = 5000);
// The same on a given bus connection.
bool openWithDesktopApplication(QDBusConnection& bus, const QString& desktopId, const QString& filePath,
                                bool startApplication, int timeoutMs = 5000);

} // namespace zep
