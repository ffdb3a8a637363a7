#include "reports/SubjectDocumentParts.h"

#include "common/NumberText.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/Results.h"
#include "evaluation/WorksheetViews.h"

#include <algorithm>

namespace tavro::reports::subjectdoc {

QString fixed(double value, int width, int decimals) {
    return numbertext::fixed(value, decimals, width);
}

bool printable(const QString &name) {
    return !name.isEmpty() && !name.startsWith(kMovedAway);
}

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

std::vector<Student> classStudents(const EvaluationSession &s, int cls) {
    std::vector<Student> students;
    for (int slot : s.rows())
        if (classOfSlot(slot) == cls)
            students.push_back({slot, numberOfSlot(slot)});
    return students;
}

PageGrid submissionGrid(const PageCanvas &canvas) {
    return PageGrid::fromUnits(canvas, 200, 180, 58, 70, 30);
}

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

int distributionRows(int labels) {
    return labels + 2;
}

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

} // namespace tavro::reports::subjectdoc
