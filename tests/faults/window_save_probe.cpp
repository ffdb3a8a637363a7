// Opens a window of the program offscreen on a data folder, edits it through its own event path and
// saves the way a teacher does, for the window paths of fault_sweep.py. Each save prints one JSON line
// on stdout: whether the window closed, the messages it showed, whether the session is still modified
// and whether the edits are still in the window. After the first line the probe waits for a line on
// stdin (the driver looks at the files meanwhile); when the first save failed, the window is closed
// once more and a second line tells how that save went.
//   window_save_probe input DATA   the score-entry window: grade 1 国語, test A, classes 1..3, edits in
//                                  classes 1 and 2
#include "support/gui/GuiFixture.h"
#include "testscores/ui/ScoreEntryModel.h"
#include "testscores/ui/TInput1Form.h"

#include <QAction>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <cstdio>
#include <iostream>
#include <string>

using namespace tavro;
using tavro::test::GuiFixture;

namespace {

struct Cell {
    int classIndex, number, field, value;
};

void printReport(const char *step, bool closed, const test::ScriptedPrompter &prompter, bool modified,
                 bool editsKept) {
    QJsonArray messages;
    for (const QString &text : prompter.texts())
        messages.append(text);
    QJsonObject report{{"step", step},
                       {"closed", closed},
                       {"messages", messages},
                       {"modified", modified},
                       {"edits_kept", editsKept}};
    const QByteArray json = QJsonDocument(report).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
    std::fflush(stdout);
}

int probeScoreEntry(const QString &dataFolder) {
    test::TestPlatform doubles;
    ScoreEntryContext c;
    c.mainCaption = QStringLiteral("TAVRO");
    c.dataFolder = dataFolder;
    c.nendo = GuiFixture::kNendo;
    c.grade = 1;
    c.kyouka = QStringLiteral("国語");
    c.testCode = QStringLiteral("A");
    c.testName = QStringLiteral("1学期中間テスト");
    c.chargeClasses = QStringLiteral("123");
    TInput1Form w(c, doubles.platform());
    if (!GuiFixture::showAt(&w) || w.session().tabCount() == 0) {
        std::fprintf(stderr, "the window did not open\n");
        return 2;
    }
    auto *grid = GuiFixture::child<QTableView>(&w, "InputGrid");
    auto *back = GuiFixture::child<QPushButton>(&w, "ModoruButton");
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

    // A failed save is answered "キャンセル": the window stays open with its edits.
    doubles.prompter.script({Prompter::Answer::Cancel});
    QTest::mouseClick(back, Qt::LeftButton);
    printReport("first", !w.isVisible(), doubles.prompter, w.session().isModified(), editsKept());
    std::string line;
    std::getline(std::cin, line);
    if (w.isVisible()) {
        doubles.prompter.clear();
        QTest::mouseClick(back, Qt::LeftButton);
        printReport("second", !w.isVisible(), doubles.prompter, w.session().isModified(), editsKept());
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || args[1] != QLatin1String("input")) {
        std::fprintf(stderr, "usage: window_save_probe input DATA\n");
        return 2;
    }
    QString data = args[2];
    if (!data.endsWith(QLatin1Char('/')))
        data += QLatin1Char('/');
    return probeScoreEntry(data);
}
