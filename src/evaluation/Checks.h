#pragma once

#include "evaluation/Calculation.h"

#include <QString>
#include <array>
#include <vector>

// The check symbols of the results (change, year-end consistency, border, conversion), shown in the
// companion column "記" of each period, and the distribution table of one period.
namespace tavro::checks {

// The position 1..10 of `text` in the symbols of pattern `pattern` (1..5), the last one when a symbol
// occurs twice; 0 when the text is empty, not in the list or the pattern is not 1..5.
int symbolIndex(const YearSettings &settings, int pattern, const QString &text);

// "▲" "△" "" "▽" "▼" for the index difference earlier - later.
QString changeSymbol(int difference);

struct Symbols {
    QString change;
    QString consistency; // year-end period only
    QString consistencyDetail;
    QString border;
    QString conversion;
};

class CheckSymbols {
public:
    CheckSymbols();

    // The refresh after loading, calculating or clearing: change, consistency, border and conversion
    // symbols, in that order.
    void refresh(const EvaluationSheet &sheet);
    void refreshChange(const EvaluationSheet &sheet);
    void refreshConsistency(const EvaluationSheet &sheet);
    void refreshBorderAndConversion(const EvaluationSheet &sheet);

    const Symbols &at(int period, int slot) const { return m_symbols[index(period, slot)]; }
    // The companion cell: border, change, consistency (year-end period only) and conversion symbol.
    QString companion(int period, int slot) const;
    // The year-end period of the consistency check, 0 when the check is off.
    int yearEndPeriod() const { return m_yearEnd; }

private:
    static std::size_t index(int period, int slot) {
        return std::size_t(period - 1) * kSlots + std::size_t(slot);
    }
    Symbols &ref(int period, int slot) { return m_symbols[index(period, slot)]; }
    std::vector<Symbols> m_symbols;
    int m_yearEnd = 0;
};

// The conversion value of the six viewpoint marks of a result ("4"; an elective's letter), empty when
// fewer than two viewpoints have a percentage or the points are below 2.
QString conversionValue(const StudentResult &result, int kanHyouHenkan, bool elective);

// The distribution table of `period`: tab 0 counts evaluations against the evaluation pattern, tabs
// 1..6 the marks of that viewpoint against the viewpoint pattern. counts[row][column]: rows 0..9 the
// ten symbols, row 10 the column totals; columns 0..11 classes 1..12, column 12 the whole grade.
struct Distribution {
    std::array<QString, 10> symbols;
    std::array<std::array<int, 13>, 11> counts{};
};
Distribution distribution(const EvaluationResults &results, const YearSettings &settings, bool elective,
                          int period, int tab);

} // namespace tavro::checks
