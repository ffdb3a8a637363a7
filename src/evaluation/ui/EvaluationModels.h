#pragma once

#include <QAbstractTableModel>
#include <QColor>

namespace tavro {

class EvaluationSession;

namespace evaluationui {

// Kind colours of items 1..4 (invalid for no kind).
QColor kindColor(int kind);
// " 1" or " A": the class column of the grids.
QString classCell(const EvaluationSession &session, int slot);

// Base of the window's grids: they read the session directly and are told which rows changed.
class SessionModel : public QAbstractTableModel {
public:
    explicit SessionModel(EvaluationSession &session, QObject *parent = nullptr)
        : QAbstractTableModel(parent), m_session(session) {}
    // Repaint of one row, one column or everything, without a reset.
    void refreshRow(int row);
    void refreshColumn(int column);
    void refreshAll();
    // After the session loaded: the rows are new.
    void reloadRows() {
        beginResetModel();
        endResetModel();
    }

protected:
    EvaluationSession &m_session;
};

// TokutenGrid: one row per roster row; "学級", "番号", "氏    名" and items 1..999.
class ScoreModel final : public SessionModel {
public:
    using SessionModel::SessionModel;
    static constexpr int kFixed = 3;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Repaint of what a new score of `item` in `row` changes: its cell and the row's aggregate items.
    void refreshScore(int row, int item);
};

// HyouteiGrid4: evaluations and companions of the five periods, then the current period's overall
// percentage, viewpoint percentages and marks.
class ResultModel final : public SessionModel {
public:
    using SessionModel::SessionModel;
    void setPeriod(int period);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    int m_period = 1;
};

// KantenGrid: one row per period, one column per viewpoint after the period label.
class ViewpointRatioModel final : public SessionModel {
public:
    using SessionModel::SessionModel;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
};

// WariaiGrid3: row 0 the full scores; per period a header row with the weighted shares and six
// viewpoint rows of item ratios. Column 0 the row label, columns 1..999 the items.
class ItemRatioModel final : public SessionModel {
public:
    using SessionModel::SessionModel;
    // Period and viewpoint (0: the block's header row) of a row; period 0 for the full-score row.
    static void rowMeaning(int row, int &period, int &viewpoint);
    static int headerRowOf(int period) { return 7 * period - 6; }
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
};

// ImportGrid: the roster rows with the chosen period's viewpoint percentages and comment.
class PasteModel final : public SessionModel {
public:
    using SessionModel::SessionModel;
    void setPeriod(int period);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    int m_period = 1;
};

} // namespace evaluationui
} // namespace tavro
