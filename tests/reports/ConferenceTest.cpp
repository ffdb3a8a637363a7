#include "reports/Conference.h"

#include "common/DataPaths.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "reports/LayoutRecorder.h"
#include "reports/PageModel.h"
#include "support/TestDoubles.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using namespace tavro::reports;

namespace {

constexpr int kYear = 2024;

// A print target over a recording canvas that may fail.
class FailingTarget final : public PrintTarget {
public:
    int failAt = 0;
    bool cancel = false;
    Opened open(const Job &) override {
        Opened o;
        if (cancel) {
            o.cancelled = true;
            return o;
        }
        auto canvas = std::make_unique<test::RecordingCanvas>();
        canvas->failAt = failAt;
        o.canvas = std::move(canvas);
        return o;
    }
};

QStringList texts(const QJsonObject &page) {
    QStringList list;
    for (const QJsonValue &op : page[QStringLiteral("ops")].toArray())
        if (op[QStringLiteral("op")].toString() == QLatin1String("text"))
            list.append(op[QStringLiteral("text")].toString());
    return list;
}

} // namespace

class ConferenceTest : public QObject {
    Q_OBJECT

private slots:
    // Units, the grid at two resolutions, the cell operations and the era dates at their boundaries.
    void pageModel() {
        QCOMPARE(pixels(58, 600), 96);
        QCOMPARE(pixels(29, 600), 48);
        QCOMPARE(pixels(58, 300), 48);
        test::RecordingCanvas canvas;
        canvas.resolution = 300;
        const PageGrid g = PageGrid::fromUnits(canvas, 72, 36, 58, 29, 6);
        QCOMPARE(g.left, 60);
        QCOMPARE(g.top, 30);
        QCOMPARE(g.x(2), 60 + 2 * 24);
        QCOMPARE(g.y(-1), 30 - 48);
        Page page(canvas, g);
        page.number(0, 0, 7);
        page.number(0, 0, 100);
        page.padded(0, 0, QStringLiteral("5"));
        page.rightAligned(1, 0, QStringLiteral("85"));
        page.verticalLine(1, 0, 2);
        QCOMPARE(
            canvas.operations.mid(0, 5),
            (QStringList{QStringLiteral("text 60 30    7"), QStringLiteral("text 60 30  100"),
                         QStringLiteral("text 60 30   5"), QStringLiteral("text %1 30 85").arg(84 + 4 * 3),
                         QStringLiteral("line 79 25 79 121")}));

        QCOMPARE(eraDateTime(QDateTime(QDate(2024, 4, 15), QTime(9, 30))),
                 QStringLiteral("2024(令和06)年04月15日(月) 09:30:00"));
        QCOMPARE(eraDateTime(QDateTime(QDate(2019, 4, 30), QTime(0, 0))).left(9),
                 QStringLiteral("2019(平成31"));
        QCOMPARE(eraDateTime(QDateTime(QDate(2019, 5, 1), QTime(0, 0))).left(9),
                 QStringLiteral("2019(令和01"));
        QCOMPARE(eraDateTime(QDateTime(QDate(1989, 1, 7), QTime(0, 0))).left(9),
                 QStringLiteral("1989(昭和64"));
        QCOMPARE(eraDateTime(QDateTime(QDate(1989, 1, 8), QTime(0, 0))).left(9),
                 QStringLiteral("1989(平成01"));
        QCOMPARE(shortDateTime(QDateTime(QDate(2024, 4, 5), QTime(9, 3, 7))),
                 QStringLiteral("2024/04/05 9:03:07"));
    }

    // Two classes: the comments per subject (PE from B, else G), the thick rule above numbers 1, 6,
    // 11..., a class of 50 students on two pages, the page range without "＊", and the failures.
    void conferenceDocument() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        YearSettings y;
        y.classCount[0] = 2;
        QVERIFY(y.save(folder, kYear));
        std::vector<RosterEntry> roster(kSlots);
        for (int n : {1, 2, 6})
            roster[std::size_t(slotOf(1, n))].name = QStringLiteral("一組%1").arg(n);
        roster[std::size_t(slotOf(1, 7))].name = QStringLiteral("＊");
        for (int n = 1; n <= 50; ++n)
            roster[std::size_t(slotOf(2, n))].name = QStringLiteral("二組%1").arg(n);
        QVERIFY(roster::write(paths::rosterFile(folder, kYear, 1), roster, true));
        auto writeComment = [&](const QString &subject, int cls, int n, const QString &text) {
            EvaluationResults r;
            const QString path = paths::classResultFile(folder, kYear, 1, cls, subject);
            ClassResultFile::load(path, cls, r, true, nullptr);
            r.at(2, cls, n).comment = text;
            QVERIFY(ClassResultFile::save(path, r, cls));
        };
        writeComment(QStringLiteral("国語"), 1, 2, QStringLiteral("音読が上手"));
        writeComment(QStringLiteral("保体G"), 1, 2, QStringLiteral("よく走る"));
        writeComment(QStringLiteral("保体B"), 1, 6, QStringLiteral("水泳"));
        writeComment(QStringLiteral("保体G"), 1, 6, QStringLiteral("使わない"));
        writeComment(QStringLiteral("英語"), 1, 1, QString(40, QChar(0x3042)));

        test::ScriptedPrompter prompter;
        const ConferenceData data = ConferenceData::load(folder, kYear, 1, 1, 2, QStringLiteral("2学期"),
                                                         QStringLiteral("さくら台中"), true, &prompter);
        QCOMPARE(data.comment(0, slotOf(1, 2)), QStringLiteral("音読が上手"));
        QCOMPARE(data.comment(6, slotOf(1, 2)), QStringLiteral("よく走る"));
        QCOMPARE(data.comment(6, slotOf(1, 6)), QStringLiteral("水泳"));
        QCOMPARE(data.printableCount({1, 2}), 53);

        RecordingPrintTarget target;
        const QDateTime now(QDate(2024, 12, 20), QTime(16, 5));
        const PrintOutcome out = printConference(data, {1, 2}, target, prompter, now);
        QVERIFY2(out.printed, qPrintable(out.error));
        const QJsonObject layout = target.layout();
        QCOMPARE(layout[QStringLiteral("orientation")].toString(), QStringLiteral("landscape"));
        QCOMPARE(layout[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 懇談資料A"));
        const QJsonArray pages = layout[QStringLiteral("pages")].toArray();
        QCOMPARE(pages.size(), 3);
        const QStringList first = texts(pages[0].toObject());
        QVERIFY(first.contains(QStringLiteral("2学期 懇談資料")));
        QVERIFY(first.contains(QStringLiteral("さくら台中 2024年度 1年 1組 ")));
        QVERIFY(first.contains(QStringLiteral("印刷日時： 2024(令和06)年12月20日(金) 16:05:00")));
        QVERIFY(first.contains(QStringLiteral(" 6 一組6")));
        QVERIFY(first.contains(QStringLiteral(" 7 ＊")));
        QVERIFY(first.contains(QStringLiteral("水泳")));
        // The long comment: a first line and a rest that ends with "…" or fits.
        const auto longest = std::find_if(first.begin(), first.end(),
                                          [](const QString &t) { return t.startsWith(QChar(0x3042)); });
        QVERIFY(longest != first.end());
        QVERIFY(longest->size() < 40);
        // Thick rules: the pen goes thick before the rules above numbers 1 and 6, not 2.
        int thickLines = 0;
        for (const QJsonValue &op : pages[0][QStringLiteral("ops")].toArray())
            if (op[QStringLiteral("op")].toString() == QLatin1String("line") &&
                op[QStringLiteral("width")].toInt() > 1)
                ++thickLines;
        QCOMPARE(thickLines, 2);
        QVERIFY(texts(pages[2].toObject()).contains(QStringLiteral("50 二組50")));
        QVERIFY(texts(pages[2].toObject()).contains(QStringLiteral("さくら台中 2024年度 1年 2組 ")));

        // The dialog offers the pages of the material (50 students of class 2 take two); a range chosen
        // there prints only its pages.
        QCOMPARE(data.pageCount({1, 2}), 3);
        QCOMPARE(data.pageCount({1}), 1);
        RecordingPrintTarget ranged;
        ranged.setPageRange(2, 3);
        QVERIFY(printConference(data, {1, 2}, ranged, prompter, now).printed);
        const QJsonArray chosen = ranged.layout()[QStringLiteral("pages")].toArray();
        QCOMPARE(chosen.size(), 2);
        QVERIFY(texts(chosen[0].toObject()).contains(QStringLiteral(" 1 二組1")));
        QVERIFY(texts(chosen[1].toObject()).contains(QStringLiteral("50 二組50")));

        const QJsonObject json = conferenceJson(data, {1});
        QCOMPARE(json[QStringLiteral("pageRange")].toArray(), (QJsonArray{1, 1}));
        QCOMPARE(json[QStringLiteral("classes")][0][QStringLiteral("students")].toArray().size(), 4);

        // No class: the message and no job; a cancelled dialog; a printer failing at a new page or the end.
        prompter.clear();
        QVERIFY(!printConference(data, {}, target, prompter, now).printed);
        QCOMPARE(prompter.texts(), QStringList{selectClassMessage()});
        FailingTarget failing;
        failing.cancel = true;
        QVERIFY(printConference(data, {1, 2}, failing, prompter, now).cancelled);
        failing.cancel = false;
        failing.failAt = 1;
        PrintOutcome failed = printConference(data, {1, 2}, failing, prompter, now);
        QVERIFY(!failed.printed);
        QVERIFY(failed.error.startsWith(QStringLiteral("印刷できませんでした。")));
        failing.failAt = -1;
        QVERIFY(!printConference(data, {1}, failing, prompter, now).printed);
    }
};

QTEST_MAIN(ConferenceTest)
#include "ConferenceTest.moc"
