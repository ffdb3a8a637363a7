#pragma once

#include "platform/PrintTarget.h"
#include "reports/PageModel.h"
#include "testscores/TestScores.h"

#include <QDateTime>
#include <QString>

#include <vector>

// The prints of the test scores: the score list of one subject (得点一覧, from the score-entry window),
// and from the aggregation the class list (学級別一覧) and the score notices (得点通知資料).
namespace tavro {

class Prompter;
class ScoreEntrySession;
class TestAggregation;

namespace reports {

// What the score list prints: one page per class of the class list.
struct ScoreListData {
    int nendo = 0;
    int grade = 0;
    QString kyouka;
    QString testName;
    bool classType = true;
    std::vector<int> classes;
    std::vector<ClassScores> scores; // per class of `classes`
    std::vector<QString> names;      // 720 slots
    TestScoreRecord fullScores{};    // the window's: total and viewpoints

    static ScoreListData fromSession(const ScoreEntrySession &session);
};

// The job "TAVRO for Windows 得点一覧", portrait, a page per class.
PrintOutcome printScoreList(const ScoreListData &data, PrintTarget &target, const QDateTime &now);

// The class list: "学級を選択してください。" (caption "Tavro") without a class, else the job
// "TAVRO for Windows 学級別一覧" with a page per class.
PrintOutcome printClassList(const TestAggregation &aggregation, const std::vector<int> &classes,
                            PrintTarget &target, Prompter &prompter, const QDateTime &now);

enum class NoticeKind {
    Five,       // five main subjects and the total
    Nine,       // and 音楽, 美術, 保体, 技家
    Hundred,    // five subjects with the 100-point conversion
    Viewpoints, // 観点別到達度: eight subjects (no 美術), total and viewpoints
};

// The students of the classes that get a notice: a name neither empty nor exactly "＊".
struct NoticeStudent {
    int cls = 0;
    int number = 0;
};
std::vector<NoticeStudent> noticeStudents(const TestAggregation &aggregation,
                                          const std::vector<int> &classes);

// The notices (job "TAVRO for Windows 得点通知資料"): "学級を選択してください。" without a class,
// nothing without a student, else the dialog offers notices 1..n and the chosen ones are placed in
// order, 36 a page (14 for the viewpoint notices). `means` prints grade means instead of standard
// scores.
PrintOutcome printNotices(const TestAggregation &aggregation, NoticeKind kind, bool means,
                          const std::vector<int> &classes, PrintTarget &target, Prompter &prompter);

// A grade mean on a notice: nothing for 0 or less, "%4.1f" with Marume, else rounded half to even.
QString noticeMean(float mean, int marume);
// score / full × 100 (single precision) printed like a mean; "*" for a missing score or a full score
// of 0 or less.
QString hundredPoint(int score, int full, int scale, int marume);

} // namespace reports
} // namespace tavro
