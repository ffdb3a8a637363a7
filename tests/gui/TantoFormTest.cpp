#include "config/ui/TantoForm.h"
#include "config/TeacherFile.h"
#include "support/gui/GuiFixture.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace tavro;
using tavro::test::GuiFixture;

namespace {

const QString kCaption = QStringLiteral("成績処理TAVRO for Windows Ver.5");

void clickCell(QTableWidget *table, int row, int column) {
    const QRect rect = table->visualRect(table->model()->index(row, column));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class TantoFormTest : public QObject {
    Q_OBJECT

private slots:
    void assignAndClearClasses();
    void electivesAndGrades();
};

void TantoFormTest::assignAndClearClasses() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TTantoForm form(f.platform(), kCaption, GuiFixture::kNendo, f.dataFolder(), 1);
    QVERIFY(GuiFixture::showAt(&form));
    QCOMPARE(form.windowTitle(), kCaption + " - 担当学級の設定 (2024年度)");

    auto *table = GuiFixture::child<QTableWidget>(&form, "TantoGrid");
    auto *kyouka = GuiFixture::child<QListWidget>(&form, "KyoukaList");
    auto *action = GuiFixture::child<QAction>(&form, "TantoAction");
    QVERIFY(table && kyouka && action);
    QCOMPARE(kyouka->count(), 11);
    QCOMPARE(kyouka->currentItem()->text(), QString("国語"));
    QCOMPARE(table->columnCount(), 3);
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("3組"));
    QCOMPARE(table->verticalHeaderItem(0)->text(), QString("青山一郎(1-1)"));
    QVERIFY(table->isVisible());
    // 井上和子 teaches 国語 in every class of grade 1.
    QCOMPARE(table->item(1, 1)->text(), QString("○"));
    QCOMPARE(table->item(0, 1)->text(), QString());
    QCOMPARE(table->item(1, 1)->textAlignment(), int(Qt::AlignCenter));

    // 青山一郎 takes class 2 over.
    clickCell(table, 0, 1);
    QCOMPARE(table->currentRow(), 0);
    QVERIFY(action->isEnabled());
    QVERIFY(!action->isChecked());
    action->trigger();
    QCOMPARE(table->item(0, 1)->text(), QString("○"));
    QCOMPARE(table->item(1, 1)->text(), QString());

    // A marked cell carries the check mark and is cleared.
    clickCell(table, 1, 0);
    QVERIFY(action->isChecked());
    action->trigger();
    QCOMPARE(table->item(1, 0)->text(), QString());

    // A header click selects the whole row or column.
    QHeaderView *rows = table->verticalHeader();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                      QPoint(rows->width() / 2, rows->sectionViewportPosition(2) + rows->sectionSize(2) / 2));
    QCOMPARE(table->selectionModel()->selectedIndexes().size(), 3);
    QHeaderView *columns = table->horizontalHeader();
    QTest::mouseClick(
        columns->viewport(), Qt::LeftButton, {},
        QPoint(columns->sectionViewportPosition(1) + columns->sectionSize(1) / 2, columns->height() / 2));
    QCOMPARE(table->selectionModel()->selectedIndexes().size(), table->rowCount());

    QTest::mouseClick(GuiFixture::child<QPushButton>(&form, "OKButton"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));

    const QStringList lines = TeacherFile::load(f.dataFolder(), GuiFixture::kNendo).assignmentLines();
    QVERIFY(lines.contains("MT\t国語\t青山一郎\t1-2"));
    QVERIFY(!lines.contains("MT\t国語\t井上和子\t1-2"));
    QVERIFY(!lines.contains("MT\t国語\t井上和子\t1-1"));
    QVERIFY(lines.contains("MT\t国語\t井上和子\t1-3"));
    QVERIFY(!assignment::isAssigned(lines, "国語", "青山一郎", 1, 1, false));
    QVERIFY(lines.contains("MT\t社会\t内田健二\t1-1")); // other subjects untouched
}

void TantoFormTest::electivesAndGrades() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TTantoForm form(f.platform(), kCaption, GuiFixture::kNendo, f.dataFolder(), 1);
    QVERIFY(GuiFixture::showAt(&form));
    auto *table = GuiFixture::child<QTableWidget>(&form, "TantoGrid");
    auto *kyouka = GuiFixture::child<QListWidget>(&form, "KyoukaList");
    auto *gakunen = GuiFixture::child<QComboBox>(&form, "GakunenCombo");
    auto *action = GuiFixture::child<QAction>(&form, "TantoAction");
    QVERIFY(table && kyouka && gakunen && action);

    // The tenth subject stays selected and is clamped to the two electives of grade 1.
    kyouka->setCurrentRow(9);
    QTest::mouseClick(GuiFixture::child<QRadioButton>(&form, "SentakuRadio"), Qt::LeftButton);
    QCOMPARE(kyouka->count(), 2);
    QCOMPARE(kyouka->currentItem()->text(), QString("選択英語"));
    // 金子恵子 teaches 選択英語 in grade 1: every class of the row.
    for (int c = 0; c < 3; ++c)
        QCOMPARE(table->item(5, c)->text(), QString("○"));

    clickCell(table, 3, 2);
    action->trigger();
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(table->item(3, c)->text(), QString("○"));
        QCOMPARE(table->item(5, c)->text(), QString());
    }

    // Grade 4 has no classes: the grid is hidden.
    gakunen->setCurrentIndex(3);
    QVERIFY(!table->isVisible());
    QCOMPARE(kyouka->count(), 0);
    gakunen->setCurrentIndex(1);
    QVERIFY(table->isVisible());
    QCOMPARE(kyouka->currentItem()->text(), QString("選択数学"));

    form.reject();
    const QStringList lines = TeacherFile::load(f.dataFolder(), GuiFixture::kNendo).assignmentLines();
    QVERIFY(lines.contains("MT\t選択英語\t江口由美\t1"));
    QVERIFY(!lines.contains("MT\t選択英語\t金子恵子\t1"));
}

QTEST_MAIN(TantoFormTest)
#include "TantoFormTest.moc"
