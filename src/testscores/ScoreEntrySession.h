#pragma once

#include "config/KantenFile.h"
#include "testscores/ScoreEntryKeys.h"
#include "testscores/TestScores.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace tavro {

class Prompter;

// What the main window hands to the score-entry window.
struct ScoreEntryContext {
    QString mainCaption;
    QString dataFolder; // ends with a separator
    int nendo = 0;
    int grade = 0; // 1..6
    QString kyouka;
    QString testCode; // "A".. periodic, "1".."9" achievement
    QString testName;
    QString chargeClasses;  // one digit per class, in tab order
    bool classType = true;  // numbered classes
    bool totalOnly = false; // the no-viewpoint flag
    bool readOnly = false;
};

// The scores of one test of one subject for the classes in charge, as the score-entry window and the
// command-line tool work on them: loading, the keys, totals, averages, the distribution, full scores,
// copy, paste and the save. Tab t shows class classes()[t / 2], numbers 30 × (t % 2) + 1.. + 30.
class ScoreEntrySession {
public:
    explicit ScoreEntrySession(ScoreEntryContext context);

    // Reads the year settings (class count), the roster names, the viewpoint names, every class file
    // and the full scores. The class list keeps the digits 1..ClassCount of the grade (at most 9), once
    // each. A file that cannot be read whole makes the session read-only, with a message naming it.
    // False, after a message, when no class is left to open.
    bool load(Prompter &prompter);

    const ScoreEntryContext &context() const { return m_context; }
    bool byViewpoint() const { return !m_context.totalOnly; }
    bool readOnly() const { return m_readOnly; }
    const QStringList &loadProblems() const { return m_loadProblems; }
    bool isModified() const { return m_modified; }

    const std::vector<int> &classes() const { return m_classes; }
    int tabCount() const { return int(m_classes.size()) * 2; }
    int classOfTab(int tab) const { return m_classes[std::size_t(tab / 2)]; }
    // " 1組M", " 1組F" (or " A組M").
    QString tabText(int tab) const;
    // "1" or "A" by the class notation.
    QString classMark(int cls) const;
    // Number 1..60 of a row (1..30) of a tab.
    static int numberOf(int tab, int row) { return (tab % 2) * scoreentry::kRows + row; }

    // The roster name of a class and number, as stored (with a leading "＊" when moved away).
    const QString &nameOf(int cls, int number) const;
    // The label of a row: number "%2d", a blank, the name ("＊" names without the mark, 14 bytes).
    QString rowLabel(int tab, int row) const;

    const ClassScores &classScores(int classIndex) const { return m_scores[std::size_t(classIndex)]; }
    // Field 0 the total, 1..6 the viewpoints.
    int score(int tab, int row, int field) const;
    const TestScoreRecord &fullScores() const { return m_full.values; }
    const KantenNames &kanten() const { return m_kanten; }

    QString caption() const;
    // "満点100 ①40 ②40 ③20 ④ 0 ⑤ 0 ".
    QString fullScoreSummary() const;
    // The total full score is not a multiple of 5 (the summary shows red).
    bool fullScoreWarning() const { return m_full.values[0] % 5 != 0; }
    // A viewpoint score above its full score (by viewpoint only).
    bool isOverFull(int tab, int row, int field) const;

    const scoreentry::Cursor &cursor() const { return m_cursor; }
    // Makes a cell current; by viewpoint the total column selects viewpoint 1, in total-only mode the
    // column is always 0.
    void setCursor(int tab, int row, int column);
    scoreentry::Layout layout() const;

    struct KeyOutcome {
        bool handled = false;
        bool changed = false; // a score changed (the row and the averages are repainted)
        bool moved = false;   // the cursor moved
        bool tabChanged = false;
        bool beep = false; // the value is above the column's full score
        int digit = -1;    // to be spoken
        bool chime = false;
        bool noFullScore = false; // an edit while the total full score is 0
    };
    // A character typed on the current cell.
    KeyOutcome character(QChar c);
    KeyOutcome backspace();
    KeyOutcome deleteKey();
    KeyOutcome navigate(scoreentry::Move key, bool ctrl);

    // Mean of the totals 0 or more over every class and half; none when there is none.
    std::optional<double> gradeAverage() const;
    // "平均 72.35 ", or empty.
    QString averageText() const;
    // Mean of the totals 0 or more of one half (half 0 or 1) or of both halves (half -1) of a class; 0
    // when there is none.
    double classMean(int classIndex, int half) const;
    // Count of each total 0..500 over every tab, and the range the chart shows (25, 50, 100, 200, 500).
    std::vector<int> distribution() const;
    static int distributionRange(const std::vector<int> &counts);

    // Full scores from the viewpoint dialog (the total becomes the sum of viewpoints 1..5) or from the
    // total-only dialog (100, 60 or 50, viewpoints kept). Written at once unless read-only.
    bool setViewpointFullScores(const std::array<int, 6> &viewpoints, QString *error);
    bool setTotalFullScore(int total, QString *error);

    // "すべてをコピー(&A)".
    QString copyAllText() const;

    struct PasteOutcome {
        bool refused = false;
        QString message; // why it was refused
        int rows = 0;    // rows stored
    };
    // "貼り付け(&V)" at the cursor: the first cell of each line, downwards to row 30.
    PasteOutcome paste(const QString &text);

    // The first viewpoint cell (1..5) above its full score, in tab order (by viewpoint only).
    std::optional<scoreentry::Cursor> firstOverFull() const;

    // Undo and redo, one step per edit: the characters typed into one cell (until the cursor moves),
    // Delete, a paste, a full-score dialog. The steps are kept for the session's lifetime; a new edit
    // drops what could be redone. An undo or redo puts the cells back (the session is modified, as the
    // edit made it) and the full scores (written again at once, as the dialog writes them), and the
    // cursor on the cell where the edit began. False when there is nothing to undo or redo, or with
    // `error` when the full scores could not be written (the scores are back all the same).
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    bool undo(QString *error = nullptr);
    bool redo(QString *error = nullptr);

    // Writes every class file when modified (nothing in read-only mode). False with the file and the
    // reason in `error`; what could not be written stays modified.
    bool save(QString *error);
    // The close: the over-full question (Yes keeps the window open on the first such cell), then the
    // save, and on a failure the question to retry, close without saving or stay. True when the
    // window may close.
    bool closeQuery(Prompter &prompter);

private:
    struct CellChange {
        std::size_t classIndex;
        int number;
        TestScoreRecord before, after;
    };
    struct Step {
        std::vector<CellChange> cells;
        std::optional<std::pair<TestScoreRecord, TestScoreRecord>> full; // before, after
        scoreentry::Cursor cursor;
        bool typing = false; // characters into one cell, which the next character extends
    };
    struct Snapshot {
        std::vector<ClassScores> scores;
        TestScoreRecord full;
        scoreentry::Cursor cursor;
    };
    Snapshot snapshot() const;
    // Pushes what changed since `before` as one step (nothing when nothing changed).
    void pushStep(const Snapshot &before, bool typing = false);
    bool apply(const Step &step, bool forward, QString *error);

    ScoreEntryContext m_context;
    std::vector<int> m_classes;
    std::vector<ClassScores> m_scores; // per class of m_classes
    std::vector<QString> m_names;      // slots 0..719
    FullScores m_full;
    KantenNames m_kanten;
    scoreentry::Cursor m_cursor;
    QStringList m_loadProblems;
    bool m_readOnly = false;
    bool m_modified = false;
    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
    bool m_typing = false; // the last edit was a character into the cursor's cell

    TestScoreRecord &record(int tab, int row);
    // Stores a value into the current cell; by viewpoint the row total follows.
    bool store(int tab, int row, int column, int value);
    // `typing`: a character or Backspace, which extends the step of the characters before it.
    KeyOutcome edited(int before, int after, int digit, bool typing);
    bool writeFullScores(QString *error);
};

// The messages of the window (caption "TAVRO").
QString noClassToOpenMessage();
QString noFullScoreMessage();
QString overFullQuestion();
QString copyFinishedMessage();

} // namespace tavro
