// The evaluation aggregation on a full grade (12 classes × 60 students, the ten required subjects with
// six viewpoints each, 51 electives of 100 members): the store loaded from local files, the window
// opened to its first paint, and one copy with viewpoints.
#include "common/DataPaths.h"
#include "config/Electives.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/GradeHyouteiStore.h"
#include "evaluation/GradeSubjects.h"
#include "evaluation/ui/HyouteiShukeiForm.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

using namespace tavro;

namespace {

constexpr int kYear = 2024;
constexpr int kClasses = 12;
constexpr int kElectives = 51;

class SilentPrompter final : public Prompter {
public:
    Answer ask(const QString &, const QString &, Buttons, Answer defaultAnswer, Icon) override {
        return defaultAnswer;
    }
};

class MemoryClipboard final : public Clipboard {
public:
    QString text() const override { return m_text; }
    void setText(const QString &text) override { m_text = text; }

private:
    QString m_text;
};

StudentResult sample(int seed) {
    static const QString marks[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    StudentResult r;
    r.percentage = float(30 + seed % 70);
    r.evaluation = QString::number(1 + seed % 5);
    for (int v = 0; v < kViewpoints; ++v) {
        r.viewpointPercentages[std::size_t(v)] = float(20 + (seed + v * 7) % 80);
        r.marks[std::size_t(v)] = marks[(seed + v) % 3];
    }
    return r;
}

struct FullGrade {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';

    FullGrade() {
        YearSettings y;
        y.classCount = {kClasses, 0, 0, 0, 0, 0};
        y.hyouteiName[0] = QStringLiteral("1学期");
        y.save(folder, kYear);
        std::vector<RosterEntry> roster(kSlots);
        for (int slot = 0; slot < kSlots; ++slot)
            roster[std::size_t(slot)].name = QStringLiteral("生徒　%1").arg(slot + 1);
        roster::write(paths::rosterFile(folder, kYear, 1), roster, true);
        const QStringList subjects = gradesubjects::fileSubjects(1);
        for (int s = 0; s < subjects.size(); ++s)
            for (int cls = 1; cls <= kClasses; ++cls) {
                auto r = std::make_unique<EvaluationResults>();
                for (int k = 1; k <= 3; ++k)
                    for (int n = 1; n <= kSeatsPerClass; ++n)
                        r->at(k, cls, n) = sample(s * 1000 + cls * 60 + n + k);
                ClassResultFile::save(paths::classResultFile(folder, kYear, 1, cls, subjects[s]), *r, cls);
            }
        const QStringList display = gradesubjects::displaySubjects(1);
        QStringList lines;
        for (int e = 0; e < kElectives; ++e) {
            const QString name = QStringLiteral("選択%1%2").arg(display[e % 9]).arg(e / 9 + 1);
            lines.append(QStringLiteral("1年") + name);
            QStringList members;
            std::vector<int> seats;
            for (int i = 0; i < 100; ++i) {
                const int slot = (e * 37 + i * 7) % kSlots;
                seats.push_back(slot);
                members.append(QString::number(classOfSlot(slot) * 100 + numberOfSlot(slot)));
            }
            memberlist::write(folder, kYear, 1, name, members);
            auto r = std::make_unique<EvaluationResults>();
            for (int slot : seats)
                for (int k = 1; k <= 3; ++k)
                    r->at(k, slot) = sample(e * 31 + slot + k);
            ElectiveResultFile::save(paths::electiveResultFile(folder, kYear, 1, name), *r, seats);
        }
        electives::writeLines(folder, kYear, lines);
    }

    GradeHyouteiStore::Inputs inputs() const {
        return {folder, kYear, 1, 1, QStringLiteral("1学期"), 1, true};
    }
};

FullGrade &grade() {
    static FullGrade g;
    return g;
}

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
