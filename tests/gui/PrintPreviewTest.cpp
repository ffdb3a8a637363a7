// "プレビュー" of every print window: the preview shows the pages the print button prints, drawn by the
// same calls, and printing from the preview draws them again.
#include "reports/ui/PrintPreview.h"

#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/ui/HyouteiShukeiForm.h"
#include "reports/render/PainterCanvas.h"
#include "reports/ui/KondanForm1.h"
#include "reports/ui/PrintHyoutei2Form.h"
#include "reports/ui/SubjectPrintWindow.h"
#include "support/gui/GuiFixture.h"
#include "testscores/TestAggregation.h"
#include "testscores/ui/TInput1Form.h"
#include "testscores/ui/TPrintTest1Form.h"

#include <QFile>
#include <QListWidget>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <deque>

using namespace tavro;
using namespace tavro::test;

namespace {

// The print button's target: a high-resolution printer writing a PDF, recorded through a tee.
class RecordedPrinterTarget final : public PrintTarget {
public:
    Opened open(const Job &job) override {
        operations.clear();
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFileName(m_dir.filePath(QStringLiteral("print.pdf")));
        m_printer->setPageSize(QPageSize(job.paper == Paper::A3 ? QPageSize::A3 : QPageSize::A4));
        m_printer->setPageOrientation(job.orientation == PageCanvas::Orientation::Landscape
                                          ? QPageLayout::Landscape
                                          : QPageLayout::Portrait);
        paper = job.paper;
        Opened opened;
        opened.canvas = std::make_unique<TeeCanvas>(
            std::make_unique<PainterCanvas>(m_printer.get(), m_printer.get()), operations);
        return opened;
    }
    int pages() const {
        return operations.isEmpty() ? 0 : int(operations.count(QStringLiteral("newPage"))) + 1;
    }
    QStringList operations;
    Paper paper = Paper::A4;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QPrinter> m_printer;
};

// Records what every preview draws, one list per rendering.
struct PreviewRecorder {
    PreviewRecorder() {
        PrintPreview::setCanvasFilter(
            [this](std::unique_ptr<PageCanvas> canvas) -> std::unique_ptr<PageCanvas> {
                renders.emplace_back();
                return std::make_unique<TeeCanvas>(std::move(canvas), renders.back());
            });
    }
    ~PreviewRecorder() { PrintPreview::setCanvasFilter({}); }
    std::deque<QStringList> renders;
};

// Clicks `preview` and, in the preview dialog: its title, its page count and drawing against the print
// the print button made on `printed`, then a print from the preview to a file, which must draw the same;
// closes the dialog. Returns whether the dialog was seen.
bool checkPreview(QPushButton *preview, const RecordedPrinterTarget &printed, const QString &title) {
    PreviewRecorder recorder;
    bool seen = false;
    QTemporaryDir dir;
    QTimer *timer = whenShown<QPrintPreviewDialog>([&](QPrintPreviewDialog *d) {
        seen = true;
        auto done = qScopeGuard([d] { d->reject(); });
        QCOMPARE(d->windowTitle(), QStringLiteral("印刷プレビュー - ") + title);
        auto *widget = d->findChild<QPrintPreviewWidget *>();
        QVERIFY(widget);
        QCOMPARE(widget->pageCount(), printed.pages());
        QCOMPARE(d->printer()->pageLayout().pageSize().id(),
                 printed.paper == PrintTarget::Paper::A3 ? QPageSize::A3 : QPageSize::A4);
        QCOMPARE(recorder.renders.size(), std::size_t(1));
        QCOMPARE(recorder.renders.back(), printed.operations);
        // Printing from the preview (its print dialog accepted with a file as the printer, the other
        // paper chosen there): the document's own paper again.
        const bool a3 = d->printer()->pageLayout().pageSize().id() == QPageSize::A3;
        d->printer()->setPageSize(QPageSize(a3 ? QPageSize::A4 : QPageSize::A3));
        const QString pdf = dir.filePath(QStringLiteral("from-preview.pdf"));
        d->printer()->setOutputFileName(pdf);
        widget->print();
        QCOMPARE(recorder.renders.size(), std::size_t(2));
        QCOMPARE(recorder.renders.back(), printed.operations);
        QVERIFY(QFile(pdf).size() > 0);
        QCOMPARE(d->printer()->pageLayout().pageSize().id(), a3 ? QPageSize::A3 : QPageSize::A4);
    });
    QTest::mouseClick(preview, Qt::LeftButton);
    if (!seen)
        delete timer;
    return seen;
}

QPushButton *button(QWidget *w, const QString &name) {
    return GuiFixture::child<QPushButton>(w, name);
}

void checkAll(QWidget *w) {
    QTest::mouseClick(button(w, QStringLiteral("SpeedButton1")), Qt::LeftButton); // 全選択
}

} // namespace

class PrintPreviewTest : public QObject {
    Q_OBJECT

private slots:
    // The score-entry window's score list and the test list's class list and notices.
    void testPrints() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        RecordedPrinterTarget target;
        {
            ScoreEntryContext c;
            c.dataFolder = f.dataFolder();
            c.nendo = GuiFixture::kNendo;
            c.grade = 1;
            c.kyouka = QStringLiteral("国語");
            c.testCode = QStringLiteral("A");
            c.testName = QStringLiteral("1学期中間テスト");
            c.chargeClasses = QStringLiteral("12");
            TInput1Form w(c, f.platform());
            w.setPrintTarget(&target);
            QVERIFY(GuiFixture::showAt(&w));
            QCOMPARE(button(&w, QStringLiteral("PrintButtonPreview"))->text(), QStringLiteral("プレビュー"));
            QTest::mouseClick(button(&w, QStringLiteral("PrintButton")), Qt::LeftButton);
            QCOMPARE(target.pages(), 2);
            QVERIFY(checkPreview(button(&w, QStringLiteral("PrintButtonPreview")), target,
                                 QStringLiteral("TAVRO for Windows 得点一覧")));
        }
        const TestAggregation a =
            TestAggregation::load(f.dataFolder(), {GuiFixture::kNendo, 1, QStringLiteral("A"),
                                                   QStringLiteral("1学期中間テスト"), true});
        TPrintTest1Form form(a, false, f.platform(), &target);
        QVERIFY(GuiFixture::showAt(&form, QSize(680, 440)));
        // No class checked: the message of the print, and no preview.
        const int shown = int(f.prompter().texts().size());
        QVERIFY(!checkPreview(button(&form, QStringLiteral("Button2Preview")), target, QString()));
        QCOMPARE(f.lastMessage(), QStringLiteral("学級を選択してください。"));
        QCOMPARE(int(f.prompter().texts().size()), shown + 1);
        checkAll(&form);
        QTest::mouseClick(button(&form, QStringLiteral("Button2")), Qt::LeftButton);
        QVERIFY(target.pages() > 1);
        QVERIFY(checkPreview(button(&form, QStringLiteral("Button2Preview")), target,
                             QStringLiteral("TAVRO for Windows 得点通知資料")));
        QTest::mouseClick(button(&form, QStringLiteral("Button1")), Qt::LeftButton);
        QCOMPARE(target.pages(), a.classCount());
        QVERIFY(checkPreview(button(&form, QStringLiteral("Button1Preview")), target,
                             QStringLiteral("TAVRO for Windows 学級別一覧")));
    }

    // 資料C of the subject documents (資料E's preview disabled with its print outside the year end), the
    // A3 list of the grade-wide papers and the conference material.
    void evaluationPrints() {
        GuiFixture f;
        QVERIFY(f.writeDemoSchool());
        QVERIFY(demo::calculateFirstPeriod(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, nullptr));
        RecordedPrinterTarget target;
        {
            EvaluationContext c;
            c.dataFolder = f.dataFolder();
            c.nendo = GuiFixture::kNendo;
            c.grade = 1;
            c.kyouka = QStringLiteral("国語");
            c.chargeClasses = QStringLiteral("12");
            for (const QString &t : DemoSchool::teacherNames())
                if (QFile::exists(paths::worksheetFile(f.dataFolder(), t, GuiFixture::kNendo, 1, c.kyouka)))
                    c.teacherName = t;
            EvaluationSession session(c);
            session.load(f.prompter());
            QVERIFY(!session.classes().empty());
            TPrintHyoutei1Form w(session, 1, f.platform(), &target);
            QVERIFY(GuiFixture::showAt(&w, QSize(1040, 520)));
            QVERIFY(!button(&w, QStringLiteral("Button5"))->isEnabled());
            QVERIFY(!button(&w, QStringLiteral("Button5Preview"))->isEnabled());
            QVERIFY(button(&w, QStringLiteral("Button3Preview"))->isEnabled());
            checkAll(&w);
            QTest::mouseClick(button(&w, QStringLiteral("Button3")), Qt::LeftButton);
            QCOMPARE(target.pages(), 2);
            QVERIFY(checkPreview(button(&w, QStringLiteral("Button3Preview")), target,
                                 QStringLiteral("TAVRO for Windows 評定資料C")));
            TPrintHyoutei1Form yearEnd(session, 4, f.platform(), &target);
            QVERIFY(button(&yearEnd, QStringLiteral("Button5Preview"))->isEnabled());
        }
        {
            QVERIFY(demo::writeGradeResults(f.dataFolder(), GuiFixture::kNendo, f.doubles.clock, nullptr));
            THyouteiShukeiForm::Inputs in;
            in.nendo = GuiFixture::kNendo;
            in.gakunen = QStringLiteral("3");
            in.hyouteiKind = 1;
            in.hyouteiKindName = QStringLiteral("1学期評定");
            in.dataFolder = f.dataFolder();
            in.schoolKind = 1;
            THyouteiShukeiForm shukei(f.platform(), in);
            QVERIFY(GuiFixture::showAt(&shukei, QSize(1100, 720)));
            TPrintHyoutei2Form w(shukei.store(), QStringLiteral("評定集計"), f.platform(), &target);
            QVERIFY(GuiFixture::showAt(&w, QSize(760, 480)));
            checkAll(&w);
            QTest::mouseClick(button(&w, QStringLiteral("Button1")), Qt::LeftButton);
            QCOMPARE(target.paper, PrintTarget::Paper::A3);
            QCOMPARE(target.pages(), shukei.store().classCount());
            QVERIFY(checkPreview(button(&w, QStringLiteral("Button1Preview")), target,
                                 QStringLiteral("TAVRO for Windows 資料A")));
        }
        KondanContext c;
        c.dataFolder = f.dataFolder();
        c.nendo = GuiFixture::kNendo;
        c.grade = 1;
        c.period = 1;
        c.periodCaption = QStringLiteral("1学期");
        c.schoolName = QStringLiteral("市立さくら台中学校");
        TKondanForm1 form(c, f.platform(), &target);
        QVERIFY(GuiFixture::showAt(&form, QSize(720, 480)));
        checkAll(&form);
        QTest::mouseClick(button(&form, QStringLiteral("Button1")), Qt::LeftButton);
        QCOMPARE(target.pages(), 3);
        QVERIFY(checkPreview(button(&form, QStringLiteral("Button1Preview")), target,
                             QStringLiteral("TAVRO for Windows 懇談資料A")));
    }
};

QTEST_MAIN(PrintPreviewTest)
#include "PrintPreviewTest.moc"
