#pragma once

#include "evaluation/Editing.h"
#include "evaluation/EvaluationSession.h"
#include "platform/Platform.h"

#include <QDialog>

#include <memory>

class QButtonGroup;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTabWidget;
class QTableView;
class QTableWidget;
class QToolButton;

namespace tavro {

class FrozenTableView;
class PrintTarget;
namespace evaluationui {
class ScoreModel;
class ResultModel;
class ViewpointRatioModel;
class ItemRatioModel;
class PasteModel;
} // namespace evaluationui

// The evaluation window: the worksheet of one year, grade and subject with its scores, ratios, the
// calculation and its results. The session does the work; the window shows it and forwards the keys.
class THyoutei1Form : public QDialog {
    Q_OBJECT

public:
    THyoutei1Form(EvaluationContext context, const Platform &platform, QWidget *parent = nullptr);
    ~THyoutei1Form() override;

    EvaluationSession &session() { return m_session; }
    // The period of HyouteiSelect (1..5).
    int currentPeriod() const { return m_period; }
    // "評定計算" of period k (the popup's item).
    void hyouteiCulc(int period);
    // "項目設定" for the item under the cursor of TokutenGrid.
    void koumokuClick();
    // "取込": the item import dialog (項目設定の取り込み).
    void koumokuImportClick();
    // The pop-up menu CopyPaste on `grid`: it becomes the menu's grid and the items are enabled for it.
    void copyPastePopup(QTableView *grid);
    // 元に戻す / やり直し (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z): one step of the session, shown on every page.
    void undoClick(bool redo);

    // "印刷": the automatic save, then the small-sheet print window when "OldType" is on and Shift is not
    // held, else the submission documents; nothing is printed when the save failed.
    void printClick(bool shift);
    // Where the print windows print; null: the system's print dialog.
    void setPrintTarget(PrintTarget *target) { m_printTarget = target; }

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTopBar(QWidget *bar);
    QWidget *buildScorePage();
    QWidget *buildViewpointPage();
    QWidget *buildItemRatioPage();
    QWidget *buildResultPage();
    QWidget *buildAnalysisPage();
    QWidget *buildPastePage();

    void opening();
    void restoreUserState();
    void storeUserState();
    void applyFontSize(int size);
    void setSoundOn(bool on);

    bool tokutenKey(QKeyEvent *event);
    bool ratioKey(QTableView *view, QKeyEvent *event);
    void speak(int digit);
    void scoreCellChanged(const QModelIndex &current);
    void classTabClicked(int index);
    void showItemPanels(int item);
    void mikomiClick();

    void selectPeriod(int index);
    void refreshStatus();
    // Saves what changed before a transfer or a print; the status says so. False with the error shown.
    bool autoSave();
    void koumuClick();
    void refreshNinzu();
    void refreshViewpointCharts();
    void refreshSharePie();
    void refreshItemCharts(int item);
    void refillStudentList(bool announce = false);
    void showStudentLines(std::vector<editing::StudentLine> lines);
    void showStudent(int listRow);
    void stepStudent(int delta);

    // Editing commands.
    void buildCopyPasteMenu();
    void attachCopyPaste(QTableView *grid);
    QRect selectedCells(QTableView *grid) const;
    void copyClick();
    void pasteClick();
    void deleteClick();
    void copyAllClick();
    void koumuCopyClick();
    void afterRatioEdit();
    void afterPercentageEdit();
    // After a write of the result files: the status panel says when it ended the undo history.
    void noteHistoryCleared(const QString &message = QString());
    void showClearMenu();
    void hyouteiClearClick(int period);
    void memoChange(int period);
    void protectClick(bool on);
    void yearEndClick();
    void filterClick(editing::Filter filter);
    void closeClick();
    void pastePeriodChosen(int index);
    int pastePeriod() const;

    EvaluationSession m_session;
    Platform m_platform;
    bool m_opened = false;
    int m_period = 1;
    bool m_soundOn = false;
    bool m_girlsVoice = true;
    int m_fontSize = 11;
    bool m_syncingTabs = false;
    std::vector<editing::StudentLine> m_studentLines;
    bool m_skipSave = false;

    std::unique_ptr<evaluationui::ScoreModel> m_scoreModel;
    std::unique_ptr<evaluationui::ResultModel> m_resultModel;
    std::unique_ptr<evaluationui::ViewpointRatioModel> m_viewpointModel;
    std::unique_ptr<evaluationui::ItemRatioModel> m_itemRatioModel;
    std::unique_ptr<evaluationui::PasteModel> m_pasteModel;

    QLabel *m_header = nullptr;
    QPushButton *m_soundButton = nullptr;
    QToolButton *m_voiceButton = nullptr;
    QButtonGroup *m_fontButtons = nullptr;
    std::array<QLabel *, 5> m_status{};

    QTabWidget *m_pages = nullptr;
    QWidget *m_pastePage = nullptr;

    QLabel *m_kindPanel = nullptr;
    QLabel *m_namePanel = nullptr;
    QPushButton *m_koumokuButton = nullptr;
    QPushButton *m_importButton = nullptr;
    QPushButton *m_mikomiButton = nullptr;
    FrozenTableView *m_tokuten = nullptr;
    QTabBar *m_classTabs = nullptr;

    QTableView *m_kantenGrid = nullptr;
    QTabWidget *m_viewpointCharts = nullptr;
    QChartView *m_viewpointPie = nullptr;
    QChartView *m_itemSumChart = nullptr;
    QChartView *m_kindPie = nullptr;

    FrozenTableView *m_wariai = nullptr;
    QTabBar *m_sharePeriodTabs = nullptr;
    QTabBar *m_shareViewpointTabs = nullptr;
    QChartView *m_sharePie = nullptr;
    QChartView *m_distributionChart = nullptr;
    QLabel *m_countLabel = nullptr;
    QLabel *m_meanLabel = nullptr;
    QChartView *m_classMeanChart = nullptr;

    QPushButton *m_culcButton = nullptr;
    QPushButton *m_koumuButton = nullptr;
    QPushButton *m_printButton = nullptr;
    PrintTarget *m_printTarget = nullptr;
    QMenu *m_culcMenu = nullptr;
    QComboBox *m_hyouteiSelect = nullptr;
    FrozenTableView *m_hyouteiGrid = nullptr;
    QTabBar *m_ninzuTabs = nullptr;
    QTableWidget *m_ninzuGrid = nullptr;

    QListWidget *m_studentList = nullptr;
    QRadioButton *m_byClass = nullptr;
    QRadioButton *m_byAttainment = nullptr;
    QLabel *m_studentLabel = nullptr;
    QTableWidget *m_analysisGrid = nullptr;
    QTabWidget *m_analysisTabs = nullptr;
    QTableWidget *m_periodGrid = nullptr;
    QTableWidget *m_kindGrid = nullptr;
    QTableWidget *m_historyGrid = nullptr;
    std::array<QLineEdit *, 5> m_comments{};

    QComboBox *m_pastePeriod = nullptr;
    FrozenTableView *m_importGrid = nullptr;

    QMenu *m_copyPaste = nullptr;
    QTableView *m_menuGrid = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_pasteAction = nullptr;
    QAction *m_cutAction = nullptr;
    QAction *m_deleteAction = nullptr;
    QAction *m_copyAllAction = nullptr;
    QAction *m_koumuAction = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QMenu *m_clearMenu = nullptr;
    QToolButton *m_hogoButton = nullptr;
    QMenu *m_hogoMenu = nullptr;
    QPushButton *m_yearEndButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};

} // namespace tavro
