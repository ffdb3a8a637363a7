// ichiran, seal, sentaku-tsuchihyo, toutatsu: the grade-wide papers of the evaluation aggregation,
// from the grade store of a period.
#include "app/Startup.h"
#include "cli/CliPrompter.h"
#include "config/TeacherFile.h"
#include "config/YearSettings.h"
#include "evaluation/GradeHyouteiStore.h"
#include "print/PrintSupport.h"
#include "reports/GradeDocuments.h"

#include <memory>

namespace tavro::print {

namespace {

int printGrade(const PrintArgs &args, PrintTarget &target, reports::GradeDocument document,
               const QString &name) {
    if (args.period < 1 || args.period > 5)
        return fail(QStringLiteral("%1 には --period で評定 (1..5) を指定してください。").arg(name));
    const MainSettings main = MainSettings::load(args.dataFolder);
    GradeHyouteiStore::Inputs in;
    in.dataFolder = args.dataFolder;
    in.nendo = args.nendo;
    in.grade = args.grade;
    in.period = args.period;
    in.periodName = YearSettings::load(args.dataFolder, args.nendo).hyouteiName[std::size_t(args.period - 1)];
    in.schoolKind = main.schoolKind;
    in.classType = main.classType;
    auto store = std::make_unique<GradeHyouteiStore>();
    store->load(in);
    for (const QString &message : store->messages())
        fail(QString(message).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    reports::GradeDocumentData data;
    data.store = store.get();
    data.classTeachers = reports::GradeDocumentData::classTeachersOf(
        TeacherFile::load(args.dataFolder, args.nendo), args.grade);
    data.viewpoints = reports::GradeDocumentData::viewpointsOf(args.dataFolder, args.nendo, main.schoolKind);
    std::vector<int> classes;
    if (!classList(args, store->classCount(), classes))
        return 1;
    cli::CliPrompter prompter;
    const reports::PrintOutcome out =
        reports::printGradeDocument(document, data, classes, target, prompter, args.now);
    if (!out.printed)
        return fail(out.error.isEmpty() ? QStringLiteral("印刷しませんでした。") : out.error);
    return 0;
}

int printIchiran(const PrintArgs &args, PrintTarget &target) {
    return printGrade(args, target, reports::GradeDocument::Ichiran, QStringLiteral("ichiran"));
}

int printSeal(const PrintArgs &args, PrintTarget &target) {
    return printGrade(args, target, reports::GradeDocument::Seal, QStringLiteral("seal"));
}

int printSentaku(const PrintArgs &args, PrintTarget &target) {
    return printGrade(args, target, reports::GradeDocument::SentakuTsuchihyo,
                      QStringLiteral("sentaku-tsuchihyo"));
}

int printToutatsu(const PrintArgs &args, PrintTarget &target) {
    return printGrade(args, target, reports::GradeDocument::Toutatsu, QStringLiteral("toutatsu"));
}

const DocumentRegistration ichiran({QStringLiteral("ichiran"), QStringLiteral("--period K"), printIchiran});
const DocumentRegistration seal({QStringLiteral("seal"), QStringLiteral("--period K"), printSeal});
const DocumentRegistration sentaku({QStringLiteral("sentaku-tsuchihyo"), QStringLiteral("--period K"),
                                    printSentaku});
const DocumentRegistration toutatsu({QStringLiteral("toutatsu"), QStringLiteral("--period K"),
                                     printToutatsu});

} // namespace

} // namespace tavro::print
