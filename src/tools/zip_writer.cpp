#include "tools/zip_writer.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace zep {

namespace {

constexpr quint32 localHeaderSignature = 0x04034b50;
constexpr quint32 centralHeaderSignature = 0x02014b50;
constexpr quint32 endRecordSignature = 0x06054b50;
constexpr quint16 versionStored = 10; // 1.0: stored entries need nothing newer
constexpr quint16 utf8NameFlag = 0x0800;
constexpr quint16 methodStored = 0;
constexpr qsizetype max16 = 0xFFFF;
constexpr qsizetype max32 = 0xFFFFFFFF;

constexpr std::array<quint32, 256> makeCrcTable() {
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? 0xEDB88320u ^ (value >> 1) : value >> 1;
        table[i] = value;
    }
    return table;
}

constexpr std::array<quint32, 256> crcTable = makeCrcTable();

void put16(QByteArray& bytes, quint16 value) {
    char buffer[2];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, sizeof buffer);
}

void put32(QByteArray& bytes, quint32 value) {
    char buffer[4];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, sizeof buffer);
}

bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void checkFits(qsizetype value, qsizetype limit) {
    if (value > limit)
        throw std::length_error("ZIP archive exceeds the limits of the format without ZIP64");
}

} // namespace

quint32 crc32(QByteArrayView data) {
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : data)
        crc = crcTable[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

ZipWriter::ZipWriter(const QDateTime& modified) {
    const bool usable = modified.isValid() && modified.date().year() >= 1980 && modified.date().year() <= 2107;
    if (!usable) {
        dosDate_ = (1 << 5) | 1;
        return;
    }
    const QDate date = modified.date();
    const QTime time = modified.time();
    dosDate_ = static_cast<quint16>(((date.year() - 1980) << 9) | (date.month() << 5) | date.day());
    dosTime_ = static_cast<quint16>((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
}

void ZipWriter::addFile(const QString& name, const QByteArray& data) {
    Entry entry{name.toUtf8(), crc32(data), static_cast<quint32>(data.size()), static_cast<quint32>(body_.size())};
    checkFits(entries_.size() + 1, max16);
    checkFits(entry.name.size(), max16);
    checkFits(body_.size() + 30 + entry.name.size() + data.size(), max32);

    put32(body_, localHeaderSignature);
    put16(body_, versionStored);
    put16(body_, isAscii(entry.name) ? 0 : utf8NameFlag);
    put16(body_, methodStored);
    put16(body_, dosTime_);
    put16(body_, dosDate_);
    put32(body_, entry.crc);
    put32(body_, entry.size); // compressed size equals the size: stored
    put32(body_, entry.size);
    put16(body_, static_cast<quint16>(entry.name.size()));
    put16(body_, 0); // no extra field
    body_.append(entry.name);
    body_.append(data);
    entries_.append(entry);
}

QByteArray ZipWriter::archive() const {
    QByteArray central;
    for (const Entry& entry : entries_) {
        put32(central, centralHeaderSignature);
        put16(central, versionStored); // made by: MS-DOS attributes, version 1.0
        put16(central, versionStored);
        put16(central, isAscii(entry.name) ? 0 : utf8NameFlag);
        put16(central, methodStored);
        put16(central, dosTime_);
        put16(central, dosDate_);
        put32(central, entry.crc);
        put32(central, entry.size);
        put32(central, entry.size);
        put16(central, static_cast<quint16>(entry.name.size()));
        put16(central, 0); // extra field
        put16(central, 0); // comment
        put16(central, 0); // disk number
        put16(central, 0); // internal attributes
        put32(central, 0); // external attributes
        put32(central, entry.localHeaderOffset);
        central.append(entry.name);
    }
    checkFits(body_.size() + central.size(), max32);

    QByteArray bytes = body_ + central;
    put32(bytes, endRecordSignature);
    put16(bytes, 0); // this disk
    put16(bytes, 0); // disk with the central directory
    put16(bytes, static_cast<quint16>(entries_.size()));
    put16(bytes, static_cast<quint16>(entries_.size()));
    put32(bytes, static_cast<quint32>(central.size()));
    put32(bytes, static_cast<quint32>(body_.size()));
    put16(bytes, 0); // comment
    return bytes;
}

} // namespace zep
