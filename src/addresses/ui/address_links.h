#pragma once

#include <QString>

namespace zep {

// Asks the telephony service to call the number, exactly as displayed, for the called party; its
// three failures are told to the user.
void DialNumber(const QString& number, const QString& calledParty);

// Opens an internet address with the desktop's browser; a failure is told to the user.
void OpenWebPage(const QString& address);

} // namespace zep
