#include "reports/render/PdfPrintTarget.h"

#include "reports/render/PainterCanvas.h"

#include "common/FileErrors.h"
#include "common/FileSave.h"

#include <QBuffer>
#include <QFileInfo>

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace tavro {

namespace {

// The PDF is drawn into memory and the file written whole when the document ends, so a print that
// fails or stops midway (a network folder gone) leaves the file as it was.
class PdfFileCanvas final : public PageCanvas {
public:
    PdfFileCanvas(QString path, int dpi, const PrintTarget::Job &job) : m_path(std::move(path)) {
        m_buffer.open(QIODevice::WriteOnly);
        auto writer = std::make_unique<QPdfWriter>(&m_buffer);
        writer->setResolution(dpi);
        writer->setTitle(job.title);
        writer->setCreator(QStringLiteral("TAVRO for Windows"));
        const QPageLayout layout(
            QPageSize(job.paper == PrintTarget::Paper::A3 ? QPageSize::A3 : QPageSize::A4),
            job.orientation == PageCanvas::Orientation::Landscape ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait,
            QMarginsF(0, 0, 0, 0));
        writer->setPageLayout(layout);
        m_canvas = std::make_unique<PainterCanvas>(std::unique_ptr<QPagedPaintDevice>(std::move(writer)));
    }

    void setTitle(const QString &title) override { m_canvas->setTitle(title); }
    void setOrientation(Orientation orientation) override { m_canvas->setOrientation(orientation); }
    bool begin() override { return m_canvas->begin(); }
    bool newPage() override { return m_canvas->newPage(); }
    bool end() override {
        if (!m_canvas->end())
            return false;
        return saveFileAtomically(m_path, m_buffer.data(), &m_error);
    }
    QString errorString() const override { return m_error; }

    int dpiX() const override { return m_canvas->dpiX(); }
    int dpiY() const override { return m_canvas->dpiY(); }
    int pageWidth() const override { return m_canvas->pageWidth(); }
    int pageHeight() const override { return m_canvas->pageHeight(); }

    void setFont(const Font &font) override { m_canvas->setFont(font); }
    void setPenWidth(int pixels) override { m_canvas->setPenWidth(pixels); }
    void text(int x, int y, const QString &text) override { m_canvas->text(x, y, text); }
    int textWidth(const QString &text) const override { return m_canvas->textWidth(text); }
    void line(int x1, int y1, int x2, int y2) override { m_canvas->line(x1, y1, x2, y2); }
    void rectangle(int left, int top, int right, int bottom) override {
        m_canvas->rectangle(left, top, right, bottom);
    }

private:
    QString m_path;
    QBuffer m_buffer; // outlives the writer in m_canvas
    std::unique_ptr<PainterCanvas> m_canvas;
    QString m_error;
};

} // namespace

PrintTarget::Opened PdfPrintTarget::open(const Job &job) {
    Opened opened;
    // A file that cannot be written is told before the document is drawn; an existing file is not
    // touched, a new one not left behind.
    const bool existed = QFileInfo::exists(m_path);
    QFile probe(m_path);
    if (!probe.open(existed ? QIODevice::ReadWrite : QIODevice::WriteOnly | QIODevice::NewOnly)) {
        opened.error = QStringLiteral("%1 に書き込めません: %2").arg(m_path, fileerror::reason(probe));
        return opened;
    }
    probe.close();
    if (!existed)
        probe.remove();
    auto canvas = std::make_unique<PdfFileCanvas>(m_path, m_dpi, job);
    canvas->setTitle(job.title);
    canvas->setOrientation(job.orientation);
    opened.canvas = std::move(canvas);
    if (job.fromPage > 0 && m_from > 0) {
        opened.fromPage = m_from;
        opened.toPage = m_to;
    }
    return opened;
}

} // namespace tavro
