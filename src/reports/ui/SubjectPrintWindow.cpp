#include "reports/ui/SubjectPrintWindow.h"

#include "evaluation/EvaluationSession.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "reports/ui/DialogPrintTarget.h"
#include "reports/ui/PrintPreview.h"
#include "widgets/PrintWindowFrame.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

SubjectPrintWindow::SubjectPrintWindow(const EvaluationSession &session, int period, const Platform &platform,
                                       PrintTarget *target, QWidget *parent)
    : QDialog(parent), m_session(session), m_period(period), m_platform(platform), m_target(target) {
    if (!m_target) {
        m_dialogTarget = std::make_unique<DialogPrintTarget>(this);
        m_target = m_dialogTarget.get();
    }
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    m_frame = new PrintWindowFrame;
    v->addWidget(m_frame, 1);
    const EvaluationContext &c = session.context();
    const QString info = QStringLiteral("%1年度 %2年生 %3").arg(c.nendo).arg(c.grade).arg(c.kyouka);
    setWindowTitle(c.mainCaption.isEmpty() ? info : c.mainCaption + QStringLiteral(" - ") + info);
    m_frame->setTitle(info + QStringLiteral(" ") + session.periodName(period) + QStringLiteral(" 評定者：") +
                      c.teacherName);
    QStringList labels;
    for (int cls : session.classes())
        labels.append(session.classLabel(cls));
    m_frame->setClasses(labels);
    connect(m_frame->backButton(), &QPushButton::clicked, this, &QDialog::accept);
}

SubjectPrintWindow::~SubjectPrintWindow() = default;

std::vector<int> SubjectPrintWindow::checkedClasses() const {
    std::vector<int> classes;
    for (int i : m_frame->checkedClasses())
        if (i >= 1 && i <= int(m_session.classes().size()))
            classes.push_back(m_session.classes()[std::size_t(i - 1)]);
    return classes;
}

void SubjectPrintWindow::addDocument(const QString &text, const QString &name,
                                     reports::SubjectDocument document) {
    QPushButton *button = m_frame->addDocumentButton(text, name);
    connect(button, &QPushButton::clicked, this, [this, document] { print(document); });
    QPushButton *previewButton = m_frame->addPreviewButton(button);
    connect(previewButton, &QPushButton::clicked, this, [this, document] { preview(document); });
    if (!reports::offeredFor(document, m_session, m_period)) {
        button->setEnabled(false);
        button->setToolTip(reports::yearEndOnlyMessage());
        previewButton->setToolTip(reports::yearEndOnlyMessage());
    }
}

void SubjectPrintWindow::print(reports::SubjectDocument document) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const reports::PrintOutcome out = printOn(document, *m_target);
    QApplication::restoreOverrideCursor();
    report(out);
}

void SubjectPrintWindow::preview(reports::SubjectDocument document) {
    report(
        showPrintPreview(this, [this, document](PrintTarget &target) { return printOn(document, target); }));
}

reports::PrintOutcome SubjectPrintWindow::printOn(reports::SubjectDocument document, PrintTarget &target) {
    return reports::printSubjectDocument(document, m_session, m_period, checkedClasses(), target,
                                         *m_platform.prompter, m_platform.clock->now());
}

void SubjectPrintWindow::report(const reports::PrintOutcome &out) {
    if (!out.printed && !out.cancelled && !out.error.isEmpty())
        m_platform.prompter->message(QStringLiteral("Tavro"), out.error, Prompter::Icon::Warning);
}

TPrintHyoutei1Form::TPrintHyoutei1Form(const EvaluationSession &session, int period, const Platform &platform,
                                       PrintTarget *target, QWidget *parent)
    : SubjectPrintWindow(session, period, platform, target, parent) {
    setObjectName(QStringLiteral("TPrintHyoutei1Form"));
    using reports::SubjectDocument;
    addDocument(QStringLiteral("観点割合と人数分布"), QStringLiteral("Button1"), SubjectDocument::ShiryouA);
    addDocument(QStringLiteral("項目の満点と割合"), QStringLiteral("Button2"), SubjectDocument::ShiryouB);
    addDocument(QStringLiteral("到達度と評定"), QStringLiteral("Button3"), SubjectDocument::ShiryouC);
    addDocument(QStringLiteral("項目の得点一覧"), QStringLiteral("Button4"), SubjectDocument::ShiryouD);
    addDocument(QStringLiteral("評定推移とコメント"), QStringLiteral("Button5"), SubjectDocument::ShiryouE);
    addDocument(QStringLiteral("表紙(鑑)"), QStringLiteral("Button6"), SubjectDocument::Cover);
    auto *notes = new QHBoxLayout;
    notes->setContentsMargins(12, 0, 12, 12);
    auto *classNote = new QLabel(QStringLiteral("↑必修の資料CDEに関わります。"));
    classNote->setObjectName(QStringLiteral("Label2"));
    auto *yearEnd = new QLabel(QStringLiteral("※資料Eは学年末のみ印刷"));
    yearEnd->setObjectName(QStringLiteral("Label3"));
    notes->addWidget(classNote);
    notes->addStretch(1);
    notes->addWidget(yearEnd);
    static_cast<QVBoxLayout *>(layout())->addLayout(notes);
    resize(1040, 520);
}

TPrintHyoutei3Form::TPrintHyoutei3Form(const EvaluationSession &session, int period, const Platform &platform,
                                       PrintTarget *target, QWidget *parent)
    : SubjectPrintWindow(session, period, platform, target, parent) {
    setObjectName(QStringLiteral("TPrintHyoutei3Form"));
    using reports::SubjectDocument;
    addDocument(QStringLiteral("小票印刷"), QStringLiteral("Button1"), SubjectDocument::Kohyou);
    addDocument(QStringLiteral("小票印刷(旧形式)"), QStringLiteral("Button2"), SubjectDocument::KohyouOld);
    addDocument(QStringLiteral("表紙(鑑)"), QStringLiteral("Button3"), SubjectDocument::KohyouCover);
    resize(760, 480);
}

} // namespace tavro
