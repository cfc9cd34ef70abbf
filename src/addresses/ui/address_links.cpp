#include "addresses/ui/address_links.h"

#include "addresses/address_texts.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "platform/telephony.h"
#include "platform/web_pages.h"

namespace zep {

namespace {
constexpr int LastShellError = 32;
} // namespace

void DialNumber(const QString& number, const QString& calledParty) {
    const int result =
        Telephony::instance().requestMakeCall(dialDestination(number), dialApplicationName(), calledParty, QString());
    if (const QString message = dialResultMessage(result); !message.isEmpty())
        Interaction::instance().information(message, ApplicationName.toString());
}

void OpenWebPage(const QString& address) {
    const int code = WebPages::instance().open(address);
    if (code <= LastShellError)
        Interaction::instance().error(webPageErrorMessage(code), ApplicationName.toString());
}

} // namespace zep
