#pragma once

#include <QString>

namespace zep {

// Name and paths of the open client. All fields stay empty until a client is opened.
class TMand {
public:
    QString ClientName;
    QString ClientDir; // as registered
    QString DataDir;
    QString FilesDir; // ends with "/": documents are stored by bare file name and appended to it
    QString BackupDir;
    QString AdrTreeFile;
    QString TopicTreeFile;
    QString TempTreeFile;
    QString IniFile;

    // Fills every field from the client's name and directory; does not check that anything exists.
    void SetClientPaths(const QString& name, const QString& directory);
};

} // namespace zep
