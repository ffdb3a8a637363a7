// tavro-cli load: writes the data file a JSON text describes (the inverse of dump).
#include "cli/CliSupport.h"
#include "cli/DataFileJson.h"
#include "common/FileSave.h"

#include <QDir>
#include <QFile>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("JSON"), QStringLiteral("JSON ファイル (- は標準入力)"));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("書き込むデータファイル"));
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    if (parser.positionalArguments().size() != 2)
        return usage(QStringLiteral("load には JSON ファイルと書き込むファイルを指定してください。"));
    const QString jsonPath = parser.positionalArguments().at(0);
    const QString target = parser.positionalArguments().at(1);

    QByteArray json;
    if (jsonPath == QLatin1String("-")) {
        QFile in;
        if (in.open(stdin, QIODevice::ReadOnly))
            json = in.readAll();
    } else if (!readWholeFile(jsonPath, json)) {
        return userError(
            QStringLiteral("JSON ファイルを読み込めません: %1").arg(QDir::toNativeSeparators(jsonPath)));
    }
    QByteArray bytes;
    DataKind kind = DataKind::Unknown;
    QString error;
    if (!bytesFromJson(json, bytes, kind, error))
        return userError(QStringLiteral("書き込みませんでした。%1").arg(error));
    if (!saveData(kind, target, bytes, error))
        return userError(error);
    out() << QStringLiteral("%1 を書き込みました (%2, %3バイト)\n")
                 .arg(QDir::toNativeSeparators(target), kindName(kind))
                 .arg(bytes.size());
    out().flush();
    return kOk;
}

const Registration registration({QStringLiteral("load"), QStringLiteral("load JSON FILE"),
                                 QStringLiteral("JSON の内容でデータファイルを書き込みます (dump の逆)"),
                                 run});

} // namespace

} // namespace tavro::cli
