#pragma once

#include <QString>

namespace zep {

// A copy is written beside its target under a hidden name ("." + target name + "." + a random
// number + this suffix) and renamed to the target once complete on disk. A file of such a name left
// behind is a copy that a crash interrupted; its source is untouched.
inline constexpr QStringView ScratchSuffix = u".copy";

// True for the name of such an unfinished copy.
bool isPartialCopyName(const QString& fileName);
// Removes the unfinished copies in directory (only those for targetName when given); returns how
// many went.
int removePartialCopies(const QString& directory, const QString& targetName = {});

// Copies, moves or expands one file and reports problems to the user in German or English. A copied,
// expanded or moved file is on disk under its name, its folder synced, when Execute returns 0.
// Execute returns 0 on success, an errno value when the system refuses the copy or move, for
// Expand the number of bytes written or a negative LzError, or one of the codes below.
class TFileCopy {
public:
    enum class CopyKind { Copy, Move, Expand };
    enum class MessageLanguage { German, English };

    static constexpr int EmptyName = -9;
    static constexpr int TargetDriveMissing = -10;
    static constexpr int OverwriteDeclined = -11;
    static constexpr int MoveFromReadOnly = -12;
    static constexpr int SystemCallFailed = -13;
    static constexpr int SourceDriveMissing = -14;
    static constexpr int SameFile = -15;
    static constexpr int Wildcard = -16;

    QString SourceFile;
    QString TargetFile;
    CopyKind CopyType = CopyKind::Copy;
    MessageLanguage Language = MessageLanguage::German;
    bool CheckExists = false; // ask before overwriting an existing target (Copy and Expand)
    QString About;            // free text, no effect

    int Execute();

    // The question asked before an existing target is overwritten.
    QString overwriteQuestion() const;

private:
    QString text(const char16_t* german, const char16_t* english) const;
    bool overwriteDeclined() const;
    int copyFile();
    int moveFile();
    int expandFile();
};

} // namespace zep
