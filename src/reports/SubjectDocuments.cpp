#include "reports/SubjectDocuments.h"

#include "common/Cp932.h"
#include "common/NumberText.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/GridKeys.h"
#include "evaluation/Results.h"
#include "evaluation/WorksheetViews.h"
#include "platform/Prompter.h"
#include "reports/SubjectDocumentParts.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace tavro::reports {

using namespace subjectdoc;

namespace {

const QString kCaption = QStringLiteral("Tavro");

QString shortName(const EvaluationSession &s, int viewpoint) {
    return s.kanten().shortName[std::size_t(viewpoint - 1)];
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

// ---- the submission documents (資料A..E, 表紙) ----

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
    drawSheetRules(page, 2, 1, 63, borders, 36);
}

// The number of a list row and, when the seat has a name, the name; false for an empty seat.
bool drawStudentCell(Page &page, const EvaluationSession &s, const Student &st, int row) {
    page.text(0, row, QString::number(st.number).rightJustified(3, u' '));
    if (s.nameOf(st.slot).isEmpty())
        return false;
    page.text(2, row, printedName(s.nameOf(st.slot)));
    return true;
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
        // The whole period name over its two columns: smaller type, then two lines.
        const PageGrid &grid = page.grid();
        const int nameWidth = 2 * grid.columnWidth - pixels(6, page.canvas().dpiX());
        for (int j = 0; j < int(kinds.size()) && j < kPeriods; ++j) {
            const FittedComment fit =
                fitHeading(page.canvas(), kMincho, 8, kinds[std::size_t(j)].name, nameWidth, grid.rowHeight);
            page.font(kMincho, fit.pointSize);
            const int lineHeight = grid.rowHeight / 2;
            for (int l = 0; l < int(fit.lines.size()); ++l)
                page.canvas().text(grid.x(8 + 2 * j),
                                   grid.y(1) + (fit.lines.size() > 1 ? l * lineHeight - 4 : 0), fit.lines[l]);
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

int yearEndPeriod(const EvaluationSession &session) {
    const int configured = session.settings().consistencyItem[0];
    if (isPeriod(configured))
        return configured;
    const std::vector<EvaluationSession::Period> &periods = session.periods();
    return periods.empty() ? 0 : periods.back().number;
}

bool offeredFor(SubjectDocument document, const EvaluationSession &session, int period) {
    return document != SubjectDocument::ShiryouE || period == yearEndPeriod(session);
}

QString yearEndOnlyMessage() {
    return QStringLiteral("資料Eは学年末の評定でのみ印刷できます。");
}

PrintOutcome printSubjectDocument(SubjectDocument document, const EvaluationSession &session, int period,
                                  const std::vector<int> &classes, PrintTarget &target, Prompter &prompter,
                                  const QDateTime &now) {
    PrintOutcome outcome;
    if (!isPeriod(period))
        return outcome;
    if (!offeredFor(document, session, period)) {
        outcome.error = yearEndOnlyMessage();
        return outcome;
    }
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

namespace {

// The text on one line at the largest size from `largest` down to 6 points that fits `width`.
bool fitOneLine(PageCanvas &canvas, const QString &family, double largest, const QString &text, int width,
                FittedComment &fit) {
    for (double size = largest; size >= 6; size -= 0.5) {
        canvas.setFont({family, size});
        if (canvas.textWidth(text) <= width) {
            fit.pointSize = size;
            fit.lines = {text};
            return true;
        }
    }
    return false;
}

} // namespace

FittedComment fitComment(PageCanvas &canvas, const QString &family, double largest, const QString &comment,
                         int width) {
    FittedComment fit;
    if (fitOneLine(canvas, family, largest, comment, width, fit))
        return fit;
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

FittedComment fitHeading(PageCanvas &canvas, const QString &family, double largest, const QString &text,
                         int width, int height) {
    FittedComment fit;
    if (fitOneLine(canvas, family, largest, text, width, fit))
        return fit;
    // Two lines, split on a whole character: before a closing "評定" when it fits, else where the
    // lines are most even; at the largest size whose lines fit.
    std::vector<int> cuts;
    const QString closing = QStringLiteral("評定");
    if (text.endsWith(closing) && text.size() > closing.size())
        cuts.push_back(int(text.size() - closing.size()));
    std::vector<int> even;
    for (int cut = 1; cut < text.size(); ++cut)
        if (!text.at(cut).isLowSurrogate())
            even.push_back(cut);
    canvas.setFont({family, 6});
    std::stable_sort(even.begin(), even.end(), [&](int a, int b) {
        return std::max(canvas.textWidth(text.left(a)), canvas.textWidth(text.mid(a))) <
               std::max(canvas.textWidth(text.left(b)), canvas.textWidth(text.mid(b)));
    });
    cuts.insert(cuts.end(), even.begin(), even.end());
    if (cuts.empty()) {
        fit.pointSize = 6;
        fit.lines = {text};
        return fit;
    }
    const int dpiY = canvas.dpiY();
    for (double size = std::min(largest, 6.0); size >= 3; size -= 0.5) {
        if (2 * int(size * dpiY / 72) > height && size > 3)
            continue;
        canvas.setFont({family, size});
        for (int cut : cuts)
            if (canvas.textWidth(text.left(cut)) <= width && canvas.textWidth(text.mid(cut)) <= width) {
                fit.pointSize = size;
                fit.lines = {text.left(cut), text.mid(cut)};
                return fit;
            }
    }
    fit.pointSize = 3;
    fit.lines = {text.left(even.front()), text.mid(even.front())};
    return fit;
}

} // namespace tavro::reports
