#pragma once

#include "platform/PrintTarget.h"
#include "reports/PageModel.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

// The documents a subject teacher hands in after the evaluation of one period: 資料A to 資料E with their
// cover, and the small sheets (小票) with their cover, drawn from the evaluation session.
namespace tavro {

class EvaluationSession;
class Prompter;
struct Worksheet;

namespace reports {

enum class SubjectDocument {
    ShiryouA,
    ShiryouB,
    ShiryouC,
    ShiryouD,
    ShiryouE,
    Cover,
    Kohyou,
    KohyouOld,
    KohyouCover
};

// The name in the job title: "評定資料A".."評定資料E", "評定鑑", "小票", "鑑".
QString subjectDocumentName(SubjectDocument document);
// True for the documents printed per checked class (C, D, E of a required subject and both small sheets).
bool printsPerClass(SubjectDocument document, bool elective);

// The year-end period: "ConsistencyItem0" of the year settings, else the last named period.
int yearEndPeriod(const EvaluationSession &session);
// 資料E is offered for the year-end period only; the other documents for every period.
bool offeredFor(SubjectDocument document, const EvaluationSession &session, int period);
// Why 資料E is not printed for another period.
QString yearEndOnlyMessage();

// Prints `document` of `period` for the checked `classes` (list order). A document not offered for the
// period prints nothing and says why (yearEndOnlyMessage). A per-class document without a
// class shows "学級を選択してください。" (caption "Tavro") and opens no job. A device that fails ends the
// print with "印刷できませんでした。" and the reason in the outcome.
PrintOutcome printSubjectDocument(SubjectDocument document, const EvaluationSession &session, int period,
                                  const std::vector<int> &classes, PrintTarget &target, Prompter &prompter,
                                  const QDateTime &now);

// Viewpoint v's share of the sum of the six ratios of `period`: "33%", empty when its ratio is 0 or
// the ratios sum to 0.
QString viewpointShare(const Worksheet &worksheet, int period, int viewpoint);
// A stored computation time in the era format, "評定未算出" for 0.
QString computedAtText(double dayCount);
// A name as printed: without a leading "＊", at most `bytes` code page 932 bytes of whole characters.
QString printedName(const QString &name, int bytes = 14);

// A comment fitted into `width` pixels: the largest size from `largest` down to 6 points on one line,
// else two lines at 6 points (the second ending with "…" when it still does not fit).
struct FittedComment {
    double pointSize = 6;
    QStringList lines;
};
FittedComment fitComment(PageCanvas &canvas, const QString &family, double largest, const QString &comment,
                         int width);
// A heading fitted whole into `width` × `height` pixels: the largest size from `largest` down to 6
// points on one line, else two lines split where they are most even, at the largest size (down to
// 3 points) whose lines fit; never cut.
FittedComment fitHeading(PageCanvas &canvas, const QString &family, double largest, const QString &text,
                         int width, int height);

} // namespace reports
} // namespace tavro
