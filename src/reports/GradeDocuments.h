#pragma once

#include "config/KantenFile.h"
#include "config/Roster.h"
#include "platform/PrintTarget.h"
#include "reports/PageModel.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <vector>

// The grade-wide evaluation papers printed from the evaluation aggregation: the grade list on A3
// (評定一覧表), the report-card stickers (通知票シール), the elective report-card insert
// (通知票(選択観点項目)) and the interim achievement notice (中間到達度通知). All read the grade store.
namespace tavro {

class GradeHyouteiStore;
class Prompter;
class TeacherFile;

namespace reports {

enum class GradeDocument { Ichiran, Seal, SentakuTsuchihyo, Toutatsu };

struct GradeDocumentData {
    static constexpr int kDisplaySubjects = 9;

    const GradeHyouteiStore *store = nullptr;
    std::array<QString, kMaxClasses> classTeachers; // the class teacher of each class, "" none
    // The viewpoint definitions of the display subjects (empty when the year has none).
    std::array<KantenNames, kDisplaySubjects> viewpoints;

    // The class teachers of `grade` from the teacher file: the "N" entries name(grade-class).
    static std::array<QString, kMaxClasses> classTeachersOf(const TeacherFile &teachers, int grade);
    // The definitions of the display subjects of the school kind from the year's viewpoint file.
    static std::array<KantenNames, kDisplaySubjects> viewpointsOf(const QString &dataFolder, int nendo,
                                                                  int schoolKind);
    QString classLabel(int cls) const; // "1" or "A"
    // The mark columns of each display subject: the viewpoints in use, that is the highest viewpoint
    // with a short name or with a mark (or a percentage) in the grade's results, up to six; with
    // neither, the count of the transfer (5 for 国語, 3 for 生活, 4 otherwise).
    std::array<int, kDisplaySubjects> markColumns() const;
};

// The button text of a document ("評定一覧表(A3)", ...).
QString gradeDocumentButton(GradeDocument document);
// A student printed on the grade-wide papers: a name that is not empty and does not begin with "＊".
bool printableStudent(const QString &name);
// A name cut to at most `bytes` code page 932 bytes on a whole character.
QString cutName(const QString &name, int bytes);
// A stored calculation time "yyyy/MM/dd hh:mm:ss" (with `short` "MM/dd hh:mm"); 0 gives "評定未算出".
QString computedAt(double dayCount, bool shortForm = false);

// The print job of a document for the checked classes: title, paper (A3 for the grade list,
// landscape when IchiranHoukou is 0), orientation and the page range.
PrintTarget::Job gradeDocumentJob(GradeDocument document, const GradeDocumentData &data,
                                  const std::vector<int> &classes);
// The pages the document takes for the checked classes (0: nothing to print).
int gradeDocumentPages(GradeDocument document, const GradeDocumentData &data,
                       const std::vector<int> &classes);

// The print: "学級を選択してください。" (caption "Tavro") without a class, nothing (no dialog) with no
// printable student, else the job on `target`; a failing device ends with printFailedMessage.
PrintOutcome printGradeDocument(GradeDocument document, const GradeDocumentData &data,
                                const std::vector<int> &classes, PrintTarget &target, Prompter &prompter,
                                const QDateTime &now);

} // namespace reports
} // namespace tavro
