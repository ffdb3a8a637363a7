// The score-entry window on nine full classes, offscreen: opening to the first paint, one keystroke to
// its repaint, and the save of the nine class files.
#include "SilentPrompter.h"
#include "common/DataPaths.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "platform/Prompter.h"
#include "platform/SoundPlayer.h"
#include "platform/UserStore.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"
#include "testscores/ui/TInput1Form.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>

using namespace tavro;

namespace {

constexpr int kYear = 2024;

using bench::SilentPrompter;

class MemoryStore final : public UserStore {
public:
    int readInt(const QString &section, const QString &name, int def) const override {
        return m_values.value(section + u'/' + name, def);
    }
    void writeInt(const QString &section, const QString &name, int value) override {
        m_values.insert(section + u'/' + name, value);
    }

private:
    QHash<QString, int> m_values;
};

class NoSound final : public SoundPlayer {
public:
    void play(const QString &) override {}
    void beep() override {}
};

// Grade 1 of nine classes × 60 students with every score of test "A" in 国語 set, by viewpoint.
struct NineClasses {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    SilentPrompter prompter;
    MemoryStore store;
    NoSound sound;

    NineClasses() {
        YearSettings y;
        y.classCount = {9, 0, 0, 0, 0, 0};
        y.save(folder, kYear);
        std::vector<RosterEntry> roster(std::size_t(9 * kSeatsPerClass));
        for (std::size_t i = 0; i < roster.size(); ++i)
            roster[i].name = QStringLiteral("生徒%1").arg(i + 1);
        roster::write(paths::rosterFile(folder, kYear, 1), roster, true);
        FullScores full;
        full.values = {100, 30, 30, 20, 10, 10, 0};
        TestScoreFile::writeFullScores(paths::fullScoreFile(folder, kYear, "A", 1, "国語"), full);
        QRandomGenerator rng(2024);
        for (int cls = 1; cls <= 9; ++cls) {
            ClassScores scores;
            for (TestScoreRecord &r : scores.records) {
                int sum = 0;
                for (int v = 1; v <= 5; ++v)
                    sum += r[std::size_t(v)] = int(rng.bounded(full.values[std::size_t(v)] + 1));
                r[0] = sum;
            }
            TestScoreFile::writeClassScores(paths::classScoreFile(folder, kYear, "A", 1, cls, "国語"),
                                            scores);
        }
    }
    ScoreEntryContext context() const {
        ScoreEntryContext c;
        c.mainCaption = QStringLiteral("成績処理");
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.testCode = QStringLiteral("A");
        c.testName = QStringLiteral("1学期中間テスト");
        c.chargeClasses = QStringLiteral("123456789");
        return c;
    }
    Platform platform() { return Platform{&prompter, nullptr, &store, &sound, nullptr, nullptr}; }
};

NineClasses &school() {
    static NineClasses s;
    return s;
}

void BM_OpenWindow(benchmark::State &state) {
    NineClasses &s = school();
    for (auto _ : state) {
        TInput1Form window(s.context(), s.platform());
        window.load();
        window.resize(1280, 800);
        window.show();
        QApplication::processEvents();
        window.repaint();
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_KeystrokeToRepaint(benchmark::State &state) {
    NineClasses &s = school();
    TInput1Form window(s.context(), s.platform());
    window.load();
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
    auto *grid = window.findChild<QTableView *>(QStringLiteral("InputGrid"));
    grid->setFocus();
    int pass = 0;
    for (auto _ : state) {
        const int digit = pass++ % 10;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + digit, Qt::NoModifier, QString(QChar(u'0' + digit)));
        QApplication::sendEvent(grid, &press);
        grid->viewport()->repaint();
    }
    window.done(0); // nothing saved
}
BENCHMARK(BM_KeystrokeToRepaint)->Unit(benchmark::kMillisecond);

void BM_SaveNineClassFiles(benchmark::State &state) {
    NineClasses &s = school();
    ScoreEntrySession session(s.context());
    session.load(s.prompter);
    int pass = 0;
    for (auto _ : state) {
        state.PauseTiming();
        session.character(QChar(u'0' + pass++ % 10));
        state.ResumeTiming();
        QString error;
        if (!session.save(&error))
            state.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(BM_SaveNineClassFiles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
