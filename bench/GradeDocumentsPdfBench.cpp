// The grade-wide papers of a full grade (12 classes × 60 students, 51 electives) printed to PDF, every
// class checked: the A3 list, the stickers, the elective insert and the notices.
#include "FullGrade.h"
#include "SilentPrompter.h"
#include "platform/Prompter.h"
#include "reports/GradeDocuments.h"
#include "reports/render/PdfPrintTarget.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>

using namespace tavro;

namespace {

using bench::SilentPrompter;

void printToPdf(benchmark::State &state, reports::GradeDocument document) {
    bench::FullGrade &g = bench::grade();
    auto store = std::make_unique<GradeHyouteiStore>();
    store->load(g.inputs());
    reports::GradeDocumentData data;
    data.store = store.get();
    std::vector<int> classes;
    for (int cls = 1; cls <= store->classCount(); ++cls)
        classes.push_back(cls);
    const QString path = g.dir.filePath(QStringLiteral("bench.pdf"));
    SilentPrompter prompter;
    int pages = 0;
    for (auto _ : state) {
        PdfPrintTarget target(path);
        const reports::PrintOutcome out = reports::printGradeDocument(document, data, classes, target,
                                                                      prompter, QDateTime::currentDateTime());
        if (!out.printed)
            state.SkipWithError(out.error.toUtf8().constData());
        pages = out.pages;
    }
    state.counters["pages"] = pages;
    state.counters["KiB"] = double(QFileInfo(path).size()) / 1024;
}

void BM_Ichiran(benchmark::State &state) {
    printToPdf(state, reports::GradeDocument::Ichiran);
}
BENCHMARK(BM_Ichiran)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Seal(benchmark::State &state) {
    printToPdf(state, reports::GradeDocument::Seal);
}
BENCHMARK(BM_Seal)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SentakuTsuchihyo(benchmark::State &state) {
    printToPdf(state, reports::GradeDocument::SentakuTsuchihyo);
}
BENCHMARK(BM_SentakuTsuchihyo)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Toutatsu(benchmark::State &state) {
    printToPdf(state, reports::GradeDocument::Toutatsu);
}
BENCHMARK(BM_Toutatsu)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
