#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The clipboard texts of the evaluation results: "すべてをコピー(&A)" of the results grid and of the
// individual item list, and the achievements for the school-affairs system ("校務支援用にコピー",
// "到達度の転送(&B)"). Every text is built whole.
namespace tavro {

class EvaluationSession;

namespace views {
struct AnalysisRow;
}

namespace exchange {

// "すべてをコピー(&A)" of HyouteiGrid4 for period k: the period's name, the heading line, then every row
// (electives: the member's position in the list as the number) with percentages "%3.2f" and marks.
QString resultsAllText(const EvaluationSession &session, int period);

// The achievements of period k for every named student of the classes in charge, each percentage as
// Round(value × factor) (half to even): factor 1 is "校務支援用にコピー" (100 points), 10 the 1000-point
// transfer.
QString achievementsText(const EvaluationSession &session, int period, int factor);

// "すべてをコピー(&A)" of xStringGrid1: the two headings, then the header row and every item row
// without the grid's last column.
QString analysisAllText(const QString &heading1, const QString &heading2,
                        const std::vector<views::AnalysisRow> &rows);

// The heading labels of the individual page: "1組5番" and "名前 (よみ)".
QString analysisHeading1(const EvaluationSession &session, int slot);
QString analysisHeading2(const EvaluationSession &session, int slot);

// "コピーが終わりました。"
QString copiedMessage();

// A rectangle of cell texts as "コピー(&C)" puts it on the clipboard: cells separated by tabs, each row
// ended by CR LF.
QString rangeText(const QList<QStringList> &cells);

} // namespace exchange
} // namespace tavro
