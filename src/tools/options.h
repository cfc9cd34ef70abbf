#pragma once

#include "app/settings.h"

#include <QString>

#include <array>

namespace zep {

// What the options window edits: start behaviour and resubmission view from "zep.ini", the free
// field captions from the open client's "Mand.ini".
struct OptionValues {
    QString autoStartTime; // as text: an empty value is stored empty and read back at start as 15
    bool music = true;
    // 0 never, 1 at program start, 2 at every client change; any other stored value selects no choice.
    int resubmissionShow = 0;
    std::array<QString, 10> addressCaptions;
    std::array<QString, 6> documentCaptions;
};

OptionValues readOptions(const Settings& settings, const ClientSettings& clientSettings);

// Writes every value as it stands; false when any of the files could not be written.
bool writeOptions(const OptionValues& values, const Settings& settings, const ClientSettings& clientSettings);

// The running program's resubmission start value after the user chose a mode: "at program start"
// only takes effect at the next start, so it counts as "never" for the rest of this run.
int runningResubmissionStart(int chosenMode);

} // namespace zep
