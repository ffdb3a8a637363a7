#include "reports/render/PdfPrintTarget.h"

#include "reports/render/PainterCanvas.h"
#include "reports/render/WholeFileCanvas.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace tavro {

PrintTarget::Opened PdfPrintTarget::open(const Job &job) {
    Opened opened;
    if (!WholeFileCanvas::canWrite(m_path, &opened.error))
        return opened;
    // The PDF is drawn into memory and the file written whole when the document ends.
    auto buffer = std::make_shared<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    auto writer = std::make_unique<QPdfWriter>(buffer.get());
    writer->setResolution(m_dpi);
    writer->setTitle(job.title);
    writer->setCreator(QStringLiteral("TAVRO for Windows"));
    writer->setPageLayout(QPageLayout(QPageSize(job.paper == Paper::A3 ? QPageSize::A3 : QPageSize::A4),
                                      job.orientation == PageCanvas::Orientation::Landscape
                                          ? QPageLayout::Landscape
                                          : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    auto painter = std::make_unique<PainterCanvas>(std::unique_ptr<QPagedPaintDevice>(std::move(writer)));
    QBuffer *drawn = buffer.get();
    auto canvas = std::make_unique<WholeFileCanvas>(m_path, buffer, std::move(painter),
                                                    [drawn](QByteArray &bytes, QString *) {
                                                        bytes = drawn->data();
                                                        return true;
                                                    });
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
