#pragma once

#include "config/Roster.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

namespace tavro {

class Prompter;

// A rectangle of grid cells, rows and columns inclusive.
struct CellRange {
    int top = 0;
    int left = 0;
    int bottom = -1;
    int right = -1;

    bool isValid() const { return top <= bottom && left <= right; }
    bool operator==(const CellRange &) const = default;
};

// The working copy of the roster window: a grid of ClassCount × 60 + 1 rows and 10 columns over the
// roster file of one grade. Row 0 holds the column captions and columns 0 and 1 the class and number
// labels; row r >= 1 is slot r - 1 with the file's fields 3..10 in columns 2..9.
//
// Lines of the file past the shown classes (the class count was lowered since it was written) are
// kept byte for byte and written back after the shown slots, so lowering the count loses no student.
class RosterEditor {
public:
    static constexpr int kColumns = 10;
    static constexpr int kFirstDataColumn = 2;
    static constexpr int kNameColumn = 2;
    static constexpr int kFuriganaColumn = 3;
    static constexpr int kRowsPerTab = 30;

    // An empty roster of `classCount` classes (0..12), not tied to a file.
    RosterEditor(int classCount, bool classType);

    // The roster of `grade` in year `nendo`: creates the year folder when missing, reads ClassCount of
    // the grade from the year settings and loads the roster file when it exists.
    static RosterEditor open(const QString &dataFolder, int nendo, int grade, bool classType);

    // Fills the grid from file bytes. Lines past the grid are kept for saving.
    void loadBytes(const QByteArray &bytes);

    int classCount() const { return m_classCount; }
    bool classType() const { return m_classType; }
    int rowCount() const { return int(m_entries.size()) + 1; }
    int lastRow() const { return int(m_entries.size()); }
    const QString &path() const { return m_path; }
    // Non-empty when the roster file exists but could not be read; saving is then refused.
    const QString &loadError() const { return m_loadError; }

    static QString columnCaption(int column);
    QString cell(int row, int column) const;
    static bool isEditable(int row, int column) {
        return row >= 1 && column >= kFirstDataColumn && column < kColumns;
    }
    // Sets a data cell. False with a message for text the roster refuses (refusedTextMessage()).
    bool setCell(int row, int column, const QString &text, QString *error = nullptr);

    // The message for text a roster cell cannot hold: a character code page 932 cannot hold, or a
    // control character (U+0000..U+001F, U+007F); empty when the text can be stored.
    static QString refusedTextMessage(const QString &text);

    // Two tabs per class (" 1組M", " 1組F", ... or " A組M", ...). Tab t covers rows 30t + 1 .. 30t + 30.
    int tabCount() const { return m_classCount * 2; }
    QString tabCaption(int tab) const;
    static int tabForRow(int row) { return (row + kRowsPerTab - 1) / kRowsPerTab - 1; }
    static int firstRowOfTab(int tab) { return kRowsPerTab * tab + 1; }
    // Row r > 1 with (r - 1) mod 5 = 0: a grey line along its top marks a group of five.
    static bool startsGroupOfFive(int row) { return row > 1 && (row - 1) % 5 == 0; }

    // Sizes from the grid font, u = font size in points × pixels per inch / 72.
    static int rowHeight(int u) { return u + 2; }
    static int columnWidth(int column, int u);

    // The cells of the range as text: cells separated by TAB, every row ended by CR LF. Not limited in
    // length.
    QString copyText(const CellRange &range) const;
    // Empties the editable cells of the range.
    void clear(const CellRange &range);
    // Pastes clipboard text from (row, column): TAB moves to the next column, a line end to the next
    // row at the starting column; empty pieces leave their cell unchanged; pieces past the last column
    // are dropped and lines past the last row ignored. `changed` gets the cells written to. Text that
    // code page 932 cannot hold is refused as a whole: false with a message, nothing changed.
    bool paste(const QString &text, int row, int column, CellRange *changed = nullptr,
               QString *error = nullptr);

    // "ふりがな変換": every reading to hiragana.
    void convertFurigana();

    // "履歴自動作成": asks, fills the history columns from earlier years' rosters, reporting the progress
    // text, and shows the closing message. False when the user declined.
    bool buildHistory(Prompter &prompter, const std::function<void(const QString &)> &progress = {});

    // Undo and redo, one step per action: a cell edited, a delete or cut, a paste, "ふりがな変換",
    // "履歴自動作成". A step keeps the students it changed, before and after; the steps are kept until
    // the window closes and a new action drops what could be redone. `changed` gets the cells put back.
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    bool undo(CellRange *changed = nullptr);
    bool redo(CellRange *changed = nullptr);

    // The question on close. True when the window may close: the user answered No, or Yes and the
    // roster was saved. A failed save shows its error and returns false, so the edits stay open.
    bool closeQuery(Prompter &prompter);

    // The file bytes: the grid's slots, then the kept lines.
    bool serialize(QByteArray &bytes, QString *error = nullptr) const;
    bool save(QString *error = nullptr) const;

    const std::vector<RosterEntry> &entries() const { return m_entries; }
    int keptLineCount() const { return int(m_keptLines.size()); }

private:
    RosterEntry *entryAt(int row);

    struct EntryChange {
        int index;
        RosterEntry before, after;
    };
    using Step = std::vector<EntryChange>;
    // Pushes what changed since `before` as one step (nothing when nothing changed).
    void pushStep(const std::vector<RosterEntry> &before);
    bool apply(std::vector<Step> &from, std::vector<Step> &to, bool forward, CellRange *changed);

    int m_classCount = 0;
    bool m_classType = true;
    QString m_dataFolder;
    int m_nendo = 0;
    int m_grade = 0;
    QString m_path;
    QString m_loadError;
    std::vector<RosterEntry> m_entries;
    QList<QByteArray> m_keptLines;
    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
};

} // namespace tavro
