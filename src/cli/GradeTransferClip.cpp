// tavro-cli clip grade-transfer: "転送(&T)" of the grade transfer window, from the grade store.
#include "app/Startup.h"
#include "cli/CliSupport.h"
#include "common/DataPaths.h"
#include "config/YearSettings.h"
#include "evaluation/GradeHyouteiStore.h"
#include "evaluation/Worksheet.h"
#include "exchange/GradeTransfer.h"

#include <algorithm>
#include <memory>

namespace tavro::cli {

namespace {

int runGradeTransfer(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption data = dataOption();
    const QCommandLineOption year = yearOption();
    const QCommandLineOption gradeOpt = gradeOption();
    const QCommandLineOption periodOpt = periodOption();
    const QCommandLineOption subjectOpt(QStringLiteral("subject"),
                                        QStringLiteral("教科 (国語 など、または 1..9)"), QStringLiteral("D"));
    const QCommandLineOption slotsOpt(QStringLiteral("slots"),
                                      QStringLiteral("転送する席 (1..720、例 1,61; 既定: 名前のある席)"),
                                      QStringLiteral("LIST"));
    parser.addOptions({data, year, gradeOpt, periodOpt, subjectOpt, slotsOpt, sjisOption()});
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    GradeHyouteiStore::Inputs in;
    if (!readYear(parser, year, in.nendo, status) || !readDataFolder(parser, data, in.dataFolder, status))
        return status;
    bool ok = false;
    in.grade = parser.value(gradeOpt).toInt(&ok);
    if (!ok || in.grade < 1 || in.grade > 6)
        return usage(QStringLiteral("--grade には学年を 1 から 6 までの数で指定してください。"));
    in.period = parser.value(periodOpt).toInt(&ok);
    if (!ok || !isPeriod(in.period))
        return usage(QStringLiteral("--period には評定を 1 から 5 までの数で指定してください。"));
    if (!parser.isSet(subjectOpt))
        return usage(QStringLiteral("--subject で教科を指定してください。"));
    in.dataFolder = paths::withTrailingSeparator(in.dataFolder);
    const MainSettings main = MainSettings::load(in.dataFolder);
    const QString refused = exchange::schoolKindError(main.schoolKind);
    if (!refused.isEmpty())
        return userError(refused);
    in.schoolKind = main.schoolKind;
    in.classType = main.classType;
    in.periodName = YearSettings::load(in.dataFolder, in.nendo).hyouteiName[std::size_t(in.period - 1)];
    auto store = std::make_unique<GradeHyouteiStore>();
    store->load(in);
    for (const QString &message : store->messages())
        err() << QString(message).replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << u'\n';
    err().flush();

    const QString subject = parser.value(subjectOpt);
    int display = int(store->displaySubjects().indexOf(subject));
    const int number = subject.toInt(&ok);
    if (display < 0 && ok && number >= 1 && number <= GradeHyouteiStore::kDisplaySubjects)
        display = number - 1;
    if (display < 0)
        return userError(QStringLiteral("教科「%1」はありません (%2)。")
                             .arg(subject, store->displaySubjects().join(QStringLiteral("、"))));

    std::vector<int> seats;
    if (parser.isSet(slotsOpt)) {
        const int last = store->classCount() * kSeatsPerClass;
        for (const QString &part : parser.value(slotsOpt).split(u',', Qt::SkipEmptyParts)) {
            const int slot = part.trimmed().toInt(&ok);
            if (!ok || slot < 1 || slot > last)
                return userError(QStringLiteral("--slots の席は 1 から %1 までです。").arg(last));
            seats.push_back(slot - 1);
        }
        std::sort(seats.begin(), seats.end());
        seats.erase(std::unique(seats.begin(), seats.end()), seats.end());
    } else {
        seats = exchange::defaultGradeSlots(*store);
    }
    return writeClipText(exchange::gradeTransferText(*store, display, seats), parser.isSet(sjisOption()));
}

const ClipRegistration registration(
    {QStringLiteral("grade-transfer"),
     QStringLiteral(
         "grade-transfer --data DIR [--year N] --grade G --period K --subject D [--slots 1,61,...] "
         "[--sjis]"),
     QStringLiteral("評定集計の校務支援「転送(&T)」"), runGradeTransfer});

} // namespace

} // namespace tavro::cli
