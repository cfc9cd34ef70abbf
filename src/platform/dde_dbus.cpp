#include "platform/dde_dbus.h"

#include <QDBusConnection>
#include <QDBusMessage>
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

bool openWithDesktopApplication(const QString& desktopId, const QString& filePath, bool startApplication,
                                int timeoutMs) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return openWithDesktopApplication(bus, desktopId, filePath, startApplication, timeoutMs);
}

bool openWithDesktopApplication(QDBusConnection& bus, const QString& desktopId, const QString& filePath,
                                bool startApplication, int timeoutMs) {
    const QString service = applicationBusName(desktopId);
    if (!bus.isConnected() || service.isEmpty())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, applicationObjectPath(desktopId),
                                       QStringLiteral("org.freedesktop.Application"), QStringLiteral("Open"));
    call.setAutoStartService(startApplication);
    call << QStringList{QUrl::fromLocalFile(filePath).toString()} << QVariantMap{};
    const QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace zep
