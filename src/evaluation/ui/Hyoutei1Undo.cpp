// 元に戻す / やり直し of the evaluation window: the session puts a step back, every page shows it again.
#include "evaluation/ui/Hyoutei1Form.h"

#include "evaluation/ui/EvaluationModels.h"
#include "platform/SoundPlayer.h"
#include "widgets/FrozenTableView.h"

#include <QLabel>
#include <QListWidget>
#include <QTableView>

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
        m_scoreModel->refreshAll();
    if (undone.ratios || undone.items)
        afterRatioEdit();
    if (undone.comments) {
        m_pasteModel->refreshAll();
        if (m_studentList->currentRow() >= 0)
            showStudent(m_studentList->currentRow());
    }
    scoreCellChanged(m_tokuten->currentIndex());
    refreshStatus();
}

void THyoutei1Form::noteHistoryCleared(const QString &message) {
    if (!m_session.takeHistoryCleared())
        return;
    const QString note = undoHistoryClearedMessage();
    m_status[4]->setText(message.isEmpty() ? note : message + QStringLiteral("　") + note);
}

} // namespace tavro
