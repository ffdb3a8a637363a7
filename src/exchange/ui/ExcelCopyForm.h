#pragma once

#include "evaluation/GradePeriodResults.h"
#include "platform/Platform.h"

#include <QDialog>

namespace tavro {

class PrintWindowFrame;

// What the main window hands to the spreadsheet transfer window.
struct ExcelCopyContext {
    QString mainCaption;
    QString dataFolder;
    int nendo = 0;
    int grade = 0;
    bool classType = true;
    int schoolKind = 1;
    int period = 1;
    QString periodCaption;
};

// The spreadsheet transfer window (エクセル転送): the checked classes' evaluations, achievements and
// comments of every required subject on the clipboard.
class TexcelcopyForm final : public QDialog {
    Q_OBJECT

public:
    TexcelcopyForm(ExcelCopyContext context, const Platform &platform, QWidget *parent = nullptr);

    void button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    ExcelCopyContext m_context;
    Platform m_platform;
    PrintWindowFrame *m_frame = nullptr;
    GradePeriodResults m_results;
    bool m_loaded = false;
    bool m_shown = false;
};

} // namespace tavro
