#include "platform/dde_dbus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QUrl>
#include <QVariantMap>

namespace zep {

QString applicationBusName(const QString& desktopId) {
    QString name = desktopId;
    if (name.endsWith(QStringLiteral(".desktop")))
        name.chop(8);
    return name;
}

// The freedesktop rule: "/" before the bus name, every "." becomes "/" and every "-" becomes "_".
QString applicationObjectPath(const QString& desktopId) {
    QString path = applicationBusName(desktopId);
    path.replace(u'.', u'/');
    path.replace(u'-', u'_');
    return u'/' + path;
}

bool sendFileToDesktopApplication(const QString& desktopId, const QString& filePath, bool startApplication,
                                  QObject* context, ApplicationAnswer answer, int timeoutMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return sendFileToDesktopApplication(bus, desktopId, filePath, startApplication, context, std::move(answer),
                                        timeoutMs);
}

bool sendFileToDesktopApplication(QDBusConnection& bus, const QString& desktopId, const QString& filePath,
                                  bool startApplication, QObject* context, ApplicationAnswer answer, int timeoutMs) {
    const QString service = applicationBusName(desktopId);
    if (!bus.isConnected() || service.isEmpty())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, applicationObjectPath(desktopId),
                                       QStringLiteral("org.freedesktop.Application"), QStringLiteral("Open"));
    call.setAutoStartService(startApplication);
    call << QStringList{QUrl::fromLocalFile(filePath).toString()} << QVariantMap{};
    // The watcher belongs to the context: with the context gone, no answer is delivered.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [watcher, answer = std::move(answer)] {
        watcher->deleteLater();
        if (answer)
            answer(!watcher->isError());
    });
    return true;
}

} // namespace zep
