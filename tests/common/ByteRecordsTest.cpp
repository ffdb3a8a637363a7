#include "common/ByteRecords.h"

#include <QTest>

using namespace tavro;

class ByteRecordsTest : public QObject {
    Q_OBJECT
private slots:
    void writeThenRead();
    void readPastEndStopsSafely();
};

void ByteRecordsTest::writeThenRead() {
    ByteWriter w;
    w.writeInt32(-2);
    w.writeUInt8(0xFE);
    w.writeSingle(1.5f);
    w.writeDouble(-0.1);
    w.writeFixed("abc", 5);
    w.writeFixed("abcdef", 2);
    QCOMPARE(w.bytes().left(9).toHex(), QByteArray("feffffff"
                                                   "fe"
                                                   "0000c03f"));
    QCOMPARE(w.bytes().mid(17), QByteArray("abc\0\0ab", 7));

    ByteReader r(w.bytes());
    std::int32_t i = 0;
    std::uint8_t b = 0;
    float f = 0;
    double d = 0;
    QVERIFY(r.readInt32(i) && r.readUInt8(b) && r.readSingle(f) && r.readDouble(d) && r.skip(7));
    QCOMPARE(i, -2);
    QCOMPARE(b, std::uint8_t(0xFE));
    QCOMPARE(f, 1.5f);
    QCOMPARE(d, -0.1);
    QVERIFY(r.atEnd() && !r.ranOut());
}

void ByteRecordsTest::readPastEndStopsSafely() {
    const QByteArray bytes = QByteArray::fromHex("010203");
    ByteReader r(bytes);
    std::int32_t i = 42;
    QVERIFY(!r.readInt32(i));
    QCOMPARE(i, 42);
    QVERIFY(r.ranOut());
    QCOMPARE(r.position(), 0);
    QByteArray out;
    QVERIFY(!r.readBytes(-1, out));
    QVERIFY(r.skip(2) && !r.skip(2));
    QVERIFY(r.readBytes(1, out));
    QCOMPARE(out, QByteArray("\x03"));
}

QTEST_GUILESS_MAIN(ByteRecordsTest)
#include "ByteRecordsTest.moc"
