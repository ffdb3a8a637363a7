#pragma once

#include <QAbstractTableModel>

namespace tavro {

class ScoreEntrySession;

namespace scoreentryui {

// The grid of the score-entry window: the current tab's 30 rows as two blocks of 15 side by side,
// each block a student label, the total and viewpoints 1..5. Reads the session directly.
class ScoreEntryModel final : public QAbstractTableModel {
public:
    static constexpr int kBlockRows = 15;
    static constexpr int kBlockColumns = 7;

    explicit ScoreEntryModel(ScoreEntrySession &session, QObject *parent = nullptr)
        : QAbstractTableModel(parent), m_session(session) {}

    // Row 1..30 and field (-1 the label, 0 the total, 1..5 the viewpoints) of a cell, and back.
    static void cellOf(const QModelIndex &index, int &row, int &field);
    QModelIndex indexOf(int row, int field) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Repaint of one row's cells, or of the whole half.
    void refreshRow(int row);
    void refreshAll();

private:
    ScoreEntrySession &m_session;
};

} // namespace scoreentryui
} // namespace tavro
