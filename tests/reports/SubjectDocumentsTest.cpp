#include "reports/SubjectDocuments.h"

#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "reports/LayoutRecorder.h"
#include "support/TestDoubles.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using namespace tavro::reports;

namespace {

constexpr int kYear = 2024;
const QString kLongName = QStringLiteral("ｱ長谷川木乃香寿々菜"); // 19 bytes
const QString kLongComment = QString(38, QChar(0x3042));         // 76 bytes

// The demo school with period 1 calculated, the roster's first two seats renamed, and the 国語
// worksheet of grade 1 open.
struct Subject {
    QTemporaryDir dir;
    QString folder;
    test::ScriptedPrompter prompter;
    std::unique_ptr<EvaluationSession> session;

    bool open(bool elective = false, const QString &kyouka = QStringLiteral("国語"),
              bool hideAchievement = false) {
        folder = dir.path() + u'/';
        test::FixedClock clock;
        if (!DemoSchool::write(folder, kYear) || !demo::calculateFirstPeriod(folder, kYear, clock, nullptr))
            return false;
        if (hideAchievement) {
            YearSettings y = YearSettings::load(folder, kYear);
            for (SymbolPattern &p : y.patterns)
                p.totatuDisp = 1;
            if (!y.save(folder, kYear))
                return false;
        }
        const QString roster = paths::rosterFile(folder, kYear, 1);
        std::vector<RosterEntry> entries = roster::readEntries(roster);
        entries[0].name = QStringLiteral("＊") + kLongName;
        if (!roster::write(roster, entries, true))
            return false;
        EvaluationContext c;
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = kyouka;
        c.elective = elective;
        c.chargeClasses = QStringLiteral("123");
        for (const QString &t : DemoSchool::teacherNames())
            if (QFile::exists(paths::worksheetFile(folder, t, kYear, 1, kyouka)))
                c.teacherName = t;
        if (c.teacherName.isEmpty())
            c.teacherName = DemoSchool::teacherNames().at(1);
        session = std::make_unique<EvaluationSession>(c);
        session->load(prompter);
        return true;
    }

    QJsonObject print(SubjectDocument document, const std::vector<int> &classes, int period = 1) {
        RecordingPrintTarget target;
        const PrintOutcome out = printSubjectDocument(document, *session, period, classes, target, prompter,
                                                      QDateTime(QDate(2024, 7, 19), QTime(15, 0)));
        return out.printed ? target.layout() : QJsonObject();
    }
};

QJsonArray pages(const QJsonObject &layout) {
    return layout[QStringLiteral("pages")].toArray();
}

QList<QJsonObject> textOps(const QJsonValue &page) {
    QList<QJsonObject> list;
    for (const QJsonValue &op : page[QStringLiteral("ops")].toArray())
        if (op[QStringLiteral("op")].toString() == QLatin1String("text"))
            list.append(op.toObject());
    return list;
}

QStringList texts(const QJsonValue &page) {
    QStringList list;
    for (const QJsonObject &op : textOps(page))
        list.append(op[QStringLiteral("text")].toString());
    return list;
}

QStringList allTexts(const QJsonObject &layout) {
    QStringList list;
    for (const QJsonValue &page : pages(layout))
        list += texts(page);
    return list;
}

// The right end of a text drawn by the recorder without a device (half an em per byte).
int rightEnd(const QJsonObject &op) {
    return op[QStringLiteral("x")].toInt() + int(cp932::byteLength(op[QStringLiteral("text")].toString()) *
                                                 op[QStringLiteral("pointSize")].toDouble() * 600 / 144.0);
}

// A print target whose job cannot be opened, or whose canvas fails at the n-th new page.
class FailingTarget final : public PrintTarget {
public:
    int failAt = 0;
    QString error;
    Opened open(const Job &) override {
        Opened o;
        if (!error.isEmpty()) {
            o.error = error;
            return o;
        }
        auto canvas = std::make_unique<test::RecordingCanvas>();
        canvas->failAt = failAt;
        o.canvas = std::move(canvas);
        return o;
    }
};

} // namespace

class SubjectDocumentsTest : public QObject {
    Q_OBJECT

private slots:
    // The shares of the viewpoint ratios, a sum of 0 printing none; 資料A with its copies, headings and
    // the grade total of the distribution.
    void shiryouAAndShares() {
        Subject s;
        QVERIFY(s.open());
        Worksheet &w = s.session->worksheet();
        const auto setRatios = [&](std::array<int, 6> r) {
            for (int v = 1; v <= kViewpoints; ++v)
                w.viewpointRatio(1, v) = r[std::size_t(v - 1)];
        };
        setRatios({1, 2, 0, 0, 0, 0});
        QCOMPARE(viewpointShare(w, 1, 1), QStringLiteral("33%"));
        QCOMPARE(viewpointShare(w, 1, 2), QStringLiteral("67%"));
        QCOMPARE(viewpointShare(w, 1, 3), QString());
        setRatios({1, 1, 1, 0, 0, 0});
        QCOMPARE(viewpointShare(w, 1, 3), QStringLiteral("33%"));
        setRatios({0, 0, 0, 0, 0, 0});
        QCOMPARE(viewpointShare(w, 1, 1), QString());
        QJsonObject layout = s.print(SubjectDocument::ShiryouA, {});
        QCOMPARE(pages(layout).size(), 1);
        for (const QString &t : allTexts(layout))
            QVERIFY2(!t.endsWith(u'%'), qPrintable(t));

        setRatios({40, 40, 20, 0, 0, 0});
        layout = s.print(SubjectDocument::ShiryouA, {});
        QCOMPARE(layout[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 評定資料A"));
        QCOMPARE(layout[QStringLiteral("copies")].toInt(), 3);
        const QStringList t = texts(pages(layout)[0]);
        for (const QString &expected :
             {QStringLiteral("提出資料A"), QStringLiteral("観点①"), QStringLiteral("観点⑥"),
              QStringLiteral("40%"), QStringLiteral("20%"), QStringLiteral("評定の人数分布"),
              QStringLiteral("1組"), QStringLiteral("3組")})
            QVERIFY2(t.contains(expected), qPrintable(expected));

        // The grand total: named students whose evaluation is one of the pattern's symbols.
        const SymbolPattern *pattern = s.session->evaluationPattern(1);
        QVERIFY(pattern);
        int expected = 0;
        for (int cls = 1; cls <= 3; ++cls)
            for (int n = 1; n <= kSeatsPerClass; ++n) {
                const int slot = slotOf(cls, n);
                const QString &e = s.session->results().at(1, slot).evaluation;
                expected +=
                    !s.session->nameOf(slot).isEmpty() && !e.isEmpty() &&
                    std::find(pattern->kigou.begin(), pattern->kigou.end(), e) != pattern->kigou.end();
            }
        QVERIFY(expected > 0);
        const QList<QJsonObject> ops = textOps(pages(layout)[0]);
        int totalRow = -1;
        for (const QJsonObject &op : ops)
            if (op[QStringLiteral("text")].toString() == QStringLiteral("合計") && totalRow < 0 &&
                op[QStringLiteral("x")].toInt() < pixels(200 + 9 * 70, 600))
                totalRow = op[QStringLiteral("y")].toInt();
        QVERIFY(totalRow > 0);
        QJsonObject last;
        for (const QJsonObject &op : ops)
            if (op[QStringLiteral("y")].toInt() == totalRow &&
                (last.isEmpty() || op[QStringLiteral("x")].toInt() > last[QStringLiteral("x")].toInt()))
                last = op;
        QCOMPARE(last[QStringLiteral("text")].toString().trimmed().toInt(), expected);
    }

    // 資料B..E: page counts, the page marks, names without "＊" cut on whole characters, 資料D breaking
    // after 14 items with a symbol estimate of 0 in its display text, 資料E's long comment on the paper.
    void listDocuments() {
        Subject s;
        QVERIFY(s.open());
        EvaluationSession &session = *s.session;
        QCOMPARE(printedName(QStringLiteral("＊") + kLongName), QStringLiteral("ｱ長谷川木乃香"));
        QCOMPARE(printedName(QString(8, QChar(0x3042))), QString(7, QChar(0x3042)));
        QCOMPARE(printedName(QStringLiteral("山田")), QStringLiteral("山田"));

        QJsonObject c = s.print(SubjectDocument::ShiryouC, {1, 3});
        QCOMPARE(pages(c).size(), 2);
        const QStringList c1 = texts(pages(c)[0]);
        QVERIFY(c1.contains(QStringLiteral("提出資料C")));
        QVERIFY(c1.contains(QStringLiteral("ｱ長谷川木乃香")));
        QVERIFY(c1.contains(QStringLiteral(" 60")));
        QVERIFY(c1.first().contains(QStringLiteral(" 1年1組 国語 評定者：")));
        QVERIFY(texts(pages(c)[1]).first().contains(QStringLiteral("1年3組")));
        // The overall achievement at column 32 is left out when "TotatuDisp" hides it.
        const auto atColumn32 = [](const QJsonObject &layout) {
            int n = 0;
            const int x = pixels(200, 600) + 32 * pixels(70, 600);
            for (const QJsonObject &op : textOps(pages(layout)[0]))
                n += op[QStringLiteral("x")].toInt() >= x && op[QStringLiteral("x")].toInt() < x + 100;
            return n;
        };
        QVERIFY(atColumn32(c) > 10);
        Subject hidden;
        QVERIFY(hidden.open(false, QStringLiteral("国語"), true));
        QCOMPARE(atColumn32(hidden.print(SubjectDocument::ShiryouC, {1})), 1); // the heading "評定"

        Worksheet &w = session.worksheet();
        std::fill(w.itemRatios.begin(), w.itemRatios.end(), 0);
        for (int item = 1; item <= 15; ++item)
            w.itemRatio(item, 1, 2) = 10;
        w.item(1).symbolInput = true;
        w.item(1).fullScore = 5;
        std::fill(w.itemScores(1), w.itemScores(1) + kSlots, 4);
        w.score(1, slotOf(1, 2)) = score::estimate(0);
        const QJsonObject d = s.print(SubjectDocument::ShiryouD, {1, 2});
        QCOMPARE(pages(d).size(), 4);
        QVERIFY(texts(pages(d)[0]).contains(QStringLiteral("提出資料D (1/2)")));
        QVERIFY(texts(pages(d)[3]).contains(QStringLiteral("提出資料D (2/2)")));
        const auto headings = [](const QJsonValue &page) {
            int n = 0;
            for (const QString &t : texts(page))
                n += t.startsWith(u'[') && t.endsWith(u']');
            return n;
        };
        QCOMPARE(headings(pages(d)[0]), 14);
        QCOMPARE(headings(pages(d)[1]), 1);
        QVERIFY(texts(pages(d)[0]).contains(QStringLiteral(" *0 ")));
        QVERIFY(!allTexts(d).contains(QStringLiteral("  ??")));
        std::fill(w.itemRatios.begin(), w.itemRatios.end(), 0);
        QCOMPARE(pages(s.print(SubjectDocument::ShiryouD, {1})).size(), 1);
        // No item carries weight: 資料B still prints its headings on one page.
        QCOMPARE(pages(s.print(SubjectDocument::ShiryouB, {})).size(), 1);

        // 資料E: the year-end period (学年末評定) only.
        QVERIFY(s.print(SubjectDocument::ShiryouE, {1}).isEmpty());
        session.results().at(4, slotOf(1, 3)).comment = kLongComment;
        const QJsonObject e = s.print(SubjectDocument::ShiryouE, {1}, 4);
        QCOMPARE(pages(e).size(), 1);
        QList<QJsonObject> commentLines;
        for (const QJsonObject &op : textOps(pages(e)[0]))
            if (kLongComment.startsWith(op[QStringLiteral("text")].toString()) ||
                kLongComment.endsWith(op[QStringLiteral("text")].toString()))
                commentLines.append(op);
        QVERIFY(!commentLines.isEmpty());
        QString joined;
        for (const QJsonObject &op : commentLines) {
            QVERIFY(op[QStringLiteral("pointSize")].toDouble() >= 6);
            QVERIFY(rightEnd(op) <= pixels(200 + 36 * 70, 600));
            joined += op[QStringLiteral("text")].toString();
        }
        QCOMPARE(joined, kLongComment);
    }

    // The stored time 0 prints "評定未算出"; no class checked, a job that cannot be opened and a
    // device failing on a new page.
    void datesAndFailures() {
        Subject s;
        QVERIFY(s.open());
        QCOMPARE(computedAtText(0), QStringLiteral("評定未算出"));
        s.session->results().dateTime(1) = 0;
        const QJsonObject a = s.print(SubjectDocument::ShiryouA, {});
        QVERIFY(texts(pages(a)[0]).contains(QStringLiteral("評定未算出")));
        for (const QString &t : allTexts(a))
            QVERIFY(!t.contains(QStringLiteral("1899")));
        QVERIFY(
            allTexts(s.print(SubjectDocument::Kohyou, {2})).contains(QStringLiteral("評定日時: 評定未算出")));

        RecordingPrintTarget none;
        const PrintOutcome unchecked = printSubjectDocument(SubjectDocument::ShiryouC, *s.session, 1, {},
                                                            none, s.prompter, QDateTime::currentDateTime());
        QVERIFY(!unchecked.printed);
        QVERIFY(none.layout().isEmpty());
        QCOMPARE(s.prompter.shown().last().caption, QStringLiteral("Tavro"));
        QCOMPARE(s.prompter.shown().last().text, QStringLiteral("学級を選択してください。"));

        FailingTarget refused;
        refused.error = QStringLiteral("プリンタが見つかりません。");
        PrintOutcome out = printSubjectDocument(SubjectDocument::Cover, *s.session, 1, {}, refused,
                                                s.prompter, QDateTime::currentDateTime());
        QCOMPARE(out.error, QStringLiteral("印刷できませんでした。\r\nプリンタが見つかりません。"));
        FailingTarget broken;
        broken.failAt = 1;
        out = printSubjectDocument(SubjectDocument::ShiryouC, *s.session, 1, {1, 2}, broken, s.prompter,
                                   QDateTime::currentDateTime());
        QVERIFY(!out.printed);
        QVERIFY(out.error.startsWith(QStringLiteral("印刷できませんでした。\r\n")));
    }

    // The small sheets per checked class, the older layout with its counts and strip, and their cover
    // listing the students without an evaluation.
    void smallSheets() {
        Subject s;
        QVERIFY(s.open());
        EvaluationSession &session = *s.session;
        const QJsonObject k = s.print(SubjectDocument::Kohyou, {1, 3});
        QCOMPARE(k[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 小票"));
        QCOMPARE(pages(k).size(), 2);
        const QStringList k1 = texts(pages(k)[0]);
        QVERIFY(k1.contains(QStringLiteral("2024年度 1年 1組")));
        QVERIFY(texts(pages(k)[1]).contains(QStringLiteral("2024年度 1年 3組")));
        QVERIFY(k1.contains(QStringLiteral("評定者: [") + session.context().teacherName + u']'));
        QVERIFY(k1.contains(QStringLiteral("コメント (") + session.periodName(1) + u')'));

        const QJsonObject old = s.print(SubjectDocument::KohyouOld, {1});
        const QStringList o = texts(pages(old)[0]);
        for (const QString &expected :
             {QStringLiteral("評定人数"), QStringLiteral("↑チェックのため"), QStringLiteral("ここを切り離さ"),
              QStringLiteral("ないでください"), QStringLiteral("評定履歴"), QStringLiteral(" Ⅴ")})
            QVERIFY2(o.contains(expected), qPrintable(expected));
        std::array<int, 5> counts{};
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            const QString &e = session.results().at(1, slotOf(1, n)).evaluation;
            if (!session.nameOf(slotOf(1, n)).isEmpty() && e.size() == 1 && e[0] >= u'1' && e[0] <= u'5')
                ++counts[std::size_t(e.toInt() - 1)];
        }
        QVERIFY(o.contains(QString::asprintf("%3d", counts[4])));
        QVERIFY(o.contains(QString::asprintf("%3d", counts[0])));

        session.results().at(1, slotOf(1, 2)).evaluation.clear();
        const QJsonObject cover = s.print(SubjectDocument::KohyouCover, {});
        QCOMPARE(cover[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 鑑"));
        const QStringList ct = texts(pages(cover)[0]);
        QVERIFY(ct.contains(QStringLiteral("印刷日時：2024/07/19 15:00:00")));
        bool listed = false;
        for (const QString &t : ct)
            listed = listed || (t.startsWith(QStringLiteral("※評定しない生徒 → ")) &&
                                t.contains(QStringLiteral("【1組2番  】")));
        QVERIFY(listed);
        QVERIFY(ct.contains(QStringLiteral("※小票と一覧表の評定日時は、一致していなければなりません。")));
    }

    // Comments keep their size when they fit, shrink to 6 points, then wrap to two lines; an elective's
    // 資料C prints its group with numbered pages.
    void commentFitAndElective() {
        RecordingPrintTarget target;
        PrintTarget::Opened opened = target.open(PrintTarget::Job{});
        PageCanvas &canvas = *opened.canvas;
        FittedComment fit = fitComment(canvas, kMincho, 9, QStringLiteral("よくできました。"), 2000);
        QCOMPARE(fit.pointSize, 9.0);
        QCOMPARE(fit.lines, QStringList{QStringLiteral("よくできました。")});
        fit = fitComment(canvas, kMincho, 9, kLongComment, 2000);
        QVERIFY(fit.pointSize < 9 && fit.pointSize >= 6);
        QCOMPARE(fit.lines.size(), 1);
        fit = fitComment(canvas, kMincho, 9, kLongComment, 1000);
        QCOMPARE(fit.pointSize, 6.0);
        QCOMPARE(fit.lines.size(), 2);
        QCOMPARE(fit.lines.join(QString()), kLongComment);
        fit = fitComment(canvas, kMincho, 9, kLongComment + kLongComment, 600);
        QVERIFY(fit.lines[1].endsWith(QStringLiteral("…")));
        for (const QString &line : fit.lines)
            QVERIFY(canvas.textWidth(line) <= 600);

        Subject s;
        QVERIFY(s.open(true, QStringLiteral("選択国語")));
        QVERIFY(!s.session->rows().empty());
        const QJsonObject c = s.print(SubjectDocument::ShiryouC, {});
        QCOMPARE(pages(c).size(), 1);
        QVERIFY(texts(pages(c)[0]).contains(QStringLiteral("提出資料C (1/1)")));
        QVERIFY(texts(pages(c)[0]).first().contains(QStringLiteral(" 1年 選択国語 評定者：")));
    }
};

QTEST_MAIN(SubjectDocumentsTest)
#include "SubjectDocumentsTest.moc"
