#pragma once

#include <QByteArray>
#include <QString>

namespace tavro {

// Tab-separated text for the clipboard. Two row styles:
//  - Terminated: every cell is followed by a tab, and the row ends with CR LF ("a\tb\t\r\n"); this
//    is also the "line ends with an empty cell" form of the transfers.
//  - Separated: cells are separated by tabs, the last cell is followed by CR LF ("a\tb\r\n").
class TabText {
public:
    enum class Style { Terminated, Separated };
    explicit TabText(Style style = Style::Terminated) : m_style(style) {}

    TabText &cell(const QString &text);
    // A cell's text with its tabs and line breaks turned into blanks, so it cannot shift the table.
    static QString cleanCell(const QString &text);
    TabText &cell(long long number);
    TabText &emptyCells(int count);
    // Ends the current row (an empty row is just CR LF).
    TabText &endRow();

    const QString &text() const { return m_text; }
    // The text in code page 932, as the clipboard carries it.
    QByteArray toCp932() const;

private:
    Style m_style;
    QString m_text;
    bool m_rowHasCells = false;
};

// Splits pasted clipboard text into rows (CR LF, LF or CR) of tab-separated cells. A final line
// ending does not add an empty row.
QList<QStringList> splitTabText(const QString &text);

} // namespace tavro
