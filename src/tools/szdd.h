#pragma once

#include <QByteArray>

namespace zep {

// Results of the expand operation in the numbering of the old LZ expand library, which callers of
// TFileCopy may compare against.
enum LzError : int {
    LzBadInHandle = -1,
    LzBadOutHandle = -2,
    LzRead = -3,
    LzWrite = -4,
    LzUnknownAlgorithm = -8,
};

// Expands a file in the "SZDD" compressed format (14-byte header: magic "SZDD" 88 F0 27 33, the mode
// letter 'A', the replaced last character of the name, the expanded size as 32-bit little endian;
// then LZSS with a 4096-byte window of spaces, written from position 4080, a flag byte per eight
// items, a set bit for a literal, a clear bit for a 12-bit position and a 4-bit length + 3).
// Bytes without the magic are returned unchanged. Returns 0 and fills out, or LzRead for a
// compressed stream that ends before its stated size (also inside a back-reference),
// LzUnknownAlgorithm for a mode other than 'A'; out is then empty.
int expandSzdd(const QByteArray& in, QByteArray& out);

} // namespace zep
