// The test aggregation of a full grade (12 classes × 60 students, 11 subjects): loading every file
// with the statistics, the statistics alone from memory, the three copies in code page 932, and
// look-ups of missing files in a folder of 3,000 files with the folder index.
#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FolderIndex.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "testscores/TestAggregation.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tavro;

namespace {

constexpr int kYear = 2024;

struct FullTest {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    TestAggregation::Context context{kYear, 1, QStringLiteral("A"), QStringLiteral("前期中間テスト"), true};

    FullTest() {
        YearSettings y;
        y.classCount = {12, 0, 0, 0, 0, 0};
        y.testName[0] = context.testName;
        y.save(folder, kYear);
        std::vector<RosterEntry> roster(std::size_t(12 * kSeatsPerClass));
        for (std::size_t i = 0; i < roster.size(); ++i)
            roster[i].name = QStringLiteral("生徒 %1").arg(i + 1);
        roster::write(paths::rosterFile(folder, kYear, 1), roster, true);
        QRandomGenerator random(7);
        for (const QString &subject : shukei::subjectNames()) {
            FullScores full;
            full.values = {100, 30, 30, 20, 20, 0, 0};
            TestScoreFile::writeFullScores(paths::fullScoreFile(folder, kYear, u"A"_qs, 1, subject), full);
            for (int c = 1; c <= 12; ++c) {
                ClassScores scores;
                for (TestScoreRecord &r : scores.records) {
                    r = {0,
                         int(random.bounded(31)),
                         int(random.bounded(31)),
                         int(random.bounded(21)),
                         int(random.bounded(21)),
                         -1,
                         -1};
                    r[0] = r[1] + r[2] + r[3] + r[4];
                }
                TestScoreFile::writeClassScores(paths::classScoreFile(folder, kYear, u"A"_qs, 1, c, subject),
                                                scores);
            }
        }
    }
};

FullTest &fullTest() {
    static FullTest t;
    return t;
}

void BM_LoadAndStatistics(benchmark::State &state) {
    FullTest &t = fullTest();
    for (auto _ : state) {
        TestAggregation a = TestAggregation::load(t.folder, t.context);
        benchmark::DoNotOptimize(a.statistics(0).mean);
    }
}
BENCHMARK(BM_LoadAndStatistics)->Unit(benchmark::kMillisecond);

void BM_StatisticsFromMemory(benchmark::State &state) {
    TestAggregation a = TestAggregation::load(fullTest().folder, fullTest().context);
    for (auto _ : state) {
        a.compute();
        benchmark::DoNotOptimize(a.statistics(0).mean);
    }
}
BENCHMARK(BM_StatisticsFromMemory)->Unit(benchmark::kMillisecond);

template <QString (TestAggregation::*text)() const> void BM_Copy(benchmark::State &state) {
    const TestAggregation a = TestAggregation::load(fullTest().folder, fullTest().context);
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray encoded = cp932::encodeLossy((a.*text)());
        bytes = encoded.size();
        benchmark::DoNotOptimize(encoded.data());
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_Copy<&TestAggregation::gridCopy>)->Name("BM_CopyGrid")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy<&TestAggregation::viewpointCopy>)->Name("BM_CopyViewpoints")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy<&TestAggregation::meansCopy>)->Name("BM_CopyMeans")->Unit(benchmark::kMillisecond);

// 1,000 missing files looked up in a folder of 3,000 files through one index.
void BM_MissingLookups(benchmark::State &state) {
    static QTemporaryDir dir;
    static const bool filled = [] {
        for (int i = 0; i < 3000; ++i) {
            QFile f(dir.path() + QStringLiteral("/A1%1国語.dat").arg(i, 4, 10, QChar(u'0')));
            f.open(QIODevice::WriteOnly);
        }
        return true;
    }();
    (void)filled;
    for (auto _ : state) {
        paths::FolderIndex index;
        int found = 0;
        for (int i = 0; i < 1000; ++i)
            found += index.exists(dir.path() + QStringLiteral("/B1%1数学.dat").arg(i));
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_MissingLookups)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
