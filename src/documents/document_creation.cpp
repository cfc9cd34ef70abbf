#include "documents/document_creation.h"

#include "data/table.h"
#include "documents/datei_width.h"
#include "documents/document_path.h"
#include "documents/file_placement.h"
#include "documents/numbered_file_name.h"
#include "documents/placed_filing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <unistd.h>

namespace zep {

namespace {

constexpr long FallbackNameMax = 255;

// Bytes a file name may take in the directory's file system.
long fileNameLimit(const QString& directory) {
    const long limit = pathconf(QFile::encodeName(directory).constData(), _PC_NAME_MAX);
    return limit > 0 ? limit : FallbackNameMax;
}

bool onlyDots(const QString& title) {
    return std::all_of(title.begin(), title.end(), [](QChar c) { return c == u'.'; });
}

// A copied template can be saved as the user's document even when the template itself is read-only.
bool makeWritable(const QString& path) {
    QFile file(path);
    return file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
}

} // namespace

QString titleRefusal(const QString& title) {
    if (title.contains(u'/'))
        return QStringLiteral("Der Titel darf keinen Schrägstrich \"/\" enthalten, denn er wird Teil des Dateinamens.");
    if (title.contains(QChar(u'\0')))
        return QStringLiteral("Der Titel darf kein Nullzeichen enthalten, denn er wird Teil des Dateinamens.");
    // Such a name could be written, but no document's Datei may name it.
    if (std::any_of(title.begin(), title.end(), isControlCharacter))
        return QStringLiteral("Der Titel darf keinen Zeilenumbruch und kein anderes Steuerzeichen enthalten, denn er "
                              "wird Teil des Dateinamens.");
    if (onlyDots(title))
        return QStringLiteral("Ein Titel nur aus Punkten ergibt keinen Dateinamen. Bitte geben Sie einen anderen "
                              "Titel ein.");
    return {};
}

NewDocumentFile newDocumentFile(const QString& title, const QString& templatePath, const QString& filesDir,
                                int maxNameLength) {
    if (QString refusal = titleRefusal(title); !refusal.isEmpty())
        return {{}, refusal};
    const QString suffix = QFileInfo(templatePath).suffix();
    const QString extension = suffix.isEmpty() ? QString() : u'.' + suffix;
    const QString path = NumberedFileName(QDir(filesDir).filePath(title + extension));
    const QString name = QFileInfo(path).fileName();
    const long bytes = fileNameLimit(filesDir);
    if (name.size() > maxNameLength || QFile::encodeName(name).size() > bytes)
        return {{},
                QStringLiteral("Der Titel ist zu lang für einen Dateinamen: mit Nummer und Endung sind höchstens %1 "
                               "Zeichen möglich. Bitte kürzen Sie den Titel.")
                    .arg(std::min<long>(bytes, maxNameLength))};
    return {path, {}};
}

QString DocumentCreation::file(const QString& title, const QString& templatePath, const QString& applicationExt,
                               const QString& filesDir, const QDateTime& now) {
    Table& dok = documents();
    const NewDocumentFile target = newDocumentFile(title, templatePath, filesDir, dateiWidth(dok));
    if (!target.refusal.isEmpty())
        return target.refusal;
    const QString notCopied =
        QStringLiteral("Die Vorlage \"%1\" konnte nicht nach \"%2\" kopiert werden. Das Dokument wurde nicht "
                       "angelegt.")
            .arg(QDir::toNativeSeparators(templatePath), QDir::toNativeSeparators(target.path));
    // A client whose "Files" folder went missing gets it back with its first new document.
    QDir().mkpath(filesDir);
    FilePlacement placement(templatePath, target.path, FileHandling::Copy);
    if (!placement.prepare().isEmpty())
        return notCopied;
    try {
        if (!dok.isEditing())
            dok.edit();
        dok.field(u"Titel").setValue(title);
        dok.field(u"Ext").setValue(applicationExt);
        dok.field(u"Datei").setValue(QFileInfo(target.path).fileName());
        dok.field(u"EDatum").setValue(now);
    } catch (...) {
        dok.cancel();
        throw;
    }
    const PlacedFiling filing = postWithPlacedFile(dok, placement, returnToProvisional,
                                                   [&] { return makeWritable(target.path) ? QString() : notCopied; });
    if (!filing.filed)
        return notCopied;
    markFiled();
    return filing.message;
}

} // namespace zep
