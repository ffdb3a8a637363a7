#include "evaluation/ClassResultFile.h"
#include "common/ByteRecords.h"
#include "common/FileSave.h"
#include "evaluation/EvaluationPaths.h"
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

void dates(ByteWriter &w, std::array<double, 5> values) {
    for (int k = 1; k <= 5; ++k) {
        w.writeInt32(k);
        w.writeDouble(values[k - 1]);
    }
    w.writeInt32(0);
}

// Results of class 3 with one entry in every section (and data of class 4 that its file must not hold).
EvaluationResults sample() {
    EvaluationResults r;
    r.at(2, 3, 60).evaluation = QStringLiteral("5");
    r.at(1, 3, 5).evaluation = QStringLiteral("Ａ");
    r.at(1, 3, 5).percentage = 72.5f;
    r.at(1, 3, 6).percentage = 0.0f;
    r.at(1, 3, 7).percentage = -0.5f; // above -1: written
    r.at(1, 3, 5).marks[1] = QStringLiteral("B");
    r.at(1, 3, 5).viewpointPercentages[5] = 80.25f;
    r.at(5, 3, 1).comment = QStringLiteral("よく頑張りました");
    r.at(1, 4, 1).evaluation = QStringLiteral("1");
    r.dateTime(1) = 45455.395833333336;
    r.dateTime(4) = 45000.0;
    return r;
}

QByteArray sampleBytes() {
    ByteWriter w;
    w.writeBytes(header());
    w.writeInt32(1), w.writeInt32(5), text(w, "\x82\x60"); // Ａ
    w.writeInt32(2), w.writeInt32(60), text(w, "5");
    w.writeInt32(0);
    w.writeInt32(1), w.writeInt32(5), w.writeSingle(72.5f);
    w.writeInt32(1), w.writeInt32(6), w.writeSingle(0.0f);
    w.writeInt32(1), w.writeInt32(7), w.writeSingle(-0.5f);
    w.writeInt32(0);
    w.writeInt32(1), w.writeInt32(5), w.writeInt32(2), text(w, "B"), w.writeInt32(0);
    w.writeInt32(1), w.writeInt32(5), w.writeInt32(6), w.writeSingle(80.25f), w.writeInt32(0);
    w.writeInt32(5), w.writeInt32(1);
    text(w, "\x82\xe6\x82\xad\x8a\xe6\x92\xa3\x82\xe8\x82\xdc\x82\xb5\x82\xbd"); // よく頑張りました
    w.writeInt32(0);
    dates(w, {45455.395833333336, 0, 0, 45000.0, 0});
    return w.bytes();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class ClassResultFileTest : public QObject {
    Q_OBJECT
private slots:
    void writesExactBytes();
    void roundTrip();
    void loadsGradeAndSavesChargeClasses();
    void stopsAtVersion600();
    void survivesDamage();
    void dayCounts();
    void pathsAndChargeClasses();
};

void ClassResultFileTest::writesExactBytes() {
    QByteArray bytes;
    QVERIFY(ClassResultFile::serialize(EvaluationResults(), 1, bytes));
    ByteWriter empty;
    empty.writeBytes(header());
    for (int s = 0; s < 5; ++s)
        empty.writeInt32(0);
    dates(empty, {0, 0, 0, 0, 0}); // always five date-times
    QCOMPARE(bytes, empty.bytes());

    QVERIFY(ClassResultFile::serialize(sample(), 3, bytes));
    QCOMPARE(bytes.toHex(' '), sampleBytes().toHex(' '));

    QString error;
    EvaluationResults r;
    r.at(2, 3, 4).marks[2] = QString::fromUtf8("😀");
    QVERIFY(!ClassResultFile::serialize(r, 3, bytes, &error));
    QVERIFY(error.contains(QStringLiteral("3組4番の観点3の評定 (評定2)")));
}

void ClassResultFileTest::roundTrip() {
    // Parsing replaces everything the class held and writes over unshared texts in place; a copy
    // that shares the texts keeps them.
    const EvaluationResults expected = sample();
    for (const bool keepCopy : {false, true}) {
        EvaluationResults r;
        r.at(1, 3, 9).comment = QStringLiteral("前の内容");
        r.at(5, 3, 1).comment = QStringLiteral("前のもっと長いコメントの内容です");
        r.at(1, 3, 5).marks[0] = QStringLiteral("C");
        r.at(2, 3, 60).percentage = 12.0f;
        r.at(1, 4, 2).evaluation = QStringLiteral("2");
        const EvaluationResults copy = keepCopy ? r : EvaluationResults();
        for (int round = 0; round < 2; ++round) {
            QVERIFY(ClassResultFile::parse(sampleBytes(), 3, r, true).isClean());
            for (int k = 1; k <= kPeriods; ++k)
                for (int n = 1; n <= kSeatsPerClass; ++n) {
                    const StudentResult &a = r.at(k, 3, n), &b = expected.at(k, 3, n);
                    QCOMPARE(a.evaluation, b.evaluation);
                    QCOMPARE(a.percentage, b.percentage);
                    QVERIFY(a.marks == b.marks);
                    QVERIFY(a.viewpointPercentages == b.viewpointPercentages);
                    QCOMPARE(a.comment, b.comment);
                }
            QCOMPARE(r.at(1, 4, 2).evaluation, QStringLiteral("2")); // other classes stay
            QVERIFY(r.dateTimes == expected.dateTimes);
        }
        if (keepCopy) {
            QCOMPARE(copy.at(5, 3, 1).comment, QStringLiteral("前のもっと長いコメントの内容です"));
            QCOMPARE(copy.at(1, 3, 5).marks[0], QStringLiteral("C"));
        }
    }

    EvaluationResults noDates;
    ClassResultFile::parse(sampleBytes(), 3, noDates, false);
    QCOMPARE(noDates.dateTime(1), 0.0);
    QCOMPARE(noDates.at(1, 3, 5).percentage, 72.5f);
}

void ClassResultFileTest::loadsGradeAndSavesChargeClasses() {
    QTemporaryDir tmp;
    const QString folder = tmp.path() + u'/';
    QDir().mkdir(tmp.filePath(QStringLiteral("2024")));
    EvaluationResults r = sample();
    r.at(1, 1, 1).evaluation = QStringLiteral("3");
    r.at(1, 10, 2).evaluation = QStringLiteral("4");
    QString error;
    QVERIFY2(ClassResultFile::saveClasses(folder, 2024, 1, QStringLiteral("国語"), {3, 1, 10}, r, &error),
             qPrintable(error));
    const QDir hyoutei(tmp.filePath(QStringLiteral("2024/Hyoutei")));
    QStringList files = hyoutei.entryList(QDir::Files);
    files.sort();
    QCOMPARE(files, QStringList({QStringLiteral("1010国語.dat"), QStringLiteral("101国語.dat"),
                                 QStringLiteral("103国語.dat")}));
    QByteArray bytes;
    QVERIFY(readWholeFile(hyoutei.filePath(QStringLiteral("103国語.dat")), bytes));
    QCOMPARE(bytes, sampleBytes());

    // Class 1 is read with other date-times; only the classes in charge give the date-times.
    EvaluationResults other;
    other.at(2, 1, 2).comment = QStringLiteral("一組");
    other.dateTime(1) = 1.0;
    QVERIFY(
        ClassResultFile::save(paths::classResultFile(folder, 2024, 1, 1, QStringLiteral("国語")), other, 1));
    test::ScriptedPrompter prompter;
    EvaluationResults loaded;
    loaded.at(3, 12, 1).comment = QStringLiteral("古い");
    auto outcome =
        ClassResultFile::loadGrade(folder, 2024, 1, QStringLiteral("国語"), 12, {3}, loaded, &prompter);
    QCOMPARE(outcome.classesRead, std::vector<int>({1, 3, 10}));
    QCOMPARE(outcome.refusedClass, 0);
    QVERIFY(outcome.damaged.isEmpty());
    QCOMPARE(loaded.at(2, 1, 2).comment, QStringLiteral("一組"));
    QCOMPARE(loaded.at(1, 3, 5).percentage, 72.5f);
    QCOMPARE(loaded.at(1, 10, 2).evaluation, QStringLiteral("4"));
    QVERIFY(loaded.at(3, 12, 1).comment.isEmpty());
    QVERIFY(loaded.dateTimes == sample().dateTimes);
    outcome = ClassResultFile::loadGrade(folder, 2024, 1, QStringLiteral("国語"), 3, {1}, loaded, &prompter);
    QCOMPARE(outcome.classesRead, std::vector<int>({1, 3}));
    QCOMPARE(loaded.dateTime(1), 1.0);
    QVERIFY(loaded.at(1, 10, 2).evaluation.isEmpty()); // beyond the class count
    QVERIFY(prompter.shown().isEmpty());
}

void ClassResultFileTest::stopsAtVersion600() {
    QTemporaryDir tmp;
    const QString folder = tmp.path() + u'/';
    QByteArray newer = sampleBytes();
    newer.replace(0, 12, header("612"));
    writeFile(paths::classResultFile(folder, 2024, 2, 1, QStringLiteral("数学")), sampleBytes());
    writeFile(paths::classResultFile(folder, 2024, 2, 2, QStringLiteral("数学")), newer);
    writeFile(paths::classResultFile(folder, 2024, 2, 3, QStringLiteral("数学")), sampleBytes());
    test::ScriptedPrompter prompter;
    EvaluationResults r;
    const auto outcome =
        ClassResultFile::loadGrade(folder, 2024, 2, QStringLiteral("数学"), 3, {1, 2, 3}, r, &prompter);
    QCOMPARE(outcome.refusedClass, 2);
    QCOMPARE(outcome.classesRead, std::vector<int>({1}));
    QCOMPARE(prompter.texts(),
             QStringList({QStringLiteral(
                 "ファイルの読み込みができません。\r\n最新版にバージョンアップしてください。")}));
    QCOMPARE(prompter.shown()[0].caption, QStringLiteral("TAVRO"));
    QCOMPARE(r.at(1, 1, 5).percentage, 72.5f);
    QCOMPARE(r.at(1, 2, 5).percentage, kNoPercentage);
    QCOMPARE(r.at(1, 3, 5).percentage, kNoPercentage);
}

void ClassResultFileTest::survivesDamage() {
    const QByteArray full = sampleBytes();
    for (int size = 0; size < full.size(); ++size) {
        EvaluationResults r;
        QVERIFY(ClassResultFile::parse(full.left(size), 3, r, true).truncated);
    }
    ByteWriter w;
    w.writeBytes(header());
    w.writeInt32(6), w.writeInt32(1), text(w, "x");  // period 6
    w.writeInt32(1), w.writeInt32(61), text(w, "y"); // number 61
    w.writeInt32(1), w.writeInt32(60), text(w, "z");
    w.writeInt32(0);
    w.writeInt32(1), w.writeInt32(1), w.writeSingle(std::numeric_limits<float>::quiet_NaN());
    w.writeInt32(0);
    w.writeInt32(1), w.writeInt32(1), w.writeInt32(7), text(w, "A"); // viewpoint 7
    w.writeInt32(0);
    w.writeInt32(0);
    w.writeInt32(1), w.writeInt32(2), w.writeInt32(300); // comment too long: stop
    EvaluationResults r;
    ReadReport report = ClassResultFile::parse(w.bytes(), 3, r, true);
    QCOMPARE(report.skippedEntries, 3);
    QCOMPARE(report.badValues, 1);
    QVERIFY(report.badText);
    QCOMPARE(r.at(1, 3, 60).evaluation, QStringLiteral("z"));
    QVERIFY(r.at(1, 3, 2).comment.isEmpty());
    QCOMPARE(report.problems().size(), 3);
}

void ClassResultFileTest::dayCounts() {
    const QDateTime t(QDate(2024, 6, 10), QTime(9, 30));
    QCOMPARE(toDayCount(t), 45453.0 + 9.5 / 24.0);
    QCOMPARE(fromDayCount(toDayCount(t)), t);
    QCOMPARE(toDayCount(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    QCOMPARE(fromDayCount(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    QVERIFY(!fromDayCount(0).isValid());
    QVERIFY(!fromDayCount(std::numeric_limits<double>::infinity()).isValid());
    QCOMPARE(toDayCount(QDateTime()), 0.0);
}

void ClassResultFileTest::pathsAndChargeClasses() {
    const QString d = QStringLiteral("/d/");
    QCOMPARE(paths::worksheetFile(d, QStringLiteral("山田"), 2024, 1, QStringLiteral("国語")),
             QStringLiteral("/d/山田/20241国語.dat"));
    QCOMPARE(paths::classResultFile(d, 2024, 1, 3, QStringLiteral("国語")),
             QStringLiteral("/d/2024/Hyoutei/103国語.dat"));
    QCOMPARE(paths::classResultFile(d, 2024, 2, 12, QStringLiteral("数学")),
             QStringLiteral("/d/2024/Hyoutei/2012数学.dat"));
    QCOMPARE(paths::electiveResultFile(d, 2024, 3, QStringLiteral("選択英語A")),
             QStringLiteral("/d/2024/Sentaku/3選択英語A.dat"));
    // One character per class; classes 10..12 follow "9" in code order.
    QCOMPARE(chargeClassNumbers(QStringLiteral("312")), std::vector<int>({3, 1, 2}));
    QCOMPARE(chargeClassNumbers(QStringLiteral("9:;<=0a3")), std::vector<int>({9, 10, 11, 12, 3}));
    QCOMPARE(chargeClassNumbers(QStringLiteral("11")), std::vector<int>({1}));
    QCOMPARE(chargeClassesText({1, 10, 12, 13}), QStringLiteral("1:<"));
}

QTEST_GUILESS_MAIN(ClassResultFileTest)
#include "ClassResultFileTest.moc"
