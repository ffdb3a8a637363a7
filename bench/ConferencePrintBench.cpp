// The conference material of 12 classes × 60 students, every student with a comment in each of the
// nine subjects, to a PDF at 600 dpi; with the peak resident memory.
#include "SilentPrompter.h"
#include "platform/Prompter.h"
#include "reports/Conference.h"
#include "reports/render/PdfPrintTarget.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace tavro;

namespace {

using bench::SilentPrompter;

reports::ConferenceData fullGrade() {
    reports::ConferenceData d;
    d.nendo = 2024;
    d.grade = 1;
    d.period = 2;
    d.periodCaption = QStringLiteral("2学期");
    d.schoolName = QStringLiteral("市立さくら台中学校");
    d.classCount = 12;
    d.results.fileSubjects = {QStringLiteral("国語"),  QStringLiteral("社会"),  QStringLiteral("数学"),
                              QStringLiteral("理科"),  QStringLiteral("音楽"),  QStringLiteral("美術"),
                              QStringLiteral("保体B"), QStringLiteral("保体G"), QStringLiteral("技家"),
                              QStringLiteral("英語")};
    d.results.displaySubjects = {QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("数学"),
                                 QStringLiteral("理科"), QStringLiteral("音楽"), QStringLiteral("美術"),
                                 QStringLiteral("保体"), QStringLiteral("技家"), QStringLiteral("英語")};
    d.results.physicalEducation = 6;
    d.displaySubjects = d.results.displaySubjects;
    d.names.assign(720, QString());
    d.results.entries.assign(10, std::vector<GradePeriodResults::Entry>(720));
    for (int slot = 0; slot < 720; ++slot) {
        d.names[std::size_t(slot)] = QStringLiteral("生徒　%1").arg(slot + 1);
        for (auto &subject : d.results.entries)
            subject[std::size_t(slot)].comment =
                QStringLiteral("授業に意欲的に取り組み、課題もていねいに仕上げました。%1").arg(slot % 7);
    }
    return d;
}

void BM_ConferenceLists(benchmark::State &state) {
    const reports::ConferenceData data = fullGrade();
    std::vector<int> classes;
    for (int c = 1; c <= 12; ++c)
        classes.push_back(c);
    QTemporaryDir dir;
    SilentPrompter prompter;
    int pages = 0;
    for (auto _ : state) {
        PdfPrintTarget target(dir.filePath(QStringLiteral("kondan.pdf")), 600);
        const reports::PrintOutcome out = reports::printConference(
            data, classes, target, prompter, QDateTime(QDate(2024, 12, 20), QTime(16, 0)));
        if (!out.printed)
            state.SkipWithError("not printed");
        pages = out.pages;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["pages"] = pages;
    state.counters["peakMiB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ConferenceLists)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
