#include "evaluation/EvaluationSession.h"

#include "app/DemoSchool.h"
#include "common/FileSave.h"
#include "config/KantenFile.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/ItemSettings.h"
#include "evaluation/WorksheetFile.h"
#include "evaluation/WorksheetViews.h"
#include "support/TestDoubles.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using namespace tavro::gridkeys;
using Answer = Prompter::Answer;

namespace {

constexpr int kYear = 2024;

KeyPress ch(char c) {
    return KeyPress::character(QChar::fromLatin1(c));
}

// The demo school with a session of grade 1 国語 for classes 1 and 2.
struct School {
    QTemporaryDir dir;
    QString folder;
    test::ScriptedPrompter prompter;
    test::FixedClock clock;

    School() {
        folder = dir.path() + QLatin1Char('/');
        QString error;
        if (!DemoSchool::write(folder, kYear, &error))
            qWarning() << error;
    }
    EvaluationContext context(const QString &teacher = QStringLiteral("試験太郎")) const {
        EvaluationContext c;
        c.mainCaption = QStringLiteral("成績処理");
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.chargeClasses = QStringLiteral("12");
        c.teacherName = teacher;
        return c;
    }
    std::unique_ptr<EvaluationSession> open(const EvaluationContext &c) {
        auto s = std::make_unique<EvaluationSession>(c);
        s->load(prompter);
        return s;
    }
};

} // namespace

class EvaluationSessionTest : public QObject {
    Q_OBJECT

private slots:
    // Every rule of the score grid's keys, one row per case.
    void scoreKeys_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("isProtected");
        QTest::addColumn<int>("full");
        QTest::addColumn<QString>("keys"); // B = Backspace, D = Delete
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("beep"); // on the last key
        auto row = [](const char *name, int value, int kind, bool prot, int full, const char *keys,
                      int expected, bool beep) {
            QTest::newRow(name) << value << kind << prot << full << QString::fromLatin1(keys) << expected
                                << beep;
        };
        row("three digits, the oldest drops", -1, 1, false, 0, "1234", 234, false);
        row("estimate typed after *", -1, 1, false, 100, "*75", -1075, false);
        row("backspace twice leaves *", -1, 1, false, 100, "*75BB", -3, false);
        row("backspace on one digit empties", 7, 1, false, 100, "B", -1, false);
        row("backspace drops a digit", 87, 1, false, 100, "B", 8, false);
        row("estimate 0 loses its digit", -1000, 1, false, 100, "B", -3, false);
        row("delete empties", 87, 1, false, 100, "D", -1, false);
        row("j is 1", -1, 1, false, 100, "j", 1, false);
        row("a is 4, either case", -1, 1, false, 100, "A", 4, false);
        row("keypad letters", -1, 1, false, 0, "mjk", 12, false);
        row("unlisted letter changes nothing", 5, 1, false, 100, "q", 5, false);
        row("dash, slash, star", -1, 1, false, 100, "-", -2, false);
        row("not submitted", 40, 1, false, 100, "/", -4, false);
        row("digit after a mark starts anew", -4, 1, false, 100, "3", 3, false);
        row("periodic item: typed score is an estimate", -1, 2, false, 100, "8", -1008, false);
        row("periodic item holding a score refuses digits", 40, 2, false, 100, "8", 40, true);
        row("aggregate item refuses delete", 40, 3, false, 100, "D", 40, true);
        row("protected item refuses digits", -1, 1, true, 100, "5", -1, true);
        row("protected item takes *", 40, 1, true, 100, "*", -3, false);
        row("protected item refuses any letter", 40, 1, true, 100, "q", 40, true);
        row("over the full score beeps but stores", -1, 1, false, 50, "60", 60, true);
        row("t increases", 41, 1, false, 100, "t", 42, false);
        row("t on empty gives 1", -1, 1, false, 100, "t", 1, false);
        row("t stops at 999 with a beep", 999, 1, false, 0, "t", 999, true);
        row("t leaves marks", -2, 1, false, 100, "t", -2, false);
    }
    void scoreKeys() {
        QFETCH(int, value);
        QFETCH(int, kind);
        QFETCH(bool, isProtected);
        QFETCH(int, full);
        QFETCH(QString, keys);
        QFETCH(int, expected);
        QFETCH(bool, beep);
        ScoreCell cell{value, kind, isProtected, full};
        KeyResult r;
        for (QChar c : keys) {
            const KeyPress k = c == u'B'   ? KeyPress::of(Key::Backspace)
                               : c == u'D' ? KeyPress::of(Key::Delete)
                                           : KeyPress::character(c);
            r = scoreKey(cell, k);
            QVERIFY(r.handled);
            cell.value = r.value;
        }
        QCOMPARE(cell.value, expected);
        QCOMPARE(r.beep, beep);
    }

    // Ratio keys, display forms and the Enter move with its chime.
    void ratioKeysDisplayAndMoves() {
        QCOMPARE(ratioKey(12, ch('3')).value, 123);
        QCOMPARE(ratioKey(123, ch('4')).value, 234);
        QCOMPARE(ratioKey(123, ch('u')).value, 234);
        QCOMPARE(ratioKey(123, KeyPress::of(Key::Backspace)).value, 12);
        QCOMPARE(ratioKey(123, KeyPress::of(Key::Delete)).value, 0);
        QVERIFY(!ratioKey(5, ch('*')).handled);

        QCOMPARE(displayText(-1075, 100, false), QStringLiteral("*75"));
        QCOMPARE(displayText(-2500, 0, false), QStringLiteral("*1500")); // an aggregate's estimate
        QCOMPARE(displayText(120, 100, false), QStringLiteral("+120"));
        QCOMPARE(displayText(5, 5, true), QStringLiteral("A\uFF9F"));
        QCOMPARE(displayText(1, 5, true), QStringLiteral("Cx"));
        QCOMPARE(displayText(-1000, 5, true), QStringLiteral("*0 "));
        QCOMPARE(displayText(-1004, 5, true), QStringLiteral("*A "));
        QCOMPARE(displayText(9, 5, true), QStringLiteral("??"));
        QVERIFY(isWarningCell(-3, 100, false));
        QVERIFY(isWarningCell(9, 5, true));
        QVERIFY(!isWarningCell(100, 100, false));

        const std::vector<QString> names = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                            QStringLiteral("d"), QString(),           QStringLiteral("f")};
        QCOMPARE(nextRow(names, 0).row, 1);
        QVERIFY(!nextRow(names, 0).chime);
        const RowMove skip = nextRow(names, 3); // row 5 is empty: on to row 6 (number 6, 6 mod 5 = 1)
        QCOMPARE(skip.row, 5);
        QVERIFY(skip.chime);
        QCOMPARE(nextRow(names, 5).row, 5); // the last row stays
    }

    // A keystroke stores, recomputes the row's aggregate item and sets the flags; saving an unchanged
    // worksheet leaves the file and its backup alone.
    void editsFlagsAndSave() {
        School school;
        auto s = school.open(school.context());
        QVERIFY(!s->readOnly());
        QCOMPARE(int(s->rows().size()), 120);
        Worksheet &w = s->worksheet();
        w.item(1).kind = itemkind::kRegular;
        w.item(1).fullScore = 10;
        w.item(2).kind = itemkind::kRegular;
        w.item(3).kind = itemkind::kAggregate;
        w.item(3).formula = QStringLiteral("1,2");
        s->itemsChanged(false);
        s->setScore(2, s->rows()[0], 4);
        QVERIFY(s->isModified());
        s->scoreKey(0, 1, ch('7'));
        QCOMPARE(w.score(1, s->rows()[0]), 7);
        QCOMPARE(w.score(3, s->rows()[0]), 11);

        QString error;
        QVERIFY2(s->save(&error), qPrintable(error));
        QVERIFY(!s->isModified());
        const QString bak = backupPathFor(s->worksheetPath());
        QFile::remove(bak);
        QVERIFY(s->save(&error));
        QVERIFY(!QFileInfo::exists(bak)); // nothing written, the backup not rotated

        Worksheet reread;
        WorksheetFile::load(s->worksheetPath(), reread, nullptr);
        QCOMPARE(reread.score(3, s->rows()[0]), 11);
        QCOMPARE(reread.item(3).formula, QStringLiteral("1,2"));

        // Ratios: a share of the period follows the ratio typed.
        s->viewpointRatioKey(1, 1, ch('5'));
        s->itemRatioKey(1, 1, 1, ch('2'));
        QVERIFY(s->isModified());
        QCOMPARE(s->weightedShares(1)[0], 100);
    }

    // Weighted shares: two viewpoints 60/40, two items sharing viewpoint 1 by 1:3 and one item in 2.
    void weightedShareRule() {
        Worksheet w;
        w.viewpointRatio(2, 1) = 60;
        w.viewpointRatio(2, 2) = 40;
        w.itemRatio(1, 2, 1) = 1;
        w.itemRatio(2, 2, 1) = 3;
        w.itemRatio(3, 2, 2) = 5;
        const std::vector<int> shares = weightedShares(w, 2);
        QCOMPARE(shares[0], 30); // 100 × 1/4 × 60 × 2 / 100
        QCOMPARE(shares[1], 90);
        QCOMPARE(shares[2], 80);
        QCOMPARE(shares[3], 0);
    }

    // A refused (too new) or truncated worksheet makes the window read-only with the file named, and
    // nothing is written back.
    void refusedAndDamagedFiles() {
        for (const bool truncate : {false, true}) {
            School school;
            const EvaluationContext c = school.context();
            const QString path = paths::worksheetFile(c.dataFolder, c.teacherName, kYear, 1, c.kyouka);
            Worksheet w;
            w.item(1).kind = 1;
            w.item(1).name = QStringLiteral("小テスト");
            for (int n = 1; n <= 30; ++n)
                w.score(1, 1, n) = n;
            QVERIFY(WorksheetFile::save(path, w));
            QByteArray bytes;
            QVERIFY(readWholeFile(path, bytes));
            if (truncate)
                bytes.chop(20);
            else
                bytes.replace(6, 3, "600");
            QVERIFY(saveFileAtomically(path, bytes));
            auto s = school.open(c);
            QVERIFY(s->readOnly());
            QVERIFY(s->headerText().endsWith(QStringLiteral("【閲覧モード】")));
            QVERIFY(school.prompter.texts().join(u'\n').contains(QStringLiteral("閲覧モードで開きます")));
            QVERIFY(s->loadProblems().join(u'\n').contains(QStringLiteral("国語.dat")));
            QVERIFY(!s->scoreKey(0, 1, ch('5')).changed);
            s->markModified();
            QString error;
            QVERIFY(s->save(&error));
            QByteArray after;
            QVERIFY(readWholeFile(path, after));
            QCOMPARE(after, bytes);
        }
    }

    // A failed save keeps the edits and asks: Cancel keeps the window, No closes without saving, Yes
    // tries again.
    void failedSaveAtClose() {
        School school;
        const EvaluationContext c = school.context(QStringLiteral("保存先なし"));
        // The teacher's folder is a file, so the worksheet cannot be written.
        QFile blocker(paths::worksheetFolder(c.dataFolder, c.teacherName));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        auto s = school.open(c);
        s->worksheet().item(1).kind = 1;
        s->scoreKey(0, 1, ch('9'));
        QVERIFY(s->isModified());
        school.prompter.script({Answer::Yes, Answer::Cancel});
        QVERIFY(!s->saveForClose(school.prompter, false));
        QCOMPARE(school.prompter.shown().size(), 2); // the retry failed again
        QVERIFY(school.prompter.shown().last().text.contains(QStringLiteral("保存できませんでした")));
        QVERIFY(s->isModified());
        school.prompter.script({Answer::No});
        QVERIFY(s->saveForClose(school.prompter, false));
        QVERIFY(s->saveForClose(school.prompter, true)); // discarding never asks
    }

    // The item dialog's OK for a periodic test: full score, class files (a damaged value skipped, a
    // short file and a missing one reported), scores cleared first, and the link checks.
    void itemTestImport() {
        School school;
        EvaluationContext c = school.context();
        c.chargeClasses = QStringLiteral("123");
        auto s = school.open(c);
        const itemsettings::TestLists lists =
            itemsettings::testLists(s->settings(), s->kanten(), c.kyouka, true);
        QVERIFY(!lists.periodic.empty());
        const itemsettings::TestEntry entry = lists.periodic[1]; // test 1, viewpoint 2
        QCOMPARE(entry.link, 120);
        QVERIFY(entry.text.contains(QStringLiteral("②[")));

        FullScores full;
        full.values = {100, 30, 45, 25, 0, 0, 0};
        QVERIFY(TestScoreFile::writeFullScores(
            paths::fullScoreFile(c.dataFolder, kYear, QStringLiteral("A"), 1, c.kyouka), full));
        ClassScores one;
        one.student(1)[2] = 40;
        one.student(2)[2] = 1500;                 // damaged: not stored
        one.student(3)[2] = testscore::kNotTaken; // leaves the worksheet's mark
        QVERIFY(TestScoreFile::writeClassScores(
            paths::classScoreFile(c.dataFolder, kYear, QStringLiteral("A"), 1, 1, c.kyouka), one));
        QVERIFY(saveFileAtomically(
            paths::classScoreFile(c.dataFolder, kYear, QStringLiteral("A"), 1, 2, c.kyouka),
            QByteArray(100, '\0')));
        QFile::remove(paths::classScoreFile(c.dataFolder, kYear, QStringLiteral("A"), 1, 3, c.kyouka));

        Worksheet &w = s->worksheet();
        w.score(9, 1, 2) = 77;
        w.score(9, 1, 3) = score::kTransferred;
        itemsettings::ItemEdit edit;
        edit.kind = itemkind::kPeriodicTest;
        edit.testIndex = 2;
        school.prompter.clear();
        const auto out = itemsettings::apply(*s, 9, edit, lists, &school.prompter);
        QVERIFY2(out.applied, qPrintable(out.error));
        QCOMPARE(out.import.fullScore, 45);
        QCOMPARE(w.item(9).fullScore, 45);
        QCOMPARE(w.item(9).link, 120);
        QCOMPARE(w.item(9).name, entry.text);
        QCOMPARE(out.import.imported, 1);
        QCOMPARE(w.score(9, 1, 1), 40);
        QCOMPARE(w.score(9, 1, 2), -1);
        QCOMPARE(w.score(9, 1, 3), score::kTransferred);
        QCOMPARE(school.prompter.texts(), (QStringList{QStringLiteral("2組のデータがありません。"),
                                                       QStringLiteral("3組のデータがありません。")}));
        QVERIFY(s->isModified());

        itemsettings::TestSource source;
        QString reason;
        QVERIFY(!itemsettings::sourceOf(2, 170, lists, c.kyouka, source, &reason)); // field 7
        QVERIFY(!itemsettings::sourceOf(2, 910, lists, c.kyouka, source, &reason)); // test not listed
        QVERIFY(itemsettings::sourceOf(4, 125, lists, c.kyouka, source, &reason));
        QCOMPARE(source.testCode, QStringLiteral("1"));
        QCOMPARE(source.field, 2);

        // Texts the file cannot hold are refused before anything is stored.
        itemsettings::ItemEdit bad;
        bad.kind = itemkind::kRegular;
        bad.name = QStringLiteral("絵文字😀");
        QVERIFY(!itemsettings::apply(*s, 10, bad, lists, nullptr).applied);
        bad.name = QString(200, QChar(0x3042)); // 400 bytes
        QVERIFY(!itemsettings::apply(*s, 10, bad, lists, nullptr).applied);
        QCOMPARE(w.item(10).kind, 0);

        // 記号入力 gives the formula "K" and full score 5; unchecking clears it.
        itemsettings::ItemEdit symbols;
        symbols.kind = itemkind::kRegular;
        symbols.name = QStringLiteral("提出物");
        symbols.symbolInput = true;
        QVERIFY(itemsettings::apply(*s, 10, symbols, lists, nullptr).applied);
        QCOMPARE(w.item(10).formula, QStringLiteral("K"));
        QCOMPARE(w.item(10).fullScore, 5);
        QVERIFY(w.item(10).symbolInput);
        symbols.symbolInput = false;
        symbols.fullScore = 10;
        QVERIFY(itemsettings::apply(*s, 10, symbols, lists, nullptr).applied);
        QVERIFY(w.item(10).formula.isEmpty());
    }

    // Analysis rows: standard scores, attainment with an empty full score, above the full score.
    void analysisRows() {
        School school;
        auto s = school.open(school.context());
        Worksheet &w = s->worksheet();
        w.reset();
        w.item(1).kind = 1;
        w.item(1).fullScore = 50;
        w.item(2).kind = 1; // full score 0
        const std::vector<int> &rows = s->rows();
        for (int i = 0; i < 4; ++i)
            s->setScore(1, rows[std::size_t(i)], 10 * (i + 1));
        s->setScore(1, rows[4], 60);
        s->setScore(2, rows[0], 5);
        const auto a = views::analysisRows(*s, rows[4]);
        QCOMPARE(int(a.size()), 2);
        QCOMPARE(a[0].kind, QStringLiteral("平常"));
        QCOMPARE(a[0].score, QStringLiteral("+60"));
        QCOMPARE(a[0].achievement, QStringLiteral("100.0+"));
        QCOMPARE(a[0].standardScore, views::fixed2((60 - 32) * 10 / std::sqrt(296.0) + 50));
        QCOMPARE(a[1].standardScore, QStringLiteral("   - "));
        QVERIFY(a[1].achievement.isEmpty());
        const auto b = views::analysisRows(*s, rows[1]);
        QCOMPARE(b[0].achievement, QStringLiteral("40.00"));

        const views::ItemDistribution d = views::itemDistribution(w, rows, 1);
        QCOMPARE(d.count, 5);
        QCOMPARE(d.lowest, 10);
        QCOMPARE(d.highest, 60);
        QCOMPARE(d.meanText(), QStringLiteral("平均32.00点"));
    }

    // The bars of "分布": one per score while they fit, else ten classes of the full score; scores
    // above the full score in a bar of their own.
    void distributionBars_data() {
        QTest::addColumn<QList<int>>("scores");
        QTest::addColumn<int>("full");
        QTest::addColumn<int>("maxBars");
        QTest::addColumn<QString>("bars");
        const auto range = [](int from, int to, int step = 1) {
            QList<int> list;
            for (int v = from; v <= to; v += step)
                list << v;
            return list;
        };
        QTest::newRow("one bar per score")
            << QList<int>{60, 62, 62, 65} << 100 << 20 << "60:1 61:0 62:2 63:0 64:0 65:1";
        QTest::newRow("60 distinct scores in tenths")
            << range(40, 99) << 100 << 20 << "40〜:10 50〜:10 60〜:10 70〜:10 80〜:10 90〜:10";
        QTest::newRow("the full score in the last class")
            << QList<int>{0, 55, 99, 100, 100} << 100 << 20
            << "0〜:1 10〜:0 20〜:0 30〜:0 40〜:0 50〜:1 60〜:0 70〜:0 80〜:0 90〜:3";
        QTest::newRow("a score above the full score")
            << QList<int>{70, 72, 75, 150} << 100 << 20 << "70:1 71:0 72:1 73:0 74:0 75:1 100超:1";
        QTest::newRow("classes and scores above")
            << (range(10, 100, 10) << 120 << 999) << 100 << 11
            << "10〜:1 20〜:1 30〜:1 40〜:1 50〜:1 60〜:1 70〜:1 80〜:1 90〜:2 100超:2";
        QTest::newRow("full score 25 in classes of 3")
            << range(0, 25) << 25 << 11 << "0〜:3 3〜:3 6〜:3 9〜:3 12〜:3 15〜:3 18〜:3 21〜:3 24〜:2";
        QTest::newRow("no full score: classes of the highest")
            << range(0, 45) << 0 << 11 << "0〜:5 5〜:5 10〜:5 15〜:5 20〜:5 25〜:5 30〜:5 35〜:5 40〜:6";
        QTest::newRow("every score above the full score") << QList<int>{12, 15} << 10 << 20 << "10超:2";
        QTest::newRow("no scores") << QList<int>{} << 100 << 20 << "";
        QTest::newRow("room for at least eleven bars")
            << range(0, 10) << 10 << 3 << "0:1 1:1 2:1 3:1 4:1 5:1 6:1 7:1 8:1 9:1 10:1";
    }
    void distributionBars() {
        QFETCH(QList<int>, scores);
        QFETCH(int, full);
        QFETCH(int, maxBars);
        QFETCH(QString, bars);
        auto w = std::make_unique<Worksheet>();
        w->reset();
        w->item(1).kind = itemkind::kRegular;
        w->item(1).fullScore = full;
        std::vector<int> rows;
        for (int i = 0; i < scores.size(); ++i) {
            rows.push_back(i);
            w->score(1, i) = scores[i];
        }
        rows.push_back(int(scores.size())); // an empty score is not counted
        QStringList got;
        bool aboveLast = true;
        const auto list = views::distributionBars(views::itemDistribution(*w, rows, 1), full, maxBars);
        for (const views::DistributionBar &bar : list) {
            got << bar.label + u':' + QString::number(bar.count);
            aboveLast = bar.aboveFull == (&bar == &list.back() && bar.label.endsWith(u'超'));
            QVERIFY(aboveLast);
        }
        QCOMPARE(got.join(u' '), bars);
    }
};

QTEST_GUILESS_MAIN(EvaluationSessionTest)
#include "EvaluationSessionTest.moc"
