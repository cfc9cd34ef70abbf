#include "tools/szdd.h"

#include <QTest>

using namespace zep;

namespace {

// The 14-byte header of a compressed file: magic, mode letter, replaced character, expanded size.
QByteArray header(quint32 size, char mode = 'A') {
    QByteArray bytes("SZDD\x88\xF0\x27\x33", 8);
    bytes.append(mode);
    bytes.append('_');
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((size >> shift) & 0xFF));
    return bytes;
}

// Three literals (flag bits 0-2 set), then a back-reference (bit 3 clear) of 6 bytes from window
// position 0xFF0, where the first literal was written: "ABC" repeated three times.
const QByteArray Repeat("\x07"
                        "ABC"
                        "\xF0\xF3",
                        6);
// A back-reference to position 0 before anything was written reads the window's initial spaces.
const QByteArray Spaces("\x00\x00\x01", 3);

} // namespace

class TestSzdd : public QObject {
    Q_OBJECT

private slots:
    void expansion_data() {
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("expanded");
        QTest::newRow("back-reference repeats literals") << header(9) + Repeat << 0 << QByteArray("ABCABCABC");
        QTest::newRow("window starts as spaces") << header(4) + Spaces << 0 << QByteArray("    ");
        QTest::newRow("stated size cuts a back-reference") << header(7) + Repeat << 0 << QByteArray("ABCABCA");
        QTest::newRow("no magic: unchanged") << QByteArray("SZDX kein Kopf") << 0 << QByteArray("SZDX kein Kopf");
        QTest::newRow("empty") << QByteArray() << 0 << QByteArray();
        QTest::newRow("cut inside a back-reference") << header(9) + Repeat.left(5) << int(LzRead) << QByteArray();
        QTest::newRow("cut after a literal") << header(9) + Repeat.left(3) << int(LzRead) << QByteArray();
        QTest::newRow("shorter than stated") << header(12) + Repeat << int(LzRead) << QByteArray();
        QTest::newRow("cut header") << header(9).left(11) << int(LzRead) << QByteArray();
        QTest::newRow("unknown mode") << header(9, 'B') + Repeat << int(LzUnknownAlgorithm) << QByteArray();
    }

    // out holds exactly the expansion, and nothing after a failure, so no caller can write a partial file.
    void expansion() {
        QFETCH(QByteArray, in);
        QFETCH(int, result);
        QFETCH(QByteArray, expanded);
        QByteArray out("left from before");
        QCOMPARE(expandSzdd(in, out), result);
        QCOMPARE(out, expanded);
    }
};

QTEST_GUILESS_MAIN(TestSzdd)
#include "tst_szdd.moc"
