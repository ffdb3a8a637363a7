#include "evaluation/Editing.h"

#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/GridKeys.h"
#include "exchange/ResultCopies.h"
#include "support/TestDoubles.h"

#include "common/Cp932.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using namespace tavro::editing;
using Answer = Prompter::Answer;

namespace {

constexpr int kYear = 2024;

// The demo school with period 1 calculated; a session of grade 1 国語 for the given classes.
struct Demo {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    test::ScriptedPrompter prompter;
    test::FixedClock clock;
    Demo() {
        QVERIFY(DemoSchool::write(folder, kYear));
        QVERIFY(demo::calculateFirstPeriod(folder, kYear, clock, nullptr));
    }
    std::unique_ptr<EvaluationSession> open(const QString &classes = QStringLiteral("123"),
                                            bool readOnly = false) {
        EvaluationContext c;
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.teacherName = DemoSchool::teacherNames()[1];
        c.chargeClasses = classes;
        c.readOnly = readOnly;
        auto s = std::make_unique<EvaluationSession>(c);
        s->load(prompter);
        return s;
    }
};

} // namespace

class EditingTest : public QObject {
    Q_OBJECT

private slots:
    void scoreCodes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("parse"); // 0 empty, 1 value, 2 refused
        QTest::addColumn<int>("code");
        QTest::newRow("number") << "85" << 1 << 85;
        QTest::newRow("blanks around") << " 7 " << 1 << 7;
        QTest::newRow("estimate") << "*15" << 1 << -1015;
        QTest::newRow("absent") << "*" << 1 << -3;
        QTest::newRow("not submitted") << "/" << 1 << -4;
        QTest::newRow("transferred") << "-" << 1 << -2;
        QTest::newRow("empty") << "" << 0 << 0;
        QTest::newRow("word") << "欠席" << 2 << 0;
        QTest::newRow("negative") << "-5" << 2 << 0;
        QTest::newRow("too large") << "1500" << 2 << 0;
        QTest::newRow("estimate too large") << "*1500" << 2 << 0;
        QTest::newRow("decimal") << "8.5" << 2 << 0;
    }
    void scoreCodes() {
        QFETCH(QString, text);
        QFETCH(int, parse);
        QFETCH(int, code);
        int got = 0;
        QCOMPARE(int(parseScoreCell(text, got)), parse);
        if (parse == 1)
            QCOMPARE(got, code);
    }

    // Lines end at CR LF, LF or CR; a final line end adds no row; long lines are whole.
    void lineSplitting() {
        QCOMPARE(pasteLines(QStringLiteral("1\t2\r\n3\t4\r\n")).size(), 2);
        QCOMPARE(pasteLines(QStringLiteral("1\n2\r3")).size(), 3);
        QCOMPARE(pasteLines(QStringLiteral("a\t\tb")).first(), (QStringList{"a", "", "b"}));
        const QString longLine = QStringList(QList<QString>(400, QStringLiteral("123"))).join(u'\t');
        QCOMPARE(pasteLines(longLine).first().size(), 400);
    }

    // A full copy of 540 rows × 100 items pasted into another worksheet gives the same scores, the
    // aggregate items recomputed, protected and imported columns skipped, refused cells counted.
    void wholeScorePasteRoundTrip() {
        Demo demo;
        auto s = demo.open(QStringLiteral("123456789"));
        QCOMPARE(int(s->rows().size()), 540);
        Worksheet &w = s->worksheet();
        for (int item = 101; item <= 200; ++item) {
            w.item(item).kind = itemkind::kRegular;
            w.item(item).fullScore = 100;
        }
        w.item(201).kind = itemkind::kAggregate;
        w.item(201).formula = QStringLiteral("101,102");
        s->itemsChanged(false);
        QList<QStringList> cells;
        for (int r = 0; r < 540; ++r) {
            QStringList line;
            for (int c = 0; c < 100; ++c) {
                const int v = (r * 7 + c * 13) % 130 - 5;
                line.append(v < -1    ? QStringLiteral("*%1").arg(r % 50)
                            : v == -1 ? QStringLiteral("/")
                                      : QString::number(v));
            }
            cells.append(line);
        }
        const QString text = exchange::rangeText(cells);
        QVERIFY(text.size() > 32767);
        const PasteOutcome out = pasteScores(*s, text, 1, 103); // column 103 is item 101
        QCOMPARE(out.stored, 54000);
        QCOMPARE(out.refused, 0);
        for (int r = 0; r < 540; r += 37)
            for (int c = 0; c < 100; c += 11) {
                int code = 0;
                QCOMPARE(parseScoreCell(cells[r][c], code), CellParse::Value);
                QCOMPARE(w.score(101 + c, s->rows()[std::size_t(r)]), code);
            }
        const int slot = s->rows()[3];
        int a = w.score(101, slot), b = w.score(102, slot);
        if (a >= 0 && b >= 0)
            QCOMPARE(w.score(201, slot), a + b);
        QVERIFY(s->isModified());

        // Protected and test-linked columns are skipped, other cells of the same lines filled; words
        // are refused and leave the cell.
        w.item(150).protection = 1;
        w.item(151).kind = itemkind::kPeriodicTest;
        const int first = s->rows()[0];
        const int before150 = w.score(150, first), before151 = w.score(151, first),
                  before152 = w.score(152, first);
        // Columns 151..154 are items 149..152.
        const PasteOutcome again = pasteScores(*s, QStringLiteral("11\t12\t13\tabc\r\n"), 1, 151);
        QCOMPARE(w.score(149, first), 11);
        QCOMPARE(w.score(150, first), before150);
        QCOMPARE(w.score(151, first), before151);
        QCOMPARE(w.score(152, first), before152);
        QCOMPARE(again.stored, 1);
        QCOMPARE(again.refused, 1);
        QVERIFY(!refusedCellsMessage(1).isEmpty());
    }

    // Ratio grids: whole numbers only, the full-score row and the periods' first rows left alone;
    // delete over a period's first row leaves the neighbouring period's sixth viewpoint.
    void ratioPasteAndDelete() {
        Demo demo;
        auto s = demo.open();
        Worksheet &w = s->worksheet();
        pasteViewpointRatios(*s, QStringLiteral("30\tx\t1500\r\n"), 2, 1);
        QCOMPARE(w.viewpointRatio(2, 1), 30);
        QCOMPARE(w.viewpointRatio(2, 2), 0); // not a number counts 0
        QVERIFY(w.viewpointRatio(2, 3) != 1500);
        const int six = itemRatioRow(1, 6);
        w.itemRatio(5, 1, 6) = 9;
        w.itemRatio(5, 2, 1) = 8;
        pasteItemRatios(*s, QStringLiteral("4\r\n5\r\n6\r\n"), six, 7); // period 1 v6, period 2 first row, v1
        QCOMPARE(w.itemRatio(7, 1, 6), 4);
        QCOMPARE(w.itemRatio(7, 2, 1), 6);
        deleteItemRatios(*s, itemRatioRow(2, 0), 5, itemRatioRow(2, 1), 5);
        QCOMPARE(w.itemRatio(5, 1, 6), 9);
        QCOMPARE(w.itemRatio(5, 2, 1), 0);
        const int full = w.item(7).fullScore;
        pasteItemRatios(*s, QStringLiteral("77\r\n"), 1, 7);
        QCOMPARE(w.item(7).fullScore, full);
    }

    // Clearing: offered only with the period's permission and a calculation; writes the result files.
    void clearingAPeriod() {
        Demo demo;
        auto s = demo.open(QStringLiteral("1"));
        QVERIFY(s->results().dateTime(1) > 0);
        QString status, error;
        demo.prompter.script({Answer::No});
        QVERIFY(!clearPeriod(*s, 1, demo.prompter, demo.clock, &status, &error));
        QVERIFY(s->results().dateTime(1) > 0);
        QVERIFY(!clearPeriod(*s, 2, demo.prompter, demo.clock)); // never calculated: no question
        QCOMPARE(demo.prompter.shown().size(), 1);
        demo.prompter.script({Answer::Yes});
        QVERIFY(clearPeriod(*s, 1, demo.prompter, demo.clock, &status, &error));
        QVERIFY(status.startsWith(QStringLiteral("評定をクリアしました。(")));
        QVERIFY(!s->resultsPending());
        EvaluationResults reread;
        ClassResultFile::load(paths::classResultFile(demo.folder, kYear, 1, 1, QStringLiteral("国語")), 1,
                              reread, true, nullptr);
        QCOMPARE(reread.dateTime(1), 0.0);
        QVERIFY(reread.at(1, 1, 1).evaluation.isEmpty());

        auto view = demo.open(QStringLiteral("1"), true);
        demo.prompter.script({Answer::Yes});
        QVERIFY(!clearPeriod(*view, 1, demo.prompter, demo.clock));
    }

    // Percentages and comments of the paste grid, then phase 2.
    void percentagePaste() {
        Demo demo;
        YearSettings y = YearSettings::load(demo.folder, kYear);
        y.toutatuPaste = true;
        y.commentPaste = true;
        QVERIFY(y.save(demo.folder, kYear));
        auto s = demo.open(QStringLiteral("1"));
        QVERIFY(s->periodPermitted(1));
        const QString comment = QString(60, QChar(0x3042)); // 120 bytes
        pastePercentages(*s, QStringLiteral("85.5点\t120\t-\t\t\t\t%1\r\n").arg(comment), 1, 3, 1,
                         demo.prompter, demo.clock);
        const StudentResult &r = s->results().at(1, s->rows()[0]);
        QCOMPARE(r.viewpointPercentages[0], 85.5f);
        QCOMPARE(r.viewpointPercentages[1], 100.0f);
        QCOMPARE(r.viewpointPercentages[2], -1.0f);
        QCOMPARE(r.comment.size(), 38); // 76 bytes
        QVERIFY(!r.evaluation.isEmpty());
        pastePercentages(*s, QStringLiteral("0\r\n"), 1, 9, 1, demo.prompter, demo.clock);
        QVERIFY(s->results().at(1, s->rows()[0]).comment.isEmpty());
        pastePercentages(*s, QStringLiteral("絵😀\r\n"), 1, 9, 1, demo.prompter, demo.clock);
        QVERIFY(s->results().at(1, s->rows()[0]).comment.isEmpty());
    }

    // A comment edit keeps, of what was typed or pasted, what fits in 76 bytes on whole characters.
    void commentFitting_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("newCursor");
        QTest::addColumn<int>("dropped");
        const QString a37 = QString(37, QChar(0x3042)); // 74 bytes
        const QString a38 = a37 + QChar(0x3042);        // 76 bytes
        const QString a150 = QString(150, QChar(0x3042));
        QTest::newRow("fits") << ""
                              << "よくできました" << 7 << "よくできました" << 7 << 0;
        QTest::newRow("typed past the end") << a38 << a38 + "い" << 39 << a38 << 38 << 1;
        QTest::newRow("half-width in the last bytes") << a37 << a37 + "ab" << 39 << a37 + "ab" << 39 << 0;
        QTest::newRow("150 characters pasted") << "" << a150 << 150 << a38 << 38 << 112;
        QTest::newRow("pasted in the middle") << "はじめおわり"
                                              << "はじめ" + QString(40, QChar(0x3042)) + "おわり" << 43
                                              << "はじめ" + QString(32, QChar(0x3042)) + "おわり" << 35 << 8;
        QTest::newRow("one byte left, a double-byte character next")
            << a37 + "a" << a37 + "aいb" << 40 << a37 + "a" << 38 << 2;
        QTest::newRow("half-width kana are one byte")
            << "" << QString(80, QChar(0xFF71)) << 80 << QString(76, QChar(0xFF71)) << 76 << 4;
        QTest::newRow("deleting never cuts") << a38 << a37 << 37 << a37 << 37 << 0;
    }
    void commentFitting() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        QFETCH(QString, text);
        QFETCH(int, newCursor);
        QFETCH(int, dropped);
        const CommentFit fit = fitComment(before, after, cursor);
        QCOMPARE(fit.text, text);
        QCOMPARE(fit.dropped, dropped);
        if (dropped > 0)
            QCOMPARE(fit.cursor, newCursor);
        QVERIFY(cp932::byteLength(fit.text) <= kCommentBytes || fit.text == after);
    }

    // Filters and lists keep the student with the line; year-end ratios; protection.
    void listsFiltersAndItems() {
        Demo demo;
        auto s = demo.open(QStringLiteral("12"));
        const auto byClass = studentsByClass(*s);
        QVERIFY(!byClass.empty());
        QCOMPARE(byClass.front().slot, slotOf(1, 1));
        const auto ranked = studentsByAchievement(*s, 1);
        QVERIFY(ranked.size() > 2);
        for (std::size_t i = 1; i < ranked.size(); ++i)
            QVERIFY(s->results().at(1, ranked[i - 1].slot).percentage >=
                    s->results().at(1, ranked[i].slot).percentage);
        QVERIFY(studentsByAchievement(*s, 3).empty());

        Worksheet &w = s->worksheet();
        w.item(30).kind = itemkind::kRegular;
        s->setScore(30, slotOf(2, 4), score::kAbsent);
        const auto estimates = filteredStudents(*s, 1, Filter::Estimate);
        QVERIFY(std::any_of(estimates.begin(), estimates.end(),
                            [](const StudentLine &l) { return l.slot == slotOf(2, 4); }));
        for (const StudentLine &l : filteredStudents(*s, 1, Filter::Border)) {
            const QString b = s->symbols().at(1, l.slot).border;
            QVERIFY(b == QLatin1String("+") || b == QLatin1String("-"));
        }

        YearSettings y = YearSettings::load(demo.folder, kYear);
        y.consistencyItem[0] = 4;
        QVERIFY(y.save(demo.folder, kYear));
        auto t = demo.open(QStringLiteral("1"));
        Worksheet &u = t->worksheet();
        u.itemRatio(40, 1, 2) = 3;
        u.itemRatio(40, 2, 2) = 0;
        u.itemRatio(41, 1, 2) = 3;
        u.itemRatio(41, 2, 2) = 5;
        u.itemRatio(42, 4, 1) = 7;
        QVERIFY(copyYearEndRatios(*t));
        QCOMPARE(u.itemRatio(40, 4, 2), 3);
        QCOMPARE(u.itemRatio(41, 4, 2), 5);
        QCOMPARE(u.itemRatio(42, 4, 1), 0);

        const bool fourth = u.item(4).isProtected();
        protectUpTo(*t, 3, true);
        QVERIFY(u.item(1).isProtected() && u.item(3).isProtected());
        QCOMPARE(u.item(4).isProtected(), fourth);
        protectUpTo(*t, 2, false);
        QVERIFY(!u.item(2).isProtected() && u.item(3).isProtected());
    }

    // The copies: heading lines, a row per student, percentages and the achievements' rounding.
    void copies() {
        Demo demo;
        auto s = demo.open(QStringLiteral("1"));
        const QString all = exchange::resultsAllText(*s, 1);
        QStringList lines = all.split(QStringLiteral("\r\n"));
        QCOMPARE(lines[0], QStringLiteral("\t\t") + s->periodName(1));
        QVERIFY(lines[1].startsWith(QStringLiteral("組\t番\t氏名\t到①\t観①")));
        QCOMPARE(lines.size(), 2 + 60 + 1);
        QVERIFY(lines[2].startsWith(QStringLiteral("1\t1\t") + s->nameOf(slotOf(1, 1)) + u'\t'));
        QVERIFY(lines[2].endsWith(u'\t'));

        StudentResult &r = s->results().at(1, slotOf(1, 1));
        r.percentage = 72.25f;
        r.viewpointPercentages[0] = 72.5f;
        const QStringList ten = exchange::achievementsText(*s, 1, 10).split(QStringLiteral("\r\n"));
        QVERIFY(ten[2].contains(QStringLiteral("\t722\t")));
        const QStringList one = exchange::achievementsText(*s, 1, 1).split(QStringLiteral("\r\n"));
        QVERIFY(
            one[2].startsWith(QStringLiteral("1\t1\t") + s->nameOf(slotOf(1, 1)) + QStringLiteral("\t72\t")));
    }
};

QTEST_GUILESS_MAIN(EditingTest)
#include "EditingTest.moc"
