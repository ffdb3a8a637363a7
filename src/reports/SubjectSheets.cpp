#include "reports/SubjectDocumentParts.h"

#include "evaluation/EvaluationSession.h"
#include "evaluation/Results.h"
#include "evaluation/WorksheetViews.h"

#include <array>

// The small sheets (小票) of the checked classes, in the current and the old layout, and their cover.
namespace tavro::reports::subjectdoc {

namespace {

PageGrid sheetGrid(const PageCanvas &canvas, int top) {
    return PageGrid::fromUnits(canvas, 200, top, 50, 45, 20);
}

QString sheetTitle(const EvaluationSession &s, int cls) {
    return QStringLiteral("%1年度 %2年 %3")
        .arg(s.context().nendo)
        .arg(s.context().grade)
        .arg(s.classLabel(cls));
}

QString sheetDateTime(double dayCount) {
    const QDateTime t = fromDayCount(dayCount);
    return t.isValid() ? t.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) : QStringLiteral("評定未算出");
}

// Stamp boxes with labels written downwards in a strip at their left, ending at column 57.
void drawVerticalStampBoxes(Page &page, int row) {
    const QStringList labels = {QStringLiteral("校長"), QStringLiteral("教頭"), QStringLiteral("教務"),
                                QStringLiteral("科代"), QStringLiteral("担任")};
    for (int i = 0; i < int(labels.size()); ++i) {
        const int col = 37 + 4 * i;
        // 8 points fit the strip of one column between its rules.
        page.font(kMincho, 8);
        for (int k = 0; k < int(labels[i].size()); ++k)
            page.canvas().text(page.grid().x(col) - page.grid().lineOffset + 3, page.grid().y(row + 1 + k),
                               labels[i].mid(k, 1));
        page.font(kMincho, 9);
        page.verticalLine(col + 1, row, row + 4);
        page.thick();
        page.horizontalLine(col, col + 4, row);
        page.horizontalLine(col, col + 4, row + 4);
        page.verticalLine(col, row, row + 4);
        page.verticalLine(col + 4, row, row + 4);
        page.thin();
    }
}

} // namespace

bool printKohyou(Job &job, const EvaluationSession &s, int period, const std::vector<int> &classes) {
    constexpr int kComment = 26;
    constexpr int kRight = 57;
    for (int cls : classes) {
        if (!job.nextPage())
            return false;
        Page page(job.canvas(), sheetGrid(job.canvas(), 480));
        page.font(kGothic, 20);
        page.canvas().text(page.grid().x(0), pixels(120, page.canvas().dpiY()), sheetTitle(s, cls));
        page.font(kMincho, 9);
        page.text(0, -2, s.context().kyouka + QStringLiteral("　") + s.periodName(period));
        drawVerticalStampBoxes(page, -7);
        page.text(0, 0, QStringLiteral("番"));
        page.text(2, 0, QStringLiteral("氏      名"));
        for (int v = 1; v <= 5; ++v)
            page.text(10 + 2 * (v - 1), 0, u' ' + views::viewpointNumeral(v));
        page.text(20, 0, QStringLiteral("到達"));
        page.text(23, 0, QStringLiteral("評定"));
        page.text(kComment, 0, QStringLiteral("コメント (") + s.periodName(period) + u')');
        const int width = page.grid().x(kRight) - page.grid().x(kComment) - page.grid().lineOffset;
        const std::vector<Student> students = classStudents(s, cls);
        for (int i = 0; i < int(students.size()) && i < kListRows; ++i) {
            const Student &st = students[std::size_t(i)];
            const int row = 1 + i;
            page.text(0, row, QString::number(st.number).rightJustified(2, u' '));
            if (s.nameOf(st.slot).isEmpty())
                continue;
            page.text(2, row, printedName(s.nameOf(st.slot)));
            const StudentResult &r = s.results().at(period, st.slot);
            for (int v = 1; v <= 5; ++v)
                page.text(10 + 2 * (v - 1), row, u' ' + r.marks[std::size_t(v - 1)]);
            if (r.percentage > -1)
                page.text(20, row, fixed(r.percentage, 5, 1));
            page.font(kGothic, 9);
            page.text(23, row, u' ' + r.evaluation);
            page.font(kMincho, 9);
            const checks::Symbols &sym = s.symbols().at(period, st.slot);
            page.text(25, row, sym.border);
            page.text(kRight, row, sym.change + sym.consistency);
            if (!r.comment.isEmpty()) {
                const FittedComment fit = fitComment(page.canvas(), kMincho, 9, r.comment, width);
                const int x = page.grid().x(kComment);
                const int y = page.grid().y(row);
                page.canvas().text(x, y - (fit.lines.size() > 1 ? 2 : 0), fit.lines[0]);
                if (fit.lines.size() > 1)
                    page.canvas().text(x, y - 2 + page.grid().rowHeight / 2, fit.lines[1]);
            }
            page.font(kMincho, 9);
        }
        drawSheetRules(page, 0, 1, 61, {0, 2, 10, 12, 14, 16, 18, 20, 23, kComment, kRight}, kRight);
        page.text(0, 62, QStringLiteral("評定者: [") + s.context().teacherName + u']');
        page.text(kComment, 62, QStringLiteral("評定日時: ") + sheetDateTime(s.results().dateTime(period)));
    }
    return true;
}

bool printKohyouOld(Job &job, const EvaluationSession &s, int period, const std::vector<int> &classes) {
    constexpr int kRemarks = 24;
    constexpr int kStrip = 47;
    constexpr int kRight = 57;
    for (int cls : classes) {
        if (!job.nextPage())
            return false;
        Page page(job.canvas(), sheetGrid(job.canvas(), 600));
        page.font(kGothic, 20);
        page.canvas().text(page.grid().x(0), pixels(120, page.canvas().dpiY()), sheetTitle(s, cls));
        page.font(kMincho, 9);
        page.text(0, -5,
                  QStringLiteral("教　　科: ") + s.context().kyouka + QStringLiteral("　") +
                      s.periodName(period));
        page.text(0, -4, QStringLiteral("学 校 名: [") + s.context().schoolName + u']');
        page.text(0, -3, QStringLiteral("評 定 者: [") + s.context().teacherName + u']');
        page.text(0, -2, QStringLiteral("評定日時: ") + sheetDateTime(s.results().dateTime(period)));
        drawVerticalStampBoxes(page, -7);
        page.text(0, 0, QStringLiteral("番"));
        page.text(2, 0, QStringLiteral("氏      名"));
        page.text(10, 0, QStringLiteral("観     点"));
        for (int v = 1; v <= kViewpoints; ++v)
            page.text(10 + 2 * (v - 1), 1, u' ' + views::viewpointNumeral(v));
        page.text(22, 0, QStringLiteral(" 評"));
        page.text(22, 1, QStringLiteral(" 定"));
        page.text(kRemarks, 0, QStringLiteral("備    考"));
        page.text(kStrip, 0, QStringLiteral("評定履歴"));
        for (int k = 1; k <= kPeriods; ++k)
            page.text(kStrip + 2 * (k - 1), 1, u' ' + views::periodNumeral(k));
        const int width = page.grid().x(kStrip) - page.grid().x(kRemarks) - page.grid().lineOffset;
        const std::vector<Student> students = classStudents(s, cls);
        std::array<int, 5> counts{};
        for (int i = 0; i < int(students.size()) && i < kListRows; ++i) {
            const Student &st = students[std::size_t(i)];
            const int row = 2 + i;
            page.text(0, row, QString::number(st.number).rightJustified(2, u' '));
            if (s.nameOf(st.slot).isEmpty())
                continue;
            page.text(2, row, printedName(s.nameOf(st.slot)));
            const StudentResult &r = s.results().at(period, st.slot);
            for (int v = 1; v <= kViewpoints; ++v)
                page.text(10 + 2 * (v - 1), row, u' ' + r.marks[std::size_t(v - 1)]);
            page.font(kGothic, 9);
            page.text(22, row, u' ' + r.evaluation);
            for (int k = 1; k <= kPeriods; ++k)
                page.text(kStrip + 2 * (k - 1), row, u' ' + s.results().at(k, st.slot).evaluation);
            page.font(kMincho, 9);
            for (int g = 1; g <= 5; ++g)
                counts[std::size_t(g - 1)] +=
                    r.evaluation == QString::number(g) || r.evaluation == QString(QChar(0xFF10 + g));
            if (!r.comment.isEmpty()) {
                const FittedComment fit = fitComment(page.canvas(), kMincho, 9, r.comment, width);
                const int x = page.grid().x(kRemarks);
                const int y = page.grid().y(row);
                page.canvas().text(x, y - (fit.lines.size() > 1 ? 2 : 0), fit.lines[0]);
                if (fit.lines.size() > 1)
                    page.canvas().text(x, y - 2 + page.grid().rowHeight / 2, fit.lines[1]);
            }
            page.font(kMincho, 9);
        }
        drawSheetRules(page, 0, 2, 62, {0, 2, 10, 12, 14, 16, 18, 20, 22, 24, kStrip, kRight}, kRight);
        for (int k = 2; k <= 4; ++k)
            page.verticalLine(kStrip + 2 * (k - 1), 1, 62);
        page.horizontalLine(10, 22, 1);
        page.text(0, 63, QStringLiteral("評定人数"));
        for (int g = 5; g >= 1; --g) {
            const int col = 10 + 4 * (5 - g);
            page.text(col, 63, QString(QChar(0xFF10 + g)));
            page.text(col + 1, 63, QString::asprintf("%3d", counts[std::size_t(g - 1)]));
        }
        page.horizontalLine(0, 30, 64);
        page.text(kStrip, 63, QStringLiteral("↑チェックのため"));
        page.text(kStrip, 64, QStringLiteral("ここを切り離さ"));
        page.text(kStrip, 65, QStringLiteral("ないでください"));
    }
    return true;
}

bool printKohyouCover(Job &job, const EvaluationSession &s, int period, const QDateTime &now) {
    if (!job.nextPage())
        return false;
    Page page(job.canvas(), submissionGrid(job.canvas()));
    PageCanvas &canvas = page.canvas();
    canvas.setFont({kGothic, 20});
    canvas.text(pixels(200, canvas.dpiX()), pixels(60, canvas.dpiY()),
                QStringLiteral("%1年度 %2年 %3 %4 鑑")
                    .arg(s.context().nendo)
                    .arg(s.context().grade)
                    .arg(s.context().kyouka, s.periodName(period)));
    page.font(kMincho, 11);
    page.text(0, 0, QStringLiteral("印刷日時：") + now.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")));
    page.text(20, 0, QStringLiteral("評定者: [") + s.context().teacherName + u']');
    drawRatioBox(page, s, period, 2);
    page.text(0, 6, QStringLiteral("評定の人数分布"));
    drawDistribution(page, s, period, 0, QString(), 7);
    int row = 7 + distributionRows(int(labelsOf(s.evaluationPattern(period)).size())) + 1;

    const QString prefix = QStringLiteral("※評定しない生徒 → ");
    const int limit = page.grid().x(36) - page.grid().x(0);
    QString line = prefix;
    for (int slot : s.rows()) {
        if (!printable(s.nameOf(slot)) || !s.results().at(period, slot).evaluation.isEmpty())
            continue;
        const QString entry =
            QStringLiteral("【%1%2番  】").arg(s.classLabel(classOfSlot(slot))).arg(numberOfSlot(slot));
        if (canvas.textWidth(line + entry) > limit && line.size() > prefix.size()) {
            page.text(0, row++, line);
            line = QString(prefix.size(), QChar(0x3000));
            if (row > 48)
                break;
        }
        line += entry;
    }
    if (row <= 48)
        page.text(0, row, line);
    drawStampBoxes(page,
                   {QStringLiteral("教科担任"), QStringLiteral("教科代表"), QStringLiteral("教　務"),
                    QStringLiteral("教　頭"), QStringLiteral("校　長")},
                   {11, 16, 21, 26, 31}, 50, 4);
    page.font(kMincho, 9);
    page.text(0, 57, QStringLiteral("※鑑の印刷日時は、小票の評定日時より新しいものでなければなりません。"));
    page.text(0, 58, QStringLiteral("※小票と一覧表の評定日時は、一致していなければなりません。"));
    page.text(0, 59,
              QStringLiteral(
                  "※評定右の記号はボーダー付近、欄外の記号は上下変動や学年末の整合性などのチェックです。"));
    return true;
}

} // namespace tavro::reports::subjectdoc
