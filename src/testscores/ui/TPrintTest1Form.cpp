#include "testscores/ui/TPrintTest1Form.h"

#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "reports/ui/DialogPrintTarget.h"
#include "reports/ui/PrintPreview.h"
#include "testscores/TestAggregation.h"
#include "widgets/PreviewButton.h"
#include "widgets/PrintWindowFrame.h"
#include "widgets/UiFont.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

TPrintTest1Form::TPrintTest1Form(const TestAggregation &aggregation, bool means, const Platform &platform,
                                 PrintTarget *target, QWidget *parent)
    : QDialog(parent), m_aggregation(aggregation), m_means(means), m_platform(platform), m_target(target) {
    setObjectName(QStringLiteral("TPrintTest1Form"));
    if (!m_target) {
        m_dialogTarget = std::make_unique<DialogPrintTarget>(this);
        m_target = m_dialogTarget.get();
    }
    const TestAggregation::Context &c = aggregation.context();
    const QString context = QStringLiteral("%1年度 %2年生 %3").arg(c.nendo).arg(c.grade).arg(c.testName);
    setWindowTitle(context);

    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    m_frame = new PrintWindowFrame;
    v->addWidget(m_frame);
    m_frame->setTitle(context);
    QStringList labels;
    for (int cls = 1; cls <= aggregation.classCount(); ++cls)
        labels.append(shukei::classText(cls, c.classType) + QStringLiteral("組"));
    m_frame->setClasses(labels);

    auto *panel = new QWidget;
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    // Each document: its label, its print button and "プレビュー".
    auto add = [&](const QString &label, const QString &text, const QString &name,
                   std::optional<reports::NoticeKind> document) {
        auto *l = new QLabel(label);
        l->setFont(ui::uiFont(11));
        auto *button = new QPushButton(text);
        button->setObjectName(name);
        button->setMinimumHeight(36);
        button->setFont(ui::uiFont(11, true));
        QPushButton *preview = ui::previewButtonFor(button);
        grid->addWidget(l, row, 0);
        grid->addWidget(button, row, 1);
        grid->addWidget(preview, row, 2);
        ++row;
        connect(button, &QPushButton::clicked, this,
                [this, document] { report(printOn(document, *m_target)); });
        connect(preview, &QPushButton::clicked, this, [this, document] {
            report(showPrintPreview(
                this, [this, document](PrintTarget &target) { return printOn(document, target); }));
        });
    };
    const QString kind = means ? QStringLiteral("平均点付き") : QStringLiteral("SS付き");
    add(QStringLiteral("一覧"), QStringLiteral("学級別一覧印刷"), QStringLiteral("Button1"), std::nullopt);
    add(QStringLiteral("シールA"), kind + QStringLiteral("(5教科)"), QStringLiteral("Button2"),
        reports::NoticeKind::Five);
    add(QStringLiteral("シールB"), kind + QStringLiteral("(9教科)"), QStringLiteral("Button3"),
        reports::NoticeKind::Nine);
    add(QStringLiteral("シールC"), QStringLiteral("100点換算付き(5教科)"), QStringLiteral("Button4"),
        reports::NoticeKind::Hundred);
    add(QStringLiteral("シールD"), QStringLiteral("観点別到達度(8教科)"), QStringLiteral("Button5"),
        reports::NoticeKind::Viewpoints);
    auto *note = new QLabel(QStringLiteral("※8教科には美術が除かれています。"));
    note->setObjectName(QStringLiteral("Label8"));
    grid->addWidget(note, row, 0, 1, 3);
    m_frame->addDocumentWidget(panel);
    connect(m_frame->backButton(), &QPushButton::clicked, this, &QDialog::accept);
    resize(680, 440);
}

TPrintTest1Form::~TPrintTest1Form() = default;

void TPrintTest1Form::button1Click() {
    report(printOn(std::nullopt, *m_target));
}

void TPrintTest1Form::noticeClick(reports::NoticeKind kind) {
    report(printOn(kind, *m_target));
}

reports::PrintOutcome TPrintTest1Form::printOn(std::optional<reports::NoticeKind> notice,
                                               PrintTarget &target) {
    if (!notice)
        return reports::printClassList(m_aggregation, m_frame->checkedClasses(), target, *m_platform.prompter,
                                       m_platform.clock->now());
    return reports::printNotices(m_aggregation, *notice, m_means, m_frame->checkedClasses(), target,
                                 *m_platform.prompter);
}

void TPrintTest1Form::report(const reports::PrintOutcome &outcome) {
    if (!outcome.printed && !outcome.cancelled && !outcome.error.isEmpty())
        m_platform.prompter->message(QStringLiteral("TAVRO"), outcome.error, Prompter::Icon::Warning);
}

} // namespace tavro
