// tavro-cli: the headless jobs of the program.
#include "cli/CliSupport.h"
#include "platform/qt/QtPorts.h"

#include "Version.h"

#include <QCoreApplication>

using namespace tavro::cli;

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    tavro::useBinaryStandardStreams();
    QCoreApplication::setApplicationName(QStringLiteral("tavro-cli"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(tavro::version::text));

    QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return usage();
    const QString name = args.at(1);
    if (name == QLatin1String("--version") || name == QLatin1String("-v")) {
        out() << "tavro-cli " << tavro::version::text << "\n";
        out().flush();
        return kOk;
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        usage();
        return kOk;
    }
    args.removeAt(1); // each command parses its own options
    for (const Command &command : commands())
        if (command.name == name)
            return command.run(args);
    return usage(QStringLiteral("不明なコマンドです: %1").arg(name));
}
