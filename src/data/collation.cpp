#include "data/collation.h"

#include <QString>
#include <sqlite3.h>

namespace zep {
namespace {

// Appends the primary (case- and accent-free) form of one character.
void appendFolded(QString& out, QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) {
        out.append(QChar(u >= 'A' && u <= 'Z' ? u + 32 : u));
        return;
    }
    if (u == 0x00DF) {
        out.append(u"ss");
        return;
    }
    const QString decomposed = QString(c).normalized(QString::NormalizationForm_D);
    for (QChar d : decomposed) {
        if (d.category() != QChar::Mark_NonSpacing)
            out.append(d.toCaseFolded());
    }
}

QString folded(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s)
        appendFolded(out, c);
    return out;
}

bool isAscii(QStringView s) {
    for (QChar c : s)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

int asciiCompare(QStringView a, QStringView b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return sign(int(a.size() - b.size()));
}

int collateCallback(void*, int lenA, const void* a, int lenB, const void* b) {
    const QString sa = QString::fromUtf8(static_cast<const char*>(a), lenA);
    const QString sb = QString::fromUtf8(static_cast<const char*>(b), lenB);
    return collateText(sa, sb);
}

} // namespace

int collateText(QStringView a, QStringView b) {
    const int primary = isAscii(a) && isAscii(b) ? asciiCompare(a, b) : sign(folded(a).compare(folded(b)));
    if (primary != 0)
        return primary;
    return sign(a.compare(b));
}

void registerCollation(sqlite3* db) {
    sqlite3_create_collation(db, "ZEP", SQLITE_UTF8, nullptr, &collateCallback);
}

} // namespace zep
