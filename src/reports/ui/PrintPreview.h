#pragma once

#include "platform/PrintTarget.h"
#include "reports/PageModel.h"

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace tavro {

// Prints on the printer of a print preview, or on the one chosen when printing from the preview: the
// job's paper and orientation are set on it before the document begins, and a range chosen in the
// preview's print dialog is the range of a job that offers one.
class PreviewPrintTarget final : public PrintTarget {
public:
    explicit PreviewPrintTarget(QPrinter *printer) : m_printer(printer) {}
    Opened open(const Job &job) override;

private:
    QPrinter *m_printer;
};

// The print preview of one document (QPrintPreviewDialog, "印刷プレビュー - " and the job title) with
// zoom, page navigation and printing. `print` is the window's print path on the target it is given; it
// runs on a PreviewPrintTarget for every rendering of the preview and for printing from it.
class PrintPreview {
public:
    using Print = std::function<reports::PrintOutcome(PrintTarget &)>;
    // Wraps every canvas the previews of the process draw on (a recording canvas in the tests).
    using CanvasFilter = std::function<std::unique_ptr<PageCanvas>(std::unique_ptr<PageCanvas>)>;
    static void setCanvasFilter(CanvasFilter filter);

    PrintPreview(Print print, QWidget *parent);
    ~PrintPreview();

    // Runs the print up to its job, which is taken and not printed: what the print says before its
    // job (no class checked) is said then, and its outcome returned; nullopt when the job was taken
    // and the dialog is ready with the job's paper, orientation and title.
    std::optional<reports::PrintOutcome> prepare();
    QPrintPreviewDialog &dialog() { return *m_dialog; }
    // The outcome of the last rendering or print from the preview.
    const reports::PrintOutcome &lastOutcome() const { return m_last; }

private:
    void paint(QPrinter *printer);

    Print m_print;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPrintPreviewDialog> m_dialog;
    reports::PrintOutcome m_last;
};

// What a preview button does: the preview until it is closed, then the outcome of its last rendering
// or print (or what the print said before its job, with no preview).
reports::PrintOutcome showPrintPreview(QWidget *parent, const PrintPreview::Print &print);

} // namespace tavro
