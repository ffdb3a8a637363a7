#include "evaluation/ui/ViewpointRatioPage.h"

#include "evaluation/EvaluationSession.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "evaluation/ui/ItemRatioPage.h"
#include "platform/SoundPlayer.h"
#include "widgets/UiFont.h"

#include <QChartView>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace tavro::evaluationui {

using gridkeys::KeyPress;

ViewpointRatioPage::ViewpointRatioPage(THyoutei1Form &form)
    : EvaluationPage(form), m_viewpointModel(std::make_unique<ViewpointRatioModel>(m_session)) {
    auto *layout = new QVBoxLayout(this);
    m_kantenGrid = new QTableView;
    m_kantenGrid->setObjectName(QStringLiteral("KantenGrid"));
    m_kantenGrid->setModel(m_viewpointModel.get());
    m_kantenGrid->verticalHeader()->hide();
    m_kantenGrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_kantenGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_kantenGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_kantenGrid->installEventFilter(this);
    connect(m_kantenGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { refreshViewpointCharts(); });
    auto *gridRow = new QHBoxLayout;
    gridRow->addWidget(m_kantenGrid, 0);
    auto *side = new QVBoxLayout;
    side->addWidget(note(QStringLiteral("合計が100にならなくてもかまいません。")));
    side->addStretch(1);
    gridRow->addLayout(side, 1);
    layout->addLayout(gridRow);

    auto *heading = new QLabel(QStringLiteral("割合グラフ"));
    heading->setFont(ui::uiFont(11, true));
    layout->addWidget(heading);
    m_viewpointCharts = new QTabWidget;
    m_viewpointCharts->setObjectName(QStringLiteral("PageControl2"));
    auto *both = new QWidget;
    auto *bothRow = new QHBoxLayout(both);
    m_viewpointPie = charts::newChartView(QStringLiteral("KantenPie"));
    m_itemSumChart = charts::newChartView(QStringLiteral("KoumokuChart"));
    bothRow->addWidget(m_viewpointPie, 1);
    bothRow->addWidget(m_itemSumChart, 1);
    m_viewpointCharts->addTab(both, QStringLiteral("観点と項目"));
    m_kindPie = charts::newChartView(QStringLiteral("TeikiPie"));
    m_viewpointCharts->addTab(m_kindPie, QStringLiteral("定期と平常"));
    layout->addWidget(m_viewpointCharts, 1);
}

ViewpointRatioPage::~ViewpointRatioPage() = default;

void ViewpointRatioPage::applyFont(const QFont &font) {
    const QFontMetrics metrics(font);
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    m_kantenGrid->setFont(font);
    m_kantenGrid->verticalHeader()->setDefaultSectionSize(metrics.height() + 8);
    m_kantenGrid->setColumnWidth(0, digit * 16);
    for (int v = 1; v <= kViewpoints; ++v)
        m_kantenGrid->setColumnWidth(v, digit * 12);
    m_kantenGrid->setFixedSize(digit * 16 + 6 * digit * 12 + 4,
                               m_kantenGrid->horizontalHeader()->sizeHint().height() +
                                   kPeriods * (metrics.height() + 8) + 4);
}

bool ViewpointRatioPage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && watched == m_kantenGrid)
        return ratioKey(static_cast<QKeyEvent *>(event));
    return EvaluationPage::eventFilter(watched, event);
}

bool ViewpointRatioPage::ratioKey(QKeyEvent *event) {
    const QModelIndex current = m_kantenGrid->currentIndex();
    const std::optional<KeyPress> key = keyPressOf(event);
    if (!current.isValid() || !key)
        return false;
    if (nextRowKey(m_kantenGrid, current, *key))
        return true;
    if (current.column() < 1)
        return false;
    const int period = current.row() + 1;
    const gridkeys::KeyResult result = m_session.viewpointRatioKey(period, current.column(), *key);
    if (!result.handled)
        return false;
    if (result.beep && m_platform.sound)
        m_platform.sound->beep();
    if (result.changed) {
        m_viewpointModel->refreshRow(current.row());
        m_form.itemRatioPage().model().refreshRow(ItemRatioModel::headerRowOf(period));
        refreshViewpointCharts();
        m_form.refreshStatus();
    }
    m_form.speak(result.digit);
    return true;
}

void ViewpointRatioPage::refreshViewpointCharts() {
    const QModelIndex current = m_kantenGrid->currentIndex();
    const int period = current.isValid() ? current.row() + 1 : m_form.currentPeriod();
    charts::showPie(m_viewpointPie, views::ratioChartTitle(m_session, period, QStringLiteral("【観点割合】")),
                    chartPoints(views::viewpointRatioPie(m_session, period), false));
    charts::showBars(m_itemSumChart,
                     views::ratioChartTitle(m_session, period, QStringLiteral("【項目割合の単純合計】")),
                     chartPoints(views::itemRatioSums(m_session, period), false), true);
    charts::showPie(m_kindPie, views::ratioChartTitle(m_session, period, QStringLiteral("【定期と平常】")),
                    chartPoints(views::kindPie(m_session, period), true));
}

} // namespace tavro::evaluationui
