#include "evaluation/EvaluationInputStatus.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/Electives.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class EvaluationInputStatusTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void evaluationsView();
    void electivesView();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
};

void EvaluationInputStatusTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_data = m_dir->path() + u'/';
    YearSettings settings;
    settings.classCount[0] = 11;
    settings.classCount[2] = 2;
    QVERIFY(settings.save(m_data, 2024));
}

void EvaluationInputStatusTest::evaluationsView() {
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

void EvaluationInputStatusTest::electivesView() {
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

QTEST_GUILESS_MAIN(EvaluationInputStatusTest)
#include "EvaluationInputStatusTest.moc"
