// tavro-cli clip marks and clip excel: "評定の転送(&A)" of the class transfer window and "データ転送" of
// the spreadsheet transfer window.
#include "app/Startup.h"
#include "cli/CliPrompter.h"
#include "cli/EvaluationCli.h"
#include "common/DataPaths.h"
#include "evaluation/GradePeriodResults.h"
#include "exchange/Transfers.h"

namespace tavro::cli {

namespace {

bool numberList(const QString &text, int low, int high, std::vector<int> &numbers) {
    numbers.clear();
    for (const QString &part : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n < low || n > high)
            return false;
        if (std::find(numbers.begin(), numbers.end(), n) == numbers.end())
            numbers.push_back(n);
    }
    return true;
}

int runMarks(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption classOpt(QStringLiteral("class"), QStringLiteral("組 (1..12)"),
                                      QStringLiteral("C"));
    const QCommandLineOption numbersOpt(QStringLiteral("numbers"),
                                        QStringLiteral("転送する番号 (例 1,5; 既定: 窓の初期チェック)"),
                                        QStringLiteral("LIST"));
    parser.addOptions({classOpt, numbersOpt, sjisOption()});
    WorksheetOptions options;
    options.teacherOptional = true;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk;
    if (!openSession(args, parser, options, true, prompter, session, period, status))
        return status;
    bool ok = false;
    const int cls = parser.value(classOpt).toInt(&ok);
    if (!ok || !isClass(cls))
        return usage(QStringLiteral("--class には組を 1 から 12 までの数で指定してください。"));
    std::vector<int> numbers;
    if (parser.isSet(numbersOpt)) {
        if (!numberList(parser.value(numbersOpt), 1, kSeatsPerClass, numbers))
            return usage(
                QStringLiteral("--numbers には 1 から 60 までの番号をカンマで区切って指定してください。"));
        std::sort(numbers.begin(), numbers.end());
    } else {
        const std::vector<bool> checks = exchange::defaultChecks(*session, cls);
        for (int n = 1; n <= kSeatsPerClass; ++n)
            if (checks[std::size_t(n - 1)])
                numbers.push_back(n);
    }
    return writeClipText(
        exchange::marksText(*session, period, cls, numbers, session->settings().addKoumuToutatu),
        parser.isSet(sjisOption()));
}

int runExcel(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption data = dataOption();
    const QCommandLineOption year = yearOption();
    const QCommandLineOption gradeOpt = gradeOption();
    const QCommandLineOption periodOpt = periodOption();
    const QCommandLineOption classesOpt = classesOption();
    parser.addOptions({data, year, gradeOpt, periodOpt, classesOpt, sjisOption()});
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
    folder = paths::withTrailingSeparator(folder);
    const MainSettings main = MainSettings::load(folder);
    CliPrompter prompter;
    GradePeriodResults results;
    QString error;
    if (!GradePeriodResults::load(folder, nendo, grade, main.schoolKind, period, results, &prompter, &error))
        return userError(error);
    std::vector<int> classes;
    if (parser.isSet(classesOpt)) {
        if (parser.value(classesOpt).split(u',', Qt::SkipEmptyParts).isEmpty())
            return noClassSelected();
        if (!numberList(parser.value(classesOpt), 1, results.classCount, classes))
            return userError(QStringLiteral("--classes の組は 1 から %1 までです。").arg(results.classCount));
        std::sort(classes.begin(), classes.end());
    } else {
        for (int cls = 1; cls <= results.classCount; ++cls)
            classes.push_back(cls);
    }
    const QString caption = YearSettings::load(folder, nendo).hyouteiName[std::size_t(period - 1)];
    return writeClipText(exchange::excelText(results, classes, caption, main.classType),
                         parser.isSet(sjisOption()));
}

const ClipRegistration marksRegistration(
    {QStringLiteral("marks"),
     QStringLiteral(
         "marks --data DIR [--year N] --grade G --period K --subject S [--teacher T] [--elective] --class C "
         "[--numbers 1,5,...] [--sjis]"),
     QStringLiteral("校務支援の「評定の転送(&A)」"), runMarks});
const ClipRegistration excelRegistration(
    {QStringLiteral("excel"),
     QStringLiteral("excel --data DIR [--year N] --grade G --period K [--classes 1,2,...] [--sjis]"),
     QStringLiteral("エクセル転送の「データ転送」"), runExcel});

} // namespace

} // namespace tavro::cli
