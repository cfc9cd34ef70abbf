#pragma once

#include <QString>

#include <chrono>

namespace zep {

// How the word processor is reached and, when none is running, started.
struct OfficeOptions {
    QString sofficePath; // the office's start program
    QString pipeName;    // the pipe the office accepts connections on
    std::chrono::milliseconds connectBound{std::chrono::seconds(60)};
    // How long "Beenden" waits for the user's answer to the office's question about unsaved changes.
    std::chrono::milliseconds quitAnswerBound{std::chrono::minutes(2)};
    bool headless = false;    // no windows: there is no display
    QString userInstallation; // URL of a private profile, empty for the user's own
    QString dataSourceName;   // under which the serial-letter data are registered

    // The installed office (findOfficeProgram), a pipe per user, headless without a display.
    static OfficeOptions defaults();
};

} // namespace zep
