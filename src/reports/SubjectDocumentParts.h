#pragma once

#include "reports/PageModel.h"
#include "reports/SubjectDocuments.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// What the subject documents share: the students of a list, the print job, the ratio box, the
// distribution table and the stamp boxes. The small sheets (小票) are in SubjectSheets.cpp.
namespace tavro {

class EvaluationSession;
struct SymbolPattern;

namespace reports::subjectdoc {

inline const QString kMovedAway = QStringLiteral("＊");
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

QString fixed(double value, int width, int decimals);
// A name that is printed: not empty and not moved away.
bool printable(const QString &name);
// The symbols of a pattern up to the first empty one.
QStringList labelsOf(const SymbolPattern *pattern);
// The students of one class for the small sheets: the seats of the class among the session's rows.
std::vector<Student> classStudents(const EvaluationSession &s, int cls);
PageGrid submissionGrid(const PageCanvas &canvas);
// Rows `row` to row + 3: "観点の割合", the headings, the ratios and their shares in a ruled box.
void drawRatioBox(Page &page, const EvaluationSession &s, int period, int row);
// Rows needed by a distribution table with `labels` symbols: heading, symbols, "合計".
int distributionRows(int labels);
// A distribution table from `row`: one column per class and "合計", one row per symbol and "合計".
// Counts the students with a name whose evaluation (tab 0) or mark of viewpoint `tab` equals the symbol.
void drawDistribution(Page &page, const EvaluationSession &s, int period, int tab, const QString &heading,
                      int row);
// Stamp boxes of `width` columns and four rows, the label in the first row.
// The rules of a list from `firstRow` to `lastRow`: thick at the frame, under the `headerRows` heading
// rows and every five rows below; the `borders` columns upright, the outer two thick.
void drawSheetRules(Page &page, int firstRow, int headerRows, int lastRow, const std::vector<int> &borders,
                    int right);
void drawStampBoxes(Page &page, const QStringList &labels, const std::vector<int> &columns, int row,
                    int width);

// The small sheets of the checked classes, the old-style sheets, and their cover.
bool printKohyou(Job &job, const EvaluationSession &s, int period, const std::vector<int> &classes);
bool printKohyouOld(Job &job, const EvaluationSession &s, int period, const std::vector<int> &classes);
bool printKohyouCover(Job &job, const EvaluationSession &s, int period, const QDateTime &now);

} // namespace reports::subjectdoc
} // namespace tavro
