#include "reports/ui/PrintHyoutei2Form.h"

#include "app/DemoEvaluation.h"
#include "evaluation/ui/HyouteiShukeiForm.h"
#include "exchange/GradeTransfer.h"
#include "exchange/ui/TransferShukeiForm.h"
#include "reports/LayoutRecorder.h"
#include "support/gui/GuiFixture.h"

#include <QApplication>
#include <QJsonArray>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace tavro;
using namespace tavro::test;

namespace {

THyouteiShukeiForm::Inputs demoInputs(const GuiFixture &f, int schoolKind = 1) {
    THyouteiShukeiForm::Inputs in;
    in.mainCaption = QStringLiteral("成績処理TAVRO for Windows Ver.5");
    in.nendo = GuiFixture::kNendo;
    in.gakunen = QStringLiteral("3");
    in.hyouteiKind = 1;
    in.hyouteiKindName = QStringLiteral("1学期評定");
    in.dataFolder = f.dataFolder();
    in.schoolKind = schoolKind;
    return in;
}

} // namespace

class PrintHyoutei2FormTest : public QObject {
    Q_OBJECT

private slots:
    // "印刷" of the aggregation: no class checked gives the message; all classes print the A3 list and
    // the notices. "校務支援": the grade transfer of the selected subject for the checked students.
    void printAndTransferFromTheAggregation() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        QVERIFY(demo::calculateFirstPeriod(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, nullptr));
        QVERIFY(demo::writeGradeResults(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, nullptr));
        THyouteiShukeiForm form(f.platform(), demoInputs(f));
        reports::RecordingPrintTarget target;
        form.setPrintTarget(&target);
        QVERIFY(GuiFixture::showAt(&form, QSize(1100, 720)));
        const GradeHyouteiStore &store = form.store();

        bool printed = false;
        whenShown<TPrintHyoutei2Form>([&](TPrintHyoutei2Form *dialog) {
            auto *list = GuiFixture::child<QListWidget>(dialog, QStringLiteral("CheckListBox1"));
            QCOMPARE(list->count(), store.classCount());
            auto *ichiran = GuiFixture::child<QPushButton>(dialog, QStringLiteral("Button1"));
            QCOMPARE(ichiran->text(), QStringLiteral("評定一覧表(A3)"));
            QTest::mouseClick(ichiran, Qt::LeftButton);
            QCOMPARE(f.lastMessage(), QStringLiteral("学級を選択してください。"));
            QVERIFY(target.layout().isEmpty());
            QTest::mouseClick(GuiFixture::child<QPushButton>(dialog, QStringLiteral("SpeedButton1")),
                              Qt::LeftButton); // 全選択
            QTest::mouseClick(ichiran, Qt::LeftButton);
            QCOMPARE(target.layout()[QStringLiteral("paper")].toString(), QStringLiteral("A3"));
            QCOMPARE(target.layout()[QStringLiteral("orientation")].toString(), QStringLiteral("portrait"));
            QCOMPARE(target.layout()[QStringLiteral("pages")].toArray().size(), store.classCount());
            auto *notice = GuiFixture::child<QPushButton>(dialog, QStringLiteral("Button4"));
            QCOMPARE(notice->text(), QStringLiteral("中間到達度通知"));
            QTest::mouseClick(notice, Qt::LeftButton);
            int students = 0;
            for (int slot = 0; slot < store.classCount() * kSeatsPerClass; ++slot)
                students += reports::printableStudent(store.name(slot));
            QCOMPARE(target.layout()[QStringLiteral("pages")].toArray().size(), students);
            printed = true;
            QTest::mouseClick(GuiFixture::child<QPushButton>(dialog, QStringLiteral("BackButton")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton1")),
                          Qt::LeftButton);
        QVERIFY(printed);

        bool transferred = false;
        whenShown<TTransferShukeiForm>([&](TTransferShukeiForm *dialog) {
            QCOMPARE(dialog->windowTitle(), form.windowTitle());
            auto *subjects = GuiFixture::child<QListWidget>(dialog, QStringLiteral("ListBox1"));
            QCOMPARE(subjects->count(), 9);
            QCOMPARE(subjects->currentRow(), 0);
            auto *students = GuiFixture::child<QListWidget>(dialog, QStringLiteral("CheckListBox1"));
            QCOMPARE(students->count(), store.classCount() * kSeatsPerClass);
            QCOMPARE(students->item(kSeatsPerClass)->text(), exchange::studentItem(store, kSeatsPerClass));
            QVERIFY(students->item(kSeatsPerClass)->text().startsWith(QStringLiteral("2組 1 ")));
            students->item(0)->setCheckState(Qt::Unchecked);
            subjects->setCurrentRow(2);
            QTest::mouseClick(GuiFixture::child<QPushButton>(dialog, QStringLiteral("Button1")),
                              Qt::LeftButton);
            std::vector<int> seats = exchange::defaultGradeSlots(store);
            seats.erase(seats.begin());
            QCOMPARE(f.doubles.clipboard.text(), exchange::gradeTransferText(store, 2, seats));
            QVERIFY(!f.doubles.clipboard.text().isEmpty());
            QCOMPARE(f.lastMessage(), QStringLiteral("クリップボードへのコピーが終わりました。"));
            transferred = true;
            QTest::mouseClick(GuiFixture::child<QPushButton>(dialog, QStringLiteral("BackButton")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton13")),
                          Qt::LeftButton);
        QVERIFY(transferred);
    }

    // A school kind the subject lists do not know: "校務支援" refuses with a message and opens nothing.
    void unknownSchoolKind() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        THyouteiShukeiForm form(f.platform(), demoInputs(f, 2));
        QVERIFY(GuiFixture::showAt(&form, QSize(1100, 720)));
        QTest::mouseClick(GuiFixture::child<QPushButton>(&form, QStringLiteral("SpeedButton13")),
                          Qt::LeftButton);
        QCOMPARE(f.lastMessage(), QStringLiteral("校種の設定 (2) が正しくありません。"));
        QVERIFY(!QApplication::activeModalWidget() || QApplication::activeModalWidget() == &form);
    }
};

QTEST_MAIN(PrintHyoutei2FormTest)
#include "PrintHyoutei2FormTest.moc"
