#include "common/Cp932.h"

#include <QTest>

using namespace tavro;

class Cp932Test : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void unencodableIsReported();
    void invalidBytesDecodeToReplacement();
    void byteHelpers();
};

void Cp932Test::roundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("circled, roman, wave, ibm kanji")
        << QString("①Ⅰ～髙") << QByteArray::fromHex("874087548160fbfc");
    QTest::newRow("half-width kana") << QString("ｶﾞｯｺｳ｡") << QByteArray::fromHex("b6deafbab3a1");
    QTest::newRow("ascii incl. control codes")
        << QString("a\t\x1a\x1c\x7f\\~") << QByteArray("a\t\x1a\x1c\x7f\\~");
    QTest::newRow("mixed") << QString("1組 山田") << QByteArray::fromHex("319167208e529363");
}

void Cp932Test::roundTrip() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QByteArray out;
    QVERIFY(cp932::encode(text, out));
    QCOMPARE(out.toHex(), bytes.toHex());
    QCOMPARE(cp932::decode(bytes), text);
    QCOMPARE(cp932::byteLength(text), bytes.size());
}

void Cp932Test::unencodableIsReported() {
    const QString text = QString("あ") + QString::fromUtf8("😀") + "b";
    QByteArray out;
    QVERIFY(!cp932::encode(text, out));
    QCOMPARE(out, QByteArray("\x82\xa0?b"));
    QCOMPARE(cp932::firstUnencodable(text), QString::fromUtf8("😀"));
    QVERIFY(!cp932::canEncode(QString::fromUtf8("é")));
    QVERIFY(cp932::canEncode(QString("髙ｱ")));
    QCOMPARE(cp932::byteLength(text), 4);
}

void Cp932Test::invalidBytesDecodeToReplacement() {
    const QChar r = QChar::ReplacementCharacter;
    QCOMPARE(cp932::decode(QByteArray("\x82\x20"
                                      "a")),
             QString(r) + " a");                                    // bad trail byte
    QCOMPARE(cp932::decode(QByteArray("a\x82")), QString("a") + r); // cut off lead byte
    QCOMPARE(cp932::decode(QByteArray("\x80\xa0\xff")), QString(3, r));
    QCOMPARE(cp932::decode(QByteArray("\x85\x40")), QString(r)); // unassigned pair
}

void Cp932Test::byteHelpers() {
    const QString text = QString("aあｱい"); // bytes: a | あ あ | ｱ | い い
    QCOMPARE(cp932::leftBytes(text, 0), QString());
    QCOMPARE(cp932::leftBytes(text, 2), QString("a"));
    QCOMPARE(cp932::leftBytes(text, 4), QString("aあｱ"));
    QCOMPARE(cp932::leftBytes(text, 5), QString("aあｱ"));
    QCOMPARE(cp932::leftBytes(text, 99), text);
    QCOMPARE(cp932::midBytes(text, 1), QString("あｱい"));
    QCOMPARE(cp932::midBytes(text, 2), QString("ｱい")); // inside あ: next whole character
    QCOMPARE(cp932::midBytes(text, 6), QString());

    const QByteArray bytes = cp932::encodeLossy(text);
    QCOMPARE(cp932::safeCut(bytes, 2), 1);
    QCOMPARE(cp932::safeCut(bytes, 5), 4);
    QCOMPARE(cp932::leftBytes(bytes, 5), bytes.left(4));
    QCOMPARE(cp932::midBytes(bytes, 2), bytes.mid(3));
    QCOMPARE(cp932::safeCut(QByteArray("ab\x82"), 3), 3); // a lone lead byte at the end counts alone
}

QTEST_GUILESS_MAIN(Cp932Test)
#include "Cp932Test.moc"
