#include "evaluation/Checks.h"

#include "common/Rounding.h"
#include "common/Width.h"

#include <cmath>

namespace tavro::checks {

namespace {

const QString kViewpointLabels[kViewpoints] = {QStringLiteral("①"), QStringLiteral("②"), QStringLiteral("③"),
                                               QStringLiteral("④"), QStringLiteral("⑤"), QStringLiteral("⑥")};

} // namespace

int symbolIndex(const YearSettings &settings, int pattern, const QString &text) {
    if (pattern < 1 || pattern > 5 || text.isEmpty())
        return 0;
    const auto &kigou = settings.patterns[std::size_t(pattern - 1)].kigou;
    for (int j = 10; j >= 1; --j)
        if (kigou[std::size_t(j - 1)] == text)
            return j;
    return 0;
}

QString changeSymbol(int d) {
    if (d >= 2)
        return QStringLiteral("▲");
    if (d == 1)
        return QStringLiteral("△");
    if (d == -1)
        return QStringLiteral("▽");
    if (d <= -2)
        return QStringLiteral("▼");
    return QString();
}

CheckSymbols::CheckSymbols() : m_symbols(std::size_t(kPeriods) * kSlots) {}

void CheckSymbols::refresh(const EvaluationSheet &sheet) {
    refreshChange(sheet);
    refreshConsistency(sheet);
    refreshBorderAndConversion(sheet);
}

void CheckSymbols::refreshChange(const EvaluationSheet &sheet) {
    for (int slot = 0; slot < kSlots; ++slot)
        ref(1, slot).change.clear();
    const YearSettings::Patterns &p = sheet.patterns();
    for (int k = 2; k <= kPeriods; ++k) {
        const int e = p.hikaku[std::size_t(k - 1)];
        if (e < 1 || e >= k)
            continue; // no comparison: left as it is
        for (int slot : sheet.rows) {
            const QString &later = sheet.results.at(k, slot).evaluation;
            const QString &earlier = sheet.results.at(e, slot).evaluation;
            QString &symbol = ref(k, slot).change;
            symbol.clear();
            if (later.isEmpty() || earlier.isEmpty())
                continue;
            const int a = symbolIndex(sheet.settings, p.hyouteiPatern[std::size_t(e - 1)], earlier);
            const int b = symbolIndex(sheet.settings, p.hyouteiPatern[std::size_t(k - 1)], later);
            if (a > 0 && b > 0) // an evaluation outside its pattern has no place to compare
                symbol = changeSymbol(a - b);
        }
    }
}

void CheckSymbols::refreshConsistency(const EvaluationSheet &sheet) {
    for (Symbols &s : m_symbols) {
        s.consistency.clear();
        s.consistencyDetail.clear();
    }
    const YearSettings &s = sheet.settings;
    const int y = s.consistencyItem[0];
    std::vector<int> targets;
    for (int i = 1; i <= 3; ++i)
        if (isPeriod(s.consistencyItem[std::size_t(i)]))
            targets.push_back(s.consistencyItem[std::size_t(i)]);
    // Without targets there is nothing to be consistent with: no check.
    m_yearEnd = s.consistency && isPeriod(y) && !targets.empty() ? y : 0;
    if (m_yearEnd == 0)
        return;
    const YearSettings::Patterns &p = sheet.patterns();
    const int n = int(targets.size());
    for (int slot : sheet.rows) {
        const StudentResult &year = sheet.results.at(y, slot);
        bool empty = year.evaluation.isEmpty();
        for (int t : targets)
            empty = empty || sheet.results.at(t, slot).evaluation.isEmpty();
        if (empty)
            continue;
        Symbols &out = ref(y, slot);
        for (int v = 1; v <= kViewpoints; ++v) {
            if (sheet.worksheet.viewpointRatio(y, v) == 0)
                continue;
            int low = 11, high = 0;
            for (int t : targets) {
                const int i = symbolIndex(s, p.kantenPatern[std::size_t(t - 1)],
                                          sheet.results.at(t, slot).marks[std::size_t(v - 1)]);
                if (i > 0) {
                    low = std::min(low, i);
                    high = std::max(high, i);
                }
            }
            if (high == 0)
                continue; // no target mark to compare with
            const int i = symbolIndex(s, p.kantenPatern[std::size_t(y - 1)], year.marks[std::size_t(v - 1)]);
            if (i < low || i > high) {
                out.consistency = QStringLiteral("☆");
                out.consistencyDetail = QStringLiteral("☆") + kViewpointLabels[v - 1];
            }
        }
        int sum = 0;
        for (int t : targets)
            sum += symbolIndex(s, p.hyouteiPatern[std::size_t(t - 1)], sheet.results.at(t, slot).evaluation);
        const int yi = symbolIndex(s, p.hyouteiPatern[std::size_t(y - 1)], year.evaluation);
        if (std::abs(sum - yi * n) > n - 1) {
            out.consistency = QStringLiteral("★");
            out.consistencyDetail = QStringLiteral("★") + out.consistencyDetail;
        }
    }
}

QString conversionValue(const StudentResult &result, int kanHyouHenkan, bool elective) {
    int n = 0, t = 0;
    for (int v = 0; v < kViewpoints; ++v) {
        if (!(result.viewpointPercentages[std::size_t(v)] > kNoPercentage))
            continue;
        ++n;
        const QString first = width::toHalfWidth(result.marks[std::size_t(v)]).left(1);
        if (first == QLatin1String("A"))
            t += elective ? 3 : 5;
        else if (first == QLatin1String("B"))
            t += elective ? 2 : 3;
        else if (first == QLatin1String("C"))
            t += 1;
    }
    if (t < 2 || n < 2)
        return QString();
    const std::int64_t g =
        kanHyouHenkan == 0 ? rounding::addHalfTruncate(double(t) / n) : rounding::halfEven(10.0 * t / n) / 10;
    return elective ? QString(QChar(char16_t(68 - g))) : QString::number(g);
}

void CheckSymbols::refreshBorderAndConversion(const EvaluationSheet &sheet) {
    const YearSettings &s = sheet.settings;
    const YearSettings::Patterns &p = sheet.patterns();
    const int b = s.borderCheck;
    for (int k = 1; k <= kPeriods; ++k) {
        const int h = p.hyouteiPatern[std::size_t(k - 1)];
        for (int slot : sheet.rows) {
            const StudentResult &r = sheet.results.at(k, slot);
            Symbols &out = ref(k, slot);
            out.border.clear();
            out.conversion.clear();
            if (s.compareKanten) {
                const QString value = conversionValue(r, s.kanHyouHenkan, sheet.elective);
                if (value != r.evaluation)
                    out.conversion = value;
            }
            // "BorderCheck" 0 is "しない": no border symbols at all.
            if (r.evaluation.isEmpty() || b <= 0 || h < 1 || h > 5)
                continue;
            const int g = symbolIndex(s, h, r.evaluation);
            if (g < 1 || g > 9)
                continue;
            const auto &cut = s.patterns[std::size_t(h - 1)].cutPoint;
            if (cut[std::size_t(g - 1)] == 0)
                continue;
            const double percentage = r.percentage;
            if (g < 10 && cut[std::size_t(g - 1)] + b > percentage)
                out.border = QStringLiteral("-");
            else if (g >= 2 && percentage > cut[std::size_t(g - 2)] - b)
                out.border = QStringLiteral("+");
        }
    }
}

QString CheckSymbols::companion(int period, int slot) const {
    const Symbols &s = at(period, slot);
    QString text = s.border + s.change;
    if (period == m_yearEnd)
        text += s.consistency;
    return text + s.conversion;
}

Distribution distribution(const EvaluationResults &results, const YearSettings &settings, bool elective,
                          int period, int tab) {
    Distribution d;
    if (!isPeriod(period) || tab < 0 || tab > kViewpoints)
        return d;
    const YearSettings::Patterns &p = elective ? settings.sentaku : settings.hissu;
    const int pattern =
        tab == 0 ? p.hyouteiPatern[std::size_t(period - 1)] : p.kantenPatern[std::size_t(period - 1)];
    if (pattern < 1 || pattern > 5)
        return d;
    d.symbols = settings.patterns[std::size_t(pattern - 1)].kigou;
    for (int slot = 0; slot < kSlots; ++slot) {
        const StudentResult &r = results.at(period, slot);
        const QString &text = tab == 0 ? r.evaluation : r.marks[std::size_t(tab - 1)];
        if (text.isEmpty())
            continue;
        for (int row = 0; row < 10; ++row) {
            if (d.symbols[std::size_t(row)].isEmpty() || d.symbols[std::size_t(row)] != text)
                continue;
            const std::size_t cls = std::size_t(classOfSlot(slot) - 1);
            ++d.counts[std::size_t(row)][cls];
            ++d.counts[std::size_t(row)][12];
            ++d.counts[10][cls];
            ++d.counts[10][12];
        }
    }
    return d;
}

} // namespace tavro::checks
