#pragma once

#include "testscores/TestScores.h"

#include <QChar>
#include <QString>

// The keys of the score-entry grid as functions: a character on a cell's value, and the cursor moves
// over the halves of the classes (two tabs per class, 30 rows, column 0 the total, 1..5 the viewpoints).
namespace tavro::scoreentry {

inline constexpr int kRows = 30;        // rows of one half (tab)
inline constexpr int kEntryColumns = 6; // total and viewpoints 1..5
inline constexpr int kMaxEntryClasses = 9;

// A full-width character of the ASCII range (１, ＊, －, ／, ｎ, typed through an input method) as
// its half-width key; other characters as they are.
QChar halfWidthKey(QChar c);

// "m" 0, "j" 1, "k" 2, "l" 3, "u" 4, "i" 5, "o" 6 (either case) and the digits; -1 for others.
int digitOfKey(QChar c);

// What a character did to a cell.
struct CharResult {
    bool changes = false;  // the key is one that edits (digit, mapped letter, "*", "-", "/")
    bool nextHalf = false; // "n": first row of the next tab
    int value = testscore::kBlank;
    int digit = -1; // the digit typed (to be spoken)
};

// A character on a cell holding `value`: digits accumulate (a value of -1 or less is replaced), a
// value above 100 becomes value mod 100, "*" -3, "-" -2, "/" -1. Other characters change nothing.
CharResult characterKey(int value, QChar c);
// Backspace: the last digit dropped; values below 10 and the codes become blank.
int backspaceValue(int value);

// The total of a row entered by viewpoint: the sum of viewpoints 1..5 that are 0 or more, when the
// last non-blank viewpoint is a score; else that viewpoint's code (-2, -3), or -1 when all are blank.
int rowTotal(const TestScoreRecord &record);

// Display text of a stored score: "" for -1, "-", "*", the number.
QString scoreText(int value);

struct Cursor {
    int tab = 0;
    int row = 1;    // 1..30
    int column = 0; // 0 total, 1..5 viewpoints
    bool operator==(const Cursor &) const = default;
};

enum class Move { Enter, Down, Up, Right, Left, Home, End, PageUp, PageDown, NextHalf };

// What the moves depend on: the number of tabs, the mode and the full scores.
struct Layout {
    int tabs = 2;
    bool byViewpoint = true;
    TestScoreRecord fullScores{};
};

struct MoveResult {
    Cursor cursor;
    bool rowChanged = false;
    bool chime = false; // the row changed and its number mod 5 is 1
};

// The lowest viewpoint whose full score is at least 1 (viewpoint 1 when none).
int firstExaminedViewpoint(const TestScoreRecord &fullScores);
// A cursor move. Keys without meaning in the mode (Right, Left, Home, End in total-only mode) leave
// the cursor where it is. `ctrl` adds the row move to Home and End.
MoveResult move(const Cursor &cursor, Move key, bool ctrl, const Layout &layout);

} // namespace tavro::scoreentry
