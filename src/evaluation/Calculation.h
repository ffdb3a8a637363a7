#pragma once

#include "config/YearSettings.h"
#include "evaluation/Results.h"
#include "evaluation/Worksheet.h"

#include <QString>
#include <vector>

// The evaluation calculation of one period: viewpoint percentages from the scores (phase 1), then
// marks, the overall percentage and the evaluation (phase 2), the date-time stamp and the save of the
// result files.
namespace tavro {

class Prompter;
class Clock;

// The worksheet as the evaluation window holds it: its data, the year settings, the roster rows in
// roster order and the roster names of all 720 slots.
struct EvaluationSheet {
    Worksheet &worksheet;
    EvaluationResults &results;
    const YearSettings &settings;
    bool elective = false;
    std::vector<int> rows;      // slots 0..719 of the roster rows
    std::vector<QString> names; // roster name per slot; empty or "＊..." get no results

    // The patterns of the subject kind: section "Hyoutei" for required subjects, "Sentaku" for
    // electives.
    const YearSettings::Patterns &patterns() const { return elective ? settings.sentaku : settings.hissu; }
    // An empty seat or a student who moved away.
    bool excluded(int slot) const;
};

// Where the results of a worksheet are saved: the class result files of the teacher's classes, or
// the elective result file with the member slots.
struct ResultTarget {
    QString dataFolder;
    int nendo = 0;
    int grade = 0;
    QString kyouka; // subject, or the elective's name
    bool elective = false;
    std::vector<int> chargeClasses; // required subjects
    std::vector<int> memberSlots;   // electives, in member-list order

    bool save(const EvaluationResults &results, QString *error = nullptr) const;
};

namespace calculation {

// The value a percentage is compared with against integer lower bounds ("BorderRound" 0..3).
double borderRounded(float percentage, int borderRound);
// The symbol of pattern `pattern` (1..5) for the compared value: the first of the ten steps whose
// lower bound is 0 or not above it.
QString symbolFor(const SymbolPattern &pattern, double compared);

enum class Outcome { Calculated, Stopped, SaveFailed };

struct Report {
    Outcome outcome = Outcome::Stopped;
    double dateTime = 0; // the stamp of the period when calculated
    QString saveError;
};

// Phase 1 for period k: the viewpoint percentages of every roster row.
void phase1(EvaluationSheet &sheet, int k);
// Phase 2 for period k without the stamp and the save: marks, overall percentage and evaluation.
void assign(EvaluationSheet &sheet, int k);

// The checks in order (questions through `prompter`), phases 1 and 2, the stamp from `clock` and the
// save through `target` (none: not saved). A stop leaves every result untouched.
Report calculate(EvaluationSheet &sheet, int k, Prompter &prompter, const Clock &clock,
                 const ResultTarget *target);
// Phase 2 alone, with the stamp and the save (after pasted or deleted percentages).
Report phase2(EvaluationSheet &sheet, int k, Prompter &prompter, const Clock &clock,
              const ResultTarget *target);

// The message of a failed save of the result files (none of them changed), caption "TAVRO".
QString resultsSaveFailedMessage(const QString &error);

// The texts of the checks, caption "TAVRO".
QString alreadyCalculatedText();
QString estimateRequiredText();
QString fullScoreMissingText();
QString aboveFullScoreText();
QString viewpointRatioMissingText();
QString itemRatioMissingText();

} // namespace calculation
} // namespace tavro
