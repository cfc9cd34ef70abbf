#pragma once

#include <QString>

namespace zep {

// Results of a call request, as the telephony service reports them.
inline constexpr int TelephonyAccepted = 0;
inline constexpr int TelephonyNoRecipient = -2;   // no program takes calls
inline constexpr int TelephonyQueueFull = -3;     // the program refuses further calls
inline constexpr int TelephonyInvalidNumber = -4; // the number cannot be dialled

// Places a call through whatever the desktop offers. Tests install a double.
class Telephony {
public:
    virtual ~Telephony() = default;
    // One of the results above; the number is passed exactly as given.
    virtual int requestMakeCall(const QString& destination, const QString& applicationName, const QString& calledParty,
                                const QString& comment) = 0;

    // The installed instance, or the desktop's when none is installed.
    static Telephony& instance();
    // Does not take ownership; nullptr restores the desktop's.
    static void setInstance(Telephony* telephony);
};

// Hands a "tel:" address to the desktop's handler for that scheme.
class DesktopTelephony : public Telephony {
public:
    int requestMakeCall(const QString& destination, const QString& applicationName, const QString& calledParty,
                        const QString& comment) override;
};

} // namespace zep
