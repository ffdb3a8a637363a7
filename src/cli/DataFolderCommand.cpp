// tavro-cli datafolder: the data folder the program resolves from its program-side ini.
#include "app/Startup.h"
#include "cli/CliSupport.h"

#include <QCoreApplication>
#include <QDir>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption program(
        QStringLiteral("program"), QStringLiteral("プログラムのパス (既定: tavro)"), QStringLiteral("PATH"));
    parser.addOption(program);
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    const QString path = parser.isSet(program)
                             ? QDir(parser.value(program)).absolutePath()
                             : QCoreApplication::applicationDirPath() + QStringLiteral("/tavro");
    const QString folder = resolveDataFolder(path);
    const QString missing = locateDataFolder(path).missing;
    if (!missing.isEmpty())
        return userError(
            dataFolderMissingMessage(missing).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    out() << QDir::toNativeSeparators(folder) << "\n";
    out().flush();
    return kOk;
}

const Registration registration({QStringLiteral("datafolder"), QStringLiteral("datafolder [--program PATH]"),
                                 QStringLiteral("プログラム側の設定から決まるデータフォルダを表示します"),
                                 run});

} // namespace

} // namespace tavro::cli
