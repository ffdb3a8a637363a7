#pragma once

#include "platform/Platform.h"
#include "reports/SubjectDocuments.h"

#include <QDialog>

#include <memory>

namespace tavro {

class EvaluationSession;
class PrintTarget;
class PrintWindowFrame;

// The print window of the subject documents: the frame with the classes of the evaluation window, one
// button per document, and the print of the evaluation window's period.
class SubjectPrintWindow : public QDialog {
    Q_OBJECT

public:
    // `target` prints; null: the system's print dialog.
    SubjectPrintWindow(const EvaluationSession &session, int period, const Platform &platform,
                       PrintTarget *target, QWidget *parent);
    ~SubjectPrintWindow() override;

    // Prints `document` for the checked classes; a failure is shown with its reason.
    void print(reports::SubjectDocument document);
    void preview(reports::SubjectDocument document);
    // `document` for the checked classes on `target`: the print and its preview.
    reports::PrintOutcome printOn(reports::SubjectDocument document, PrintTarget &target);
    // The classes of the checked items (the evaluation window's class list).
    std::vector<int> checkedClasses() const;

protected:
    void addDocument(const QString &text, const QString &name, reports::SubjectDocument document);
    PrintWindowFrame *frame() const { return m_frame; }

private:
    void report(const reports::PrintOutcome &out);

    const EvaluationSession &m_session;
    int m_period;
    Platform m_platform;
    PrintTarget *m_target;
    std::unique_ptr<PrintTarget> m_dialogTarget;
    PrintWindowFrame *m_frame = nullptr;
};

// 資料A..資料E and the cover.
class TPrintHyoutei1Form final : public SubjectPrintWindow {
    Q_OBJECT

public:
    TPrintHyoutei1Form(const EvaluationSession &session, int period, const Platform &platform,
                       PrintTarget *target = nullptr, QWidget *parent = nullptr);
};

// The small sheets, their older layout and their cover.
class TPrintHyoutei3Form final : public SubjectPrintWindow {
    Q_OBJECT

public:
    TPrintHyoutei3Form(const EvaluationSession &session, int period, const Platform &platform,
                       PrintTarget *target = nullptr, QWidget *parent = nullptr);
};

} // namespace tavro
