// The evaluation aggregation on a full grade (12 classes × 60 students, the ten required subjects with
// six viewpoints each, 51 electives of 100 members): the store loaded from local files, the window
// opened to its first paint, and one copy with viewpoints.
#include "FullGrade.h"
#include "SilentPrompter.h"
#include "evaluation/ui/HyouteiShukeiForm.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"

#include <benchmark/benchmark.h>

#include <QApplication>

using namespace tavro;

namespace {

using bench::FullGrade;
using bench::grade;
constexpr int kYear = bench::kGradeYear;

using bench::SilentPrompter;

class MemoryClipboard final : public Clipboard {
public:
    QString text() const override { return m_text; }
    void setText(const QString &text) override { m_text = text; }

private:
    QString m_text;
};

void BM_LoadStore(benchmark::State &state) {
    FullGrade &g = grade();
    auto store = std::make_unique<GradeHyouteiStore>();
    for (auto _ : state)
        store->load(g.inputs());
    state.counters["records"] = double(store->records().size() - 1);
}
BENCHMARK(BM_LoadStore)->Unit(benchmark::kMillisecond);

void BM_OpenWindow(benchmark::State &state) {
    FullGrade &g = grade();
    SilentPrompter prompter;
    MemoryClipboard clipboard;
    const Platform platform{&prompter, &clipboard, nullptr, nullptr, nullptr, nullptr};
    THyouteiShukeiForm::Inputs in{QStringLiteral("成績処理"),
                                  kYear,
                                  QStringLiteral("1"),
                                  1,
                                  QStringLiteral("1学期"),
                                  g.folder,
                                  true,
                                  1};
    for (auto _ : state) {
        THyouteiShukeiForm window(platform, in);
        window.resize(1280, 800);
        window.show();
        QApplication::processEvents();
        window.repaint();
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CopyWithViewpoints(benchmark::State &state) {
    auto store = std::make_unique<GradeHyouteiStore>();
    store->load(grade().inputs());
    qsizetype size = 0;
    for (auto _ : state)
        size = store->copyText(true).size();
    state.counters["chars"] = double(size);
}
BENCHMARK(BM_CopyWithViewpoints)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
