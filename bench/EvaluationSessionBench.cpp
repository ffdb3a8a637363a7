// The evaluation session on a full worksheet: opening (every file read, checks refreshed), one
// keystroke in the score grid (store and the row's aggregate items), and a period switch (the
// distribution table, the weighted shares and the data of the ratio charts).
#include "FullSchool.h"

#include "evaluation/Checks.h"
#include "evaluation/Editing.h"
#include "evaluation/WorksheetViews.h"
#include "exchange/ResultCopies.h"

#include <benchmark/benchmark.h>

using namespace tavro;
using namespace tavro::bench;

namespace {

FullSchool &school() {
    static FullSchool s;
    return s;
}

void BM_OpenSession(benchmark::State &state) {
    FullSchool &s = school();
    SilentPrompter prompter;
    for (auto _ : state) {
        EvaluationSession session(s.context());
        session.load(prompter);
        benchmark::DoNotOptimize(session.rows().data());
    }
}
BENCHMARK(BM_OpenSession)->Unit(benchmark::kMillisecond);

void BM_ScoreKeystroke(benchmark::State &state) {
    FullSchool &s = school();
    SilentPrompter prompter;
    EvaluationSession session(s.context());
    session.load(prompter);
    int row = 0;
    int pass = 0;
    std::int64_t changed = 0;
    for (auto _ : state) {
        // Item 13, a regular item, is referenced by the aggregate item 20. Each pass over the rows types
        // another digit, so every key changes its cell.
        const gridkeys::KeyResult r =
            session.scoreKey(row, 13, gridkeys::KeyPress::character(QChar(u'0' + (pass + row) % 10)));
        changed += r.changed;
        if (++row == int(session.rows().size())) {
            row = 0;
            ++pass;
        }
    }
    state.counters["changed"] = benchmark::Counter(double(changed), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ScoreKeystroke)->Unit(benchmark::kMicrosecond);

void BM_PeriodSwitch(benchmark::State &state) {
    FullSchool &s = school();
    SilentPrompter prompter;
    EvaluationSession session(s.context());
    session.load(prompter);
    int period = 1;
    for (auto _ : state) {
        session.markModified(); // shares and statistics are computed afresh
        session.viewpointRatioKey(period, 1, gridkeys::KeyPress::of(gridkeys::Key::Delete));
        const checks::Distribution d =
            checks::distribution(session.results(), session.settings(), false, period, 0);
        const auto &shares = session.weightedShares(period);
        const auto pie = views::sharePie(session, period, 0);
        const auto a = views::viewpointRatioPie(session, period);
        const auto b = views::itemRatioSums(session, period);
        const auto c = views::kindPie(session, period);
        benchmark::DoNotOptimize(d.counts.data());
        benchmark::DoNotOptimize(shares.data());
        benchmark::DoNotOptimize(pie.size() + a.size() + b.size() + c.size());
        period = period % kPeriods + 1;
    }
}
BENCHMARK(BM_PeriodSwitch)->Unit(benchmark::kMillisecond);

// A block of 540 rows × 100 items pasted into the score grid, with the aggregate items of every row.
void BM_PasteScores(benchmark::State &state) {
    FullSchool &s = school();
    SilentPrompter prompter;
    EvaluationSession session(s.context());
    session.load(prompter);
    const QString text = scoreBlockText(1, 7, 101);
    for (auto _ : state) {
        const editing::PasteOutcome out = editing::pasteScores(session, text, 1, 3);
        benchmark::DoNotOptimize(out.stored);
    }
}
BENCHMARK(BM_PasteScores)->Unit(benchmark::kMillisecond);

// Undo and redo of that paste in the session: the cells put back and the aggregate items of 540 rows.
void BM_UndoRedoPaste(benchmark::State &state) {
    FullSchool &s = school();
    SilentPrompter prompter;
    EvaluationSession session(s.context());
    session.load(prompter);
    const QString text = scoreBlockText(3, 11, 97);
    editing::pasteScores(session, text, 1, 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(session.undo());
        benchmark::DoNotOptimize(session.redo());
    }
}
BENCHMARK(BM_UndoRedoPaste)->Unit(benchmark::kMillisecond);

// "すべてをコピー(&A)" of the results grid for 540 students.
void BM_ResultsAllText(benchmark::State &state) {
    FullSchool &s = school();
    SilentPrompter prompter;
    EvaluationSession session(s.context());
    session.load(prompter);
    for (auto _ : state) {
        const QString text = exchange::resultsAllText(session, 1);
        benchmark::DoNotOptimize(text.size());
    }
}
BENCHMARK(BM_ResultsAllText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
