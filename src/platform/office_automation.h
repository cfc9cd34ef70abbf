#pragma once

#include "platform/office_options.h"
#include "platform/office_process.h"
#include "serial/automation.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace zep {

// The word processor of the serial letters: LibreOffice Writer over a UNO bridge, answering the
// members of "Word.Application" that the serial-letter sequences use. Every failure, also a lost
// bridge, throws AutomationError.
class OfficeAutomation : public Automation {
public:
    explicit OfficeAutomation(OfficeOptions options = OfficeOptions::defaults());

    void connect(const QString& programId, Connect how) override;
    void disconnect() override;
    bool isConnected() const override;

    QVariant call(const QString& member, const QVariantList& arguments) override;
    void setProperty(const QString& member, const QVariant& value) override;
    QVariant property(const QString& member) override;

    const OfficeOptions& options() const { return m_options; }
    // The office process this object started, if it started one.
    qint64 startedProcess() const { return m_process.id(); }

private:
    css::uno::Reference<css::uno::XComponentContext> connectWithinBound();
    void openDocument(const QVariantList& arguments);
    void openDataSource(const QVariantList& arguments);
    void quit(const QVariantList& arguments);
    void quitAskingTheUser();
    void activate();
    void setVisible(bool visible);
    QString version();
    css::uno::Reference<css::frame::XModel> activeDocument(const QString& member) const;
    void requireConnection(const QString& member) const;

    OfficeOptions m_options;
    OfficeProcess m_process;
    css::uno::Reference<css::uno::XComponentContext> m_office;
    css::uno::Reference<css::frame::XDesktop2> m_desktop;
    css::uno::Reference<css::frame::XModel> m_document;
};

} // namespace zep
