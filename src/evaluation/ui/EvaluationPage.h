#pragma once

#include "evaluation/GridKeys.h"
#include "evaluation/WorksheetViews.h"
#include "platform/Platform.h"
#include "widgets/ChartBuilders.h"

#include <QWidget>

#include <optional>
#include <vector>

class QKeyEvent;
class QLabel;
class QModelIndex;
class QTableView;
class QTableWidget;

namespace tavro {

class EvaluationSession;
class THyoutei1Form;

namespace evaluationui {

inline const QString kCaption = QStringLiteral("TAVRO");

// One page of the evaluation window over the window's session. The window keeps the frame (top bar,
// status panels, the page control, the close) and what the pages share: the period, the sound and the
// editing commands of the grids' menu.
class EvaluationPage : public QWidget {
public:
    explicit EvaluationPage(THyoutei1Form &form);

protected:
    // Enter and Space move the cursor of `view` one row down; true when the key was one of them.
    static bool nextRowKey(QTableView *view, const QModelIndex &current, const gridkeys::KeyPress &key);

    THyoutei1Form &m_form;
    EvaluationSession &m_session;
    const Platform &m_platform;
};

// The key of an unmodified key press, as the grid keys take it.
std::optional<gridkeys::KeyPress> keyPressOf(const QKeyEvent *event);
QString dateTimeText(double days);
QLabel *note(const QString &text, const QString &colour = QStringLiteral("#1f3f7a"));
QTableWidget *smallGrid(const QString &name, const QStringList &headers);
void setCell(QTableWidget *grid, int row, int column, const QString &text,
             const QColor &foreground = QColor());
// Chart points in the palette, or in the kind colours when `byKind`.
std::vector<charts::Point> chartPoints(const std::vector<views::ChartPoint> &points, bool byKind);

} // namespace evaluationui
} // namespace tavro
