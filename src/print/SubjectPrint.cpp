// The documents of a subject teacher: 資料A..E and their cover, the small sheets and their cover, from
// the evaluation worksheet of --subject and --teacher.
#include "app/Startup.h"
#include "cli/CliPrompter.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "print/PrintSupport.h"
#include "reports/SubjectDocuments.h"

namespace tavro::print {

namespace {

using reports::SubjectDocument;

int printSubject(const PrintArgs &args, PrintTarget &target, SubjectDocument document, const QString &name) {
    if (args.subject.isEmpty() || args.teacher.isEmpty())
        return fail(QStringLiteral("%1 には --subject と --teacher を指定してください。").arg(name));
    if (!isPeriod(args.period))
        return fail(QStringLiteral("%1 には --period で評定 (1..5) を指定してください。").arg(name));
    const MainSettings main = MainSettings::load(args.dataFolder);
    const YearSettings settings = YearSettings::load(args.dataFolder, args.nendo);
    const int classCount = std::clamp(settings.classCount[std::size_t(args.grade - 1)], 0, kMaxClasses);
    std::vector<int> all;
    for (int cls = 1; cls <= classCount; ++cls)
        all.push_back(cls);
    EvaluationContext c;
    c.dataFolder = args.dataFolder;
    c.nendo = args.nendo;
    c.grade = args.grade;
    c.kyouka = args.subject;
    c.teacherName = args.teacher;
    c.elective = args.elective;
    c.chargeClasses = chargeClassesText(all);
    c.schoolName = main.schoolName;
    c.classType = main.classType;
    c.tTestKanten = settings.tTestKanten;
    cli::CliPrompter prompter;
    EvaluationSession session(c);
    session.load(prompter);
    if (session.readOnly())
        return 1; // the message naming the file has been printed
    std::vector<int> classes;
    if (!classList(args, classCount, classes))
        return 1;
    const reports::PrintOutcome out =
        reports::printSubjectDocument(document, session, args.period, classes, target, prompter, args.now);
    if (!out.printed)
        return fail(out.error.isEmpty() ? QStringLiteral("印刷しませんでした。") : out.error);
    return 0;
}

const QString kNeeds = QStringLiteral("--subject S --teacher T [--elective] --period K");

#define TAVRO_SUBJECT_DOCUMENT(Doc, Name)                                                                    \
    const DocumentRegistration registration##Doc(                                                            \
        {QStringLiteral(Name), kNeeds, [](const PrintArgs &args, PrintTarget &target) {                      \
             return printSubject(args, target, SubjectDocument::Doc, QStringLiteral(Name));                  \
         }});

TAVRO_SUBJECT_DOCUMENT(ShiryouA, "shiryou-a")
TAVRO_SUBJECT_DOCUMENT(ShiryouB, "shiryou-b")
TAVRO_SUBJECT_DOCUMENT(ShiryouC, "shiryou-c")
TAVRO_SUBJECT_DOCUMENT(ShiryouD, "shiryou-d")
TAVRO_SUBJECT_DOCUMENT(ShiryouE, "shiryou-e")
TAVRO_SUBJECT_DOCUMENT(Cover, "cover")
TAVRO_SUBJECT_DOCUMENT(Kohyou, "kohyou")
TAVRO_SUBJECT_DOCUMENT(KohyouOld, "kohyou-old")
TAVRO_SUBJECT_DOCUMENT(KohyouCover, "kohyou-cover")

} // namespace

} // namespace tavro::print
