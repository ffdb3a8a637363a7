// The score-entry window opened through "次へ" of the test pages on the demo school: a class typed with
// spoken digits, the full-score dialogs of both modes, a paste, the copy, the charts and the close
// that asks about a score above its full score, saves and releases the lock; the files read back.
#include "app/DemoSchool.h"
#include "app/SharedLock.h"
#include "app/ui/MainForm.h"
#include "app/ui/PassWordCheck1Form.h"
#include "reports/LayoutRecorder.h"
#include "support/gui/GuiFixture.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"
#include "testscores/ui/ScoreEntryModel.h"
#include "testscores/ui/ScoreEntryWindow.h"
#include "testscores/ui/TInput1Form.h"
#include "testscores/ui/TTestMantenForm.h"
#include "testscores/ui/TTestMantenGakuForm.h"
#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace tavro;
using tavro::test::GuiFixture;
using tavro::test::whenShown;

namespace {

void login() {
    whenShown<TPassWordCheck1Form>([](TPassWordCheck1Form *d) {
        GuiFixture::child<QListWidget>(d, "TeacherList")->setCurrentRow(1);
        GuiFixture::typeText(GuiFixture::child<QLineEdit>(d, "PasswordEdit"),
                             QString::fromUtf8(DemoSchool::kTeacherPassword));
        QTest::mouseClick(GuiFixture::child<QPushButton>(d, "OKButton"), Qt::LeftButton);
    });
}

// Closes the window when a check failed half way.
struct Closer {
    TInput1Form *w;
    ~Closer() {
        if (w->isVisible())
            QMetaObject::invokeMethod(w, "done", Qt::QueuedConnection, Q_ARG(int, 0));
    }
};

QString cell(QTableView *grid, int row, int field) {
    auto *model = static_cast<scoreentryui::ScoreEntryModel *>(grid->model());
    return model->indexOf(row, field).data().toString();
}

void clickCell(QTableView *grid, int row, int field) {
    auto *model = static_cast<scoreentryui::ScoreEntryModel *>(grid->model());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(model->indexOf(row, field)).center());
}

void type(QTableView *grid, const QString &keys) {
    GuiFixture::typeText(grid, keys);
}

} // namespace

class Input1FormTest : public QObject {
    Q_OBJECT

private slots:
    void typePasteCopyAndClose();
};

void Input1FormTest::typePasteCopyAndClose() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    form.setDataWindowOpener(DataPage::PeriodicTest, [&](const WorkingContext &c) {
        openScoreEntryWindow(f.platform(), c, false, &form);
    });
    form.setDataWindowOpener(DataPage::AchievementTest, [&](const WorkingContext &c) {
        openScoreEntryWindow(f.platform(), c, true, &form);
    });
    QVERIFY(GuiFixture::showAt(&form));
    form.radioGroup("gakunen1")->button(0)->click();
    form.radioGroup("kyouka1")->button(0)->click();
    form.radioGroup("test1")->button(0)->click();
    const QString lockName = SharedLock::lockName(f.dataFolder(), GuiFixture::kNendo, "A", "1", "国語");

    // ---- The periodic test, by viewpoint ----
    login();
    bool lockedWhileOpen = false;
    bool reachedClose = false;
    QStringList played;
    QString copied, copyText, averageTitle;
    whenShown<TInput1Form>([&](TInput1Form *w) {
        Closer closer{w};
        lockedWhileOpen = QFileInfo::exists(lockName);
        ScoreEntrySession &s = w->session();
        QCOMPARE(w->windowTitle(), s.caption());
        QVERIFY(!s.readOnly() && s.byViewpoint());
        auto *tabs = GuiFixture::child<QTabBar>(w, "TabSet1");
        QCOMPARE(tabs->count(), 6);
        QCOMPARE(tabs->tabText(1), QString(" 1組F"));
        // "印刷": the score list, a page per class.
        reports::RecordingPrintTarget printer;
        w->setPrintTarget(&printer);
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "PrintButton"), Qt::LeftButton);
        QCOMPARE(printer.layout()[QStringLiteral("title")].toString(),
                 QStringLiteral("TAVRO for Windows 得点一覧"));
        QCOMPARE(printer.layout()[QStringLiteral("pages")].toArray().size(), 3);
        w->setPrintTarget(nullptr);
        auto *sound = GuiFixture::child<QPushButton>(w, "SoundButton");
        QCOMPARE(sound->text(), QString("オン"));                                             // on by default
        GuiFixture::child<QToolButton>(w, "VoiceButton")->menu()->actions().at(1)->trigger(); // boy's voice
        auto *grid = GuiFixture::child<QTableView>(w, "InputGrid");
        grid->setFocus();
        QCOMPARE(s.cursor(), (scoreentry::Cursor{0, 1, 1}));

        // Five students: 35, 10 ("jm"), 20 ("k0"); Enter skips viewpoints 4 and 5 (full score 0).
        f.sound().played.clear();
        for (int row = 1; row <= 5; ++row) {
            QTest::keyClick(grid, Qt::Key_Delete);
            type(grid, "35");
            QTest::keyClick(grid, Qt::Key_Return);
            QTest::keyClick(grid, Qt::Key_Delete);
            type(grid, "jm");
            QTest::keyClick(grid, Qt::Key_Return);
            QTest::keyClick(grid, Qt::Key_Delete);
            type(grid, "k0");
            QTest::keyClick(grid, Qt::Key_Return);
        }
        QCOMPARE(cell(grid, 3, 0), QString("65"));
        QCOMPARE(cell(grid, 5, 2), QString("10"));
        QCOMPARE(s.cursor(), (scoreentry::Cursor{0, 6, 1}));
        QCOMPARE(f.sound().played.mid(0, 6), QStringList({"san", "go", "iti", "rei", "ni", "rei"}));
        QCOMPARE(f.sound().played.count("DING"), 1);
        QVERIFY(!f.sound().played.contains("beep"));
        QVERIFY(GuiFixture::child<QLabel>(w, "HeikinPanel")->text().startsWith("平均 "));

        // Above the full score: a beep; "n" goes to the next half and back with PgUp.
        QTest::keyClick(grid, Qt::Key_Delete);
        type(grid, "45");
        QCOMPARE(f.sound().played.last(), QString("go"));
        QVERIFY(f.sound().played.contains("beep"));
        type(grid, "n");
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(s.cursor(), (scoreentry::Cursor{1, 1, 1}));
        QTest::keyClick(grid, Qt::Key_PageUp);
        QCOMPARE(tabs->currentIndex(), 0);

        // Full scores by viewpoint: viewpoint 4 gets 10.
        whenShown<TTestMantenForm>([](TTestMantenForm *d) {
            QCOMPARE(d->windowTitle(), QString("満点設定"));
            QVERIFY(GuiFixture::child<QLabel>(d, "KantenLabel1")->text().startsWith("観点① "));
            QCOMPARE(GuiFixture::child<QSpinBox>(d, "MantenEdit1")->value(), 40);
            GuiFixture::child<QSpinBox>(d, "MantenEdit4")->setValue(10);
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, "OKButton"), Qt::LeftButton);
        });
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "MantenButton"), Qt::LeftButton);
        QCOMPARE(GuiFixture::child<QLabel>(w, "Panel2")->text(), QString("満点110 ①40 ②40 ③20 ④10 ⑤ 0 "));

        // A column pasted from a spreadsheet at number 20, viewpoint 2.
        clickCell(grid, 20, 2);
        QCOMPARE(s.cursor(), (scoreentry::Cursor{0, 20, 2}));
        f.doubles.clipboard.setText("30\t99\r\n-\r\n");
        w->findChild<QAction *>("PasteAction")->trigger();
        QCOMPARE(cell(grid, 20, 2), QString("30"));
        QCOMPARE(cell(grid, 21, 2), QString("-"));
        f.doubles.clipboard.setText("12\r\nx\r\n");
        f.prompter().clear();
        w->findChild<QAction *>("PasteAction")->trigger();
        QVERIFY(f.lastMessage().startsWith("2行目"));
        QCOMPARE(cell(grid, 20, 2), QString("30"));

        // A paste over them is one step: Ctrl+Z takes it back, Ctrl+Y and Ctrl+Shift+Z do it again, and
        // the menu's 元に戻す takes it back once more.
        f.doubles.clipboard.setText("7\r\n8\r\n");
        w->findChild<QAction *>("PasteAction")->trigger();
        QCOMPARE(cell(grid, 21, 2), QString("8"));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(cell(grid, 20, 2), QString("30"));
        QCOMPARE(cell(grid, 21, 2), QString("-"));
        QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(cell(grid, 20, 2), QString("7"));
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(cell(grid, 21, 2), QString("8"));
        f.sound().played.clear();
        QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier); // nothing left to redo
        QCOMPARE(f.sound().played, QStringList({"beep"}));
        auto *menu = GuiFixture::child<QMenu>(w, "GridMenu");
        emit menu->aboutToShow();
        QVERIFY(w->findChild<QAction *>("UndoAction")->isEnabled());
        QVERIFY(!w->findChild<QAction *>("RedoAction")->isEnabled());
        w->findChild<QAction *>("UndoAction")->trigger();
        QCOMPARE(cell(grid, 20, 2), QString("30"));
        QCOMPARE(cell(grid, 21, 2), QString("-"));
        QCOMPARE(s.cursor(), (scoreentry::Cursor{0, 20, 2}));

        // Copy all.
        f.prompter().clear();
        w->findChild<QAction *>("CopyAllAction")->trigger();
        copied = f.doubles.clipboard.text();
        copyText = s.copyAllText();
        QCOMPARE(f.lastMessage(), QString("コピーが終わりました。"));

        // The charts take the place of the grid, one at a time.
        auto *average = GuiFixture::child<QPushButton>(w, "HeikinButton");
        auto *distribution = GuiFixture::child<QPushButton>(w, "BunpuButton");
        QTest::mouseClick(average, Qt::LeftButton);
        auto *averageChart = GuiFixture::child<QChartView>(w, "HeikinChart");
        QVERIFY(averageChart->isVisible() && !grid->isVisible());
        averageTitle = averageChart->chart()->title();
        QTest::mouseClick(distribution, Qt::LeftButton);
        QVERIFY(GuiFixture::child<QChartView>(w, "BunpuChart")->isVisible());
        QVERIFY(!average->isChecked());
        QCOMPARE(GuiFixture::child<QChartView>(w, "BunpuChart")->chart()->title(), QString("分布図"));
        QTest::mouseClick(distribution, Qt::LeftButton);
        QVERIFY(grid->isVisible());

        // The close asks about the 45; Yes returns to it, where Delete clears it.
        f.prompter().clear();
        f.prompter().script({Prompter::Answer::Yes});
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "ModoruButton"), Qt::LeftButton);
        QVERIFY(w->isVisible());
        QCOMPARE(f.lastMessage(), overFullQuestion());
        QCOMPARE(s.cursor(), (scoreentry::Cursor{0, 6, 1}));
        QTest::keyClick(grid, Qt::Key_Delete);
        f.prompter().clear();
        reachedClose = true;
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "ModoruButton"), Qt::LeftButton);
        QVERIFY(f.prompter().shown().isEmpty());
    });
    QTest::mouseClick(GuiFixture::child<QPushButton>(&form, "NextButton1"), Qt::LeftButton);
    QVERIFY(reachedClose);
    QVERIFY(lockedWhileOpen);
    QVERIFY(!QFileInfo::exists(lockName));
    QCOMPARE(copied, copyText);
    QVERIFY(copied.startsWith("\t\t1年生 国語 "));
    QVERIFY2(averageTitle.startsWith("学級別平均点グラフ - 全体") && averageTitle.endsWith("点"),
             qPrintable(averageTitle));
    QCOMPARE(f.userStore().readInt("Settings", "Sound"), 1);
    QCOMPARE(f.userStore().readInt("Settings", "SoundType"), 1);

    // What the window saved, read back with the program's readers.
    ClassScores saved;
    const QString classFile = paths::classScoreFile(f.dataFolder(), GuiFixture::kNendo, "A", 1, 1, "国語");
    QVERIFY(TestScoreFile::readClassScores(classFile, saved).isClean());
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(std::vector<int>(saved.student(n).begin(), saved.student(n).begin() + 6),
                 (std::vector<int>{65, 35, 10, 20, -1, -1}));
    QCOMPARE(saved.student(6)[1], -1);
    QCOMPARE(saved.student(20)[2], 30);
    QCOMPARE(saved.student(21)[2], -2);
    FullScores full;
    TestScoreFile::readFullScores(paths::fullScoreFile(f.dataFolder(), GuiFixture::kNendo, "A", 1, "国語"),
                                  full);
    QVERIFY(full.values == (TestScoreRecord{110, 40, 40, 20, 10, 0, 0}));

    // ---- The achievement test, total only ----
    form.radioGroup("gakunen2")->button(0)->click();
    form.radioGroup("kyouka2")->button(0)->click();
    form.radioGroup("test2")->button(0)->click();
    login();
    bool closed = false;
    whenShown<TInput1Form>([&](TInput1Form *w) {
        Closer closer{w};
        ScoreEntrySession &s = w->session();
        QVERIFY(w->windowTitle().endsWith("【学力】"));
        QCOMPARE(s.cursor(), (scoreentry::Cursor{0, 1, 0}));
        whenShown<TTestMantenGakuForm>([](TTestMantenGakuForm *d) {
            auto *group = GuiFixture::child<RadioGroup>(d, "MantenGroup");
            QCOMPARE(group->currentIndex(), 0); // the stored 100
            group->setCurrentIndex(1);
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, "OKButton"), Qt::LeftButton);
        });
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "MantenButton"), Qt::LeftButton);
        QVERIFY(GuiFixture::child<QLabel>(w, "Panel2")->text().startsWith("満点60 "));
        auto *grid = GuiFixture::child<QTableView>(w, "InputGrid");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete);
        type(grid, "77");
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(s.cursor(), (scoreentry::Cursor{0, 2, 0}));
        f.prompter().clear();
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "ModoruButton"), Qt::LeftButton);
        QVERIFY(f.prompter().shown().isEmpty());
        closed = true;
    });
    QTest::mouseClick(GuiFixture::child<QPushButton>(&form, "NextButton2"), Qt::LeftButton);
    QVERIFY(closed);
    TestScoreFile::readClassScores(
        paths::classScoreFile(f.dataFolder(), GuiFixture::kNendo, "1", 1, 1, "国語"), saved);
    QCOMPARE(saved.student(1)[0], 77);
    TestScoreFile::readFullScores(paths::fullScoreFile(f.dataFolder(), GuiFixture::kNendo, "1", 1, "国語"),
                                  full);
    QCOMPARE(full.values[0], 60);
}

QTEST_MAIN(Input1FormTest)
#include "Input1FormTest.moc"
