#include "exchange/ui/TransferForm.h"

#include "evaluation/EvaluationSession.h"
#include "exchange/ResultCopies.h"
#include "exchange/Transfers.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "widgets/TitlePanel.h"
#include "widgets/UiFont.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavro {

namespace {

QString itemText(int number, const QString &name) {
    return (number < 10 ? QStringLiteral(" ") : QString()) + QString::number(number) + u' ' + name;
}

} // namespace

TTransferForm::TTransferForm(const EvaluationSession &session, int period, const Platform &platform,
                             QWidget *parent)
    : QDialog(parent), m_session(session), m_period(period), m_platform(platform) {
    setObjectName(QStringLiteral("TTransferForm"));
    setWindowTitle(session.caption());
    const EvaluationContext &c = session.context();
    auto *v = new QVBoxLayout(this);
    v->addWidget(ui::titlePanel(session.periodName(period) + u' ' + QString::number(c.grade) +
                                    QStringLiteral("年") + c.kyouka + QStringLiteral(" 評定者：") +
                                    c.teacherName,
                                QStringLiteral("InfoLabel")));

    auto *body = new QHBoxLayout;
    auto *classBox = new QVBoxLayout;
    classBox->addWidget(new QLabel(QStringLiteral("学級を選択")));
    m_classes = new QListWidget;
    m_classes->setObjectName(QStringLiteral("ListBox1"));
    m_classes->setMaximumWidth(110);
    for (int cls : session.classes()) {
        m_classNumbers.push_back(cls);
        m_classes->addItem(session.classLabel(cls));
    }
    classBox->addWidget(m_classes, 1);
    body->addLayout(classBox);

    auto *students = new QVBoxLayout;
    students->addWidget(new QLabel(QStringLiteral("転送する生徒のチェックを確認してください。")));
    auto *lists = new QHBoxLayout;
    m_first = new QListWidget;
    m_first->setObjectName(QStringLiteral("CheckListBox1"));
    m_second = new QListWidget;
    m_second->setObjectName(QStringLiteral("CheckListBox2"));
    for (QListWidget *list : {m_first, m_second}) {
        list->setFont(ui::fixedFont(10));
        lists->addWidget(list);
    }
    students->addLayout(lists, 1);
    body->addLayout(students, 1);

    auto *actions = new QVBoxLayout;
    auto *marks = new QPushButton(QStringLiteral("評定の転送(&A)"));
    marks->setObjectName(QStringLiteral("Button1"));
    auto *achievements = new QPushButton(QStringLiteral("到達度の転送(&B)"));
    achievements->setObjectName(QStringLiteral("Button2"));
    for (QPushButton *b : {marks, achievements}) {
        b->setMinimumHeight(36);
        b->setFont(ui::uiFont(11, true));
    }
    actions->addWidget(marks);
    actions->addSpacing(12);
    actions->addWidget(achievements);
    auto *note = new QLabel(QStringLiteral("この機能は、左の設定を無視して、全学級の到達度をコピーします。"));
    note->setWordWrap(true);
    actions->addWidget(note);
    auto *fullBox = new QGroupBox(QStringLiteral("満点"));
    fullBox->setObjectName(QStringLiteral("RadioGroup1"));
    auto *fullLayout = new QVBoxLayout(fullBox);
    m_full = new QButtonGroup(this);
    auto *thousand = new QRadioButton(QStringLiteral("1000点 整数"));
    auto *hundred = new QRadioButton(QStringLiteral("100点 整数"));
    thousand->setChecked(true);
    m_full->addButton(thousand, 0);
    m_full->addButton(hundred, 1);
    fullLayout->addWidget(thousand);
    fullLayout->addWidget(hundred);
    actions->addWidget(fullBox);
    actions->addStretch(1);
    auto *grade = new QLabel(QStringLiteral("全クラスを転送する場合は、[学年処理]から操作してください。"));
    grade->setWordWrap(true);
    grade->setStyleSheet(QStringLiteral("color: #1f3f9f;"));
    actions->addWidget(grade);
    auto *back = new QPushButton(QStringLiteral("もどる(&C)"));
    back->setObjectName(QStringLiteral("BackButton"));
    actions->addWidget(back);
    body->addLayout(actions);
    v->addLayout(body, 1);

    const bool periodOk = isPeriod(period);
    marks->setEnabled(periodOk);
    achievements->setEnabled(periodOk && !c.elective);
    fullBox->setEnabled(!c.elective);
    connect(m_classes, &QListWidget::currentRowChanged, this, &TTransferForm::listBox1Click);
    connect(marks, &QPushButton::clicked, this, &TTransferForm::button1Click);
    connect(achievements, &QPushButton::clicked, this, &TTransferForm::button2Click);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    if (m_classes->count() > 0)
        m_classes->setCurrentRow(0);
    resize(760, 560);
}

int TTransferForm::selectedClass() const {
    const int row = m_classes->currentRow();
    return row >= 0 && row < int(m_classNumbers.size()) ? m_classNumbers[std::size_t(row)] : 0;
}

void TTransferForm::listBox1Click() {
    m_first->clear();
    m_second->clear();
    const int cls = selectedClass();
    if (cls == 0)
        return;
    const std::vector<bool> checks = exchange::defaultChecks(m_session, cls);
    for (int n = 1; n <= kSeatsPerClass; ++n) {
        auto *item =
            new QListWidgetItem(itemText(n, m_session.nameOf(slotOf(cls, n))), n <= 30 ? m_first : m_second);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(checks[std::size_t(n - 1)] ? Qt::Checked : Qt::Unchecked);
    }
}

std::vector<int> TTransferForm::checkedNumbers() const {
    std::vector<int> numbers;
    for (int i = 0; i < m_first->count(); ++i)
        if (m_first->item(i)->checkState() == Qt::Checked)
            numbers.push_back(i + 1);
    for (int i = 0; i < m_second->count(); ++i)
        if (m_second->item(i)->checkState() == Qt::Checked)
            numbers.push_back(i + 31);
    return numbers;
}

void TTransferForm::button1Click() {
    const int cls = selectedClass();
    if (!isPeriod(m_period) || cls == 0)
        return;
    m_platform.clipboard->setText(exchange::marksText(m_session, m_period, cls, checkedNumbers(),
                                                      m_session.settings().addKoumuToutatu));
    m_platform.prompter->message(QStringLiteral("TAVRO"), exchange::clipboardCopiedMessage());
}

void TTransferForm::button2Click() {
    if (!isPeriod(m_period) || m_session.context().elective)
        return;
    m_platform.clipboard->setText(
        exchange::achievementsText(m_session, m_period, m_full->checkedId() == 0 ? 10 : 1));
    m_platform.prompter->message(QStringLiteral("TAVRO"), exchange::clipboardCopiedMessage());
}

} // namespace tavro
