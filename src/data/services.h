#pragma once

#include <QString>

namespace zep {

// Longest notice text DO_INFO shows. Paths are never cut: a cut path names another file.
inline constexpr qsizetype ServiceTextLimit = 255;

// Expands $VAR, ${VAR}, %VAR% and a leading "~" in a program path. Unknown variables stay as written:
// expanding them to "" could turn the path into another, existing program.
QString GETSYSTEMROOT(const QString& programPath);

// Copies every regular file of the source directory whose name matches the mask into the existing
// target directory, replacing files of the same name (compared without regard to case). A leading
// "/" or "\" of the mask is ignored, names match without regard to case, "*.*" matches every file.
// False when either directory is missing, no file matches or a copy fails; the copy stops at the first
// failure.
bool DIRCOPY(const QString& sourceDir, const QString& targetDir, const QString& mask);

// Copies one file; an existing target is replaced only once the copy is complete.
bool FILECOPY(const QString& sourceFile, const QString& targetFile);

// Lets the user pick a directory, starting at the current one; cancelled gives the current text unchanged.
QString DO_VERZEICHNIS(const QString& current);

// Shows a notice that stays, without blocking, until RELEASE_INFO.
void DO_INFO(const QString& text);
void RELEASE_INFO();

} // namespace zep
