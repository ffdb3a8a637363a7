#pragma once

#include "platform/PrintTarget.h"

#include <QString>

namespace tavro {

// Prints to a PDF file at a set resolution with zero margins, on the job's paper and orientation.
class PdfPrintTarget final : public PrintTarget {
public:
    explicit PdfPrintTarget(QString path, int dpi = 600) : m_path(std::move(path)), m_dpi(dpi) {}
    Opened open(const Job &job) override;

private:
    QString m_path;
    int m_dpi;
};

} // namespace tavro
