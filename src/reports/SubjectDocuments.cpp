#include "reports/SubjectDocuments.h"

#include "common/Cp932.h"
#include "common/NumberText.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/GridKeys.h"
#include "evaluation/Results.h"
#include "evaluation/WorksheetViews.h"
#include "platform/Prompter.h"

#include <algorithm>
#include <cmath>

namespace tavro::reports {

namespace {

const QString kCaption = QStringLiteral("Tavro");
const QString kMovedAway = QStringLiteral("＊");
constexpr int kListRows = 60; // rows 3..62

// One student row: the slot and the number printed (the seat, or the position in an elective group).
struct Student {
    int slot = 0;
    int number = 0;
};

// A set of list pages: a class (or a part of an elective group) with its students.
struct Sheet {
    QString classLabel; // "1組"; empty for an elective group
    int cls = 0;
    std::vector<Student> students;
    int part = 1;
    int parts = 1;
};

// Opens the job and hands out its pages; every failure of the device ends up in the outcome.
class Job {
public:
    Job(PrintTarget &target, PrintOutcome &outcome) : m_target(target), m_outcome(outcome) {}

    bool open(const PrintTarget::Job &job) {
        m_canvas = beginPrint(m_target, job, m_outcome).canvas;
        return m_canvas != nullptr;
    }
    PageCanvas &canvas() { return *m_canvas; }
    bool nextPage() {
        if (m_outcome.pages > 0 && !nextPrintPage(*m_canvas, m_outcome))
            return false;
        ++m_outcome.pages;
        return true;
    }
    bool finish() { return endPrint(*m_canvas, m_outcome); }

private:
    PrintTarget &m_target;
    PrintOutcome &m_outcome;
    std::unique_ptr<PageCanvas> m_canvas;
};

QString fixed(double value, int width, int decimals) {
    return numbertext::fixed(value, decimals, width);
}

bool printable(const QString &name) {
    return !name.isEmpty() && !name.startsWith(kMovedAway);
}

QString shortName(const EvaluationSession &s, int viewpoint) {
    return s.kanten().shortName[std::size_t(viewpoint - 1)];
}

// The symbols of a pattern up to the first empty one.
QStringList labelsOf(const SymbolPattern *pattern) {
    QStringList labels;
    if (pattern)
        for (const QString &k : pattern->kigou) {
            if (k.isEmpty())
                break;
            labels.append(k);
        }
    return labels;
}

// The sheets of a list document: per checked class the seats 1..60, or the elective group in its member
// order, 60 a sheet.
std::vector<Sheet> listSheets(const EvaluationSession &s, const std::vector<int> &classes) {
    std::vector<Sheet> sheets;
    if (s.context().elective) {
        std::vector<Student> members;
        for (int slot : s.rows())
            members.push_back({slot, int(members.size()) + 1});
        const int parts = std::max(1, (int(members.size()) + kListRows - 1) / kListRows);
        for (int p = 0; p < parts; ++p) {
            Sheet sheet;
            sheet.part = p + 1;
            sheet.parts = parts;
            const auto from = members.begin() + std::min<std::ptrdiff_t>(p * kListRows, members.size());
            const auto to = members.begin() + std::min<std::ptrdiff_t>((p + 1) * kListRows, members.size());
            sheet.students.assign(from, to);
            sheets.push_back(std::move(sheet));
        }
        return sheets;
    }
    for (int cls : classes) {
        Sheet sheet;
        sheet.cls = cls;
        sheet.classLabel = s.classLabel(cls);
        for (int n = 1; n <= kSeatsPerClass; ++n)
            sheet.students.push_back({slotOf(cls, n), n});
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

// The students of one class for the small sheets: the seats of the class among the session's rows.
std::vector<Student> classStudents(const EvaluationSession &s, int cls) {
    std::vector<Student> students;
    for (int slot : s.rows())
        if (classOfSlot(slot) == cls)
            students.push_back({slot, numberOfSlot(slot)});
    return students;
}

// ---- the submission documents (資料A..E, 表紙) ----

PageGrid submissionGrid(const PageCanvas &canvas) {
    return PageGrid::fromUnits(canvas, 200, 180, 58, 70, 30);
}

QString subjectTitle(const EvaluationSession &s, int period, const QString &classLabel) {
    const EvaluationContext &c = s.context();
    return QStringLiteral("%1年度%2 %3年%4 %5 評定者：%6")
        .arg(c.nendo)
        .arg(s.periodName(period))
        .arg(c.grade)
        .arg(classLabel, c.kyouka, c.teacherName);
}

// Title line, "評定算出日時" with the time of `period`, the document mark.
void drawHeader(Page &page, const EvaluationSession &s, int period, const QString &title,
                const QString &mark) {
    PageCanvas &canvas = page.canvas();
    canvas.setFont({kMincho, 16});
    canvas.text(pixels(200, canvas.dpiX()), pixels(80, canvas.dpiY()), title);
    page.font(kMincho, 11);
    page.text(0, 0, QStringLiteral("評定算出日時"));
    page.text(8, 0, computedAtText(s.results().dateTime(period)));
    if (!mark.isEmpty())
        page.text(30, 0, mark);
}

QString pageMark(const QString &mark, int page, int pages, bool always) {
    return pages > 1 || always ? mark + QStringLiteral(" (%1/%2)").arg(page).arg(pages) : mark;
}

// The ruled list: row 2 to row 63 from column 0 to 36 with the thick rows, and the column borders.
void drawListRules(Page &page, const std::vector<int> &borders) {
    for (int row = 2; row <= 63; ++row) {
        const bool thick = row == 2 || row == 63 || row % 5 == 3;
        if (thick)
            page.thick();
        page.horizontalLine(0, 36, row);
        if (thick)
            page.thin();
    }
    for (std::size_t i = 0; i < borders.size(); ++i) {
        const bool outer = i == 0 || i + 1 == borders.size();
        if (outer)
            page.thick();
        page.verticalLine(borders[i], 2, 63);
        if (outer)
            page.thin();
    }
}

// The number of a list row and, when the seat has a name, the name; false for an empty seat.
bool drawStudentCell(Page &page, const EvaluationSession &s, const Student &st, int row) {
    page.text(0, row, QString::number(st.number).rightJustified(3, u' '));
    if (s.nameOf(st.slot).isEmpty())
        return false;
    page.text(2, row, printedName(s.nameOf(st.slot)));
    return true;
}

// Rows `row` to row + 3: "観点の割合", the headings, the ratios and their shares in a ruled box.
void drawRatioBox(Page &page, const EvaluationSession &s, int period, int row) {
    const Worksheet &w = s.worksheet();
    page.text(0, row, QStringLiteral("観点の割合"));
    for (int v = 1; v <= kViewpoints; ++v) {
        const int col = 8 + 3 * (v - 1);
        page.text(col, row, QStringLiteral("観点") + views::viewpointNumeral(v));
        const int r = w.viewpointRatio(period, v);
        if (r >= 1)
            page.number(col, row + 1, r);
        page.rightAligned(col, row + 2, viewpointShare(w, period, v));
    }
    for (int r = row; r <= row + 3; ++r) {
        const bool outer = r == row || r == row + 3;
        if (outer)
            page.thick();
        page.horizontalLine(8, 26, r);
        if (outer)
            page.thin();
    }
    for (int col = 8; col <= 26; col += 3) {
        const bool outer = col == 8 || col == 26;
        if (outer)
            page.thick();
        page.verticalLine(col, row, row + 3);
        if (outer)
            page.thin();
    }
}

// Rows needed by a distribution table with `labels` symbols: heading, symbols, "合計".
int distributionRows(int labels) {
    return labels + 2;
}

// A distribution table from `row`: one column per class and "合計", one row per symbol and "合計".
// Counts the students with a name whose evaluation (tab 0) or mark of viewpoint `tab` equals the symbol.
void drawDistribution(Page &page, const EvaluationSession &s, int period, int tab, const QString &heading,
                      int row) {
    const QStringList labels = labelsOf(tab == 0 ? s.evaluationPattern(period) : s.viewpointPattern(period));
    const std::vector<int> &classes = s.classes();
    const int n = int(classes.size());
    const int width = 11 + 3 * (n + 1) <= 36 ? 3 : 2;
    const int first = width == 3 ? 11 : 10;
    const int totalCol = first + width * n;
    page.text(0, row, heading);
    for (int i = 0; i < n; ++i)
        page.text(first + width * i, row, s.classLabel(classes[std::size_t(i)]));
    page.text(totalCol, row, QStringLiteral("合計"));
    std::vector<int> columnTotals(std::size_t(n) + 1, 0);
    for (int l = 0; l < int(labels.size()); ++l) {
        const int r = row + 1 + l;
        page.text(8, r, labels[l]);
        int rowTotal = 0;
        for (int i = 0; i < n; ++i) {
            int count = 0;
            const int cls = classes[std::size_t(i)];
            for (int number = 1; number <= kSeatsPerClass; ++number) {
                const int slot = slotOf(cls, number);
                if (s.nameOf(slot).isEmpty())
                    continue;
                const StudentResult &res = s.results().at(period, slot);
                const QString &text = tab == 0 ? res.evaluation : res.marks[std::size_t(tab - 1)];
                count += text == labels[l];
            }
            page.number(first + width * i, r, count);
            rowTotal += count;
            columnTotals[std::size_t(i)] += count;
        }
        page.number(totalCol, r, rowTotal);
        columnTotals[std::size_t(n)] += rowTotal;
    }
    const int last = row + 1 + int(labels.size());
    page.text(8, last, QStringLiteral("合計"));
    for (int i = 0; i <= n; ++i)
        page.number(first + width * i, last, columnTotals[std::size_t(i)]);
    const int end = totalCol + width;
    for (int r = row; r <= last + 1; ++r) {
        const bool thick = r == row || r == row + 1 || r == last || r == last + 1;
        if (thick)
            page.thick();
        page.horizontalLine(8, end, r);
        if (thick)
            page.thin();
    }
    page.thick();
    page.verticalLine(8, row, last + 1);
    page.verticalLine(end, row, last + 1);
    page.thin();
    for (int i = 0; i <= n; ++i)
        page.verticalLine(first + width * i, row, last + 1);
}

// Stamp boxes of `width` columns and four rows, the label in the first row.
void drawStampBoxes(Page &page, const QStringList &labels, const std::vector<int> &columns, int row,
                    int width) {
    for (int i = 0; i < int(labels.size()); ++i) {
        const int col = columns[std::size_t(i)];
        page.text(col, row, labels[i]);
        page.horizontalLine(col, col + width, row + 1);
        page.thick();
        page.horizontalLine(col, col + width, row);
        page.horizontalLine(col, col + width, row + 4);
        page.verticalLine(col, row, row + 4);
        page.verticalLine(col + width, row, row + 4);
        page.thin();
    }
}

bool printShiryouA(Job &job, const EvaluationSession &s, int period) {
    if (!job.nextPage())
        return false;
    Page page(job.canvas(), submissionGrid(job.canvas()));
    drawHeader(page, s, period, subjectTitle(s, period, {}), QStringLiteral("提出資料A"));
    drawRatioBox(page, s, period, 2);
    page.text(0, 6, QStringLiteral("評定の人数分布"));
    int row = 7;
    auto table = [&](int tab, const QString &heading) {
        const int labels =
            int(labelsOf(tab == 0 ? s.evaluationPattern(period) : s.viewpointPattern(period)).size());
        if (row + distributionRows(labels) > 63) {
            if (!job.nextPage())
                return false;
            drawHeader(page, s, period, subjectTitle(s, period, {}), QStringLiteral("提出資料A"));
            row = 2;
        }
        drawDistribution(page, s, period, tab, heading, row);
        row += distributionRows(labels) + 1;
        return true;
    };
    if (!table(0, QStringLiteral("評定")))
        return false;
    for (int v = 1; v <= s.viewpointCount(); ++v)
        if (!table(v, QStringLiteral("観点") + views::viewpointNumeral(v)))
            return false;
    return true;
}

bool printShiryouB(Job &job, const EvaluationSession &s, int period) {
    const Worksheet &w = s.worksheet();
    const std::vector<int> &shares = s.weightedShares(period);
    std::vector<int> items;
    for (int item = 1; item <= kMaxItems; ++item)
        if (shares[std::size_t(item - 1)] != 0)
            items.push_back(item);
    const int pages = std::max(1, (int(items.size()) + kListRows - 1) / kListRows);
    for (int p = 0; p < pages; ++p) {
        if (!job.nextPage())
            return false;
        Page page(job.canvas(), submissionGrid(job.canvas()));
        drawHeader(page, s, period, subjectTitle(s, period, {}),
                   pageMark(QStringLiteral("提出資料B"), p + 1, pages, false));
        page.text(0, 2, QStringLiteral(" No"));
        page.text(2, 2, QStringLiteral("種別"));
        page.text(4, 2, QStringLiteral("項目名"));
        page.text(15, 2, QStringLiteral(" 満点"));
        for (int v = 1; v <= kViewpoints; ++v)
            if (!shortName(s, v).isEmpty())
                page.text(18 + 3 * (v - 1), 2,
                          views::viewpointNumeral(v) + cp932::leftBytes(shortName(s, v), 4));
        for (int i = p * kListRows; i < std::min(int(items.size()), (p + 1) * kListRows); ++i) {
            const int item = items[std::size_t(i)];
            const int row = 3 + i - p * kListRows;
            const WorksheetItem &it = w.item(item);
            page.text(0, row, QString::number(item).rightJustified(3, u' '));
            page.text(2, row, views::kindShortName(it.kind));
            page.text(4, row, cp932::leftBytes(it.name, 28));
            page.text(16, row, QString::number(it.fullScore).rightJustified(3, u' '));
            for (int v = 1; v <= kViewpoints; ++v) {
                const int r = w.itemRatio(item, period, v);
                if (r != 0)
                    page.text(19 + 3 * (v - 1), row, QString::number(r).rightJustified(3, u' '));
            }
        }
        drawListRules(page, {0, 2, 4, 15, 18, 21, 24, 27, 30, 33, 36});
    }
    return true;
}

bool printShiryouC(Job &job, const EvaluationSession &s, int period, const std::vector<Sheet> &sheets) {
    const SymbolPattern *pattern = s.evaluationPattern(period);
    const bool showAchievement = !pattern || pattern->totatuDisp == 0;
    for (const Sheet &sheet : sheets) {
        if (!job.nextPage())
            return false;
        Page page(job.canvas(), submissionGrid(job.canvas()));
        drawHeader(page, s, period, subjectTitle(s, period, sheet.classLabel),
                   pageMark(QStringLiteral("提出資料C"), sheet.part, sheet.parts, s.context().elective));
        page.text(0, 2, QStringLiteral(" No"));
        page.text(2, 2, QStringLiteral("氏名"));
        for (int v = 1; v <= kViewpoints; ++v)
            if (!shortName(s, v).isEmpty())
                page.text(4 * v + 4, 2, views::viewpointNumeral(v) + cp932::leftBytes(shortName(s, v), 6));
        page.text(32, 2, QStringLiteral("評定"));
        for (int i = 0; i < int(sheet.students.size()); ++i) {
            const Student &st = sheet.students[std::size_t(i)];
            const int row = 3 + i;
            if (!drawStudentCell(page, s, st, row))
                continue;
            const StudentResult &r = s.results().at(period, st.slot);
            for (int v = 1; v <= kViewpoints; ++v) {
                const float pct = r.viewpointPercentages[std::size_t(v - 1)];
                if (pct > -1)
                    page.rightAligned(4 * v + 4, row, fixed(pct, 3, 2));
                if (!r.marks[std::size_t(v - 1)].isEmpty()) {
                    page.font(kGothic, 11);
                    page.text(4 * v + 7, row, r.marks[std::size_t(v - 1)]);
                    page.font(kMincho, 11);
                }
            }
            if (showAchievement && r.percentage > -1)
                page.rightAligned(32, row, fixed(r.percentage, 3, 2));
            page.font(kGothic, 11);
            page.text(35, row, r.evaluation);
            page.font(kMincho, 11);
        }
        drawListRules(page, {0, 2, 8, 12, 16, 20, 24, 28, 32, 36});
    }
    return true;
}

bool printShiryouD(Job &job, const EvaluationSession &s, int period, const std::vector<Sheet> &sheets) {
    const Worksheet &w = s.worksheet();
    std::vector<int> items;
    for (int item = 1; item <= kMaxItems; ++item)
        for (int v = 1; v <= kViewpoints; ++v)
            if (w.itemRatio(item, period, v) >= 1) {
                items.push_back(item);
                break;
            }
    constexpr int kPerPage = 14;
    const int itemPages = items.empty() ? 1 : (int(items.size()) - 1) / kPerPage + 1;
    for (const Sheet &sheet : sheets) {
        const int pages = itemPages * sheet.parts;
        for (int ip = 0; ip < itemPages; ++ip) {
            if (!job.nextPage())
                return false;
            Page page(job.canvas(), submissionGrid(job.canvas()));
            const int number = (sheet.part - 1) * itemPages + ip + 1;
            drawHeader(page, s, period, subjectTitle(s, period, sheet.classLabel),
                       pageMark(QStringLiteral("提出資料D"), number, pages, true));
            page.text(0, 2, QStringLiteral(" No"));
            page.text(2, 2, QStringLiteral("氏名"));
            const int from = ip * kPerPage;
            const int to = std::min(int(items.size()), from + kPerPage);
            for (int k = from; k < to; ++k) {
                const WorksheetItem &it = w.item(items[std::size_t(k)]);
                const int col = 8 + 2 * (k - from);
                page.font(kMincho, 6);
                page.text(col, 1, cp932::leftBytes(it.name, 8));
                page.font(kMincho, 11);
                page.text(col, 2, u'[' + QString::number(it.fullScore) + u']');
            }
            for (int i = 0; i < int(sheet.students.size()); ++i) {
                const Student &st = sheet.students[std::size_t(i)];
                const int row = 3 + i;
                if (!drawStudentCell(page, s, st, row))
                    continue;
                for (int k = from; k < to; ++k) {
                    const WorksheetItem &it = w.item(items[std::size_t(k)]);
                    const QString text = gridkeys::displayText(w.score(items[std::size_t(k)], st.slot),
                                                               it.fullScore, it.symbolInput);
                    page.text(8 + 2 * (k - from), row, text.rightJustified(4, u' '));
                }
            }
            std::vector<int> borders{0, 2};
            for (int col = 8; col <= 36; col += 2)
                borders.push_back(col);
            drawListRules(page, borders);
        }
    }
    return true;
}

bool printShiryouE(Job &job, const EvaluationSession &s, int period, const std::vector<Sheet> &sheets) {
    const std::vector<EvaluationSession::Period> &kinds = s.periods();
    constexpr int kRemarks = 18;
    for (const Sheet &sheet : sheets) {
        if (!job.nextPage())
            return false;
        Page page(job.canvas(), submissionGrid(job.canvas()));
        drawHeader(page, s, period, subjectTitle(s, period, sheet.classLabel),
                   pageMark(QStringLiteral("提出資料E"), sheet.part, sheet.parts, s.context().elective));
        page.text(0, 2, QStringLiteral(" No"));
        page.text(2, 2, QStringLiteral("氏名"));
        for (int j = 0; j < int(kinds.size()) && j < kPeriods; ++j) {
            page.font(kMincho, 8);
            page.text(8 + 2 * j, 1, cp932::leftBytes(kinds[std::size_t(j)].name, 6));
            page.font(kMincho, 11);
            page.text(8 + 2 * j, 2, QStringLiteral("評"));
        }
        page.text(kRemarks, 2, QStringLiteral("備　考"));
        const int width = page.grid().x(36) - page.grid().x(kRemarks) - page.grid().lineOffset;
        for (int i = 0; i < int(sheet.students.size()); ++i) {
            const Student &st = sheet.students[std::size_t(i)];
            const int row = 3 + i;
            if (!drawStudentCell(page, s, st, row))
                continue;
            page.font(kGothic, 11);
            for (int j = 0; j < int(kinds.size()) && j < kPeriods; ++j)
                page.text(8 + 2 * j, row,
                          u' ' + s.results().at(kinds[std::size_t(j)].number, st.slot).evaluation);
            const QString &comment = s.results().at(period, st.slot).comment;
            if (!comment.isEmpty()) {
                const FittedComment fit = fitComment(page.canvas(), kMincho, 9, comment, width);
                const int x = page.grid().x(kRemarks);
                const int y = page.grid().y(row);
                if (fit.lines.size() == 1)
                    page.canvas().text(x, y, fit.lines[0]);
                else {
                    page.canvas().text(x, y - 2, fit.lines[0]);
                    page.canvas().text(x, y - 2 + page.grid().rowHeight / 2, fit.lines[1]);
                }
            }
            page.font(kMincho, 11);
        }
        std::vector<int> borders{0, 2, 8};
        for (int j = 1; j <= kPeriods; ++j)
            borders.push_back(8 + 2 * j);
        borders.push_back(36);
        drawListRules(page, borders);
    }
    return true;
}

QString classesText(const EvaluationSession &s) {
    QStringList labels;
    for (int cls : s.classes()) {
        bool any = !s.context().elective;
        for (int slot : s.rows())
            any = any || classOfSlot(slot) == cls;
        if (any)
            labels.append(s.classLabel(cls));
    }
    return labels.join(u' ');
}

bool printCover(Job &job, const EvaluationSession &s, int period) {
    if (!job.nextPage())
        return false;
    Page page(job.canvas(), submissionGrid(job.canvas()));
    drawHeader(page, s, period, subjectTitle(s, period, {}), {});
    page.text(0, 3, QStringLiteral("担当学級：") + classesText(s));
    drawStampBoxes(page,
                   {QStringLiteral("教科担任"), QStringLiteral("教科代表"), QStringLiteral("教　務"),
                    QStringLiteral("教　頭"), QStringLiteral("校　長")},
                   {5, 10, 15, 20, 25}, 5, 4);
    page.font(kGothic, 20);
    page.text(8, 16, QStringLiteral("評定提出資料"));
    page.font(kMincho, 11);
    const QStringList contents = {
        QStringLiteral("提出資料A　観点割合と人数分布"), QStringLiteral("提出資料B　項目の満点と割合"),
        QStringLiteral("提出資料C　到達度と評定"), QStringLiteral("提出資料D　項目の得点一覧"),
        QStringLiteral("提出資料E　評定推移とコメント")};
    for (int i = 0; i < int(contents.size()); ++i)
        page.text(8, 20 + 2 * i, contents[i]);
    page.font(kMincho, 9);
    page.text(0, 57, QStringLiteral("※空欄は、到達度0%として計算されています。"));
    page.text(0, 58,
              QStringLiteral("※得点一覧の記号は、Aﾟ→5点、A→4点、B→3点、C→2点、Cx→1点となっています。"));
    return true;
}

// ---- the small sheets ----

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

void drawSheetRules(Page &page, int firstRow, int headerRows, int lastRow, const std::vector<int> &borders,
                    int right) {
    for (int row = firstRow; row <= lastRow; ++row) {
        const int k = row - firstRow - headerRows;
        const bool thick = row == firstRow || k == 0 || row == lastRow || (k > 0 && k % 5 == 0);
        if (thick)
            page.thick();
        page.horizontalLine(0, right, row);
        if (thick)
            page.thin();
    }
    for (std::size_t i = 0; i < borders.size(); ++i) {
        const bool outer = i == 0 || i + 1 == borders.size();
        if (outer)
            page.thick();
        page.verticalLine(borders[i], firstRow, lastRow);
        if (outer)
            page.thin();
    }
}

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

} // namespace

QString subjectDocumentName(SubjectDocument document) {
    switch (document) {
    case SubjectDocument::ShiryouA:
        return QStringLiteral("評定資料A");
    case SubjectDocument::ShiryouB:
        return QStringLiteral("評定資料B");
    case SubjectDocument::ShiryouC:
        return QStringLiteral("評定資料C");
    case SubjectDocument::ShiryouD:
        return QStringLiteral("評定資料D");
    case SubjectDocument::ShiryouE:
        return QStringLiteral("評定資料E");
    case SubjectDocument::Cover:
        return QStringLiteral("評定鑑");
    case SubjectDocument::Kohyou:
    case SubjectDocument::KohyouOld:
        return QStringLiteral("小票");
    case SubjectDocument::KohyouCover:
        return QStringLiteral("鑑");
    }
    return {};
}

bool printsPerClass(SubjectDocument document, bool elective) {
    switch (document) {
    case SubjectDocument::ShiryouC:
    case SubjectDocument::ShiryouD:
    case SubjectDocument::ShiryouE:
        return !elective;
    case SubjectDocument::Kohyou:
    case SubjectDocument::KohyouOld:
        return true;
    default:
        return false;
    }
}

PrintOutcome printSubjectDocument(SubjectDocument document, const EvaluationSession &session, int period,
                                  const std::vector<int> &classes, PrintTarget &target, Prompter &prompter,
                                  const QDateTime &now) {
    PrintOutcome outcome;
    if (!isPeriod(period))
        return outcome;
    if (printsPerClass(document, session.context().elective) && classes.empty()) {
        prompter.message(kCaption, QStringLiteral("学級を選択してください。"));
        return outcome;
    }
    PrintTarget::Job request;
    request.title = jobTitle(subjectDocumentName(document));
    if (document == SubjectDocument::ShiryouA)
        request.copies = std::max(1, int(session.classes().size()));
    Job job(target, outcome);
    if (!job.open(request))
        return outcome;
    const std::vector<Sheet> sheets = listSheets(session, classes);
    bool ok = false;
    switch (document) {
    case SubjectDocument::ShiryouA:
        ok = printShiryouA(job, session, period);
        break;
    case SubjectDocument::ShiryouB:
        ok = printShiryouB(job, session, period);
        break;
    case SubjectDocument::ShiryouC:
        ok = printShiryouC(job, session, period, sheets);
        break;
    case SubjectDocument::ShiryouD:
        ok = printShiryouD(job, session, period, sheets);
        break;
    case SubjectDocument::ShiryouE:
        ok = printShiryouE(job, session, period, sheets);
        break;
    case SubjectDocument::Cover:
        ok = printCover(job, session, period);
        break;
    case SubjectDocument::Kohyou:
        ok = printKohyou(job, session, period, classes);
        break;
    case SubjectDocument::KohyouOld:
        ok = printKohyouOld(job, session, period, classes);
        break;
    case SubjectDocument::KohyouCover:
        ok = printKohyouCover(job, session, period, now);
        break;
    }
    if (ok)
        job.finish();
    return outcome;
}

QString viewpointShare(const Worksheet &worksheet, int period, int viewpoint) {
    long long sum = 0;
    for (int v = 1; v <= kViewpoints; ++v)
        sum += worksheet.viewpointRatio(period, v);
    const int r = worksheet.viewpointRatio(period, viewpoint);
    if (sum <= 0 || r == 0)
        return {};
    return QString::number(int(std::trunc(double(r) / double(sum) * 100.0 + 0.5))) + u'%';
}

QString computedAtText(double dayCount) {
    const QDateTime t = fromDayCount(dayCount);
    return t.isValid() ? eraDateTime(t) : QStringLiteral("評定未算出");
}

QString printedName(const QString &name, int bytes) {
    const QString rest = name.startsWith(kMovedAway) ? cp932::midBytes(name, 2) : name;
    return cp932::leftBytes(rest, bytes);
}

FittedComment fitComment(PageCanvas &canvas, const QString &family, double largest, const QString &comment,
                         int width) {
    FittedComment fit;
    for (double size = largest; size >= 6; size -= 0.5) {
        canvas.setFont({family, size});
        if (canvas.textWidth(comment) <= width) {
            fit.pointSize = size;
            fit.lines = {comment};
            return fit;
        }
    }
    canvas.setFont({family, 6});
    fit.pointSize = 6;
    int cut = 0;
    while (cut < comment.size() && canvas.textWidth(comment.left(cut + 1)) <= width)
        ++cut;
    if (cut < comment.size() && comment.at(cut).isLowSurrogate() && cut > 0)
        --cut;
    QString rest = comment.mid(cut);
    if (canvas.textWidth(rest) > width) {
        const QString ellipsis = QStringLiteral("…");
        while (!rest.isEmpty() && canvas.textWidth(rest + ellipsis) > width)
            rest.chop(1);
        rest += ellipsis;
    }
    fit.lines = {comment.left(cut), rest};
    return fit;
}

} // namespace tavro::reports
