#pragma once

#include "platform/PrintTarget.h"

class QWidget;

namespace tavro {

// Prints through the system's print dialog on a high-resolution QPrinter: the paper and orientation
// are set before the dialog (so an A3 document is not clipped on A4) and the orientation again after.
class DialogPrintTarget final : public PrintTarget {
public:
    explicit DialogPrintTarget(QWidget *parent = nullptr) : m_parent(parent) {}
    Opened open(const Job &job) override;

private:
    QWidget *m_parent;
};

} // namespace tavro
