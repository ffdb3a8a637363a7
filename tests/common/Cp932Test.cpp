#include "common/Cp932.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
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
    void decodeMatchesConverter();
    void encodeMatchesConverter();
};

namespace {

// The decoding through the converter itself, run by run: ASCII one to one, runs of half-width
// katakana and whole double-byte characters through "windows-31j" (its U+001A for an unmapped
// sequence as U+FFFD), any other byte U+FFFD.
QString converterDecode(const QByteArray &bytes) {
    static QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    auto lead = [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
    auto trail = [](unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); };
    QString out;
    QByteArray run;
    auto flush = [&] {
        if (!run.isEmpty())
            out += QString(decoder.decode(run)).replace(QChar(0x1A), QChar::ReplacementCharacter);
        run.clear();
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            flush();
            out += QChar(b);
        } else if (b >= 0xA1 && b <= 0xDF) {
            run += char(b);
        } else if (lead(b) && i + 1 < bytes.size() && trail(static_cast<unsigned char>(bytes[i + 1]))) {
            run += bytes.mid(i, 2);
            ++i;
        } else {
            flush();
            out += QChar::ReplacementCharacter;
        }
    }
    flush();
    return out;
}

} // namespace

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

// The tables are generated from the "windows-31j" converter; where a converter exists (Qt with
// ICU, as on Linux) they are checked against it.
bool haveConverter() {
    return QStringDecoder("windows-31j").isValid();
}

void Cp932Test::decodeMatchesConverter() {
    if (!haveConverter())
        QSKIP("no windows-31j converter in this Qt");
    // Every sequence of one and two bytes.
    for (int a = 0; a < 256; ++a) {
        const QByteArray one(1, char(a));
        QCOMPARE(cp932::decode(one), converterDecode(one));
        for (int b = 0; b < 256; ++b) {
            const char pair[2] = {char(a), char(b)};
            const QByteArray two(pair, 2);
            if (cp932::decode(two) != converterDecode(two))
                QFAIL(qPrintable(QStringLiteral("bytes %1").arg(QString::fromLatin1(two.toHex()))));
        }
    }
    // Longer texts mixing ASCII, kana, double-byte characters, unmapped pairs and stray bytes.
    QRandomGenerator random(932);
    const QByteArray pieces[] = {"a",        "\x20",     "\x1a",     "\xb1",     "\xdf",     "\x82\xa0",
                                 "\x88\x9f", "\x87\x40", "\xfa\x5c", "\xed\x40", "\x85\x40", "\xeb\xa0",
                                 "\x81",     "\x80",     "\xfd",     "\xa0",     "\x82\x7f", "\xfc\xfc"};
    // decodeInto() writes over the previous text's buffer, except while a copy shares it.
    QString reused;
    for (int n = 0; n < 20000; ++n) {
        QByteArray text;
        const int count = random.bounded(1, 24);
        for (int k = 0; k < count; ++k)
            text += pieces[random.bounded(int(std::size(pieces)))];
        const QString expected = converterDecode(text);
        QString copy, deepCopy;
        if (n % 3 == 0) {
            copy = reused;
            deepCopy = QString(reused.constData(), reused.size());
        }
        cp932::decodeInto(reused, text.constData(), text.size());
        if (cp932::decode(text) != expected || reused != expected || copy != deepCopy)
            QFAIL(qPrintable(QStringLiteral("bytes %1").arg(QString::fromLatin1(text.toHex()))));
    }
}

void Cp932Test::encodeMatchesConverter() {
    if (!haveConverter())
        QSKIP("no windows-31j converter in this Qt");
    // Every code point but the surrogates, each alone; a fresh converter drops a leading U+FEFF,
    // which the table refuses.
    for (char32_t u = 0x80; u < 0x110000; ++u) {
        if (u >= 0xD800 && u < 0xE000)
            continue;
        // (QString::fromUcs4 would drop a leading U+FEFF.)
        QString text;
        if (QChar::requiresSurrogates(u))
            text = QString(QChar(QChar::highSurrogate(u))) + QChar(QChar::lowSurrogate(u));
        else
            text = QChar(char16_t(u));
        text += QLatin1Char('a');
        QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
        const QByteArray expected = encoder.encode(text);
        const bool expectedOk = !encoder.hasError() && u != 0xFEFF;
        QByteArray out;
        const bool ok = cp932::encode(text, out);
        if (ok != expectedOk || (ok && out != expected) || (!ok && out != "?a") ||
            cp932::byteLength(text) != out.size())
            QFAIL(qPrintable(QStringLiteral("U+%1").arg(uint(u), 4, 16, QLatin1Char('0'))));
    }
    // A lone surrogate is one refused character, a pair outside the BMP another.
    const QString text = QString(QChar(0xDC00)) + QLatin1Char('b') + QString::fromUtf8("😀") + QChar(0xD800);
    QByteArray out;
    QVERIFY(!cp932::encode(text, out));
    QCOMPARE(out, QByteArray("?b??"));
    QCOMPARE(cp932::byteLength(text), 4);
}

QTEST_GUILESS_MAIN(Cp932Test)
#include "Cp932Test.moc"
