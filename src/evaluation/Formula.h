#pragma once

#include "evaluation/Worksheet.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Formulas of aggregate items (kind 3): the list form "1,2,3" and the expression form "=[1]*2+[2]*3".
// Referenced scores are read with their special codes; empty, transferred, not submitted and estimate
// marks carry over to the result. A malformed formula never fails loudly: it gives an empty score.
namespace tavro::formula {

// The largest result value; beyond it a result is treated as unusable (its estimate code would not
// fit in 32 bits).
inline constexpr std::int64_t kMaxResult = score::kMaxAggregate;

// A formula that begins with "@SJS" in any letter case: its item is never recomputed.
bool isFrozen(QStringView formula);

// The value of an arithmetic text: characters other than digits and "()*/+-" are removed, innermost
// parenthesised groups are replaced by their value, "*" "/" bind before "+" "-", a "-" at the start or
// after an operator is a sign, a division by 0 gives 0. Empty when the text is malformed or a value
// is not finite. The value is not rounded.
std::optional<double> evaluateArithmetic(QStringView text);

// A value as the decimal text that reproduces it exactly (fixed notation, shortest form).
QString decimalText(double value);

// The score of aggregate item `item` computed from `formula` by substituting the referenced scores
// into the text, exactly as the rules read. `scoreOf(n)` gives the row's score code of item n.
// A frozen formula returns `scoreOf(item)` unchanged.
int evaluateByText(const QString &formula, int item, const std::function<int(int)> &scoreOf);

// One formula parsed once, evaluated for many rows with the same results as evaluateByText().
class Formula {
public:
    Formula() = default;
    static Formula compile(const QString &formula, int item);

    bool isFrozen() const { return m_kind == Kind::Frozen; }
    // The referenced items in the order they are read.
    const std::vector<int> &references() const { return m_refs; }
    // The new score code of the item for the row whose score of item n is `scoreOf(n)`.
    template <class ScoreOf> int evaluate(ScoreOf &&scoreOf) const;
    // The same for slot `slot` of a worksheet.
    int evaluate(const Worksheet &worksheet, int slot) const {
        return evaluate([&](int n) { return worksheet.score(n, slot); });
    }

private:
    enum class Kind { Frozen, List, Expression };
    enum class Op : std::uint8_t { Const, Ref, Neg, Add, Sub, Mul, Div };
    struct Step {
        Op op;
        int ref = 0; // index into m_refs for Op::Ref
        double value = 0;
    };

    // The result of the expression program over the values read.
    int finish(unsigned flags, const double *values) const;
    std::optional<double> run(const double *values) const;
    int evaluateText(const std::function<int(int)> &scoreOf) const;

    Kind m_kind = Kind::List;
    int m_item = 0;
    std::vector<int> m_refs;
    // Expression form: the parsed program when the text allows it, otherwise the text is substituted
    // row by row (adjacent numbers and groups join into one number there).
    bool m_byText = false;
    bool m_malformed = false;
    std::vector<Step> m_program;
    int m_depth = 0;
    QString m_text;
};

// Flags collected while the referenced scores are read.
namespace flag {
inline constexpr unsigned kEmpty = 1;
inline constexpr unsigned kTransferred = 2;
inline constexpr unsigned kNotSubmitted = 4;
inline constexpr unsigned kEstimate = 8;
inline constexpr unsigned kHasValue = 16;
} // namespace flag

// The value a referenced score contributes and the flags it sets.
inline std::int64_t readScore(int s, unsigned &flags) {
    if (s >= 0) {
        flags |= flag::kHasValue;
        return s;
    }
    switch (s) {
    case score::kTransferred:
        flags |= flag::kTransferred;
        return s;
    case score::kAbsent:
        flags |= flag::kEstimate | flag::kHasValue;
        return 0;
    case score::kNotSubmitted:
        flags |= flag::kNotSubmitted;
        return s;
    default:
        break;
    }
    if (s <= score::kEstimateBase) {
        flags |= flag::kEstimate | flag::kHasValue;
        return std::int64_t(score::kEstimateBase) - s;
    }
    flags |= flag::kEmpty; // -1 and unknown codes
    return -1;
}

// The score code from the flags and the value (empty when not usable).
int resultCode(unsigned flags, std::optional<double> value);

template <class ScoreOf> int Formula::evaluate(ScoreOf &&scoreOf) const {
    if (m_kind == Kind::Frozen)
        return scoreOf(m_item);
    if (m_byText)
        return evaluateText(std::function<int(int)>(scoreOf));
    unsigned flags = 0;
    if (m_kind == Kind::List) {
        std::int64_t sum = 0;
        for (int n : m_refs)
            sum += readScore(scoreOf(n), flags);
        if (!(flags & flag::kHasValue))
            return resultCode(flags, std::nullopt);
        return resultCode(flags, double(sum));
    }
    constexpr int kInline = 64;
    double inlineValues[kInline];
    std::vector<double> heap;
    double *values = inlineValues;
    if (m_refs.size() > std::size_t(kInline)) {
        heap.resize(m_refs.size());
        values = heap.data();
    }
    for (std::size_t r = 0; r < m_refs.size(); ++r)
        values[r] = double(readScore(scoreOf(m_refs[r]), flags));
    return finish(flags, values);
}

// Recomputes the aggregate items of rows. Formulas are parsed once when it is built; items are
// computed in ascending order, so an aggregate item sees the fresh value of a lower one and the
// previous value of a higher one.
class Recalculator {
public:
    explicit Recalculator(const Worksheet &worksheet);
    void recalculateRow(Worksheet &worksheet, int slot) const;
    void recalculateRows(Worksheet &worksheet, const std::vector<int> &rows) const;

private:
    struct Entry {
        int item;
        Formula formula;
    };
    std::vector<Entry> m_entries;
};

// Conveniences over Recalculator.
void recalculateRow(Worksheet &worksheet, int slot);
void recalculateRows(Worksheet &worksheet, const std::vector<int> &rows);

} // namespace tavro::formula
