#include "testscores/TestScoreFile.h"
#include "common/ByteRecords.h"
#include "common/FileSave.h"
#include "testscores/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class TestScoreFileTest : public QObject {
    Q_OBJECT
private slots:
    void paths();
    void classScoresExactBytes();
    void fullScores();
    void missingAndShortFiles();
};

void TestScoreFileTest::paths() {
    QCOMPARE(
        paths::fullScoreFile(QStringLiteral("/d/"), 2024, QStringLiteral("A"), 1, QStringLiteral("国語")),
        QStringLiteral("/d/2024/Test/A100国語.def"));
    QCOMPARE(paths::classScoreFile(QStringLiteral("/d/"), 2024, QStringLiteral("3"), 2, 11,
                                   QStringLiteral("数学")),
             QStringLiteral("/d/2024/Test/32011数学.dat"));
}

void TestScoreFileTest::classScoresExactBytes() {
    ClassScores s;
    s.student(1) = {85, 20, 25, 30, 10, 0, 7};
    s.student(31) = {-2, -2, -2, -2, -2, -2, -3};
    s.student(60)[6] = 42; // viewpoint 6 is carried through
    ByteWriter w;
    w.writeBytes(QByteArray("TAVRO_500\r\n", 11));
    w.writeUInt8(0);
    for (int n = 1; n <= 60; ++n)
        for (int f = 0; f < 7; ++f)
            w.writeInt32(s.student(n)[f]);
    const QByteArray bytes = TestScoreFile::serializeClassScores(s);
    QCOMPARE(bytes.size(), 1692);
    QCOMPARE(bytes, w.bytes());
    QCOMPARE(bytes.mid(12, 4), QByteArray("\x55\0\0\0", 4));        // first field at 12, after the zero byte
    QCOMPARE(bytes.mid(852, 4), QByteArray("\xfe\xff\xff\xff", 4)); // student 31

    QTemporaryDir tmp;
    const QString folder = tmp.path() + u'/';
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("2024")));
    const QString path =
        paths::classScoreFile(folder, 2024, QStringLiteral("A"), 1, 3, QStringLiteral("国語"));
    QString error;
    QVERIFY2(TestScoreFile::writeClassScores(path, s, &error), qPrintable(error)); // creates Test
    ClassScores back;
    const ReadReport report = TestScoreFile::readClassScores(path, back);
    QVERIFY(report.found && report.isClean());
    QVERIFY(back.records == s.records);
    QVERIFY(TestScoreFile::writeClassScores(path, back, &error));
    QByteArray again;
    QVERIFY(readWholeFile(path, again));
    QCOMPARE(again, bytes);
    QCOMPARE(QDir(tmp.filePath(QStringLiteral("2024/Test"))).entryList(QDir::Files).size(), 1);
}

void TestScoreFileTest::fullScores() {
    FullScores f;
    f.values = {100, 20, 20, 30, 30, 0, 0};
    const QByteArray bytes = TestScoreFile::serializeFullScores(f);
    QCOMPARE(bytes.size(), 28);
    QCOMPARE(bytes.left(8), QByteArray("\x64\0\0\0\x14\0\0\0", 8));
    FullScores back;
    QVERIFY(TestScoreFile::parseFullScores(bytes, back).isClean());
    QVERIFY(back.values == f.values);

    QTemporaryDir tmp;
    const QString folder = tmp.path() + u'/';
    const QString path = paths::fullScoreFile(folder, 2024, QStringLiteral("A"), 1, QStringLiteral("国語"));
    QString error;
    QVERIFY(!TestScoreFile::writeFullScores(path, f, &error)); // the year folder must exist
    QVERIFY(!QFileInfo::exists(tmp.filePath(QStringLiteral("2024"))));
    QVERIFY(QDir(tmp.path()).mkpath(QStringLiteral("2024/test"))); // found without regard to case
    QVERIFY2(TestScoreFile::writeFullScores(path, f, &error), qPrintable(error));
    QVERIFY(QFileInfo::exists(tmp.filePath(QStringLiteral("2024/test/A100国語.def"))));
    QVERIFY(TestScoreFile::readFullScores(path, back).found);
    QVERIFY(back.values == f.values);
}

void TestScoreFileTest::missingAndShortFiles() {
    QTemporaryDir tmp;
    ClassScores s;
    s.student(5)[0] = 3;
    ReadReport report = TestScoreFile::readClassScores(tmp.filePath(QStringLiteral("none.dat")), s);
    QVERIFY(!report.found && report.isClean());
    for (const TestScoreRecord &r : s.records)
        for (int v : r)
            QCOMPARE(v, -1);
    FullScores f;
    f.values.fill(9);
    QVERIFY(!TestScoreFile::readFullScores(tmp.filePath(QStringLiteral("none.def")), f).found);
    QVERIFY(f.values == TestScoreRecord{});

    // Cut inside student 2: student 1 and the whole fields of student 2 are read.
    ClassScores full;
    for (int n = 1; n <= 60; ++n)
        full.student(n).fill(n);
    const QByteArray bytes = TestScoreFile::serializeClassScores(full).left(12 + 28 + 10);
    report = TestScoreFile::parseClassScores(bytes, s);
    QVERIFY(report.truncated);
    QCOMPARE(report.problems().size(), 1);
    QVERIFY(s.student(1) == TestScoreRecord({1, 1, 1, 1, 1, 1, 1}));
    QVERIFY(s.student(2) == TestScoreRecord({2, 2, -1, -1, -1, -1, -1}));
    QVERIFY(s.student(3) == TestScoreRecord({-1, -1, -1, -1, -1, -1, -1}));
    QVERIFY(TestScoreFile::parseClassScores(QByteArray(), s).truncated);
    report = TestScoreFile::parseFullScores(QByteArray("\x05\0\0\0\x07", 5), f);
    QVERIFY(report.truncated);
    QVERIFY(f.values == TestScoreRecord({5, 0, 0, 0, 0, 0, 0}));

    // Values out of range are kept and counted; the header is not required.
    full.student(7) = {501, 101, -4, 100, 0, -3, 0};
    QByteArray odd = TestScoreFile::serializeClassScores(full);
    odd.replace(0, 12, QByteArray(12, 'x'));
    report = TestScoreFile::parseClassScores(odd + "xy", s);
    QVERIFY(report.badHeader && !report.truncated);
    QCOMPARE(report.badValues, 3);
    QCOMPARE(report.extraBytes, 2);
    QVERIFY(s.student(7) == full.student(7));
}

QTEST_GUILESS_MAIN(TestScoreFileTest)
#include "TestScoreFileTest.moc"
