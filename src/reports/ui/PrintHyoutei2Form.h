#pragma once

#include "platform/Platform.h"
#include "reports/GradeDocuments.h"

#include <QDialog>

#include <memory>

namespace tavro {

class GradeHyouteiStore;
class PrintTarget;
class PrintWindowFrame;

// The print window of the evaluation aggregation: the classes to print and the four grade-wide papers
// ("評定一覧表(A3)", "通知票シール(評定)", "通知票(選択観点項目)", "中間到達度通知") from the grade store.
class TPrintHyoutei2Form final : public QDialog {
    Q_OBJECT

public:
    // `target` prints; null: the system's print dialog.
    TPrintHyoutei2Form(const GradeHyouteiStore &store, const QString &caption, const Platform &platform,
                       PrintTarget *target = nullptr, QWidget *parent = nullptr);
    ~TPrintHyoutei2Form() override;

    void print(reports::GradeDocument document);
    void preview(reports::GradeDocument document);
    // `document` for the checked classes on `target`: the print and its preview.
    reports::PrintOutcome printOn(reports::GradeDocument document, PrintTarget &target);

private:
    void report(const reports::PrintOutcome &out);

    const GradeHyouteiStore &m_store;
    Platform m_platform;
    PrintTarget *m_target;
    std::unique_ptr<PrintTarget> m_dialogTarget;
    PrintWindowFrame *m_frame = nullptr;
    reports::GradeDocumentData m_data;
};

} // namespace tavro
