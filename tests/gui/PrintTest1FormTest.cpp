#include "testscores/ui/TPrintTest1Form.h"

#include "reports/LayoutRecorder.h"
#include "support/gui/GuiFixture.h"
#include "testscores/TestAggregation.h"

#include <QJsonArray>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace tavro;
using namespace tavro::test;

class PrintTest1FormTest : public QObject {
    Q_OBJECT

private slots:
    // The captions follow the means setting; no class asks for one; the class list prints a page
    // per checked class and the notices one per student with a name.
    void printsTheCheckedClasses() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        const TestAggregation a =
            TestAggregation::load(f.dataFolder(), {GuiFixture::kNendo, 1, QStringLiteral("A"),
                                                   QStringLiteral("1学期中間テスト"), true});
        reports::RecordingPrintTarget target;
        TPrintTest1Form form(a, true, f.platform(), &target);
        QVERIFY(GuiFixture::showAt(&form, QSize(680, 440)));
        QCOMPARE(form.windowTitle(), QStringLiteral("%1年度 1年生 1学期中間テスト").arg(GuiFixture::kNendo));
        QCOMPARE(GuiFixture::child<QPushButton>(&form, QStringLiteral("Button2"))->text(),
                 QStringLiteral("平均点付き(5教科)"));
        QCOMPARE(GuiFixture::child<QPushButton>(&form, QStringLiteral("Button3"))->text(),
                 QStringLiteral("平均点付き(9教科)"));
        auto *list = GuiFixture::child<QListWidget>(&form, QStringLiteral("CheckListBox1"));
        QCOMPARE(list->count(), a.classCount());
        auto *classList = GuiFixture::child<QPushButton>(&form, QStringLiteral("Button1"));
        QTest::mouseClick(classList, Qt::LeftButton);
        QCOMPARE(f.lastMessage(), QStringLiteral("学級を選択してください。"));
        QCOMPARE(target.jobs(), 0);

        list->item(1)->setCheckState(Qt::Checked);
        QTest::mouseClick(classList, Qt::LeftButton);
        QCOMPARE(target.layout()[QStringLiteral("pages")].toArray().size(), 1);
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton1")),
                          Qt::LeftButton);
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("Button4")), Qt::LeftButton);
        const int students = int(reports::noticeStudents(a, {1, 2, 3}).size());
        QVERIFY(students > 36);
        QCOMPARE(target.layout()[QStringLiteral("pages")].toArray().size(), (students + 35) / 36);
        QCOMPARE(target.layout()[QStringLiteral("title")].toString(),
                 QStringLiteral("TAVRO for Windows 得点通知資料"));
    }
};

QTEST_MAIN(PrintTest1FormTest)
#include "PrintTest1FormTest.moc"
