// Opens a window of the program offscreen on a data folder, edits it through its own event path and
// saves the way a teacher does, for the window paths of fault_sweep.py. After each save it prints one
// JSON line on stdout and waits for a line on stdin (the driver looks at the files meanwhile):
//   step        the save: "calc" (評定計算 of period 1), "close" (もどる), "again" (もどる once more,
//               only after a close that failed), "release" (the lock after the window closed), or "open"
//               (the lock was refused, nothing opened)
//   failed      the save did not write everything (the window stayed open, or results are pending)
//   messages    the message boxes shown since the last report
//   unsaved     the window still has changes to write
//   edits_kept  every edit is still in the window
// The questions of 評定計算 are answered Yes, the first close of the score-entry and evaluation windows
// "キャンセル" (stay), that of the roster "はい" (save); the next close gets the default answers.
//   window_save_probe input DATA       the score-entry window: grade 1 国語, test A, classes 1..3,
//                                      typed into classes 1 and 2 and a paste
//   window_save_probe evaluation DATA  the evaluation window of the demo teacher, grade 1 国語: a typed
//                                      score, the automatic estimate, 評定計算 of period 1
//   window_save_probe roster DATA      the roster of grade 1: a name typed and a block pasted, then
//                                      もどる (no lock)
//   window_save_probe settings DATA    the settings of the year (年度設定): a test name typed, then the
//                                      close box
//   window_save_probe kanten DATA      the viewpoints of 国語 (観点の定義): a name typed, then OK
//   window_save_probe members DATA     the students of 選択国語 of grade 1: a number typed, then OK
//   window_save_probe tanto DATA       the classes of 国語 (担当学級の設定): class 2 to 青山一郎, then OK
//   window_save_probe permission DATA  the input permissions (入力許可): the first test, then OK
// A failed save of the last five asks whether to stay; the answer is to stay.
#include "app/DemoSchool.h"
#include "app/NextSequence.h"
#include "app/SharedLock.h"
#include "app/Startup.h"
#include "app/ui/PermissionForm1.h"
#include "common/DataPaths.h"
#include "config/ui/KantenDefForm.h"
#include "config/ui/NameEditForm.h"
#include "config/ui/SentakuMember1Form.h"
#include "config/ui/SettingsForm.h"
#include "config/ui/TantoForm.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/Worksheet.h"
#include "evaluation/ui/EvaluationWindow.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "support/gui/GuiFixture.h"
#include "testscores/ui/ScoreEntryModel.h"
#include "testscores/ui/ScoreEntryWindow.h"
#include "testscores/ui/TInput1Form.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <cstdio>
#include <functional>
#include <iostream>
#include <string>

using namespace tavro;
using tavro::test::GuiFixture;

namespace {

struct Cell {
    int classIndex, number, field, value;
};

// Runs one save and reports it; false when the driver went away.
bool report(const char *step, test::ScriptedPrompter &prompter, const std::function<void()> &save,
            const std::function<bool()> &failed, const std::function<bool()> &unsaved,
            const std::function<bool()> &editsKept, Prompter::Answer closeAnswer = Prompter::Answer::Cancel) {
    if (std::string(step) == "close")
        prompter.script({closeAnswer});
    else if (std::string(step) == "calc")
        prompter.script({Prompter::Answer::Yes, Prompter::Answer::Yes, Prompter::Answer::Yes});
    save();
    QJsonArray messages;
    for (const QString &text : prompter.texts())
        messages.append(text);
    const QJsonObject r{{"step", step},
                        {"failed", failed()},
                        {"messages", messages},
                        {"unsaved", unsaved()},
                        {"edits_kept", editsKept()}};
    const QByteArray json = QJsonDocument(r).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
    std::fflush(stdout);
    prompter.clear();
    std::string line;
    return bool(std::getline(std::cin, line));
}

// The close, and when it failed the close once more.
void closeTwice(QWidget *w, test::ScriptedPrompter &prompter, const std::function<bool()> &unsaved,
                const std::function<bool()> &editsKept, const char *backButton = "ModoruButton",
                Prompter::Answer closeAnswer = Prompter::Answer::Cancel) {
    auto *back = GuiFixture::child<QPushButton>(w, backButton);
    const auto click = [back] { QTest::mouseClick(back, Qt::LeftButton); };
    const auto open = [w] { return w->isVisible(); };
    if (report("close", prompter, click, open, unsaved, editsKept, closeAnswer) && w->isVisible())
        report("again", prompter, click, open, unsaved, editsKept);
}

int probeScoreEntry(const WorkingContext &context, test::TestPlatform &doubles) {
    TInput1Form w(scoreEntryContextOf(context, false), doubles.platform());
    if (!GuiFixture::showAt(&w) || w.session().tabCount() == 0) {
        std::fprintf(stderr, "the window did not open\n");
        return 2;
    }
    auto *grid = GuiFixture::child<QTableView>(&w, "InputGrid");
    auto *model = static_cast<scoreentryui::ScoreEntryModel *>(grid->model());

    // Typed: viewpoints 1..3 of numbers 1..3 (Enter moves on); pasted: a column at number 20, viewpoint 2.
    grid->setFocus();
    for (int row = 1; row <= 3; ++row)
        for (const char *value : {"31", "17", "9"}) {
            QTest::keyClick(grid, Qt::Key_Delete);
            GuiFixture::typeText(grid, QString::fromLatin1(value));
            QTest::keyClick(grid, Qt::Key_Return);
        }
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(model->indexOf(20, 2)).center());
    doubles.clipboard.setText(QStringLiteral("23\r\n-\r\n11\r\n"));
    w.findChild<QAction *>("PasteAction")->trigger();
    // "n" twice: the first half of class 2, where number 1 gets 12 in viewpoint 1.
    grid->setFocus();
    GuiFixture::typeText(grid, QStringLiteral("nn"));
    QTest::keyClick(grid, Qt::Key_Delete);
    GuiFixture::typeText(grid, QStringLiteral("12"));
    QTest::keyClick(grid, Qt::Key_Return);
    const int class2Tab = w.session().cursor().tab;
    // What was typed and pasted, as the session keeps it (class index, number, field, value; "-" is -2).
    const std::vector<Cell> expected = {{0, 1, 1, 31},  {0, 1, 2, 17},  {0, 1, 3, 9},
                                        {0, 2, 1, 31},  {0, 3, 3, 9},   {0, 20, 2, 23},
                                        {0, 21, 2, -2}, {0, 22, 2, 11}, {1, 1, 1, 12}};
    const auto editsKept = [&] {
        for (const Cell &cell : expected)
            if (w.session().classScores(cell.classIndex).student(cell.number)[std::size_t(cell.field)] !=
                cell.value)
                return false;
        return true;
    };
    if (class2Tab != 2 || !editsKept() || !w.session().isModified()) {
        std::fprintf(stderr, "the edits did not reach the window (tab %d, kept %d)\n", class2Tab,
                     int(editsKept()));
        return 2;
    }

    closeTwice(
        &w, doubles.prompter, [&] { return w.session().isModified(); }, editsKept);
    return 0;
}

int probeEvaluation(const WorkingContext &context, test::TestPlatform &doubles) {
    THyoutei1Form w(evaluationContextOf(context, false), doubles.platform());
    EvaluationSession &s = w.session();
    if (!GuiFixture::showAt(&w, QSize(1280, 800)) || s.readOnly()) {
        std::fprintf(stderr, "the window did not open for writing\n");
        return 2;
    }
    auto *grid = GuiFixture::child<QTableView>(&w, "TokutenGrid");
    int regularItem = 0;
    for (int item = 1; item <= kMaxItems && regularItem == 0; ++item)
        if (s.worksheet().item(item).kind == itemkind::kRegular && s.worksheet().item(item).fullScore >= 20)
            regularItem = item;
    if (!grid || regularItem == 0) {
        std::fprintf(stderr, "no regular item to type into\n");
        return 2;
    }
    // 17 and 9 typed for the first two students, then the automatic estimate.
    const int column = regularItem + 2;
    const auto cell = [&](int row) { return grid->model()->index(row, column).data().toString(); };
    grid->setFocus();
    for (const auto &[row, keys] : {std::pair{0, "17"}, std::pair{1, "9"}}) {
        grid->setCurrentIndex(grid->model()->index(row, column));
        QTest::keyClick(grid, Qt::Key_Delete);
        GuiFixture::typeText(grid, QString::fromLatin1(keys));
    }
    QTest::mouseClick(GuiFixture::child<QPushButton>(&w, "MikomiCulc"), Qt::LeftButton);
    const auto editsKept = [&] { return cell(0) == QLatin1String("17") && cell(1) == QLatin1String("9"); };
    if (!editsKept() || !s.isModified()) {
        std::fprintf(stderr, "the edits did not reach the window\n");
        return 2;
    }
    const auto unsaved = [&] { return s.isModified() || s.resultsPending(); };

    // 評定計算 of period 1 once more: its results are written at once.
    auto *calc = w.findChild<QAction *>("HyouteiCulc1");
    if (!calc || !calc->isEnabled()) {
        std::fprintf(stderr, "period 1 cannot be calculated\n");
        return 2;
    }
    if (report(
            "calc", doubles.prompter, [calc] { calc->trigger(); },
            [&] { return s.resultsPending() || !s.isCalculated(); }, unsaved, editsKept))
        closeTwice(&w, doubles.prompter, unsaved, editsKept);
    return 0;
}

// The roster takes no lock and asks "保存しますか?" on every close: a failed save keeps the window open.
int probeRoster(const QString &dataFolder, int nendo, test::TestPlatform &doubles) {
    TNameEditForm w(doubles.platform(), QStringLiteral("TAVRO"), nendo, QStringLiteral("1"), dataFolder,
                    true);
    if (!GuiFixture::showAt(&w) || !w.editor().loadError().isEmpty()) {
        std::fprintf(stderr, "the roster did not open\n");
        return 2;
    }
    auto *grid = GuiFixture::child<QTableView>(&w, "NameGrid");
    QAbstractItemModel *model = grid->model();
    // A name typed over slot 3 (Return commits), a name and reading pasted at slot 8 and a history
    // cell below it.
    grid->setFocus();
    grid->setCurrentIndex(model->index(2, RosterEditor::kNameColumn));
    GuiFixture::typeText(grid, QStringLiteral("新")); // opens the in-place editor
    auto *cellEditor = qobject_cast<QLineEdit *>(grid->indexWidget(grid->currentIndex()));
    if (!cellEditor) {
        std::fprintf(stderr, "no in-place editor\n");
        return 2;
    }
    GuiFixture::typeText(cellEditor, QStringLiteral("井　陽菜"));
    QTest::keyClick(cellEditor, Qt::Key_Return);
    // Return commits the editor queued.
    if (!QTest::qWaitFor([&] { return !grid->indexWidget(model->index(2, RosterEditor::kNameColumn)); })) {
        std::fprintf(stderr, "the in-place editor stayed open\n");
        return 2;
    }
    grid->setCurrentIndex(model->index(7, RosterEditor::kNameColumn));
    doubles.clipboard.setText(QStringLiteral("佐藤　一\tさとう　はじめ\r\n\t\t\t101\r\n"));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    const RosterEditor &editor = w.editor();
    const auto editsKept = [&] {
        return editor.cell(3, RosterEditor::kNameColumn) == QStringLiteral("新井　陽菜") &&
               editor.cell(8, RosterEditor::kNameColumn) == QStringLiteral("佐藤　一") &&
               editor.cell(8, RosterEditor::kFuriganaColumn) == QStringLiteral("さとう　はじめ") &&
               editor.cell(9, RosterEditor::kNameColumn + 3) == QStringLiteral("101");
    };
    if (!editsKept()) {
        std::fprintf(stderr, "the edits did not reach the roster\n");
        return 2;
    }
    // The roster keeps no modified flag: its edits are unwritten until a close saved them.
    const auto unsaved = [&] { return w.isVisible(); };
    closeTwice(&w, doubles.prompter, unsaved, editsKept, "BackButton", Prompter::Answer::Yes);
    return 0;
}

// A settings dialog: `edit` changes it and tells whether the change is shown; the dialog saves on
// `closeButton` (or the close box when empty), and a failed save asks, answered with `stay`.
int probeDialog(QDialog &w, test::TestPlatform &doubles, const QSize &size, const std::function<bool()> &edit,
                const std::function<bool()> &editsKept, const char *closeButton, Prompter::Answer stay) {
    if (!GuiFixture::showAt(&w, size)) {
        std::fprintf(stderr, "the dialog did not open\n");
        return 2;
    }
    if (!doubles.prompter.texts().isEmpty() || !edit() || !editsKept()) {
        std::fprintf(stderr, "the edit did not reach the dialog: %s\n",
                     qPrintable(doubles.prompter.texts().join(u'|')));
        return 2;
    }
    // These dialogs keep no modified flag the caller sees: what they show is unwritten until they closed.
    const auto unsaved = [&] { return w.isVisible(); };
    if (*closeButton) {
        closeTwice(&w, doubles.prompter, unsaved, editsKept, closeButton, stay);
        return 0;
    }
    const auto close = [&] { w.close(); };
    if (report("close", doubles.prompter, close, unsaved, unsaved, editsKept, stay) && w.isVisible())
        report("again", doubles.prompter, close, unsaved, unsaved, editsKept);
    return 0;
}

int probeSettingsWindow(const QString &kind, const QString &dataFolder, int nendo,
                        test::TestPlatform &doubles) {
    const Platform platform = doubles.platform();
    const QString caption = QStringLiteral("TAVRO");
    const auto replaceText = [](QWidget *edit, const QString &text) {
        if (!edit)
            return false;
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        GuiFixture::typeText(edit, text);
        return true;
    };
    if (kind == QLatin1String("settings")) {
        TSettingsForm w(platform, caption, nendo, dataFolder);
        const QString typed = QStringLiteral("実力診断");
        const auto field = [&] { return GuiFixture::child<QLineEdit>(&w, "TestName1"); };
        return probeDialog(
            w, doubles, QSize(900, 640), [&] { return replaceText(field(), typed); },
            [&] { return field()->text() == typed; }, "", Prompter::Answer::Yes);
    }
    if (kind == QLatin1String("kanten")) {
        TKantenDefForm w(platform, caption, nendo, dataFolder, 1);
        const QString typed = QStringLiteral("読む力");
        const auto field = [&] { return GuiFixture::child<QLineEdit>(&w, "Kanten2M"); };
        return probeDialog(
            w, doubles, QSize(860, 470), [&] { return replaceText(field(), typed); },
            [&] { return field()->text() == typed; }, "OKButton", Prompter::Answer::No);
    }
    if (kind == QLatin1String("members")) {
        TSentakuMember1Form w(platform, caption, nendo, dataFolder, QStringLiteral("1"));
        const auto memo = [&] { return GuiFixture::child<QPlainTextEdit>(&w, "MemberMemo"); };
        const auto edit = [&] {
            auto *list = GuiFixture::child<QListWidget>(&w, "SentakuList");
            if (!list || !list->currentItem() || list->currentItem()->text() != QStringLiteral("選択国語"))
                return false;
            memo()->setFocus();
            memo()->moveCursor(QTextCursor::End);
            GuiFixture::typeText(memo(), QStringLiteral("\n2305"));
            return true;
        };
        return probeDialog(
            w, doubles, QSize(600, 520), edit,
            [&] { return memo()->toPlainText().endsWith(QStringLiteral("\n2305")); }, "OKButton",
            Prompter::Answer::No);
    }
    if (kind == QLatin1String("tanto")) {
        TTantoForm w(platform, caption, nendo, dataFolder, 1);
        const auto table = [&] { return GuiFixture::child<QTableWidget>(&w, "TantoGrid"); };
        // Row 0 青山一郎, row 1 井上和子 (国語 in every class): class 2 goes to 青山一郎.
        const auto edit = [&] {
            auto *t = table();
            auto *action = GuiFixture::child<QAction>(&w, "TantoAction");
            if (!t || !action || t->rowCount() < 2 || t->columnCount() < 2 || !t->item(1, 1) ||
                t->item(1, 1)->text() != QStringLiteral("○"))
                return false;
            QTest::mouseClick(t->viewport(), Qt::LeftButton, {},
                              t->visualRect(t->model()->index(0, 1)).center());
            action->trigger();
            return true;
        };
        const auto kept = [&] {
            auto *t = table();
            return t->item(0, 1) && t->item(0, 1)->text() == QStringLiteral("○") &&
                   (!t->item(1, 1) || t->item(1, 1)->text().isEmpty());
        };
        return probeDialog(w, doubles, QSize(1024, 768), edit, kept, "OKButton", Prompter::Answer::No);
    }
    if (kind == QLatin1String("permission")) {
        TPermissionForm1 w(platform, nendo, dataFolder);
        const auto item = [&]() -> QListWidgetItem * {
            auto *list = GuiFixture::child<QListWidget>(&w, "CheckListBox1");
            return list && list->count() > 0 ? list->item(0) : nullptr;
        };
        Qt::CheckState before = Qt::Unchecked;
        const auto edit = [&] {
            if (!item())
                return false;
            before = item()->checkState();
            item()->setCheckState(before == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            return true;
        };
        return probeDialog(
            w, doubles, QSize(600, 480), edit, [&] { return item()->checkState() != before; }, "OKButton",
            Prompter::Answer::No);
    }
    return -1;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool input = args.size() == 3 && args[1] == QLatin1String("input");
    const char *usage =
        "usage: window_save_probe input|evaluation|roster|settings|kanten|members|tanto|permission DATA\n";
    if (args.size() != 3) {
        std::fputs(usage, stderr);
        return 2;
    }
    test::TestPlatform doubles;
    const int nendo = schoolYearOf(doubles.clock.now().date());
    const QString dataFolder = paths::withTrailingSeparator(args[2]);
    if (args[1] == QLatin1String("roster"))
        return probeRoster(dataFolder, nendo, doubles);
    if (const int status = probeSettingsWindow(args[1], dataFolder, nendo, doubles); status >= 0)
        return status;
    if (!input && args[1] != QLatin1String("evaluation")) {
        std::fputs(usage, stderr);
        return 2;
    }
    WorkingContext context = loadContext(paths::withTrailingSeparator(args[2]), nendo, nendo);
    context.mainCaption = QStringLiteral("TAVRO");

    // "次へ" of the page: the lock is taken before the window opens and released after it closed.
    DataPageChoice choice;
    choice.page = input ? DataPage::PeriodicTest : DataPage::Compulsory;
    choice.gradeIndex = 0;
    choice.subject = QStringLiteral("国語");
    if (input) {
        choice.testIndex = 0;
        choice.testName = QStringLiteral("1学期中間テスト");
    }
    const auto login = [](const LoginInputs &) {
        return std::optional<LoginResult>(
            LoginResult{DemoSchool::teacherNames().at(1), QStringLiteral("123")});
    };
    int status = 0;
    const auto open = [&](const WorkingContext &c) {
        status = input ? probeScoreEntry(c, doubles) : probeEvaluation(c, doubles);
    };
    SharedLock lock(doubles.prompter, doubles.clock, doubles.workstation);
    doubles.prompter.clear();
    const NextResult result = runNextSequence(context, choice, doubles.prompter, lock, login, open);
    if (result != NextResult::Opened) {
        // Nothing was edited: the report of the refused opening.
        report(
            "open", doubles.prompter, [] {}, [] { return true; }, [] { return false; }, [] { return true; });
        return result == NextResult::LockRefused ? 0 : 2;
    }
    const QString lockName = lockNameFor(context, choice.page);
    report(
        "release", doubles.prompter, [] {}, [&] { return QFileInfo::exists(lockName); }, [] { return false; },
        [] { return true; });
    return status;
}
