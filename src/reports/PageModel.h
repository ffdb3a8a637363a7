#pragma once

#include "platform/PageCanvas.h"
#include "platform/PrintTarget.h"

#include <QDateTime>
#include <QString>

// The page model of the printed documents: a grid of character cells in units of 1/360 inch turned
// into device pixels, the drawing operations every document uses, and the common texts (dates with
// the Japanese era, the footer).
namespace tavro::reports {

inline constexpr int kUnitsPerInch = 360;

// n units as pixels at `dpi`, truncated toward zero.
constexpr int pixels(int units, int dpi) {
    return int(static_cast<long long>(units) * dpi / kUnitsPerInch);
}

inline const QString kMincho = QStringLiteral("ＭＳ 明朝");
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPMincho = QStringLiteral("ＭＳ Ｐ明朝");

// The grid of one document in pixels.
struct PageGrid {
    int left = 0;
    int top = 0;
    int rowHeight = 0;
    int columnWidth = 0;
    int lineOffset = 0;
    int thickPen = 1; // 5 units

    // From units at the canvas's resolution: horizontal lengths by dpiX, vertical by dpiY, or every
    // length but the top by dpiX when `rowsByX` (the score and class lists).
    static PageGrid fromUnits(const PageCanvas &canvas, int left, int top, int rowHeight, int columnWidth,
                              int lineOffset = 0, bool rowsByX = false);
    int x(int column) const { return left + column * columnWidth; }
    int y(int row) const { return top + row * rowHeight; }
};

// The drawing operations in grid coordinates on one canvas.
class Page {
public:
    Page(PageCanvas &canvas, const PageGrid &grid) : m_canvas(canvas), m_grid(grid) {}
    PageCanvas &canvas() { return m_canvas; }
    const PageGrid &grid() const { return m_grid; }
    void setGrid(const PageGrid &grid) { m_grid = grid; }

    void font(const QString &family, double pointSize, bool bold = false);
    // Text with its top-left at the cell origin.
    void text(int column, int row, const QString &text);
    // A text of at most 5 bytes shifted right by (6 − length) × (column width div 7).
    void rightAligned(int column, int row, const QString &text);
    // The number padded with blanks to 3 characters, one more blank in front.
    void number(int column, int row, int value);
    // Texts shorter than 3 bytes padded on the left with blanks to 3 bytes.
    void padded(int column, int row, const QString &text);
    // A one-byte text widened: to its full-width form, or with a blank in front.
    void single(int column, int row, const QString &text, bool fullWidth);
    // Rules 5 pixels above the rows, shifted left by the line offset.
    void verticalLine(int column, int firstRow, int lastRow);
    void horizontalLine(int firstColumn, int lastColumn, int row);
    // Text turned 90° counter-clockwise at x, y = top + (row + 3) × row height + half a row.
    void rotated(int x, int row, const QString &text);
    // Vertical writing ("@" face, escapement −900), ending at x, y = top + row × row height.
    void vertical(int x, int row, const QString &text);
    // A rectangle in pixels with the thick pen; the pen returns to 1 pixel.
    void frame(int left, int top, int right, int bottom);
    void thick() { m_canvas.setPenWidth(m_grid.thickPen); }
    void thin() { m_canvas.setPenWidth(1); }

private:
    PageCanvas &m_canvas;
    PageGrid m_grid;
    PageCanvas::Font m_font;
};

// "2024(令和06)年04月15日(月) 09:30:00": year, era and two-digit era year, month, day, weekday, time.
// Eras from 1868-01-25 (明治), 1912-07-30 (大正), 1926-12-25 (昭和), 1989-01-08 (平成), 2019-05-01 (令和).
QString eraDateTime(const QDateTime &dateTime);
// The short date and long time of the test prints: "2024/04/15 9:30:00".
QString shortDateTime(const QDateTime &dateTime);
// The footer of the test prints.
inline const QString kFooter = QStringLiteral("TAVRO for Windows");
// The job title of a document: "TAVRO for Windows " + name.
QString jobTitle(const QString &documentName);

// What a print ended with.
struct PrintOutcome {
    bool printed = false;
    bool cancelled = false;
    QString error; // "印刷できませんでした。" and the reason
    int pages = 0;
};
QString printFailedMessage(const QString &reason);

// Opens `job` on `target` and begins its canvas with the job's title and orientation. When the
// print ends here the canvas is null and `outcome` says why (cancelled, or the error).
PrintTarget::Opened beginPrint(PrintTarget &target, const PrintTarget::Job &job, PrintOutcome &outcome);
// A new page after the first; false with the error in `outcome`.
bool nextPrintPage(PageCanvas &canvas, PrintOutcome &outcome);
// Ends the job: printed, or false with the error in `outcome`.
bool endPrint(PageCanvas &canvas, PrintOutcome &outcome);

} // namespace tavro::reports
