#include "reports/ui/PrintPreview.h"

#include "reports/render/PainterCanvas.h"

#include <QGraphicsView>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace tavro {

namespace {

PrintPreview::CanvasFilter &canvasFilter() {
    static PrintPreview::CanvasFilter filter;
    return filter;
}

void setUp(QPrinter &printer, const PrintTarget::Job &job) {
    printer.setDocName(job.title);
    printer.setPageSize(QPageSize(job.paper == PrintTarget::Paper::A3 ? QPageSize::A3 : QPageSize::A4));
    printer.setPageOrientation(job.orientation == PageCanvas::Orientation::Landscape ? QPageLayout::Landscape
                                                                                     : QPageLayout::Portrait);
}

// Takes the job and cancels it.
class JobProbe final : public PrintTarget {
public:
    Opened open(const Job &job) override {
        taken = job;
        Opened opened;
        opened.cancelled = true;
        return opened;
    }
    std::optional<Job> taken;
};

} // namespace

PrintTarget::Opened PreviewPrintTarget::open(const Job &job) {
    Opened opened;
    setUp(*m_printer, job);
    if (job.fromPage > 0 && job.toPage >= job.fromPage && m_printer->printRange() == QPrinter::PageRange &&
        m_printer->fromPage() > 0) {
        opened.fromPage = std::clamp(m_printer->fromPage(), job.fromPage, job.toPage);
        opened.toPage = std::clamp(m_printer->toPage(), opened.fromPage, job.toPage);
    }
    std::unique_ptr<PageCanvas> canvas = std::make_unique<PainterCanvas>(m_printer, m_printer);
    if (canvasFilter())
        canvas = canvasFilter()(std::move(canvas));
    opened.canvas = std::move(canvas);
    return opened;
}

void PrintPreview::setCanvasFilter(CanvasFilter filter) {
    canvasFilter() = std::move(filter);
}

PrintPreview::PrintPreview(Print print, QWidget *parent)
    : m_print(std::move(print)), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      m_dialog(std::make_unique<QPrintPreviewDialog>(m_printer.get(), parent)) {
    m_dialog->setObjectName(QStringLiteral("PrintPreviewDialog"));
    // Scroll bars that come and go could make the pages' view lay itself out for ever (a page that fits
    // only without the bar): they stay.
    for (QGraphicsView *view : m_dialog->findChildren<QGraphicsView *>()) {
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    QObject::connect(m_dialog.get(), &QPrintPreviewDialog::paintRequested, m_dialog.get(),
                     [this](QPrinter *printer) { paint(printer); });
}

PrintPreview::~PrintPreview() = default;

std::optional<reports::PrintOutcome> PrintPreview::prepare() {
    JobProbe probe;
    const reports::PrintOutcome outcome = m_print(probe);
    if (!probe.taken)
        return outcome;
    setUp(*m_printer, *probe.taken);
    m_printer->setCopyCount(std::max(1, probe.taken->copies));
    m_dialog->setWindowTitle(QStringLiteral("印刷プレビュー - ") + probe.taken->title);
    return std::nullopt;
}

void PrintPreview::paint(QPrinter *printer) {
    PreviewPrintTarget target(printer);
    m_last = m_print(target);
}

reports::PrintOutcome showPrintPreview(QWidget *parent, const PrintPreview::Print &print) {
    PrintPreview preview(print, parent);
    if (const std::optional<reports::PrintOutcome> before = preview.prepare())
        return *before;
    preview.dialog().resize(1000, 760);
    preview.dialog().exec();
    return preview.lastOutcome();
}

} // namespace tavro
