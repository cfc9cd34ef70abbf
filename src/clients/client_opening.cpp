#include "clients/client_opening.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/settings.h"
#include "app/tmand.h"
#include "clients/client_texts.h"
#include "clients/network_warning.h"
#include "data/client_tables.h"
#include "data/services.h"
#include "data/table_upgrade.h"

#include <exception>

namespace zep {

namespace {

QString dataDirectoryOf(const QString& clientDir) {
    return clientDir + QStringLiteral("/Daten");
}

QString caption() {
    return ApplicationName.toString();
}

} // namespace

ClientOpening::ClientOpening(InstallPaths paths, Registry registry, ClientTables& tables, TMand& client,
                             Interaction& interaction, ClientDialog dialog)
    : paths_(std::move(paths)), registry_(std::move(registry)), tables_(tables), client_(client),
      interaction_(interaction), dialog_(std::move(dialog)), upgrade_(DO_UPDATE_DATA),
      networkCheck_(isOnNetworkFileSystem) {
    selection_.programKey = ProgramKey.toString();
}

bool ClientOpening::OpenClient(const QString& programKey, const QString& currentName, int mode) {
    selection_ = ClientSelection{{}, {}, {}, programKey};
    bool result = false;
    if (mode == -1) {
        selection_.openName = currentName;
        result = dialog_(-1);
    } else if (mode == 0) {
        result = openLastClient() || dialog_(-1);
    } else {
        result = dialog_(mode);
    }
    client_.SetClientPaths(selection_.chosenName, selection_.chosenDir);
    if (result)
        clients().setLastClient(selection_.chosenName);
    return result;
}

bool ClientOpening::openLastClient() {
    const ClientList list = clients();
    selection_.chosenName = list.lastClient();
    selection_.chosenDir = list.directoryOf(selection_.chosenName);
    return attemptOpenSelectedClient();
}

bool ClientOpening::OpenSelectedClient() {
    if (selection_.chosenName.isEmpty())
        return false;
    // The open client is the one of that name in that directory: a name registered anew elsewhere opens anew.
    if (selection_.chosenName.compare(selection_.openName, Qt::CaseInsensitive) == 0 &&
        selection_.chosenDir == client_.ClientDir)
        return true;
    DO_INFO(texts::openingNotice(selection_.chosenName));
    bool opened = false;
    try {
        opened = switchTables();
    } catch (...) {
        finishOpening(false);
        throw;
    }
    finishOpening(opened);
    if (opened && !recoveryNotice_.isEmpty())
        interaction_.information(recoveryNotice_, caption());
    if (opened)
        warnOnceAboutNetworkFileSystem(networkCheck_, interaction_, selection_.chosenName, selection_.chosenDir);
    return opened;
}

bool ClientOpening::switchTables() {
    tables_.CloseClientTables();
    tables_.CloseDocumentQuery();
    tables_.SetClientDataDir(dataDirectoryOf(selection_.chosenDir));
    recoveryNotice_.clear();
    int result = tables_.OpenClientTables();
    if (result == -2)
        result = UpgradeClientTables();
    if (result >= 0 && recovery_)
        result = settleInterruptedFiling();
    if (result < 0)
        tables_.CloseClientTables();
    return result >= 0;
}

// The tables are read again after a recovery that changed something, so they show its result.
int ClientOpening::settleInterruptedFiling() {
    TMand chosen;
    chosen.SetClientPaths(selection_.chosenName, selection_.chosenDir);
    recoveryNotice_ = recovery_(chosen.DataDir, chosen.FilesDir);
    if (recoveryNotice_.isEmpty())
        return 0;
    tables_.CloseClientTables();
    return tables_.OpenClientTables();
}

void ClientOpening::finishOpening(bool opened) {
    RELEASE_INFO();
    if (!opened)
        interaction_.error(texts::openingFailed(selection_.chosenName), caption());
}

bool ClientOpening::attemptOpenSelectedClient() {
    bool opened = false;
    try {
        opened = OpenSelectedClient();
    } catch (const std::exception& e) {
        interaction_.error(QString::fromUtf8(e.what()), caption());
    }
    selection_.openName.clear();
    return opened;
}

QString ClientOpening::openClientName() const {
    return client_.ClientName;
}

int ClientOpening::UpgradeClientTables() {
    // The notice would cover the message; it comes back while the tables are upgraded.
    RELEASE_INFO();
    interaction_.information(texts::wrongTableVersion(), caption());
    DO_INFO(texts::openingNotice(selection_.chosenName));
    const int upgraded = upgrade_(dataDirectoryOf(selection_.chosenDir), VersionMarker.toString());
    if ((upgraded & 0xFF) == 0)
        return -2;
    return tables_.OpenClientTables();
}

} // namespace zep
