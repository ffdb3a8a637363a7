#pragma once

#include <QString>

#include <vector>

// The transfer texts for the school-affairs system and for a spreadsheet: "評定の転送(&A)" of one class
// and "データ転送" of the grade's required subjects. Texts are built whole, never cut.
namespace tavro {

class EvaluationSession;
struct GradePeriodResults;

namespace exchange {

// The students of class `cls` checked when the transfer window opens: a name that is not empty and
// not exactly "＊". Index n - 1 for number n.
std::vector<bool> defaultChecks(const EvaluationSession &session, int cls);

// "評定の転送(&A)" of period k for the checked numbers of class `cls`: marks 1..3, the evaluation, two
// tabs, with `addAchievement` the achievement "%5.1f" + "%|", the comment, CR LF.
QString marksText(const EvaluationSession &session, int period, int cls, const std::vector<int> &numbers,
                  bool addAchievement);

// "データ転送": two heading lines, then every number 1..60 of the checked classes with the evaluations,
// achievements and comments of the nine display subjects; every cell followed by a tab.
QString excelText(const GradePeriodResults &results, const std::vector<int> &classes,
                  const QString &periodCaption, bool classType);

// A number in the general format: at most 15 significant digits, no trailing zeros, the exponent
// form "1E15" / "1E-5" where the value needs it.
QString generalNumber(double value);

QString clipboardCopiedMessage(); // "クリップボードへのコピーが終わりました。"
QString transferredMessage();     // "転送が終わりました"

} // namespace exchange
} // namespace tavro
