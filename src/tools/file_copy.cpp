#include "tools/file_copy.h"

#include "app/file_descriptor.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "tools/szdd.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStorageInfo>

#include <cerrno>
#include <climits>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zep {

namespace {

bool hasWildcard(const QString& name) {
    return name.contains(u'*') || name.contains(u'?');
}

// Case is ignored as the names are compared; a link or another spelling of the same file counts too.
bool sameFile(const QString& source, const QString& target) {
    const QFileInfo a(source);
    const QFileInfo b(target);
    if (a.absoluteFilePath().compare(b.absoluteFilePath(), Qt::CaseInsensitive) == 0)
        return true;
    return a.exists() && b.exists() && a.canonicalFilePath() == b.canonicalFilePath();
}

QString dateOf(const QFileInfo& file) {
    return QLocale().toString(file.lastModified(), QLocale::ShortFormat);
}

bool directoryOfPathExists(const QString& path) {
    return QFileInfo(QFileInfo(path).absolutePath()).isDir();
}

int writeAll(int fd, const char* data, qint64 size) {
    qint64 written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size_t(size - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        written += n;
    }
    return 0;
}

// A renamed file is on disk with its name only once its folder is. A file system that cannot sync a
// folder (EINVAL) keeps its names as it can; there is nothing more to do there.
int syncDirectory(const QString& directory) {
    Descriptor dir(::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0 || ::fsync(dir.get()) != 0)
        return errno == EINVAL ? 0 : errno;
    return 0;
}

// A new file beside target under a name no other file has, so that the scratch copy can never
// truncate the source or another file that happens to carry the name.
Descriptor createScratchFile(const QFileInfo& target, QByteArray& path) {
    for (;;) {
        const QString name = u'.' + target.fileName() + u'.' +
                             QString::number(QRandomGenerator::global()->generate(), 36) + ScratchSuffix.toString();
        path = QFile::encodeName(target.absoluteDir().filePath(name));
        Descriptor file(::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (file.get() >= 0 || errno != EEXIST)
            return file;
    }
}

// Streams source into a new file beside target, on disk before it replaces target in one step, so
// a failed copy leaves an existing target as it was. Returns 0 or the errno of the failing call.
int copyContent(const QString& source, const QString& target, const QByteArray* content = nullptr) {
    Descriptor in(content ? -1 : ::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    if (!content && in.get() < 0)
        return errno;
    struct stat sourceStat {};
    if (!content && ::fstat(in.get(), &sourceStat) != 0)
        return errno;
    const QFileInfo targetInfo(target);
    QByteArray temporary;
    Descriptor out = createScratchFile(targetInfo, temporary);
    if (out.get() < 0)
        return errno;
    const auto discard = [&](int error) {
        ::unlink(temporary.constData());
        return error;
    };
    if (content) {
        if (const int error = writeAll(out.get(), content->constData(), content->size()))
            return discard(error);
    } else {
        if (::fchmod(out.get(), sourceStat.st_mode & 0777) != 0)
            return discard(errno);
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        for (;;) {
            const ssize_t n = ::read(in.get(), buffer.data(), size_t(buffer.size()));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return discard(errno);
            if (n == 0)
                break;
            if (const int error = writeAll(out.get(), buffer.constData(), n))
                return discard(error);
        }
    }
    // Like a copy on the desktop, the copy keeps the source's last-write time (filing dates by it).
    if (!content) {
        const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
        if (::futimens(out.get(), times) != 0)
            return discard(errno);
    }
    if (::fsync(out.get()) != 0)
        return discard(errno);
    // A copy shorter than its source never replaces anything, nor lets a move remove the source.
    struct stat written {};
    if (::fstat(out.get(), &written) != 0)
        return discard(errno);
    const qint64 expected = content ? content->size() : qint64(sourceStat.st_size);
    if (qint64(written.st_size) != expected)
        return discard(EIO);
    if (out.close() != 0)
        return discard(errno);
    const QByteArray targetPath = QFile::encodeName(targetInfo.absoluteFilePath());
    const bool replacing = ::access(targetPath.constData(), F_OK) == 0;
    if (::rename(temporary.constData(), targetPath.constData()) != 0)
        return discard(errno);
    if (const int error = syncDirectory(targetInfo.absolutePath())) {
        // A new name that may not last goes again; a replaced file is gone already, its copy stays.
        if (!replacing)
            ::unlink(targetPath.constData());
        return error;
    }
    return 0;
}

} // namespace

int removePartialCopies(const QString& directory, const QString& targetName) {
    const QString prefix = targetName.isEmpty() ? QStringLiteral(".") : u'.' + targetName + u'.';
    int removed = 0;
    // Only names that can be an unfinished copy are looked at: "Files" may hold very many documents.
    const QFileInfoList files = QDir(directory).entryInfoList({QStringLiteral(".*") + ScratchSuffix.toString()},
                                                              QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : files) {
        if (!file.isSymLink() && isPartialCopyName(file.fileName()) && file.fileName().startsWith(prefix) &&
            QFile::remove(file.filePath()))
            ++removed;
    }
    return removed;
}

bool isPartialCopyName(const QString& fileName) {
    static const QRegularExpression scratch(QStringLiteral("^\\..+\\.[0-9a-z]{1,7}") +
                                            QRegularExpression::escape(ScratchSuffix.toString()) + u'$');
    return scratch.match(fileName).hasMatch();
}

QString TFileCopy::text(const char16_t* german, const char16_t* english) const {
    return QString::fromUtf16(Language == MessageLanguage::German ? german : english);
}

QString TFileCopy::overwriteQuestion() const {
    const QFileInfo source(SourceFile);
    const QFileInfo target(TargetFile);
    return text(u"Die Zieldatei ist bereits vorhanden:\n\nQuelldatei \"", u"Target file already exists:\n\nSource \"") +
           source.fileName() + text(u"\"\nDatum: ", u"\"\nDate: ") + dateOf(source) + text(u", Größe: ", u", Size: ") +
           QString::number(source.size()) + text(u" Byte", u" byte") + text(u"\n\nZieldatei ", u"\n\nTarget ") +
           target.fileName() + text(u"\nDatum: ", u"\nDate: ") + dateOf(target) + text(u", Größe: ", u", Size: ") +
           QString::number(target.size()) + text(u" Byte", u" byte") +
           text(u"\n\nSoll die vorhandene Datei überschrieben werden?", u"\n\nOverwrite existing file?");
}

bool TFileCopy::overwriteDeclined() const {
    if (!CheckExists || !QFileInfo::exists(TargetFile))
        return false;
    return Interaction::instance().askYesNo(overwriteQuestion(), ApplicationName.toString()) != Answer::Yes;
}

// An empty name is refused with its own code, not reported as a successful copy.
int TFileCopy::Execute() {
    if (hasWildcard(SourceFile) || hasWildcard(TargetFile))
        return Wildcard;
    if (SourceFile.isEmpty() || TargetFile.isEmpty())
        return EmptyName;
    if (sameFile(SourceFile, TargetFile)) {
        Interaction::instance().warning(
            text(u"Quelldatei und Zieldatei sind identisch!", u"Attempt to copy file onto itself"),
            ApplicationName.toString());
        return SameFile;
    }
    switch (CopyType) {
    case CopyKind::Copy:
        return copyFile();
    case CopyKind::Move:
        return moveFile();
    case CopyKind::Expand:
        return expandFile();
    }
    return 0;
}

int TFileCopy::copyFile() {
    if (overwriteDeclined())
        return OverwriteDeclined;
    try {
        return copyContent(SourceFile, TargetFile);
    } catch (const std::exception&) {
        return SystemCallFailed;
    }
}

// Like the system's move, an existing target is refused rather than replaced.
int TFileCopy::moveFile() {
    if (QStorageInfo(QFileInfo(SourceFile).absolutePath()).isReadOnly()) {
        Interaction::instance().warning(
            text(u"Kein Verschieben von einem Read-Only-Medium möglich!", u"Move from a CD ROM is impossible!"),
            ApplicationName.toString());
        return MoveFromReadOnly;
    }
    const QByteArray source = QFile::encodeName(QFileInfo(SourceFile).absoluteFilePath());
    const QByteArray target = QFile::encodeName(QFileInfo(TargetFile).absoluteFilePath());
    if (::access(source.constData(), F_OK) != 0)
        return errno;
    if (::access(target.constData(), F_OK) == 0)
        return EEXIST;
    try {
        if (::rename(source.constData(), target.constData()) == 0) {
            const int error = syncDirectory(QFileInfo(TargetFile).absolutePath());
            if (error != 0)
                ::rename(target.constData(), source.constData());
            return error;
        }
        if (errno != EXDEV)
            return errno;
        // Another file system: copy, and remove the source only once the copy and its name are on disk.
        if (const int error = copyContent(SourceFile, TargetFile))
            return error;
        if (::unlink(source.constData()) != 0) {
            // The source stays, so the copy goes: a failed move leaves one file, where it was.
            const int error = errno;
            ::unlink(target.constData());
            return error;
        }
        return 0;
    } catch (const std::exception&) {
        return SystemCallFailed;
    }
}

int TFileCopy::expandFile() {
    if (overwriteDeclined())
        return OverwriteDeclined;
    if (!directoryOfPathExists(SourceFile)) {
        Interaction::instance().warning(text(u"Quellaufwerk nicht vorhanden", u"Source drive doesn't exist"),
                                        ApplicationName.toString());
        return SourceDriveMissing;
    }
    if (!directoryOfPathExists(TargetFile)) {
        Interaction::instance().warning(text(u"Ziellaufwerk nicht vorhanden", u"Target drive doesn't exist"),
                                        ApplicationName.toString());
        return TargetDriveMissing;
    }
    QFile source(SourceFile);
    if (!source.open(QIODevice::ReadOnly))
        return LzBadInHandle;
    QByteArray expanded;
    if (const int result = expandSzdd(source.readAll(), expanded))
        return result;
    if (copyContent(SourceFile, TargetFile, &expanded) != 0)
        return LzWrite;
    return int(std::min<qsizetype>(expanded.size(), INT_MAX));
}

} // namespace zep
