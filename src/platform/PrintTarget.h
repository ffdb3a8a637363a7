#pragma once

#include "platform/PageCanvas.h"

#include <QString>

#include <memory>

namespace tavro {

// Where a document is printed: a print job opens a canvas (the printer chosen in the print dialog,
// or a PDF file), or reports that it was cancelled or could not be opened.
class PrintTarget {
public:
    enum class Paper { A4, A3 };
    struct Job {
        QString title; // "TAVRO for Windows 懇談資料A"
        Paper paper = Paper::A4;
        PageCanvas::Orientation orientation = PageCanvas::Orientation::Portrait;
        int copies = 1;
        int fromPage = 0; // a page range the dialog offers; 0 none
        int toPage = 0;
    };
    struct Opened {
        std::unique_ptr<PageCanvas> canvas; // null when cancelled or failed
        bool cancelled = false;
        QString error;
        // The range chosen within the job's offered range; 0: every page.
        int fromPage = 0;
        int toPage = 0;
    };
    virtual ~PrintTarget() = default;
    // The canvas has the title and orientation of the job; the document begins it and checks every
    // begin, newPage and end.
    virtual Opened open(const Job &job) = 0;
};

} // namespace tavro
