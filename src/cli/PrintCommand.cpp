// tavro-cli print: runs tavro-print beside this program, which draws with Qt's offscreen platform; the
// other commands need Qt Core only.
#include "cli/CliSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tavro-print"));
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.setInputChannelMode(QProcess::ForwardedInputChannel);
    p.start(program, args.mid(1));
    if (!p.waitForStarted())
        return userError(QStringLiteral("%1 を起動できません: %2")
                             .arg(QDir::toNativeSeparators(program), p.errorString()));
    p.waitForFinished(-1);
    if (p.exitStatus() != QProcess::NormalExit)
        return userError(QStringLiteral("印刷できませんでした。(%1 が異常終了しました)")
                             .arg(QDir::toNativeSeparators(program)));
    return p.exitCode();
}

const Registration registration(
    {QStringLiteral("print"),
     QStringLiteral("print DOC --data DIR [--year N] --grade G [--test CODE] [--subject S --teacher T "
                    "[--elective]] [--period K] "
                    "[--classes 1,2,...] [--range A-B] [--now YYYY-MM-DDTHH:MM:SS] --pdf FILE [--layout "
                    "FILE|-] [--dpi N]"),
     QStringLiteral(
         "文書を PDF に印刷し、--layout で描いた内容を JSON に書きます (DOC: score-list, class-list, "
         "notices-5, notices-9, notices-100, notices-viewpoints, kondan, shiryou-a, shiryou-b, "
         "shiryou-c, shiryou-d, shiryou-e, cover, kohyou, kohyou-old, kohyou-cover, ichiran, seal, "
         "sentaku-tsuchihyo, toutatsu)"),
     run});

} // namespace

} // namespace tavro::cli
