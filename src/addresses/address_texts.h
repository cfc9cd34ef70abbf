#pragma once

#include <QString>
#include <QStringList>

namespace zep {

// Results of a call request, as the telephony service reports them.
inline constexpr int TelephonyAccepted = 0;
inline constexpr int TelephonyNoRecipient = -2;   // no program takes calls
inline constexpr int TelephonyQueueFull = -3;     // the program refuses further calls
inline constexpr int TelephonyInvalidNumber = -4; // the number cannot be dialled

QString deleteEntryQuestion();
// Files of deleted entries that could not be put into the trash; their documents and entries stay.
QString filesNotTrashedMessage(const QStringList& paths);
// The message for a result of a call request; empty when none is shown.
QString dialResultMessage(int result);
// The message for an internet address that could not be opened (code 32 or less).
QString webPageErrorMessage(int code);
// The number as the telephony service takes it: at most 80 characters.
QString dialDestination(const QString& number);
// The application name handed to the telephony service.
QString dialApplicationName();

} // namespace zep
