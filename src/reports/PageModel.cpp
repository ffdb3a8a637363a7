#include "reports/PageModel.h"

#include "common/Cp932.h"
#include "common/Width.h"

#include <array>

namespace tavro::reports {

PageGrid PageGrid::fromUnits(const PageCanvas &canvas, int left, int top, int rowHeight, int columnWidth,
                             int lineOffset, bool rowsByX) {
    const int dx = canvas.dpiX();
    const int dy = rowsByX ? dx : canvas.dpiY();
    PageGrid g;
    g.left = pixels(left, dx);
    g.top = pixels(top, canvas.dpiY());
    g.rowHeight = pixels(rowHeight, dy);
    g.columnWidth = pixels(columnWidth, dx);
    g.lineOffset = pixels(lineOffset, dx);
    g.thickPen = std::max(1, pixels(5, dx));
    return g;
}

void Page::font(const QString &family, double pointSize, bool bold) {
    m_font = PageCanvas::Font{family, pointSize, bold, 0, false};
    m_canvas.setFont(m_font);
}

void Page::text(int column, int row, const QString &text) {
    m_canvas.text(m_grid.x(column), m_grid.y(row), text);
}

void Page::rightAligned(int column, int row, const QString &text) {
    const int length = cp932::byteLength(text);
    const int shift = length <= 5 ? (6 - length) * (m_grid.columnWidth / 7) : 0;
    m_canvas.text(m_grid.x(column) + shift, m_grid.y(row), text);
}

void Page::number(int column, int row, int value) {
    text(column, row, u' ' + QString::number(value).rightJustified(3, u' '));
}

void Page::padded(int column, int row, const QString &value) {
    const int length = cp932::byteLength(value);
    text(column, row, length < 3 ? QString(3 - length, u' ') + value : value);
}

void Page::single(int column, int row, const QString &value, bool fullWidth) {
    if (cp932::byteLength(value) == 1)
        text(column, row, fullWidth ? width::toFullWidth(value) : u' ' + value);
    else
        text(column, row, value);
}

void Page::verticalLine(int column, int firstRow, int lastRow) {
    const int x = m_grid.x(column) - m_grid.lineOffset;
    m_canvas.line(x, m_grid.y(firstRow) - 5, x, m_grid.y(lastRow) - 5);
}

void Page::horizontalLine(int firstColumn, int lastColumn, int row) {
    const int y = m_grid.y(row) - 5;
    m_canvas.line(m_grid.x(firstColumn) - m_grid.lineOffset, y, m_grid.x(lastColumn) - m_grid.lineOffset, y);
}

void Page::rotated(int x, int row, const QString &text) {
    PageCanvas::Font f = m_font;
    f.escapement = 900;
    m_canvas.setFont(f);
    m_canvas.text(x, m_grid.top + (row + 3) * m_grid.rowHeight + m_grid.rowHeight / 2, text);
    m_canvas.setFont(m_font);
}

void Page::vertical(int x, int row, const QString &text) {
    PageCanvas::Font f = m_font;
    f.escapement = -900;
    f.vertical = true;
    m_canvas.setFont(f);
    m_canvas.text(x, m_grid.y(row), text);
    m_canvas.setFont(m_font);
}

void Page::frame(int left, int top, int right, int bottom) {
    thick();
    m_canvas.rectangle(left, top, right, bottom);
    thin();
}

QString eraDateTime(const QDateTime &dateTime) {
    struct Era {
        QDate start;
        const char16_t *name;
    };
    static const std::array<Era, 5> eras = {{{QDate(2019, 5, 1), u"令和"},
                                             {QDate(1989, 1, 8), u"平成"},
                                             {QDate(1926, 12, 25), u"昭和"},
                                             {QDate(1912, 7, 30), u"大正"},
                                             {QDate(1868, 1, 25), u"明治"}}};
    static const std::array<const char16_t *, 7> weekdays = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};
    const QDate d = dateTime.date();
    QString era;
    int eraYear = d.year();
    for (const Era &e : eras)
        if (d >= e.start) {
            era = QString::fromUtf16(e.name);
            eraYear = d.year() - e.start.year() + 1;
            break;
        }
    return QString::asprintf("%04d(", d.year()) + era +
           QString::asprintf("%02d)年%02d月%02d日(", eraYear, d.month(), d.day()) +
           QString::fromUtf16(weekdays[std::size_t(d.dayOfWeek() - 1)]) + u')' + u' ' +
           dateTime.time().toString(QStringLiteral("hh:mm:ss"));
}

QString shortDateTime(const QDateTime &dateTime) {
    return dateTime.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
}

QString jobTitle(const QString &documentName) {
    return QStringLiteral("TAVRO for Windows ") + documentName;
}

QString printFailedMessage(const QString &reason) {
    return reason.isEmpty() ? QStringLiteral("印刷できませんでした。")
                            : QStringLiteral("印刷できませんでした。\r\n") + reason;
}

PrintTarget::Opened beginPrint(PrintTarget &target, const PrintTarget::Job &job, PrintOutcome &outcome) {
    PrintTarget::Opened opened = target.open(job);
    if (!opened.canvas) {
        outcome.cancelled = opened.cancelled;
        outcome.error = opened.cancelled ? QString() : printFailedMessage(opened.error);
        return opened;
    }
    opened.canvas->setTitle(job.title);
    opened.canvas->setOrientation(job.orientation);
    if (!opened.canvas->begin()) {
        outcome.error = printFailedMessage(QStringLiteral("プリンタを開けませんでした。"));
        opened.canvas.reset();
    }
    return opened;
}

bool nextPrintPage(PageCanvas &canvas, PrintOutcome &outcome) {
    if (canvas.newPage())
        return true;
    outcome.error = printFailedMessage(QStringLiteral("改ページできませんでした。"));
    return false;
}

bool endPrint(PageCanvas &canvas, PrintOutcome &outcome) {
    if (!canvas.end()) {
        const QString reason = canvas.errorString();
        outcome.error =
            printFailedMessage(reason.isEmpty() ? QStringLiteral("印刷を終了できませんでした。") : reason);
        return false;
    }
    outcome.printed = true;
    return true;
}

} // namespace tavro::reports
