#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/ItemSettings.h"
#include "evaluation/WorksheetViews.h"
#include "support/CliRun.h"
#include "support/TestDoubles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using tavro::test::cli;

namespace {

constexpr int kYear = 2024;

// The demo's grade 1 国語 worksheet, classes 1 and 2 in charge.
struct Demo {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    QString teacher;
    Demo() {
        QVERIFY(DemoSchool::write(folder, kYear));
        test::FixedClock clock;
        QVERIFY(demo::calculateFirstPeriod(folder, kYear, clock, nullptr));
        teacher = DemoSchool::teacherNames()[1];
    }
    QStringList worksheet() const {
        return {QStringLiteral("--data"),    folder,
                QStringLiteral("--year"),    QString::number(kYear),
                QStringLiteral("--grade"),   QStringLiteral("1"),
                QStringLiteral("--subject"), QStringLiteral("国語"),
                QStringLiteral("--teacher"), teacher,
                QStringLiteral("--classes"), QStringLiteral("12")};
    }
    std::unique_ptr<EvaluationSession> session() const {
        EvaluationContext c;
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.teacherName = teacher;
        c.chargeClasses = QStringLiteral("12");
        auto s = std::make_unique<EvaluationSession>(c);
        test::ScriptedPrompter prompter;
        s->load(prompter);
        return s;
    }
};

QJsonDocument json(const test::CliRun &run) {
    return QJsonDocument::fromJson(run.bytes);
}

} // namespace

class WorksheetCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // item imports a linked test and saves; the views print what the session computes.
    void itemAndViewsAgreeWithTheSession() {
        Demo demo;
        const test::CliRun tests = cli(QStringList{QStringLiteral("item")} + demo.worksheet() +
                                       QStringList{QStringLiteral("--list-tests")});
        QCOMPARE(tests.status, 0);
        QVERIFY(tests.out.startsWith(QStringLiteral("periodic\t1\t110\t")));

        const test::CliRun item =
            cli(QStringList{QStringLiteral("item")} + demo.worksheet() +
                QStringList{QStringLiteral("--item"), QStringLiteral("20"), QStringLiteral("--kind"),
                            QStringLiteral("2"), QStringLiteral("--test"), QStringLiteral("2")});
        QCOMPARE(item.status, 0);
        auto s = demo.session();
        const Worksheet &w = s->worksheet();
        QCOMPARE(w.item(20).link, 120);
        int imported = 0;
        for (int slot : s->rows())
            imported += w.score(20, slot) >= 0;
        QCOMPARE(item.out,
                 QStringLiteral("項目20 満点%1 取り込み%2人\n").arg(w.item(20).fullScore).arg(imported));
        QVERIFY(imported > 0);

        const test::CliRun refused =
            cli(QStringList{QStringLiteral("item")} + demo.worksheet() +
                QStringList{QStringLiteral("--item"), QStringLiteral("21"), QStringLiteral("--kind"),
                            QStringLiteral("2"), QStringLiteral("--link"), QStringLiteral("170")});
        QCOMPARE(refused.status, 1);

        const QStringList period{QStringLiteral("--period"), QStringLiteral("1"), QStringLiteral("--json")};
        const QJsonArray shares =
            json(cli(QStringList{QStringLiteral("shares")} + demo.worksheet() + period)).array();
        const std::vector<int> &expected = s->weightedShares(1);
        QVERIFY(!shares.isEmpty());
        for (const QJsonValue &v : shares)
            QCOMPARE(v[QStringLiteral("share")].toInt(),
                     expected[std::size_t(v[QStringLiteral("item")].toInt() - 1)]);

        const QJsonObject dist =
            json(cli(QStringList{QStringLiteral("distribution")} + demo.worksheet() + period)).object();
        const checks::Distribution d = checks::distribution(s->results(), s->settings(), false, 1, 0);
        QCOMPARE(dist[QStringLiteral("symbols")].toArray().first().toString(), d.symbols[0]);
        for (int row = 0; row < 10; ++row)
            for (int c = 0; c < 13; ++c)
                QCOMPARE(dist[QStringLiteral("counts")][row][c].toInt(),
                         d.counts[std::size_t(row)][std::size_t(c)]);
        QVERIFY(d.counts[10][12] > 0);

        const QJsonArray analysis =
            json(cli(QStringList{QStringLiteral("analysis")} + demo.worksheet() +
                     QStringList{QStringLiteral("--class"), QStringLiteral("1"), QStringLiteral("--number"),
                                 QStringLiteral("2"), QStringLiteral("--json")}))
                .array();
        const auto rows = views::analysisRows(*s, slotOf(1, 2));
        QCOMPARE(analysis.size(), qsizetype(rows.size()));
        for (qsizetype i = 0; i < analysis.size(); ++i) {
            QCOMPARE(analysis[i][QStringLiteral("score")].toString(), rows[std::size_t(i)].score);
            QCOMPARE(analysis[i][QStringLiteral("standardScore")].toString(),
                     rows[std::size_t(i)].standardScore);
            QCOMPARE(analysis[i][QStringLiteral("achievement")].toString(), rows[std::size_t(i)].achievement);
        }
    }
};

QTEST_GUILESS_MAIN(WorksheetCommandsTest)
#include "WorksheetCommandsTest.moc"
