#include "reports/render/PainterCanvas.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
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

    // Texts drawn through the canvas (shaped once, blanks around them left out, drawn as one run per
    // face) land on the page exactly where QPainter::drawText puts them: both PDFs rendered to pixels
    // are the same.
    void textAsDrawText() {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm is not installed");
        struct Case {
            const char *family;
            double size;
            bool bold;
            QString text;
        };
        const QList<Case> cases{
            {"ＭＳ 明朝", 11, false, QStringLiteral("  85")},
            {"ＭＳ 明朝", 11, false, QStringLiteral(" 100")},
            {"ＭＳ 明朝", 11, false, QStringLiteral("  85")}, // the cached shape again, elsewhere
            {"ＭＳ 明朝", 11, false, QStringLiteral("山田　太郎  ")},
            {"ＭＳ ゴシック", 9, true, QStringLiteral("観点①ABC")},
            {"ＭＳ ゴシック", 11, false, QStringLiteral("　Ａ組 ｱｲｳ")},
            {"ＭＳ Ｐ明朝", 6, false, QStringLiteral(" 1学期中間評定")},
            {"ＭＳ 明朝", 11, false, QStringLiteral("    ")},
            {"ＭＳ 明朝", 11, false, QStringLiteral("  77")}, // back to the first face after the others
        };
        QTemporaryDir dir;
        const auto draw = [&](const QString &path, bool canvas) {
            QPdfWriter writer(path);
            writer.setResolution(600);
            writer.setPageSize(QPageSize(QPageSize::A4));
            PainterCanvas::installFontSubstitutes();
            if (canvas) {
                PainterCanvas c(&writer);
                QVERIFY(c.begin());
                for (int i = 0; i < cases.size(); ++i) {
                    c.setFont({QString::fromUtf8(cases[i].family), cases[i].size, cases[i].bold});
                    c.text(300 + 37 * i, 300 + 250 * i, cases[i].text);
                }
                QVERIFY(c.end());
                return;
            }
            QPainter p(&writer);
            for (int i = 0; i < cases.size(); ++i) {
                QFont font(QString::fromUtf8(cases[i].family));
                font.setPointSizeF(cases[i].size);
                font.setBold(cases[i].bold);
                font.setStyleStrategy(QFont::PreferAntialias);
                p.setFont(font);
                p.drawText(QPoint(300 + 37 * i, 300 + 250 * i + QFontMetrics(font, &writer).ascent()),
                           cases[i].text);
            }
        };
        const auto render = [&](const QString &name, bool canvas) {
            const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
            draw(pdf, canvas);
            const QString png = dir.filePath(name);
            QProcess::execute(pdftoppm, {QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, png});
            return QImage(png + QStringLiteral(".png"));
        };
        const QImage expected = render(QStringLiteral("drawtext"), false);
        const QImage actual = render(QStringLiteral("canvas"), true);
        QVERIFY(!expected.isNull());
        QCOMPARE(actual.size(), expected.size());
        int inked = 0, differing = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) {
                const int a = qGray(expected.pixel(x, y)), b = qGray(actual.pixel(x, y));
                inked += a < 128;
                differing += std::abs(a - b) > 16;
            }
        QVERIFY(inked > 1000);
        QCOMPARE(differing, 0);
    }
};

QTEST_MAIN(PainterCanvasTest)
#include "PainterCanvasTest.moc"
