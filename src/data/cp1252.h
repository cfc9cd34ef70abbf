#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zep {

// Windows-1252, the single-byte code page of every fixed file format. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the code points of the same value, so that
// any byte sequence survives a round trip.
QString fromCp1252(QByteArrayView bytes);

// Characters Windows-1252 cannot hold become "?", one per character (a surrogate pair is one character).
QByteArray toCp1252(QStringView text);
// The same into out, at most maxBytes bytes (the first characters); returns the bytes written.
qsizetype toCp1252(QStringView text, char* out, qsizetype maxBytes);

// The characters of the text that Windows-1252 cannot hold, each once, in the order they first occur
// (a surrogate pair is one character). Empty when the text survives toCp1252 unchanged.
QString unrepresentableCharacters(QStringView text);

// The text as it reads back from Windows-1252: every character the code page cannot hold is "?".
QString withUnrepresentableReplaced(QStringView text);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool isValidUtf8(QByteArrayView bytes);

} // namespace zep
