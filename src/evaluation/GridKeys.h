#pragma once

#include <QChar>
#include <QString>

#include <vector>

// The keys of the evaluation window's grids as functions from (cell, key) to the new value, the
// sound to make and the cursor move, and the display form of score codes.
namespace tavro::gridkeys {

// Keys other than characters that the grids handle.
enum class Key { Character, Backspace, Delete, Enter, Space };

struct KeyPress {
    Key key = Key::Character;
    QChar ch; // Key::Character

    static KeyPress character(QChar c) { return {Key::Character, c}; }
    static KeyPress of(Key k) { return {k, QChar()}; }
};

// What a key did to a cell.
struct KeyResult {
    bool handled = false; // the key belongs to the grid (else it is left to the view)
    bool changed = false; // the value differs from before
    int value = 0;        // the value after the key
    bool beep = false;    // refused, or a score above the full score
    int digit = -1;       // the digit typed (to be spoken), -1 none
};

// The letter keys typed in place of digits ("m" 0, "j" 1, ... "x" 1), either case; -1 for other
// characters. Digits map to themselves.
int digitOfKey(QChar c);

// The score cell of `TokutenGrid`: the stored code and what the item says about it.
struct ScoreCell {
    int value = -1;
    int kind = 0;
    bool isProtected = false;
    int fullScore = 0;
};

// A key on a score cell. Read-only callers must not store the result.
KeyResult scoreKey(const ScoreCell &cell, const KeyPress &key);

// A key on a ratio or full-score cell of `KantenGrid` and `WariaiGrid3` (values 0..999).
KeyResult ratioKey(int value, const KeyPress &key);

// Enter/Space in `TokutenGrid`: the next row below `row` (0-based over `names`) whose name is not
// empty, or `row` itself at the end. `chime` is set when the new row's 1-based number mod 5 is 1.
struct RowMove {
    int row = 0;
    bool chime = false;
};
RowMove nextRow(const std::vector<QString> &rowNames, int row);

// The display form of a score code: "" for −1, "-", "*", "/", "*" + value for estimates, the number
// (with "+" in front when above a full score above 0); in a symbol-input item the marks "Aﾟ".."Cx",
// their estimates, "*0 " and "??".
QString displayText(int code, int fullScore, bool symbolInput);

// True when the cell shows the warning colour: above the full score, "*" or "??".
bool isWarningCell(int code, int fullScore, bool symbolInput);

// Name of the spoken digit sound: "rei".."ku" (boy's voice) or with "2" appended (girl's voice).
QString digitSoundName(int digit, bool girlsVoice);
inline const QString kChimeSound = QStringLiteral("DING");

} // namespace tavro::gridkeys
