#pragma once

#include "app/install_paths.h"
#include "app/registry.h"
#include "clients/client_list.h"
#include "clients/client_selection.h"
#include "clients/network_file_system.h"

#include <QString>

#include <functional>

namespace zep {

class ClientTables;
class Interaction;
class TMand;

// Chooses and opens a client: switches the client tables to the client's "Daten" directory, upgrades
// tables of an older layout, and keeps TMand and the clients key's last client up to date.
class ClientOpening {
public:
    // Shows the client list with a countdown (0 or less: none) and returns whether it closed with OK.
    using ClientDialog = std::function<bool(int countdown)>;
    // Brings the tables of a data directory to the layout of the marker; non-zero low byte on success.
    using TableUpgrade = std::function<int(const QString& dataDir, const QString& marker)>;
    // Sets right what a crash left half done in the opened client's register and files; returns the
    // German message to show once, empty when nothing was found.
    using FilingRecovery = std::function<QString(const QString& dataDir, const QString& filesDir)>;

    ClientOpening(InstallPaths paths, Registry registry, ClientTables& tables, TMand& client, Interaction& interaction,
                  ClientDialog dialog);

    // Replaces DO_UPDATE_DATA.
    void setTableUpgrade(TableUpgrade upgrade) { upgrade_ = std::move(upgrade); }
    void setNetworkFileSystemCheck(NetworkFileSystemCheck check) { networkCheck_ = std::move(check); }
    // Run on every client once its tables are open; none by default.
    void setFilingRecovery(FilingRecovery recovery) { recovery_ = std::move(recovery); }

    // mode 0: open the last client, showing the list without countdown when that fails; -1: show the
    // list without countdown, currentName being the client open now; n > 0: show the list with an
    // n-second countdown. True when a client is open afterwards.
    bool OpenClient(const QString& programKey, const QString& currentName, int mode);

    // True when the chosen client is open afterwards; an empty choice is never open. Errors of the data
    // module that escape are passed on after the notice was removed and the failure reported.
    bool OpenSelectedClient();
    // One attempt of the client list to open the chosen client: an escaping error is shown instead of
    // passed on, and afterwards the open client is forgotten so that the next attempt opens anew.
    bool attemptOpenSelectedClient();

    // Runs while the opening notice is shown. The result of opening the tables again after the
    // upgrade, or -2.
    int UpgradeClientTables();

    ClientSelection& selection() { return selection_; }
    const InstallPaths& paths() const { return paths_; }
    Interaction& interaction() const { return interaction_; }
    ClientList clients() const { return ClientList(registry_, selection_.programKey); }
    // The client whose tables the program works on now; "" before the first client was opened.
    QString openClientName() const;

private:
    bool openLastClient();
    bool switchTables();
    int settleInterruptedFiling();
    void finishOpening(bool opened);

    InstallPaths paths_;
    Registry registry_;
    ClientTables& tables_;
    TMand& client_;
    Interaction& interaction_;
    ClientDialog dialog_;
    TableUpgrade upgrade_;
    NetworkFileSystemCheck networkCheck_;
    FilingRecovery recovery_;
    QString recoveryNotice_;
    ClientSelection selection_;
};

} // namespace zep
