#include "widgets/PrintWindowFrame.h"

#include "widgets/PreviewButton.h"
#include "widgets/TitlePanel.h"
#include "widgets/UiFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

PrintWindowFrame::PrintWindowFrame(QWidget *parent) : QWidget(parent) {
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(12, 12, 12, 12);
    v->setSpacing(10);
    m_title = ui::titlePanel(QString(), QStringLiteral("TitlePanel"));
    v->addWidget(m_title);

    auto *body = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    m_prompt = new QLabel(QStringLiteral("印刷する学級にはチェックを入れてください。"));
    left->addWidget(m_prompt);
    m_classes = new QListWidget;
    m_classes->setObjectName(QStringLiteral("CheckListBox1"));
    m_classes->setFont(ui::uiFont(11));
    m_classes->setMinimumWidth(160);
    left->addWidget(m_classes, 1);
    auto *all = new QHBoxLayout;
    auto *checkAll = new QPushButton(QStringLiteral("全選択"));
    checkAll->setObjectName(QStringLiteral("SpeedButton1"));
    auto *uncheckAll = new QPushButton(QStringLiteral("全解除"));
    uncheckAll->setObjectName(QStringLiteral("SpeedButton2"));
    connect(checkAll, &QPushButton::clicked, this, [this] { setAllChecked(true); });
    connect(uncheckAll, &QPushButton::clicked, this, [this] { setAllChecked(false); });
    all->addWidget(checkAll);
    all->addWidget(uncheckAll);
    left->addLayout(all);
    body->addLayout(left);

    auto *right = new QVBoxLayout;
    m_documents = new QHBoxLayout;
    m_documents->setSpacing(10);
    right->addLayout(m_documents);
    right->addStretch(1);
    m_note = new QLabel(QStringLiteral(
        "印刷を実行しても用紙がでてこないときは、原因を解決してから再印刷を実行してください。"));
    m_note->setWordWrap(true);
    m_note->setStyleSheet(QStringLiteral("color: #1f3f9f;"));
    right->addWidget(m_note);
    auto *backRow = new QHBoxLayout;
    backRow->addStretch(1);
    m_back = new QPushButton(QStringLiteral("もどる(&C)"));
    m_back->setObjectName(QStringLiteral("BackButton"));
    backRow->addWidget(m_back);
    right->addLayout(backRow);
    body->addLayout(right, 1);
    v->addLayout(body, 1);
}

void PrintWindowFrame::setTitle(const QString &title) {
    m_title->setText(title);
}

void PrintWindowFrame::setPrompt(const QString &text) {
    m_prompt->setText(text);
}

void PrintWindowFrame::setNote(const QString &text) {
    m_note->setText(text);
}

void PrintWindowFrame::setClasses(const QStringList &labels) {
    m_classes->clear();
    for (const QString &label : labels) {
        auto *item = new QListWidgetItem(label, m_classes);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

std::vector<int> PrintWindowFrame::checkedClasses() const {
    std::vector<int> classes;
    for (int i = 0; i < m_classes->count(); ++i)
        if (m_classes->item(i)->checkState() == Qt::Checked)
            classes.push_back(i + 1);
    return classes;
}

void PrintWindowFrame::setAllChecked(bool checked) {
    for (int i = 0; i < m_classes->count(); ++i)
        m_classes->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QPushButton *PrintWindowFrame::addDocumentButton(const QString &text, const QString &name) {
    auto *button = new QPushButton(text);
    button->setObjectName(name);
    button->setMinimumHeight(40);
    button->setFont(ui::uiFont(11, true));
    m_documents->addWidget(button);
    return button;
}

QPushButton *PrintWindowFrame::addPreviewButton(QPushButton *document) {
    const int at = m_documents->indexOf(document);
    auto *column = new QWidget;
    auto *v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    m_documents->removeWidget(document);
    m_documents->insertWidget(at, column);
    v->addWidget(document);
    QPushButton *preview = ui::previewButtonFor(document);
    v->addWidget(preview);
    return preview;
}

void PrintWindowFrame::addDocumentWidget(QWidget *widget) {
    m_documents->addWidget(widget);
}

} // namespace tavro
