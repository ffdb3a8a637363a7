#include "testscores/InputStatus.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/Electives.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
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
    void evaluationsView();
    void electivesView();

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

void InputStatusTest::evaluationsView() {
    EvaluationResults results;
    results.at(2, 1, 1).evaluation = u"5"_qs;
    results.at(2, 1, 30).evaluation = u"3"_qs;
    results.at(2, 1, 31).evaluation = u"4"_qs;
    results.at(1, 1, 2).evaluation = u"2"_qs; // another kind
    results.at(2, 2, 5).evaluation = u"4"_qs;
    QVERIFY(ClassResultFile::save(paths::classResultFile(m_data, 2024, 3, 1, u"国語"_qs), results, 1));
    QVERIFY(ClassResultFile::save(paths::classResultFile(m_data, 2024, 3, 2, u"国語"_qs), results, 2));
    // Class 1 of 数学 is too new: only its own cells stay empty.
    QByteArray tooNew;
    QVERIFY(ClassResultFile::serialize(results, 1, tooNew));
    tooNew.replace(6, 3, "600");
    QVERIFY(saveFileAtomically(paths::classResultFile(m_data, 2024, 3, 1, u"数学"_qs), tooNew));
    QVERIFY(ClassResultFile::save(paths::classResultFile(m_data, 2024, 3, 2, u"数学"_qs), results, 2));

    const QStringList subjects{u"国語"_qs, u"社会"_qs, u"数学"_qs};
    const InputStatusTable t = inputstatus::evaluations(m_data, 2024, 3, 2, subjects, true);
    QCOMPARE(t.cells(), (QList<QStringList>{{QString(), u"国語"_qs, u"社会"_qs, u"数学"_qs},
                                            {u"1組M"_qs, u"2"_qs, QString(), QString()},
                                            {u"1組F"_qs, u"1"_qs, QString(), QString()},
                                            {u"2組M"_qs, u"1"_qs, QString(), u"1"_qs},
                                            {u"2組F"_qs, u"0"_qs, QString(), u"0"_qs}}));
    QVERIFY(t.tooNew);
    QVERIFY(t.damaged.isEmpty());
}

void InputStatusTest::electivesView() {
    // Names typed by hand into the file that cannot be file names are left out and reported.
    QVERIFY(electives::writeLines(
        m_data, 2024,
        {u"3年選択英語"_qs, u"1年選択数学"_qs, u"3年../選択英語"_qs, u"3年選択音楽"_qs, u"3年英語/会話"_qs}));
    QVERIFY(memberlist::write(m_data, 2024, 3, u"選択英語"_qs, {u"101"_qs, u"3102"_qs, u"205"_qs, u"xx"_qs}));
    QVERIFY(memberlist::write(m_data, 2024, 3, u"選択音楽"_qs, {u"201"_qs}));
    EvaluationResults results;
    results.at(1, 1, 1).evaluation = u"A"_qs;
    results.at(1, 2, 5).evaluation = u"B"_qs;
    results.at(2, 1, 2).evaluation = u"C"_qs; // another kind
    const std::vector<int> members{slotOf(1, 1), slotOf(1, 2), slotOf(2, 5)};
    QVERIFY(ElectiveResultFile::save(paths::electiveResultFile(m_data, 2024, 3, u"選択英語"_qs), results,
                                     members));
    QByteArray tooNew;
    QVERIFY(ElectiveResultFile::serialize(results, {slotOf(2, 1)}, tooNew));
    tooNew.replace(6, 3, "612");
    QVERIFY(saveFileAtomically(paths::electiveResultFile(m_data, 2024, 3, u"選択音楽"_qs), tooNew));

    const InputStatusTable t = inputstatus::electives(m_data, 2024, 3, 1, true);
    QCOMPARE(t.cells(), (QList<QStringList>{
                            {u"教科"_qs, u"合計"_qs, u"1組"_qs, u"chk"_qs, u"2組"_qs, u"chk"_qs},
                            {u"選択英語"_qs, u"2/3"_qs, u"2"_qs, u"1"_qs, u"1"_qs, u"1"_qs},
                            {u"選択音楽"_qs, QString(), u"0"_qs, QString(), u"1"_qs, QString()},
                        }));
    QVERIFY(t.tooNew);
    QCOMPARE(t.unsafeNames, (QStringList{u"../選択英語"_qs, u"英語/会話"_qs}));
    QCOMPARE(t.unsafeNamesMessage(),
             u"ファイル名に使えない選択教科名は読み込みませんでした。\r\n../選択英語、英語/会話"_qs);
    QVERIFY(t.damaged.isEmpty()); // no member file was looked for under a cut name
}

QTEST_GUILESS_MAIN(InputStatusTest)
#include "InputStatusTest.moc"
