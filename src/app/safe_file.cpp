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
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

DurableStepWatch::Observer& stepObserver() {
    static DurableStepWatch::Observer observer;
    return observer;
}

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void tell(DurableStep step, const QString& path) {
    if (const DurableStepWatch::Observer& observer = stepObserver())
        observer(step, absolute(path));
}

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

[[noreturn]] void fail(const QString& path, int errorNumber) {
    throw FileError(QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden: %2.")
                        .arg(QDir::toNativeSeparators(path), fileErrorCause(errorNumber)));
}

// Writes all bytes, or returns the errno of the first failing write. Only writes of new content
// take an injected failure; a copy's do not, so a test can fill the disk at one chosen file.
int writeAll(int fd, const char* data, qint64 size, bool injectable = true) {
    const WriteFailure failure = injectable ? injectedFailure() : WriteFailure{};
    qint64 written = 0;
    while (written < size) {
        qint64 chunk = size - written;
        if (failure.active) {
            if (written >= failure.bytesAccepted)
                return failure.errorNumber;
            chunk = std::min(chunk, failure.bytesAccepted - written);
        }
        const ssize_t n = ::write(fd, data + written, size_t(chunk));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        written += n;
    }
    return 0;
}

// Streams the file open at in to out, or returns the errno of the first failing call.
int copyAll(int in, int out) {
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), size_t(buffer.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        if (const int error = writeAll(out, buffer.constData(), n, false))
            return error;
    }
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

// A link is followed, so the file it points to is replaced and the link stays.
QString resolvedTarget(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

// A new file beside a target under a name no one else uses, removed again unless it is renamed
// over the target. Failures throw FileError naming the path the caller was given.
class TemporaryFile {
public:
    TemporaryFile(const QString& target, const QString& shownPath)
        : target_(resolvedTarget(target)), shownPath_(shownPath), fd_(create()) {
        if (fd_.get() < 0)
            fail(shownPath_, errno);
    }
    ~TemporaryFile() {
        if (!path_.isEmpty())
            ::unlink(encoded(path_).constData());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_.get(); }
    const QString& target() const { return target_; }

    void takeModificationTimeOf(int sourceFd) {
        struct stat source {};
        if (::fstat(sourceFd, &source) != 0)
            fail(shownPath_, errno);
        const struct timespec times[2] = {source.st_atim, source.st_mtim};
        check(::futimens(fd(), times) == 0 ? 0 : errno);
    }
    // The umask applies to a new file; a replaced one keeps its permissions.
    void takeModeOf(const QString& path) {
        struct stat existing {};
        if (::stat(encoded(path).constData(), &existing) == 0 && ::fchmod(fd(), existing.st_mode & 07777) != 0)
            fail(shownPath_, errno);
    }
    void check(int errorNumber) const {
        if (errorNumber != 0)
            fail(shownPath_, errorNumber);
    }
    // The content is on disk and the file closed, with every late error seen.
    void finish() {
        check(::fsync(fd()) == 0 ? 0 : errno);
        tell(DurableStep::FileSynced, path_);
        check(fd_.close() == 0 ? 0 : errno);
    }
    // Takes the target's name; the caller syncs the folder.
    void rename() {
        check(::rename(encoded(path_).constData(), encoded(target_).constData()) == 0 ? 0 : errno);
        path_.clear();
        tell(DurableStep::Renamed, target_);
    }

private:
    int create() {
        const QFileInfo info(target_);
        removeLeftovers(info);
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = info.dir().filePath(temporaryName(info.fileName(), QRandomGenerator::global()->generate()));
            const int fd = ::open(encoded(path_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0)
                return fd;
            if (errno != EEXIST)
                break;
        }
        const int error = errno;
        path_.clear();
        errno = error;
        return -1;
    }

    QString target_;
    QString shownPath_;
    QString path_;
    Descriptor fd_;
};

std::unique_ptr<TemporaryFile> writtenTemporary(const QString& path, const QByteArray& bytes) {
    auto file = std::make_unique<TemporaryFile>(path, path);
    file->takeModeOf(file->target());
    file->check(writeAll(file->fd(), bytes.constData(), bytes.size()));
    file->finish();
    return file;
}

void putInPlace(TemporaryFile& file) {
    file.rename();
    syncFolder(QFileInfo(file.target()).absolutePath());
}

} // namespace

void writeFileSafely(const QString& path, const QByteArray& bytes) {
    putInPlace(*writtenTemporary(path, bytes));
}

void copyFileSafely(const QString& source, const QString& target, CopiedTime time) {
    const Descriptor in(::open(encoded(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) {
        const int error = errno;
        throw FileError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2.")
                            .arg(QDir::toNativeSeparators(source), fileErrorCause(error)));
    }
    TemporaryFile file(target, target);
    file.takeModeOf(source);
    file.check(copyAll(in.get(), file.fd()));
    if (time == CopiedTime::Source)
        file.takeModificationTimeOf(in.get());
    file.finish();
    putInPlace(file);
}

void replaceFilesTogether(const QList<FileReplacement>& files) {
    if (files.isEmpty())
        return;
    std::vector<std::unique_ptr<TemporaryFile>> written;
    for (const FileReplacement& file : files)
        written.push_back(file.bytes ? writtenTemporary(file.path, *file.bytes) : nullptr);
    removeDurably(resolvedTarget(files.first().path));
    for (qsizetype i = 1; i < files.size(); ++i) {
        if (written[size_t(i)])
            putInPlace(*written[size_t(i)]);
        else
            removeDurably(resolvedTarget(files[i].path));
    }
    if (written.front())
        putInPlace(*written.front());
}

void syncFileToDisk(const QString& path) {
    const Descriptor fd(::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0 || ::fsync(fd.get()) != 0) {
        const int error = errno;
        fail(path, error);
    }
    tell(DurableStep::FileSynced, path);
}

void syncFolder(const QString& directory) {
    const Descriptor fd(::open(encoded(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    int error = fd.get() < 0 ? errno : 0;
    // EINVAL: a file system that keeps nothing to sync for a folder.
    if (error == 0 && ::fsync(fd.get()) != 0 && errno != EINVAL)
        error = errno;
    if (error != 0)
        throw FileError(QStringLiteral("Der Ordner \"%1\" konnte nicht auf den Datenträger geschrieben werden: %2.")
                            .arg(QDir::toNativeSeparators(directory), fileErrorCause(error)));
    tell(DurableStep::FolderSynced, directory);
}

void renameDurably(const QString& from, const QString& to) {
    if (::rename(encoded(from).constData(), encoded(to).constData()) != 0)
        fail(to, errno);
    tell(DurableStep::Renamed, to);
    const QString toFolder = QFileInfo(to).absolutePath();
    const QString fromFolder = QFileInfo(from).absolutePath();
    syncFolder(toFolder);
    if (absolute(fromFolder) != absolute(toFolder))
        syncFolder(fromFolder);
}

void removeDurably(const QString& path) {
    if (::unlink(encoded(path).constData()) != 0) {
        if (errno == ENOENT)
            return;
        fail(path, errno);
    }
    tell(DurableStep::Removed, path);
    syncFolder(QFileInfo(path).absolutePath());
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

DurableStepWatch::DurableStepWatch(Observer observer) {
    stepObserver() = std::move(observer);
}

DurableStepWatch::~DurableStepWatch() {
    stepObserver() = {};
}

} // namespace zep
