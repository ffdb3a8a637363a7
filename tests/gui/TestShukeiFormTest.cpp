// The grade-processing buttons of the main window on the demo school: the aggregation of a test
// (grid, class tabs, charts, copies) and the three input-status views.
#include "testscores/ui/TestShukeiForm.h"
#include "app/Startup.h"
#include "app/ui/MainForm.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationInputStatus.h"
#include "evaluation/ui/EvaluationInputStatusForms.h"
#include "support/gui/GuiFixture.h"
#include "testscores/ui/InputStatusForms.h"
#include "widgets/FrozenTableView.h"
#include "widgets/RadioGroup.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tavro;
using tavro::test::GuiFixture;
using tavro::test::whenShown;

namespace {

// The button of the grade page beside the selection group `group`.
QPushButton *gradeButton(const TMainForm &form, const QString &group, const QString &text) {
    const RadioGroup *g = GuiFixture::child<RadioGroup>(&form, group);
    for (QPushButton *b : g->parentWidget()->findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void clickBack(QDialog *dialog) {
    GuiFixture::child<QPushButton>(dialog, QStringLiteral("BackButton"))->click();
}

} // namespace

class TestShukeiFormTest : public QObject {
    Q_OBJECT

private slots:
    void aggregationWindow();
    void inputStatusViews();
};

void TestShukeiFormTest::aggregationWindow() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    QVERIFY(GuiFixture::showAt(&form));
    form.setSelectedIndex(QStringLiteral("gakunen5"), 1);
    form.setSelectedIndex(QStringLiteral("Test5"), 1);

    bool ran = false;
    whenShown<TTestShukeiForm>([&](TTestShukeiForm *w) {
        ran = true;
        const TestAggregation &a = w->aggregation();
        QVERIFY(w->windowTitle().endsWith(QStringLiteral("年度 2年生 1学期期末テスト")));
        QCOMPARE(a.context().testCode, QStringLiteral("B"));
        QCOMPARE(a.classCount(), 3);
        QVERIFY(a.statistics(shukei::kTotalSeries).count > 0);
        QVERIFY(GuiFixture::child<QLabel>(w, QStringLiteral("MantenLabel"))
                    ->text()
                    .startsWith(QStringLiteral("【満点】国語 ")));
        QVERIFY(GuiFixture::child<QPushButton>(w, QStringLiteral("PrintButton"))->isEnabled());
        QVERIFY(!w->noticesWithMeans());

        auto *grid = GuiFixture::child<FrozenTableView>(w, QStringLiteral("TokutenGrid"));
        QCOMPARE(grid->model()->rowCount(), 180);
        QCOMPARE(grid->model()->headerData(13, Qt::Horizontal).toString(), QStringLiteral("合計"));
        for (int c : {0, 2, 3, 4, 13, 14, 19, 23, 24})
            QCOMPARE(grid->model()->index(61, c).data().toString(), a.gridText(62, c));
        QCOMPARE(grid->model()->index(0, 4).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(grid->model()->index(0, 13).data(Qt::BackgroundRole).value<QColor>(), QColor(192, 255, 192));

        // Class tabs both ways.
        auto *tabs = GuiFixture::child<QTabBar>(w, QStringLiteral("ClassTabs"));
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(1), QStringLiteral(" 2組 "));
        w->classTabClick(2);
        QCOMPARE(grid->currentIndex().row(), 120);
        QCOMPARE(grid->rowAt(0), 120);
        grid->setCurrentIndex(grid->model()->index(70, 5));
        QCOMPARE(tabs->currentIndex(), 1);

        // Charts: the title is the tab's text, one bar per class with students.
        auto *chartTabs = GuiFixture::child<QTabBar>(w, QStringLiteral("ChartTabs"));
        QCOMPARE(chartTabs->count(), 12);
        chartTabs->setCurrentIndex(3);
        auto *chart = GuiFixture::child<QChartView>(w, QStringLiteral("Chart1"));
        QCOMPARE(chart->chart()->title(), QStringLiteral("数学"));
        QCOMPARE(chart->chart()->series().size(), 1);

        // The copies go to the clipboard, then the message.
        auto *menu = GuiFixture::child<QMenu>(w, QStringLiteral("CopyMenu"));
        const QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.size(), 3);
        const QString texts[] = {a.gridCopy(), a.viewpointCopy(), a.meansCopy()};
        for (int i = 0; i < 3; ++i) {
            f.doubles.clipboard.setText(QString());
            actions[i]->trigger();
            QCOMPARE(f.doubles.clipboard.text(), texts[i]);
            QCOMPARE(f.prompter().shown().last().caption, QStringLiteral("TAVRO"));
            QCOMPARE(f.prompter().shown().last().text, QStringLiteral("転送が終わりました"));
        }
        clickBack(w);
    });
    gradeButton(form, QStringLiteral("Test5"), QStringLiteral("一覧と印刷"))->click();
    QVERIFY(ran);

    // A grade without classes opens nothing.
    form.setSelectedIndex(QStringLiteral("gakunen5"), 4);
    gradeButton(form, QStringLiteral("Test6"), QStringLiteral("一覧と印刷"))->click();
    QCOMPARE(f.lastMessage(), noClassMessage());
}

void TestShukeiFormTest::inputStatusViews() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    // Without a first evaluation name the first item of the group is the second kind.
    YearSettings settings = YearSettings::load(f.dataFolder(), GuiFixture::kNendo);
    settings.hyouteiName[0].clear();
    QVERIFY(f.writeYearSettings(settings));
    TMainForm form(f.platform(), f.context());
    QVERIFY(GuiFixture::showAt(&form));
    form.setSelectedIndex(QStringLiteral("gakunen5"), 0);
    form.setSelectedIndex(QStringLiteral("Test6"), 0);
    form.setSelectedIndex(QStringLiteral("HyouteiGroup"), 0);

    int views = 0;
    whenShown<TView1Form>([&](TView1Form *w) {
        ++views;
        QVERIFY(w->windowTitle().endsWith(QStringLiteral("年度 1年生 ") +
                                          form.radioGroup(QStringLiteral("Test6"))->currentText()));
        QCOMPARE(
            w->table().cells(),
            inputstatus::tests(f.dataFolder(), GuiFixture::kNendo, 1, QStringLiteral("1"), true).cells());
        QCOMPARE(w->table().rows.size(), 6);
        QCOMPARE(w->grid()->model()->index(1, 0).data().toString(), QStringLiteral("1組M"));
        QVERIFY(!w->grid()->model()->index(1, 1).data().toString().isEmpty());
        QVERIFY(GuiFixture::child<QLabel>(w, QStringLiteral("Label1"))->text() ==
                QStringLiteral("入力状況を表示しています。数字は人数です。"));
        clickBack(w);
    });
    gradeButton(form, QStringLiteral("Test6"), QStringLiteral("入力状況"))->click();

    whenShown<TView2Form>([&](TView2Form *w) {
        ++views;
        QVERIFY(w->windowTitle().endsWith(QStringLiteral("1年生 2学期評定")));
        QCOMPARE(w->table().cells(), inputstatus::evaluations(f.dataFolder(), GuiFixture::kNendo, 1, 2,
                                                              compulsorySubjects(1), true)
                                         .cells());
        QCOMPARE(w->table().header.size(), 11);
        clickBack(w);
    });
    gradeButton(form, QStringLiteral("HyouteiGroup"), QStringLiteral("必修の入力状況"))->click();

    whenShown<TView3Form>([&](TView3Form *w) {
        ++views;
        QCOMPARE(w->table().cells(),
                 inputstatus::electives(f.dataFolder(), GuiFixture::kNendo, 1, 2, true).cells());
        QCOMPARE(w->table().header.mid(0, 4), (QStringList{QStringLiteral("教科"), QStringLiteral("合計"),
                                                           QStringLiteral("1組"), QStringLiteral("chk")}));
        clickBack(w);
    });
    gradeButton(form, QStringLiteral("HyouteiGroup"), QStringLiteral("選択の入力状況"))->click();
    QCOMPARE(views, 3);
    QVERIFY(gradeButton(form, QStringLiteral("HyouteiGroup"), QStringLiteral("一覧表示と印刷"))->isEnabled());
}

QTEST_MAIN(TestShukeiFormTest)
#include "TestShukeiFormTest.moc"
