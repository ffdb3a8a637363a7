#include "reports/TestPrints.h"

#include "reports/LayoutRecorder.h"
#include "support/TestDoubles.h"
#include "testscores/TestAggregation.h"

#include <QJsonArray>
#include <QTest>

using namespace tavro;
using namespace tavro::reports;

namespace {

// A grade of `classCount` classes whose first `students` numbers of class 1 have names and five main
// subjects' scores; the full scores are 100.
TestAggregation grade(int classCount, int students) {
    TestAggregation a(
        TestAggregation::Context{2024, 1, QStringLiteral("A"), QStringLiteral("中間テスト"), true},
        classCount);
    for (int s = 0; s < shukei::kSubjects; ++s)
        a.fullScores[std::size_t(s)].values = {100, 50, 50, 0, 0, 0, 0};
    for (int n = 1; n <= students; ++n) {
        a.names[std::size_t(n - 1)] = QStringLiteral("生徒%1").arg(n);
        for (int s = 0; s < shukei::kMainSubjects; ++s)
            a.scores[std::size_t(s)][0].student(n) = {40 + n % 50, 20, 20 + n % 30, -1, -1, -1, -1};
    }
    a.compute();
    return a;
}

struct Text {
    int x = -1, y = -1;
    QString font;
    double size = 0;
};

QJsonArray pages(const QJsonObject &layout) {
    return layout[QStringLiteral("pages")].toArray();
}

QList<Text> find(const QJsonObject &layout, int page, const QString &text) {
    QList<Text> found;
    for (const QJsonValue &op : pages(layout)[page][QStringLiteral("ops")].toArray())
        if (op[QStringLiteral("op")] == QLatin1String("text") &&
            op[QStringLiteral("text")].toString() == text)
            found.append({op[QStringLiteral("x")].toInt(), op[QStringLiteral("y")].toInt(),
                          op[QStringLiteral("font")].toString(), op[QStringLiteral("pointSize")].toDouble()});
    return found;
}

// The notice grid at 600 dpi: left 250, top 166, row 90 and column 100 pixels.
int noticeX(int column) {
    return 250 + 100 * column;
}
int noticeY(int row) {
    return 166 + 90 * row;
}

// A target that opens a recording canvas failing at a new page or at the end, or is cancelled.
class FailingTarget final : public PrintTarget {
public:
    int failAt = 0;
    bool cancel = false;
    int jobs = 0;
    Opened open(const Job &) override {
        ++jobs;
        Opened o;
        o.cancelled = cancel;
        if (!cancel) {
            auto canvas = std::make_unique<test::RecordingCanvas>();
            canvas->failAt = failAt;
            o.canvas = std::move(canvas);
        }
        return o;
    }
};

} // namespace

class TestPrintsTest : public QObject {
    Q_OBJECT

private slots:
    // The score list: a page per class, the title, the header with the full scores ("合計" the
    // window's total full score), the rows on the grid by the horizontal resolution, the score texts.
    void scoreList() {
        ScoreListData d;
        d.nendo = 2024;
        d.grade = 2;
        d.kyouka = QStringLiteral("国語");
        d.testName = QStringLiteral("中間テスト");
        d.classes = {1, 3};
        d.scores.resize(2);
        d.names.resize(720);
        d.names[6] = QStringLiteral("＊転出 生徒");
        d.names[11] = QStringLiteral("山田 花子");
        d.scores[0].student(7) = {-3, 30, -2, -1, -1, -1, -1};
        d.scores[0].student(12) = {85, 45, 40, -1, -1, -1, -1};
        d.fullScores = {100, 50, 40, 0, 0, 0, 0};
        RecordingPrintTarget target;
        const PrintOutcome out = printScoreList(d, target, QDateTime(QDate(2024, 4, 5), QTime(9, 3, 7)));
        QVERIFY(out.printed);
        QCOMPARE(out.pages, 2);
        const QJsonObject l = target.layout();
        QCOMPARE(l[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 得点一覧"));
        QCOMPARE(l[QStringLiteral("orientation")].toString(), QStringLiteral("portrait"));
        QCOMPARE(pages(l).size(), 2);
        // 600 dpi: left 333, top 550, row 96, column unit 48; text half a unit right, a quarter below.
        const QList<Text> title = find(l, 1, QStringLiteral("2024年度 2年生 国語 中間テスト 3組"));
        QCOMPARE(title.size(), 1);
        QCOMPARE(title[0].x, 500);
        QCOMPARE(title[0].y, 166);
        QCOMPARE(title[0].size, 20.0);
        QCOMPARE(find(l, 0, QStringLiteral("印刷日時: 2024/04/05 9:03:07"))[0].x, 333 + 30 * 96);
        QCOMPARE(find(l, 0, QStringLiteral("[100]")).size(), 1);
        QCOMPARE(find(l, 0, QStringLiteral("[90]")).size(), 0);
        QCOMPARE(find(l, 0, QStringLiteral("[40]"))[0].x, 333 + 12 * 96 + 24);
        QCOMPARE(find(l, 0, QStringLiteral("観点①"))[0].y, 550 - 96 + 12);
        // Number 7 one column unit further right than 12; the moved-away mark dropped.
        const Text seven = find(l, 0, QStringLiteral("7"))[0];
        QCOMPARE(seven.x, 333 + 3 * 48 + 24);
        QCOMPARE(seven.y, 550 + 7 * 96 + 12);
        QCOMPARE(find(l, 0, QStringLiteral("12"))[0].x, 333 + 2 * 48 + 24);
        QCOMPARE(find(l, 0, QStringLiteral("転出 生徒"))[0].y, seven.y);
        QCOMPARE(find(l, 0, QStringLiteral("  *"))[0].x, 333 + 24 * 96 + 24);
        QCOMPARE(find(l, 0, QStringLiteral("  -"))[0].x, 333 + 12 * 96 + 24);
        QCOMPARE(find(l, 0, QStringLiteral(" 85"))[0].y, 550 + 12 * 96 + 12);
        QCOMPARE(find(l, 0, QStringLiteral("TAVRO for Windows"))[0].y, 550 + 61 * 96 + 7);
        // The frame and the thick rules under the header and every fifth student.
        int frames = 0, thick = 0;
        for (const QJsonValue &op : pages(l)[0][QStringLiteral("ops")].toArray()) {
            if (op[QStringLiteral("op")] == QLatin1String("rect")) {
                ++frames;
                QCOMPARE(op[QStringLiteral("top")].toInt(), 550 - 96 - 3);
                QCOMPARE(op[QStringLiteral("right")].toInt(), 333 + 86 * 48);
            }
            if (op[QStringLiteral("op")] == QLatin1String("line") && op[QStringLiteral("width")].toInt() > 1)
                ++thick;
        }
        QCOMPARE(frames, 1);
        QCOMPARE(thick, 12);
    }

    // The class list: no class asks for one and opens no job; else a page per class with the grid's
    // cells of the class.
    void classList() {
        TestAggregation a = grade(2, 3);
        a.names[60] = QStringLiteral("二組 生徒");
        a.scores[0][1].student(1) = {70, -1, -1, -1, -1, -1, -1};
        a.compute();
        test::ScriptedPrompter prompter;
        RecordingPrintTarget target;
        const QDateTime now(QDate(2024, 4, 5), QTime(13, 0));
        PrintOutcome out = printClassList(a, {}, target, prompter, now);
        QVERIFY(!out.printed);
        QCOMPARE(target.jobs(), 0);
        QCOMPARE(prompter.shown().size(), 1);
        QCOMPARE(prompter.shown()[0].caption, QStringLiteral("Tavro"));
        QCOMPARE(prompter.shown()[0].text, QStringLiteral("学級を選択してください。"));

        out = printClassList(a, {1, 2}, target, prompter, now);
        QVERIFY(out.printed);
        const QJsonObject l = target.layout();
        QCOMPARE(l[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 学級別一覧"));
        QCOMPARE(pages(l).size(), 2);
        QCOMPARE(find(l, 1, QStringLiteral("2024年度 1年生 中間テスト - 2組")).size(), 1);
        QCOMPARE(find(l, 1, QStringLiteral("二組 生徒")).size(), 1);
        // Class 1, number 2: 国語 42 at 16 column units; the total and both ranks.
        const Text kokugo = find(l, 0, QStringLiteral(" 42"))[0];
        QCOMPARE(kokugo.x, 333 + 16 * 48 + 24);
        QCOMPARE(kokugo.y, 550 + 2 * 96 + 12);
        const QString total = a.gridText(2, 13);
        QCOMPARE(find(l, 0, total)[0].x, 333 + 46 * 48 + 24);
        QCOMPARE(find(l, 0, QStringLiteral("  年")).size(), 1);
        QCOMPARE(find(l, 0, QStringLiteral("素点"))[0].size, 7.0);
    }

    // 37 students fill one page (two columns of 18) and put one notice on the next; the range
    // counts notices and the placement counts printed ones; an empty class prints nothing.
    void noticePages() {
        TestAggregation a = grade(2, 37);
        a.names[4] = QStringLiteral("＊");
        a.names[37] = QStringLiteral("生徒38");
        a.compute();
        test::ScriptedPrompter prompter;
        RecordingPrintTarget target;
        PrintOutcome out = printNotices(a, NoticeKind::Five, false, {1}, target, prompter);
        QVERIFY(out.printed);
        QCOMPARE(out.pages, 2);
        QJsonObject l = target.layout();
        QCOMPARE(l[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 得点通知資料"));
        QCOMPARE(find(l, 0, QStringLiteral("中間テスト")).size(), 36);
        QCOMPARE(find(l, 1, QStringLiteral("中間テスト")).size(), 1);
        // Notice 19 (number 20 after the "＊" seat) heads the right column.
        const Text nineteenth = find(l, 0, QStringLiteral("1年 1組 20番"))[0];
        QCOMPARE(nineteenth.x, noticeX(22));
        QCOMPARE(nineteenth.y, noticeY(1));
        QCOMPARE(find(l, 0, QStringLiteral("得　点"))[0].x, noticeX(6));
        QCOMPARE(find(l, 0, QStringLiteral("合計"))[0].x, noticeX(19));
        QCOMPARE(find(l, 1, QStringLiteral("生徒38"))[0].y, noticeY(2));
        // Cut marks on every page.
        QCOMPARE(find(l, 1, QStringLiteral("|")).size(), 6);
        QCOMPARE(find(l, 1, QStringLiteral("―")).size(), 38);
        QCOMPARE(find(l, 1, QStringLiteral("―"))[0].y, noticeY(-1));

        target.setPageRange(2, 3);
        out = printNotices(a, NoticeKind::Five, false, {1}, target, prompter);
        l = target.layout();
        QCOMPARE(out.pages, 1);
        QCOMPARE(find(l, 0, QStringLiteral("中間テスト")).size(), 2);
        QCOMPARE(find(l, 0, QStringLiteral("1年 1組 2番"))[0].y, noticeY(1));
        target.setPageRange(0, 0);

        const int jobs = target.jobs();
        out = printNotices(a, NoticeKind::Five, false, {2}, target, prompter);
        QVERIFY(!out.printed && out.error.isEmpty());
        QCOMPARE(target.jobs(), jobs);
        out = printNotices(a, NoticeKind::Nine, false, {}, target, prompter);
        QCOMPARE(target.jobs(), jobs);
        QCOMPARE(prompter.shown().last().text, QStringLiteral("学級を選択してください。"));

        // 15 viewpoint notices: 14 and 1.
        TestAggregation fifteen = grade(1, 15);
        out = printNotices(fifteen, NoticeKind::Viewpoints, false, {1}, target, prompter);
        QCOMPARE(out.pages, 2);
        l = target.layout();
        QCOMPARE(find(l, 0, QStringLiteral("得点")).size(), 14);
        QCOMPARE(find(l, 1, QStringLiteral("得点")).size(), 1);
        QCOMPARE(find(l, 1, QStringLiteral("|"))[0].x, noticeX(-2));
        QCOMPARE(find(l, 0, QStringLiteral("1年 1組 2番"))[0].y, noticeY(5) + 60);
    }

    // The notice cells: "*" for a missing score and the empty total, standard scores or means
    // (Marume 0 rounds half to even, 1 keeps a decimal, a tie away from zero), the 100-point conversion with
    // "*" for a full score of 0, never INF or NAN.
    void noticeCells() {
        QCOMPARE(noticeMean(72.5f, 0), QStringLiteral("72"));
        QCOMPARE(noticeMean(73.5f, 0), QStringLiteral("74"));
        QCOMPARE(noticeMean(72.25f, 1), QStringLiteral("72.3"));
        QCOMPARE(noticeMean(0.0f, 0), QString());
        QCOMPARE(hundredPoint(45, 60, 100, 0), QStringLiteral("75"));
        QCOMPARE(hundredPoint(45, 60, 100, 1), QStringLiteral("75.0"));
        QCOMPARE(hundredPoint(10, 0, 100, 1), QStringLiteral("*"));
        QCOMPARE(hundredPoint(-2, 100, 100, 0), QStringLiteral("*"));
        QCOMPARE(hundredPoint(250, 400, 500, 0), QStringLiteral("312"));

        TestAggregation a = grade(1, 2);
        // 国語 70 and 75: mean 72.5; 英語 missing for number 2.
        a.scores[0][0].student(1)[0] = 70;
        a.scores[0][0].student(2)[0] = 75;
        a.scores[4][0].student(2)[0] = -1;
        a.fullScores[1].values[0] = 0;
        a.compute();
        test::ScriptedPrompter prompter;
        RecordingPrintTarget target;
        QVERIFY(printNotices(a, NoticeKind::Five, true, {1}, target, prompter).printed);
        QJsonObject l = target.layout();
        QCOMPARE(find(l, 0, QStringLiteral("平均点")).size(), 2);
        QCOMPARE(find(l, 0, QStringLiteral(" 72"))[0].x, noticeX(9));
        QCOMPARE(find(l, 0, QStringLiteral(" 72"))[0].y, noticeY(2));
        // Number 2: "*" for 英語 and for the total.
        QCOMPARE(find(l, 0, QStringLiteral("  *")).size(), 2);
        QCOMPARE(find(l, 0, QStringLiteral("  *"))[0].y, noticeY(5));

        a.setMarume(1);
        QVERIFY(printNotices(a, NoticeKind::Five, true, {1}, target, prompter).printed);
        QCOMPARE(find(target.layout(), 0, QStringLiteral("72.5")).size(), 2);

        QVERIFY(printNotices(a, NoticeKind::Hundred, false, {1}, target, prompter).printed);
        l = target.layout();
        QCOMPARE(find(l, 0, QStringLiteral(" 100点")).size(), 2);
        QCOMPARE(find(l, 0, QStringLiteral("70.0"))[0].y, noticeY(3));
        // 社会 has a full score of 0; the total's full scores sum to 400.
        QCOMPARE(find(l, 0, QStringLiteral("  *"))[0].x, noticeX(11));
        for (const QJsonValue &op : pages(l)[0][QStringLiteral("ops")].toArray()) {
            const QString t = op[QStringLiteral("text")].toString();
            QVERIFY2(!t.contains(QStringLiteral("inf"), Qt::CaseInsensitive) &&
                         !t.contains(QStringLiteral("nan"), Qt::CaseInsensitive),
                     qPrintable(t));
        }

        // Nine subjects with standard scores: the headings in 7 pt to 技家.
        QVERIFY(printNotices(a, NoticeKind::Nine, false, {1}, target, prompter).printed);
        l = target.layout();
        QCOMPARE(find(l, 0, QStringLiteral("技家")).size(), 2);
        QCOMPARE(find(l, 0, QStringLiteral("技家"))[0].size, 7.0);
        QVERIFY(find(l, 0, QStringLiteral("技家"))[0].x < noticeX(21));
    }

    // A failing device ends the print with "印刷できませんでした。" and the reason; a cancel is quiet.
    void failures() {
        TestAggregation a = grade(1, 40);
        test::ScriptedPrompter prompter;
        FailingTarget target;
        target.failAt = 1;
        PrintOutcome out = printNotices(a, NoticeKind::Five, false, {1}, target, prompter);
        QVERIFY(!out.printed);
        QCOMPARE(out.error, QStringLiteral("印刷できませんでした。\r\n改ページできませんでした。"));
        target.failAt = -1;
        out = printClassList(a, {1}, target, prompter, QDateTime());
        QCOMPARE(out.error, QStringLiteral("印刷できませんでした。\r\n印刷を終了できませんでした。"));
        target.cancel = true;
        out = printNotices(a, NoticeKind::Viewpoints, false, {1}, target, prompter);
        QVERIFY(!out.printed && out.cancelled && out.error.isEmpty());
        QVERIFY(prompter.shown().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPrintsTest)
#include "TestPrintsTest.moc"
