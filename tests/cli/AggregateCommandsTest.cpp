#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "common/Cp932.h"
#include "evaluation/GradeHyouteiStore.h"
#include "support/CliRun.h"
#include "support/TestDoubles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using tavro::test::cli;

class AggregateCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_folder = m_dir.path() + u'/';
    GradeHyouteiStore m_store;

    QStringList common(int grade) const {
        return {QStringLiteral("--data"),   m_folder,
                QStringLiteral("--year"),   QStringLiteral("2024"),
                QStringLiteral("--grade"),  QString::number(grade),
                QStringLiteral("--period"), QStringLiteral("1")};
    }

private slots:
    void initTestCase() {
        QVERIFY(DemoSchool::write(m_folder, 2024));
        test::FixedClock clock;
        QVERIFY(demo::calculateFirstPeriod(m_folder, 2024, clock, nullptr));
        QVERIFY(demo::writeGradeResults(m_folder, 2024, clock, nullptr));
        m_store.load({m_folder, 2024, 3, 1, QStringLiteral("1学期評定"), 1, true});
    }

    // aggregate --json: the store as loaded; every best record is one of the student's records.
    void json() {
        const test::CliRun run =
            cli(QStringList{QStringLiteral("aggregate")} + common(3) + QStringList{QStringLiteral("--json")});
        QCOMPARE(run.status, 0);
        const QJsonObject o = QJsonDocument::fromJson(run.bytes).object();
        QCOMPARE(o[QStringLiteral("periodName")].toString(), QStringLiteral("1学期評定"));
        QCOMPARE(o[QStringLiteral("classCount")].toInt(), 3);
        QCOMPARE(o[QStringLiteral("fileSubjects")].toArray().size(), 10);
        QCOMPARE(o[QStringLiteral("displaySubjects")].toArray().size(), 9);
        QCOMPARE(o[QStringLiteral("limitExceeded")].toBool(), false);
        const QJsonArray electives = o[QStringLiteral("electives")].toArray();
        QCOMPARE(electives.size(), 2);
        QCOMPARE(electives[1][QStringLiteral("name")].toString(), QStringLiteral("選択英語B"));
        QCOMPARE(electives[1][QStringLiteral("subject")].toString(), QStringLiteral("英語"));
        QVERIFY(electives[1][QStringLiteral("loaded")].toBool());
        const QJsonArray records = o[QStringLiteral("records")].toArray();
        QCOMPARE(records.size(), int(m_store.records().size()) - 1);
        const QJsonArray students = o[QStringLiteral("students")].toArray();
        QCOMPARE(students.size(), 180);
        int bests = 0;
        for (const QJsonValue &s : students) {
            QCOMPARE(s[QStringLiteral("required")].toArray().size(), 10);
            const QJsonArray best = s[QStringLiteral("best")].toArray();
            QCOMPARE(best.size(), 9);
            for (int d = 0; d < 9; ++d) {
                const int index = best[d].toInt();
                if (index < 0)
                    continue;
                ++bests;
                const QJsonValue r = records[index - 1];
                QCOMPARE(r[QStringLiteral("index")].toInt(), index);
                QCOMPARE(r[QStringLiteral("slot")].toInt(), d + 1);
                QCOMPARE(r[QStringLiteral("class")].toInt(), s[QStringLiteral("class")].toInt());
                QCOMPARE(r[QStringLiteral("number")].toInt(), s[QStringLiteral("number")].toInt());
            }
        }
        QVERIFY(bests > 0);
    }

    // aggregate --grid: the cells of the window's grids, header included.
    void grids() {
        for (int grid = 1; grid <= 3; ++grid) {
            const test::CliRun run = cli(QStringList{QStringLiteral("aggregate")} + common(3) +
                                         QStringList{QStringLiteral("--grid"), QString::number(grid)});
            QCOMPARE(run.status, 0);
            QStringList lines = run.out.split(u'\n');
            QCOMPARE(lines.takeLast(), QString());
            QCOMPARE(lines.size(), 181);
            for (int row = 0; row < lines.size(); ++row) {
                const QStringList cells = lines[row].split(u'\t');
                QCOMPARE(cells.size(), GradeHyouteiStore::gridColumns(grid));
                for (int c = 0; c < cells.size(); ++c)
                    QCOMPARE(cells[c], m_store.gridText(grid, row, c));
            }
        }
    }

    // clip grade-with-viewpoints / grade-without-viewpoints: the copies exactly, also as code page 932.
    void copies() {
        for (bool viewpoints : {true, false}) {
            const QString what = viewpoints ? QStringLiteral("grade-with-viewpoints")
                                            : QStringLiteral("grade-without-viewpoints");
            const test::CliRun run = cli(QStringList{QStringLiteral("clip"), what} + common(3));
            QCOMPARE(run.status, 0);
            QCOMPARE(run.out, m_store.copyText(viewpoints));
            const test::CliRun sjis = cli(QStringList{QStringLiteral("clip"), what} + common(3) +
                                          QStringList{QStringLiteral("--sjis")});
            QCOMPARE(sjis.status, 0);
            QCOMPARE(sjis.bytes, cp932::encodeLossy(m_store.copyText(viewpoints)));
        }
    }

    void badUsage() {
        const QStringList base = QStringList{QStringLiteral("aggregate")} + common(3);
        QCOMPARE(cli(base + QStringList{QStringLiteral("--grid"), QStringLiteral("4")}).status, 2);
        QCOMPARE(cli(base).status, 2);
        QCOMPARE(
            cli(base + QStringList{QStringLiteral("--json"), QStringLiteral("--grid"), QStringLiteral("1")})
                .status,
            2);
        QCOMPARE(cli({QStringLiteral("aggregate"), QStringLiteral("--data"), m_folder,
                      QStringLiteral("--grade"), QStringLiteral("7"), QStringLiteral("--period"),
                      QStringLiteral("1"), QStringLiteral("--json")})
                     .status,
                 2);
    }
};

QTEST_GUILESS_MAIN(AggregateCommandsTest)
#include "AggregateCommandsTest.moc"
