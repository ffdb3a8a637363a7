#pragma once

#include "platform/PrintTarget.h"

#include <QString>

namespace tavro {

// Prints to a PDF file at a set resolution with zero margins, on the job's paper and orientation.
class PdfPrintTarget final : public PrintTarget {
public:
    explicit PdfPrintTarget(QString path, int dpi = 600) : m_path(std::move(path)), m_dpi(dpi) {}
    // The range a job with an offered range prints (--range); 0: every page.
    void setPageRange(int from, int to) {
        m_from = from;
        m_to = to;
    }
    Opened open(const Job &job) override;

private:
    int m_from = 0;
    int m_to = 0;
    QString m_path;
    int m_dpi;
};

} // namespace tavro
