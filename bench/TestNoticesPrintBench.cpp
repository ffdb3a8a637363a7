// All notices of a full grade (12 classes × 60 students, 11 subjects) to a PDF at 600 dpi: the five-
// and nine-subject notices, the 100-point and the viewpoint notices, and the class lists; with the
// peak resident memory.
#include "SilentPrompter.h"
#include "platform/Prompter.h"
#include "reports/TestPrints.h"
#include "reports/render/PdfPrintTarget.h"
#include "testscores/TestAggregation.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace tavro;

namespace {

using bench::SilentPrompter;

const TestAggregation &fullGrade() {
    static const TestAggregation a = [] {
        TestAggregation g({2024, 1, QStringLiteral("A"), QStringLiteral("前期中間テスト"), true}, 12);
        QRandomGenerator random(7);
        for (int s = 0; s < shukei::kSubjects; ++s) {
            g.fullScores[std::size_t(s)].values = {100, 30, 30, 20, 20, 0, 0};
            for (int c = 0; c < 12; ++c)
                for (TestScoreRecord &r : g.scores[std::size_t(s)][std::size_t(c)].records) {
                    r = {0,
                         int(random.bounded(31)),
                         int(random.bounded(31)),
                         int(random.bounded(21)),
                         int(random.bounded(21)),
                         -1,
                         -1};
                    r[0] = r[1] + r[2] + r[3] + r[4];
                }
        }
        for (std::size_t i = 0; i < g.names.size(); ++i)
            g.names[i] = QStringLiteral("生徒 %1").arg(i + 1);
        g.compute();
        return g;
    }();
    return a;
}

std::vector<int> allClasses() {
    std::vector<int> classes;
    for (int c = 1; c <= 12; ++c)
        classes.push_back(c);
    return classes;
}

void report(benchmark::State &state, const reports::PrintOutcome &out) {
    if (!out.printed)
        state.SkipWithError("not printed");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["pages"] = out.pages;
    state.counters["peakRssMB"] = double(usage.ru_maxrss) / 1024.0;
}

template <reports::NoticeKind kind> void BM_Notices(benchmark::State &state) {
    const TestAggregation &a = fullGrade();
    QTemporaryDir dir;
    SilentPrompter prompter;
    reports::PrintOutcome out;
    for (auto _ : state) {
        PdfPrintTarget target(dir.filePath(QStringLiteral("notices.pdf")));
        out = reports::printNotices(a, kind, false, allClasses(), target, prompter);
    }
    report(state, out);
}
BENCHMARK(BM_Notices<reports::NoticeKind::Five>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notices<reports::NoticeKind::Nine>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notices<reports::NoticeKind::Hundred>)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Notices<reports::NoticeKind::Viewpoints>)->Unit(benchmark::kMillisecond);

void BM_ClassLists(benchmark::State &state) {
    const TestAggregation &a = fullGrade();
    QTemporaryDir dir;
    SilentPrompter prompter;
    reports::PrintOutcome out;
    for (auto _ : state) {
        PdfPrintTarget target(dir.filePath(QStringLiteral("lists.pdf")));
        out = reports::printClassList(a, allClasses(), target, prompter,
                                      QDateTime(QDate(2024, 6, 3), QTime(8, 0)));
    }
    report(state, out);
}
BENCHMARK(BM_ClassLists)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
