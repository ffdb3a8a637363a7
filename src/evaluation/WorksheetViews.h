#pragma once

#include <QString>

#include <array>
#include <vector>

// What the evaluation window shows besides the grids themselves: the distribution and class means of
// an item, the rows of the individual analysis, the attainment by item kind, and the data of the
// ratio charts. Each is computed from the session without widgets.
namespace tavro {

class EvaluationSession;
struct Worksheet;

namespace views {

// Short kind names "平常", "定期", "集計", "学力" (kind 1..4), empty otherwise.
QString kindShortName(int kind);
// "%3.2f" as the window formats percentages and standard scores.
QString fixed2(double value);

// The scores of 0 or more of one item over the rows: head count per score from the lowest to the
// highest, the count and the mean.
struct ItemDistribution {
    int lowest = 0;
    int highest = -1;
    std::vector<int> counts; // counts[s - lowest]
    int count = 0;
    double mean = 0;
    QString countText() const; // "12人", "0人"
    QString meanText() const;  // "平均63.50点", "平均0.0点"
};
ItemDistribution itemDistribution(const Worksheet &worksheet, const std::vector<int> &rows, int item);

// One bar of the chart "分布".
struct DistributionBar {
    QString label; // a score ("85"), the lowest score of a class ("80〜"), "100超" above the full score
    int count = 0;
    bool aboveFull = false;
};
// The bars of a distribution: one per score from the lowest to the highest when they are at most
// `maxBars` (at least 11), else ten classes of the full score (of the highest score when the item
// has none), from the class of the lowest score to that of the highest, the last class holding the
// full score itself. Scores above the full score (1 or more) are counted in one bar of their own,
// after the others.
std::vector<DistributionBar> distributionBars(const ItemDistribution &d, int fullScore, int maxBars);

struct ClassMean {
    int cls = 0;
    QString label; // "1組"
    double mean = 0;
};
// The mean of the item's scores per class of the session that has scores.
std::vector<ClassMean> classMeans(const EvaluationSession &session, int item);

// One row of `xStringGrid1`.
struct AnalysisRow {
    int item = 0;
    QString kind;
    QString name;
    QString score;
    QString full;
    QString standardScore;
    QString achievement;
};
// Every item with a kind for the student in `slot`.
std::vector<AnalysisRow> analysisRows(const EvaluationSession &session, int slot);

// The attainment by item kind of period k: "平 85 定 72 " (empty when no kind has a weight).
QString attainmentByKind(const Worksheet &worksheet, int slot, int period);

// One slice or bar of a chart: label, value and a colour role (the item kind, or 1 for a stressed
// slice of the viewpoint pie).
struct ChartPoint {
    QString label;
    double value = 0;
    int role = 0;
};
// The pie of "満点・項目割合": period k and tab 0 (weighted shares) or viewpoint 1..6 (item ratios).
std::vector<ChartPoint> sharePie(const EvaluationSession &session, int period, int tab);
QString sharePieTitle(const EvaluationSession &session, int period, int tab);
// The three charts of "観点割合" for period k.
std::vector<ChartPoint> viewpointRatioPie(const EvaluationSession &session, int period);
std::vector<ChartPoint> itemRatioSums(const EvaluationSession &session, int period);
std::vector<ChartPoint> kindPie(const EvaluationSession &session, int period);
// Period numeral ("Ⅰ".."Ⅴ") + ":" + period name + chart name.
QString ratioChartTitle(const EvaluationSession &session, int period, const QString &chartName);

// The period label of the tabs ("Ⅰ：1学期") and of the selectors ("Ⅰ:1学期").
QString periodTabText(int period, const QString &name);
QString periodListText(int period, const QString &name);
// Roman numeral Ⅰ..Ⅴ and circled numeral ①..⑥.
QString periodNumeral(int period);
QString viewpointNumeral(int viewpoint);
// "%f" of a percentage, empty for -1 and below.
QString percentageText(float percentage);
// "%8.4f" of a viewpoint percentage in ImportGrid, empty for -1 and below.
QString pastePercentageText(float percentage);

} // namespace views
} // namespace tavro
