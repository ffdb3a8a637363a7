#include "evaluation/ui/HyouteiPropForm.h"

#include "widgets/UiFont.h"
#include "evaluation/EvaluationSession.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tavro {

namespace {

QWidget *labelledRow(const QString &label, QWidget *field) {
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(label);
    caption->setMinimumWidth(80);
    caption->setBuddy(field);
    layout->addWidget(caption);
    layout->addWidget(field, 1);
    return row;
}

} // namespace

THyouteiPropForm::THyouteiPropForm(EvaluationSession &session, int item, Prompter &prompter, QWidget *parent)
    : QDialog(parent), m_session(session), m_item(item), m_prompter(prompter),
      m_lists(itemsettings::testLists(session.settings(), session.kanten(), session.context().kyouka,
                                      session.context().tTestKanten)) {
    setObjectName(QStringLiteral("HyouteiPropForm"));
    setWindowTitle(QStringLiteral("項目設定 - 項目") + QString::number(item));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFont(ui::uiFont(10));
    setModal(true);

    m_kind = new QComboBox;
    m_kind->setObjectName(QStringLiteral("KindCombo"));
    m_kind->addItems(itemsettings::kindNames());
    m_help1 = new QLabel;
    m_help1->setObjectName(QStringLiteral("HelpLabel1"));
    m_help2 = new QLabel;
    m_help2->setObjectName(QStringLiteral("HelpLabel2"));
    for (QLabel *help : {m_help1, m_help2})
        help->setStyleSheet(QStringLiteral("QLabel { color: #1f3f7a; }"));

    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("NameEdit"));
    m_nameRow = labelledRow(QStringLiteral("項目名"), m_name);
    m_symbolInput = new QCheckBox(QStringLiteral("記号入力"));
    m_symbolInput->setObjectName(QStringLiteral("SymbolCheck"));
    m_protection = new QCheckBox(QStringLiteral("保護"));
    m_protection->setObjectName(QStringLiteral("ProtectCheck"));
    m_fullScore = new QSpinBox;
    m_fullScore->setObjectName(QStringLiteral("FullScoreEdit"));
    m_fullScore->setRange(0, 999);
    m_fullScoreRow = labelledRow(QStringLiteral("満点"), m_fullScore);
    m_formula = new QLineEdit;
    m_formula->setObjectName(QStringLiteral("FormulaEdit"));
    m_formulaRow = labelledRow(QStringLiteral("計算式"), m_formula);
    m_periodic = new QComboBox;
    m_periodic->setObjectName(QStringLiteral("TestCombo"));
    m_periodic->addItem(QString());
    for (const auto &entry : m_lists.periodic)
        m_periodic->addItem(entry.text);
    m_periodicRow = labelledRow(QStringLiteral("定期テスト"), m_periodic);
    m_achievement = new QComboBox;
    m_achievement->setObjectName(QStringLiteral("GakuCombo"));
    m_achievement->addItem(QString());
    for (const auto &entry : m_lists.achievement)
        m_achievement->addItem(entry.text);
    m_achievementRow = labelledRow(QStringLiteral("学力(実力)"), m_achievement);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &THyouteiPropForm::okClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(labelledRow(QStringLiteral("種別"), m_kind));
    layout->addWidget(m_help1);
    layout->addWidget(m_help2);
    layout->addSpacing(6);
    layout->addWidget(m_nameRow);
    layout->addWidget(m_periodicRow);
    layout->addWidget(m_achievementRow);
    layout->addWidget(m_formulaRow);
    layout->addWidget(m_fullScoreRow);
    layout->addWidget(m_symbolInput);
    layout->addWidget(m_protection);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumWidth(460);

    const itemsettings::ItemEdit edit = itemsettings::editOf(session.worksheet(), item, m_lists);
    m_name->setText(edit.name);
    m_symbolInput->setChecked(edit.symbolInput);
    m_protection->setChecked(edit.protection);
    m_fullScore->setValue(edit.fullScore);
    m_formula->setText(edit.formula);
    if (edit.kind == itemkind::kPeriodicTest)
        m_periodic->setCurrentIndex(edit.testIndex);
    if (edit.kind == itemkind::kAchievementTest)
        m_achievement->setCurrentIndex(edit.testIndex);
    m_kind->setCurrentIndex(edit.kind);
    connect(m_kind, &QComboBox::currentIndexChanged, this, &THyouteiPropForm::kindChanged);
    kindChanged(edit.kind);
}

void THyouteiPropForm::kindChanged(int kind) {
    const QStringList help = itemsettings::helpLines(kind);
    m_help1->setText(help.value(0));
    m_help2->setText(help.value(1));
    const itemsettings::Fields fields = itemsettings::visibleFields(kind);
    m_nameRow->setVisible(fields.name);
    m_symbolInput->setVisible(fields.symbolInput);
    m_protection->setVisible(fields.protection);
    m_fullScoreRow->setVisible(fields.fullScore);
    m_formulaRow->setVisible(fields.formula);
    m_periodicRow->setVisible(fields.periodicList);
    m_achievementRow->setVisible(fields.achievementList);
}

void THyouteiPropForm::okClick() {
    itemsettings::ItemEdit edit;
    edit.kind = m_kind->currentIndex();
    const itemsettings::Fields fields = itemsettings::visibleFields(edit.kind);
    edit.name = m_name->text();
    edit.symbolInput = fields.symbolInput && m_symbolInput->isChecked();
    edit.protection = fields.protection && m_protection->isChecked();
    edit.fullScore = m_fullScore->value();
    edit.formula = m_formula->text();
    if (fields.periodicList)
        edit.testIndex = m_periodic->currentIndex();
    else if (fields.achievementList)
        edit.testIndex = m_achievement->currentIndex();
    m_outcome = itemsettings::apply(m_session, m_item, edit, m_lists, &m_prompter);
    if (!m_outcome.applied) {
        m_prompter.message(QStringLiteral("TAVRO"), m_outcome.error, Prompter::Icon::Warning);
        return;
    }
    accept();
}

} // namespace tavro
