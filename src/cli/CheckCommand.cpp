// tavro-cli check: lists the evaluation and test files of a year that are damaged.
#include "cli/CliSupport.h"
#include "cli/DataFileJson.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/WorksheetFile.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace tavro::cli {

namespace {

struct Found {
    QString path;
    DataKind kind;
};

// Files of `folder` (found without regard to letter case) whose suffix is one of `suffixes`.
void collect(const QString &folder, const QStringList &suffixes, DataKind datKind, std::vector<Found> &files,
             const QString &prefix = QString()) {
    const QDir dir(paths::resolveExisting(folder));
    if (!dir.exists())
        return;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &f : entries) {
        const QString suffix = f.suffix().toLower();
        if (!suffixes.contains(suffix))
            continue;
        if (!prefix.isEmpty() && !f.fileName().startsWith(prefix, Qt::CaseInsensitive))
            continue;
        files.push_back({f.filePath(), suffix == QLatin1String("def") ? DataKind::FullScores : datKind});
    }
}

bool isYearFolderName(const QString &name) {
    if (name.isEmpty())
        return false;
    for (QChar c : name)
        if (!c.isDigit())
            return false;
    return true;
}

ReadReport inspect(const Found &file, Worksheet &worksheet, EvaluationResults &results) {
    QByteArray bytes;
    if (!readWholeFile(file.path, bytes)) {
        ReadReport report;
        report.unreadable = true;
        return report;
    }
    switch (file.kind) {
    case DataKind::Worksheet:
        worksheet.reset();
        return WorksheetFile::parse(bytes, worksheet);
    case DataKind::ClassResult:
        return ClassResultFile::parse(bytes, 1, results, true);
    case DataKind::ElectiveResult:
        return ElectiveResultFile::parse(bytes, results);
    case DataKind::TestScores: {
        ClassScores scores;
        return TestScoreFile::parseClassScores(bytes, scores);
    }
    case DataKind::FullScores: {
        FullScores full;
        return TestScoreFile::parseFullScores(bytes, full);
    }
    case DataKind::Unknown:
        break;
    }
    return ReadReport();
}

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

    std::vector<Found> files;
    const QStringList dat{QStringLiteral("dat")};
    collect(paths::testFolder(folder, year), {QStringLiteral("dat"), QStringLiteral("def")},
            DataKind::TestScores, files);
    collect(paths::hyouteiFolder(folder, year), dat, DataKind::ClassResult, files);
    collect(paths::sentakuFolder(folder, year), dat, DataKind::ElectiveResult, files);
    // Worksheets: "<teacher>/<year><grade><subject>.dat" in the teachers' folders.
    const QFileInfoList teachers = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &t : teachers)
        if (!isYearFolderName(t.fileName()) && !t.fileName().startsWith(u'~'))
            collect(t.filePath(), dat, DataKind::Worksheet, files, QString::number(year));

    auto worksheet = std::make_unique<Worksheet>();
    auto results = std::make_unique<EvaluationResults>();
    int damaged = 0;
    const QDir base(folder);
    for (const Found &f : files) {
        const ReadReport report = inspect(f, *worksheet, *results);
        if (report.isClean())
            continue;
        ++damaged;
        out() << QDir::toNativeSeparators(base.relativeFilePath(f.path)) << " [" << kindName(f.kind)
              << "]: " << report.problems().join(QStringLiteral("、")) << "\n";
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
