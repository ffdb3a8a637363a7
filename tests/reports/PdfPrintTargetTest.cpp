// Printing to a PDF while a folder disappears (an unplugged network drive).
#include "reports/render/PdfPrintTarget.h"
#include "reports/ui/DialogPrintTarget.h"

#include "app/DemoSchool.h"
#include "common/FileSave.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/WorksheetFile.h"
#include "reports/PageModel.h"
#include "reports/SubjectDocuments.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

namespace {

constexpr int kYear = 2024;

QStringList leftovers(const QString &folder) {
    return QDir(folder).entryList({QStringLiteral("*.tavro-tmp")}, QDir::Files | QDir::Hidden);
}

// The printer the print dialog hands over when "print to file" was chosen.
class PrinterWithFile final : public PrintTarget {
public:
    explicit PrinterWithFile(QString path) : m_path(std::move(path)) {}
    Opened open(const Job &job) override {
        auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_path);
        return DialogPrintTarget::openOnPrinter(std::move(printer), job.title);
    }

private:
    QString m_path;
};

} // namespace

class PdfPrintTargetTest : public QObject {
    Q_OBJECT

private slots:
    // The evaluation window prints from what it holds while the data folder is gone: a PDF elsewhere
    // is written, one inside the missing folder is refused with the reason and creates nothing, and
    // the edits stay pending until the folder is back.
    void subjectDocumentWhileTheDataFolderIsGone() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/data/");
        QString error;
        QVERIFY2(DemoSchool::write(folder, kYear, &error), qPrintable(error));
        EvaluationContext c;
        c.mainCaption = QStringLiteral("成績処理");
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.chargeClasses = QStringLiteral("12");
        c.teacherName = QStringLiteral("井上和子");
        test::ScriptedPrompter prompter;
        EvaluationSession s(c);
        s.load(prompter);
        const int slot = s.rows().front();
        s.setScore(1, slot, 6);
        s.markModified();

        const QString away = dir.path() + QStringLiteral("/data-away");
        QVERIFY(QDir().rename(QDir::cleanPath(folder), away));
        const QDateTime now(QDate(2024, 7, 1), QTime(9, 0));
        const QString outside = dir.filePath(QStringLiteral("資料A.pdf"));
        PdfPrintTarget good(outside, 72);
        const reports::PrintOutcome printed = reports::printSubjectDocument(
            reports::SubjectDocument::ShiryouA, s, 1, {1, 2}, good, prompter, now);
        QVERIFY2(printed.printed, qPrintable(printed.error));
        QVERIFY(QFileInfo(outside).size() > 0);

        const QString inside = folder + QStringLiteral("資料A.pdf");
        PdfPrintTarget gone(inside, 72);
        const reports::PrintOutcome refused = reports::printSubjectDocument(
            reports::SubjectDocument::ShiryouA, s, 1, {1, 2}, gone, prompter, now);
        QVERIFY(!refused.printed);
        QVERIFY2(refused.error.startsWith(QStringLiteral("印刷できませんでした。")),
                 qPrintable(refused.error));
        QVERIFY2(refused.error.contains(inside) && refused.error.contains(QStringLiteral("見つかりません")),
                 qPrintable(refused.error));
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(s.isModified());

        QVERIFY(QDir().rename(away, QDir::cleanPath(folder)));
        QVERIFY2(s.save(&error), qPrintable(error));
        Worksheet stored;
        WorksheetFile::load(s.worksheetPath(), stored, nullptr);
        QCOMPARE(stored.score(1, slot), 6);
    }

    // The folder of the PDF goes while the document is drawn: the end reports the file and the reason,
    // and the PDF that was there keeps its bytes once the folder is back; a new file is made whole, and
    // a print that fails or is refused leaves no file of its own. The same for "print to file" of the
    // print dialog (a printer with an output file).
    void folderGoneWhileDrawing_data() {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("vanish");
        for (const bool printer : {false, true}) {
            const char *kind = printer ? "print to file: " : "pdf: ";
            QTest::addRow("%snew file", kind) << printer << false << false;
            QTest::addRow("%sover an old file", kind) << printer << true << false;
            QTest::addRow("%snew file, folder gone", kind) << printer << false << true;
            QTest::addRow("%sold file, folder gone", kind) << printer << true << true;
        }
    }
    void folderGoneWhileDrawing() {
        QFETCH(bool, printer);
        QFETCH(bool, existing);
        QFETCH(bool, vanish);
        QTemporaryDir dir;
        const QString share = dir.path() + QStringLiteral("/share");
        const QString away = share + QStringLiteral("-away");
        QVERIFY(QDir().mkdir(share));
        const QString path = share + QStringLiteral("/一覧.pdf");
        const QByteArray old("%PDF-1.4 the old document");
        if (existing)
            QVERIFY(saveFileAtomically(path, old));

        PdfPrintTarget pdf(path, 72);
        PrinterWithFile toFile(path);
        PrintTarget::Job job;
        job.title = reports::jobTitle(QStringLiteral("一覧"));
        reports::PrintOutcome outcome;
        PrintTarget::Opened opened =
            reports::beginPrint(printer ? static_cast<PrintTarget &>(toFile) : pdf, job, outcome);
        QVERIFY2(opened.canvas, qPrintable(outcome.error));
        if (existing) {
            QByteArray bytes;
            QVERIFY(readWholeFile(path, bytes));
            QCOMPARE(bytes, old); // opening the job writes nothing yet
        } else {
            QVERIFY(!QFileInfo::exists(path));
        }
        opened.canvas->setFont({QStringLiteral("ＭＳ 明朝"), 11});
        opened.canvas->text(100, 100, QStringLiteral("山田　太郎"));
        QVERIFY(reports::nextPrintPage(*opened.canvas, outcome));
        opened.canvas->line(0, 0, 100, 100);
        if (vanish)
            QVERIFY(QDir().rename(share, away));
        const bool ended = reports::endPrint(*opened.canvas, outcome);
        QCOMPARE(ended, !vanish);
        if (vanish) {
            QVERIFY2(outcome.error.contains(QStringLiteral("一覧.pdf")), qPrintable(outcome.error));
            QVERIFY(!QFileInfo::exists(share));
            QVERIFY(QDir().rename(away, share));
        }
        QByteArray bytes;
        const bool present = readWholeFile(path, bytes);
        QCOMPARE(present, existing || !vanish);
        if (vanish && existing)
            QCOMPARE(bytes, old);
        if (!vanish) {
            QVERIFY(bytes.startsWith("%PDF"));
            QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        }
        QCOMPARE(leftovers(share), QStringList());
    }
};

QTEST_MAIN(PdfPrintTargetTest)
#include "PdfPrintTargetTest.moc"
