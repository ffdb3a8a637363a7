// 元に戻す / やり直し of the evaluation window: the session puts a step back, every page shows it again.
#include "evaluation/ui/Hyoutei1Form.h"

#include "evaluation/ui/AnalysisPage.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/PastePage.h"
#include "evaluation/ui/ScorePage.h"
#include "platform/SoundPlayer.h"
#include "widgets/FrozenTableView.h"

#include <QLabel>

namespace tavro {

void THyoutei1Form::undoClick(bool redo) {
    if (m_session.readOnly())
        return;
    if (!(redo ? m_session.redo() : m_session.undo())) {
        if (m_platform.sound)
            m_platform.sound->beep();
        return;
    }
    // What the edit refreshed: the score grid, the ratio grids with their charts, the comments.
    const EvaluationSession::Undone &undone = m_session.undone();
    if (undone.scores || undone.items)
        m_scorePage->model().refreshAll();
    if (undone.ratios || undone.items)
        afterRatioEdit();
    if (undone.comments) {
        m_pastePage->model().refreshAll();
        m_analysisPage->showCurrentStudent();
    }
    m_scorePage->scoreCellChanged(m_tokuten->currentIndex());
    refreshStatus();
}

void THyoutei1Form::noteHistoryCleared(const QString &message) {
    if (!m_session.takeHistoryCleared())
        return;
    const QString note = undoHistoryClearedMessage();
    m_status[4]->setText(message.isEmpty() ? note : message + QStringLiteral("　") + note);
}

} // namespace tavro
