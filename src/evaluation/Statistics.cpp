#include "evaluation/Statistics.h"

#include "common/Rounding.h"
#include "evaluation/Formula.h"

#include <algorithm>
#include <cmath>

namespace tavro {

ItemStatistics::ItemStatistics()
    : mean(kMaxItems, 0.0), deviation(kMaxItems, 0.0), z(Worksheet::kScoreCount, -1.0f) {}

void ItemStatistics::compute(const Worksheet &worksheet, const std::vector<int> &rows) {
    std::fill(mean.begin(), mean.end(), 0.0);
    std::fill(deviation.begin(), deviation.end(), 0.0);
    std::fill(z.begin(), z.end(), -1.0f);
    for (int item = 1; item <= kMaxItems; ++item) {
        if (worksheet.item(item).kind < 1)
            continue;
        const std::int32_t *scores = worksheet.itemScores(item);
        double sum = 0, squares = 0;
        int n = 0;
        for (int slot : rows) {
            const double x = scores[slot];
            if (x >= 0) {
                sum += x;
                squares += x * x;
                ++n;
            }
        }
        if (n < 2)
            continue;
        const double m = sum / n;
        const double s = std::sqrt(std::max(0.0, squares / n - m * m));
        mean[std::size_t(item - 1)] = m;
        deviation[std::size_t(item - 1)] = s;
        if (!(s > 0))
            continue;
        float *out = z.data() + Worksheet::scoreIndex(item, 0);
        for (int slot : rows) {
            const std::int32_t code = scores[slot];
            if (code >= 0)
                out[slot] = float(std::clamp((code - m) * 10.0 / s + 50.0, 0.0, 100.0));
            else if (code <= score::kEstimateBase)
                out[slot] = float(
                    -std::clamp((double(score::kEstimateBase) - code - m) * 10.0 / s + 50.0, 0.0, 100.0));
        }
    }
}

namespace estimate {

namespace {

const QString kLabels[kViewpoints] = {QStringLiteral("①"), QStringLiteral("②"), QStringLiteral("③"),
                                      QStringLiteral("④"), QStringLiteral("⑤"), QStringLiteral("⑥")};

std::int32_t estimateCode(const ItemStatistics &st, int item, int fullScore, double a) {
    const double e = std::clamp((a - 50.0) * st.deviationOf(item) / 10.0 + st.meanOf(item), 0.0,
                                double(std::max(fullScore, 0)));
    return std::int32_t(-(rounding::halfEven(e) + 1000));
}

struct Mean {
    double sum = 0;
    int count = 0;
    void add(double v) {
        sum += v;
        ++count;
    }
};

} // namespace

Method methodOf(int mikomiPatern) {
    return mikomiPatern == 0 ? Method::AllItems : Method::ByViewpoint;
}

std::vector<int> fill(Worksheet &worksheet, const ItemStatistics &statistics, const std::vector<int> &rows,
                      Method method) {
    // Viewpoint labels contained in each periodic-test item name.
    std::vector<std::array<bool, kViewpoints>> labels(kMaxItems);
    for (int item = 1; item <= kMaxItems; ++item) {
        const WorksheetItem &it = worksheet.item(item);
        for (int v = 0; v < kViewpoints; ++v)
            labels[std::size_t(item - 1)][std::size_t(v)] =
                it.kind == itemkind::kPeriodicTest && it.name.contains(kLabels[v]);
    }
    std::vector<int> changed;
    std::vector<int> absent;
    for (int slot : rows) {
        absent.clear();
        for (int item = 1; item <= kMaxItems; ++item)
            if (worksheet.score(item, slot) == score::kAbsent)
                absent.push_back(item);
        if (absent.empty())
            continue;
        if (method == Method::AllItems) {
            Mean all;
            for (int item = 1; item <= kMaxItems; ++item) {
                const int kind = worksheet.item(item).kind;
                const float zi = statistics.standardScore(item, slot);
                if ((kind == 1 || kind == 2 || kind == 4) && worksheet.score(item, slot) != score::kAbsent &&
                    zi > 1)
                    all.add(zi);
            }
            if (all.count == 0)
                continue;
            const double a = all.sum / all.count;
            for (int item : absent) {
                const WorksheetItem &it = worksheet.item(item);
                const bool estimable = (it.kind == 1 || it.kind == 2 || it.kind == 4) &&
                                       statistics.deviationOf(item) > 0 && statistics.meanOf(item) > 0;
                worksheet.score(item, slot) =
                    estimable ? estimateCode(statistics, item, it.fullScore, a) : score::kEstimateBase;
            }
        } else {
            Mean all;
            std::array<Mean, 5> byKind;
            std::array<Mean, kViewpoints> byViewpoint;
            for (int item = 1; item <= kMaxItems; ++item) {
                const int kind = worksheet.item(item).kind;
                const float zi = statistics.standardScore(item, slot);
                if (kind < 1 || kind > 4 || worksheet.score(item, slot) == score::kAbsent || !(zi > 1))
                    continue;
                all.add(zi);
                byKind[std::size_t(kind)].add(zi);
                for (int v = 0; v < kViewpoints; ++v)
                    if (labels[std::size_t(item - 1)][std::size_t(v)])
                        byViewpoint[std::size_t(v)].add(zi);
            }
            for (int item : absent) {
                const WorksheetItem &it = worksheet.item(item);
                const Mean *chosen = nullptr;
                for (int v = 0; v < kViewpoints; ++v)
                    if (labels[std::size_t(item - 1)][std::size_t(v)] &&
                        byViewpoint[std::size_t(v)].count >= 1)
                        chosen = &byViewpoint[std::size_t(v)];
                if (!chosen && it.kind >= 0 && it.kind <= 4 && byKind[std::size_t(it.kind)].count >= 1)
                    chosen = &byKind[std::size_t(it.kind)];
                if (!chosen && all.count >= 1)
                    chosen = &all;
                worksheet.score(item, slot) =
                    chosen ? estimateCode(statistics, item, it.fullScore, chosen->sum / chosen->count)
                           : score::kEstimateBase;
            }
        }
        changed.push_back(slot);
    }
    return changed;
}

std::vector<int> run(Worksheet &worksheet, const std::vector<int> &rows, Method method,
                     ItemStatistics &statistics) {
    statistics.compute(worksheet, rows);
    const std::vector<int> changed = fill(worksheet, statistics, rows, method);
    if (!changed.empty())
        formula::recalculateRows(worksheet, changed);
    statistics.compute(worksheet, rows);
    return changed;
}

} // namespace estimate
} // namespace tavro
