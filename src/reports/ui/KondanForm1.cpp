#include "reports/ui/KondanForm1.h"

#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "reports/ui/DialogPrintTarget.h"
#include "reports/ui/PrintPreview.h"
#include "widgets/PrintWindowFrame.h"

#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

TKondanForm1::TKondanForm1(KondanContext context, const Platform &platform, PrintTarget *target,
                           QWidget *parent)
    : QDialog(parent), m_context(std::move(context)), m_platform(platform), m_target(target) {
    setObjectName(QStringLiteral("TKondanForm1"));
    if (!m_target) {
        m_dialogTarget = std::make_unique<DialogPrintTarget>(this);
        m_target = m_dialogTarget.get();
    }
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    m_frame = new PrintWindowFrame;
    v->addWidget(m_frame);
    QPushButton *print =
        m_frame->addDocumentButton(QStringLiteral("コメント一覧印刷"), QStringLiteral("Button1"));
    connect(print, &QPushButton::clicked, this, &TKondanForm1::button1Click);
    connect(m_frame->addPreviewButton(print), &QPushButton::clicked, this, [this] {
        report(showPrintPreview(this, [this](PrintTarget &target) { return printOn(target); }));
    });
    connect(m_frame->backButton(), &QPushButton::clicked, this, &QDialog::accept);
    resize(720, 480);
}

TKondanForm1::~TKondanForm1() = default;

void TKondanForm1::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        formShow();
    }
}

void TKondanForm1::formShow() {
    const QString info = QStringLiteral("%1年度 %2年生 ").arg(m_context.nendo).arg(m_context.grade);
    setWindowTitle(m_context.mainCaption + QStringLiteral(" - ") + info);
    m_frame->setTitle(info + m_context.periodCaption + QStringLiteral(" 懇談資料"));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_data = reports::ConferenceData::load(m_context.dataFolder, m_context.nendo, m_context.grade,
                                           m_context.schoolKind, m_context.period, m_context.periodCaption,
                                           m_context.schoolName, m_context.classType, m_platform.prompter);
    QApplication::restoreOverrideCursor();
    QStringList labels;
    for (int cls = 1; cls <= m_data.classCount; ++cls)
        labels.append(m_data.classLabel(cls) + QStringLiteral("組"));
    m_frame->setClasses(labels);
}

void TKondanForm1::button1Click() {
    report(printOn(*m_target));
}

reports::PrintOutcome TKondanForm1::printOn(PrintTarget &target) {
    return reports::printConference(m_data, m_frame->checkedClasses(), target, *m_platform.prompter,
                                    m_platform.clock->now());
}

void TKondanForm1::report(const reports::PrintOutcome &out) {
    if (!out.printed && !out.cancelled && !out.error.isEmpty())
        m_platform.prompter->message(QStringLiteral("TAVRO"), out.error, Prompter::Icon::Warning);
}

} // namespace tavro
