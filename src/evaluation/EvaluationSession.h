#pragma once

#include "config/KantenFile.h"
#include "config/YearSettings.h"
#include "evaluation/Calculation.h"
#include "evaluation/Checks.h"
#include "evaluation/EarlierGrades.h"
#include "evaluation/Formula.h"
#include "evaluation/GridKeys.h"
#include "evaluation/Results.h"
#include "evaluation/Statistics.h"
#include "evaluation/Worksheet.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace tavro {

class Prompter;
class Clock;

// What the main window hands to the evaluation window.
struct EvaluationContext {
    QString mainCaption;
    QString dataFolder; // ends with a separator
    int nendo = 0;
    int grade = 0;  // 1..6
    QString kyouka; // subject, or the elective's name ("選択英語G")
    QString chargeClasses;
    QString schoolName;
    bool classType = true; // numbered classes
    QString teacherName;
    bool elective = false;
    bool readOnly = false;
    bool tTestKanten = true; // periodic tests are handled by viewpoint
};

// The evaluation worksheet of one teacher, year, grade and subject with its results, as the evaluation
// window and the command-line tool work on it: loading, the keys of the grids, the calculation, the
// flags and the save.
class EvaluationSession {
public:
    struct Period {
        int number = 0; // 1..5
        QString name;
        int position = 0; // among the named periods, from 0 (the permission's index)
    };

    explicit EvaluationSession(EvaluationContext context);
    ~EvaluationSession();
    EvaluationSession(const EvaluationSession &) = delete;
    EvaluationSession &operator=(const EvaluationSession &) = delete;

    // Loads the year settings, viewpoint names, roster, member list (electives), worksheet, results
    // and earlier grades, in that order. A file that is too new or damaged is named in a message and
    // makes the session read-only, so nothing read in part is ever written back.
    void load(Prompter &prompter);

    const EvaluationContext &context() const { return m_context; }
    const YearSettings &settings() const { return m_settings; }
    const KantenNames &kanten() const { return m_kanten; }
    // Viewpoints with a short name, up to the first without.
    int viewpointCount() const;
    Worksheet &worksheet() { return *m_worksheet; }
    const Worksheet &worksheet() const { return *m_worksheet; }
    EvaluationResults &results() { return *m_results; }
    const EvaluationResults &results() const { return *m_results; }
    EvaluationSheet &sheet() { return *m_sheet; }
    const EvaluationSheet &sheet() const { return *m_sheet; }
    const EarlierGrades &earlierGrades() const { return m_earlier; }
    const checks::CheckSymbols &symbols() const { return *m_symbols; }
    const SymbolPattern *evaluationPattern(int period) const;
    const SymbolPattern *viewpointPattern(int period) const;

    // The roster rows (slots 0..719) in grid order, and their names.
    const std::vector<int> &rows() const { return m_rows; }
    const std::vector<QString> &rowNames() const { return m_rowNames; }
    int rowOfSlot(int slot) const;
    // The classes of the grid: `ChargeClasses`, for electives 1..`ClassCount`.
    const std::vector<int> &classes() const { return m_classes; }
    const QString &nameOf(int slot) const { return m_names[std::size_t(slot)]; }
    const QString &readingOf(int slot) const { return m_readings[std::size_t(slot)]; }
    // "1組" or "A組" by the class notation.
    QString classLabel(int cls) const;

    QString headerText() const;
    QString caption() const;
    QString worksheetPath() const;

    // The named periods in order.
    const std::vector<Period> &periods() const { return m_periods; }
    QString periodName(int period) const;
    bool periodPermitted(int period) const;

    bool readOnly() const { return m_readOnly; }
    // Why the session is read-only although the context allowed writing (a refused or damaged file).
    const QStringList &loadProblems() const { return m_loadProblems; }

    // Flags: "変更あり" (worksheet changed since the last save), results waiting to be written, and
    // "評定済み" (a calculation since the last change).
    bool isModified() const { return m_modified; }
    bool resultsPending() const { return m_resultsPending; }
    bool isCalculated() const { return m_calculated; }
    // The last write of the result files failed: the results in memory are not in the files ("評定未保存").
    bool resultsSaveFailed() const { return m_resultsSaveFailed; }
    // Marks the worksheet changed (every edit calls it).
    void markModified();

    // TokutenGrid: key on roster row `row` (index in rows()) and item `item`. The value is stored when
    // it changed (not in read-only mode) and the row's aggregate items are recomputed.
    gridkeys::KeyResult scoreKey(int row, int item, const gridkeys::KeyPress &key);
    // Stores one score and recomputes the row's aggregate items.
    void setScore(int item, int slot, int value);
    // After scores of these slots were written directly (a paste): their aggregate items are recomputed
    // and the worksheet marked changed.
    void rowsChanged(const std::vector<int> &touched);
    // KantenGrid and WariaiGrid3: ratio R(k, v), item ratio w(i, k, v) and full score F(i).
    gridkeys::KeyResult viewpointRatioKey(int period, int viewpoint, const gridkeys::KeyPress &key);
    gridkeys::KeyResult itemRatioKey(int item, int period, int viewpoint, const gridkeys::KeyPress &key);
    gridkeys::KeyResult fullScoreKey(int item, const gridkeys::KeyPress &key);

    // After the definition of an item changed (kind, formula): the formulas are parsed again and, when
    // `recalculateAll`, every row is recomputed.
    void itemsChanged(bool recalculateAll);

    // The weighted share of every item in period k (index item - 1); 0 shows nothing.
    const std::vector<int> &weightedShares(int period) const;

    // "評定計算" of period k: the checks, both phases, the stamp and the save of the results; the
    // check symbols are refreshed. A failed save keeps the results pending and says why in the report.
    calculation::Report calculate(int period, Prompter &prompter, const Clock &clock);
    // Phase 2 alone for period k (after pasted or deleted percentages), with the stamp and the save.
    calculation::Report phase2(int period, Prompter &prompter, const Clock &clock);
    // Results changed outside the calculation (comments, pasted percentages): they are written at the
    // next save.
    void markResultsPending();
    // Writes the result files now, all or none; the pending mark is cleared when they were written and
    // stays set when they were not.
    bool saveResults(QString *error);
    // After a period's results were cleared and written.
    void resultsCleared();

    // "自動見込み": the estimates of the "*" scores; returns the rows that changed.
    std::vector<int> autoEstimate();
    // Item statistics and standard scores over the rows, computed when the scores changed.
    const ItemStatistics &statistics() const;
    void refreshChecks();

    // Undo and redo, one step per user action: the characters typed into one cell or one comment until
    // the cursor moves (endTyping()), Delete, a paste, a delete of a range, protection, 学年末, the item
    // dialog, 自動見込み, an item import. A step keeps the scores, ratios, items and comments it
    // changed, before and after, not copies of the worksheet. An undo or redo puts them back and
    // recomputes what the edit recomputed (the aggregate items of the rows touched, or of every row
    // after a change of items; the weighted shares), marking the worksheet changed (a comment: the
    // results pending) as the edit did. A new edit drops what could be redone. A calculation or a clear
    // of a period writes the result files for everyone and ends the history. Nothing in read-only mode.
    bool canUndo() const { return !m_undo.empty() && !m_readOnly; }
    bool canRedo() const { return !m_redo.empty() && !m_readOnly; }
    bool undo();
    bool redo();
    // What the last undo or redo put back, so a window refreshes only that.
    struct Undone {
        bool scores = false;
        bool ratios = false; // viewpoint and item ratios
        bool items = false;  // item definitions and full scores
        bool comments = false;
    };
    const Undone &undone() const { return m_undone; }
    // The cursor left the cell or comment being typed into: the next character starts a new step.
    void endTyping() { m_typing = false; }
    // True once after a calculation, a phase 2 or a clear ended a history that held steps.
    bool takeHistoryCleared();

    // Makes the edits done while it lives one step of the history (nested scopes join the outer one).
    class StepScope {
    public:
        explicit StepScope(EvaluationSession &session);
        ~StepScope();
        StepScope(const StepScope &) = delete;
        StepScope &operator=(const StepScope &) = delete;

    private:
        EvaluationSession &m_session;
    };

    // A comment of period k for the student in `slot`, stored as typed into the comment edit (the
    // caller has checked and cut it): the results are pending and the change is an undo step.
    void storeComment(int period, int slot, const QString &text);

    // Saves the worksheet when it changed and the results when they are pending. Nothing is written
    // in read-only mode. False with the file and the reason in `error`.
    bool save(QString *error);
    // The close: saves unless `discard`; on a failure asks whether to try again (Yes), close without
    // saving (No) or keep the window open (Cancel). True when the window may close.
    bool saveForClose(Prompter &prompter, bool discard);

private:
    void loadRows(Prompter &prompter);
    void loadResults(Prompter &prompter);
    void noteProblem(const QString &path, const QStringList &problems);
    void recalculateRow(int slot);
    void changed();
    // The arrays a step can change.
    enum class Target : std::uint8_t { Score, ItemRatio, ViewpointRatio, FullScore, Comment };
    // A ratio or full score typed; `period` (0: none) has its weighted shares refreshed.
    gridkeys::KeyResult numberKey(Target target, std::size_t index, int period,
                                  const gridkeys::KeyPress &key);

    struct ValueChange {
        std::uint32_t index;
        std::int32_t before, after;
    };
    struct ItemChange {
        int item;
        WorksheetItem before, after;
    };
    struct CommentChange {
        std::uint32_t index; // EvaluationResults::index
        QString before, after;
    };
    struct Step {
        std::vector<ValueChange> scores, itemRatios, viewpointRatios;
        std::vector<ItemChange> items;
        std::vector<CommentChange> comments;
        bool redefined = false;      // items changed: the formulas are parsed again
        bool recalculateAll = false; // and every row recomputed
        // A step of characters into one cell: the next character into the same cell extends it.
        bool typing = false;
        Target target = Target::Score;
        std::size_t index = 0;
        bool empty() const {
            return scores.empty() && itemRatios.empty() && viewpointRatios.empty() && items.empty() &&
                   comments.empty();
        }
    };
    // What a scope compares against when it ends.
    struct Snapshot {
        std::vector<std::int32_t> scores, itemRatios;
        std::array<std::int32_t, kPeriods * kViewpoints> viewpointRatios{};
        std::vector<WorksheetItem> items;
        std::vector<QString> comments;
    };
    void beginStep();
    void endStep();
    // One value typed outside a scope; `typing` (a character, Backspace) extends the step of the same cell.
    void recordValue(Target target, std::size_t index, std::int32_t before, std::int32_t after, bool typing);
    void pushStep(Step step);
    void apply(const Step &step, bool forward);
    void clearHistory();
    ResultTarget resultTarget() const;
    void afterCalculation(const calculation::Report &report);

    EvaluationContext m_context;
    YearSettings m_settings;
    KantenNames m_kanten;
    std::unique_ptr<Worksheet> m_worksheet;
    std::unique_ptr<EvaluationResults> m_results;
    std::unique_ptr<EvaluationSheet> m_sheet;
    std::unique_ptr<checks::CheckSymbols> m_symbols;
    std::unique_ptr<formula::Recalculator> m_recalculator;
    mutable std::unique_ptr<ItemStatistics> m_statistics;
    mutable bool m_statisticsStale = true;
    mutable std::array<std::vector<int>, kPeriods> m_shares;
    mutable std::array<bool, kPeriods> m_sharesStale{true, true, true, true, true};
    EarlierGrades m_earlier;
    std::vector<int> m_rows;
    std::vector<QString> m_rowNames;
    std::vector<int> m_classes;
    std::vector<int> m_loadedClasses; // result files read (classes of the grade and of the charge)
    std::vector<QString> m_names;
    std::vector<QString> m_readings;
    std::vector<Period> m_periods;
    QStringList m_loadProblems;
    bool m_readOnly = false;
    bool m_modified = false;
    bool m_resultsPending = false;
    bool m_resultsSaveFailed = false;
    bool m_calculated = false;
    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
    Undone m_undone;
    bool m_typing = false; // the last step is characters into the cursor's cell
    bool m_historyCleared = false;
    int m_scopeDepth = 0;
    std::unique_ptr<Snapshot> m_before;
    bool m_scopeRedefined = false;
    bool m_scopeRecalculateAll = false;
    bool m_scopeCleared = false;
};

// The status-bar note after a write of the result files ended the undo history.
QString undoHistoryClearedMessage();

// The weighted shares of period k (index item - 1), rounded half away from zero.
std::vector<int> weightedShares(const Worksheet &worksheet, int period);

} // namespace tavro
