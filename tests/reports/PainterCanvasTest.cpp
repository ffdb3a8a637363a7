#include "reports/render/PainterCanvas.h"

#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class PainterCanvasTest : public QObject {
    Q_OBJECT

private slots:
    // A two-page document with Japanese text and rules lands in a PDF of two pages at the asked
    // resolution and orientation.
    void pdfPages() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.pdf"));
        {
            QPdfWriter writer(path);
            writer.setResolution(600);
            writer.setPageSize(QPageSize(QPageSize::A4));
            PainterCanvas canvas(&writer);
            canvas.setTitle(QStringLiteral("TAVRO for Windows 得点一覧"));
            canvas.setOrientation(PageCanvas::Orientation::Landscape);
            QVERIFY(canvas.begin());
            QCOMPARE(canvas.dpiX(), 600);
            QVERIFY(canvas.pageWidth() > canvas.pageHeight());
            canvas.setFont({QStringLiteral("ＭＳ 明朝"), 11});
            canvas.text(100, 100, QStringLiteral("山田　太郎"));
            QVERIFY(canvas.textWidth(QStringLiteral("山田")) > 0);
            canvas.setPenWidth(5 * 600 / 360);
            canvas.rectangle(50, 50, 2000, 1000);
            QVERIFY(canvas.newPage());
            canvas.setFont({QStringLiteral("ＭＳ ゴシック"), 9, false, 900});
            canvas.text(200, 800, QStringLiteral("観点①"));
            canvas.line(0, 0, 100, 0);
            QVERIFY(canvas.end());
        }
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray pdf = f.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2);
    }
};

QTEST_MAIN(PainterCanvasTest)
#include "PainterCanvasTest.moc"
