#include "common/Width.h"

#include <QTest>

using namespace tavro;

class WidthTest : public QObject {
    Q_OBJECT
private slots:
    void fullAndHalf_data();
    void fullAndHalf();
    void markThatCannotJoin();
    void wholeHalfKanaBlock();
    void katakanaToHiragana();
};

void WidthTest::fullAndHalf_data() {
    QTest::addColumn<QString>("half");
    QTest::addColumn<QString>("full");
    QTest::newRow("ascii") << QString("A1 z~") << QString("Ａ１　ｚ～");
    QTest::newRow("voiced") << QString("ｶﾞｷﾞｿﾞﾄﾞﾎﾞ") << QString("ガギゾドボ");
    QTest::newRow("semi-voiced") << QString("ﾊﾟﾋﾟﾎﾟ") << QString("パピポ");
    QTest::newRow("vu") << QString("ｳﾞｧ") << QString("ヴァ");
    QTest::newRow("punctuation, long mark") << QString("｡｢ｺｰﾋｰ｣､･") << QString("。「コーヒー」、・");
    QTest::newRow("small kana") << QString("ｧｨｩｪｫｬｭｮｯｦﾝ") << QString("ァィゥェォャュョッヲン");
    QTest::newRow("kanji kept") << QString("山田") << QString("山田");
}

void WidthTest::fullAndHalf() {
    QFETCH(QString, half);
    QFETCH(QString, full);
    QCOMPARE(width::toFullWidth(half), full);
    QCOMPARE(width::toHalfWidth(full), half);
}

void WidthTest::markThatCannotJoin() {
    QCOMPARE(width::toFullWidth("ｱﾞﾏﾟﾞ"), QString("ア゛マ゜゛"));
    QCOMPARE(width::toFullWidth("ﾞｶ"), QString("゛カ"));
    QCOMPARE(width::halfKanaToFullWidth("ﾊﾟ A"), QString("パ A")); // ASCII untouched
}

void WidthTest::wholeHalfKanaBlock() {
    // Every half-width character maps to a full-width one that maps back.
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) {
        const QString half(QChar{c});
        const QString full = width::toFullWidth(half);
        QCOMPARE(full.size(), 1);
        QVERIFY2(full.at(0).unicode() < 0xFF00, qPrintable(half));
        QCOMPARE(width::toHalfWidth(full), half);
    }
}

void WidthTest::katakanaToHiragana() {
    QCOMPARE(width::katakanaToHiragana("ヤマダ タロウ ァヴヶー山"), QString("やまだ たろう ぁゔゖー山"));
}

QTEST_GUILESS_MAIN(WidthTest)
#include "WidthTest.moc"
