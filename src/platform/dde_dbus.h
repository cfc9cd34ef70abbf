#pragma once

#include <QString>

#include <functional>

class QDBusConnection;
class QObject;

namespace zep {

// A desktop entry id ("org.example.Editor.desktop") as its D-Bus service name and object path.
QString applicationBusName(const QString& desktopId);
QString applicationObjectPath(const QString& desktopId);

// Called with whether the application took the file: false for a refusal, for nobody there and for no
// answer within the timeout.
using ApplicationAnswer = std::function<void(bool taken)>;

// Hands a file to an application through org.freedesktop.Application.Open on the session bus without
// waiting for it: the answer comes later, on the context's thread, and never after the context is
// gone. With startApplication the bus may start a D-Bus activatable application that is not running.
// False when nothing was sent (no session bus); the answer then never comes.
bool sendFileToDesktopApplication(const QString& desktopId, const QString& filePath, bool startApplication,
                                  QObject* context, ApplicationAnswer answer, int timeoutMs = 5000);
// The same on a given bus connection.
bool sendFileToDesktopApplication(QDBusConnection& bus, const QString& desktopId, const QString& filePath,
                                  bool startApplication, QObject* context, ApplicationAnswer answer,
                                  int timeoutMs = 5000);

} // namespace zep
