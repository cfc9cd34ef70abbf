#include "clients/client_creation.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "clients/client_names.h"
#include "clients/client_texts.h"
#include "data/services.h"
#include "tools/installation_layout.h"

#include <QDir>
#include <QFileInfo>

namespace zep {

namespace {

QString caption() {
    return ApplicationName.toString();
}

} // namespace

ClientCreation::ClientCreation(InstallPaths paths, ClientList clients, Interaction& interaction, QString openClient)
    : paths_(std::move(paths)), clients_(std::move(clients)), interaction_(interaction),
      openClient_(std::move(openClient)) {}

bool ClientCreation::confirm(const QString& parentDirectory, const QString& clientName) const {
    if (!isValidClientName(clientName)) {
        interaction_.warning(texts::invalidClientName(clientName), caption());
        return false;
    }
    if (!isValidParentDirectory(parentDirectory)) {
        interaction_.warning(texts::invalidParentDirectory(parentDirectory), caption());
        return false;
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
    return interaction_.askYesNo(texts::replaceClientQuestion(listed->name, listed->directory), caption()) ==
           Answer::Yes;
}

void ClientCreation::addExisting(const QString& clientName, const QString& clientDir) const {
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
