// Every document of one subject to PDF on the full worksheet (9 classes × 60 students, 999 items, every
// item carrying ratios): 資料A..E and the cover for all classes, then the small sheets and their cover.
#include "FullSchool.h"

#include "reports/SubjectDocuments.h"
#include "reports/render/PdfPrintTarget.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace tavro;
using namespace tavro::bench;
using reports::SubjectDocument;

namespace {

FullSchool &school() {
    static FullSchool s;
    return s;
}

void printAll(benchmark::State &state, const std::vector<SubjectDocument> &documents) {
    FullSchool &s = school();
    SilentPrompter prompter;
    EvaluationSession session(s.context());
    session.load(prompter);
    const std::vector<int> classes = session.classes();
    const QString pdf = s.dir.filePath(QStringLiteral("bench.pdf"));
    int pages = 0;
    for (auto _ : state) {
        pages = 0;
        for (SubjectDocument d : documents) {
            // 資料E prints the year-end period only.
            const int period = d == SubjectDocument::ShiryouE ? reports::yearEndPeriod(session) : 1;
            PdfPrintTarget target(pdf, 600);
            const reports::PrintOutcome out = reports::printSubjectDocument(
                d, session, period, classes, target, prompter, QDateTime::currentDateTime());
            if (!out.printed)
                state.SkipWithError("not printed");
            pages += out.pages;
        }
    }
    state.counters["pages"] = pages;
}

void BM_SubmissionDocumentsToPdf(benchmark::State &state) {
    printAll(state, {SubjectDocument::ShiryouA, SubjectDocument::ShiryouB, SubjectDocument::ShiryouC,
                     SubjectDocument::ShiryouD, SubjectDocument::ShiryouE, SubjectDocument::Cover});
}
BENCHMARK(BM_SubmissionDocumentsToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SmallSheetsToPdf(benchmark::State &state) {
    printAll(state, {SubjectDocument::Kohyou, SubjectDocument::KohyouOld, SubjectDocument::KohyouCover});
}
BENCHMARK(BM_SmallSheetsToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

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
