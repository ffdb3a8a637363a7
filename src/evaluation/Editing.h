#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The editing commands of the evaluation window that work on ranges and whole periods: paste and
// delete in the grids, clearing a period, comments, protection up to an item, the year-end ratios,
// and the student lists of the individual page with their filters. Grid coordinates are the grids'
// own, the header row being row 0.
namespace tavro {

class Clock;
class EvaluationSession;
class Prompter;

namespace editing {

// A pasted score cell as a score code: "-", "/", "*", 0..999 and "*" followed by 0..999 (blanks
// around it are ignored). Empty text: no value (the target stays). Anything else is refused.
enum class CellParse { Empty, Value, Refused };
CellParse parseScoreCell(const QString &text, int &code);

// Clipboard text as lines of cells: lines end at CR LF, LF or CR, and a final line end adds no
// line; cells are split at tabs. Nothing is cut.
QList<QStringList> pasteLines(const QString &text);

struct PasteOutcome {
    int stored = 0;        // cells written
    int unchanged = 0;     // cells of the block that left their target as it was (empty, skipped, refused)
    int refused = 0;       // cells whose text is not a value of the grid
    std::vector<int> rows; // score grid: the roster rows (from 0) that were pasted
    bool stopped = false;  // refused as a whole (no permission); the message was shown
    int cutComments = 0;   // paste grid: comments cut to 76 bytes
};
// The message after a paste that refused cells; empty when none were refused. The cells of the score
// grid are scores, those of the ratio grids numbers, the comments of the paste grid texts.
enum class CellKind { Score, Number, Text };
QString refusedCellsMessage(int refused, CellKind kind = CellKind::Score);

// TokutenGrid: from (row ≥ 1, column ≥ 3); protected items and items of kind 2 or 4 are skipped.
// The aggregate items of every pasted row are recomputed.
PasteOutcome pasteScores(EvaluationSession &session, const QString &text, int row, int column);
// KantenGrid: rows 1..5 (periods), columns 1..6 (viewpoints); a whole number 0..999 is stored,
// text that is not a number counts 0, other values are ignored.
PasteOutcome pasteViewpointRatios(EvaluationSession &session, const QString &text, int row, int column);
// WariaiGrid3: the viewpoint rows of each period's block take whole numbers 0..999 as item ratios;
// the full-score row and the periods' first rows are left alone.
PasteOutcome pasteItemRatios(EvaluationSession &session, const QString &text, int row, int column);
// ImportGrid of `period`: viewpoint percentages (columns 3..8, with "ToutatuPaste") and comments
// (column 9, with "CommentPaste"), then phase 2 of the calculation with its stamp and save. Without
// the period's permission the message is shown and nothing changes.
PasteOutcome pastePercentages(EvaluationSession &session, const QString &text, int row, int column,
                              int period, Prompter &prompter, const Clock &clock);

// Delete of a rectangle (inclusive grid coordinates).
void deleteViewpointRatios(EvaluationSession &session, int top, int left, int bottom, int right);
void deleteItemRatios(EvaluationSession &session, int top, int left, int bottom, int right);
// ImportGrid: with the permission check of the paste; phase 2 runs afterwards.
bool deletePercentages(EvaluationSession &session, int period, int top, int left, int bottom, int right,
                       Prompter &prompter, const Clock &clock);

QString noPermissionMessage();

// The WariaiGrid3 row of period k's viewpoint v (v = 0: the period's first row).
constexpr int itemRatioRow(int period, int viewpoint) {
    return 7 * period - 5 + viewpoint;
}

// Clearing period P: asked only when P was calculated; on Yes the results of the session's rows are
// emptied, the date-time reset and the result files written at once. True when cleared; `status`
// gets "評定をクリアしました。(…)".
bool clearPeriod(EvaluationSession &session, int period, Prompter &prompter, const Clock &clock,
                 QString *status = nullptr, QString *error = nullptr);
QString clearQuestion();

// A comment for period k of the student in `slot`: text code page 932 cannot hold is refused (false,
// with the reason); the text is cut at 76 bytes on a whole character. Sets the pending mark.
bool setComment(EvaluationSession &session, int period, int slot, const QString &text,
                QString *reason = nullptr);
inline constexpr int kCommentBytes = 76;

// A change of a comment edit from `before` to `after` (typing, a paste) with the cursor at `cursor`:
// what the change inserted is kept up to 76 bytes in all, on whole characters; the rest of it is
// dropped.
struct CommentFit {
    QString text;
    int cursor = 0;
    int inserted = 0; // characters the change inserted
    int dropped = 0;  // of them, the characters that did not fit
};
CommentFit fitComment(const QString &before, const QString &after, int cursor);
// The message after a paste into a comment edit that did not fit.
QString commentCutMessage(int dropped);
// The message after a paste into the paste grid that cut comments; empty when none was cut.
QString cutCommentsMessage(int comments);

// Protection of items 1..`item` (the score grid's cursor column minus 2).
void protectUpTo(EvaluationSession &session, int item, bool on);

// "学年末": the item ratios of the year-end period ("ConsistencyItem0", 2..5) from the latest earlier
// period with a ratio. False (nothing changed) when no year-end period is set.
bool copyYearEndRatios(EvaluationSession &session);

// A line of ListBox1 with the student it names.
struct StudentLine {
    int slot = 0;
    QString text; // class, two-digit number, blank, name
};
enum class Filter { Consistency = 1, Up, Down, Border, Conversion, Estimate, TestOnly };
// "学級順": every row with a name, in row order.
std::vector<StudentLine> studentsByClass(const EvaluationSession &session);
// "到達度順" of period k: rows with a name and an achievement, highest first.
std::vector<StudentLine> studentsByAchievement(const EvaluationSession &session, int period);
// The filters, in the order of "到達度順".
std::vector<StudentLine> filteredStudents(const EvaluationSession &session, int period, Filter filter);
QString noMatchMessage(); // "該当するデータはありません。" (caption "Tavro")
QString legendText();     // "記号の意味"
// "×": the question and its caption.
QString closeQuestion();
QString closeCaption(const EvaluationSession &session);

} // namespace editing
} // namespace tavro
