// tavro-cli dump: a data file as JSON.
#include "cli/CliSupport.h"
#include "cli/DataFileJson.h"
#include "common/FileSave.h"

#include <QDir>
#include <QFileInfo>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption kindOpt(
        QStringLiteral("kind"),
        QStringLiteral("ファイルの種類: worksheet, class-result, elective-result, test-scores, full-scores"),
        QStringLiteral("KIND"));
    parser.addOption(kindOpt);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("データファイル"));
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    if (parser.positionalArguments().size() != 1)
        return usage(QStringLiteral("dump にはファイルを一つ指定してください。"));
    const QString path = parser.positionalArguments().first();
    DataKind kind = guessKind(path);
    if (parser.isSet(kindOpt)) {
        kind = kindFromName(parser.value(kindOpt));
        if (kind == DataKind::Unknown)
            return usage(QStringLiteral("不明な種類です: %1").arg(parser.value(kindOpt)));
    }
    if (kind == DataKind::Unknown)
        return usage(QStringLiteral("ファイルの種類がわかりません。--kind で指定してください: %1")
                         .arg(QDir::toNativeSeparators(path)));
    QByteArray bytes;
    if (!QFileInfo(path).isFile() || !readWholeFile(path, bytes))
        return userError(QStringLiteral("ファイルを読み込めません: %1").arg(QDir::toNativeSeparators(path)));

    QByteArray json;
    ReadReport report;
    QString error;
    if (!dumpJson(kind, bytes, json, report, error))
        return userError(error);
    for (const QString &problem : report.problems())
        err() << QStringLiteral("警告: ") << problem << "\n";
    err().flush();
    out().flush();
    // The JSON is UTF-8 already.
    QFile stdOut;
    if (stdOut.open(stdout, QIODevice::WriteOnly))
        stdOut.write(json);
    return kOk;
}

const Registration registration({QStringLiteral("dump"), QStringLiteral("dump FILE [--kind KIND]"),
                                 QStringLiteral("評定・テストのデータファイルを JSON で表示します"), run});

} // namespace

} // namespace tavro::cli
