#pragma once

#include "config/Roster.h"

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// The in-memory evaluation worksheet of one teacher, year, grade and subject: items 1..999, their
// ratios per period and viewpoint, and every student's score per item. Storage is flat and indexed
// by the helpers below, so grids and the calculation read it directly.
namespace tavro {

inline constexpr int kMaxItems = 999;
inline constexpr int kPeriods = 5;
inline constexpr int kViewpoints = 6;
inline constexpr int kSlots = kMaxClasses * kSeatsPerClass; // 720 (class 1..12 x number 1..60)
inline constexpr int kMaxTextBytes = 255;                   // stored texts, code page 932 bytes

constexpr bool isItem(int item) {
    return item >= 1 && item <= kMaxItems;
}
constexpr bool isPeriod(int period) {
    return period >= 1 && period <= kPeriods;
}
constexpr bool isViewpoint(int viewpoint) {
    return viewpoint >= 1 && viewpoint <= kViewpoints;
}
constexpr bool isClass(int cls) {
    return cls >= 1 && cls <= kMaxClasses;
}
constexpr bool isNumber(int number) {
    return number >= 1 && number <= kSeatsPerClass;
}

// Student seats. A slot is (class - 1) * 60 + (number - 1), 0..719; a slot code is class * 100 +
// number (305 = class 3, number 5).
constexpr int slotOf(int cls, int number) {
    return (cls - 1) * kSeatsPerClass + (number - 1);
}
constexpr int classOfSlot(int slot) {
    return slot / kSeatsPerClass + 1;
}
constexpr int numberOfSlot(int slot) {
    return slot % kSeatsPerClass + 1;
}
constexpr int slotCodeOf(int slot) {
    return classOfSlot(slot) * 100 + numberOfSlot(slot);
}
// The slot of a code class * 100 + number, or -1 when class or number is out of range.
constexpr int slotOfCode(int code) {
    const int cls = code / 100;
    const int number = code % 100;
    return code > 0 && isClass(cls) && isNumber(number) ? slotOf(cls, number) : -1;
}

// Score codes of the worksheet.
namespace score {
inline constexpr int kEmpty = -1;        // not entered
inline constexpr int kTransferred = -2;  // "-"
inline constexpr int kAbsent = -3;       // "*": an estimate is still required
inline constexpr int kNotSubmitted = -4; // "/"
inline constexpr int kEstimateBase = -1000;
inline constexpr int kMaxScore = 999;

// The largest value an aggregate item's formula stores: its results have no bound of their own (a sum
// of many items passes 999), only the estimate code -1000 - v has to fit in 32 bits.
inline constexpr int kMaxAggregate = 2147483647 - 1000;

// An estimated score v is stored as -1000 - v: v is 0..999 when entered, any result of an aggregate's
// formula.
constexpr bool isEstimate(int code) {
    return code <= kEstimateBase && code >= kEstimateBase - kMaxAggregate;
}
constexpr int estimate(int value) {
    return kEstimateBase - value;
}
constexpr int estimateValue(int code) {
    return kEstimateBase - code;
}
// Whether `code` is a score an item can hold: entered and imported scores are 0..999, aggregate items
// (`aggregate`) hold any formula result.
constexpr bool isValidCode(int code, bool aggregate) {
    const int highest = aggregate ? kMaxAggregate : kMaxScore;
    return (code >= kNotSubmitted && code <= highest) ||
           (code <= kEstimateBase && code >= kEstimateBase - highest);
}
} // namespace score

// Item kinds, in the order of the item dialog's kind list.
namespace itemkind {
inline constexpr int kNone = 0;
inline constexpr int kRegular = 1;         // 平常点
inline constexpr int kPeriodicTest = 2;    // 定期テスト (imported)
inline constexpr int kAggregate = 3;       // 集計セル (formula)
inline constexpr int kAchievementTest = 4; // 学力(実力) (imported)
} // namespace itemkind

struct WorksheetItem {
    QString name;
    int kind = itemkind::kNone;
    int link = 0; // test link code: test * 100 + viewpoint * 10 + (0 periodic, 1/2 技家 half, 5 achievement)
    QString formula;             // list form, "=" expression, "@SJS..." or "K" (symbol input)
    std::uint8_t protection = 0; // nonzero: protected
    int fullScore = 0;
    bool symbolInput = false; // not stored: set on load for kind 1 with formula "K"

    bool isProtected() const { return protection != 0; }
    // True when any stored field differs from the default.
    bool isSet() const {
        return !name.isEmpty() || kind != 0 || link != 0 || !formula.isEmpty() || protection != 0 ||
               fullScore != 0;
    }
};

struct Worksheet {
    static constexpr std::size_t kScoreCount = std::size_t(kMaxItems) * kSlots;
    static constexpr std::size_t kItemRatioCount = std::size_t(kMaxItems) * kPeriods * kViewpoints;

    std::vector<WorksheetItem> items;     // kMaxItems entries, index item - 1
    std::vector<std::int32_t> scores;     // kScoreCount, index scoreIndex(item, slot); item-major
    std::vector<std::int32_t> itemRatios; // kItemRatioCount, index itemRatioIndex(item, period, viewpoint)
    std::array<std::int32_t, kPeriods * kViewpoints> viewpointRatios{}; // index viewpointRatioIndex

    // A new worksheet: every value at its default.
    Worksheet();
    void reset();

    static constexpr std::size_t scoreIndex(int item, int slot) {
        return std::size_t(item - 1) * kSlots + std::size_t(slot);
    }
    static constexpr std::size_t itemRatioIndex(int item, int period, int viewpoint) {
        return (std::size_t(item - 1) * kPeriods + std::size_t(period - 1)) * kViewpoints +
               std::size_t(viewpoint - 1);
    }
    static constexpr std::size_t viewpointRatioIndex(int period, int viewpoint) {
        return std::size_t(period - 1) * kViewpoints + std::size_t(viewpoint - 1);
    }

    WorksheetItem &item(int item) { return items[std::size_t(item - 1)]; }
    const WorksheetItem &item(int item) const { return items[std::size_t(item - 1)]; }

    std::int32_t &score(int item, int slot) { return scores[scoreIndex(item, slot)]; }
    std::int32_t score(int item, int slot) const { return scores[scoreIndex(item, slot)]; }
    std::int32_t &score(int item, int cls, int number) { return score(item, slotOf(cls, number)); }
    std::int32_t score(int item, int cls, int number) const { return score(item, slotOf(cls, number)); }
    // The 720 scores of one item in slot order.
    std::int32_t *itemScores(int item) { return scores.data() + scoreIndex(item, 0); }
    const std::int32_t *itemScores(int item) const { return scores.data() + scoreIndex(item, 0); }

    std::int32_t &itemRatio(int item, int period, int viewpoint) {
        return itemRatios[itemRatioIndex(item, period, viewpoint)];
    }
    std::int32_t itemRatio(int item, int period, int viewpoint) const {
        return itemRatios[itemRatioIndex(item, period, viewpoint)];
    }
    std::int32_t &viewpointRatio(int period, int viewpoint) {
        return viewpointRatios[viewpointRatioIndex(period, viewpoint)];
    }
    std::int32_t viewpointRatio(int period, int viewpoint) const {
        return viewpointRatios[viewpointRatioIndex(period, viewpoint)];
    }

    // Sets the symbol-input flag of every item from its kind and formula (kind 1 with formula "K").
    void updateSymbolFlags();
};

} // namespace tavro
