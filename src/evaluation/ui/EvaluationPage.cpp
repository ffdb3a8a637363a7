#include "evaluation/ui/EvaluationPage.h"

#include "evaluation/Results.h"
#include "evaluation/ui/EvaluationModels.h"
#include "evaluation/ui/Hyoutei1Form.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>

namespace tavro::evaluationui {

using gridkeys::Key;
using gridkeys::KeyPress;

EvaluationPage::EvaluationPage(THyoutei1Form &form)
    : m_form(form), m_session(form.session()), m_platform(form.platform()) {}

bool EvaluationPage::nextRowKey(QTableView *view, const QModelIndex &current, const KeyPress &key) {
    if (key.key != Key::Enter && key.key != Key::Space)
        return false;
    const int row = std::min(current.row() + 1, view->model()->rowCount() - 1);
    view->setCurrentIndex(view->model()->index(row, current.column()));
    return true;
}

std::optional<KeyPress> keyPressOf(const QKeyEvent *event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (event->key()) {
    case Qt::Key_Backspace:
        return KeyPress::of(Key::Backspace);
    case Qt::Key_Delete:
        return KeyPress::of(Key::Delete);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyPress::of(Key::Enter);
    case Qt::Key_Space:
        return KeyPress::of(Key::Space);
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() == 1 && text.at(0).isPrint())
        return KeyPress::character(text.at(0));
    return std::nullopt;
}

QString dateTimeText(double days) {
    return fromDayCount(days).toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
}

QLabel *note(const QString &text, const QString &colour) {
    auto *label = new QLabel(text);
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(colour));
    return label;
}

QTableWidget *smallGrid(const QString &name, const QStringList &headers) {
    auto *grid = new QTableWidget(0, int(headers.size()));
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headers);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    return grid;
}

void setCell(QTableWidget *grid, int row, int column, const QString &text, const QColor &foreground) {
    auto *item = new QTableWidgetItem(text);
    if (foreground.isValid())
        item->setForeground(foreground);
    grid->setItem(row, column, item);
}

std::vector<charts::Point> chartPoints(const std::vector<views::ChartPoint> &points, bool byKind) {
    static const QColor kPalette[] = {QColor(128, 176, 232), QColor(240, 176, 112), QColor(160, 216, 144),
                                      QColor(216, 160, 216), QColor(240, 224, 128), QColor(144, 208, 208)};
    std::vector<charts::Point> out;
    for (std::size_t i = 0; i < points.size(); ++i) {
        QColor colour = byKind ? kindColor(points[i].role) : kPalette[i % std::size(kPalette)];
        if (!byKind && points[i].role == 1)
            colour = QColor(232, 72, 48);
        if (!colour.isValid())
            colour = QColor(224, 224, 224);
        out.push_back({points[i].label, points[i].value, colour});
    }
    return out;
}

} // namespace tavro::evaluationui
