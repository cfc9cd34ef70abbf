#pragma once

#include "app/install_paths.h"
#include "clients/client_list.h"
#include "clients/network_file_system.h"

#include <QString>

namespace zep {

class Interaction;

// Creates a client from the template client of the installation ("Empty") and registers it.
class ClientCreation {
public:
    // openClient: the client open now, which a new entry must never replace ("" when none is open).
    ClientCreation(InstallPaths paths, ClientList clients, Interaction& interaction, QString openClient = {});

    // What happens when the new-client dialog is confirmed. False when the name or the parent directory
    // cannot be used (the user was told and the dialog stays open); true when the dialog closes, whatever
    // the user answered and whether the client could be created.
    bool confirm(const QString& parentDirectory, const QString& clientName) const;
    // Tells whether a directory lies on a network file system (statfs unless replaced).
    void setNetworkFileSystemCheck(NetworkFileSystemCheck check) { networkCheck_ = std::move(check); }

private:
    // Names match without regard to case, so a new entry can replace a listed client: never the open
    // one, and any other only when the user agrees.
    bool mayReplaceListed(const QString& clientName) const;
    // The client directory with its "Daten", "Files" and "Sicherung", created in this order; stops at
    // the first that cannot be created. made: the client directory itself was created here.
    static bool createDirectories(const QString& clientDir, bool& made);
    // The template tables into "Daten" and the template "Mand.ini" into the client directory.
    bool copyTemplate(const QString& clientDir) const;
    void addExisting(const QString& clientName, const QString& clientDir) const;
    void create(const QString& clientName, const QString& clientDir) const;
    bool registerClient(const QString& clientName, const QString& clientDir) const;

    InstallPaths paths_;
    ClientList clients_;
    Interaction& interaction_;
    QString openClient_;
    NetworkFileSystemCheck networkCheck_;
};

} // namespace zep
