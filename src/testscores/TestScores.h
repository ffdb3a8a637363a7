#pragma once

#include <array>
#include <cstdint>

// Scores of one test: the full scores of a grade and subject, and the scores of one class.
namespace tavro {

inline constexpr int kTestFields = 7;    // total, viewpoints 1..6
inline constexpr int kTestStudents = 60; // numbers 1..60; 1..30 the first half ("M"), 31..60 "F"

// Score values: 0..100, or one of these.
namespace testscore {
inline constexpr int kBlank = -1;    // not entered
inline constexpr int kNotTaken = -2; // "-"
inline constexpr int kExcluded = -3; // "*"
} // namespace testscore

// Field 0 is the total, field v (1..6) viewpoint v.
using TestScoreRecord = std::array<std::int32_t, kTestFields>;

// Full scores: 0 = not examined. A missing file reads as zeros.
struct FullScores {
    TestScoreRecord values{};
};

// The 60 records of one class, record n - 1 for number n. A missing file reads as -1 throughout.
struct ClassScores {
    std::array<TestScoreRecord, kTestStudents> records;

    ClassScores() { clear(); }
    void clear() {
        for (TestScoreRecord &r : records)
            r.fill(testscore::kBlank);
    }
    TestScoreRecord &student(int number) { return records[std::size_t(number - 1)]; }
    const TestScoreRecord &student(int number) const { return records[std::size_t(number - 1)]; }
};

} // namespace tavro
