// The item import dialog opened from the score page of the evaluation window: the colleague's check
// list, the check-all buttons, OK with the message and the refreshed window; disabled when browsing.
#include "evaluation/ui/KoumokuImportForm.h"
#include "app/DemoSchool.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "support/gui/GuiFixture.h"
#include "widgets/FrozenTableView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tavro;
using tavro::test::GuiFixture;
using tavro::test::whenShown;

namespace {

// Grade 1 国語 of the demo's teacher 2, whose colleague teacher 1 holds the grade's worksheet.
EvaluationContext contextOf(const GuiFixture &f, bool readOnly) {
    EvaluationContext c;
    c.dataFolder = f.dataFolder();
    c.nendo = GuiFixture::kNendo;
    c.grade = 1;
    c.kyouka = QStringLiteral("国語");
    c.chargeClasses = QStringLiteral("12");
    c.teacherName = DemoSchool::teacherNames().at(2);
    c.readOnly = readOnly;
    return c;
}

int checkedCount(const QListWidget *list) {
    int n = 0;
    for (int row = 0; row < list->count(); ++row)
        n += list->item(row)->checkState() == Qt::Checked;
    return n;
}

} // namespace

class KoumokuImportFormTest : public QObject {
    Q_OBJECT

private slots:
    void importsFromTheScorePage() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        const QStringList teachers = DemoSchool::teacherNames();
        THyoutei1Form w(contextOf(f, false), f.platform());
        QVERIFY(GuiFixture::showAt(&w));
        auto *button = GuiFixture::child<QPushButton>(&w, "KoumokuImportButton");
        QVERIFY(button && button->isEnabled());
        QCOMPARE(button->toolTip(), QString("他の教師の項目を取り込みます"));
        auto *grid = GuiFixture::child<FrozenTableView>(&w, "TokutenGrid");
        grid->setCurrentIndex(grid->model()->index(0, 2 + 2));
        f.prompter().clear();

        bool ran = false;
        whenShown<TKoumokuImportForm>([&](TKoumokuImportForm *d) {
            ran = true;
            QCOMPARE(d->windowTitle(), QString("項目設定の取り込み"));
            auto *combo = GuiFixture::child<QComboBox>(d, "ComboBox1");
            QCOMPARE(combo->count(), 2);
            QCOMPARE(combo->currentText(), teachers[1]);
            auto *list = GuiFixture::child<QListWidget>(d, "CheckListBox1");
            QCOMPARE(list->count(), 10);
            QCOMPARE(list->item(1)->text(), QString("2 [平常] 提出物"));
            QVERIFY(GuiFixture::child<QCheckBox>(d, "CheckBox1")->isChecked());
            QVERIFY(!GuiFixture::child<QCheckBox>(d, "CheckBox2")->isChecked());

            // Teacher 3 has no worksheet of grade 1: the list empties; back to teacher 1.
            combo->setCurrentIndex(1);
            emit combo->activated(1);
            QCOMPARE(list->count(), 0);
            combo->setCurrentIndex(0);
            emit combo->activated(0);
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, "SpeedButton1"), Qt::LeftButton);
            QCOMPARE(checkedCount(list), 10);
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, "SpeedButton2"), Qt::LeftButton);
            QCOMPARE(checkedCount(list), 0);
            list->item(1)->setCheckState(Qt::Checked);
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, "BitBtn1"), Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(ran);
        QCOMPARE(f.lastMessage(), QString("取り込みが終わりました。"));
        QCOMPARE(GuiFixture::child<QLabel>(&w, "NamePanel")->text(), QString("提出物"));
        QCOMPARE(GuiFixture::child<QLabel>(&w, "StatusPanel1")->text(), QString("変更あり"));
        QCOMPARE(w.session().worksheet().item(2).fullScore, 5);
        QVERIFY(!w.session().worksheet().item(1).isSet());

        THyoutei1Form viewer(contextOf(f, true), f.platform());
        QVERIFY(GuiFixture::showAt(&viewer));
        QVERIFY(!GuiFixture::child<QPushButton>(&viewer, "KoumokuImportButton")->isEnabled());
    }
};

QTEST_MAIN(KoumokuImportFormTest)
#include "KoumokuImportFormTest.moc"
