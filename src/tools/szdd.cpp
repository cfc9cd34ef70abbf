#include "tools/szdd.h"

#include <array>

namespace zep {

namespace {

constexpr int HeaderSize = 14;
constexpr int WindowSize = 4096;
constexpr int WindowStart = WindowSize - 16;

bool hasSzddMagic(const QByteArray& in) {
    static const QByteArray magic("SZDD\x88\xF0\x27\x33", 8);
    return in.startsWith(magic);
}

quint32 statedSize(const QByteArray& in) {
    const auto byte = [&](int i) {
        return quint32(quint8(in.at(i)));
    };
    return byte(10) | byte(11) << 8 | byte(12) << 16 | byte(13) << 24;
}

// Appends to out; a failure may leave part of the expansion there.
int expandCompressed(const QByteArray& in, QByteArray& out) {
    if (!hasSzddMagic(in)) {
        out = in;
        return 0;
    }
    if (in.size() < HeaderSize)
        return LzRead;
    if (in.at(8) != 'A')
        return LzUnknownAlgorithm;
    const quint32 size = statedSize(in);
    // A damaged size must not reserve gigabytes: LZSS expands at most 18 bytes from 2.
    out.reserve(qsizetype(std::min<quint64>(size, quint64(in.size()) * 9)));
    std::array<char, WindowSize> window;
    window.fill(' ');
    int position = WindowStart;
    qsizetype at = HeaderSize;
    const auto put = [&](char c) {
        out.append(c);
        window[size_t(position)] = c;
        position = (position + 1) & (WindowSize - 1);
    };
    while (quint32(out.size()) < size && at < in.size()) {
        const quint8 flags = quint8(in.at(at++));
        for (int bit = 0; bit < 8 && quint32(out.size()) < size && at < in.size(); ++bit) {
            if (flags & (1u << bit)) {
                put(in.at(at++));
                continue;
            }
            if (at + 1 >= in.size())
                return LzRead;
            const quint8 low = quint8(in.at(at));
            const quint8 high = quint8(in.at(at + 1));
            at += 2;
            int from = low | (high & 0xF0) << 4;
            const int length = (high & 0x0F) + 3;
            for (int i = 0; i < length && quint32(out.size()) < size; ++i) {
                put(window[size_t(from)]);
                from = (from + 1) & (WindowSize - 1);
            }
        }
    }
    return quint32(out.size()) == size ? 0 : LzRead;
}

} // namespace

// Whatever way the expansion fails, out holds nothing of it.
int expandSzdd(const QByteArray& in, QByteArray& out) {
    out.clear();
    const int result = expandCompressed(in, out);
    if (result != 0)
        out.clear();
    return result;
}

} // namespace zep
