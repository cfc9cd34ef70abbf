#pragma once

#include <QString>

// The client that the kill loop over the register works on, and the count of everything that must
// never be left after a crash and the next opening of the client. Shared by zep-register-loop and
// the crash-point test (tests/tst_filing_recovery.cpp).
namespace zep::faults {

// Folders below one work directory: an installation with the client "Kill" registered as the last
// client, the client's "Daten" and "Files", the user's folders the program files from (incoming
// files, files kept where they are, another folder for copies), and the desktop's trash.
struct FaultClient {
    explicit FaultClient(const QString& work);

    QString work;
    QString install;
    QString clientDir;
    QString dataDir;
    QString filesDir; // ends with "/"
    QString incoming;
    QString kept;
    QString other;
    QString templatePath;
    QString dataHome;  // XDG_DATA_HOME of the loop: its trash is dataHome + "/Trash"
    QString sourceLog; // one line "Quelle <n>" for every source file written completely
};

inline constexpr char16_t ClientName[] = u"Kill";

// Lays out the installation and the client and registers it. Throws std::runtime_error.
void prepareFaultClient(const FaultClient& client);

// The first line of every source file: "Quelle <n>", so that its copies and its moved file are found.
QByteArray sourceContent(int number, int paddingBytes);

struct RegisterAudit {
    int records = 0;
    int files = 0;              // files in "Files" and the other folder (all placed by the program)
    int filesWithoutRecord = 0; // of those
    int recordsWithoutFile = 0; // documents (not notes) whose file is not there
    int sharedFiles = 0;        // files named by two or more records
    int partialCopies = 0;      // unfinished copies in any folder of the loop
    int markedRecords = 0;      // records still provisional, placing or deleting
    int lostSources = 0;        // sources written and found nowhere: not in their folder, the client or the trash

    bool clean() const;
    QString line() const; // "name=value" pairs, one line
};

// Counts on the files as they are now; the table is read with a table object of its own.
RegisterAudit auditRegister(const FaultClient& client);

} // namespace zep::faults
