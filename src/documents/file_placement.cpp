#include "documents/file_placement.h"

#include "app/safe_file.h"
#include "documents/numbered_file_name.h"
#include "tools/file_copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zep {

namespace {

QString causeOf(int code) {
    return code > 0 ? fileErrorCause(code) : QStringLiteral("Der Vorgang wurde abgebrochen");
}

int transfer(const QString& source, const QString& target, TFileCopy::CopyKind kind) {
    TFileCopy copy;
    copy.SourceFile = source;
    copy.TargetFile = target;
    copy.CopyType = kind;
    return copy.Execute();
}

// Letter case counts: on Linux "files" beside "Files" is another folder.
bool sameDirectory(const QString& a, const QString& b) {
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

} // namespace

QString proposedTitle(const QString& source) {
    return StripNumberSuffix(QFileInfo(source).completeBaseName());
}

QString extensionOf(const QString& path) {
    return QFileInfo(path).suffix();
}

QString proposedTarget(const QString& source, const QString& filesDir) {
    return NumberedFileName(QDir(filesDir).filePath(QFileInfo(source).fileName()));
}

QString storedFileName(const QString& filedPath, const QString& filesDir) {
    const QFileInfo filed(filedPath);
    return sameDirectory(filed.absolutePath(), filesDir) ? filed.fileName() : filedPath;
}

FilePlacement::FilePlacement(QString source, QString target, FileHandling handling)
    : source_(std::move(source)), target_(std::move(target)), handling_(handling) {}

QString FilePlacement::prepare() {
    if (!QFileInfo(source_).isFile())
        return QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(source_);
    // An existing file there may be another document's: it is never replaced.
    if (handling_ != FileHandling::Keep && (QFileInfo::exists(target_) || QFileInfo(target_).isSymLink()))
        return QStringLiteral("Die Zieldatei \"%1\" ist bereits vorhanden.").arg(target_);
    filed_ = handling_ == FileHandling::Keep ? source_ : target_;
    // A copy keeps the source's last-write time, and a moved file is the source itself.
    lastWrite_ = QFileInfo(source_).lastModified();
    return {};
}

QString FilePlacement::carryOut() {
    if (handling_ != FileHandling::Keep) {
        const bool move = handling_ == FileHandling::Move;
        const int code = transfer(source_, target_, move ? TFileCopy::CopyKind::Move : TFileCopy::CopyKind::Copy);
        if (code != 0)
            return (move ? QStringLiteral("Die Datei \"%1\" konnte nicht nach \"%2\" verschoben werden: %3.")
                         : QStringLiteral("Die Datei \"%1\" konnte nicht nach \"%2\" kopiert werden: %3."))
                .arg(source_, target_, causeOf(code));
    }
    if (!QFileInfo(filed_).isFile())
        return QStringLiteral("Die Datei \"%1\" wurde nach dem Ablegen nicht gefunden; es wurde kein Dokument "
                              "angelegt.")
            .arg(filed_);
    return {};
}

bool FilePlacement::takeBack() {
    if (handling_ == FileHandling::Copy)
        return QFile::remove(target_);
    if (handling_ == FileHandling::Move)
        return transfer(target_, source_, TFileCopy::CopyKind::Move) == 0;
    return true;
}

} // namespace zep
