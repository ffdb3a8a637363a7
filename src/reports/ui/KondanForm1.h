#pragma once

#include "platform/Platform.h"
#include "reports/Conference.h"

#include <QDialog>

namespace tavro {

class PrintTarget;
class PrintWindowFrame;

// What the main window hands to the conference window.
struct KondanContext {
    QString mainCaption;
    QString dataFolder;
    int nendo = 0;
    int grade = 0;
    bool classType = true;
    QString schoolName;
    int schoolKind = 1;
    int period = 1;
    QString periodCaption;
};

// The conference material window (懇談資料): the classes to print and "コメント一覧印刷".
class TKondanForm1 final : public QDialog {
    Q_OBJECT

public:
    // `target` prints; null: the system's print dialog.
    TKondanForm1(KondanContext context, const Platform &platform, PrintTarget *target = nullptr,
                 QWidget *parent = nullptr);
    ~TKondanForm1() override;

    void button1Click();
    // The material of the checked classes on `target`: the print and its preview.
    reports::PrintOutcome printOn(PrintTarget &target);
    const reports::ConferenceData &data() const { return m_data; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void formShow();
    void report(const reports::PrintOutcome &out);

    KondanContext m_context;
    Platform m_platform;
    PrintTarget *m_target;
    std::unique_ptr<PrintTarget> m_dialogTarget;
    PrintWindowFrame *m_frame = nullptr;
    reports::ConferenceData m_data;
    bool m_shown = false;
};

} // namespace tavro
