#include "reports/ui/KondanForm1.h"

#include "app/DemoEvaluation.h"
#include "reports/LayoutRecorder.h"
#include "support/gui/GuiFixture.h"
#include "widgets/PrintWindowFrame.h"

#include <QJsonArray>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

using namespace tavro;
using namespace tavro::test;

class KondanForm1Test : public QObject {
    Q_OBJECT

private slots:
    // No class checked: the message and no print; "全選択" and print: one landscape page per class.
    void printsTheCheckedClasses() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        QVERIFY(demo::calculateFirstPeriod(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, nullptr));
        KondanContext c;
        c.mainCaption = QStringLiteral("成績処理TAVRO for Windows Ver.5");
        c.dataFolder = f.dataFolder();
        c.nendo = GuiFixture::kNendo;
        c.grade = 1;
        c.period = 1;
        c.periodCaption = QStringLiteral("1学期");
        c.schoolName = QStringLiteral("市立さくら台中学校");
        reports::RecordingPrintTarget target;
        TKondanForm1 form(c, f.platform(), &target);
        QVERIFY(GuiFixture::showAt(&form, QSize(720, 480)));
        auto *list = GuiFixture::child<QListWidget>(&form, QStringLiteral("CheckListBox1"));
        QVERIFY(list);
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("1組"));
        auto *print = GuiFixture::child<QPushButton>(&form, QStringLiteral("Button1"));
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(f.lastMessage(), QStringLiteral("学級を選択してください。"));
        QVERIFY(target.layout().isEmpty());
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton1")),
                          Qt::LeftButton);
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(target.layout()[QStringLiteral("pages")].toArray().size(), 3);
        QCOMPARE(target.layout()[QStringLiteral("orientation")].toString(), QStringLiteral("landscape"));
    }

    // After "全選択" the print dialog offers and shows the pages of the material, not "1 to 1".
    void dialogOffersEveryPage() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        KondanContext c;
        c.dataFolder = f.dataFolder();
        c.nendo = GuiFixture::kNendo;
        c.grade = 1;
        c.period = 1;
        c.periodCaption = QStringLiteral("1学期");
        TKondanForm1 form(c, f.platform());
        QVERIFY(GuiFixture::showAt(&form, QSize(720, 480)));
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton1")),
                          Qt::LeftButton);
        int from = -1, to = -1, max = -1;
        whenShown<QPrintDialog>([&](QPrintDialog *dialog) {
            from = dialog->printer()->fromPage();
            to = dialog->printer()->toPage();
            max = dialog->maxPage();
            dialog->reject();
        });
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("Button1")), Qt::LeftButton);
        QCOMPARE(from, 1);
        QCOMPARE(to, 3); // three classes of the demo grade, one page each
        QCOMPARE(max, 3);
    }
};

QTEST_MAIN(KondanForm1Test)
#include "KondanForm1Test.moc"
