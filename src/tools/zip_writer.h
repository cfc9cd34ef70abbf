#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

namespace zep {

quint32 crc32(QByteArrayView data);

// Builds a ZIP archive of uncompressed ("stored") entries in the order they are added, which is
// what an OpenDocument package needs for its leading "mimetype" entry. No ZIP64: an archive is
// limited to 65535 entries and 4 GiB.
class ZipWriter {
public:
    // Every entry carries this modification time; an invalid one stands for 1 January 1980.
    explicit ZipWriter(const QDateTime& modified = {});

    void addFile(const QString& name, const QByteArray& data);

    // The complete archive: local headers with data, central directory, end record.
    QByteArray archive() const;

private:
    struct Entry {
        QByteArray name;
        quint32 crc = 0;
        quint32 size = 0;
        quint32 localHeaderOffset = 0;
    };

    quint16 dosTime_ = 0;
    quint16 dosDate_ = 0;
    QByteArray body_;
    QList<Entry> entries_;
};

} // namespace zep
