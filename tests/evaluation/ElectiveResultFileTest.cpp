#include "evaluation/ElectiveResultFile.h"
#include "common/ByteRecords.h"
#include "common/FileSave.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

namespace {

QByteArray header(const char *version = "500") {
    return QByteArray("TAVRO_") + version + QByteArray("\r\n", 2) + '\0';
}

// A record written by hand: the short strings padded with zeros.
QByteArray record(float percentage, const QByteArray &evaluation, std::array<float, 6> vp,
                  std::array<QByteArray, 6> marks) {
    ByteWriter w;
    w.writeInt32(0);
    w.writeSingle(percentage);
    w.writeUInt8(std::uint8_t(evaluation.size()));
    w.writeFixed(evaluation, 7);
    for (float p : vp)
        w.writeSingle(p);
    for (const QByteArray &m : marks) {
        w.writeUInt8(std::uint8_t(m.size()));
        w.writeFixed(m, 5);
    }
    return w.bytes();
}

const std::array<float, 6> kNone{-1, -1, -1, -1, -1, -1};

EvaluationResults sample() {
    EvaluationResults r;
    StudentResult &a = r.at(2, 2, 5);
    a.percentage = 64.5f;
    a.evaluation = QStringLiteral("Ａ12"); // 4 bytes
    a.viewpointPercentages = {90, -1, 55.5f, -1, -1, 0};
    a.marks = {QStringLiteral("A"), QString(), QStringLiteral("ＡＢＣ"),
               QString(),           QString(), QStringLiteral("C")};
    r.at(1, 1, 3).evaluation = QStringLiteral("ABCDEFG"); // cut to 5 bytes
    r.at(1, 1, 3).marks[0] = QStringLiteral("AＢCD");     // 5 bytes; "AＢCDE" would be 6
    r.at(3, 12, 60).comment = QStringLiteral("欠席が多い");
    r.at(1, 2, 1).comment = QStringLiteral("c");
    r.at(4, 1, 1).comment = QStringLiteral("not a member"); // comments are written for every seat
    r.dateTime(2) = 45500.25;
    return r;
}

QByteArray sampleBytes() {
    ByteWriter w;
    w.writeBytes(header());
    const std::vector<int> members{slotOf(2, 5), slotOf(1, 3)};
    for (int slot : members)
        for (int k = 1; k <= 5; ++k) {
            w.writeInt32(k), w.writeInt32(classOfSlot(slot)), w.writeInt32(numberOfSlot(slot));
            if (slot == slotOf(2, 5) && k == 2)
                w.writeBytes(record(64.5f, "\x82\x60\x31\x32", {90, -1, 55.5f, -1, -1, 0},
                                    {"A", "", "\x82\x60\x82\x61", "", "", "C"}));
            else if (slot == slotOf(1, 3) && k == 1)
                w.writeBytes(record(-1, "ABCDE", kNone, {"A\x82\x61\x43\x44", "", "", "", "", ""}));
            else
                w.writeBytes(record(-1, "", kNone, {}));
        }
    w.writeInt32(0);
    w.writeInt32(4), w.writeInt32(1), w.writeInt32(1), w.writeInt32(13), w.writeBytes("not a member"),
        w.writeUInt8(0);
    w.writeInt32(1), w.writeInt32(2), w.writeInt32(1), w.writeInt32(2), w.writeBytes("c"), w.writeUInt8(0);
    w.writeInt32(3), w.writeInt32(12), w.writeInt32(60), w.writeInt32(11);
    w.writeBytes("\x8c\x87\x90\xc8\x82\xaa\x91\xbd\x82\xa2"), w.writeUInt8(0);
    w.writeInt32(0);
    for (int k = 1; k <= 5; ++k)
        w.writeInt32(k), w.writeDouble(k == 2 ? 45500.25 : 0.0);
    w.writeInt32(0);
    return w.bytes();
}

} // namespace

class ElectiveResultFileTest : public QObject {
    Q_OBJECT
private slots:
    void writesExactBytes();
    void roundTripAndSave();
    void readsDamagedRecords();
};

void ElectiveResultFileTest::writesExactBytes() {
    QByteArray bytes;
    QVERIFY(ElectiveResultFile::serialize(sample(), {slotOf(2, 5), slotOf(1, 3)}, bytes));
    QCOMPARE(bytes.toHex(' '), sampleBytes().toHex(' '));
    QCOMPARE(record(0, "", kNone, {}).size(), SentakuRecord::kSize);

    QString error;
    QVERIFY(!ElectiveResultFile::serialize(sample(), {720}, bytes, &error));
    QVERIFY(!error.isEmpty());
    EvaluationResults bad;
    bad.at(1, 1, 1).comment = QString::fromUtf8("😀");
    QVERIFY(!ElectiveResultFile::serialize(bad, {}, bytes, &error));
    QVERIFY(error.contains(QStringLiteral("1組1番 (評定1)のコメント")));
}

void ElectiveResultFileTest::roundTripAndSave() {
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("2024")));
    const QString path = tmp.filePath(QStringLiteral("2024/Sentaku/1選択英語.dat"));
    QString error;
    const std::vector<int> members{slotOf(2, 5), slotOf(1, 3)};
    QVERIFY2(ElectiveResultFile::save(path, sample(), members, &error), qPrintable(error));
    QVERIFY(ElectiveResultFile::save(path, EvaluationResults(), members, &error));
    QByteArray bak;
    QVERIFY(readWholeFile(tmp.filePath(QStringLiteral("2024/Sentaku/1選択英語.bak")), bak));
    QCOMPARE(bak, sampleBytes());

    test::ScriptedPrompter prompter;
    EvaluationResults r;
    const ReadReport report =
        ElectiveResultFile::load(tmp.filePath(QStringLiteral("2024/Sentaku/1選択英語.bak")), r, &prompter);
    QVERIFY(report.found && report.isClean());
    QCOMPARE(r.at(2, 2, 5).evaluation, QStringLiteral("Ａ12"));
    QCOMPARE(r.at(2, 2, 5).marks[2], QStringLiteral("ＡＢ"));
    QCOMPARE(r.at(1, 1, 3).evaluation, QStringLiteral("ABCDE"));
    QCOMPARE(r.at(2, 2, 5).viewpointPercentages[2], 55.5f);
    QCOMPARE(r.at(3, 12, 60).comment, QStringLiteral("欠席が多い"));
    QCOMPARE(r.dateTime(2), 45500.25);
    QByteArray again;
    QVERIFY(ElectiveResultFile::serialize(r, members, again));
    QCOMPARE(again, sampleBytes());

    QByteArray newer = sampleBytes();
    newer.replace(0, 12, header("600"));
    EvaluationResults refused;
    QVERIFY(ElectiveResultFile::parse(newer, refused).tooNew);
    QVERIFY(refused.at(2, 2, 5).isEmpty());
}

void ElectiveResultFileTest::readsDamagedRecords() {
    const QByteArray full = sampleBytes();
    for (int size = 0; size < full.size(); ++size) {
        EvaluationResults r;
        QVERIFY(ElectiveResultFile::parse(full.left(size), r).truncated);
    }
    // Length bytes beyond their fields are limited, and never end inside a double-byte character.
    QByteArray rec = record(50, "1234567", kNone, {"\x82\x60\x82\x61\x82", "", "", "", "", ""});
    rec[8] = char(200);
    rec[40] = char(5);
    int bad = 0;
    const SentakuRecord r = SentakuRecord::read(rec.constData(), &bad);
    QCOMPARE(bad, 1);
    QCOMPARE(r.evaluation, QByteArray("1234567"));
    QCOMPARE(r.marks[0], QByteArray("\x82\x60\x82\x61"));

    ByteWriter w;
    w.writeBytes(header());
    w.writeInt32(1), w.writeInt32(13), w.writeInt32(1), w.writeBytes(record(1, "5", kNone, {})); // class 13
    w.writeInt32(6), w.writeInt32(1), w.writeInt32(1), w.writeBytes(record(1, "5", kNone, {}));  // period 6
    w.writeInt32(1), w.writeInt32(1), w.writeInt32(1), w.writeBytes(record(1, "5", kNone, {}));
    w.writeInt32(0), w.writeInt32(0);
    w.writeInt32(9), w.writeDouble(1.0); // period 9
    w.writeInt32(0);
    EvaluationResults results;
    const ReadReport report = ElectiveResultFile::parse(w.bytes(), results);
    QCOMPARE(report.skippedEntries, 3);
    QVERIFY(!report.truncated);
    QCOMPARE(results.at(1, 1, 1).evaluation, QStringLiteral("5"));
    QCOMPARE(results.at(1, 1, 1).percentage, 1.0f);
}

QTEST_GUILESS_MAIN(ElectiveResultFileTest)
#include "ElectiveResultFileTest.moc"
