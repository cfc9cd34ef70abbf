#include "platform/telephony.h"

#include "platform/desktop_associations.h"

#include <QDesktopServices>
#include <QUrl>

namespace zep {

namespace {
Telephony* installedTelephony = nullptr;
} // namespace

Telephony& Telephony::instance() {
    static DesktopTelephony desktop;
    return installedTelephony ? *installedTelephony : desktop;
}

void Telephony::setInstance(Telephony* telephony) {
    installedTelephony = telephony;
}

// The desktop's "tel:" handler knows neither caller name nor comment; they are not passed on.
int DesktopTelephony::requestMakeCall(const QString& destination, const QString&, const QString&, const QString&) {
    QUrl url;
    url.setScheme(QStringLiteral("tel"));
    url.setPath(destination);
    if (!url.isValid())
        return TelephonyInvalidNumber;
    // The desktop's opener reports success even when nothing takes the address: ask first.
    if (!DesktopAssociations().schemeHandler(url.scheme()))
        return TelephonyNoRecipient;
    return QDesktopServices::openUrl(url) ? TelephonyAccepted : TelephonyNoRecipient;
}

} // namespace zep
