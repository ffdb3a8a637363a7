#include "evaluation/ui/KoumokuImportForm.h"

#include "evaluation/EvaluationSession.h"
#include "platform/Prompter.h"
#include "widgets/UiFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

namespace {

QLabel *note(const QString &text, const QString &colour) {
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(colour));
    return label;
}

} // namespace

TKoumokuImportForm::TKoumokuImportForm(EvaluationSession &session, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_session(session), m_prompter(prompter) {
    setObjectName(QStringLiteral("KoumokuImportForm"));
    setWindowTitle(QStringLiteral("項目設定の取り込み"));
    setFont(ui::uiFont(10));
    setModal(true);

    m_comboBox1 = new QComboBox;
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    auto *teacherLabel = new QLabel(QStringLiteral("教師名"));
    teacherLabel->setBuddy(m_comboBox1);
    m_checkListBox1 = new QListWidget;
    m_checkListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    m_checkListBox1->setMinimumHeight(240);
    auto *listLabel = new QLabel(QStringLiteral("項目一覧"));
    listLabel->setBuddy(m_checkListBox1);
    auto *checkAll = new QPushButton(QStringLiteral("すべてにチェックを入れる"));
    checkAll->setObjectName(QStringLiteral("SpeedButton1"));
    auto *uncheckAll = new QPushButton(QStringLiteral("すべてのチェックを外す"));
    uncheckAll->setObjectName(QStringLiteral("SpeedButton2"));
    m_checkBox1 = new QCheckBox(QStringLiteral("満点・割合も取り込む"));
    m_checkBox1->setObjectName(QStringLiteral("CheckBox1"));
    m_checkBox1->setChecked(true);
    m_checkBox2 = new QCheckBox(QStringLiteral("保護設定も取り込む"));
    m_checkBox2->setObjectName(QStringLiteral("CheckBox2"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn1"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!session.readOnly());
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        note(QStringLiteral("同学年の同一教科を複数教師で担当している場合、他の教師の項目設定を取り込むこと"
                            "ができます。"),
             QStringLiteral("#1f3f7a")));
    layout->addWidget(note(QStringLiteral("※当然ですが、データはそのままです"), QStringLiteral("#1f3f7a")));
    auto *teacherRow = new QHBoxLayout;
    teacherRow->addWidget(teacherLabel);
    teacherRow->addWidget(m_comboBox1, 1);
    layout->addLayout(teacherRow);
    layout->addWidget(listLabel);
    layout->addWidget(m_checkListBox1, 1);
    auto *checkRow = new QHBoxLayout;
    checkRow->addWidget(checkAll);
    checkRow->addWidget(uncheckAll);
    checkRow->addStretch(1);
    layout->addLayout(checkRow);
    layout->addWidget(m_checkBox1);
    layout->addWidget(m_checkBox2);
    layout->addWidget(
        note(QStringLiteral("ただし、項目番号等が完全に一致していないとずれてしまうので、使用は十分注意して"
                            "ください。実行結果に保証はありません。"),
             QStringLiteral("#c00000")));
    layout->addWidget(buttons);
    setMinimumWidth(460);

    connect(m_comboBox1, &QComboBox::activated, this, &TKoumokuImportForm::comboBox1Click);
    connect(checkAll, &QPushButton::clicked, this, [this] { setAllChecked(true); });
    connect(uncheckAll, &QPushButton::clicked, this, [this] { setAllChecked(false); });
    connect(buttons, &QDialogButtonBox::accepted, this, &TKoumokuImportForm::bitBtn1Click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TKoumokuImportForm::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        formShow();
    }
}

void TKoumokuImportForm::formShow() {
    m_comboBox1->clear();
    m_comboBox1->addItems(itemimport::colleagues(m_session.context()));
    if (m_comboBox1->count() > 0) {
        m_comboBox1->setCurrentIndex(0);
        comboBox1Click();
    }
}

void TKoumokuImportForm::comboBox1Click() {
    m_checkListBox1->clear();
    if (m_comboBox1->currentIndex() < 0)
        return;
    itemimport::loadColleague(m_session.context(), m_comboBox1->currentText(), m_items, &m_prompter);
    for (const QString &line : itemimport::itemLines(m_items)) {
        auto *item = new QListWidgetItem(line, m_checkListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void TKoumokuImportForm::setAllChecked(bool checked) {
    for (int row = 0; row < m_checkListBox1->count(); ++row)
        m_checkListBox1->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TKoumokuImportForm::bitBtn1Click() {
    std::vector<int> numbers;
    for (int row = 0; row < m_checkListBox1->count(); ++row) {
        const QListWidgetItem *item = m_checkListBox1->item(row);
        const int number = itemimport::itemNumberOfLine(item->text());
        if (item->checkState() == Qt::Checked && number >= 1)
            numbers.push_back(number);
    }
    itemimport::Options options;
    options.fullScoresAndRatios = m_checkBox1->isChecked();
    options.protection = m_checkBox2->isChecked();
    m_outcome = itemimport::importItems(m_session, m_items, numbers, options);
    if (!m_outcome.applied) {
        m_prompter.message(QStringLiteral("TAVRO"), m_outcome.error, Prompter::Icon::Warning);
        return;
    }
    m_prompter.message(QStringLiteral("TAVRO"), itemimport::finishedMessage());
    accept();
}

} // namespace tavro
