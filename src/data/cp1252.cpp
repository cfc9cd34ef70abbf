#include "data/cp1252.h"

#include <array>

namespace zep {

namespace {

// Code points of the bytes 0x80..0x9F; every other byte stands for the code point of its own value.
constexpr std::array<char16_t, 32> highControlRange = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr char replacement = '?';

char encodeChar(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (std::size_t i = 0; i < highControlRange.size(); ++i) {
        if (highControlRange[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return replacement;
}

// Length of a UTF-8 sequence from its lead byte, 0 for a byte that cannot start one.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The allowed range of the second byte depends on the lead byte; this is what rules out overlong
// forms, surrogates and code points above U+10FFFF.
bool secondByteAllowed(unsigned char lead, unsigned char second) {
    switch (lead) {
    case 0xE0:
        return second >= 0xA0 && second <= 0xBF;
    case 0xED:
        return second >= 0x80 && second <= 0x9F;
    case 0xF0:
        return second >= 0x90 && second <= 0xBF;
    case 0xF4:
        return second >= 0x80 && second <= 0x8F;
    default:
        return second >= 0x80 && second <= 0xBF;
    }
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

QString fromCp1252(QByteArrayView bytes) {
    // Latin-1 agrees with Windows-1252 except in 0x80..0x9F; decode in bulk, then mend that range.
    QString text = QString::fromLatin1(bytes);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        if (out[i] >= 0x80 && out[i] <= 0x9F)
            out[i] = highControlRange[out[i] - 0x80];
    return text;
}

qsizetype toCp1252(QStringView text, char* out, qsizetype maxBytes) {
    qsizetype written = 0;
    for (qsizetype i = 0; i < text.size() && written < maxBytes; ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        out[written++] = pair ? replacement : encodeChar(text[i].unicode());
        i += pair ? 1 : 0;
    }
    return written;
}

QByteArray toCp1252(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(toCp1252(text, bytes.data(), bytes.size()));
    return bytes;
}

QString unrepresentableCharacters(QStringView text) {
    QString found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView character = text.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
        if ((pair || encodeChar(character[0].unicode()) == replacement) && character[0] != u'?' &&
            !found.contains(character))
            found.append(character);
    }
    return found;
}

QString withUnrepresentableReplaced(QStringView text) {
    return fromCp1252(toCp1252(text));
}

bool isValidUtf8(QByteArrayView bytes) {
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        const int length = sequenceLength(lead);
        if (length == 0 || pos + length > bytes.size())
            return false;
        if (length > 1 && !secondByteAllowed(lead, static_cast<unsigned char>(bytes[pos + 1])))
            return false;
        for (int i = 2; i < length; ++i) {
            if (!isContinuation(static_cast<unsigned char>(bytes[pos + i])))
                return false;
        }
        pos += length;
    }
    return true;
}

} // namespace zep
