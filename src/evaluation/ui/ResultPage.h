#pragma once

#include "evaluation/ui/EvaluationPage.h"

#include <memory>

class QComboBox;
class QMenu;
class QPushButton;
class QTabBar;

namespace tavro {

class FrozenTableView;

namespace evaluationui {

class ResultModel;

// "評定算出": the calculation of a period and its clearing, HyouteiSelect, the transfer and the print,
// HyouteiGrid4 with the results and NinzuGrid with the counts of each mark per class.
class ResultPage final : public EvaluationPage {
public:
    explicit ResultPage(THyoutei1Form &form);
    ~ResultPage() override;

    FrozenTableView *grid() const { return m_hyouteiGrid; }
    ResultModel &model() const { return *m_resultModel; }
    // HyouteiSelect: the window's period; PageControl4: the viewpoint tabs of the counts.
    QComboBox *periodSelect() const { return m_hyouteiSelect; }
    QTabBar *ninzuTabs() const { return m_ninzuTabs; }

    // After the load: the periods in HyouteiSelect and in the menus of the calculation and the clearing.
    void addPeriods();
    void opened();
    // The widths of the first three columns follow `names` (TokutenGrid).
    void applyFont(const QFont &font, const QTableView *names);

    // "評定計算" of period k (the popup's item).
    void hyouteiCulc(int period);
    // "印刷": the automatic save, then the small-sheet print window when "OldType" is on and Shift is not
    // held, else the submission documents; nothing is printed when the save failed.
    void printClick(bool shift);
    void refreshNinzu();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void koumuClick();
    void showClearMenu();
    void hyouteiClearClick(int period);

    std::unique_ptr<ResultModel> m_resultModel;
    QPushButton *m_culcButton = nullptr;
    QPushButton *m_koumuButton = nullptr;
    QPushButton *m_printButton = nullptr;
    QMenu *m_culcMenu = nullptr;
    QMenu *m_clearMenu = nullptr;
    QComboBox *m_hyouteiSelect = nullptr;
    FrozenTableView *m_hyouteiGrid = nullptr;
    QTabBar *m_ninzuTabs = nullptr;
    QTableWidget *m_ninzuGrid = nullptr;
};

} // namespace evaluationui
} // namespace tavro
