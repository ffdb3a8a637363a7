#pragma once

#include "platform/Platform.h"
#include "reports/TestPrints.h"

#include <QDialog>

#include <memory>
#include <optional>

class QPushButton;

namespace tavro {

class PrintTarget;
class PrintWindowFrame;
class TestAggregation;

// The print window of the test aggregation: the classes to print, the class list and the notices.
class TPrintTest1Form final : public QDialog {
    Q_OBJECT

public:
    // `means`: the notices print grade means instead of standard scores (T_TestSSorAVG or
    // G_TestSSorAVG of the test kind is 1). `target` prints; null: the system's print dialog.
    TPrintTest1Form(const TestAggregation &aggregation, bool means, const Platform &platform,
                    PrintTarget *target = nullptr, QWidget *parent = nullptr);
    ~TPrintTest1Form() override;

    // "学級別一覧印刷".
    void button1Click();
    // The notices.
    void noticeClick(reports::NoticeKind kind);
    // The class list (no notice) or a notice of the checked classes on `target`: the print and its preview.
    reports::PrintOutcome printOn(std::optional<reports::NoticeKind> notice, PrintTarget &target);

private:
    void report(const reports::PrintOutcome &outcome);

    const TestAggregation &m_aggregation;
    bool m_means;
    Platform m_platform;
    PrintTarget *m_target;
    std::unique_ptr<PrintTarget> m_dialogTarget;
    PrintWindowFrame *m_frame = nullptr;
};

} // namespace tavro
