#include "exchange/ui/TransferForm.h"
#include "exchange/ui/ExcelCopyForm.h"

#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/GradePeriodResults.h"
#include "exchange/ResultCopies.h"
#include "exchange/Transfers.h"
#include "support/gui/GuiFixture.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tavro;
using namespace tavro::test;

class TransferFormTest : public QObject {
    Q_OBJECT

private slots:
    // The second class's lists, an unchecked student, and both copies with the message.
    void copiesTheCheckedStudents() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        QVERIFY(demo::calculateFirstPeriod(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, nullptr));
        EvaluationContext c;
        c.dataFolder = f.dataFolder();
        c.nendo = GuiFixture::kNendo;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.teacherName = DemoSchool::teacherNames()[1];
        c.chargeClasses = QStringLiteral("12");
        EvaluationSession session(c);
        session.load(f.prompter());
        TTransferForm form(session, 1, f.platform());
        QVERIFY(GuiFixture::showAt(&form, QSize(760, 560)));
        auto *classes = GuiFixture::child<QListWidget>(&form, QStringLiteral("ListBox1"));
        QCOMPARE(classes->count(), 2);
        classes->setCurrentRow(1);
        auto *first = GuiFixture::child<QListWidget>(&form, QStringLiteral("CheckListBox1"));
        auto *second = GuiFixture::child<QListWidget>(&form, QStringLiteral("CheckListBox2"));
        QCOMPARE(first->count(), 30);
        QCOMPARE(second->count(), 30);
        QVERIFY(first->item(0)->text().startsWith(QStringLiteral(" 1 ")));
        first->item(1)->setCheckState(Qt::Unchecked);
        std::vector<int> numbers;
        const std::vector<bool> checks = exchange::defaultChecks(session, 2);
        for (int n = 1; n <= 60; ++n)
            if (checks[std::size_t(n - 1)] && n != 2)
                numbers.push_back(n);
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("Button1")), Qt::LeftButton);
        QCOMPARE(f.doubles.clipboard.text(), exchange::marksText(session, 1, 2, numbers, false));
        QCOMPARE(f.lastMessage(), QStringLiteral("クリップボードへのコピーが終わりました。"));
        const auto radios = form.findChildren<QRadioButton *>();
        for (QRadioButton *r : radios)
            if (r->text() == QStringLiteral("100点 整数"))
                r->setChecked(true);
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("Button2")), Qt::LeftButton);
        QCOMPARE(f.doubles.clipboard.text(), exchange::achievementsText(session, 1, 1));
    }

    // The spreadsheet transfer of the checked classes, with the message after the text is placed.
    void spreadsheetTransfer() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        QVERIFY(demo::calculateFirstPeriod(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, nullptr));
        const ExcelCopyContext c{
            QStringLiteral("成績処理"), f.dataFolder(), GuiFixture::kNendo, 2, true, 1, 1,
            QStringLiteral("1学期")};
        TexcelcopyForm form(c, f.platform());
        QVERIFY(GuiFixture::showAt(&form, QSize(720, 480)));
        auto *list = GuiFixture::child<QListWidget>(&form, QStringLiteral("CheckListBox1"));
        QCOMPARE(list->count(), 3);
        list->item(2)->setCheckState(Qt::Checked);
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("Button1")), Qt::LeftButton);
        GradePeriodResults results;
        QVERIFY(GradePeriodResults::load(f.dataFolder(), GuiFixture::kNendo, 2, 1, 1, results, nullptr));
        QCOMPARE(f.doubles.clipboard.text(),
                 exchange::excelText(results, {3}, QStringLiteral("1学期"), true));
        QCOMPARE(f.lastMessage(), QStringLiteral("転送が終わりました"));
    }
};

QTEST_MAIN(TransferFormTest)
#include "TransferFormTest.moc"
