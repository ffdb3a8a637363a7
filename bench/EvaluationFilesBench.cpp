// Loading and saving a full worksheet and a grade's class result files, each timed beside a baseline
// that only reads (or writes) the same bytes the same way. The counter "ratio" is the operation's time
// over the baseline's; the targets are at most 4 for loading and for saving.
#include "common/FileSave.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/WorksheetFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace tavro;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

// 999 items with names, kinds, links, formulas and full scores, ratios, and every score of 540
// students (classes 1..9) set.
Worksheet fullWorksheet() {
    Worksheet w;
    for (int i = 1; i <= kMaxItems; ++i) {
        WorksheetItem &it = w.item(i);
        it.name = QStringLiteral("項目%1 小テスト").arg(i);
        it.kind = 1 + i % 4;
        it.link = it.kind == itemkind::kPeriodicTest ? 100 + (i % 6) * 10 : 0;
        it.formula = it.kind == itemkind::kAggregate ? QStringLiteral("=[1]*2+[%1]").arg(i - 1) : QString();
        it.protection = std::uint8_t(i % 2);
        it.fullScore = 10 + i % 90;
        for (int k = 1; k <= kPeriods; ++k)
            for (int v = 1; v <= kViewpoints; ++v)
                it.kind && ((i + k + v) % 3 == 0) ? void(w.itemRatio(i, k, v) = 1 + (i + v) % 9) : void();
    }
    for (int k = 1; k <= kPeriods; ++k)
        for (int v = 1; v <= kViewpoints; ++v)
            w.viewpointRatio(k, v) = 10 * v;
    for (int i = 1; i <= kMaxItems; ++i)
        for (int c = 1; c <= 9; ++c)
            for (int n = 1; n <= kSeatsPerClass; ++n)
                w.score(i, c, n) = (i * 7 + c * 13 + n * 3) % 101;
    return w;
}

// Every result of 60 students in every period, with texts: marks and evaluations in half-width
// letters and digits, or (`fullWidth`) in full-width ones, which go through the code page 932 decoding.
EvaluationResults fullResults(int classes, bool fullWidth = false) {
    EvaluationResults r;
    for (int k = 1; k <= kPeriods; ++k)
        for (int c = 1; c <= classes; ++c)
            for (int n = 1; n <= kSeatsPerClass; ++n) {
                StudentResult &s = r.at(k, c, n);
                s.evaluation =
                    fullWidth ? QString(QChar(0xFF11 + (n + k) % 5)) : QString::number(1 + (n + k) % 5);
                s.percentage = float(n * 1.5 + k);
                for (int v = 0; v < kViewpoints; ++v) {
                    s.marks[v] =
                        (fullWidth ? QStringLiteral("ＡＢＣ") : QStringLiteral("ABC")).mid((n + v) % 3, 1);
                    s.viewpointPercentages[v] = float(40 + (n + v) % 60) + 0.25f;
                }
                s.comment = QStringLiteral("授業に積極的に参加しています。%1").arg(n);
            }
    for (int k = 1; k <= kPeriods; ++k)
        r.dateTime(k) = 45400.5 + k;
    return r;
}

struct Files {
    QTemporaryDir dir;
    QString folder;
    QString worksheetPath;
    Worksheet worksheet = fullWorksheet();
    QByteArray worksheetBytes;
    EvaluationResults results = fullResults(9);
    std::vector<int> classes{1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::vector<QByteArray> classBytes;
    // The same grade with full-width marks and evaluations, as subject "社会".
    EvaluationResults fullWidthResults = fullResults(9, true);
    std::vector<QByteArray> fullWidthBytes;

    Files() {
        folder = dir.path() + u'/';
        QDir().mkpath(dir.filePath(QStringLiteral("2024")));
        worksheetPath = paths::worksheetFile(folder, QStringLiteral("山田"), 2024, 1, QStringLiteral("国語"));
        WorksheetFile::serialize(worksheet, worksheetBytes);
        WorksheetFile::save(worksheetPath, worksheet);
        for (int c : classes) {
            QByteArray bytes;
            ClassResultFile::serialize(results, c, bytes);
            classBytes.push_back(bytes);
        }
        ClassResultFile::saveClasses(folder, 2024, 1, QStringLiteral("国語"), classes, results);
        for (int c : classes) {
            QByteArray bytes;
            ClassResultFile::serialize(fullWidthResults, c, bytes);
            fullWidthBytes.push_back(bytes);
        }
        ClassResultFile::saveClasses(folder, 2024, 1, QStringLiteral("社会"), classes, fullWidthResults);
    }
    QString classPath(int c, const QString &kyouka = QStringLiteral("国語")) const {
        return paths::classResultFile(folder, 2024, 1, c, kyouka);
    }
};

Files &files() {
    static Files f;
    return f;
}

void report(benchmark::State &state, double op, double base, qsizetype bytes) {
    const double n = double(state.iterations());
    state.counters["baseline_ms"] = base / n * 1000.0;
    state.counters["ratio"] = op / base;
    state.counters["MB"] = double(bytes) / 1e6;
}

void BM_WorksheetLoad(benchmark::State &state) {
    Files &f = files();
    Worksheet w;
    double op = 0, base = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        QByteArray bytes;
        readWholeFile(f.worksheetPath, bytes);
        benchmark::DoNotOptimize(bytes.data());
        const auto t1 = Clock::now();
        WorksheetFile::load(f.worksheetPath, w, nullptr);
        benchmark::DoNotOptimize(w.scores.data());
        const auto t2 = Clock::now();
        base += seconds(t0, t1);
        op += seconds(t1, t2);
        state.SetIterationTime(seconds(t1, t2));
    }
    report(state, op, base, f.worksheetBytes.size());
}

void BM_WorksheetSave(benchmark::State &state) {
    Files &f = files();
    double op = 0, base = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        saveFileAtomically(f.worksheetPath, f.worksheetBytes, nullptr, Backup::OneGeneration);
        const auto t1 = Clock::now();
        WorksheetFile::save(f.worksheetPath, f.worksheet);
        const auto t2 = Clock::now();
        base += seconds(t0, t1);
        op += seconds(t1, t2);
        state.SetIterationTime(seconds(t1, t2));
    }
    report(state, op, base, f.worksheetBytes.size());
}

// Loads the class result files of subject `kyouka` (grade 1, classes 1..9) beside reading their bytes:
// again into the results of the previous load (as a window reloads), or (`firstLoad`) into new
// results (as a window opens).
void gradeResultsLoad(benchmark::State &state, const QString &kyouka,
                      const std::vector<QByteArray> &classBytes, bool firstLoad = false) {
    Files &f = files();
    EvaluationResults r;
    double op = 0, base = 0;
    qsizetype total = 0;
    for (const QByteArray &b : classBytes)
        total += b.size();
    for (auto _ : state) {
        if (firstLoad)
            r = EvaluationResults();
        const auto t0 = Clock::now();
        for (int c : f.classes) {
            QByteArray bytes;
            readWholeFile(f.classPath(c, kyouka), bytes);
            benchmark::DoNotOptimize(bytes.data());
        }
        const auto t1 = Clock::now();
        ClassResultFile::loadGrade(f.folder, 2024, 1, kyouka, 9, f.classes, r, nullptr);
        benchmark::DoNotOptimize(r.entries.data());
        const auto t2 = Clock::now();
        base += seconds(t0, t1);
        op += seconds(t1, t2);
        state.SetIterationTime(seconds(t1, t2));
    }
    report(state, op, base, total);
}

void BM_GradeResultsLoad(benchmark::State &state) {
    gradeResultsLoad(state, QStringLiteral("国語"), files().classBytes);
}

// Every mark and evaluation is a short text in code page 932 double-byte characters.
void BM_GradeResultsLoadFullWidth(benchmark::State &state) {
    gradeResultsLoad(state, QStringLiteral("社会"), files().fullWidthBytes);
}

void BM_GradeResultsFirstLoad(benchmark::State &state) {
    gradeResultsLoad(state, QStringLiteral("国語"), files().classBytes, true);
}

void BM_GradeResultsSave(benchmark::State &state) {
    Files &f = files();
    double op = 0, base = 0;
    qsizetype total = 0;
    for (const QByteArray &b : f.classBytes)
        total += b.size();
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (std::size_t i = 0; i < f.classes.size(); ++i)
            saveFileAtomically(f.classPath(f.classes[i]), f.classBytes[i], nullptr, Backup::OneGeneration);
        const auto t1 = Clock::now();
        ClassResultFile::saveClasses(f.folder, 2024, 1, QStringLiteral("国語"), f.classes, f.results);
        const auto t2 = Clock::now();
        base += seconds(t0, t1);
        op += seconds(t1, t2);
        state.SetIterationTime(seconds(t1, t2));
    }
    report(state, op, base, total);
}

} // namespace

BENCHMARK(BM_WorksheetLoad)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorksheetSave)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradeResultsLoad)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradeResultsLoadFullWidth)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradeResultsFirstLoad)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GradeResultsSave)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
