#include "exchange/ui/ExcelCopyForm.h"

#include "exchange/Transfers.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "widgets/PrintWindowFrame.h"

#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

TexcelcopyForm::TexcelcopyForm(ExcelCopyContext context, const Platform &platform, QWidget *parent)
    : QDialog(parent), m_context(std::move(context)), m_platform(platform) {
    setObjectName(QStringLiteral("TexcelcopyForm"));
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    m_frame = new PrintWindowFrame;
    m_frame->setPrompt(QStringLiteral("データを転送する学級にはチェックを入れてください。"));
    m_frame->setNote(QStringLiteral(
        "氏名と評定・到達度・コメントをクリップボードにコピーします。エクセルで貼り付けをしてください。"
        "\n到達度の表示桁数は、エクセル側で調整してください。"));
    v->addWidget(m_frame);
    QPushButton *transfer =
        m_frame->addDocumentButton(QStringLiteral("データ転送"), QStringLiteral("Button1"));
    connect(transfer, &QPushButton::clicked, this, &TexcelcopyForm::button1Click);
    connect(m_frame->backButton(), &QPushButton::clicked, this, &QDialog::accept);
    resize(720, 480);
}

void TexcelcopyForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    const QString info = QStringLiteral("%1年度 %2年生 ").arg(m_context.nendo).arg(m_context.grade);
    setWindowTitle(m_context.mainCaption + QStringLiteral(" - ") + info);
    m_frame->setTitle(info + m_context.periodCaption);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    m_loaded =
        GradePeriodResults::load(m_context.dataFolder, m_context.nendo, m_context.grade, m_context.schoolKind,
                                 m_context.period, m_results, m_platform.prompter, &error);
    QApplication::restoreOverrideCursor();
    if (!m_loaded)
        m_platform.prompter->message(QStringLiteral("TAVRO"), error, Prompter::Icon::Warning);
    QStringList labels;
    for (int cls = 1; cls <= m_results.classCount; ++cls)
        labels.append((m_context.classType ? QString::number(cls) : QString(QChar(64 + cls))) +
                      QStringLiteral("組"));
    m_frame->setClasses(labels);
}

void TexcelcopyForm::button1Click() {
    if (!m_loaded)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString text = exchange::excelText(m_results, m_frame->checkedClasses(), m_context.periodCaption,
                                             m_context.classType);
    m_platform.clipboard->setText(text);
    QApplication::restoreOverrideCursor();
    m_platform.prompter->message(QStringLiteral("TAVRO"), exchange::transferredMessage());
}

} // namespace tavro
