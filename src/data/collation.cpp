#include "data/collation.h"

#include <QChar>
#include <QVarLengthArray>
#include <sqlite3.h>

namespace zep {
namespace {

using Folded = QVarLengthArray<char32_t, 128>;

// Base letters of the Latin-1 supplement (U+00C0..U+00FF); 0 marks the expansions handled below.
constexpr char kLatin1Base[] = "aaaaaa\0ceeeeiiii"     // C0..CF
                               "dnooooo\x01ouuuuy\0\0" // D0..DF (D7 is kept, DE and DF expand)
                               "aaaaaa\0ceeeeiiii"     // E0..EF
                               "dnooooo\x02ouuuuy\0y"; // F0..FF (F7 is kept, FE expands)

void appendFolded(Folded& out, char32_t c) {
    if (c < 0x80) {
        out.append(c >= 'A' && c <= 'Z' ? c + 32 : c);
        return;
    }
    if (c >= 0xC0 && c <= 0xFF) {
        const char base = kLatin1Base[c - 0xC0];
        if (base > 2) {
            out.append(char32_t(base));
            return;
        }
        if (c == 0xC6 || c == 0xE6) { // Æ æ
            out.append(U'a');
            out.append(U'e');
            return;
        }
        if (c == 0xDE || c == 0xFE) { // Þ þ
            out.append(U't');
            out.append(U'h');
            return;
        }
        if (c == 0xDF) { // ß
            out.append(U's');
            out.append(U's');
            return;
        }
    }
    out.append(QChar::toCaseFolded(c));
}

int compareSequences(const char32_t* a, qsizetype na, const char32_t* b, qsizetype nb) {
    const qsizetype n = std::min(na, nb);
    for (qsizetype i = 0; i < n; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return (na > nb) - (na < nb);
}

// Code points of a UTF-16 text.
void decode(QStringView s, Folded& raw) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            raw.append(QChar::surrogateToUcs4(c, s[i + 1]));
            ++i;
        } else {
            raw.append(c.unicode());
        }
    }
}

// Code points of a UTF-8 text as SQLite hands it over.
void decode(const unsigned char* s, int length, Folded& raw) {
    for (int i = 0; i < length;) {
        const unsigned char c = s[i];
        char32_t cp = c;
        int extra = 0;
        if (c >= 0xF0)
            cp = c & 0x07, extra = 3;
        else if (c >= 0xE0)
            cp = c & 0x0F, extra = 2;
        else if (c >= 0xC0)
            cp = c & 0x1F, extra = 1;
        ++i;
        for (; extra > 0 && i < length; --extra, ++i)
            cp = (cp << 6) | (s[i] & 0x3F);
        raw.append(cp);
    }
}

int collateCodePoints(const Folded& a, const Folded& b) {
    Folded fa, fb;
    for (char32_t c : a)
        appendFolded(fa, c);
    for (char32_t c : b)
        appendFolded(fb, c);
    if (const int primary = compareSequences(fa.data(), fa.size(), fb.data(), fb.size()))
        return primary;
    return compareSequences(a.data(), a.size(), b.data(), b.size());
}

// Most keys differ within a leading ASCII run; there the folded order is the lower-case byte order.
// Returns 0 when the run does not decide.
int asciiPrefixOrder(const unsigned char* a, int lengthA, const unsigned char* b, int lengthB, bool& decided) {
    const int n = std::min(lengthA, lengthB);
    for (int i = 0; i < n; ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 0x80 || y >= 0x80)
            return decided = false, 0;
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return decided = true, x < y ? -1 : 1;
    }
    decided = false;
    return 0;
}

int collateCallback(void*, int lengthA, const void* a, int lengthB, const void* b) {
    const auto* ua = static_cast<const unsigned char*>(a);
    const auto* ub = static_cast<const unsigned char*>(b);
    bool decided = false;
    const int order = asciiPrefixOrder(ua, lengthA, ub, lengthB, decided);
    if (decided)
        return order;
    Folded ra, rb;
    decode(static_cast<const unsigned char*>(a), lengthA, ra);
    decode(static_cast<const unsigned char*>(b), lengthB, rb);
    return collateCodePoints(ra, rb);
}

} // namespace

int collateText(QStringView a, QStringView b) {
    Folded ra, rb;
    decode(a, ra);
    decode(b, rb);
    return collateCodePoints(ra, rb);
}

void registerCollation(sqlite3* db) {
    sqlite3_create_collation(db, "ZEP", SQLITE_UTF8, nullptr, &collateCallback);
}

} // namespace zep
