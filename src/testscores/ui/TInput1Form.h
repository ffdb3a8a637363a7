#pragma once

#include "platform/Platform.h"
#include "reports/PageModel.h"
#include "testscores/ScoreEntrySession.h"

#include <QDialog>

#include <memory>

class QChartView;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace tavro {

class PrintTarget;
class SoundControls;
namespace scoreentryui {
class ScoreEntryModel;
}

// The score-entry window: the scores of one test and subject for the classes in charge, typed with
// the keyboard half a class at a time. The session does the work; the window shows it and forwards
// the keys.
class TInput1Form : public QDialog {
    Q_OBJECT

public:
    TInput1Form(ScoreEntryContext context, const Platform &platform, QWidget *parent = nullptr);
    ~TInput1Form() override;

    // Loads the session (also done when the window is first shown). False, after the message, when
    // there is no class to open.
    bool load();
    ScoreEntrySession &session() { return m_session; }

    // "満点": the full-score dialog of the mode.
    void mantenClick();
    // "貼り付け(&V)" and "すべてをコピー(&A)".
    void pasteClick();
    // 元に戻す / やり直し (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z).
    void undoClick(bool redo);
    void copyAllClick();
    // "印刷": the score list of the classes, on `setPrintTarget`'s target or through the print dialog.
    void printClick();
    // "プレビュー": the same score list in the print preview.
    void previewClick();
    // The score list on `target`: the print and its preview.
    reports::PrintOutcome printOn(PrintTarget &target);
    void setPrintTarget(PrintTarget *target) { m_printTarget = target; }

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildTopBar();
    QWidget *buildBottomBar();
    bool gridKey(QKeyEvent *event);
    void cellPressed(const QModelIndex &index);
    void showHalf();
    void refreshCursor(const scoreentry::Cursor &before);
    void refreshSummary();
    void refreshAverage();
    void showView(int page);
    void showAverageChart();
    void showDistributionChart();
    void reportPrint(const reports::PrintOutcome &out);

    ScoreEntrySession m_session;
    Platform m_platform;
    PrintTarget *m_printTarget = nullptr;
    bool m_loaded = false;
    bool m_syncingTabs = false;
    std::unique_ptr<scoreentryui::ScoreEntryModel> m_model;
    SoundControls *m_sound = nullptr;

    QLabel *m_summary = nullptr;
    QPushButton *m_mantenButton = nullptr;
    QPushButton *m_averageButton = nullptr;
    QPushButton *m_distributionButton = nullptr;
    QStackedWidget *m_views = nullptr;
    QTableView *m_grid = nullptr;
    QChartView *m_averageChart = nullptr;
    QChartView *m_distributionChart = nullptr;
    QTabBar *m_tabs = nullptr;
    QLabel *m_average = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_pasteAction = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
};

} // namespace tavro
