#pragma once

#include <QString>

namespace zep {

// The name without a trailing five-digit running number ("Angebot00012" -> "Angebot"); a name of
// five characters or fewer is returned unchanged.
QString StripNumberSuffix(const QString& name);

// The first path directory/base + five-digit number + extension that names nothing yet (no file,
// directory or dangling link), with a running number already on the wished base dropped first:
// "Files/Brief.doc" gives "Files/Brief00001.doc", or "Files/Brief00002.doc" when that exists.
// A base that itself ends in the extension (any letter case) loses it, so "Files/Rechnung.pdf.pdf"
// gives "Files/Rechnung00001.pdf". Past 99999 the number simply has more digits.
QString NumberedFileName(const QString& wishedPath);

} // namespace zep
