#include "platform/uno_bridge.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <cppuhelper/bootstrap.hxx>

#include <csignal>
#include <mutex>

namespace zep {

namespace {

// The runtime finds its type libraries and services through this ini file.
const char* const fundamentalRc = "vnd.sun.star.pathname:/usr/lib/libreoffice/program/fundamentalrc";

css::uno::Reference<css::uno::XComponentContext> localContext() {
    // Kept to the end of the process: releasing it among the static destructors races the runtime's own.
    static std::once_flag once;
    static auto* context = new css::uno::Reference<css::uno::XComponentContext>();
    std::call_once(once, [] {
        // The bridge writes to a pipe: when the office has gone away that write must fail, not end this program.
        std::signal(SIGPIPE, SIG_IGN);
        if (!qEnvironmentVariableIsSet("URE_BOOTSTRAP"))
            qputenv("URE_BOOTSTRAP", fundamentalRc);
        *context = cppu::defaultBootstrap_InitialComponentContext();
    });
    return *context;
}

} // namespace

rtl::OUString toUno(const QString& text) {
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), text.size());
}

QString fromUno(const rtl::OUString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

css::beans::PropertyValue unoProperty(const char* name, const css::uno::Any& value) {
    css::beans::PropertyValue result;
    result.Name = rtl::OUString::createFromAscii(name);
    result.Value = value;
    return result;
}

css::uno::Reference<css::uno::XComponentContext> connectToOffice(const QString& pipeName) {
    auto resolver = css::bridge::UnoUrlResolver::create(localContext());
    const QString url = QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipeName);
    css::uno::Reference<css::uno::XComponentContext> context(resolver->resolve(toUno(url)), css::uno::UNO_QUERY_THROW);
    return context;
}

std::vector<css::uno::Reference<css::lang::XComponent>> openBridges() {
    std::vector<css::uno::Reference<css::lang::XComponent>> bridges;
    for (const auto& bridge : css::bridge::BridgeFactory::create(localContext())->getExistingBridges()) {
        if (css::uno::Reference<css::lang::XComponent> component(bridge, css::uno::UNO_QUERY); component.is())
            bridges.push_back(component);
    }
    return bridges;
}

} // namespace zep
