// The print preview of the grade-wide papers of a full grade (12 classes × 60 students, 51 electives),
// every class checked: from "プレビュー" to the preview shown with its pages rendered (the preview
// renders the whole document before it shows the first page).
#include "FullGrade.h"
#include "SilentPrompter.h"
#include "platform/Prompter.h"
#include "reports/GradeDocuments.h"
#include "reports/ui/PrintPreview.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

using namespace tavro;

namespace {

using bench::SilentPrompter;

void preview(benchmark::State &state, reports::GradeDocument document) {
    bench::FullGrade &g = bench::grade();
    auto store = std::make_unique<GradeHyouteiStore>();
    store->load(g.inputs());
    reports::GradeDocumentData data;
    data.store = store.get();
    std::vector<int> classes;
    for (int cls = 1; cls <= store->classCount(); ++cls)
        classes.push_back(cls);
    SilentPrompter prompter;
    int pages = 0;
    for (auto _ : state) {
        PrintPreview p(
            [&](PrintTarget &target) {
                return reports::printGradeDocument(document, data, classes, target, prompter,
                                                   QDateTime::currentDateTime());
            },
            nullptr);
        if (p.prepare()) {
            state.SkipWithError("no job");
            break;
        }
        p.dialog().show();
        QApplication::processEvents();
        pages = p.dialog().findChild<QPrintPreviewWidget *>()->pageCount();
        if (!p.lastOutcome().printed)
            state.SkipWithError(p.lastOutcome().error.toUtf8().constData());
        p.dialog().hide();
    }
    state.counters["pages"] = pages;
}

void BM_PreviewIchiran(benchmark::State &state) {
    preview(state, reports::GradeDocument::Ichiran);
}
BENCHMARK(BM_PreviewIchiran)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PreviewToutatsu(benchmark::State &state) {
    preview(state, reports::GradeDocument::Toutatsu);
}
BENCHMARK(BM_PreviewToutatsu)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
