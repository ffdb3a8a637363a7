#pragma once

#include "evaluation/ui/EvaluationPage.h"

#include <memory>

class QComboBox;

namespace tavro {

class FrozenTableView;

namespace evaluationui {

class PasteModel;

// "データ貼り付け": the steps of a paste from a spreadsheet, the period it is for and ImportGrid with
// the viewpoint attainments and comments of that period. The window shows it when the settings allow a
// paste into a writable sheet.
class PastePage final : public EvaluationPage {
public:
    explicit PastePage(THyoutei1Form &form);
    ~PastePage() override;

    FrozenTableView *grid() const { return m_importGrid; }
    PasteModel &model() const { return *m_pasteModel; }
    // After the load: the periods of ComboBox1.
    void addPeriods();
    // The widths of the first three columns follow `names` (TokutenGrid).
    void applyFont(const QFont &font, const QTableView *names);
    // The period of ComboBox1 (0 when none is chosen).
    int pastePeriod() const;
    // Period `index` of ComboBox1 chosen: the grid shows it and HyouteiSelect follows.
    void pastePeriodChosen(int index);
    void showChosenPeriod();

private:
    std::unique_ptr<PasteModel> m_pasteModel;
    QComboBox *m_pastePeriod = nullptr;
    FrozenTableView *m_importGrid = nullptr;
};

} // namespace evaluationui
} // namespace tavro
