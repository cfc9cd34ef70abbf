#include "app/tmand.h"

namespace zep {

void TMand::SetClientPaths(const QString& name, const QString& directory) {
    ClientName = name;
    ClientDir = directory;
    DataDir = ClientDir + QStringLiteral("/Daten");
    FilesDir = ClientDir + QStringLiteral("/Files/");
    BackupDir = ClientDir + QStringLiteral("/Sicherung");
    AdrTreeFile = DataDir + QStringLiteral("/Adressen.dat");
    TopicTreeFile = DataDir + QStringLiteral("/Themen.dat");
    TempTreeFile = DataDir + QStringLiteral("/Temp.dat");
    IniFile = ClientDir + QStringLiteral("/Mand.ini");
}

} // namespace zep
