#include "clients/client_creation.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "clients/client_names.h"
#include "clients/client_texts.h"
#include "clients/network_warning.h"
#include "data/services.h"
#include "tools/installation_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace zep {

namespace {

QString caption() {
    return ApplicationName.toString();
}

} // namespace

ClientCreation::ClientCreation(InstallPaths paths, ClientList clients, Interaction& interaction, QString openClient)
    : paths_(std::move(paths)), clients_(std::move(clients)), interaction_(interaction),
      openClient_(std::move(openClient)), networkCheck_(isOnNetworkFileSystem) {}

bool ClientCreation::confirm(const QString& parentDirectory, const QString& clientName) const {
    switch (refusedClientField(parentDirectory, clientName)) {
    case ClientField::Name:
        interaction_.warning(texts::invalidClientName(clientName), caption());
        return false;
    case ClientField::Directory:
        interaction_.warning(texts::invalidParentDirectory(parentDirectory), caption());
        return false;
    case ClientField::None:
        break;
    }
    if (!mayReplaceListed(clientName))
        return false;
    const QString clientDir = clientDirectory(parentDirectory, clientName);
    if (QFileInfo(clientDir).isDir())
        addExisting(clientName, clientDir);
    else
        create(clientName, clientDir);
    return true;
}

bool ClientCreation::mayReplaceListed(const QString& clientName) const {
    const std::optional<ClientEntry> listed = clients_.find(clientName);
    if (!listed)
        return true;
    if (listed->name.compare(openClient_, Qt::CaseInsensitive) == 0) {
        interaction_.warning(texts::openClientNotReplaced(listed->name), caption());
        return false;
    }
    const bool sameSpelling = listed->name == clientName;
    return interaction_.askYesNo(texts::replaceClientQuestion(listed->name, listed->directory, sameSpelling),
                                 caption()) == Answer::Yes;
}

// A directory without the client's tables would be listed as a client that can never be opened.
void ClientCreation::addExisting(const QString& clientName, const QString& clientDir) const {
    const QString dataDir = clientDir + QStringLiteral("/Daten");
    const QStringList missing = missingClientTables(dataDir);
    if (!missing.isEmpty()) {
        interaction_.error(texts::clientTablesMissing(dataDir, missing), caption());
        return;
    }
    if (interaction_.askYesNo(texts::directoryExistsQuestion(clientDir), caption()) == Answer::Yes)
        registerClient(clientName, clientDir);
}

void ClientCreation::create(const QString& clientName, const QString& clientDir) const {
    if (interaction_.askOkAbort(texts::createClientQuestion(clientName), caption()) != Answer::Ok)
        return;
    // A client made from a template that lacks a table could never be opened: nothing is created.
    if (!hasTemplateTables(paths_.emptyData)) {
        interaction_.error(texts::templateNotCopied(paths_.empty), caption());
        return;
    }
    // Whatever a failed creation made is taken away again: a directory left behind would be offered
    // as an existing client on the next attempt.
    bool made = false;
    auto removeMade = qScopeGuard([&] {
        if (made)
            QDir(clientDir).removeRecursively();
    });
    if (!createDirectories(clientDir, made)) {
        interaction_.error(texts::directoriesNotCreated(), caption());
        return;
    }
    if (!copyTemplate(clientDir)) {
        interaction_.error(texts::templateNotCopied(paths_.empty), caption());
        return;
    }
    if (registerClient(clientName, clientDir))
        removeMade.dismiss();
}

bool ClientCreation::registerClient(const QString& clientName, const QString& clientDir) const {
    if (clients_.registerClient(clientName, clientDir)) {
        warnOnceAboutNetworkFileSystem(networkCheck_, interaction_, clientName, clientDir);
        return true;
    }
    interaction_.error(texts::clientNotRegistered(clientName, clients_.lastError()), caption());
    return false;
}

bool ClientCreation::createDirectories(const QString& clientDir, bool& made) {
    const QDir dir;
    made = dir.mkdir(clientDir);
    return made && dir.mkdir(clientDir + QStringLiteral("/Daten")) && dir.mkdir(clientDir + QStringLiteral("/Files")) &&
           dir.mkdir(clientDir + QStringLiteral("/Sicherung"));
}

bool ClientCreation::copyTemplate(const QString& clientDir) const {
    return DIRCOPY(paths_.emptyData, clientDir + QStringLiteral("/Daten"), QStringLiteral("*.*")) &&
           DIRCOPY(paths_.empty, clientDir, QStringLiteral("Mand.ini"));
}

} // namespace zep
