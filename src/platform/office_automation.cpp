#include "platform/office_automation.h"

#include "platform/office_data_source.h"
#include "platform/uno_bridge.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatch.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XTerminateListener2.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/util/URLTransformer.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <optional>

namespace zep {

namespace {

using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

const QString applicationId = QStringLiteral("Word.Application");
constexpr int pollMilliseconds = 200;
// An office started while another runs with the same profile hands its arguments over and ends;
// the running one then opens the pipe.
constexpr qint64 handOverMilliseconds = 5000;
// Quit's first argument: ask whether to save changes, or drop them.
constexpr int promptToSaveChanges = -2;
constexpr int doNotSaveChanges = 0;

// Runs one member's work; whatever the bridge or the office throws becomes an AutomationError.
template <typename Work> auto guarded(const QString& member, Work&& work) {
    try {
        return work();
    } catch (const AutomationError&) {
        throw;
    } catch (const css::uno::Exception& error) {
        throw AutomationError(QStringLiteral("%1: %2").arg(member, fromUno(error.Message)));
    } catch (const cppu::BootstrapException& error) {
        throw AutomationError(QStringLiteral("%1: %2").arg(member, fromUno(error.getMessage())));
    } catch (const std::exception& error) {
        throw AutomationError(QStringLiteral("%1: %2").arg(member, QString::fromLocal8Bit(error.what())));
    }
}

// Windows keep painting while the office starts; clicks wait, so no second start begins meanwhile.
void waitPolling() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, pollMilliseconds / 4);
    QThread::msleep(pollMilliseconds);
}

// The letter's window, or without a letter the office's current one.
Reference<css::frame::XFrame> frameOf(const Reference<css::frame::XModel>& document,
                                      const Reference<css::frame::XDesktop2>& desktop) {
    if (!document.is())
        return desktop->getCurrentFrame();
    auto controller = document->getCurrentController();
    return controller.is() ? controller->getFrame() : Reference<css::frame::XFrame>();
}

// Without windows nobody can be asked: the office ends, unsaved changes are dropped.
void terminateOffice(const Reference<css::frame::XDesktop2>& desktop) {
    try {
        if (!desktop->terminate())
            throw AutomationError(QStringLiteral("Das Textprogramm lehnte das Beenden ab"));
    } catch (const css::lang::DisposedException&) {
        // The office ended before its answer crossed the bridge.
    }
}

// How a quit that asks the user ended. The office calls in on the bridge's threads.
class QuitWatch : public cppu::WeakImplHelper1<css::frame::XTerminateListener2> {
public:
    enum class Outcome { Pending, Ended, Cancelled, Lost };

    Outcome outcome() const { return m_outcome.load(); }

    void SAL_CALL queryTermination(const css::lang::EventObject&) override {}
    void SAL_CALL notifyTermination(const css::lang::EventObject&) override { settle(Outcome::Ended); }
    // The user cancelled the question about unsaved changes: the office runs on.
    void SAL_CALL cancelTermination(const css::lang::EventObject&) override { settle(Outcome::Cancelled); }
    // The desktop or the bridge went away without a notice of termination: the office broke off.
    void SAL_CALL disposing(const css::lang::EventObject&) override { settle(Outcome::Lost); }

private:
    void settle(Outcome outcome) {
        auto pending = Outcome::Pending;
        m_outcome.compare_exchange_strong(pending, outcome);
    }

    std::atomic<Outcome> m_outcome{Outcome::Pending};
};

// The office's own quit asks about unsaved documents. dispatch() is one-way: the question waits for
// the user in the office, not in this program.
void dispatchQuit(const Reference<css::uno::XComponentContext>& office, const Reference<css::frame::XDesktop2>& desktop,
                  const Reference<css::frame::XFrame>& frame) {
    css::util::URL url;
    url.Complete = ".uno:Quit";
    css::util::URLTransformer::create(office)->parseStrict(url);
    Reference<css::frame::XDispatchProvider> provider(frame, UNO_QUERY);
    if (!provider.is())
        provider.set(desktop, UNO_QUERY_THROW);
    if (auto dispatch = provider->queryDispatch(url, rtl::OUString(), 0); dispatch.is())
        dispatch->dispatch(url, {});
    else
        terminateOffice(desktop);
}

void discardChanges(const Reference<css::frame::XDesktop2>& desktop) {
    auto components = desktop->getComponents()->createEnumeration();
    while (components->hasMoreElements()) {
        Reference<css::util::XModifiable> document(components->nextElement(), UNO_QUERY);
        if (document.is())
            document->setModified(false);
    }
}

} // namespace

OfficeAutomation::OfficeAutomation(OfficeOptions options) : m_options(std::move(options)) {}

void OfficeAutomation::connect(const QString& programId, Connect) {
    // One office runs per profile: a new object and the running one are the same.
    if (programId != applicationId)
        throw AutomationError(QStringLiteral("Das Programm %1 wird nicht unterstützt").arg(programId));
    disconnect();
    guarded(QStringLiteral("connect"), [this] {
        m_office = connectWithinBound();
        m_desktop = css::frame::Desktop::create(m_office);
    });
}

Reference<css::uno::XComponentContext> OfficeAutomation::connectWithinBound() {
    try {
        return connectToOffice(m_options.pipeName);
    } catch (const css::connection::NoConnectException&) {
    }
    m_process = OfficeProcess::start(m_options);
    QElapsedTimer timer;
    timer.start();
    std::optional<qint64> endedAt;
    for (;;) {
        waitPolling();
        try {
            return connectToOffice(m_options.pipeName);
        } catch (const css::uno::Exception&) {
            // Not listening yet, or the bridge broke while the office was still starting.
        }
        if (!endedAt && !m_process.isRunning())
            endedAt = timer.elapsed();
        const bool pastBound = timer.elapsed() >= m_options.connectBound.count();
        if (pastBound || (endedAt && timer.elapsed() - *endedAt >= handOverMilliseconds)) {
            m_process.kill();
            throw AutomationError(pastBound ? QStringLiteral("Das Textprogramm meldete sich nicht in %1 s")
                                                  .arg(m_options.connectBound.count() / 1000.0)
                                            : QStringLiteral("Das Textprogramm endete beim Start"));
        }
    }
}

void OfficeAutomation::disconnect() {
    m_document.clear();
    m_desktop.clear();
    m_office.clear();
    m_process.release();
}

bool OfficeAutomation::isConnected() const {
    return m_office.is();
}

QVariant OfficeAutomation::call(const QString& member, const QVariantList& arguments) {
    return guarded(member, [&] {
        if (member == QLatin1String("Documents.Open"))
            openDocument(arguments);
        else if (member == QLatin1String("ActiveDocument.MailMerge.OpenDataSource"))
            openDataSource(arguments);
        else if (member == QLatin1String("Activate"))
            activate();
        else if (member == QLatin1String("Quit"))
            quit(arguments);
        else
            throw AutomationError(QStringLiteral("Unbekannter Aufruf %1").arg(member));
        return QVariant();
    });
}

void OfficeAutomation::setProperty(const QString& member, const QVariant& value) {
    guarded(member, [&] {
        if (member == QLatin1String("ActiveDocument.MailMerge.MainDocumentType")) {
            // Every Writer document merges as a form letter, the only type asked for.
            activeDocument(member);
            if (value.toInt() != 0)
                throw AutomationError(QStringLiteral("Hauptdokumentart %1 wird nicht unterstützt").arg(value.toInt()));
        } else if (member == QLatin1String("Visible")) {
            setVisible(value.toBool());
        } else {
            throw AutomationError(QStringLiteral("Unbekannte Eigenschaft %1").arg(member));
        }
    });
}

QVariant OfficeAutomation::property(const QString& member) {
    return guarded(member, [&] {
        if (member != QLatin1String("Version"))
            throw AutomationError(QStringLiteral("Unbekannte Eigenschaft %1").arg(member));
        return QVariant(version());
    });
}

void OfficeAutomation::requireConnection(const QString& member) const {
    if (!isConnected())
        throw AutomationError(QStringLiteral("%1: keine Verbindung zum Textprogramm").arg(member));
}

Reference<css::frame::XModel> OfficeAutomation::activeDocument(const QString& member) const {
    requireConnection(member);
    if (!m_document.is())
        throw AutomationError(QStringLiteral("%1: kein Dokument geöffnet").arg(member));
    return m_document;
}

void OfficeAutomation::openDocument(const QVariantList& arguments) {
    requireConnection(QStringLiteral("Documents.Open"));
    const QString path = arguments.value(0).toString();
    if (!QFileInfo(path).isFile())
        throw AutomationError(QStringLiteral("Das Dokument %1 fehlt").arg(path));
    Reference<css::frame::XComponentLoader> loader(m_desktop, UNO_QUERY_THROW);
    const auto loadProperties = unoSequence({unoProperty("ReadOnly", Any(arguments.value(2).toBool()))});
    auto component = loader->loadComponentFromURL(toUno(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)),
                                                  "_default", 0, loadProperties);
    Reference<css::lang::XServiceInfo> service(component, UNO_QUERY);
    if (!service.is() || !service->supportsService("com.sun.star.text.TextDocument"))
        throw AutomationError(QStringLiteral("%1 ist kein Textdokument").arg(path));
    m_document.set(component, UNO_QUERY_THROW);
}

void OfficeAutomation::openDataSource(const QVariantList& arguments) {
    auto letter = activeDocument(QStringLiteral("ActiveDocument.MailMerge.OpenDataSource"));
    const QString table = registerDataFile(m_office, arguments.value(0).toString(), m_options.dataSourceName);
    attachDataSource(letter, m_options.dataSourceName, table);
}

void OfficeAutomation::setVisible(bool visible) {
    requireConnection(QStringLiteral("Visible"));
    if (auto frame = frameOf(m_document, m_desktop); frame.is())
        frame->getContainerWindow()->setVisible(visible);
}

void OfficeAutomation::activate() {
    requireConnection(QStringLiteral("Activate"));
    auto frame = frameOf(m_document, m_desktop);
    if (!frame.is())
        return;
    auto window = frame->getContainerWindow();
    if (Reference<css::awt::XTopWindow> top(window, UNO_QUERY); top.is())
        top->toFront();
    frame->activate();
    window->setFocus();
}

QString OfficeAutomation::version() {
    requireConnection(QStringLiteral("Version"));
    auto configuration = css::configuration::theDefaultProvider::get(m_office);
    const auto where = unoSequence({Any(unoProperty("nodepath", Any(rtl::OUString("/org.openoffice.Setup/Product"))))});
    Reference<css::container::XNameAccess> product(
        configuration->createInstanceWithArguments("com.sun.star.configuration.ConfigurationAccess", where),
        UNO_QUERY_THROW);
    return fromUno(product->getByName("ooName").get<rtl::OUString>()) + QLatin1Char(' ') +
           fromUno(product->getByName("ooSetupVersionAboutBox").get<rtl::OUString>());
}

void OfficeAutomation::quit(const QVariantList& arguments) {
    requireConnection(QStringLiteral("Quit"));
    const int saveChanges = arguments.value(0, promptToSaveChanges).toInt();
    if (saveChanges == doNotSaveChanges)
        discardChanges(m_desktop);
    else if (saveChanges != promptToSaveChanges)
        throw AutomationError(QStringLiteral("Quit: Speicherart %1 wird nicht unterstützt").arg(saveChanges));
    try {
        if (m_options.headless)
            terminateOffice(m_desktop);
        else
            quitAskingTheUser();
    } catch (const css::uno::Exception&) {
        // The bridge broke on the way: there is nothing left to hold.
        disconnect();
        throw;
    }
    disconnect();
}

// Returns once the office has ended; throws, still connected, when the user cancelled its question
// about unsaved changes or gave no answer within the bound (an office busy with a dialog of its own
// drops the request without a word), and disconnected when the bridge broke first. This program's
// windows keep painting meanwhile.
void OfficeAutomation::quitAskingTheUser() {
    auto* watch = new QuitWatch; // owned by the reference below
    const Reference<css::frame::XTerminateListener> listener(watch);
    const Reference<css::lang::XEventListener> bridgeListener(watch);
    m_desktop->addTerminateListener(listener);
    const auto bridges = openBridges();
    for (const auto& bridge : bridges)
        bridge->addEventListener(bridgeListener);
    auto stopWatchingBridges = [&] {
        for (const auto& bridge : bridges)
            bridge->removeEventListener(bridgeListener);
    };
    auto stopWatching = [&] {
        stopWatchingBridges();
        if (watch->outcome() != QuitWatch::Outcome::Ended && watch->outcome() != QuitWatch::Outcome::Lost)
            m_desktop->removeTerminateListener(listener);
    };
    QElapsedTimer waited;
    waited.start();
    try {
        dispatchQuit(m_office, m_desktop, frameOf(m_document, m_desktop));
        while (watch->outcome() == QuitWatch::Outcome::Pending && waited.elapsed() < m_options.quitAnswerBound.count())
            waitPolling();
    } catch (...) {
        stopWatching();
        throw;
    }
    stopWatching();
    switch (watch->outcome()) {
    case QuitWatch::Outcome::Pending:
        throw AutomationError(QStringLiteral("Quit: Das Textprogramm hat nicht geantwortet"));
    case QuitWatch::Outcome::Cancelled:
        throw AutomationError(QStringLiteral("Quit: Das Beenden wurde abgebrochen"));
    case QuitWatch::Outcome::Lost:
        disconnect();
        throw AutomationError(QStringLiteral("Quit: Die Verbindung zum Textprogramm brach ab"));
    case QuitWatch::Outcome::Ended:
        break;
    }
}

} // namespace zep
