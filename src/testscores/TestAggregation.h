#pragma once

#include "testscores/TestScores.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace tavro {

namespace shukei {

inline constexpr int kSubjects = 11; // 国語 .. 技家H
inline constexpr int kMainSubjects = 5;
inline constexpr int kClassLimit = 12;
inline constexpr int kStudents = 60;
inline constexpr int kSeries = 14; // 合計, the 11 subjects, 保体, 技家
inline constexpr int kGridColumns = 28;

// Series indexes: the five-subject total, the subjects in file-name order, the combined pairs.
inline constexpr int kTotalSeries = 0;
inline constexpr int kHotaiSeries = 12;
inline constexpr int kGikaSeries = 13;
inline constexpr int subjectSeries(int subject) {
    return subject + 1;
}

// Subject indexes.
inline constexpr int kOngaku = 5, kBijutsu = 6, kHotaiB = 7, kHotaiG = 8, kGikaI = 9, kGikaH = 10;

// "国語", "社会", "数学", "理科", "英語", "音楽", "美術", "保体B", "保体G", "技家I", "技家H".
const QStringList &subjectNames();
// "合計", the 11 subjects, "保体", "技家".
const QStringList &seriesNames();

// A class as shown: its number, or the letter with code 64 + number for lettered classes.
QString classText(int cls, bool classType);
// A stored score: the number, "-" for -2, "*" for -3, empty otherwise.
QString scoreText(int value);

} // namespace shukei

// The statistics of one series over the grade: totals of 0 or more are counted (scores above 500
// included), mean and deviation as singles, ranks of every occurring score and standard scores.
struct SeriesStatistics {
    long long sum = 0;
    long long sumOfSquares = 0;
    int count = 0;
    float mean = 0;
    float sd = 0;
    // Per score 0..top: head counts, ranks (0 where the score does not occur) and standard scores.
    std::vector<int> gradeCount;
    std::vector<int> gradeRank;
    std::array<std::vector<int>, shukei::kClassLimit> classCount;
    std::array<std::vector<int>, shukei::kClassLimit> classRank;
    std::vector<int> standardScores; // empty when sd is not above 0
    // Chart means of classes 1..12 (single precision); no value where the class gets no bar.
    std::array<std::optional<float>, shukei::kClassLimit> classMeans;

    int top() const { return int(gradeCount.size()) - 1; }
    bool hasStandardScores() const { return !standardScores.empty(); }
    std::optional<int> standardScore(int score) const;
    std::optional<int> gradeRankOf(int score) const;
    std::optional<int> classRankOf(int cls, int score) const;
    // Scores that occur, highest first.
    std::vector<int> occurringScores() const;
    std::vector<int> occurringScores(int cls) const;
};

// The scores of every class and subject of one test of a grade with the derived series and their
// statistics: what the aggregation window, its copies and the CLI show.
class TestAggregation {
public:
    struct Context {
        int nendo = 0;
        int grade = 1;
        QString testCode;
        QString testName;
        bool classType = true;
    };

    // The inputs as they are: full scores, the 60 records of every class and subject, roster names.
    std::array<FullScores, shukei::kSubjects> fullScores{};
    std::array<std::array<ClassScores, shukei::kClassLimit>, shukei::kSubjects> scores;
    std::vector<QString> names = std::vector<QString>(std::size_t(shukei::kClassLimit * shukei::kStudents));

    TestAggregation() = default;
    TestAggregation(Context context, int classCount);

    // Reads the year settings, the roster and every file of the test. Files that could not be read
    // whole are listed in `damagedFiles()`; the rest is used as read.
    static TestAggregation load(const QString &dataFolder, const Context &context);

    const Context &context() const { return m_context; }
    int classCount() const { return m_classCount; }
    int marume() const { return m_marume; }
    void setMarume(int marume) { m_marume = marume; }
    const QStringList &damagedFiles() const { return m_damaged; }
    // The message listing the damaged files (empty when there are none).
    QString damagedFilesMessage() const;

    // Forms the derived series and the statistics; call after changing the inputs.
    void compute();

    const SeriesStatistics &statistics(int series) const { return m_stats[std::size_t(series)]; }
    // Field of a student's record in a series (subjects, the five-subject total in field 0 only,
    // the combined 保体 and 技家).
    int value(int series, int cls, int number, int field = 0) const;
    // The series a student's 保体 or 技家 (`series` kHotaiSeries or kGikaSeries) is taken from, as the
    // grid shows it: the combined series when both halves hold a score, else the half with a score,
    // else the half with a mark ("-", "*") while the other is blank; the combined series otherwise.
    // Other series are returned as they are.
    int studentSeries(int series, int cls, int number) const;
    // The full score of a field of a series: a subject's own, the sum of the halves for the combined
    // 保体 and 技家, the sum of the five main subjects' totals for the five-subject total (field 0).
    int seriesFull(int series, int field) const;
    const TestScoreRecord &record(int subject, int cls, int number) const {
        return scores[std::size_t(subject)][std::size_t(cls - 1)].student(number);
    }
    const QString &name(int cls, int number) const {
        return names[std::size_t((cls - 1) * shukei::kStudents + number - 1)];
    }

    // The grid: row 0 the header, row r (1..classCount × 60) class (r + 59) / 60, number
    // (r + 59) % 60 + 1; 28 columns.
    int gridRows() const { return m_classCount * shukei::kStudents + 1; }
    QString gridText(int row, int column) const;
    static QString gridHeader(int column);
    static bool isStandardScoreColumn(int column) { return column >= 4 && column <= 22 && column % 2 == 0; }

    // "【満点】" with the full score of the total of each subject, on two lines.
    QString fullScoreLabel() const;

    // The clipboard texts of "観点なし", "観点あり" and "平均点一覧".
    QString gridCopy() const;
    QString viewpointCopy() const;
    QString meansCopy() const;

private:
    void computeSeries(int series);

    Context m_context;
    int m_classCount = 0;
    int m_marume = 0;
    QStringList m_damaged;
    // Derived per seat: the five-subject total, and the combined 保体 and 技家 records.
    std::vector<int> m_total;
    std::vector<TestScoreRecord> m_hotai;
    std::vector<TestScoreRecord> m_gika;
    std::array<SeriesStatistics, shukei::kSeries> m_stats;
};

// "%3.6f" and friends of a single: the exact binary value rounded, ties to even.
QString formatSingle(const char *format, float value);

} // namespace tavro
