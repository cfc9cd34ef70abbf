#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QFile;

namespace zep {

// Replaces the file at path with bytes in one step. The bytes go to a temporary file in the same
// directory; every write, the flush to disk and the close are checked before the temporary file is
// renamed over the target, and the rename is made durable by a sync of the folder. On any failure
// before the rename the old file stays as it was and the temporary file is removed. Throws FileError
// naming the file and the cause in German ("Der Datenträger ist voll"). A new file gets the usual
// permissions; an existing file keeps its own.
void writeFileSafely(const QString& path, const QByteArray& bytes);

// Whether a copy takes the time of its making or keeps the source's modification time.
enum class CopiedTime { New, Source };

// The same for a copy of the file source, streamed; the copy keeps the source's permissions.
// Throws FileError; a source that cannot be read is named as such.
void copyFileSafely(const QString& source, const QString& target, CopiedTime time = CopiedTime::New);

// A file of a set that is replaced together; no bytes: the file is removed.
struct FileReplacement {
    QString path;
    std::optional<QByteArray> bytes;
};

// Replaces files that belong together, the first one the file a reader opens (a dBase table) and
// the others files it refers to (its memo file), so that a crash never leaves a new file beside an
// old one: every new file is first on disk under a temporary name; then the first old file is
// removed, the others are put in place, and the first new file comes last, each step durable before
// the next. A crash in between leaves the set without its first file, which then nobody reads.
// A failure before the first old file is removed keeps every old file. Throws FileError.
void replaceFilesTogether(const QList<FileReplacement>& files);

// Flushes the content of the file at path to disk. Throws FileError.
void syncFileToDisk(const QString& path);
// Makes the entries of a folder durable: files created, renamed or removed in it survive a crash.
// Throws FileError.
void syncFolder(const QString& directory);
// Renames from over to and syncs the folders of both. Throws FileError; when from is gone then, the
// rename happened and only a folder sync failed, which the caller must undo or report as such.
void renameDurably(const QString& from, const QString& to);
// Removes the file at path when it exists and syncs its folder. Throws FileError.
void removeDurably(const QString& path);

// The German sentence for an operating-system error number (errno), without a final period.
QString fileErrorCause(int errorNumber);

// The cause of a failed operation on file for a message: the German sentence for errorNumber (errno
// taken right after the failing call; set errno to 0 before it, as Qt refuses some files without a
// system error, such as a folder opened as a file), then Qt's own text only as a detail line.
QString fileErrorCause(int errorNumber, const QFile& file);

// Test hook: while an object lives, writes of writeFileSafely fail with errorNumber once
// bytesAccepted bytes of a file have been written, as a disk that fills up would.
class InjectedWriteFailure {
public:
    InjectedWriteFailure(int errorNumber, qint64 bytesAccepted);
    ~InjectedWriteFailure();
    InjectedWriteFailure(const InjectedWriteFailure&) = delete;
    InjectedWriteFailure& operator=(const InjectedWriteFailure&) = delete;
};

// The steps that make a write durable, as the functions above take them.
enum class DurableStep {
    FileSynced,   // path: the file whose content is now on disk
    FolderSynced, // path: the folder whose entries are now on disk
    Renamed,      // path: the new name
    Removed,      // path: the removed file
};

// Test hook: while an object lives, it is told of every durable step right after it succeeded, in
// order. An observer may end the process there to leave the files as a crash would.
class DurableStepWatch {
public:
    using Observer = std::function<void(DurableStep step, const QString& path)>;
    explicit DurableStepWatch(Observer observer);
    ~DurableStepWatch();
    DurableStepWatch(const DurableStepWatch&) = delete;
    DurableStepWatch& operator=(const DurableStepWatch&) = delete;
};

} // namespace zep
