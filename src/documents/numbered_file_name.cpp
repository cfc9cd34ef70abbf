#include "documents/numbered_file_name.h"

#include <QFileInfo>
#include <algorithm>

namespace zep {

namespace {

constexpr int NumberDigits = 5;

bool isTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A title taken from a file name ("Rechnung.pdf") already ends in the extension: it is kept once.
QString withoutRepeatedExtension(const QString& base, const QString& extension) {
    if (extension.isEmpty() || base.size() <= extension.size() || !base.endsWith(extension, Qt::CaseInsensitive))
        return base;
    return base.left(base.size() - extension.size());
}

} // namespace

QString StripNumberSuffix(const QString& name) {
    if (name.size() <= NumberDigits)
        return name;
    const QStringView tail = QStringView(name).right(NumberDigits);
    const bool allDigits = std::all_of(tail.begin(), tail.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return allDigits ? name.left(name.size() - NumberDigits) : name;
}

QString NumberedFileName(const QString& wishedPath) {
    const int slash = int(wishedPath.lastIndexOf(u'/'));
    const QString directory = wishedPath.left(slash + 1);
    const QString fileName = wishedPath.mid(slash + 1);
    const int dot = int(fileName.lastIndexOf(u'.'));
    const QString extension = dot < 0 ? QString() : fileName.mid(dot);
    const QString base =
        StripNumberSuffix(withoutRepeatedExtension(dot < 0 ? fileName : fileName.left(dot), extension));
    for (qint64 n = 1;; ++n) {
        const QString candidate =
            directory + base + QStringLiteral("%1").arg(n, NumberDigits, 10, QLatin1Char('0')) + extension;
        if (!isTaken(candidate))
            return candidate;
    }
}

} // namespace zep
