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

// Three literals "ABC", then a back-reference of 6 bytes to where they were written.
const QByteArray Repeat("\x07"
                        "ABC"
                        "\xF0\xF3",
                        6);

} // namespace

class TestSzdd : public QObject {
    Q_OBJECT

private slots:
    void damagedStreamsGiveNoOutput_data() {
        QTest::addColumn<QByteArray>("in");
        QTest::addColumn<int>("result");
        QTest::newRow("cut inside a back-reference") << header(9) + Repeat.left(5) << int(LzRead);
        QTest::newRow("cut after a literal") << header(9) + Repeat.left(3) << int(LzRead);
        QTest::newRow("shorter than stated") << header(12) + Repeat << int(LzRead);
        QTest::newRow("cut header") << header(9).left(11) << int(LzRead);
        QTest::newRow("unknown mode") << header(9, 'B') + Repeat << int(LzUnknownAlgorithm);
    }

    // A failed expansion hands nothing on, so no caller can write a partial file.
    void damagedStreamsGiveNoOutput() {
        QFETCH(QByteArray, in);
        QFETCH(int, result);
        QByteArray out("left from before");
        QCOMPARE(expandSzdd(in, out), result);
        QCOMPARE(out, QByteArray());
    }

    void wholeStreamExpands() {
        QByteArray out;
        QCOMPARE(expandSzdd(header(9) + Repeat, out), 0);
        QCOMPARE(out, QByteArray("ABCABCABC"));
    }
};

QTEST_GUILESS_MAIN(TestSzdd)
#include "tst_szdd.moc"
