#pragma once

#include "evaluation/ui/EvaluationPage.h"

#include <memory>

class QChartView;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTabBar;

namespace tavro {

class FrozenTableView;

namespace evaluationui {

class ItemRatioModel;

// "満点・項目割合": WariaiGrid3, the full scores and the item ratios of the periods, with the share pie,
// the distribution of the item under the cursor and its class means.
class ItemRatioPage final : public EvaluationPage {
public:
    explicit ItemRatioPage(THyoutei1Form &form);
    ~ItemRatioPage() override;

    FrozenTableView *grid() const { return m_wariai; }
    ItemRatioModel &model() const { return *m_itemRatioModel; }
    // After the load: one share tab per period.
    void addPeriods();
    void opened();
    void applyFont(const QFont &font);
    // The share pie of the chosen period and tab, then the item charts; while the page is hidden,
    // when it shows next.
    void refreshSharePie();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool ratioKey(QKeyEvent *event);
    void refreshItemCharts(int item);
    void yearEndClick();

    std::unique_ptr<ItemRatioModel> m_itemRatioModel;
    QPushButton *m_yearEndButton = nullptr;
    FrozenTableView *m_wariai = nullptr;
    QTabBar *m_sharePeriodTabs = nullptr;
    QTabBar *m_shareViewpointTabs = nullptr;
    QChartView *m_sharePie = nullptr;
    QChartView *m_distributionChart = nullptr;
    QLabel *m_countLabel = nullptr;
    QLabel *m_meanLabel = nullptr;
    QChartView *m_classMeanChart = nullptr;
    bool m_chartsStale = true;
};

} // namespace evaluationui
} // namespace tavro
