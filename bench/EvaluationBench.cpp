// One period's calculation, the recomputation of every aggregate row and the automatic estimate on
// a full worksheet: 999 items, 100 of them aggregate (half list form, half expression form, each
// referencing ten lower items), 540 students, every score set, ratios on every viewpoint.
#include "evaluation/Calculation.h"
#include "evaluation/Formula.h"
#include "evaluation/Statistics.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>
#include <memory>

using namespace tavro;

namespace {

class SilentPrompter final : public Prompter {
public:
    Answer ask(const QString &, const QString &, Buttons, Answer, Icon) override { return Answer::Ok; }
};

class ConstantClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2024, 7, 19), QTime(15, 0)); }
};

struct FullSheet {
    Worksheet worksheet;
    EvaluationResults results;
    YearSettings settings;
    std::vector<int> rows;
    std::vector<QString> names;

    explicit FullSheet(bool withAbsent = false) {
        QRandomGenerator rng(2024);
        for (int cls = 1; cls <= 9; ++cls)
            for (int n = 1; n <= 60; ++n)
                rows.push_back(slotOf(cls, n));
        names.assign(kSlots, QStringLiteral("生徒"));
        for (int item = 1; item <= kMaxItems; ++item) {
            WorksheetItem &it = worksheet.item(item);
            it.fullScore = 100;
            it.name = QStringLiteral("項目%1%2").arg(item).arg(QChar(0x2460 + item % 6));
            const bool aggregate = item >= 11 && (item - 11) % 9 == 0 && item <= 11 + 9 * 99; // 100 items
            it.kind = aggregate       ? itemkind::kAggregate
                      : item % 3 == 0 ? itemkind::kPeriodicTest
                                      : itemkind::kRegular;
            if (aggregate) {
                QStringList refs;
                QString expression = QStringLiteral("=(");
                for (int r = 1; r <= 10; ++r) {
                    const int ref = item - r;
                    refs.append(QString::number(ref));
                    expression +=
                        QStringLiteral("[%1]%2").arg(ref).arg(r < 10 ? QStringLiteral("+") : QString());
                }
                expression += QStringLiteral(")/10");
                it.formula = ((item - 11) / 9) % 2 ? refs.join(QLatin1Char(',')) : expression;
                it.fullScore = 1000;
            }
            for (int k = 1; k <= kPeriods; ++k)
                for (int v = 1; v <= kViewpoints; ++v)
                    worksheet.itemRatio(item, k, v) = 1 + int((item + v) % 3);
            for (int slot : rows)
                worksheet.score(item, slot) = int(rng.bounded(101));
        }
        if (withAbsent)
            for (int slot : rows)
                worksheet.score(1 + int(rng.bounded(998)), slot) = score::kAbsent;
        for (int k = 1; k <= kPeriods; ++k)
            for (int v = 1; v <= kViewpoints; ++v)
                worksheet.viewpointRatio(k, v) = v;
        settings.patterns[0].kigou = {QStringLiteral("5"), QStringLiteral("4"), QStringLiteral("3"),
                                      QStringLiteral("2"), QStringLiteral("1")};
        settings.patterns[0].cutPoint = {80, 65, 50, 30, 0, 0, 0, 0, 0};
        settings.patterns[1].kigou = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        settings.patterns[1].cutPoint = {80, 50, 0, 0, 0, 0, 0, 0, 0};
        settings.hissu.hyouteiPatern.fill(1);
        settings.hissu.kantenPatern.fill(2);
        formula::recalculateRows(worksheet, rows);
    }
};

void BM_CalculateOnePeriod(benchmark::State &state) {
    auto sheet = std::make_unique<FullSheet>();
    EvaluationSheet s{sheet->worksheet, sheet->results, sheet->settings, false, sheet->rows, sheet->names};
    SilentPrompter prompter;
    ConstantClock clock;
    for (auto _ : state) {
        sheet->results.dateTime(1) = 0;
        const calculation::Report r = calculation::calculate(s, 1, prompter, clock, nullptr);
        benchmark::DoNotOptimize(r.dateTime);
    }
}
BENCHMARK(BM_CalculateOnePeriod)->Unit(benchmark::kMillisecond);

void BM_RecalculateAllAggregateRows(benchmark::State &state) {
    auto sheet = std::make_unique<FullSheet>();
    for (auto _ : state) {
        formula::recalculateRows(sheet->worksheet, sheet->rows);
        benchmark::DoNotOptimize(sheet->worksheet.scores.data());
    }
}
BENCHMARK(BM_RecalculateAllAggregateRows)->Unit(benchmark::kMillisecond);

void BM_AutomaticEstimate(benchmark::State &state) {
    const auto original = std::make_unique<FullSheet>(true);
    auto sheet = std::make_unique<FullSheet>(true);
    ItemStatistics statistics;
    const estimate::Method method =
        state.range(0) ? estimate::Method::ByViewpoint : estimate::Method::AllItems;
    for (auto _ : state) {
        state.PauseTiming();
        sheet->worksheet.scores = original->worksheet.scores;
        state.ResumeTiming();
        const std::vector<int> changed = estimate::run(sheet->worksheet, sheet->rows, method, statistics);
        benchmark::DoNotOptimize(changed.data());
    }
}
BENCHMARK(BM_AutomaticEstimate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
