#pragma once

#include "platform/PrintTarget.h"

#include <memory>

class QPrinter;
class QWidget;

namespace tavro {

// Prints through the system's print dialog on a high-resolution QPrinter: the paper and orientation
// are set before the dialog (so an A3 document is not clipped on A4) and the orientation again after.
class DialogPrintTarget final : public PrintTarget {
public:
    explicit DialogPrintTarget(QWidget *parent = nullptr) : m_parent(parent) {}
    Opened open(const Job &job) override;

    // The canvas on the printer the dialog set up. With an output file ("print to file") the file is
    // written whole when the document ends, so a print that fails midway leaves the old file.
    static Opened openOnPrinter(std::unique_ptr<QPrinter> printer, const QString &title);

private:
    QWidget *m_parent;
};

} // namespace tavro
