#include "reports/ui/DialogPrintTarget.h"

#include "reports/render/PainterCanvas.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

namespace tavro {

PrintTarget::Opened DialogPrintTarget::open(const Job &job) {
    Opened opened;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter *p = printer.get();
    p->setDocName(job.title);
    p->setPageSize(QPageSize(job.paper == Paper::A3 ? QPageSize::A3 : QPageSize::A4));
    const auto orientation = job.orientation == PageCanvas::Orientation::Landscape ? QPageLayout::Landscape
                                                                                   : QPageLayout::Portrait;
    p->setPageOrientation(orientation);
    p->setCopyCount(std::max(1, job.copies));
    QPrintDialog dialog(p, m_parent);
    if (job.toPage >= job.fromPage && job.fromPage > 0) {
        dialog.setMinMax(job.fromPage, job.toPage);
        p->setFromTo(job.fromPage, job.toPage); // the range fields show every page, not "1 to 1"
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    } else {
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    }
    if (dialog.exec() != QDialog::Accepted) {
        opened.cancelled = true;
        return opened;
    }
    p->setPageOrientation(orientation);
    if (!p->isValid()) {
        opened.error = QStringLiteral("プリンタが使えません。");
        return opened;
    }
    if (dialog.printRange() == QAbstractPrintDialog::PageRange && p->fromPage() > 0) {
        opened.fromPage = p->fromPage();
        opened.toPage = std::max(p->fromPage(), p->toPage());
    }
    auto canvas = std::make_unique<PainterCanvas>(std::unique_ptr<QPagedPaintDevice>(std::move(printer)), p);
    canvas->setTitle(job.title);
    opened.canvas = std::move(canvas);
    return opened;
}

} // namespace tavro
