#pragma once

#include "addresses/address_texts.h"

#include <QString>

namespace zep {

// Places a call through whatever the desktop offers. Tests install a double.
class Telephony {
public:
    virtual ~Telephony() = default;
    // One of the Telephony* results; the number is passed exactly as given.
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
