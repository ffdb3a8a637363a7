#pragma once

#include "evaluation/Worksheet.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <vector>

// The in-memory evaluation results: per period 1..5 and student slot the evaluation with its
// percentage, the mark and percentage of each viewpoint and a comment; per period the date-time of
// the calculation. Class result files and the elective result file load into and save from it.
namespace tavro {

inline constexpr float kNoPercentage = -1.0f;

struct StudentResult {
    QString evaluation;                     // 評定 text ("5", "A", ...)
    float percentage = kNoPercentage;       // overall percentage of attainment; -1 none
    std::array<QString, kViewpoints> marks; // viewpoint marks, viewpoint 1 first
    std::array<float, kViewpoints> viewpointPercentages{kNoPercentage, kNoPercentage, kNoPercentage,
                                                        kNoPercentage, kNoPercentage, kNoPercentage};
    QString comment;

    // True when every field holds its default.
    bool isEmpty() const;
};

struct EvaluationResults {
    std::vector<StudentResult> entries;       // kPeriods * kSlots, index index(period, slot)
    std::array<double, kPeriods> dateTimes{}; // day count since 1899-12-30 (fraction: time); 0 none

    // Every value at its default.
    EvaluationResults();
    void reset();
    // Resets the entries of one class in every period (the date-times stay).
    void resetClass(int cls);

    static constexpr std::size_t index(int period, int slot) {
        return std::size_t(period - 1) * kSlots + std::size_t(slot);
    }
    StudentResult &at(int period, int slot) { return entries[index(period, slot)]; }
    const StudentResult &at(int period, int slot) const { return entries[index(period, slot)]; }
    StudentResult &at(int period, int cls, int number) { return at(period, slotOf(cls, number)); }
    const StudentResult &at(int period, int cls, int number) const { return at(period, slotOf(cls, number)); }

    double &dateTime(int period) { return dateTimes[std::size_t(period - 1)]; }
    double dateTime(int period) const { return dateTimes[std::size_t(period - 1)]; }
};

// Date-times as stored: days since 1899-12-30 00:00 with the time of day as the fraction, in local
// time without a zone. 0 stands for "not calculated" (an invalid QDateTime).
double toDayCount(const QDateTime &dateTime);
QDateTime fromDayCount(double days);

} // namespace tavro
