// "印刷" of the evaluation window: the automatic save before the print window, the window chosen by
// "OldType" and Shift, a failed save printing nothing, and a document printed from the window.
#include "reports/ui/SubjectPrintWindow.h"

#include "app/DemoSchool.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "reports/LayoutRecorder.h"
#include "support/gui/GuiFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace tavro;
using tavro::test::GuiFixture;
using tavro::test::whenShown;

namespace {

// Grade 1 国語 of the demo teacher who holds its worksheet, classes 1 and 2.
EvaluationContext contextOf(const GuiFixture &f) {
    EvaluationContext c;
    c.dataFolder = f.dataFolder();
    c.nendo = GuiFixture::kNendo;
    c.grade = 1;
    c.kyouka = QStringLiteral("国語");
    c.chargeClasses = QStringLiteral("12");
    for (const QString &t : DemoSchool::teacherNames())
        if (QFile::exists(paths::worksheetFile(f.dataFolder(), t, GuiFixture::kNendo, 1, c.kyouka)))
            c.teacherName = t;
    return c;
}

bool setOldType(GuiFixture &f, bool on) {
    YearSettings s = YearSettings::load(f.dataFolder(), GuiFixture::kNendo);
    s.oldType = on;
    return f.writeYearSettings(s);
}

QPushButton *printButton(THyoutei1Form &w) {
    GuiFixture::child<QTabWidget>(&w, QStringLiteral("PageControl1"))->setCurrentIndex(3);
    return GuiFixture::child<QPushButton>(&w, QStringLiteral("PrintButton"));
}

} // namespace

class SubjectPrintWindowTest : public QObject {
    Q_OBJECT

private slots:
    // A change is saved before the submission window opens; 資料C needs a checked class, then prints
    // one page per checked class.
    void savesThenPrints() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        const EvaluationContext c = contextOf(f);
        QVERIFY(!c.teacherName.isEmpty());
        THyoutei1Form w(c, f.platform());
        reports::RecordingPrintTarget target;
        w.setPrintTarget(&target);
        QVERIFY(GuiFixture::showAt(&w));
        QPushButton *print = printButton(w);
        QVERIFY(print);
        QCOMPARE(print->text(), QStringLiteral("印刷"));
        QCOMPARE(print->toolTip(), QStringLiteral("印刷します。"));
        w.session().setScore(1, slotOf(1, 1), 7);
        QVERIFY(w.session().isModified());

        bool savedFirst = false;
        bool documentE = true;
        QString documentETip;
        QStringList buttons;
        int pagesWithout = -1;
        whenShown<TPrintHyoutei1Form>([&](TPrintHyoutei1Form *d) {
            savedFirst = !w.session().isModified() &&
                         GuiFixture::child<QLabel>(&w, QStringLiteral("StatusPanel1"))->text() ==
                             QStringLiteral("自動保存済");
            for (int i = 1; i <= 6; ++i)
                buttons.append(GuiFixture::child<QPushButton>(d, QStringLiteral("Button%1").arg(i))->text());
            documentE = GuiFixture::child<QPushButton>(d, QStringLiteral("Button5"))->isEnabled();
            documentETip = GuiFixture::child<QPushButton>(d, QStringLiteral("Button5"))->toolTip();
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, QStringLiteral("Button3")), Qt::LeftButton);
            pagesWithout = target.layout().isEmpty() ? 0 : 1;
            GuiFixture::child<QListWidget>(d, QStringLiteral("CheckListBox1"))
                ->item(1)
                ->setCheckState(Qt::Checked);
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, QStringLiteral("Button3")), Qt::LeftButton);
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, QStringLiteral("BackButton")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(print, Qt::LeftButton);
        QVERIFY(savedFirst);
        QCOMPARE(buttons,
                 (QStringList{QStringLiteral("観点割合と人数分布"), QStringLiteral("項目の満点と割合"),
                              QStringLiteral("到達度と評定"), QStringLiteral("項目の得点一覧"),
                              QStringLiteral("評定推移とコメント"), QStringLiteral("表紙(鑑)")}));
        QCOMPARE(pagesWithout, 0);
        // 資料E is a year-end document: offered for 学年末評定 (period 4 of the demo) only.
        QVERIFY(!documentE);
        QCOMPARE(documentETip, QStringLiteral("資料Eは学年末の評定でのみ印刷できます。"));
        {
            TPrintHyoutei1Form yearEnd(w.session(), 4, f.platform(), &target);
            QVERIFY(GuiFixture::child<QPushButton>(&yearEnd, QStringLiteral("Button5"))->isEnabled());
        }
        QVERIFY(f.prompter().texts().contains(QStringLiteral("学級を選択してください。")));
        const QJsonArray pages = target.layout()[QStringLiteral("pages")].toArray();
        QCOMPARE(pages.size(), 1);
        QCOMPARE(target.layout()[QStringLiteral("title")].toString(),
                 QStringLiteral("TAVRO for Windows 評定資料C"));
        bool classTwo = false;
        for (const QJsonValue &op : pages[0][QStringLiteral("ops")].toArray())
            classTwo = classTwo || op[QStringLiteral("text")].toString().contains(QStringLiteral("1年2組"));
        QVERIFY(classTwo);
    }

    // "OldType" opens the small sheets, with Shift the submission documents; a failed save shows its
    // error and opens neither.
    void oldTypeShiftAndFailedSave() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        QVERIFY(setOldType(f, true));
        THyoutei1Form w(contextOf(f), f.platform());
        reports::RecordingPrintTarget target;
        w.setPrintTarget(&target);
        QVERIFY(GuiFixture::showAt(&w));
        QPushButton *print = printButton(w);

        QStringList sheetButtons;
        whenShown<TPrintHyoutei3Form>([&](TPrintHyoutei3Form *d) {
            for (int i = 1; i <= 3; ++i)
                sheetButtons.append(
                    GuiFixture::child<QPushButton>(d, QStringLiteral("Button%1").arg(i))->text());
            QTest::mouseClick(GuiFixture::child<QPushButton>(d, QStringLiteral("Button3")), Qt::LeftButton);
            d->accept();
        });
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(sheetButtons, (QStringList{QStringLiteral("小票印刷"), QStringLiteral("小票印刷(旧形式)"),
                                            QStringLiteral("表紙(鑑)")}));
        QCOMPARE(target.layout()[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 鑑"));

        bool submission = false;
        whenShown<TPrintHyoutei1Form>([&](TPrintHyoutei1Form *d) {
            submission = true;
            d->accept();
        });
        QTest::mouseClick(print, Qt::LeftButton, Qt::ShiftModifier);
        QVERIFY(submission);

        // The worksheet's name taken by a folder: the save fails and nothing opens.
        const QString path = w.session().worksheetPath();
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkpath(path + QStringLiteral("/x")));
        w.session().setScore(1, slotOf(1, 1), 8);
        bool opened = false;
        QTimer *watch = whenShown<SubjectPrintWindow>([&](SubjectPrintWindow *d) {
            opened = true;
            d->accept();
        });
        const int shown = int(f.prompter().shown().size());
        QTest::mouseClick(print, Qt::LeftButton);
        QTest::qWait(50);
        delete watch;
        QVERIFY(!opened);
        QCOMPARE(int(f.prompter().shown().size()), shown + 1);
        QVERIFY(w.session().isModified());
        QApplication::processEvents();
        for (QObject *o : QApplication::allWidgets())
            if (qobject_cast<SubjectPrintWindow *>(o))
                QFAIL("a print window remains");
    }
};

QTEST_MAIN(SubjectPrintWindowTest)
#include "SubjectPrintWindowTest.moc"
