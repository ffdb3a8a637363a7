#include "exchange/ui/TransferShukeiForm.h"

#include "evaluation/GradeHyouteiStore.h"
#include "evaluation/Worksheet.h"
#include "exchange/GradeTransfer.h"
#include "exchange/Transfers.h"
#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "widgets/TitlePanel.h"
#include "widgets/UiFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

TTransferShukeiForm::TTransferShukeiForm(const GradeHyouteiStore &store, const QString &caption,
                                         const Platform &platform, QWidget *parent)
    : QDialog(parent), m_store(store), m_platform(platform) {
    setObjectName(QStringLiteral("TTransferShukeiForm"));
    setWindowTitle(caption);
    const GradeHyouteiStore::Inputs &in = store.inputs();
    auto *v = new QVBoxLayout(this);
    v->addWidget(ui::titlePanel(in.periodName + u' ' + QString::number(in.grade) + QStringLiteral("年"),
                                QStringLiteral("InfoLabel")));

    auto *body = new QHBoxLayout;
    auto *subjectBox = new QVBoxLayout;
    subjectBox->addWidget(new QLabel(QStringLiteral("教科を選択")));
    m_subjects = new QListWidget;
    m_subjects->setObjectName(QStringLiteral("ListBox1"));
    m_subjects->setMaximumWidth(110);
    m_subjects->addItems(store.displaySubjects());
    subjectBox->addWidget(m_subjects, 1);
    body->addLayout(subjectBox);

    auto *students = new QVBoxLayout;
    students->addWidget(new QLabel(QStringLiteral("転送する生徒のチェックを確認してください。")));
    m_students = new QListWidget;
    m_students->setObjectName(QStringLiteral("CheckListBox1"));
    m_students->setFont(ui::fixedFont(10));
    for (int slot = 0; slot < store.classCount() * kSeatsPerClass; ++slot) {
        auto *item = new QListWidgetItem(exchange::studentItem(store, slot), m_students);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(store.name(slot).isEmpty() ? Qt::Unchecked : Qt::Checked);
    }
    students->addWidget(m_students, 1);
    body->addLayout(students, 1);

    auto *actions = new QVBoxLayout;
    auto *transfer = new QPushButton(QStringLiteral("転送(&T)"));
    transfer->setObjectName(QStringLiteral("Button1"));
    transfer->setMinimumHeight(36);
    transfer->setFont(ui::uiFont(11, true));
    actions->addWidget(transfer);
    actions->addStretch(1);
    auto *note = new QLabel(QStringLiteral("クラス別に転送する場合は、[教科の評定]から操作してください。"));
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #1f3f9f;"));
    actions->addWidget(note);
    auto *back = new QPushButton(QStringLiteral("もどる(&C)"));
    back->setObjectName(QStringLiteral("BackButton"));
    actions->addWidget(back);
    body->addLayout(actions);
    v->addLayout(body, 1);

    connect(transfer, &QPushButton::clicked, this, &TTransferShukeiForm::button1Click);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    if (m_subjects->count() > 0)
        m_subjects->setCurrentRow(0);
    resize(640, 560);
}

std::vector<int> TTransferShukeiForm::checkedSlots() const {
    std::vector<int> seats;
    for (int i = 0; i < m_students->count(); ++i)
        if (m_students->item(i)->checkState() == Qt::Checked)
            seats.push_back(i);
    return seats;
}

void TTransferShukeiForm::button1Click() {
    const int display = m_subjects->currentRow();
    if (display < 0)
        return;
    m_platform.clipboard->setText(exchange::gradeTransferText(m_store, display, checkedSlots()));
    m_platform.prompter->message(QStringLiteral("TAVRO"), exchange::clipboardCopiedMessage());
}

} // namespace tavro
