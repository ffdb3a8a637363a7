#include "reports/render/PdfPrintTarget.h"

#include "reports/render/PainterCanvas.h"

#include "common/FileErrors.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace tavro {

PrintTarget::Opened PdfPrintTarget::open(const Job &job) {
    Opened opened;
    QFile probe(m_path);
    if (!probe.open(QIODevice::WriteOnly)) {
        opened.error = QStringLiteral("%1 に書き込めません: %2").arg(m_path, fileerror::reason(probe));
        return opened;
    }
    probe.close();
    auto writer = std::make_unique<QPdfWriter>(m_path);
    writer->setResolution(m_dpi);
    writer->setTitle(job.title);
    writer->setCreator(QStringLiteral("TAVRO for Windows"));
    const QPageLayout layout(QPageSize(job.paper == Paper::A3 ? QPageSize::A3 : QPageSize::A4),
                             job.orientation == PageCanvas::Orientation::Landscape ? QPageLayout::Landscape
                                                                                   : QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0));
    writer->setPageLayout(layout);
    auto canvas = std::make_unique<PainterCanvas>(std::unique_ptr<QPagedPaintDevice>(std::move(writer)));
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
