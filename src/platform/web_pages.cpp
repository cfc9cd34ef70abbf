#include "platform/web_pages.h"

#include "platform/desktop_associations.h"

#include <QDesktopServices>
#include <QUrl>

namespace zep {

namespace {
WebPages* installedPages = nullptr;

constexpr int Opened = 33;
constexpr int NothingToOpen = 2;
constexpr int NoProgram = 31;
} // namespace

WebPages& WebPages::instance() {
    static DesktopWebPages desktop;
    return installedPages ? *installedPages : desktop;
}

void WebPages::setInstance(WebPages* pages) {
    installedPages = pages;
}

// Addresses are typed by hand ("www.example.de"): a missing scheme is taken as http.
int DesktopWebPages::open(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (!url.isValid() || url.isEmpty())
        return NothingToOpen;
    // Only internet addresses: a typed "file:" or program address is not a web page. The desktop's
    // opener reports success even when nothing takes the address, so ask for a handler first.
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https" && scheme != u"ftp")
        return NoProgram;
    if (!DesktopAssociations().schemeHandler(scheme))
        return NoProgram;
    return QDesktopServices::openUrl(url) ? Opened : NoProgram;
}

} // namespace zep
