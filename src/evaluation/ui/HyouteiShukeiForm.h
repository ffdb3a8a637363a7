#pragma once

#include "evaluation/GradeHyouteiStore.h"
#include "platform/Platform.h"

#include <QDialog>
#include <array>
#include <memory>

class QLabel;
class QPushButton;
class QTabBar;
class QTabWidget;

namespace tavro {

class FrozenTableView;
class HyouteiShukeiModel;
class PrintTarget;

// "一覧表示と印刷" of the evaluations: the grade's required subjects and electives of one period in
// three grids, and the two copies. It owns the grade store. Run it with exec().
class THyouteiShukeiForm : public QDialog {
    Q_OBJECT

public:
    struct Inputs {
        QString mainCaption;
        int nendo = 0;
        QString gakunen;     // "1".."6"
        int hyouteiKind = 0; // period 1..5
        QString hyouteiKindName;
        QString dataFolder;
        bool classType = true;
        int schoolKind = 1;
    };

    THyouteiShukeiForm(const Platform &platform, const Inputs &inputs, QWidget *parent = nullptr);
    ~THyouteiShukeiForm() override;

    // The store the print and transfer windows read while this window is open.
    const GradeHyouteiStore &store() const { return *m_store; }

    // "観点評価あり" / "観点評価なし".
    void N1Click();
    void N2Click();
    // "校務支援": the grade transfer window; "印刷": the print window of the grade-wide papers.
    void SpeedButton13Click();
    void SpeedButton1Click();
    // Where the print window prints; null (the default): the system's print dialog.
    void setPrintTarget(PrintTarget *target) { m_printTarget = target; }

    // Class tab `index` of page `page` (0..2): the class's first row at the top, selected.
    void classTabClick(int page, int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildPage(int page);
    void applySizes();
    void gridCurrentChanged(int page);
    void copy(bool viewpoints);

    Platform m_platform;
    Inputs m_inputs;
    std::unique_ptr<GradeHyouteiStore> m_store;
    bool m_shown = false;
    PrintTarget *m_printTarget = nullptr;

    QTabWidget *m_pages = nullptr;
    std::array<FrozenTableView *, 3> m_grids{};
    std::array<HyouteiShukeiModel *, 3> m_models{};
    std::array<QTabBar *, 3> m_tabs{};
    QPushButton *m_copyButton = nullptr;
    QLabel *m_experimentLabel = nullptr;
};

} // namespace tavro
