#include "testscores/InputStatus.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/YearSettings.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class InputStatusTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void testsView();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
};

void InputStatusTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_data = m_dir->path() + u'/';
    YearSettings settings;
    settings.classCount[0] = 11;
    settings.classCount[2] = 2;
    QVERIFY(settings.save(m_data, 2024));
}

void InputStatusTest::testsView() {
    ClassScores scores;
    scores.student(1)[0] = 0;
    scores.student(30)[0] = 55;
    scores.student(31)[0] = 70;
    scores.student(32)[0] = -2; // not taken: not counted
    scores.student(33)[0] = -3;
    QVERIFY(TestScoreFile::writeClassScores(paths::classScoreFile(m_data, 2024, u"B"_qs, 1, 1, u"国語"_qs),
                                            scores));
    QVERIFY(TestScoreFile::writeClassScores(paths::classScoreFile(m_data, 2024, u"B"_qs, 1, 10, u"技家H"_qs),
                                            scores));
    QByteArray bytes = TestScoreFile::serializeClassScores(scores);
    bytes.truncate(12 + 28 * 31); // students 1..31 only
    QVERIFY(saveFileAtomically(paths::classScoreFile(m_data, 2024, u"B"_qs, 1, 11, u"数学"_qs), bytes));

    const InputStatusTable t = inputstatus::tests(m_data, 2024, 1, u"B"_qs, false);
    QCOMPARE(t.header.size(), 12);
    QCOMPARE(t.header.mid(0, 3), (QStringList{QString(), u"国語"_qs, u"社会"_qs}));
    QCOMPARE(t.rows.size(), 22);
    QCOMPARE(t.rows[0].mid(0, 3), (QStringList{u"A組M"_qs, u"2"_qs, QString()}));
    QCOMPARE(t.rows[1].mid(0, 2), (QStringList{u"A組F"_qs, u"1"_qs}));
    QCOMPARE(t.rows[18][0], u"J組M"_qs);
    QCOMPARE(t.rows[18][11], u"2"_qs);
    QCOMPARE(t.rows[20][3], u"2"_qs); // the truncated file counts what it holds
    QCOMPARE(t.rows[21][3], u"1"_qs);
    QCOMPARE(t.damaged, QStringList{u"B1011数学.dat"_qs});
    QVERIFY(t.damagedMessage().endsWith(u"B1011数学.dat"_qs));
    QCOMPARE(t.cells().size(), 23);
    QCOMPARE(inputstatus::tests(m_data, 2024, 2, u"B"_qs, true).rows.size(), 0);
}

QTEST_GUILESS_MAIN(InputStatusTest)
#include "InputStatusTest.moc"
