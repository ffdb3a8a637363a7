// tavro-cli check: lists the evaluation and test files of a year that are damaged.
#include "app/DataFolderCheck.h"
#include "cli/CliSupport.h"
#include "cli/DataFileJson.h"
#include "common/DataPaths.h"

#include <QDir>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption dataOpt = dataOption();
    const QCommandLineOption yearOpt = yearOption();
    parser.addOptions({dataOpt, yearOpt});
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("余分な引数があります: %1").arg(parser.positionalArguments().join(u' ')));
    int year = 0;
    if (!readYear(parser, yearOpt, year, status))
        return status;
    QString folder;
    if (!readDataFolder(parser, dataOpt, folder, status))
        return status;
    folder = paths::withTrailingSeparator(folder);

    const std::vector<CheckedFile> files = checkDataFolder(folder, year);
    int damaged = 0;
    const QDir base(folder);
    for (const CheckedFile &f : files) {
        if (f.report.isClean())
            continue;
        ++damaged;
        out() << QDir::toNativeSeparators(base.relativeFilePath(f.path)) << " [" << kindName(f.kind)
              << "]: " << f.report.problems().join(QStringLiteral("、")) << "\n";
    }
    out() << QStringLiteral("%1年度: %2個のファイルを調べました。問題のあるファイル: %3\n")
                 .arg(year)
                 .arg(files.size())
                 .arg(damaged);
    out().flush();
    return damaged ? kUserError : kOk;
}

const Registration registration(
    {QStringLiteral("check"), QStringLiteral("check --data DIR [--year N]"),
     QStringLiteral("その年度の評定・テストのファイルを調べ、壊れたものや新しすぎるものを表示します"), run});

} // namespace

} // namespace tavro::cli
