#pragma once

#include "evaluation/GradePeriodResults.h"
#include "platform/PrintTarget.h"
#include "reports/PageModel.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// The conference material (懇談資料): per class, every student's comments of all required subjects for
// one evaluation period, printed landscape one class a page.
namespace tavro {

class Prompter;

namespace reports {

struct ConferenceData {
    int nendo = 0;
    int grade = 0;
    int period = 0;
    QString periodCaption;
    QString schoolName;
    bool classType = true;
    int classCount = 0;
    QStringList displaySubjects; // nine
    std::vector<QString> names;  // 720 slots
    GradePeriodResults results;

    // Names, the class count and the comments of `period` from the result files of the grade. A file
    // too new is skipped after the message (caption "TAVRO"); missing files leave empty comments.
    static ConferenceData load(const QString &dataFolder, int nendo, int grade, int schoolKind, int period,
                               const QString &periodCaption, const QString &schoolName, bool classType,
                               Prompter *prompter);

    QString classLabel(int cls) const; // "1" or "A"
    // The comment of display subject j (from 0): PE takes the boys' comment, else the girls'.
    QString comment(int display, int slot) const;
    // Students of the classes with a name that is neither empty nor exactly "＊".
    int printableCount(const std::vector<int> &classes) const;
    // The numbers of a class's students with a name (every one is printed, "＊" too).
    std::vector<int> listedNumbers(int cls) const;
    // The pages of the comment list of the classes (the dialog's page range): one per class, another
    // for every further 45 students.
    int pageCount(const std::vector<int> &classes) const;
};

// The print: "学級を選択してください。" without a class (through `prompter`), nothing with no printable
// student, else the job "TAVRO for Windows 懇談資料A" on landscape A4 with one page per class (a class
// of more than 45 students continues on a second page); the dialog offers pages 1..pageCount() and
// only the pages of the range chosen there are printed.
PrintOutcome printConference(const ConferenceData &data, const std::vector<int> &classes, PrintTarget &target,
                             Prompter &prompter, const QDateTime &now);
QString selectClassMessage(); // "学級を選択してください。"

// {"pageRange": [1, pageCount], "classes": [{"class", "label", "students": [{"number", "name", "comments":
// [9]}]}]}
QJsonObject conferenceJson(const ConferenceData &data, const std::vector<int> &classes);

// The first line of a comment: the shortest beginning whose width exceeds `limit` (the whole text when
// it never does); the rest fitted into `limit`, ending with "…" when it had to be cut.
struct CommentLines {
    QString first;
    QString rest;
};
CommentLines splitComment(const PageCanvas &canvas, const QString &comment, int limit);

} // namespace reports
} // namespace tavro
