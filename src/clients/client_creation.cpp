#include "clients/client_creation.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "clients/client_names.h"
#include "clients/client_texts.h"
#include "data/services.h"

#include <QDir>
#include <QFileInfo>

namespace zep {

namespace {

QString caption() {
    return ApplicationName.toString();
}

} // namespace

ClientCreation::ClientCreation(InstallPaths paths, ClientList clients, Interaction& interaction)
    : paths_(std::move(paths)), clients_(std::move(clients)), interaction_(interaction) {}

bool ClientCreation::confirm(const QString& parentDirectory, const QString& clientName) const {
    if (!isValidClientName(clientName)) {
        interaction_.warning(texts::invalidClientName(clientName), caption());
        return false;
    }
    if (!isValidParentDirectory(parentDirectory)) {
        interaction_.warning(texts::invalidParentDirectory(parentDirectory), caption());
        return false;
    }
    const QString clientDir = clientDirectory(parentDirectory, clientName);
    if (QFileInfo(clientDir).isDir())
        addExisting(clientName, clientDir);
    else
        create(clientName, clientDir);
    return true;
}

void ClientCreation::addExisting(const QString& clientName, const QString& clientDir) const {
    if (interaction_.askYesNo(texts::directoryExistsQuestion(clientDir), caption()) == Answer::Yes)
        registerClient(clientName, clientDir);
}

void ClientCreation::create(const QString& clientName, const QString& clientDir) const {
    if (interaction_.askOkAbort(texts::createClientQuestion(clientName), caption()) != Answer::Ok)
        return;
    if (!createDirectories(clientDir)) {
        interaction_.error(texts::directoriesNotCreated(), caption());
        return;
    }
    if (!copyTemplate(clientDir)) {
        interaction_.error(texts::templateNotCopied(paths_.empty), caption());
        return;
    }
    registerClient(clientName, clientDir);
}

void ClientCreation::registerClient(const QString& clientName, const QString& clientDir) const {
    if (!clients_.registerClient(clientName, clientDir))
        interaction_.error(texts::clientNotRegistered(clientName, clients_.lastError()), caption());
}

bool ClientCreation::createDirectories(const QString& clientDir) {
    const QDir dir;
    return dir.mkdir(clientDir) && dir.mkdir(clientDir + QStringLiteral("/Daten")) &&
           dir.mkdir(clientDir + QStringLiteral("/Files")) && dir.mkdir(clientDir + QStringLiteral("/Sicherung"));
}

bool ClientCreation::copyTemplate(const QString& clientDir) const {
    return DIRCOPY(paths_.emptyData, clientDir + QStringLiteral("/Daten"), QStringLiteral("*.*")) &&
           DIRCOPY(paths_.empty, clientDir, QStringLiteral("Mand.ini"));
}

} // namespace zep
