#include "evaluation/ui/EvaluationModels.h"

#include "evaluation/EvaluationSession.h"
#include "evaluation/GridKeys.h"
#include "evaluation/WorksheetViews.h"

namespace tavro::evaluationui {

namespace {

const QColor kPink(255, 192, 192);
const QColor kEmptyCell(255, 255, 192);

int slotOfRow(const EvaluationSession &session, int row) {
    return session.rows()[std::size_t(row)];
}

QVariant fixedHeader(int section, const char *const *labels, int count) {
    return section < count ? QVariant(QString::fromUtf8(labels[section])) : QVariant();
}

QVariant rosterCell(const EvaluationSession &session, int row, int column) {
    const int slot = slotOfRow(session, row);
    switch (column) {
    case 0:
        return classCell(session, slot);
    case 1:
        return QStringLiteral(" %1").arg(numberOfSlot(slot));
    default:
        return session.nameOf(slot);
    }
}

} // namespace

QColor kindColor(int kind) {
    switch (kind) {
    case itemkind::kRegular:
        return QColor(192, 255, 192);
    case itemkind::kPeriodicTest:
        return QColor(255, 255, 192);
    case itemkind::kAggregate:
        return QColor(255, 192, 192);
    case itemkind::kAchievementTest:
        return QColor(192, 255, 255);
    default:
        return QColor();
    }
}

QString classCell(const EvaluationSession &session, int slot) {
    const int cls = classOfSlot(slot);
    return QLatin1Char(' ') + (session.context().classType ? QString::number(cls) : QString(QChar(64 + cls)));
}

void SessionModel::refreshRow(int row) {
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void SessionModel::refreshColumn(int column) {
    if (column >= 0 && column < columnCount() && rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void SessionModel::refreshAll() {
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

// ---- TokutenGrid ----

int ScoreModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_session.rows().size());
}

int ScoreModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kFixed + kMaxItems;
}

QVariant ScoreModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const int column = index.column();
    if (column < kFixed)
        return role == Qt::DisplayRole ? rosterCell(m_session, index.row(), column) : QVariant();
    const int item = column - kFixed + 1;
    const int slot = slotOfRow(m_session, index.row());
    const WorksheetItem &it = m_session.worksheet().item(item);
    const int code = m_session.worksheet().score(item, slot);
    switch (role) {
    case Qt::DisplayRole:
        return gridkeys::displayText(code, it.fullScore, it.symbolInput);
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole: {
        if (gridkeys::isWarningCell(code, it.fullScore, it.symbolInput))
            return kPink;
        const QString &name = m_session.rowNames()[std::size_t(index.row())];
        if (it.kind != itemkind::kNone && code == score::kEmpty && !name.isEmpty() &&
            name != QStringLiteral("＊"))
            return kEmptyCell;
        return {};
    }
    default:
        return {};
    }
}

QVariant ScoreModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    static const char *const kLabels[] = {"学級", "番号", "氏    名"};
    if (section < kFixed)
        return role == Qt::DisplayRole ? fixedHeader(section, kLabels, kFixed) : QVariant();
    const int item = section - kFixed + 1;
    const WorksheetItem &it = m_session.worksheet().item(item);
    if (role == Qt::DisplayRole)
        return QString::number(item);
    if (role == Qt::ForegroundRole) {
        if (it.isProtected())
            return QColor(Qt::red);
        if (it.kind == itemkind::kNone)
            return QColor(Qt::gray);
    }
    return {};
}

void ScoreModel::refreshScore(int row, int item) {
    if (row < 0 || row >= rowCount() || item < 1 || item > kMaxItems)
        return;
    const auto cell = [&](int i) {
        const QModelIndex at = index(row, kFixed + i - 1);
        emit dataChanged(at, at);
    };
    cell(item);
    const Worksheet &worksheet = m_session.worksheet();
    for (int i = 1; i <= kMaxItems; ++i)
        if (i != item && worksheet.item(i).kind == itemkind::kAggregate)
            cell(i);
}

// ---- HyouteiGrid4 ----

void ResultModel::setPeriod(int period) {
    m_period = period;
    if (rowCount() > 0)
        emit dataChanged(index(0, 13), index(rowCount() - 1, 25));
}

int ResultModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_session.rows().size());
}

int ResultModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 26;
}

QVariant ResultModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const int column = index.column();
    if (column < 3)
        return role == Qt::DisplayRole ? rosterCell(m_session, index.row(), column) : QVariant();
    const int slot = slotOfRow(m_session, index.row());
    if (role == Qt::ForegroundRole) {
        if (column <= 12 && column % 2 == 0)
            return QColor(Qt::gray);
        if (column == 13)
            return QColor(Qt::blue);
        if (column >= 14 && column % 2 == 0)
            return QColor(0, 128, 0);
        return {};
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant(
            (column == 13 || (column >= 14 && column % 2 == 0) ? Qt::AlignRight : Qt::AlignHCenter) |
            Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (column <= 12) {
        const int period = (column - 1) / 2;
        if (column % 2 == 1)
            return m_session.results().at(period, slot).evaluation;
        return m_session.symbols().companion(period, slot);
    }
    const StudentResult &r = m_session.results().at(m_period, slot);
    if (column == 13)
        return views::percentageText(r.percentage);
    const int viewpoint = (column - 12) / 2;
    if (column % 2 == 0)
        return views::percentageText(r.viewpointPercentages[std::size_t(viewpoint - 1)]);
    return r.marks[std::size_t(viewpoint - 1)];
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::ForegroundRole && section >= 4 && section <= 12 &&
        section % 2 == 0)
        return QColor(Qt::gray);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const kLabels[] = {"学級", "番号", "氏名"};
    if (section < 3)
        return fixedHeader(section, kLabels, 3);
    if (section <= 12)
        return section % 2 == 1 ? views::periodNumeral((section - 1) / 2) : QStringLiteral("記");
    if (section == 13)
        return QStringLiteral("到達度");
    if (section % 2 == 0)
        return QStringLiteral("観点") + views::viewpointNumeral((section - 12) / 2);
    return QString();
}

// ---- KantenGrid ----

int ViewpointRatioModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kPeriods;
}

int ViewpointRatioModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 1 + kViewpoints;
}

QVariant ViewpointRatioModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const int period = index.row() + 1;
    if (index.column() == 0)
        return role == Qt::DisplayRole ? views::periodListText(period, m_session.periodName(period))
                                       : QVariant();
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const int value = m_session.worksheet().viewpointRatio(period, index.column());
    return value == 0 ? QString() : QString::number(value);
}

QVariant ViewpointRatioModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section == 0)
        return {};
    return views::viewpointNumeral(section) + m_session.kanten().shortName[std::size_t(section - 1)];
}

// ---- WariaiGrid3 ----

void ItemRatioModel::rowMeaning(int row, int &period, int &viewpoint) {
    if (row == 0) {
        period = 0;
        viewpoint = 0;
        return;
    }
    period = (row - 1) / 7 + 1;
    viewpoint = (row - 1) % 7;
}

int ItemRatioModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 1 + 7 * kPeriods;
}

int ItemRatioModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 1 + kMaxItems;
}

QVariant ItemRatioModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    int period = 0;
    int viewpoint = 0;
    rowMeaning(index.row(), period, viewpoint);
    const bool header = period > 0 && viewpoint == 0;
    if (index.column() == 0) {
        if (role == Qt::BackgroundRole && header)
            return QColor(224, 232, 248);
        if (role != Qt::DisplayRole)
            return {};
        if (period == 0)
            return QStringLiteral("満点");
        if (header)
            return views::periodListText(period, m_session.periodName(period));
        return QStringLiteral("　観点") + views::viewpointNumeral(viewpoint) +
               m_session.kanten().shortName[std::size_t(viewpoint - 1)];
    }
    const int item = index.column();
    switch (role) {
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        return header ? QVariant(QColor(Qt::blue)) : QVariant();
    case Qt::BackgroundRole:
        if (header)
            return QColor(224, 232, 248);
        if (period == 0) {
            const QColor colour = kindColor(m_session.worksheet().item(item).kind);
            return colour.isValid() ? QVariant(colour) : QVariant();
        }
        return {};
    case Qt::DisplayRole: {
        int value = 0;
        if (period == 0)
            value = m_session.worksheet().item(item).fullScore;
        else if (header)
            value = m_session.weightedShares(period)[std::size_t(item - 1)];
        else
            value = m_session.worksheet().itemRatio(item, period, viewpoint);
        return value == 0 ? QString() : QString::number(value);
    }
    default:
        return {};
    }
}

QVariant ItemRatioModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section == 0)
        return {};
    if (role == Qt::DisplayRole)
        return QString::number(section);
    if (role == Qt::ForegroundRole && m_session.worksheet().item(section).kind == itemkind::kNone)
        return QColor(Qt::gray);
    return {};
}

// ---- ImportGrid ----

void PasteModel::setPeriod(int period) {
    m_period = period;
    if (rowCount() > 0)
        emit dataChanged(index(0, 3), index(rowCount() - 1, 9));
}

int PasteModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_session.rows().size());
}

int PasteModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 10;
}

QVariant PasteModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    if (index.column() < 3)
        return rosterCell(m_session, index.row(), index.column());
    const StudentResult &r = m_session.results().at(m_period, slotOfRow(m_session, index.row()));
    if (index.column() == 9)
        return r.comment;
    return views::pastePercentageText(r.viewpointPercentages[std::size_t(index.column() - 3)]);
}

QVariant PasteModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const kLabels[] = {"学級", "番号", "氏名"};
    if (section < 3)
        return fixedHeader(section, kLabels, 3);
    if (section == 9)
        return QStringLiteral("コメント(14文字以内)");
    return QStringLiteral("観点") + views::viewpointNumeral(section - 2);
}

} // namespace tavro::evaluationui
