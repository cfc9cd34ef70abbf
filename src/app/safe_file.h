#pragma once

#include <QByteArray>
#include <QString>

class QFile;

namespace zep {

// Replaces the file at path with bytes in one step. The bytes go to a temporary file in the same
// directory; every write, the flush to disk and the close are checked before the temporary file is
// renamed over the target. On any failure the old file stays as it was and the temporary file is
// removed. Throws FileError naming the file and the cause in German ("Der Datenträger ist voll").
// A new file gets the usual permissions; an existing file keeps its own.
void writeFileSafely(const QString& path, const QByteArray& bytes);

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

} // namespace zep
