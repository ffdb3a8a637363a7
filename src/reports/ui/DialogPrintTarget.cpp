#include "reports/ui/DialogPrintTarget.h"

#include "reports/render/PainterCanvas.h"
#include "reports/render/WholeFileCanvas.h"

#include "common/FileSave.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>

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
    bool ranged = false;
    {
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
        ranged = dialog.printRange() == QAbstractPrintDialog::PageRange && p->fromPage() > 0;
    } // the dialog goes before the printer it points to
    p->setPageOrientation(orientation);
    if (!p->isValid()) {
        opened.error = QStringLiteral("プリンタが使えません。");
        return opened;
    }
    const int from = p->fromPage(), to = std::max(p->fromPage(), p->toPage());
    Opened result = openOnPrinter(std::move(printer), job.title);
    if (ranged && result.canvas) {
        result.fromPage = from;
        result.toPage = to;
    }
    return result;
}

PrintTarget::Opened DialogPrintTarget::openOnPrinter(std::unique_ptr<QPrinter> printer,
                                                     const QString &title) {
    Opened opened;
    QPrinter *p = printer.get();
    const QString file = p->outputFileName();
    if (file.isEmpty()) {
        auto canvas =
            std::make_unique<PainterCanvas>(std::unique_ptr<QPagedPaintDevice>(std::move(printer)), p);
        canvas->setTitle(title);
        opened.canvas = std::move(canvas);
        return opened;
    }
    // "Print to file": the printer writes into a temporary folder of this workstation and the chosen
    // file is replaced whole when the document ends, as a PDF of the command line is.
    if (!WholeFileCanvas::canWrite(file, &opened.error))
        return opened;
    auto temporary = std::make_shared<QTemporaryDir>();
    if (!temporary->isValid()) {
        opened.error = QStringLiteral("一時フォルダを作れません: %1").arg(temporary->errorString());
        return opened;
    }
    const QString suffix = QFileInfo(file).suffix();
    const QString drawn =
        temporary->filePath(suffix.isEmpty() ? QStringLiteral("print") : QStringLiteral("print.") + suffix);
    p->setOutputFileName(drawn);
    auto painter = std::make_unique<PainterCanvas>(std::unique_ptr<QPagedPaintDevice>(std::move(printer)), p);
    auto canvas = std::make_unique<WholeFileCanvas>(
        file, temporary, std::move(painter), [drawn](QByteArray &bytes, QString *error) {
            if (readWholeFile(drawn, bytes))
                return true;
            if (error)
                *error = QStringLiteral("印刷した内容を一時ファイルから読めません: %1").arg(drawn);
            return false;
        });
    canvas->setTitle(title);
    opened.canvas = std::move(canvas);
    return opened;
}

} // namespace tavro
