#include "app/safe_file.h"

#include "app/file_descriptor.h"
#include "data/format_error.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zep {

namespace {

struct WriteFailure {
    bool active = false;
    int errorNumber = 0;
    qint64 bytesAccepted = 0;
};

WriteFailure& injectedFailure() {
    static WriteFailure failure;
    return failure;
}

[[noreturn]] void fail(const QString& path, int errorNumber) {
    throw FileError(QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: %2.")
                        .arg(QDir::toNativeSeparators(path), fileErrorCause(errorNumber)));
}

// Writes all bytes, or returns the errno of the first failing write.
int writeAll(int fd, const QByteArray& bytes) {
    const WriteFailure& failure = injectedFailure();
    qint64 written = 0;
    while (written < bytes.size()) {
        qint64 chunk = bytes.size() - written;
        if (failure.active) {
            if (written >= failure.bytesAccepted)
                return failure.errorNumber;
            chunk = std::min(chunk, failure.bytesAccepted - written);
        }
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(chunk));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        written += n;
    }
    return 0;
}

// The temporary file of a target: "." + file name + "." + eight hex digits + ".tmp".
QString temporaryName(const QString& fileName, quint32 tag) {
    return QStringLiteral(".%1.%2.tmp").arg(fileName).arg(tag, 8, 16, QLatin1Char('0'));
}

// A kill between creating and renaming leaves a temporary file; the program writes each file from
// one thread only, so any temporary file of the same target found now is such a leftover.
void removeLeftovers(const QFileInfo& target) {
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(u'.' + target.fileName()) + QStringLiteral("\\.[0-9a-f]{8}\\.tmp")));
    const QStringList names = target.dir().entryList({u'.' + target.fileName() + QStringLiteral(".*.tmp")},
                                                     QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (pattern.match(name).hasMatch())
            QFile::remove(target.dir().filePath(name));
}

// Creates a new file beside the target with a name no one else uses; the umask applies as usual.
int createTemporary(const QString& target, QString& temporaryPath) {
    const QFileInfo info(target);
    removeLeftovers(info);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = info.dir().filePath(temporaryName(info.fileName(), QRandomGenerator::global()->generate()));
        const int fd =
            ::open(QFile::encodeName(temporaryPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The rename is only durable once the directory entry itself is on disk.
void syncDirectory(const QString& directory) {
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// A link is followed, so the file it points to is replaced and the link stays.
QString resolvedTarget(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

} // namespace

void writeFileSafely(const QString& path, const QByteArray& bytes) {
    const QString target = resolvedTarget(path);
    QString temporaryPath;
    Descriptor fd(createTemporary(target, temporaryPath));
    if (fd.get() < 0)
        fail(path, errno);
    const QByteArray encodedTemporary = QFile::encodeName(temporaryPath);
    const auto discard = [&](int errorNumber) {
        ::unlink(encodedTemporary.constData());
        fail(path, errorNumber);
    };
    struct stat existing {};
    if (::stat(QFile::encodeName(target).constData(), &existing) == 0 && ::fchmod(fd.get(), existing.st_mode & 07777))
        discard(errno);
    if (const int error = writeAll(fd.get(), bytes))
        discard(error);
    if (::fsync(fd.get()) != 0)
        discard(errno);
    if (fd.close() != 0)
        discard(errno);
    if (::rename(encodedTemporary.constData(), QFile::encodeName(target).constData()) != 0)
        discard(errno);
    syncDirectory(QFileInfo(target).absolutePath());
}

QString fileErrorCause(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Der Datenträger ist voll");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt");
    case EACCES:
    case EPERM:
        return QStringLiteral("Der Zugriff wurde verweigert");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Der Ordner oder die Datei existiert nicht");
    case EISDIR:
        return QStringLiteral("Unter diesem Namen steht ein Ordner");
    case ENAMETOOLONG:
        return QStringLiteral("Der Name ist zu lang");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Ein-/Ausgabefehler");
    default:
        return QStringLiteral("Unerwarteter Fehler des Systems (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
    }
}

QString fileErrorCause(int errorNumber, const QFile& file) {
    if (errorNumber == 0)
        errorNumber = QFileInfo(file.fileName()).isDir() ? EISDIR : EIO;
    return fileErrorCause(errorNumber) + QStringLiteral(".\nEinzelheiten: ") + file.errorString();
}

InjectedWriteFailure::InjectedWriteFailure(int errorNumber, qint64 bytesAccepted) {
    injectedFailure() = {true, errorNumber, bytesAccepted};
}

InjectedWriteFailure::~InjectedWriteFailure() {
    injectedFailure() = {};
}

} // namespace zep
