// tavro-cli aggregate and clip grade-with-viewpoints / grade-without-viewpoints: the grade store of the
// evaluation aggregation, its three grids and its two copies.
#include "app/Startup.h"
#include "cli/CliSupport.h"
#include "common/DataPaths.h"
#include "config/YearSettings.h"
#include "evaluation/GradeHyouteiStore.h"

#include <QJsonDocument>

namespace tavro::cli {

namespace {

struct StoreOptions {
    QCommandLineOption data = dataOption();
    QCommandLineOption year = yearOption();
    QCommandLineOption grade = gradeOption();
    QCommandLineOption period = periodOption();
};

// Parses the options and loads the store as the window does.
bool loadStore(const QStringList &args, QCommandLineParser &parser, StoreOptions &o, GradeHyouteiStore &store,
               int &status) {
    parser.addOptions({o.data, o.year, o.grade, o.period});
    if (!parse(parser, args, status))
        return false;
    GradeHyouteiStore::Inputs in;
    if (!readYear(parser, o.year, in.nendo, status) || !readDataFolder(parser, o.data, in.dataFolder, status))
        return false;
    bool ok = false;
    in.grade = parser.value(o.grade).toInt(&ok);
    if (!ok || in.grade < 1 || in.grade > 6) {
        status = usage(QStringLiteral("--grade には学年を 1 から 6 までの数で指定してください。"));
        return false;
    }
    in.period = parser.value(o.period).toInt(&ok);
    if (!ok || in.period < 1 || in.period > 5) {
        status = usage(QStringLiteral("--period には評定を 1 から 5 までの数で指定してください。"));
        return false;
    }
    in.dataFolder = paths::withTrailingSeparator(in.dataFolder);
    const MainSettings main = MainSettings::load(in.dataFolder);
    in.schoolKind = main.schoolKind;
    in.classType = main.classType;
    in.periodName = YearSettings::load(in.dataFolder, in.nendo).hyouteiName[std::size_t(in.period - 1)];
    store.load(in);
    return true;
}

int runAggregate(const QStringList &args) {
    QCommandLineParser parser;
    StoreOptions o;
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    const QCommandLineOption gridOpt(QStringLiteral("grid"),
                                     QStringLiteral("一覧の番号 (1 必修, 2 選択, 3 通知表用)"),
                                     QStringLiteral("1|2|3"));
    parser.addOptions({jsonOpt, gridOpt});
    auto store = std::make_unique<GradeHyouteiStore>();
    int status = kOk;
    if (!loadStore(args, parser, o, *store, status))
        return status;
    if (parser.isSet(jsonOpt) == parser.isSet(gridOpt))
        return usage(QStringLiteral("--json か --grid のどちらか一つを指定してください。"));
    if (parser.isSet(jsonOpt)) {
        out() << QString::fromUtf8(QJsonDocument(store->toJson()).toJson());
        out().flush();
        return kOk;
    }
    const QString g = parser.value(gridOpt);
    const int grid = g == QLatin1String("1")   ? 1
                     : g == QLatin1String("2") ? 2
                     : g == QLatin1String("3") ? 3
                                               : 0;
    if (grid == 0)
        return usage(QStringLiteral("--grid には 1, 2, 3 のどれかを指定してください。"));
    for (const QString &message : store->messages())
        err() << QString(message).replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << u'\n';
    err().flush();
    const int columns = GradeHyouteiStore::gridColumns(grid);
    for (int row = 0; row < store->gridRows(); ++row) {
        QString line;
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                line += u'\t';
            line += store->gridText(grid, row, c);
        }
        out() << line << u'\n';
    }
    out().flush();
    return kOk;
}

int runCopy(const QStringList &args, bool viewpoints) {
    QCommandLineParser parser;
    StoreOptions o;
    parser.addOption(sjisOption());
    auto store = std::make_unique<GradeHyouteiStore>();
    int status = kOk;
    if (!loadStore(args, parser, o, *store, status))
        return status;
    for (const QString &message : store->messages())
        err() << QString(message).replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << u'\n';
    err().flush();
    return writeClipText(store->copyText(viewpoints), parser.isSet(sjisOption()));
}

int runWithViewpoints(const QStringList &args) {
    return runCopy(args, true);
}

int runWithoutViewpoints(const QStringList &args) {
    return runCopy(args, false);
}

const Registration aggregateRegistration(
    {QStringLiteral("aggregate"),
     QStringLiteral("aggregate --data DIR [--year N] --grade G --period K (--json | --grid 1|2|3)"),
     QStringLiteral("評定集計: 学年の必修・選択の評定 (JSON または一覧の各セル)"), runAggregate});

const ClipRegistration withViewpointsRegistration(
    {QStringLiteral("grade-with-viewpoints"),
     QStringLiteral("grade-with-viewpoints --data DIR [--year N] --grade G --period K [--sjis]"),
     QStringLiteral("評定集計の「コピー」→「観点評価あり」"), runWithViewpoints});

const ClipRegistration withoutViewpointsRegistration(
    {QStringLiteral("grade-without-viewpoints"),
     QStringLiteral("grade-without-viewpoints --data DIR [--year N] --grade G --period K [--sjis]"),
     QStringLiteral("評定集計の「コピー」→「観点評価なし」"), runWithoutViewpoints});

} // namespace

} // namespace tavro::cli
