#include "evaluation/WorksheetViews.h"

#include "common/NumberText.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/GridKeys.h"

#include <algorithm>
#include <cmath>

namespace tavro::views {

QString kindShortName(int kind) {
    switch (kind) {
    case 1:
        return QStringLiteral("平常");
    case 2:
        return QStringLiteral("定期");
    case 3:
        return QStringLiteral("集計");
    case 4:
        return QStringLiteral("学力");
    default:
        return {};
    }
}

QString fixed2(double value) {
    return numbertext::fixed(value, 2, 3);
}

QString ItemDistribution::countText() const {
    return QString::number(count) + QStringLiteral("人");
}

QString ItemDistribution::meanText() const {
    return count == 0 ? QStringLiteral("平均0.0点")
                      : QStringLiteral("平均") + fixed2(mean) + QStringLiteral("点");
}

ItemDistribution itemDistribution(const Worksheet &worksheet, const std::vector<int> &rows, int item) {
    ItemDistribution d;
    if (!isItem(item))
        return d;
    const std::int32_t *scores = worksheet.itemScores(item);
    int lowest = score::kMaxScore + 1, highest = -1;
    double sum = 0;
    for (int slot : rows) {
        const int s = scores[slot];
        if (s < 0 || s > score::kMaxScore)
            continue;
        lowest = std::min(lowest, s);
        highest = std::max(highest, s);
        sum += s;
        ++d.count;
    }
    if (d.count == 0)
        return d;
    d.lowest = lowest;
    d.highest = highest;
    d.mean = sum / d.count;
    d.counts.assign(std::size_t(highest - lowest + 1), 0);
    for (int slot : rows) {
        const int s = scores[slot];
        if (s >= 0 && s <= score::kMaxScore)
            ++d.counts[std::size_t(s - lowest)];
    }
    return d;
}

std::vector<ClassMean> classMeans(const EvaluationSession &session, int item) {
    std::vector<ClassMean> means;
    if (!isItem(item))
        return means;
    const Worksheet &ws = session.worksheet();
    for (int cls : session.classes()) {
        double sum = 0;
        int n = 0;
        for (int slot : session.rows())
            if (classOfSlot(slot) == cls && ws.score(item, slot) >= 0) {
                sum += ws.score(item, slot);
                ++n;
            }
        if (n > 0)
            means.push_back({cls, session.classLabel(cls), sum / n});
    }
    return means;
}

std::vector<AnalysisRow> analysisRows(const EvaluationSession &session, int slot) {
    std::vector<AnalysisRow> rows;
    const Worksheet &ws = session.worksheet();
    const ItemStatistics &stats = session.statistics();
    for (int item = 1; item <= kMaxItems; ++item) {
        const WorksheetItem &it = ws.item(item);
        if (it.kind < 1 || it.kind > 4)
            continue;
        const int code = ws.score(item, slot);
        AnalysisRow r;
        r.item = item;
        r.kind = kindShortName(it.kind);
        r.name = it.name;
        r.score = gridkeys::displayText(code, it.fullScore, it.symbolInput);
        r.full = QString::number(it.fullScore);
        const float z = stats.standardScore(item, slot);
        if (z == -1.0f)
            r.standardScore = QStringLiteral("   - ");
        else if (z < 0)
            r.standardScore = QLatin1Char('*') + fixed2(-z);
        else
            r.standardScore = fixed2(z);
        if (it.fullScore > 0) {
            if (code < 0)
                r.achievement = QStringLiteral("0.00");
            else if (code > it.fullScore)
                r.achievement = QStringLiteral("100.0+");
            else
                r.achievement = fixed2(code * 100.0 / it.fullScore);
        }
        rows.push_back(std::move(r));
    }
    return rows;
}

QString attainmentByKind(const Worksheet &worksheet, int slot, int period) {
    QString text;
    for (int kind = 1; kind <= 4; ++kind) {
        double a = 0, b = 0;
        for (int item = 1; item <= kMaxItems; ++item) {
            const WorksheetItem &it = worksheet.item(item);
            if (it.kind != kind || it.fullScore == 0)
                continue;
            const int code = worksheet.score(item, slot);
            double t = code >= 0 ? code : score::isEstimate(code) ? score::estimateValue(code) : 0;
            t = std::min(t, double(it.fullScore));
            for (int v = 1; v <= kViewpoints; ++v) {
                const int w = worksheet.itemRatio(item, period, v);
                if (w == 0)
                    continue;
                const int r = worksheet.viewpointRatio(period, v);
                a += t * w / it.fullScore * r;
                b += double(w) * r;
            }
        }
        if (b >= 1)
            text += kindShortName(kind).left(1) +
                    (a == 0 ? QStringLiteral("  0") : numbertext::fixed(a / b * 100, 0, 3)) + u' ';
    }
    return text;
}

std::vector<ChartPoint> sharePie(const EvaluationSession &session, int period, int tab) {
    std::vector<ChartPoint> points;
    if (!isPeriod(period))
        return points;
    const Worksheet &ws = session.worksheet();
    const std::vector<int> *shares = tab == 0 ? &session.weightedShares(period) : nullptr;
    for (int item = 1; item <= kMaxItems; ++item) {
        const int value = shares             ? (*shares)[std::size_t(item - 1)]
                          : isViewpoint(tab) ? ws.itemRatio(item, period, tab)
                                             : 0;
        if (value < 1)
            continue;
        const WorksheetItem &it = ws.item(item);
        points.push_back({it.name.isEmpty() ? QString::number(item) : it.name, double(value), it.kind});
    }
    return points;
}

QString sharePieTitle(const EvaluationSession &session, int period, int tab) {
    const QString what = tab == 0 ? QStringLiteral("評定の割合")
                                  : session.kanten().shortName[std::size_t(std::clamp(tab, 1, 6) - 1)];
    return session.periodName(period) + QStringLiteral("の 「") + what + QStringLiteral("」");
}

std::vector<ChartPoint> viewpointRatioPie(const EvaluationSession &session, int period) {
    std::vector<ChartPoint> points;
    if (!isPeriod(period))
        return points;
    const Worksheet &ws = session.worksheet();
    double sum = 0;
    for (int v = 1; v <= kViewpoints; ++v) {
        const int r = ws.viewpointRatio(period, v);
        if (r > 0) {
            points.push_back(
                {viewpointNumeral(v) + session.kanten().shortName[std::size_t(v - 1)], double(r), 0});
            sum += r;
        }
    }
    if (points.size() >= 3) {
        const double mean = sum / double(points.size());
        for (ChartPoint &p : points)
            p.role = p.value >= 2 * mean ? 1 : 0;
    }
    return points;
}

std::vector<ChartPoint> itemRatioSums(const EvaluationSession &session, int period) {
    std::vector<ChartPoint> points;
    if (!isPeriod(period))
        return points;
    const Worksheet &ws = session.worksheet();
    for (int v = 1; v <= kViewpoints; ++v) {
        double sum = 0;
        for (int item = 1; item <= kMaxItems; ++item) {
            const int w = ws.itemRatio(item, period, v);
            if (w >= 1)
                sum += w;
        }
        if (sum > 0)
            points.push_back({viewpointNumeral(v) + session.kanten().shortName[std::size_t(v - 1)], sum, 0});
    }
    return points;
}

std::vector<ChartPoint> kindPie(const EvaluationSession &session, int period) {
    std::vector<ChartPoint> points;
    if (!isPeriod(period))
        return points;
    const Worksheet &ws = session.worksheet();
    std::array<double, 5> byKind{};
    for (int v = 1; v <= kViewpoints; ++v) {
        std::array<double, 5> sums{};
        double total = 0;
        for (int item = 1; item <= kMaxItems; ++item) {
            const int kind = ws.item(item).kind;
            const int w = ws.itemRatio(item, period, v);
            if (kind < 1 || kind > 4 || w <= 0)
                continue;
            sums[std::size_t(kind)] += w;
            total += w;
        }
        if (total <= 0)
            continue;
        for (int kind = 1; kind <= 4; ++kind)
            byKind[std::size_t(kind)] += sums[std::size_t(kind)] / total * ws.viewpointRatio(period, v) * 100;
    }
    for (int kind = 1; kind <= 4; ++kind)
        if (byKind[std::size_t(kind)] > 0)
            points.push_back({kindShortName(kind), byKind[std::size_t(kind)], kind});
    return points;
}

QString ratioChartTitle(const EvaluationSession &session, int period, const QString &chartName) {
    return periodNumeral(period) + u':' + session.periodName(period) + chartName;
}

QString periodTabText(int period, const QString &name) {
    return periodNumeral(period) + QStringLiteral("：") + name;
}

QString periodListText(int period, const QString &name) {
    return periodNumeral(period) + u':' + name;
}

QString periodNumeral(int period) {
    return period >= 1 && period <= 5 ? QString(QChar(0x2160 + period - 1)) : QString();
}

QString viewpointNumeral(int viewpoint) {
    return viewpoint >= 1 && viewpoint <= 6 ? QString(QChar(0x2460 + viewpoint - 1)) : QString();
}

QString percentageText(float percentage) {
    return percentage > -1.0f ? numbertext::fixed(double(percentage), 6) : QString();
}

QString pastePercentageText(float percentage) {
    return percentage > -1.0f ? numbertext::fixed(double(percentage), 4, 8) : QString();
}

} // namespace tavro::views
