#pragma once

#include <QDateTime>
#include <QString>

namespace zep {

// What becomes of a file that is filed: it stays where it is, or goes into the client's "Files"
// folder as a copy or moved there.
enum class FileHandling { Keep, Move, Copy };

// The file name without its extension, less a trailing five-digit running number: the title TN05
// proposes ("Angebot00012.odt" -> "Angebot").
QString proposedTitle(const QString& source);
// The extension without its dot, as filed in Ext (cut to the field by the table).
QString extensionOf(const QString& path);
// The first free numbered name for the source's file name in the client's "Files" folder.
QString proposedTarget(const QString& source, const QString& filesDir);
// What Datei holds for a filed path: the bare name when it lies directly in the client's "Files"
// folder (letter case counts: "files" beside "Files" is another folder), the full path otherwise.
QString storedFileName(const QString& filedPath, const QString& filesDir);

// Puts one file in place for filing and can take that back when its record cannot be completed, so
// no copy is left without a record and no moved file is lost. A move removes the source only once
// the target is complete on disk.
class FilePlacement {
public:
    FilePlacement(QString source, QString target, FileHandling handling);

    // Checks that the file can be placed (the source is a file, the target is free) and reads the
    // last-write time the filed file will have, before anything changes on disk: the record is
    // written first. Empty when it can be placed, else a German message.
    QString prepare();
    const QString& filedPath() const { return filed_; }
    const QDateTime& lastWrite() const { return lastWrite_; }
    // After prepare: copies or moves the file as chosen, on disk with its name when this returns.
    // Empty on success, else a German message; nothing has changed on disk then.
    QString carryOut();
    // After a successful carryOut: removes the copy, or moves the file back to its source. False
    // when the file could not be taken back and stays placed.
    bool takeBack();

private:
    QString source_;
    QString target_;
    FileHandling handling_;
    QString filed_;
    QDateTime lastWrite_;
};

} // namespace zep
