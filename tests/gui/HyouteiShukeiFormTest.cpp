#include "evaluation/ui/HyouteiShukeiForm.h"

#include "app/DemoEvaluation.h"
#include "common/DataFile.h"
#include "common/FileSave.h"
#include "evaluation/EvaluationPaths.h"
#include "support/gui/GuiFixture.h"
#include "widgets/FrozenTableView.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using namespace tavro;
using namespace tavro::test;

class HyouteiShukeiFormTest : public QObject {
    Q_OBJECT

private slots:
    // The demo's grade 3: caption, the three pages and grids, tabs both ways, both copies, もどる.
    void mainFlow() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        QVERIFY(demo::calculateFirstPeriod(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, nullptr));
        QVERIFY(demo::writeGradeResults(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, nullptr));
        // A too-new elective file: its message shows once the window is shown.
        const QString tooNew =
            paths::electiveResultFile(f.dataFolder(), GuiFixture::kNendo, 3, QStringLiteral("選択英語B"));
        QByteArray bytes;
        QVERIFY(readWholeFile(tooNew, bytes));
        QVERIFY(saveFileAtomically(tooNew, bytes.replace(6, 3, "600")));

        THyouteiShukeiForm::Inputs in;
        in.mainCaption = QStringLiteral("成績処理TAVRO for Windows Ver.5");
        in.nendo = GuiFixture::kNendo;
        in.gakunen = QStringLiteral("3");
        in.hyouteiKind = 1;
        in.hyouteiKindName = QStringLiteral("1学期評定");
        in.dataFolder = f.dataFolder();
        in.classType = false;
        in.schoolKind = 1;
        THyouteiShukeiForm form(f.platform(), in);
        QVERIFY(f.prompter().shown().isEmpty());
        QVERIFY(GuiFixture::showAt(&form, QSize(1100, 720)));
        QCOMPARE(form.windowTitle(),
                 QStringLiteral("成績処理TAVRO for Windows Ver.5 - 2024年度 3年生 1学期評定"));
        QCOMPARE(f.prompter().texts(), QStringList{tooNewVersionMessage()});
        QCOMPARE(f.prompter().shown().first().caption, QStringLiteral("TAVRO"));

        auto *pages = GuiFixture::child<QTabWidget>(&form, QStringLiteral("PageControl1"));
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(pages->tabText(1), QStringLiteral("選択教科(一覧・要録用)"));
        const int columns[3] = {24, 21, 103};
        for (int g = 0; g < 3; ++g) {
            auto *grid = GuiFixture::child<FrozenTableView>(&form, QStringLiteral("StringGrid%1").arg(g + 1));
            QVERIFY(grid);
            QCOMPARE(grid->model()->rowCount(), 180);
            QCOMPARE(grid->model()->columnCount(), columns[g]);
            auto *tabs = GuiFixture::child<QTabBar>(&form, QStringLiteral("TabSet%1").arg(g + 1));
            QCOMPARE(tabs->count(), 3);
            QCOMPARE(tabs->tabText(0), QStringLiteral(" A組 "));
        }
        auto *grid1 = GuiFixture::child<FrozenTableView>(&form, QStringLiteral("StringGrid1"));
        QCOMPARE(grid1->model()->headerData(15, Qt::Horizontal).toString(), QStringLiteral("保体"));
        QCOMPARE(grid1->model()->index(0, 0).data().toString(), QStringLiteral(" A"));
        QCOMPARE(grid1->model()->index(0, 4).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!grid1->model()->index(0, 3).data().toString().isEmpty()); // 国語 of the calculation
        QCOMPARE(grid1->model()->index(0, 23).data().toString(), form.store().composite(0));

        // Electives: 英語A loaded, 英語B refused, so its students show only the name.
        auto *grid2 = GuiFixture::child<FrozenTableView>(&form, QStringLiteral("StringGrid2"));
        QCOMPARE(grid2->model()->index(0, 19).data().toString(), QStringLiteral("英語A"));
        QVERIFY(!grid2->model()->index(0, 20).data().toString().isEmpty());
        QCOMPARE(grid2->model()->index(0, 20).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
        QCOMPARE(grid2->model()->index(1, 19).data().toString(), QStringLiteral("英語B"));
        QCOMPARE(grid2->model()->index(1, 20).data().toString(), QString());

        // Tab to grid: class C at the top and current; grid to tab: a row of class B.
        pages->setCurrentIndex(2);
        auto *grid3 = GuiFixture::child<FrozenTableView>(&form, QStringLiteral("StringGrid3"));
        auto *tabs3 = GuiFixture::child<QTabBar>(&form, QStringLiteral("TabSet3"));
        QTest::mouseClick(tabs3, Qt::LeftButton, {}, tabs3->tabRect(2).center());
        QCOMPARE(grid3->currentIndex().row(), 120);
        QCOMPARE(grid3->verticalScrollBar()->value(), 120);
        QCOMPARE(tabs3->currentIndex(), 2);
        grid3->setCurrentIndex(grid3->model()->index(75, 4));
        QCOMPARE(tabs3->currentIndex(), 1);

        // The copies, through the menu of "コピー".
        auto *copy = GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton3"));
        QCOMPARE(copy->text(), QStringLiteral("コピー"));
        QMenu *menu = copy->menu();
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions()[0]->text(), QStringLiteral("観点評価あり"));
        menu->actions()[0]->trigger();
        QCOMPARE(f.doubles.clipboard.text(), form.store().copyText(true));
        QVERIFY(f.doubles.clipboard.text().startsWith(
            QStringLiteral("\t\t1学期評定\t3年\t\r\n組\t番\t氏名\t国語\t①")));
        QCOMPARE(f.lastMessage(), QStringLiteral("転送が終わりました"));
        menu->actions()[1]->trigger();
        QCOMPARE(f.doubles.clipboard.text(), form.store().copyText(false));
        QVERIFY(f.doubles.clipboard.text().contains(QStringLiteral("\r\nA\t1\t")));

        // The print and transfer windows open from here (their own test). The experimental label stays
        // hidden.
        QVERIFY(GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton1"))->isEnabled());
        QVERIFY(GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton13"))->isEnabled());
        QVERIFY(!GuiFixture::child<QLabel>(&form, QStringLiteral("Label1"))->isVisible());
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton2")),
                          Qt::LeftButton);
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(HyouteiShukeiFormTest)
#include "HyouteiShukeiFormTest.moc"
