#include "evaluation/WorksheetFile.h"
#include "common/ByteRecords.h"
#include "common/Cp932.h"
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

void text(ByteWriter &w, const QByteArray &bytes) {
    w.writeInt32(std::int32_t(bytes.size() + 1));
    w.writeBytes(bytes);
    w.writeUInt8(0);
}

QByteArray contents(const QString &path) {
    QByteArray bytes;
    readWholeFile(path, bytes);
    return bytes;
}

// A worksheet with one entry in every section, and its bytes built by hand.
Worksheet sample() {
    Worksheet w;
    w.item(5).name = QStringLiteral("小テスト");
    w.item(2).name = QStringLiteral("国語");
    w.item(2).kind = itemkind::kRegular;
    w.item(2).formula = QStringLiteral("K");
    w.item(3).kind = itemkind::kPeriodicTest;
    w.item(3).link = 110;
    w.item(3).protection = 1;
    w.item(4).kind = itemkind::kAggregate;
    w.item(4).formula = QStringLiteral("=[2]*2+[3]");
    w.item(2).fullScore = 5;
    w.item(4).fullScore = 0; // not written
    w.itemRatio(3, 2, 1) = 40;
    w.itemRatio(2, 1, 6) = 60;
    w.viewpointRatio(5, 6) = 25;
    w.viewpointRatio(1, 1) = 50;
    w.score(3, 12, 60) = score::estimate(0);
    w.score(2, 1, 1) = 0;
    w.score(2, 1, 2) = score::kNotSubmitted;
    return w;
}

QByteArray sampleBytes() {
    ByteWriter w;
    w.writeBytes(header());
    w.writeInt32(2), text(w, QByteArray("\x8d\x91\x8c\xea"));                 // 国語
    w.writeInt32(5), text(w, QByteArray("\x8f\xac\x83\x65\x83\x58\x83\x67")); // 小テスト
    w.writeInt32(0);
    w.writeInt32(2), w.writeInt32(1), w.writeInt32(3), w.writeInt32(2), w.writeInt32(4), w.writeInt32(3);
    w.writeInt32(0);
    w.writeInt32(3), w.writeInt32(110), w.writeInt32(0);
    w.writeInt32(2), text(w, "K"), w.writeInt32(4), text(w, "=[2]*2+[3]"), w.writeInt32(0);
    w.writeInt32(3), w.writeUInt8(1), w.writeInt32(0);
    w.writeInt32(2), w.writeInt32(5), w.writeInt32(0);
    for (int v : {2, 1, 6, 60, 3, 2, 1, 40, 0})
        w.writeInt32(v);
    for (int v : {1, 1, 50, 5, 6, 25, 0})
        w.writeInt32(v);
    for (int v : {2, 1, 1, 0, 2, 1, 2, -4, 3, 12, 60, -1000, 0})
        w.writeInt32(v);
    return w.bytes();
}

} // namespace

class WorksheetFileTest : public QObject {
    Q_OBJECT
private slots:
    void writesExactBytes();
    void roundTrip();
    void textsLimitedTo255Bytes();
    void savesWithOneBackup();
    void failedSaveKeepsOldFile();
    void refusesVersion600();
    void survivesTruncationAndBadKeys();
    void scoreRangeByKind();
};

void WorksheetFileTest::writesExactBytes() {
    QByteArray bytes;
    QVERIFY(WorksheetFile::serialize(Worksheet(), bytes));
    QCOMPARE(bytes.size(), 48);
    QCOMPARE(bytes, header() + QByteArray(36, '\0'));

    QVERIFY(WorksheetFile::serialize(sample(), bytes));
    QCOMPARE(bytes.toHex(' '), sampleBytes().toHex(' '));
}

void WorksheetFileTest::roundTrip() {
    Worksheet w;
    const ReadReport report = WorksheetFile::parse(sampleBytes(), w);
    QVERIFY2(report.isClean(), qPrintable(report.problems().join(',')));
    QCOMPARE(report.version, 500);
    const Worksheet expected = sample();
    for (int i = 1; i <= kMaxItems; ++i) {
        QCOMPARE(w.item(i).name, expected.item(i).name);
        QCOMPARE(w.item(i).kind, expected.item(i).kind);
        QCOMPARE(w.item(i).link, expected.item(i).link);
        QCOMPARE(w.item(i).formula, expected.item(i).formula);
        QCOMPARE(w.item(i).protection, expected.item(i).protection);
        QCOMPARE(w.item(i).fullScore, expected.item(i).fullScore);
    }
    QVERIFY(w.scores == expected.scores);
    QVERIFY(w.itemRatios == expected.itemRatios);
    QVERIFY(w.viewpointRatios == expected.viewpointRatios);
    // Symbol input: kind 1 with formula "K" only.
    QVERIFY(w.item(2).symbolInput);
    QVERIFY(!w.item(4).symbolInput);

    QByteArray again;
    QVERIFY(WorksheetFile::serialize(w, again));
    QCOMPARE(again, sampleBytes());

    w.item(4).formula = QStringLiteral("K"); // an aggregate item is never a symbol item
    w.updateSymbolFlags();
    QVERIFY(!w.item(4).symbolInput);
}

void WorksheetFileTest::textsLimitedTo255Bytes() {
    Worksheet w;
    w.item(1).name = QString(127, QChar(u'語')) + u'x'; // 255 bytes: kept whole
    w.item(2).name = QString(128, QChar(u'語'));        // 256 bytes: cut to 127 characters
    w.item(3).formula = u'x' + QString(128, QChar(u'語'));
    QByteArray bytes;
    QVERIFY(WorksheetFile::serialize(w, bytes));
    Worksheet back;
    QVERIFY(WorksheetFile::parse(bytes, back).isClean());
    QCOMPARE(back.item(1).name, w.item(1).name);
    QCOMPARE(back.item(2).name, QString(127, QChar(u'語')));
    QCOMPARE(back.item(3).formula, u'x' + QString(127, QChar(u'語')));
    QCOMPARE(cp932::byteLength(back.item(3).formula), 255);

    w.item(7).name = QString::fromUtf8("テスト😀");
    QString error;
    QVERIFY(!WorksheetFile::serialize(w, bytes, &error));
    QVERIFY(error.contains(QStringLiteral("項目7の項目名")));
    QVERIFY(error.contains(QString::fromUtf8("😀")));
    // The converter is usable again after the refusal.
    w.item(7).name = QStringLiteral("テスト");
    QVERIFY(WorksheetFile::serialize(w, bytes));
    QVERIFY(bytes.contains(QByteArray("\x83\x65\x83\x58\x83\x67")));
}

void WorksheetFileTest::savesWithOneBackup() {
    QTemporaryDir tmp;
    // The teacher's folder is created one level; the parent must exist.
    const QString path = tmp.filePath(QStringLiteral("山田/20241国語.dat"));
    Worksheet first = sample();
    QString error;
    QVERIFY2(WorksheetFile::save(path, first, &error), qPrintable(error));
    Worksheet second = first;
    second.score(1, 1, 1) = 77;
    QVERIFY(WorksheetFile::save(path, second, &error));

    QByteArray firstBytes, secondBytes;
    QVERIFY(WorksheetFile::serialize(first, firstBytes));
    QVERIFY(WorksheetFile::serialize(second, secondBytes));
    QCOMPARE(contents(path), secondBytes);
    QCOMPARE(contents(tmp.filePath(QStringLiteral("山田/20241国語.bak"))), firstBytes);
    QCOMPARE(QDir(tmp.filePath(QStringLiteral("山田"))).entryList(QDir::Files).size(), 2);

    test::ScriptedPrompter prompter;
    Worksheet loaded;
    loaded.score(9, 9, 9) = 5; // load starts from defaults
    const ReadReport report = WorksheetFile::load(path, loaded, &prompter);
    QVERIFY(report.found && report.isClean());
    QVERIFY(loaded.scores == second.scores);
    QVERIFY(prompter.shown().isEmpty());

    // A missing file reads as defaults; a missing parent is not created.
    QVERIFY(!WorksheetFile::load(tmp.filePath(QStringLiteral("山田/x.dat")), loaded, &prompter).found);
    QVERIFY(loaded.scores == Worksheet().scores);
    QVERIFY(!WorksheetFile::save(tmp.filePath(QStringLiteral("a/b/c.dat")), first, &error));
}

void WorksheetFileTest::failedSaveKeepsOldFile() {
    QTemporaryDir tmp;
    // The temporary file cannot be created: its name is too long for the file system.
    const QString path = tmp.filePath(QString(240, u'w') + QStringLiteral(".dat"));
    QByteArray old;
    QVERIFY(WorksheetFile::serialize(sample(), old));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(old), old.size());
    }
    Worksheet changed = sample();
    changed.score(1, 2, 3) = 9;
    QString error;
    QVERIFY(!WorksheetFile::save(path, changed, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(contents(path), old);
    QVERIFY(!QFile::exists(backupPathFor(path)));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files).size(), 1);

    // A text that cannot be stored: nothing is touched.
    changed.item(1).name = QString::fromUtf8("😀");
    QVERIFY(!WorksheetFile::save(path, changed, &error));
    QCOMPARE(contents(path), old);
    QVERIFY(!QFile::exists(backupPathFor(path)));

    // The folder path is a file.
    QFile blocker(tmp.filePath(QStringLiteral("teacher")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!WorksheetFile::save(tmp.filePath(QStringLiteral("teacher/w.dat")), sample(), &error));
    QVERIFY(error.startsWith(QStringLiteral("ファイルを保存できませんでした。")));
}

void WorksheetFileTest::refusesVersion600() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("w.dat"));
    QByteArray bytes = sampleBytes();
    bytes.replace(0, 12, header("600"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    test::ScriptedPrompter prompter;
    Worksheet w;
    ReadReport report = WorksheetFile::load(path, w, &prompter);
    QVERIFY(report.tooNew);
    QCOMPARE(report.version, 600);
    QVERIFY(w.scores == Worksheet().scores);
    QVERIFY(w.item(2).name.isEmpty());
    QCOMPARE(prompter.shown().size(), 1);
    QCOMPARE(prompter.shown()[0].caption, QStringLiteral("TAVRO"));
    QCOMPARE(prompter.shown()[0].text,
             QStringLiteral("ファイルの読み込みができません。\r\n最新版にバージョンアップしてください。"));
    QCOMPARE(prompter.shown()[0].buttons, Prompter::Buttons::Ok);
    QCOMPARE(contents(path), bytes); // left as it was

    // 599 and a header without digits are read (the latter flagged).
    bytes.replace(0, 12, header("599"));
    report = WorksheetFile::parse(bytes, w);
    QVERIFY(!report.tooNew && report.badHeader);
    QCOMPARE(w.item(2).name, QStringLiteral("国語"));
    bytes.replace(0, 12, header("5x0"));
    report = WorksheetFile::parse(bytes, w);
    QCOMPARE(report.version, 0);
    QVERIFY(!report.tooNew && report.badHeader);
}

void WorksheetFileTest::survivesTruncationAndBadKeys() {
    const QByteArray full = sampleBytes();
    for (int size = 0; size < full.size(); ++size) {
        Worksheet w;
        const ReadReport report = WorksheetFile::parse(full.left(size), w);
        QVERIFY2(report.truncated, qPrintable(QString::number(size)));
        QVERIFY(!report.tooNew);
    }
    // Cut inside the last score entry: everything before it was read.
    Worksheet w;
    QVERIFY(WorksheetFile::parse(full.left(full.size() - 6), w).truncated);
    QCOMPARE(w.score(2, 1, 2), score::kNotSubmitted);
    QCOMPARE(w.score(3, 12, 60), score::kEmpty);
    QCOMPARE(w.item(4).formula, QStringLiteral("=[2]*2+[3]"));

    // Keys out of range are skipped, the rest is read.
    ByteWriter b;
    b.writeBytes(header());
    b.writeInt32(1000), text(b, "bad"), b.writeInt32(-1), text(b, "neg"), b.writeInt32(1), text(b, "ok");
    b.writeInt32(0);
    for (int s = 0; s < 5; ++s)
        b.writeInt32(0);
    b.writeInt32(1), b.writeInt32(6), b.writeInt32(1), b.writeInt32(5); // period 6
    b.writeInt32(1), b.writeInt32(5), b.writeInt32(7), b.writeInt32(5); // viewpoint 7
    b.writeInt32(1), b.writeInt32(5), b.writeInt32(6), b.writeInt32(5);
    b.writeInt32(0);
    b.writeInt32(0);                                                         // no viewpoint ratios
    b.writeInt32(1), b.writeInt32(13), b.writeInt32(1), b.writeInt32(50);    // class 13
    b.writeInt32(1), b.writeInt32(1), b.writeInt32(61), b.writeInt32(50);    // number 61
    b.writeInt32(1), b.writeInt32(12), b.writeInt32(60), b.writeInt32(5000); // bad value, kept
    b.writeInt32(0);
    b.writeInt32(1), b.writeInt32(1); // after the last section
    w.reset();
    ReadReport report = WorksheetFile::parse(b.bytes(), w);
    QCOMPARE(report.skippedEntries, 6);
    QCOMPARE(report.badValues, 1);
    QVERIFY(!report.truncated);
    QCOMPARE(report.extraBytes, 8);
    QCOMPARE(w.item(1).name, QStringLiteral("ok"));
    QCOMPARE(w.itemRatio(1, 5, 6), 5);
    QCOMPARE(w.score(1, 12, 60), 5000);
    QCOMPARE(std::count(w.scores.begin(), w.scores.end(), score::kEmpty),
             qsizetype(Worksheet::kScoreCount - 1));

    // A text length above 256 or past the end stops the reading; 256 itself is read.
    for (int stored : {257, 0, -5, 1 << 30}) {
        ByteWriter t;
        t.writeBytes(header());
        t.writeInt32(1), text(t, "first");
        t.writeInt32(2), t.writeInt32(stored), t.writeBytes(QByteArray(300, 'a'));
        w.reset();
        report = WorksheetFile::parse(t.bytes(), w);
        QVERIFY(report.badText);
        QCOMPARE(w.item(1).name, QStringLiteral("first"));
        QVERIFY(w.item(2).name.isEmpty());
    }
    ByteWriter t;
    t.writeBytes(header());
    t.writeInt32(1), t.writeInt32(256), t.writeBytes(QByteArray(255, 'a')), t.writeUInt8(0);
    t.writeInt32(2), t.writeInt32(100), t.writeBytes("short");
    w.reset();
    report = WorksheetFile::parse(t.bytes(), w);
    QVERIFY(report.truncated && !report.badText);
    QCOMPARE(w.item(1).name, QString(255, u'a'));
}

// Entered and imported scores are 0..999 (estimates too); an aggregate item holds whatever its formula
// gives, as a sum of many tests passes 999. Only the values outside an item's range count as bad.
void WorksheetFileTest::scoreRangeByKind() {
    struct Row {
        int kind, code;
        bool valid;
    };
    const Row rows[] = {
        {itemkind::kRegular, 999, true},
        {itemkind::kRegular, 1000, false},
        {itemkind::kRegular, score::estimate(999), true},
        {itemkind::kRegular, score::estimate(1000), false},
        {itemkind::kRegular, -5, false},
        {itemkind::kPeriodicTest, 1200, false},
        {itemkind::kNone, 5000, false},
        {itemkind::kAggregate, 1200, true},
        {itemkind::kAggregate, score::kMaxAggregate, true},
        {itemkind::kAggregate, score::estimate(1500), true},
        {itemkind::kAggregate, score::kNotSubmitted, true},
        {itemkind::kAggregate, -5, false},
        {itemkind::kAggregate, -999, false},
    };
    for (const Row &row : rows) {
        Worksheet w;
        w.item(7).kind = row.kind;
        w.item(7).formula = row.kind == itemkind::kAggregate ? QStringLiteral("1,2,3") : QString();
        w.score(7, 2, 31) = row.code;
        QByteArray bytes;
        QVERIFY(WorksheetFile::serialize(w, bytes));
        Worksheet read;
        const ReadReport report = WorksheetFile::parse(bytes, read);
        const QByteArray what = QByteArray::number(row.kind) + " " + QByteArray::number(row.code);
        QVERIFY2(report.badValues == (row.valid ? 0 : 1), what.constData());
        QVERIFY2(read.score(7, 2, 31) == row.code, what.constData()); // kept either way
    }
}

QTEST_GUILESS_MAIN(WorksheetFileTest)
#include "WorksheetFileTest.moc"
