// The evaluation window opened through "次へ" of the main window: typing scores, an aggregate item
// through the item dialog, a calculation, and the close that saves and releases the lock; then the
// same worksheet browsed read-only. The editing commands: paste and copy through the grids' menu, the
// results copy, clearing a period and the close without saving.
#include "evaluation/ui/Hyoutei1Form.h"
#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "app/SharedLock.h"
#include "app/ui/MainForm.h"
#include "app/ui/PassWordCheck1Form.h"
#include "common/FileSave.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/WorksheetFile.h"
#include "evaluation/WorksheetViews.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/EvaluationWindow.h"
#include "evaluation/ui/HyouteiPropForm.h"
#include "exchange/ResultCopies.h"
#include "support/FileSnapshot.h"
#include "support/gui/GuiFixture.h"
#include "widgets/FrozenTableView.h"
#include "widgets/RadioGroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <functional>

using namespace tavro;
using tavro::test::GuiFixture;
using tavro::test::whenShown;

namespace {

QString cellText(QTableView *view, int row, int column) {
    return view->model()->index(row, column).data().toString();
}

QByteArray bytesOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Grade 1 国語 of the demo school for classes A..C (lettered), period 1 calculated and period 2
// permitted.
bool demoContext(GuiFixture &f, EvaluationContext &c) {
    test::FixedClock clock;
    if (!f.writeDemoSchool() ||
        !demo::calculateFirstPeriod(f.dataFolder(), GuiFixture::kNendo, clock, nullptr))
        return false;
    YearSettings y = YearSettings::load(f.dataFolder(), GuiFixture::kNendo);
    y.hyoutei[1] = true;
    c.mainCaption = QStringLiteral("成績処理");
    c.dataFolder = f.dataFolder();
    c.nendo = GuiFixture::kNendo;
    c.grade = 1;
    c.kyouka = QStringLiteral("国語");
    c.chargeClasses = QStringLiteral("123");
    c.classType = false;
    c.teacherName = DemoSchool::teacherNames().at(1);
    return y.save(f.dataFolder(), GuiFixture::kNendo);
}

} // namespace

class Hyoutei1FormTest : public QObject {
    Q_OBJECT

private slots:
    void typeDefineCalculateAndClose();
    void pasteCopyClearAndCloseWithoutSaving();
    void failedSaveStaysPendingUntilTheClose();
    void commentLimitAndChartsFollowEdits();
    void pasteUndoRedoAndSave();
};

void Hyoutei1FormTest::typeDefineCalculateAndClose() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    form.setDataWindowOpener(DataPage::Compulsory, [&](const WorkingContext &c) {
        openEvaluationWindow(f.platform(), c, false, &form);
    });
    QVERIFY(GuiFixture::showAt(&form));
    form.radioGroup("gakunen3")->button(0)->click();
    form.radioGroup("kyouka3")->button(0)->click();

    const QString teacher = DemoSchool::teacherNames().at(1);
    const QString lockName = SharedLock::lockName(f.dataFolder(), GuiFixture::kNendo, "", "1", "国語");
    whenShown<TPassWordCheck1Form>([](TPassWordCheck1Form *d) {
        GuiFixture::child<QListWidget>(d, "TeacherList")->setCurrentRow(1);
        auto *password = GuiFixture::child<QLineEdit>(d, "PasswordEdit");
        GuiFixture::typeText(password, QString::fromUtf8(DemoSchool::kTeacherPassword));
        QTest::mouseClick(GuiFixture::child<QPushButton>(d, "OKButton"), Qt::LeftButton);
    });

    bool lockedWhileOpen = false;
    int aggregateItem = 0;
    int regularItem = 0;
    QString typed, aggregateCell, evaluation;
    QStringList played;
    bool sawResults = false;
    whenShown<THyoutei1Form>([&](THyoutei1Form *w) {
        // A failed check leaves the lambda early: the window still closes.
        struct Closer {
            THyoutei1Form *w;
            ~Closer() { QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection); }
        } closer{w};
        lockedWhileOpen = QFileInfo::exists(lockName);
        EvaluationSession &s = w->session();
        QCOMPARE(w->windowTitle(), s.caption());
        QCOMPARE(GuiFixture::child<QLabel>(w, "StatusPanel0")->text(), teacher);
        auto *grid = GuiFixture::child<FrozenTableView>(w, "TokutenGrid");
        QVERIFY(grid);
        QVERIFY(grid->model()->rowCount() > 30);

        // A regular item and the first free item after the defined ones.
        for (int item = 1; item <= kMaxItems; ++item) {
            const int kind = s.worksheet().item(item).kind;
            if (kind == itemkind::kRegular && regularItem == 0 && s.worksheet().item(item).fullScore >= 20)
                regularItem = item;
            if (kind != itemkind::kNone)
                aggregateItem = item + 1;
        }
        QVERIFY(regularItem > 0);
        const int column = regularItem + 2;

        // Sound on, then Delete and two digits in the first student's cell; Enter moves one row down.
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "SoundButton"), Qt::LeftButton);
        grid->setCurrentIndex(grid->model()->index(0, column));
        QTest::keyClick(grid, Qt::Key_Delete);
        QTest::keyClick(grid, Qt::Key_Slash);
        QCOMPARE(cellText(grid, 0, column), QString("/"));
        QTest::keyClick(grid, Qt::Key_Delete);
        QTest::keyClick(grid, Qt::Key_1);
        QTest::keyClick(grid, Qt::Key_J); // "j" types 1
        typed = cellText(grid, 0, column);
        played = f.sound().played;
        QCOMPARE(GuiFixture::child<QLabel>(w, "StatusPanel1")->text(), QString("変更あり"));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(grid->currentIndex().row(), 1);
        QCOMPARE(grid->currentIndex().column(), column);

        // Class tabs follow the cursor and move it; one wheel notch scrolls one row.
        auto *tabs = GuiFixture::child<QTabBar>(w, "ClassTab");
        QCOMPARE(tabs->count(), 6);
        QCOMPARE(tabs->tabText(1), QString(" 1組F"));
        QCOMPARE(tabs->currentIndex(), 0);
        tabs->setCurrentIndex(3);
        QCOMPARE(grid->currentIndex().row(), 90);
        grid->setCurrentIndex(grid->model()->index(0, column));
        QCOMPARE(tabs->currentIndex(), 0);
        const int top = grid->verticalScrollBar()->value();
        QWheelEvent wheel(QPointF(50, 50), grid->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &wheel);
        QCOMPARE(grid->verticalScrollBar()->value(), top + 1);
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "FontButton7"), Qt::LeftButton);

        // An aggregate item through the item dialog; a refused formula keeps the dialog open.
        grid->setCurrentIndex(grid->model()->index(0, aggregateItem + 2));
        f.prompter().clear();
        whenShown<THyouteiPropForm>([&](THyouteiPropForm *d) {
            QCOMPARE(d->windowTitle(), QString("項目設定 - 項目%1").arg(aggregateItem));
            GuiFixture::child<QComboBox>(d, "KindCombo")->setCurrentIndex(itemkind::kAggregate);
            QVERIFY(GuiFixture::child<QWidget>(d, "FormulaEdit")->isVisibleTo(d));
            QVERIFY(!GuiFixture::child<QWidget>(d, "TestCombo")->isVisibleTo(d));
            auto *name = GuiFixture::child<QLineEdit>(d, "NameEdit");
            name->setText("合計\tA");
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, "OKButton"), Qt::LeftButton);
            QVERIFY(d->isVisible());
            QCOMPARE(f.prompter().shown().size(), 1);
            name->setText("合計");
            GuiFixture::child<QLineEdit>(d, "FormulaEdit")->setText(QString("%1,%1").arg(regularItem));
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, "OKButton"), Qt::LeftButton);
        });
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "KoumokuButton"), Qt::LeftButton);
        aggregateCell = cellText(grid, 0, aggregateItem + 2);
        QCOMPARE(GuiFixture::child<QLabel>(w, "KindPanel")->text(), QString("集計"));
        QCOMPARE(GuiFixture::child<QLabel>(w, "NamePanel")->text(), QString("合計"));
        // The kind panel takes the colour of the item under the cursor.
        auto *kindPanel = GuiFixture::child<QLabel>(w, "KindPanel");
        QVERIFY(kindPanel->styleSheet().contains(evaluationui::kindColor(itemkind::kAggregate).name()));
        grid->setCurrentIndex(grid->model()->index(0, column));
        QVERIFY(kindPanel->styleSheet().contains(evaluationui::kindColor(itemkind::kRegular).name()));
        grid->setCurrentIndex(grid->model()->index(0, aggregateItem + 2));
        QVERIFY(kindPanel->styleSheet().contains(evaluationui::kindColor(itemkind::kAggregate).name()));

        // A score typed on the second row repaints its cell and the row's aggregate item.
        QSignalSpy repainted(grid->model(), &QAbstractItemModel::dataChanged);
        grid->setCurrentIndex(grid->model()->index(1, column));
        QTest::keyClick(grid, Qt::Key_Delete);
        QTest::keyClick(grid, Qt::Key_7);
        QCOMPARE(cellText(grid, 1, column), QString("7"));
        QCOMPARE(cellText(grid, 1, aggregateItem + 2), QString("14"));
        const auto covered = [&](int row, int col) {
            for (const QList<QVariant> &signal : repainted) {
                const auto from = signal[0].toModelIndex(), to = signal[1].toModelIndex();
                if (from.row() <= row && row <= to.row() && from.column() <= col && col <= to.column())
                    return true;
            }
            return false;
        };
        QVERIFY(covered(1, column));
        QVERIFY(covered(1, aggregateItem + 2));
        grid->setCurrentIndex(grid->model()->index(0, aggregateItem + 2));

        // The demo leaves absent marks: the automatic estimate fills them before the calculation.
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "MikomiCulc"), Qt::LeftButton);

        // Calculation of period 1 from the popup; any question is answered Yes.
        auto *calc = w->findChild<QAction *>("HyouteiCulc1");
        QVERIFY(calc && calc->isEnabled());
        f.prompter().clear();
        f.prompter().script({Prompter::Answer::Yes, Prompter::Answer::Yes, Prompter::Answer::Yes});
        calc->trigger();
        auto *results = GuiFixture::child<FrozenTableView>(w, "HyouteiGrid4");
        QCOMPARE(results->model()->columnCount(), 26);
        evaluation = cellText(results, 0, 3);
        QVERIFY2(f.prompter().texts().isEmpty(), qPrintable(f.prompter().texts().join('|')));
        QCOMPARE(GuiFixture::child<QLabel>(w, "StatusPanel2")->text(), QString("評定済み"));
        QVERIFY(GuiFixture::child<QLabel>(w, "StatusPanel4")->text().startsWith("評定を保存しました。("));
        for (int row = 0; row < results->model()->rowCount(); ++row)
            sawResults = sawResults || !cellText(results, row, 13).isEmpty();
        auto *select = GuiFixture::child<QComboBox>(w, "HyouteiSelect");
        QCOMPARE(select->currentIndex(), 0);
        select->setCurrentIndex(1);
        QCOMPARE(w->currentPeriod(), s.periods()[1].number);
        QVERIFY(GuiFixture::child<QLabel>(w, "StatusPanel3")->text().endsWith("評定未算出"));
        QVERIFY(cellText(results, 0, 13).isEmpty());

        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "ModoruButton"), Qt::LeftButton);
    });
    QTest::mouseClick(GuiFixture::child<QPushButton>(&form, "NextButton3"), Qt::LeftButton);

    QVERIFY(lockedWhileOpen);
    QCOMPARE(typed, QString("11"));
    QVERIFY2(played.contains("iti2"), qPrintable(played.join(',')));
    QVERIFY(!aggregateCell.isEmpty());
    QVERIFY(sawResults);
    QVERIFY(!evaluation.isEmpty());
    QVERIFY(!QFileInfo::exists(lockName));
    QCOMPARE(f.userStore().readInt("Settings", "Sound"), 1);
    QCOMPARE(f.userStore().readInt("Settings", "FontSize"), 7);
    QCOMPARE(f.userStore().readInt("Hyoutei", "Hyoutei"), 1);

    // What the window saved, read back with the program's readers.
    Worksheet sheet;
    WorksheetFile::load(paths::worksheetFile(f.dataFolder(), teacher, GuiFixture::kNendo, 1, "国語"), sheet,
                        nullptr);
    QCOMPARE(sheet.item(aggregateItem).kind, itemkind::kAggregate);
    QCOMPARE(sheet.item(aggregateItem).formula, QString("%1,%1").arg(regularItem));
    QCOMPARE(sheet.item(aggregateItem).name, QString("合計"));
    const int slot = slotOf(1, 1);
    QCOMPARE(sheet.score(regularItem, slot), 11);
    EvaluationResults saved;
    ClassResultFile::load(paths::classResultFile(f.dataFolder(), GuiFixture::kNendo, 1, 1, "国語"), 1, saved,
                          true, nullptr);
    QVERIFY(saved.dateTime(1) > 0);
    QCOMPARE(saved.at(1, slot).evaluation, evaluation);

    // Browsing the same worksheet: keys change nothing, editing is disabled, nothing is written.
    WorkingContext browse = form.context();
    browse.readOnly = true;
    THyoutei1Form viewer(evaluationContextOf(browse, false), f.platform());
    QVERIFY(GuiFixture::showAt(&viewer));
    QVERIFY(viewer.windowTitle().endsWith("【閲覧モード】"));
    auto *grid = GuiFixture::child<FrozenTableView>(&viewer, "TokutenGrid");
    grid->setCurrentIndex(grid->model()->index(0, regularItem + 2));
    QTest::keyClick(grid, Qt::Key_5);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(cellText(grid, 0, regularItem + 2), QString("11"));
    for (const char *name : {"KoumokuButton", "MikomiCulc", "HyouteiCulc"})
        QVERIFY2(!GuiFixture::child<QPushButton>(&viewer, name)->isEnabled(), name);
    const QDateTime written =
        QFileInfo(paths::worksheetFile(f.dataFolder(), teacher, GuiFixture::kNendo, 1, "国語"))
            .lastModified();
    QTest::mouseClick(GuiFixture::child<QPushButton>(&viewer, "ModoruButton"), Qt::LeftButton);
    QVERIFY(!viewer.isVisible());
    QCOMPARE(QFileInfo(paths::worksheetFile(f.dataFolder(), teacher, GuiFixture::kNendo, 1, "国語"))
                 .lastModified(),
             written);
}

void Hyoutei1FormTest::pasteCopyClearAndCloseWithoutSaving() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    form.setDataWindowOpener(DataPage::Compulsory, [&](const WorkingContext &c) {
        openEvaluationWindow(f.platform(), c, false, &form);
    });
    QVERIFY(GuiFixture::showAt(&form));
    form.radioGroup("gakunen3")->button(0)->click();
    form.radioGroup("kyouka3")->button(0)->click();
    whenShown<TPassWordCheck1Form>([](TPassWordCheck1Form *d) {
        GuiFixture::child<QListWidget>(d, "TeacherList")->setCurrentRow(1);
        GuiFixture::typeText(GuiFixture::child<QLineEdit>(d, "PasswordEdit"),
                             QString::fromUtf8(DemoSchool::kTeacherPassword));
        QTest::mouseClick(GuiFixture::child<QPushButton>(d, "OKButton"), Qt::LeftButton);
    });
    const QString teacher = DemoSchool::teacherNames().at(1);
    const QString sheetPath = paths::worksheetFile(f.dataFolder(), teacher, GuiFixture::kNendo, 1, "国語");
    const auto bytesOf = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray sheetBefore = bytesOf(sheetPath);

    bool closed = false;
    int protectedItem = 0;
    whenShown<THyoutei1Form>([&](THyoutei1Form *w) {
        struct Closer {
            THyoutei1Form *w;
            ~Closer() { QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection); }
        } closer{w};
        EvaluationSession &s = w->session();
        auto *grid = GuiFixture::child<FrozenTableView>(w, "TokutenGrid");
        const auto action = [w](const char *name) { return w->findChild<QAction *>(name); };

        // A regular item followed by an item that takes pasted scores.
        for (int item = 1; item < kMaxItems && protectedItem == 0; ++item) {
            const int next = s.worksheet().item(item + 1).kind;
            if (s.worksheet().item(item).kind == itemkind::kRegular &&
                (next == itemkind::kRegular || next == itemkind::kNone))
                protectedItem = item;
        }
        QVERIFY(protectedItem > 0);
        const int column = protectedItem + 2;
        const int slot0 = s.rows()[0];
        const int slot1 = s.rows()[1];
        const int kept0 = s.worksheet().score(protectedItem, slot0);
        const int kept1 = s.worksheet().score(protectedItem, slot1);
        const int old1 = s.worksheet().score(protectedItem + 1, slot1);

        // Items up to the cursor protected; a 2-line block pasted from the cursor skips them.
        grid->setCurrentIndex(grid->model()->index(0, column));
        action("N6")->trigger();
        QVERIFY(s.worksheet().item(protectedItem).isProtected());
        QVERIFY(!s.worksheet().item(protectedItem + 1).isProtected());
        f.doubles.clipboard.setText("9\t*15\r\n8\tabc\r\n");
        w->copyPastePopup(grid);
        QVERIFY(action("Paste1")->isEnabled());
        QVERIFY(!action("Delete1")->isEnabled() && !action("Cut1")->isEnabled());
        QVERIFY(!action("CopyAll")->isEnabled() && !action("koumu_copy")->isEnabled());
        f.prompter().clear();
        action("Paste1")->trigger();
        QCOMPARE(s.worksheet().score(protectedItem, slot0), kept0);
        QCOMPARE(s.worksheet().score(protectedItem, slot1), kept1);
        QCOMPARE(s.worksheet().score(protectedItem + 1, slot0), -1015);
        QCOMPARE(s.worksheet().score(protectedItem + 1, slot1), old1);
        QCOMPARE(f.prompter().shown().size(), 1);
        QCOMPARE(f.prompter().shown().first().caption, QString("TAVRO"));
        QCOMPARE(f.lastMessage(), editing::refusedCellsMessage(1));
        QCOMPARE(GuiFixture::child<QLabel>(w, "StatusPanel1")->text(), QString("変更あり"));

        // "コピー(&C)" of a 2×2 rectangle, row by row.
        grid->selectionModel()->select(
            QItemSelection(grid->model()->index(0, column), grid->model()->index(1, column + 1)),
            QItemSelectionModel::ClearAndSelect);
        w->copyPastePopup(grid);
        action("Copy1")->trigger();
        QCOMPARE(f.doubles.clipboard.text(),
                 cellText(grid, 0, column) + '\t' + cellText(grid, 0, column + 1) + "\r\n" +
                     cellText(grid, 1, column) + '\t' + cellText(grid, 1, column + 1) + "\r\n");

        // Period 1 calculated, then "すべてをコピー(&A)" of the results grid.
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "MikomiCulc"), Qt::LeftButton);
        f.prompter().clear();
        f.prompter().script({Prompter::Answer::Yes, Prompter::Answer::Yes, Prompter::Answer::Yes});
        action("HyouteiCulc1")->trigger();
        QVERIFY(s.results().dateTime(1) > 0);
        // The result files are on the share: what was done before cannot be undone any more.
        QVERIFY(GuiFixture::child<QLabel>(w, "StatusPanel4")->text().endsWith(undoHistoryClearedMessage()));
        w->copyPastePopup(grid);
        QVERIFY(!action("UndoAction")->isEnabled() && !action("RedoAction")->isEnabled());
        auto *results = GuiFixture::child<FrozenTableView>(w, "HyouteiGrid4");
        results->setCurrentIndex(results->model()->index(0, 3));
        w->copyPastePopup(results);
        QVERIFY(action("CopyAll")->isEnabled() && action("koumu_copy")->isEnabled());
        QVERIFY(!action("Paste1")->isEnabled() && !action("Delete1")->isEnabled());
        f.prompter().clear();
        action("CopyAll")->trigger();
        QCOMPARE(f.doubles.clipboard.text(), exchange::resultsAllText(s, 1));
        QCOMPARE(f.lastMessage(), QString("コピーが終わりました。"));

        // Shift+click on "評定計算" opens the clear menu; its item clears period 1 after a Yes.
        QString popup;
        auto *poll = new QTimer(w);
        QObject::connect(poll, &QTimer::timeout, [&popup, poll] {
            if (QWidget *menu = QApplication::activePopupWidget()) {
                popup = menu->objectName();
                menu->close();
                poll->stop();
            }
        });
        poll->start(10);
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "HyouteiCulc"), Qt::LeftButton,
                          Qt::ShiftModifier);
        QCOMPARE(popup, QString("HyouteiClearPopupMenu"));
        QAction *clear = action("HyouteiClear1");
        QCOMPARE(clear->text(), "『" + s.periodName(1) + "』をクリア");
        QVERIFY(clear->isEnabled());
        f.prompter().clear();
        f.answerNext(Prompter::Answer::Yes);
        clear->trigger();
        QCOMPARE(f.prompter().texts(), QStringList{editing::clearQuestion()});
        QVERIFY(cellText(results, 0, 13).isEmpty());
        QCOMPARE(GuiFixture::child<QLabel>(w, "StatusPanel2")->text(), QString("評定済み"));
        QVERIFY(GuiFixture::child<QLabel>(w, "StatusPanel3")->text().endsWith("評定未算出"));
        QVERIFY(GuiFixture::child<QLabel>(w, "StatusPanel4")->text().startsWith("評定をクリアしました。("));

        // "×" answered No: the window closes and the worksheet is not saved.
        f.prompter().clear();
        f.answerNext(Prompter::Answer::No);
        QTest::mouseClick(GuiFixture::child<QPushButton>(w, "SpeedButton8"), Qt::LeftButton);
        QCOMPARE(f.prompter().shown().size(), 1);
        QCOMPARE(f.prompter().shown().first().caption, editing::closeCaption(s));
        QCOMPARE(f.prompter().shown().first().text, editing::closeQuestion());
        QVERIFY(f.prompter().shown().first().buttons == Prompter::Buttons::YesNoCancel);
        closed = !w->isVisible();
    });
    QTest::mouseClick(GuiFixture::child<QPushButton>(&form, "NextButton3"), Qt::LeftButton);

    QVERIFY(closed);
    QVERIFY(!sheetBefore.isEmpty());
    QCOMPARE(bytesOf(sheetPath), sheetBefore);
    EvaluationResults saved;
    ClassResultFile::load(paths::classResultFile(f.dataFolder(), GuiFixture::kNendo, 1, 1, "国語"), 1, saved,
                          true, nullptr);
    QCOMPARE(saved.dateTime(1), 0.0);
    QVERIFY(saved.at(1, slotOf(1, 1)).evaluation.isEmpty());
}

// A class result file that cannot be written (a folder took its place while the window was open):
// 評定計算 of period 2 shows that period while it asks, reports the failure once with the file, leaves
// every result file and backup as it was and shows "評定未保存"; the close asks again (Cancel stays)
// and, once the folder is gone, writes every class.
void Hyoutei1FormTest::failedSaveStaysPendingUntilTheClose() {
    GuiFixture f;
    EvaluationContext context;
    QVERIFY(demoContext(f, context));
    THyoutei1Form w(context, f.platform());
    QVERIFY(GuiFixture::showAt(&w, QSize(1280, 800)));
    EvaluationSession &s = w.session();
    QVERIFY(!s.readOnly());
    QVERIFY(s.periodPermitted(2));
    QTest::mouseClick(GuiFixture::child<QPushButton>(&w, "MikomiCulc"), Qt::LeftButton);

    QStringList files;
    for (int cls = 1; cls <= 3; ++cls) {
        const QString path = paths::classResultFile(f.dataFolder(), GuiFixture::kNendo, 1, cls, "国語");
        files << path << backupPathFor(path);
    }
    const QString blocked = files[2];
    QVERIFY(QFile::remove(blocked));
    QVERIFY(QDir().mkpath(blocked + "/x"));
    files.removeAt(2);
    const test::FileSnapshot snapshot(files);
    const auto unchanged = [&snapshot] { return snapshot.unchanged(); };

    auto *select = GuiFixture::child<QComboBox>(&w, "HyouteiSelect");
    QCOMPARE(select->currentText(), views::periodListText(1, s.periodName(1)));
    QString periodWhileAsked;
    f.prompter().clear();
    f.prompter().whenAsked = [&](const QString &text) -> std::optional<Prompter::Answer> {
        if (periodWhileAsked.isEmpty())
            periodWhileAsked = select->currentText();
        if (text == calculation::aboveFullScoreText())
            return Prompter::Answer::Ok;
        if (text == calculation::viewpointRatioMissingText() || text == calculation::itemRatioMissingText())
            return Prompter::Answer::No;
        return std::nullopt;
    };
    w.findChild<QAction *>("HyouteiCulc2")->trigger();
    f.prompter().whenAsked = nullptr;
    QVERIFY(s.results().dateTime(2) > 0);
    QCOMPARE(periodWhileAsked, views::periodListText(2, s.periodName(2)));
    QCOMPARE(select->currentText(), views::periodListText(2, s.periodName(2)));
    QStringList failures;
    for (const QString &text : f.prompter().texts())
        if (text.contains("保存ができませんでした"))
            failures << text;
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures[0], calculation::resultsSaveFailedMessage(failures[0].section("\r\n", 1)));
    QVERIFY(failures[0].contains(QDir::toNativeSeparators(blocked)));
    QVERIFY(failures[0].contains("同じ名前のフォルダがあります。"));
    QVERIFY(unchanged());
    QCOMPARE(GuiFixture::child<QLabel>(&w, "StatusPanel2")->text(), QString("評定未保存"));
    QVERIFY(!GuiFixture::child<QLabel>(&w, "StatusPanel4")->text().startsWith("評定を保存しました"));
    QVERIFY(s.resultsPending());

    // The close asks; Cancel keeps the window and its results.
    f.prompter().clear();
    f.answerNext(Prompter::Answer::Cancel);
    w.reject();
    QCOMPARE(f.prompter().shown().size(), 1);
    QVERIFY(f.prompter().shown().first().buttons == Prompter::Buttons::YesNoCancel);
    QVERIFY(f.prompter().shown().first().text.contains(QDir::toNativeSeparators(blocked)));
    QVERIFY(w.isVisible());
    QVERIFY(unchanged());

    // The folder is gone: the close writes every class, the old files become the backups.
    QVERIFY(QDir(blocked).removeRecursively());
    f.prompter().clear();
    w.reject();
    QVERIFY(!w.isVisible());
    QVERIFY(f.prompter().shown().isEmpty());
    for (int cls = 1; cls <= 3; ++cls) {
        EvaluationResults saved;
        ClassResultFile::load(paths::classResultFile(f.dataFolder(), GuiFixture::kNendo, 1, cls, "国語"), cls,
                              saved, true, nullptr);
        QCOMPARE(saved.dateTime(2), s.results().dateTime(2));
    }
    QCOMPARE(bytesOf(files[1]), snapshot.bytes(files[0]));
}

// The comment edits take 76 bytes: a typed character beyond beeps, a long paste is cut and says how
// much once. The pie of "満点・項目割合" follows a typed ratio at once; the distribution of an item
// with 60 distinct scores and one above the full score is binned so every label fits, with the
// score above in its own last bar. A bad cell of a ratio paste is "not a number", not "not a score".
void Hyoutei1FormTest::commentLimitAndChartsFollowEdits() {
    GuiFixture f;
    EvaluationContext context;
    QVERIFY(demoContext(f, context));
    THyoutei1Form w(context, f.platform());
    QVERIFY(GuiFixture::showAt(&w, QSize(1280, 800)));
    EvaluationSession &s = w.session();
    auto *pages = GuiFixture::child<QTabWidget>(&w, "PageControl1");
    QVERIFY(pages);

    // Comments on the individual page.
    pages->setCurrentIndex(4);
    auto *list = GuiFixture::child<QListWidget>(&w, "ListBox1");
    QVERIFY(list && list->count() > 0);
    list->setCurrentRow(0);
    auto *memo = GuiFixture::child<QLineEdit>(&w, "MemoEdit1");
    QVERIFY(memo && !memo->isReadOnly());
    memo->selectAll();
    memo->del();
    const int slot = editing::studentsByClass(s).front().slot;
    f.prompter().clear();
    memo->setFocus();
    memo->insert(QString(150, QChar(0x3042)));
    QCOMPARE(memo->text(), QString(38, QChar(0x3042)));
    QCOMPARE(s.results().at(1, slot).comment, QString(38, QChar(0x3042)));
    QCOMPARE(f.prompter().texts(), QStringList{editing::commentCutMessage(112)});
    QVERIFY(s.resultsPending());
    f.prompter().clear();
    f.sound().played.clear();
    GuiFixture::typeText(memo, "い");
    QCOMPARE(memo->text(), QString(38, QChar(0x3042)));
    QVERIFY(f.prompter().shown().isEmpty());
    QVERIFY(f.sound().played.contains("beep"));

    // The share pie follows a typed item ratio.
    pages->setCurrentIndex(2);
    auto *wariai = GuiFixture::child<FrozenTableView>(&w, "WariaiGrid3");
    auto *pie = GuiFixture::child<QChartView>(&w, "SharePie");
    int viewpoint = 0;
    for (int v = 1; v <= kViewpoints && viewpoint == 0; ++v)
        if (s.worksheet().viewpointRatio(1, v) >= 1)
            viewpoint = v;
    QVERIFY(viewpoint > 0);
    int item = 0;
    for (int i = 1; i < kMaxItems && item == 0; ++i)
        if (s.worksheet().item(i).kind == itemkind::kRegular && s.worksheet().itemRatio(i, 1, viewpoint) == 0)
            item = i;
    QVERIFY(item > 0);
    int ratioRow = -1;
    for (int r = 0; r < wariai->model()->rowCount() && ratioRow < 0; ++r) {
        int period = 0, v = 0;
        evaluationui::ItemRatioModel::rowMeaning(r, period, v);
        if (period == 1 && v == viewpoint)
            ratioRow = r;
    }
    const auto slices = [pie] {
        QList<double> values;
        for (QAbstractSeries *series : pie->chart()->series())
            if (auto *p = qobject_cast<QPieSeries *>(series))
                for (QPieSlice *slice : p->slices())
                    values << slice->value();
        return values;
    };
    const QList<double> piesBefore = slices();
    wariai->setFocus();
    wariai->setCurrentIndex(wariai->model()->index(ratioRow, item));
    QTest::keyClick(wariai, Qt::Key_5);
    QCOMPARE(s.worksheet().itemRatio(item, 1, viewpoint), 5);
    QList<double> expected;
    for (const views::ChartPoint &p : views::sharePie(s, 1, 0))
        expected << p.value;
    QCOMPARE(slices(), expected);
    QVERIFY(slices() != piesBefore);

    // The distribution of 60 distinct scores and one above the full score.
    s.worksheet().item(item).fullScore = 100;
    for (std::size_t i = 0; i < s.rows().size(); ++i)
        s.setScore(item, s.rows()[i], i == 0 ? 150 : 40 + int(i % 60));
    wariai->setCurrentIndex(wariai->model()->index(1, item + 1));
    wariai->setCurrentIndex(wariai->model()->index(1, item));
    auto *bunpu = GuiFixture::child<QChartView>(&w, "BunpuChart");
    QBarCategoryAxis *axis = nullptr;
    for (QAbstractAxis *a : bunpu->chart()->axes(Qt::Horizontal))
        axis = axis ? axis : qobject_cast<QBarCategoryAxis *>(a);
    QVERIFY(axis);
    const QStringList categories = axis->categories();
    QVERIFY(categories.size() >= 2 && categories.size() <= 12);
    QCOMPARE(categories.last(), QString("100超"));
    QCOMPARE(categories.first(), QString("40〜"));
    const QFontMetrics metrics(axis->labelsFont());
    for (const QString &label : categories)
        QVERIFY2(metrics.horizontalAdvance(label) + 12 <
                     bunpu->chart()->plotArea().width() / categories.size(),
                 qPrintable(label));
    QVERIFY(!bunpu->grab().isNull());

    // A ratio paste with a word in it.
    wariai->setCurrentIndex(wariai->model()->index(ratioRow, item));
    f.doubles.clipboard.setText("3\tかな\r\n");
    w.copyPastePopup(wariai);
    f.prompter().clear();
    w.findChild<QAction *>("Paste1")->trigger();
    QCOMPARE(f.lastMessage(), editing::refusedCellsMessage(1, editing::CellKind::Number));
    QVERIFY(f.lastMessage().startsWith("数値として読めないセル"));
    f.answerNext(Prompter::Answer::No);
    QTest::mouseClick(GuiFixture::child<QPushButton>(&w, "SpeedButton8"), Qt::LeftButton);
}

// A block pasted into the score grid, undone with Ctrl+Z, redone with Ctrl+Shift+Z and undone from the
// grid's menu: the grid shows each state, "変更あり" stays, Ctrl+Y with nothing
// to redo beeps, and the close that saves writes the worksheet as it was before the paste.
void Hyoutei1FormTest::pasteUndoRedoAndSave() {
    GuiFixture f;
    EvaluationContext context;
    QVERIFY(demoContext(f, context));
    const QString sheetPath =
        paths::worksheetFile(f.dataFolder(), context.teacherName, GuiFixture::kNendo, 1, context.kyouka);
    const QByteArray before = bytesOf(sheetPath);
    QVERIFY(!before.isEmpty());
    QFile::remove(backupPathFor(sheetPath));
    THyoutei1Form w(context, f.platform());
    QVERIFY(GuiFixture::showAt(&w, QSize(1280, 800)));
    EvaluationSession &s = w.session();
    const auto action = [&w](const char *name) { return w.findChild<QAction *>(name); };
    auto *grid = GuiFixture::child<FrozenTableView>(&w, "TokutenGrid");
    auto *status = GuiFixture::child<QLabel>(&w, "StatusPanel1");

    // Items 1 and 3 are regular.
    QVERIFY(s.worksheet().item(1).kind == itemkind::kRegular &&
            s.worksheet().item(3).kind == itemkind::kRegular);
    const int column = evaluationui::ScoreModel::kFixed; // item 1
    w.copyPastePopup(grid);
    QVERIFY(!action("UndoAction")->isEnabled() && !action("RedoAction")->isEnabled());

    const QString block = "1\t\t2\r\n3\t\t4\r\n";
    const auto shown = [&] {
        return QStringList{cellText(grid, 0, column), cellText(grid, 0, column + 2),
                           cellText(grid, 1, column), cellText(grid, 1, column + 2)};
    };
    const QStringList old = shown();
    grid->setCurrentIndex(grid->model()->index(0, column));
    f.doubles.clipboard.setText(block);
    w.copyPastePopup(grid);
    action("Paste1")->trigger();
    QCOMPARE(shown(), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(status->text(), QString("変更あり"));
    w.copyPastePopup(grid);
    QVERIFY(action("UndoAction")->isEnabled() && !action("RedoAction")->isEnabled());

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shown(), old);
    QCOMPARE(status->text(), QString("変更あり"));
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shown(), (QStringList{"1", "2", "3", "4"}));
    f.sound().played.clear();
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(f.sound().played.contains("beep"));
    w.copyPastePopup(grid);
    QVERIFY(action("UndoAction")->isEnabled() && !action("RedoAction")->isEnabled());
    action("UndoAction")->trigger();
    QCOMPARE(shown(), old);
    w.copyPastePopup(grid);
    QVERIFY(!action("UndoAction")->isEnabled() && action("RedoAction")->isEnabled());

    // "×" answered Yes saves: the worksheet as it was before the paste.
    f.answerNext(Prompter::Answer::Yes);
    QTest::mouseClick(GuiFixture::child<QPushButton>(&w, "SpeedButton8"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(QFileInfo::exists(backupPathFor(sheetPath))); // written, not left alone
    QCOMPARE(bytesOf(sheetPath), before);
}

QTEST_MAIN(Hyoutei1FormTest)
#include "Hyoutei1FormTest.moc"
