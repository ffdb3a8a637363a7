// kondan: the conference material of a grade and period.
#include "app/Startup.h"
#include "cli/CliPrompter.h"
#include "common/DataPaths.h"
#include "config/YearSettings.h"
#include "print/PrintSupport.h"
#include "reports/Conference.h"

namespace tavro::print {

namespace {

int printKondan(const PrintArgs &args, PrintTarget &target) {
    if (args.period < 1 || args.period > 5)
        return fail(QStringLiteral("kondan には --period で評定 (1..5) を指定してください。"));
    const MainSettings main = MainSettings::load(args.dataFolder);
    const YearSettings settings = YearSettings::load(args.dataFolder, args.nendo);
    cli::CliPrompter prompter;
    const reports::ConferenceData data = reports::ConferenceData::load(
        args.dataFolder, args.nendo, args.grade, main.schoolKind, args.period,
        settings.hyouteiName[std::size_t(args.period - 1)], main.schoolName, main.classType, &prompter);
    std::vector<int> classes;
    if (!classList(args, data.classCount, classes))
        return 1;
    const reports::PrintOutcome out = reports::printConference(data, classes, target, prompter, args.now);
    if (!out.printed)
        return fail(out.error.isEmpty() ? QStringLiteral("印刷しませんでした。") : out.error);
    return 0;
}

const DocumentRegistration registration({QStringLiteral("kondan"), QStringLiteral("--period K"),
                                         printKondan});

} // namespace

} // namespace tavro::print
