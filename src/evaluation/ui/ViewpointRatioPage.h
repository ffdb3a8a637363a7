#pragma once

#include "evaluation/ui/EvaluationPage.h"

#include <memory>

class QChartView;
class QKeyEvent;
class QTabWidget;

namespace tavro::evaluationui {

class ViewpointRatioModel;

// "観点割合": KantenGrid, the viewpoint ratios of the periods, with their charts.
class ViewpointRatioPage final : public EvaluationPage {
public:
    explicit ViewpointRatioPage(THyoutei1Form &form);
    ~ViewpointRatioPage() override;

    QTableView *grid() const { return m_kantenGrid; }
    ViewpointRatioModel &model() const { return *m_viewpointModel; }
    // PageControl2: the chart tabs, kept with the user state.
    QTabWidget *chartTabs() const { return m_viewpointCharts; }
    void applyFont(const QFont &font);
    // The charts of the period under the cursor (the window's period when none is).
    void refreshViewpointCharts();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool ratioKey(QKeyEvent *event);

    std::unique_ptr<ViewpointRatioModel> m_viewpointModel;
    QTableView *m_kantenGrid = nullptr;
    QTabWidget *m_viewpointCharts = nullptr;
    QChartView *m_viewpointPie = nullptr;
    QChartView *m_itemSumChart = nullptr;
    QChartView *m_kindPie = nullptr;
};

} // namespace tavro::evaluationui
