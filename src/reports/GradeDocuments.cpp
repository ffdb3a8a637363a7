#include "reports/GradeDocuments.h"

#include "common/Cp932.h"
#include "common/NumberText.h"
#include "config/TeacherFile.h"
#include "evaluation/GradeHyouteiStore.h"
#include "evaluation/GradeSubjects.h"
#include "evaluation/Worksheet.h"
#include "platform/Prompter.h"
#include "reports/Conference.h"

#include "evaluation/Results.h"
#include <algorithm>

namespace tavro::reports {

namespace {

constexpr int kNameBytes = 14;
constexpr int kSealsPerPage = 10;        // 2 across, 5 down
constexpr int kSentakuBlocksPerPage = 6; // 2 across, 3 down
constexpr int kSentakuRows = 10;         // electives per block
const QString kCircled = QStringLiteral("①②③④⑤⑥");

// The grade list: landscape with 9 pt type, portrait with 7 pt type; sizes in units. Every paper keeps
// within the printable area of a printer with the usual quarter-inch margins.
struct IchiranGeometry {
    int left, top, rowHeight, columnWidth, lineOffset;
    double body, dense, small;
    double unmarked; // "未評定", from the cell's left rule
    int rowsPerPage;
    int nameColumns;
    int stampWidth;
};

IchiranGeometry ichiranGeometry(bool landscape) {
    if (landscape)
        return {150, 400, 64, 82, 10, 9, 7, 5, 5, 45, 4, 380};
    return {130, 450, 80, 56, 8, 7, 5, 5, 3.5, 60, 5, 300};
}

bool landscapeList(const GradeDocumentData &data) {
    return data.store->ichiranHoukou() == 0;
}

std::vector<int> printableNumbers(const GradeHyouteiStore &store, int cls) {
    std::vector<int> numbers;
    for (int n = 1; n <= kSeatsPerClass; ++n)
        if (printableStudent(store.name(slotOf(cls, n))))
            numbers.push_back(n);
    return numbers;
}

std::vector<int> printableSlots(const GradeHyouteiStore &store, const std::vector<int> &classes) {
    std::vector<int> seats;
    for (int cls : classes)
        for (int n : printableNumbers(store, cls))
            seats.push_back(slotOf(cls, n));
    return seats;
}

// One block of the elective insert: a student and up to ten of the student's records from `first`.
struct SentakuBlock {
    int slot;
    int first;
};

std::vector<SentakuBlock> sentakuBlocks(const GradeHyouteiStore &store, const std::vector<int> &classes) {
    std::vector<SentakuBlock> blocks;
    for (int slot : printableSlots(store, classes)) {
        const int count = int(store.studentRecords(slot).size());
        for (int first = 0; first < count; first += kSentakuRows)
            blocks.push_back({slot, first});
    }
    return blocks;
}

int pagesOf(int items, int perPage) {
    return (items + perPage - 1) / perPage;
}

// The calculation time of display subject `d` for a class: PE takes the girls' when the boys' is 0.
double displayDateTime(const GradeHyouteiStore &store, int d, int cls) {
    const int schoolKind = store.inputs().schoolKind;
    const int s = gradesubjects::fileOfDisplay(schoolKind, d);
    const double t = store.requiredDateTime(s, cls);
    if (t == 0 && d == gradesubjects::physicalEducation(schoolKind))
        return store.requiredDateTime(s + 1, cls);
    return t;
}

QString studentLine(const GradeDocumentData &data, int slot) {
    const GradeHyouteiStore &store = *data.store;
    return QStringLiteral("%1年度 %2年%3組 %4番 ")
               .arg(store.inputs().nendo)
               .arg(store.inputs().grade)
               .arg(data.classLabel(classOfSlot(slot)))
               .arg(numberOfSlot(slot)) +
           cutName(store.name(slot), kNameBytes);
}

QString percentText(float value) {
    return value > kNoPercentage ? numbertext::fixed(double(value), 1, 5) : QString();
}

// Pages of one job: the first page is begun with the document, the others with newPage().
class PageRun {
public:
    explicit PageRun(PageCanvas &canvas) : m_canvas(canvas) {}
    bool next() {
        if (m_pages > 0 && !m_canvas.newPage())
            return false;
        ++m_pages;
        return true;
    }
    int pages() const { return m_pages; }

private:
    PageCanvas &m_canvas;
    int m_pages = 0;
};

// ---- 評定一覧表(A3) ----

bool drawIchiran(const GradeDocumentData &data, const std::vector<int> &classes, PageCanvas &canvas,
                 PageRun &run, const QDateTime &now) {
    const GradeHyouteiStore &store = *data.store;
    const bool landscape = landscapeList(data);
    const IchiranGeometry g = ichiranGeometry(landscape);
    Page page(canvas, PageGrid::fromUnits(canvas, g.left, g.top, g.rowHeight, g.columnWidth, g.lineOffset));
    const PageGrid &grid = page.grid();
    const int dpiX = canvas.dpiX(), dpiY = canvas.dpiY();
    const QStringList subjects = store.displaySubjects();

    // Columns: number (2), name, then per subject its marks, the evaluation and the elective, then 計.
    constexpr int numberColumns = 2;
    const int firstBlock = numberColumns + g.nameColumns;
    std::vector<int> blockStart, marks;
    int column = firstBlock;
    for (const QString &subject : subjects) {
        blockStart.push_back(column);
        marks.push_back(gradesubjects::viewpointCount(subject));
        column += marks.back() + 2;
    }
    const int sumColumn = column;
    const int lastColumn = sumColumn + 1;
    constexpr int header = 4; // rows 0..3

    for (int cls : classes) {
        const std::vector<int> numbers = printableNumbers(store, cls);
        const int pages = pagesOf(int(numbers.size()), g.rowsPerPage);
        for (int p = 0; p < pages; ++p) {
            if (!run.next())
                return false;
            const int from = p * g.rowsPerPage;
            const int rows = std::min(g.rowsPerPage, int(numbers.size()) - from);
            const int bottom = header + rows;

            // Title, period, print time.
            page.font(kGothic, 20);
            QString title = QStringLiteral("%1年度 %2年%3組 評定一覧表")
                                .arg(store.inputs().nendo)
                                .arg(store.inputs().grade)
                                .arg(data.classLabel(cls));
            if (pages > 1)
                title += QStringLiteral(" (%1/%2)").arg(p + 1).arg(pages);
            canvas.text(grid.left, pixels(120, dpiY), title);
            const int titleEnd = grid.left + canvas.textWidth(title);
            page.font(kMincho, g.body);
            canvas.text(titleEnd + pixels(120, dpiX), grid.y(-2), store.inputs().periodName);
            const QString printed =
                QStringLiteral("印刷日時：") + now.toString(landscape ? QStringLiteral("yyyy/MM/dd hh:mm:ss")
                                                                      : QStringLiteral("MM/dd hh:mm:ss"));
            canvas.text(grid.x(lastColumn) - grid.lineOffset - canvas.textWidth(printed), grid.y(-2),
                        printed);

            // Headings.
            page.font(kGothic, g.body);
            page.text(0, 3, QStringLiteral("番号"));
            page.text(numberColumns, 3, QStringLiteral("氏　　名"));
            page.text(sumColumn, 2, QStringLiteral("計"));
            for (int d = 0; d < int(subjects.size()); ++d) {
                const int c = blockStart[std::size_t(d)];
                const int v = marks[std::size_t(d)];
                page.font(kGothic, g.body);
                page.text(c, 0, subjects[d]);
                page.font(kMincho, g.small);
                page.text(c, 1, computedAt(displayDateTime(store, d, cls), true));
                page.font(kMincho, g.dense);
                page.text(c, 2, QStringLiteral("観"));
                page.text(c + 1, 2, QStringLiteral("点"));
                for (int k = 0; k < v; ++k)
                    page.text(c + k, 3, kCircled.mid(k, 1));
                page.vertical(grid.x(c + v), header, QStringLiteral("評　　定"));
                page.vertical(grid.x(c + v + 1), header, QStringLiteral(" 選択"));
            }

            // Students.
            for (int i = 0; i < rows; ++i) {
                const int n = numbers[std::size_t(from + i)];
                const int slot = slotOf(cls, n);
                const int row = header + i;
                page.font(kMincho, g.body);
                page.number(0, row, n);
                page.text(numberColumns, row, cutName(store.name(slot), kNameBytes));
                int sum = 0;
                bool counted = false;
                for (int d = 0; d < int(subjects.size()); ++d) {
                    const int c = blockStart[std::size_t(d)];
                    const int v = marks[std::size_t(d)];
                    const GradeHyouteiStore::Required &r = store.displayRequired(d, slot);
                    page.font(kMincho, g.body);
                    for (int k = 0; k < v; ++k)
                        page.text(c + k, row, r.marks[std::size_t(k)]);
                    if (!r.evaluation.isEmpty()) {
                        page.text(c + v, row, r.evaluation);
                        const QChar first = r.evaluation.at(0);
                        if (first >= u'1' && first <= u'5') {
                            sum += first.unicode() - u'0';
                            counted = true;
                        }
                    }
                    const int best = store.best(slot, d);
                    const QString elective =
                        best > 0 ? store.records()[std::size_t(best)].evaluation : QString();
                    if (!elective.isEmpty())
                        page.text(c + v + 1, row, elective);
                    page.font(kMincho, g.unmarked);
                    const int unmarkedShift = grid.lineOffset - pixels(2, dpiX);
                    if (r.evaluation.isEmpty() && displayDateTime(store, d, cls) != 0)
                        canvas.text(grid.x(c + v) - unmarkedShift, grid.y(row), QStringLiteral("未評定"));
                    if (elective.isEmpty() && !store.subjectElective(slot, d).isEmpty())
                        canvas.text(grid.x(c + v + 1) - unmarkedShift, grid.y(row), QStringLiteral("未評定"));
                }
                page.font(kMincho, g.body);
                if (counted)
                    page.text(sumColumn, row, QString::number(sum).rightJustified(2, u' '));
            }

            // Rules: the outer frame, the block borders and every fifth student thick.
            page.thick();
            page.horizontalLine(0, lastColumn, 0);
            page.horizontalLine(0, lastColumn, header);
            page.horizontalLine(0, lastColumn, bottom);
            for (int c : {0, firstBlock, sumColumn, lastColumn})
                page.verticalLine(c, 0, bottom);
            for (int c : blockStart)
                page.verticalLine(c, 0, bottom);
            page.thin();
            page.verticalLine(numberColumns, 0, bottom);
            for (int d = 0; d < int(subjects.size()); ++d) {
                const int c = blockStart[std::size_t(d)];
                const int v = marks[std::size_t(d)];
                page.horizontalLine(c, c + v + 2, 1);
                page.horizontalLine(c, c + v, 2);
                page.horizontalLine(c, c + v, 3);
                for (int k = 1; k < v; ++k)
                    page.verticalLine(c + k, 3, bottom);
                page.verticalLine(c + v, 1, bottom);
                page.verticalLine(c + v + 1, 1, bottom);
            }
            for (int i = 1; i < rows; ++i) {
                if (i % 5 == 0)
                    page.thick();
                page.horizontalLine(0, lastColumn, header + i);
                page.thin();
            }

            // Stamp boxes to the right of the list, the class teacher under them.
            const int boxLeft = grid.x(lastColumn) - grid.lineOffset + pixels(40, dpiX);
            const int boxRight = boxLeft + pixels(g.stampWidth, dpiX);
            const int boxHeight = 4 * grid.rowHeight;
            const int boxTop = grid.y(0) - 5;
            static const QStringList stamps = {QStringLiteral("校　長"), QStringLiteral("教　頭"),
                                               QStringLiteral("教　務"), QStringLiteral("副担任"),
                                               QStringLiteral("学級担任")};
            page.font(kMincho, g.dense);
            for (int b = 0; b < int(stamps.size()); ++b) {
                const int top = boxTop + b * boxHeight;
                page.frame(boxLeft, top, boxRight, top + boxHeight);
                canvas.line(boxLeft, top + grid.rowHeight, boxRight, top + grid.rowHeight);
                canvas.text(boxLeft + pixels(20, dpiX), top + 5 + pixels(8, dpiY), stamps[b]);
            }
            page.font(kMincho, g.body);
            canvas.text(boxLeft, boxTop + 5 * boxHeight + pixels(20, dpiY),
                        cutName(data.classTeachers[std::size_t(cls - 1)], kNameBytes));
        }
    }
    return true;
}

// ---- 通知票シール(評定) ----

bool drawSeals(const GradeDocumentData &data, const std::vector<int> &classes, PageCanvas &canvas,
               PageRun &run) {
    const GradeHyouteiStore &store = *data.store;
    Page page(canvas, PageGrid::fromUnits(canvas, 120, 150, 56, 58, 10));
    const PageGrid &grid = page.grid();
    const QStringList subjects = store.displaySubjects();
    const std::vector<int> seats = printableSlots(store, classes);
    for (int i = 0; i < int(seats.size()); ++i) {
        const int at = i % kSealsPerPage;
        if (at == 0 && !run.next())
            return false;
        const int slot = seats[std::size_t(i)];
        const int c0 = (at % 2) * 23;
        const int r0 = (at / 2) * 14;
        page.font(kGothic, 9);
        page.text(c0, r0, studentLine(data, slot));
        page.font(kMincho, 9);
        page.text(c0 + 16, r0, store.inputs().periodName);
        page.text(c0, r0 + 1, QStringLiteral("教科"));
        page.text(c0 + 4, r0 + 1, QStringLiteral("評価"));
        page.text(c0 + 17, r0 + 1, QStringLiteral("評定"));
        for (int d = 0; d < int(subjects.size()); ++d) {
            const int row = r0 + 2 + d;
            const GradeHyouteiStore::Required &r = store.displayRequired(d, slot);
            page.font(kMincho, 9);
            page.text(c0, row, subjects[d]);
            const int v = gradesubjects::viewpointCount(subjects[d]);
            for (int k = 0; k < v; ++k)
                if (!r.marks[std::size_t(k)].isEmpty())
                    page.text(c0 + 4 + 2 * k, row, u'[' + r.marks[std::size_t(k)] + u']');
            page.font(kGothic, 9);
            page.text(c0 + 18, row, r.evaluation);
        }
        const int bottom = r0 + 2 + int(subjects.size());
        page.horizontalLine(c0, c0 + 22, r0 + 1);
        page.horizontalLine(c0, c0 + 22, r0 + 2);
        page.verticalLine(c0 + 4, r0 + 1, bottom);
        page.verticalLine(c0 + 16, r0 + 1, bottom);
        page.frame(grid.x(c0) - grid.lineOffset, grid.y(r0) - 5, grid.x(c0 + 22) - grid.lineOffset,
                   grid.y(bottom) - 5);
    }
    return true;
}

// ---- 通知票(選択観点項目) ----

bool drawSentaku(const GradeDocumentData &data, const std::vector<int> &classes, PageCanvas &canvas,
                 PageRun &run) {
    const GradeHyouteiStore &store = *data.store;
    Page page(canvas, PageGrid::fromUnits(canvas, 180, 200, 56, 60, 10));
    const PageGrid &grid = page.grid();
    const std::vector<SentakuBlock> blocks = sentakuBlocks(store, classes);
    for (int i = 0; i < int(blocks.size()); ++i) {
        const int at = i % kSentakuBlocksPerPage;
        if (at == 0 && !run.next())
            return false;
        const SentakuBlock &block = blocks[std::size_t(i)];
        const int c0 = (at % 2) * 32;
        const int r0 = (at / 2) * 14;
        page.font(kGothic, 9);
        page.text(c0, r0, studentLine(data, block.slot));
        page.font(kMincho, 9);
        page.text(c0 + 22, r0, store.inputs().periodName);
        page.text(c0, r0 + 1, QStringLiteral("選択教科"));
        for (int k = 0; k < kViewpoints; ++k)
            page.text(c0 + 9 + 3 * k, r0 + 1, QStringLiteral("観点") + kCircled.mid(k, 1));
        page.text(c0 + 27, r0 + 1, QStringLiteral("評定"));
        const std::vector<int> &records = store.studentRecords(block.slot);
        const int count = std::min(kSentakuRows, int(records.size()) - block.first);
        for (int j = 0; j < count; ++j) {
            const GradeHyouteiStore::Record &r =
                store.records()[std::size_t(records[std::size_t(block.first + j)])];
            const int row = r0 + 2 + j;
            page.font(kMincho, 9);
            page.text(c0, row,
                      cutName(store.electives()[std::size_t(r.elective - 1)].displayName, kNameBytes));
            for (int k = 0; k < kViewpoints; ++k)
                page.text(c0 + 10 + 3 * k, row, r.marks[std::size_t(k)]);
            page.font(kGothic, 9);
            page.text(c0 + 28, row, r.evaluation);
        }
        const int bottom = r0 + 2 + kSentakuRows;
        for (int row = r0 + 1; row < bottom; ++row)
            page.horizontalLine(c0, c0 + 30, row);
        for (int k = 0; k <= kViewpoints; ++k)
            page.verticalLine(c0 + 9 + 3 * k, r0 + 1, bottom);
        page.frame(grid.x(c0) - grid.lineOffset, grid.y(r0) - 5, grid.x(c0 + 30) - grid.lineOffset,
                   grid.y(bottom) - 5);
    }
    return true;
}

// ---- 中間到達度通知 ----

bool drawToutatsu(const GradeDocumentData &data, const std::vector<int> &classes, PageCanvas &canvas,
                  PageRun &run) {
    const GradeHyouteiStore &store = *data.store;
    Page page(canvas, PageGrid::fromUnits(canvas, 200, 180, 58, 70, 30));
    const PageGrid &grid = page.grid();
    const QStringList subjects = store.displaySubjects();
    constexpr int firstRow = 9;
    const int bottom = firstRow + 2 * int(subjects.size());
    for (int slot : printableSlots(store, classes)) {
        if (!run.next())
            return false;
        page.font(kGothic, 20);
        page.text(13, 0, QStringLiteral("到達度通知票"));
        page.font(kMincho, 11);
        page.text(1, 3,
                  QStringLiteral("%1年度 %2年 %3組 %4番")
                      .arg(store.inputs().nendo)
                      .arg(store.inputs().grade)
                      .arg(data.classLabel(classOfSlot(slot)))
                      .arg(numberOfSlot(slot)));
        page.text(16, 3, cutName(store.name(slot), kNameBytes));
        page.horizontalLine(16, 30, 4);
        page.text(1, 5, store.inputs().periodName);

        page.font(kGothic, 11);
        page.text(1, 7, QStringLiteral("教科"));
        page.text(13, 7, QStringLiteral("評　価　の　観　点"));
        page.text(31, 7, QStringLiteral("到達度"));
        for (int k = 0; k < 5; ++k)
            page.text(5 + 5 * k + 2, 8, kCircled.mid(k, 1));
        const int half = grid.rowHeight / 2;
        for (int d = 0; d < int(subjects.size()); ++d) {
            const int row = firstRow + 2 * d;
            const int y = grid.y(row) + half;
            const GradeHyouteiStore::Required &r = store.displayRequired(d, slot);
            page.font(kMincho, 11);
            canvas.text(grid.x(1), y, subjects[d]);
            const int v = gradesubjects::viewpointCount(subjects[d]);
            for (int k = 0; k < v; ++k)
                canvas.text(grid.x(5 + 5 * k + 1), y, percentText(r.viewpointPercentages[std::size_t(k)]));
            canvas.text(grid.x(31), y, percentText(r.percentage));
        }
        page.thick();
        page.horizontalLine(0, 36, 7);
        page.horizontalLine(0, 36, bottom);
        page.verticalLine(0, 7, bottom);
        page.verticalLine(36, 7, bottom);
        page.thin();
        page.horizontalLine(5, 30, 8);
        for (int row = firstRow; row < bottom; row += 2)
            page.horizontalLine(0, 36, row);
        page.verticalLine(5, 7, bottom);
        page.verticalLine(30, 7, bottom);
        for (int k = 1; k < 5; ++k)
            page.verticalLine(5 + 5 * k, 8, bottom);

        // The guardian's seal.
        page.font(kMincho, 11);
        static const QStringList seal = {QStringLiteral("保"), QStringLiteral("護"), QStringLiteral("者"),
                                         QStringLiteral("印")};
        for (int i = 0; i < int(seal.size()); ++i)
            page.text(30, 44 + i, seal[i]);
        page.frame(grid.x(30) - grid.lineOffset, grid.y(44) - 5, grid.x(36) - grid.lineOffset,
                   grid.y(48) - 5);
        page.verticalLine(32, 44, 48);
    }
    return true;
}

} // namespace

std::array<QString, kMaxClasses> GradeDocumentData::classTeachersOf(const TeacherFile &teachers, int grade) {
    std::array<QString, kMaxClasses> names;
    for (const QString &entry : teachers.entries()) {
        const TeacherFile::EntryParts parts = TeacherFile::parseEntry(entry);
        if (parts.grade == grade && parts.cls >= 1 && parts.cls <= kMaxClasses &&
            names[std::size_t(parts.cls - 1)].isEmpty())
            names[std::size_t(parts.cls - 1)] = parts.name;
    }
    return names;
}

QString GradeDocumentData::classLabel(int cls) const {
    return store->inputs().classType ? QString::number(cls) : QString(QChar(char16_t(64 + cls)));
}

QString gradeDocumentButton(GradeDocument document) {
    switch (document) {
    case GradeDocument::Ichiran:
        return QStringLiteral("評定一覧表(A3)");
    case GradeDocument::Seal:
        return QStringLiteral("通知票シール(評定)");
    case GradeDocument::SentakuTsuchihyo:
        return QStringLiteral("通知票(選択観点項目)");
    case GradeDocument::Toutatsu:
        return QStringLiteral("中間到達度通知");
    }
    return {};
}

bool printableStudent(const QString &name) {
    return !name.isEmpty() && !name.startsWith(u'＊');
}

QString cutName(const QString &name, int bytes) {
    return cp932::leftBytes(name, bytes);
}

QString computedAt(double dayCount, bool shortForm) {
    if (dayCount == 0)
        return QStringLiteral("評定未算出");
    return fromDayCount(dayCount).toString(shortForm ? QStringLiteral("MM/dd hh:mm")
                                                     : QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

int gradeDocumentPages(GradeDocument document, const GradeDocumentData &data,
                       const std::vector<int> &classes) {
    const GradeHyouteiStore &store = *data.store;
    switch (document) {
    case GradeDocument::Ichiran: {
        const int perPage = ichiranGeometry(landscapeList(data)).rowsPerPage;
        int pages = 0;
        for (int cls : classes)
            pages += pagesOf(int(printableNumbers(store, cls).size()), perPage);
        return pages;
    }
    case GradeDocument::Seal:
        return pagesOf(int(printableSlots(store, classes).size()), kSealsPerPage);
    case GradeDocument::SentakuTsuchihyo:
        return pagesOf(int(sentakuBlocks(store, classes).size()), kSentakuBlocksPerPage);
    case GradeDocument::Toutatsu:
        return int(printableSlots(store, classes).size());
    }
    return 0;
}

PrintTarget::Job gradeDocumentJob(GradeDocument document, const GradeDocumentData &data,
                                  const std::vector<int> &classes) {
    PrintTarget::Job job;
    switch (document) {
    case GradeDocument::Ichiran:
        job.title = jobTitle(QStringLiteral("資料A"));
        job.paper = PrintTarget::Paper::A3;
        job.orientation =
            landscapeList(data) ? PageCanvas::Orientation::Landscape : PageCanvas::Orientation::Portrait;
        break;
    case GradeDocument::Seal:
        job.title = jobTitle(QStringLiteral("資料B"));
        break;
    case GradeDocument::SentakuTsuchihyo:
        job.title = jobTitle(QStringLiteral("資料C"));
        job.orientation = PageCanvas::Orientation::Landscape;
        break;
    case GradeDocument::Toutatsu:
        job.title = jobTitle(QStringLiteral("到達度通知票"));
        break;
    }
    job.fromPage = 1;
    job.toPage = gradeDocumentPages(document, data, classes);
    return job;
}

PrintOutcome printGradeDocument(GradeDocument document, const GradeDocumentData &data,
                                const std::vector<int> &classes, PrintTarget &target, Prompter &prompter,
                                const QDateTime &now) {
    PrintOutcome outcome;
    if (classes.empty()) {
        prompter.message(QStringLiteral("Tavro"), selectClassMessage());
        return outcome;
    }
    const PrintTarget::Job job = gradeDocumentJob(document, data, classes);
    if (job.toPage == 0) {
        outcome.error = QStringLiteral("印刷する生徒がいません。");
        return outcome;
    }
    const PrintTarget::Opened opened = beginPrint(target, job, outcome);
    if (!opened.canvas)
        return outcome;
    PageCanvas &canvas = *opened.canvas;
    PageRun run(canvas);
    canvas.setPenWidth(1);
    bool drawn = false;
    switch (document) {
    case GradeDocument::Ichiran:
        drawn = drawIchiran(data, classes, canvas, run, now);
        break;
    case GradeDocument::Seal:
        drawn = drawSeals(data, classes, canvas, run);
        break;
    case GradeDocument::SentakuTsuchihyo:
        drawn = drawSentaku(data, classes, canvas, run);
        break;
    case GradeDocument::Toutatsu:
        drawn = drawToutatsu(data, classes, canvas, run);
        break;
    }
    outcome.pages = run.pages();
    if (!drawn) {
        outcome.error = printFailedMessage(QStringLiteral("改ページできませんでした。"));
        return outcome;
    }
    endPrint(canvas, outcome);
    return outcome;
}

} // namespace tavro::reports
