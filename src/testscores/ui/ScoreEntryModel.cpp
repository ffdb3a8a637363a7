#include "testscores/ui/ScoreEntryModel.h"

#include "testscores/ScoreEntrySession.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace tavro::scoreentryui {

namespace {

const QColor kWhite(255, 255, 255);
const QColor kCurrent(255, 255, 0);
const QColor kOverFull(255, 192, 192);
const QColor kOverFullCurrent(255, 0, 0);

QColor buttonFace() {
    return QGuiApplication::palette().color(QPalette::Button);
}

} // namespace

void ScoreEntryModel::cellOf(const QModelIndex &index, int &row, int &field) {
    const int block = index.column() / kBlockColumns;
    row = block * kBlockRows + index.row() + 1;
    field = index.column() % kBlockColumns - 1;
}

QModelIndex ScoreEntryModel::indexOf(int row, int field) const {
    const int block = (row - 1) / kBlockRows;
    return index((row - 1) % kBlockRows, block * kBlockColumns + field + 1);
}

int ScoreEntryModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kBlockRows;
}

int ScoreEntryModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 2 * kBlockColumns;
}

QVariant ScoreEntryModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || m_session.tabCount() == 0)
        return {};
    int row = 0, field = 0;
    cellOf(index, row, field);
    const scoreentry::Cursor &cursor = m_session.cursor();
    const int tab = cursor.tab;
    switch (role) {
    case Qt::DisplayRole:
        return field < 0 ? m_session.rowLabel(tab, row)
                         : scoreentry::scoreText(m_session.score(tab, row, field));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(field < 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                             : Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
        if (field < 0)
            return buttonFace();
        const bool current = row == cursor.row && field == cursor.column;
        const bool over = m_session.isOverFull(tab, row, field);
        if (current)
            return over ? kOverFullCurrent : kCurrent;
        if (over)
            return kOverFull;
        const bool typed = m_session.byViewpoint() ? field >= 1 : field == 0;
        return typed ? kWhite : buttonFace();
    }
    case Qt::ForegroundRole:
        if (field >= 0 && row == cursor.row && field == cursor.column &&
            m_session.isOverFull(tab, row, field))
            return QColor(255, 255, 255);
        return QColor(0, 0, 0);
    default:
        return {};
    }
}

QVariant ScoreEntryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QString headers[kBlockColumns] = {QStringLiteral("No 　氏　　　名"),
                                                   QStringLiteral("合計"),
                                                   QStringLiteral("観①"),
                                                   QStringLiteral("観②"),
                                                   QStringLiteral("観③"),
                                                   QStringLiteral("観④"),
                                                   QStringLiteral("観⑤")};
    return headers[section % kBlockColumns];
}

void ScoreEntryModel::refreshRow(int row) {
    emit dataChanged(indexOf(row, -1), indexOf(row, 5));
}

void ScoreEntryModel::refreshAll() {
    emit dataChanged(index(0, 0), index(kBlockRows - 1, 2 * kBlockColumns - 1));
}

} // namespace tavro::scoreentryui
