#pragma once

#include "evaluation/Editing.h"
#include "evaluation/EvaluationSession.h"
#include "platform/Platform.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableView;
class QToolButton;

namespace tavro {

class PrintTarget;
namespace evaluationui {
class ScorePage;
class ViewpointRatioPage;
class ItemRatioPage;
class ResultPage;
class AnalysisPage;
class PastePage;
} // namespace evaluationui

// The evaluation window: the worksheet of one year, grade and subject with its scores, ratios, the
// calculation and its results. The session does the work; the window shows it and forwards the keys.
// The window is the frame (top bar, status panels, the page control, the close) with the period, the
// sound and the editing commands of the grids' menu; each page is a class of its own in evaluationui.
class THyoutei1Form : public QDialog {
    Q_OBJECT

public:
    THyoutei1Form(EvaluationContext context, const Platform &platform, QWidget *parent = nullptr);
    ~THyoutei1Form() override;

    EvaluationSession &session() { return m_session; }
    const Platform &platform() const { return m_platform; }
    // The period of HyouteiSelect (1..5).
    int currentPeriod() const { return m_period; }
    // The pop-up menu CopyPaste on `grid`: it becomes the menu's grid and the items are enabled for it.
    void copyPastePopup(QTableView *grid);
    // 元に戻す / やり直し (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z): one step of the session, shown on every page.
    void undoClick(bool redo);
    // After a write of the result files: the status panel says when it ended the undo history.
    void noteHistoryCleared(const QString &message = QString());

    // Where the print windows print; null: the system's print dialog.
    void setPrintTarget(PrintTarget *target) { m_printTarget = target; }
    PrintTarget *printTarget() const { return m_printTarget; }

    void reject() override;

    // For the pages.
    evaluationui::ScorePage &scorePage() const { return *m_scorePage; }
    evaluationui::ViewpointRatioPage &viewpointPage() const { return *m_viewpointPage; }
    evaluationui::ItemRatioPage &itemRatioPage() const { return *m_itemRatioPage; }
    evaluationui::ResultPage &resultPage() const { return *m_resultPage; }
    evaluationui::AnalysisPage &analysisPage() const { return *m_analysisPage; }
    evaluationui::PastePage &pastePage() const { return *m_pastePage; }
    // Period `index` of HyouteiSelect chosen: the results, the counts, the status and the student list
    // follow it.
    void selectPeriod(int index);
    void refreshStatus();
    // Panel 0..4 of StatusBar1.
    void setStatusText(int panel, const QString &text);
    bool soundOn() const { return m_soundOn; }
    // The digit spoken in the chosen voice when the sound is on; none for -1.
    void speak(int digit);
    // Saves what changed before a transfer or a print; the status says so. False with the error shown.
    bool autoSave();
    void showPage(int index);
    // The menu's paste on `grid`, when the menu allows it there.
    void pasteInto(QTableView *grid);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildTopBar(QWidget *bar);

    void opening();
    void restoreUserState();
    void storeUserState();
    void applyFontSize(int size);
    void setSoundOn(bool on);

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
    void closeClick();

    EvaluationSession m_session;
    Platform m_platform;
    bool m_opened = false;
    int m_period = 1;
    bool m_soundOn = false;
    bool m_girlsVoice = true;
    int m_fontSize = 11;
    bool m_skipSave = false;

    QLabel *m_header = nullptr;
    QPushButton *m_soundButton = nullptr;
    QToolButton *m_voiceButton = nullptr;
    QButtonGroup *m_fontButtons = nullptr;
    std::array<QLabel *, 5> m_status{};

    QTabWidget *m_pages = nullptr;
    evaluationui::ScorePage *m_scorePage = nullptr;
    evaluationui::ViewpointRatioPage *m_viewpointPage = nullptr;
    evaluationui::ItemRatioPage *m_itemRatioPage = nullptr;
    evaluationui::ResultPage *m_resultPage = nullptr;
    evaluationui::AnalysisPage *m_analysisPage = nullptr;
    // A tab only when a paste is allowed; owned by the window until then.
    evaluationui::PastePage *m_pastePage = nullptr;
    PrintTarget *m_printTarget = nullptr;

    // The grids of the pages, for the editing commands.
    QTableView *m_tokuten = nullptr;
    QTableView *m_kantenGrid = nullptr;
    QTableView *m_wariai = nullptr;
    QTableView *m_hyouteiGrid = nullptr;
    QTableView *m_analysisGrid = nullptr;
    QTableView *m_importGrid = nullptr;

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
    QPushButton *m_closeButton = nullptr;
};

} // namespace tavro
