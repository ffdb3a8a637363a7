#include "evaluation/ui/PastePage.h"

#include "evaluation/EvaluationSession.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "evaluation/ui/ResultPage.h"
#include "widgets/FrozenTableView.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro::evaluationui {

PastePage::PastePage(THyoutei1Form &form)
    : EvaluationPage(form), m_pasteModel(std::make_unique<PasteModel>(m_session)) {
    auto *layout = new QVBoxLayout(this);
    auto *steps = new QGridLayout;
    steps->addWidget(new QLabel(QStringLiteral("①観点の割合を設定しましょう。")), 0, 0);
    auto *viewpoints = new QPushButton(QStringLiteral("観点割合"));
    viewpoints->setObjectName(QStringLiteral("KantenStepButton"));
    connect(viewpoints, &QPushButton::clicked, this, [this] { m_form.showPage(1); });
    steps->addWidget(viewpoints, 0, 1);
    steps->addWidget(new QLabel(QStringLiteral("②対象となる評定を選択します。")), 1, 0);
    m_pastePeriod = new QComboBox;
    m_pastePeriod->setObjectName(QStringLiteral("ComboBox1"));
    connect(m_pastePeriod, &QComboBox::activated, this, &PastePage::pastePeriodChosen);
    steps->addWidget(m_pastePeriod, 1, 1);
    steps->addWidget(new QLabel(QStringLiteral("③エクセルから観点の到達度とコメントを貼り付けます。")), 2, 0);
    auto *paste = new QPushButton(QStringLiteral("貼り付け"));
    paste->setObjectName(QStringLiteral("PasteButton"));
    connect(paste, &QPushButton::clicked, this, [this] {
        if (!m_importGrid->currentIndex().isValid() && m_pasteModel->rowCount() > 0)
            m_importGrid->setCurrentIndex(m_pasteModel->index(0, 3));
        m_form.pasteInto(m_importGrid);
    });
    steps->addWidget(paste, 2, 1);
    steps->addWidget(new QLabel(QStringLiteral("④評定を確認しましょう。")), 3, 0);
    auto *check = new QPushButton(QStringLiteral("評定を確認"));
    check->setObjectName(QStringLiteral("HyouteiStepButton"));
    connect(check, &QPushButton::clicked, this, [this] { m_form.showPage(3); });
    steps->addWidget(check, 3, 1);
    steps->setColumnStretch(2, 1);
    layout->addLayout(steps);
    m_importGrid = new FrozenTableView(3);
    m_importGrid->setObjectName(QStringLiteral("ImportGrid"));
    m_importGrid->setModel(m_pasteModel.get());
    m_importGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_importGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    layout->addWidget(m_importGrid, 1);
}

PastePage::~PastePage() = default;

void PastePage::addPeriods() {
    for (const EvaluationSession::Period &p : m_session.periods())
        m_pastePeriod->addItem(views::periodListText(p.number, p.name));
}

void PastePage::applyFont(const QFont &font, const QTableView *names) {
    const QFontMetrics metrics(font);
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    m_importGrid->setGridFont(font);
    m_importGrid->horizontalHeader()->setDefaultSectionSize(digit * 11);
    for (int c = 0; c < 3; ++c)
        m_importGrid->setColumnWidth(c, names->columnWidth(c));
    m_importGrid->setColumnWidth(9, digit * 30);
}

int PastePage::pastePeriod() const {
    const int index = m_pastePeriod->currentIndex();
    const auto &periods = m_session.periods();
    return index >= 0 && index < int(periods.size()) ? periods[std::size_t(index)].number : 0;
}

void PastePage::pastePeriodChosen(int index) {
    const auto &periods = m_session.periods();
    if (index < 0 || index >= int(periods.size()))
        return;
    m_pasteModel->setPeriod(periods[std::size_t(index)].number);
    QComboBox *select = m_form.resultPage().periodSelect();
    if (select->currentIndex() != index)
        select->setCurrentIndex(index);
    else
        m_form.refreshStatus();
}

void PastePage::showChosenPeriod() {
    pastePeriodChosen(m_pastePeriod->currentIndex());
}

} // namespace tavro::evaluationui
