#pragma once

#include "app/install_paths.h"
#include "app/registry.h"
#include "app/settings.h"
#include "app/tmand.h"

namespace zep {

// What the program fixes at start-up and keeps for the whole run.
struct Program {
    InstallPaths paths;
    TMand client; // empty name until a client is opened
    // Wiedervorlage/Zeigen as read at start: 0 never, 1 at program start, 2 at every client change.
    int resubmissionStart = 0;

    Settings settings() const { return Settings(paths.settingsFile); }
    ClientSettings clientSettings() const { return ClientSettings(client.IniFile); }
    Registry registry() const { return Registry(paths.registryFile); }

    // The process-wide instance, set by the application at start-up or by a test. Using it before
    // one is set is a programming error and aborts.
    static Program& instance();
    // Does not take ownership; pass nullptr to clear.
    static void setInstance(Program* program);
};

} // namespace zep
