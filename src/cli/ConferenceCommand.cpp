// tavro-cli conference: the data of the conference material (懇談資料) of a grade and period.
#include "app/Startup.h"
#include "cli/CliPrompter.h"
#include "cli/CliSupport.h"
#include "common/DataPaths.h"
#include "config/YearSettings.h"
#include "reports/Conference.h"

#include <QJsonDocument>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption data = dataOption();
    const QCommandLineOption year = yearOption();
    const QCommandLineOption gradeOpt = gradeOption();
    const QCommandLineOption periodOpt = periodOption();
    const QCommandLineOption classesOpt = classesOption();
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOptions({data, year, gradeOpt, periodOpt, classesOpt, jsonOpt});
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    int nendo = 0;
    QString folder;
    if (!readYear(parser, year, nendo, status) || !readDataFolder(parser, data, folder, status))
        return status;
    int grade = 0, period = 0;
    if (!readNumber(parser, gradeOpt, 1, 6, QStringLiteral("学年"), grade, status) ||
        !readNumber(parser, periodOpt, 1, 5, QStringLiteral("評定"), period, status))
        return status;
    bool ok = false;
    folder = paths::withTrailingSeparator(folder);
    const MainSettings main = MainSettings::load(folder);
    const YearSettings settings = YearSettings::load(folder, nendo);
    CliPrompter prompter;
    const reports::ConferenceData conference = reports::ConferenceData::load(
        folder, nendo, grade, main.schoolKind, period, settings.hyouteiName[std::size_t(period - 1)],
        main.schoolName, main.classType, &prompter);
    std::vector<int> classes;
    if (parser.isSet(classesOpt)) {
        for (const QString &part : parser.value(classesOpt).split(u',', Qt::SkipEmptyParts)) {
            const int cls = part.trimmed().toInt(&ok);
            if (!ok || cls < 1 || cls > conference.classCount)
                return userError(QStringLiteral("「%1」は%2年の組ではありません (%3組まで)。")
                                     .arg(part)
                                     .arg(grade)
                                     .arg(conference.classCount));
            if (std::find(classes.begin(), classes.end(), cls) == classes.end())
                classes.push_back(cls);
        }
        if (classes.empty())
            return noClassSelected();
    } else {
        for (int cls = 1; cls <= conference.classCount; ++cls)
            classes.push_back(cls);
    }
    out() << QString::fromUtf8(QJsonDocument(reports::conferenceJson(conference, classes)).toJson());
    out().flush();
    return kOk;
}

const Registration registration(
    {QStringLiteral("conference"),
     QStringLiteral("conference --data DIR [--year N] --grade G --period K [--classes LIST] --json"),
     QStringLiteral("懇談資料 (コメント一覧) に印刷するデータ"), run});

} // namespace

} // namespace tavro::cli
