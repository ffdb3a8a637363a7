#include "evaluation/ui/ItemRatioPage.h"

#include "evaluation/Editing.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "evaluation/ui/ScorePage.h"
#include "evaluation/ui/ViewpointRatioPage.h"
#include "platform/SoundPlayer.h"
#include "widgets/FrozenTableView.h"
#include "widgets/UiFont.h"

#include <QChartView>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace tavro::evaluationui {

using gridkeys::Key;
using gridkeys::KeyPress;

ItemRatioPage::ItemRatioPage(THyoutei1Form &form)
    : EvaluationPage(form), m_itemRatioModel(std::make_unique<ItemRatioModel>(m_session)) {
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(note(QStringLiteral("青の数字は、観点の割合で重み付けした数値です。")));
    top->addStretch(1);
    m_yearEndButton = new QPushButton(QStringLiteral("学年末"));
    m_yearEndButton->setObjectName(QStringLiteral("SpeedButton16"));
    m_yearEndButton->setToolTip(QStringLiteral("学年末の割合にコピーします。"));
    connect(m_yearEndButton, &QPushButton::clicked, this, &ItemRatioPage::yearEndClick);
    top->addWidget(m_yearEndButton);
    layout->addLayout(top);
    m_wariai = new FrozenTableView(1);
    m_wariai->setObjectName(QStringLiteral("WariaiGrid3"));
    m_wariai->setModel(m_itemRatioModel.get());
    m_wariai->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_wariai->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_wariai->installEventFilter(this);
    connect(m_wariai->selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
            [this](const QModelIndex &current) { refreshItemCharts(current.column()); });
    layout->addWidget(m_wariai, 3);

    auto *charts = new QHBoxLayout;
    auto *pieBox = new QVBoxLayout;
    m_sharePeriodTabs = new QTabBar;
    m_sharePeriodTabs->setObjectName(QStringLiteral("PeriodTab"));
    m_sharePeriodTabs->setExpanding(false);
    m_shareViewpointTabs = new QTabBar;
    m_shareViewpointTabs->setObjectName(QStringLiteral("KantenTab"));
    m_shareViewpointTabs->setExpanding(false);
    m_shareViewpointTabs->addTab(QStringLiteral("総合"));
    for (int v = 1; v <= kViewpoints; ++v)
        m_shareViewpointTabs->addTab(QStringLiteral("観点") + views::viewpointNumeral(v));
    connect(m_sharePeriodTabs, &QTabBar::currentChanged, this, [this] { refreshSharePie(); });
    connect(m_shareViewpointTabs, &QTabBar::currentChanged, this, [this] { refreshSharePie(); });
    // Its tabs come with the load; keep room for them.
    m_sharePeriodTabs->setMinimumHeight(m_shareViewpointTabs->sizeHint().height());
    m_sharePie = charts::newChartView(QStringLiteral("SharePie"));
    pieBox->addWidget(m_sharePeriodTabs);
    pieBox->addWidget(m_shareViewpointTabs);
    pieBox->addWidget(m_sharePie, 1);
    charts->addLayout(pieBox, 3);

    auto *distBox = new QVBoxLayout;
    m_distributionChart = charts::newChartView(QStringLiteral("BunpuChart"));
    auto *figures = new QHBoxLayout;
    m_countLabel = new QLabel(QStringLiteral("0人"));
    m_countLabel->setObjectName(QStringLiteral("NinzuLabel"));
    m_meanLabel = new QLabel(QStringLiteral("平均0.0点"));
    m_meanLabel->setObjectName(QStringLiteral("HeikinLabel"));
    figures->addWidget(m_countLabel);
    figures->addSpacing(16);
    figures->addWidget(m_meanLabel);
    figures->addStretch(1);
    distBox->addWidget(m_distributionChart, 1);
    distBox->addLayout(figures);
    charts->addLayout(distBox, 3);
    m_classMeanChart = charts::newChartView(QStringLiteral("GakkyuChart"));
    charts->addWidget(m_classMeanChart, 2);
    layout->addLayout(charts, 2);
}

ItemRatioPage::~ItemRatioPage() = default;

void ItemRatioPage::addPeriods() {
    for (const EvaluationSession::Period &p : m_session.periods())
        m_sharePeriodTabs->addTab(views::periodTabText(p.number, p.name));
}

void ItemRatioPage::opened() {
    m_yearEndButton->setEnabled(!m_session.readOnly());
}

void ItemRatioPage::applyFont(const QFont &font) {
    const QFontMetrics metrics(font);
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    m_wariai->setGridFont(font);
    m_wariai->horizontalHeader()->setDefaultSectionSize(digit * 6);
    m_wariai->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("　観点①関心・意欲")) + digit);
}

bool ItemRatioPage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && watched == m_wariai)
        return ratioKey(static_cast<QKeyEvent *>(event));
    return EvaluationPage::eventFilter(watched, event);
}

bool ItemRatioPage::ratioKey(QKeyEvent *event) {
    const QModelIndex current = m_wariai->currentIndex();
    const std::optional<KeyPress> key = keyPressOf(event);
    if (!current.isValid() || !key)
        return false;
    if (nextRowKey(m_wariai, current, *key))
        return true;
    int period = 0;
    int viewpoint = 0;
    ItemRatioModel::rowMeaning(current.row(), period, viewpoint);
    const int item = current.column();
    if (item < 1 || (period > 0 && viewpoint == 0))
        return key->key == Key::Character && gridkeys::digitOfKey(key->ch) >= 0;
    const gridkeys::KeyResult result = period == 0 ? m_session.fullScoreKey(item, *key)
                                                   : m_session.itemRatioKey(item, period, viewpoint, *key);
    if (!result.handled)
        return false;
    if (result.beep && m_platform.sound)
        m_platform.sound->beep();
    if (result.changed) {
        m_itemRatioModel->refreshRow(current.row());
        if (period > 0)
            m_itemRatioModel->refreshRow(ItemRatioModel::headerRowOf(period));
        else
            m_form.scorePage().model().refreshColumn(ScoreModel::kFixed + current.column() - 1);
        // The pie follows the blue numbers, the distribution the full score.
        refreshSharePie();
        m_form.refreshStatus();
    }
    m_form.speak(result.digit);
    return true;
}

void ItemRatioPage::showEvent(QShowEvent *event) {
    EvaluationPage::showEvent(event);
    if (m_chartsStale)
        refreshSharePie();
}

void ItemRatioPage::refreshSharePie() {
    // A pie of a full sheet has a thousand slices: drawn when the page shows, not for every edit
    // made elsewhere.
    m_chartsStale = !isVisible();
    if (m_chartsStale)
        return;
    const int tabIndex = m_sharePeriodTabs->currentIndex();
    const auto &periods = m_session.periods();
    if (tabIndex < 0 || tabIndex >= int(periods.size()))
        return;
    const int period = periods[std::size_t(tabIndex)].number;
    const int tab = std::max(0, m_shareViewpointTabs->currentIndex());
    charts::showPie(m_sharePie, views::sharePieTitle(m_session, period, tab),
                    chartPoints(views::sharePie(m_session, period, tab), true));
    refreshItemCharts(m_wariai->currentIndex().column());
}

void ItemRatioPage::refreshItemCharts(int item) {
    if (!isItem(item)) {
        charts::showBars(m_distributionChart, QStringLiteral("分布"), {}, false);
        charts::showBars(m_classMeanChart, QStringLiteral("学級別"), {}, true);
        return;
    }
    const views::ItemDistribution d = views::itemDistribution(m_session.worksheet(), m_session.rows(), item);
    // As many bars as their labels fit side by side; scores above the full score in a pink bar.
    const QFontMetrics metrics(ui::uiFont(9));
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("000〜")) + 12;
    const int maxBars = std::max(1, (m_distributionChart->width() - 100) / labelWidth);
    std::vector<charts::Point> bars;
    for (const views::DistributionBar &bar :
         views::distributionBars(d, m_session.worksheet().item(item).fullScore, maxBars))
        bars.push_back(
            {bar.label, double(bar.count), bar.aboveFull ? QColor(255, 192, 192) : QColor(96, 144, 208)});
    charts::showColouredBars(m_distributionChart, QStringLiteral("分布"), bars);
    m_countLabel->setText(d.countText());
    m_meanLabel->setText(d.meanText());
    std::vector<charts::Point> means;
    for (const views::ClassMean &m : views::classMeans(m_session, item))
        means.push_back({m.label, m.mean, QColor(240, 160, 96)});
    charts::showBars(m_classMeanChart, QStringLiteral("学級別"), means, true);
}

void ItemRatioPage::yearEndClick() {
    if (!editing::copyYearEndRatios(m_session))
        return;
    m_itemRatioModel->refreshAll();
    m_form.viewpointPage().refreshViewpointCharts();
    refreshSharePie();
    m_form.refreshStatus();
}

} // namespace tavro::evaluationui
