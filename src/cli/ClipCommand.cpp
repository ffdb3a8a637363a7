// tavro-cli clip WHAT ...: prints one clipboard text exactly as the window puts it on the clipboard.
#include "cli/CliSupport.h"

namespace tavro::cli {

namespace {

// The texts register themselves at start-up, so they are listed when asked, not when this registers.
int listTexts(const QString &message) {
    QTextStream &e = err();
    if (!message.isEmpty())
        e << message << u'\n';
    e << QStringLiteral("使い方:\n");
    for (const ClipText &t : clipTexts())
        e << QStringLiteral("  tavro-cli clip ") << t.synopsis << QStringLiteral("\n      ") << t.description
          << u'\n';
    e.flush();
    return kUsage;
}

int run(const QStringList &args) {
    QStringList whats;
    for (const ClipText &t : clipTexts())
        whats.append(t.what);
    if (args.size() < 2 || args[1].startsWith(u'-'))
        return listTexts(QStringLiteral("clip の後にコピーの種類 (%1) を指定してください。")
                             .arg(whats.join(QStringLiteral(", "))));
    for (const ClipText &t : clipTexts())
        if (t.what == args[1]) {
            QStringList rest = args;
            rest.removeAt(1);
            return t.run(rest);
        }
    return listTexts(
        QStringLiteral("clip に「%1」はありません (%2)。").arg(args[1], whats.join(QStringLiteral(", "))));
}

const Registration
    registration({QStringLiteral("clip"), QStringLiteral("clip WHAT ... (clip だけで WHAT の一覧)"),
                  QStringLiteral("画面がクリップボードに置く文字列をそのまま出力します"), run});

} // namespace

} // namespace tavro::cli
