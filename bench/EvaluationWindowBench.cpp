// The evaluation window on a full worksheet, offscreen: opening to the first paint (with the resident
// memory afterwards), one keystroke in TokutenGrid to the repaint of what it changed, a full repaint of
// the visible grid, a period switch with the distribution and charts, a paste of 540 × 100 scores
// and its undo, and the return of a sound's play().
#include "FullSchool.h"

#include "evaluation/ui/Hyoutei1Form.h"
#include "exchange/ResultCopies.h"
#include "platform/Clipboard.h"
#include "platform/UserStore.h"
#include "platform/qt/ui/QtWidgetPorts.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QKeyEvent>
#include <QTableView>

#include <utility>

using namespace tavro;
using namespace tavro::bench;

namespace {

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

class MemoryClipboard final : public Clipboard {
public:
    QString text() const override { return m_text; }
    void setText(const QString &text) override { m_text = text; }

private:
    QString m_text;
};

class NoSound final : public SoundPlayer {
public:
    void play(const QString &) override {}
    void beep() override {}
};

struct Ports {
    SilentPrompter prompter;
    MemoryStore store;
    NoSound sound;
    ConstantClock clock;
    MemoryClipboard clipboard;
    Platform platform() { return Platform{&prompter, &clipboard, &store, &sound, &clock, nullptr}; }
};

FullSchool &school() {
    static FullSchool s;
    return s;
}

void paintNow(QWidget &w) {
    QApplication::processEvents();
    w.repaint();
}

void BM_OpenWindow(benchmark::State &state) {
    FullSchool &s = school();
    Ports ports;
    double resident = 0;
    for (auto _ : state) {
        THyoutei1Form window(s.context(), ports.platform());
        window.resize(1280, 800);
        window.show();
        paintNow(window);
        resident = std::max(resident, residentMiB());
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
    state.counters["residentMiB"] = resident;
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

struct OpenWindow {
    Ports ports;
    THyoutei1Form window;
    OpenWindow() : window(school().context(), ports.platform()) {
        window.resize(1280, 800);
        window.show();
        paintNow(window);
    }
};

void BM_KeystrokeToRepaint(benchmark::State &state) {
    OpenWindow w;
    auto *grid = w.window.findChild<QTableView *>(QStringLiteral("TokutenGrid"));
    if (!grid) {
        state.SkipWithError("TokutenGrid not found");
        return;
    }
    grid->setFocus();
    int row = 1;
    int pass = 0;
    for (auto _ : state) {
        // Item 13 (column 15) is a regular item referenced by an aggregate item.
        grid->setCurrentIndex(grid->model()->index(row, 15));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (pass + row) % 10, Qt::NoModifier,
                        QString(QChar(u'0' + (pass + row) % 10)));
        QApplication::sendEvent(grid, &press);
        // The window paints what the keystroke marked changed (the student's row, the panels).
        QApplication::processEvents();
        if (++row > 30) {
            row = 1;
            ++pass;
        }
    }
}
BENCHMARK(BM_KeystrokeToRepaint)->Unit(benchmark::kMillisecond);

// The whole visible grid painted again, as after scrolling a page: the cost of every visible cell.
void BM_FullGridRepaint(benchmark::State &state) {
    OpenWindow w;
    auto *grid = w.window.findChild<QTableView *>(QStringLiteral("TokutenGrid"));
    if (!grid) {
        state.SkipWithError("TokutenGrid not found");
        return;
    }
    for (auto _ : state)
        grid->viewport()->repaint();
}
BENCHMARK(BM_FullGridRepaint)->Unit(benchmark::kMillisecond);

void BM_PeriodSwitch(benchmark::State &state) {
    OpenWindow w;
    auto *select = w.window.findChild<QComboBox *>(QStringLiteral("HyouteiSelect"));
    if (!select || select->count() < 2) {
        state.SkipWithError("HyouteiSelect not found");
        return;
    }
    int index = 0;
    for (auto _ : state) {
        index = (index + 1) % select->count();
        select->setCurrentIndex(index);
        paintNow(w.window);
    }
}
BENCHMARK(BM_PeriodSwitch)->Unit(benchmark::kMillisecond);

// `text` on the clipboard with the cursor of TokutenGrid at its first item and
// the menu opened there; the grid and the menu's paste, or null when the window lacks them.
std::pair<QTableView *, QAction *> preparePaste(OpenWindow &w, const QString &text) {
    auto *grid = w.window.findChild<QTableView *>(QStringLiteral("TokutenGrid"));
    auto *paste = w.window.findChild<QAction *>(QStringLiteral("Paste1"));
    if (!grid || !paste)
        return {nullptr, nullptr};
    w.ports.clipboard.setText(text);
    grid->setCurrentIndex(grid->model()->index(0, 3));
    w.window.copyPastePopup(grid);
    return {grid, paste};
}

// That block pasted through the menu: store, aggregate items, repaint.
void BM_PasteScores(benchmark::State &state) {
    OpenWindow w;
    const auto [grid, paste] = preparePaste(w, scoreBlockText(1, 7, 101));
    if (!grid) {
        state.SkipWithError("TokutenGrid or its paste action not found");
        return;
    }
    for (auto _ : state) {
        paste->trigger();
        grid->viewport()->repaint();
    }
}
BENCHMARK(BM_PasteScores)->Unit(benchmark::kMillisecond);

// The undo of a paste (Ctrl+Z): the 54,000 cells and the aggregate items of 540 rows put back, every
// page refreshed and the grid repainted. The redo between the iterations is not timed.
void BM_UndoPaste(benchmark::State &state) {
    OpenWindow w;
    const auto [grid, paste] = preparePaste(w, scoreBlockText(3, 11, 97));
    if (!grid) {
        state.SkipWithError("TokutenGrid or its paste action not found");
        return;
    }
    paste->trigger();
    grid->viewport()->repaint();
    bool first = true;
    for (auto _ : state) {
        if (!first) {
            state.PauseTiming();
            w.window.undoClick(true);
            grid->viewport()->repaint();
            state.ResumeTiming();
        }
        first = false;
        w.window.undoClick(false);
        grid->viewport()->repaint();
    }
    if (!w.window.session().canRedo())
        state.SkipWithError("nothing was undone");
}
BENCHMARK(BM_UndoPaste)->Unit(benchmark::kMillisecond);

void BM_SoundPlay(benchmark::State &state) {
    SystemSoundPlayer player;
    for (auto _ : state)
        player.play(QStringLiteral("rei"));
}
BENCHMARK(BM_SoundPlay)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
