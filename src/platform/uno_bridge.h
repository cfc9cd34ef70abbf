#pragma once

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Sequence.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <QString>

#include <initializer_list>
#include <vector>

namespace zep {

// Text across the bridge: both sides hold UTF-16.
rtl::OUString toUno(const QString& text);
QString fromUno(const rtl::OUString& text);

css::beans::PropertyValue unoProperty(const char* name, const css::uno::Any& value);

template <typename T> css::uno::Sequence<T> unoSequence(std::initializer_list<T> items) {
    return css::uno::Sequence<T>(items.begin(), static_cast<sal_Int32>(items.size()));
}

// The office's component context over a URP connection on the named pipe. Throws
// css::connection::NoConnectException while no office listens there, other UNO exceptions on a
// broken bridge. The local UNO runtime is bootstrapped once per process.
css::uno::Reference<css::uno::XComponentContext> connectToOffice(const QString& pipeName);

// The bridges this process holds open; each tells its event listeners when it breaks.
std::vector<css::uno::Reference<css::lang::XComponent>> openBridges();

} // namespace zep
