#pragma once

#include "evaluation/ui/EvaluationPage.h"

#include <memory>

class QKeyEvent;
class QLabel;
class QMenu;
class QModelIndex;
class QPushButton;
class QTabBar;
class QToolButton;

namespace tavro {

class FrozenTableView;

namespace evaluationui {

class ScoreModel;

// "得点入力": TokutenGrid with the item panels, the item dialogs, the automatic estimate, the
// protection of items and the class tabs.
class ScorePage final : public EvaluationPage {
public:
    explicit ScorePage(THyoutei1Form &form);
    ~ScorePage() override;

    FrozenTableView *grid() const { return m_tokuten; }
    ScoreModel &model() const { return *m_scoreModel; }

    // After the load: two tabs per class, M for numbers 1..30 and F for the rest.
    void addClassTabs();
    // After the user state: the cursor on the last item with a kind, the buttons of a writable sheet.
    void opened();
    void applyFont(const QFont &font);

    // "項目設定" for the item under the cursor of TokutenGrid.
    void koumokuClick();
    // "取込": the item import dialog (項目設定の取り込み).
    void koumokuImportClick();
    // The status line and the item panels of the cell under the cursor.
    void scoreCellChanged(const QModelIndex &current);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool tokutenKey(QKeyEvent *event);
    void classTabClicked(int index);
    void showItemPanels(int item);
    void mikomiClick();
    void protectClick(bool on);

    bool m_syncingTabs = false;
    std::unique_ptr<ScoreModel> m_scoreModel;

    QLabel *m_kindPanel = nullptr;
    QLabel *m_namePanel = nullptr;
    QPushButton *m_koumokuButton = nullptr;
    QPushButton *m_importButton = nullptr;
    QPushButton *m_mikomiButton = nullptr;
    QToolButton *m_hogoButton = nullptr;
    QMenu *m_hogoMenu = nullptr;
    FrozenTableView *m_tokuten = nullptr;
    QTabBar *m_classTabs = nullptr;
};

} // namespace evaluationui
} // namespace tavro
