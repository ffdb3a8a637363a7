#include "cli/CliSupport.h"

#include "common/Cp932.h"

#include <cstdio>

#include "app/Startup.h"
#include "platform/qt/QtPorts.h"
#include "reports/Conference.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tavro::cli {

namespace {

std::vector<Command> &registry() {
    static std::vector<Command> list;
    return list;
}

} // namespace

Registration::Registration(Command command) {
    auto &list = registry();
    list.push_back(std::move(command));
    std::sort(list.begin(), list.end(), [](const Command &a, const Command &b) { return a.name < b.name; });
}

const std::vector<Command> &commands() {
    return registry();
}

namespace {

std::vector<ClipText> &clipRegistry() {
    static std::vector<ClipText> list;
    return list;
}

} // namespace

ClipRegistration::ClipRegistration(ClipText text) {
    auto &list = clipRegistry();
    list.push_back(std::move(text));
    std::sort(list.begin(), list.end(), [](const ClipText &a, const ClipText &b) { return a.what < b.what; });
}

const std::vector<ClipText> &clipTexts() {
    return clipRegistry();
}

bool readNumber(const QCommandLineParser &parser, const QCommandLineOption &option, int low, int high,
                const QString &what, int &value, int &status) {
    bool ok = false;
    value = parser.value(option).toInt(&ok);
    if (!parser.isSet(option) || !ok || value < low || value > high) {
        status = usage(QStringLiteral("--%1 には %2 を %3 から %4 までの数で指定してください。")
                           .arg(option.names().first(), what)
                           .arg(low)
                           .arg(high));
        return false;
    }
    return true;
}

const QCommandLineOption &sjisOption() {
    static const QCommandLineOption option(
        QStringLiteral("sjis"), QStringLiteral("シフトJIS (コードページ932) のバイトで出力します"));
    return option;
}

int writeClipText(const QString &text, bool sjis) {
    QByteArray bytes;
    if (sjis) {
        if (!cp932::encode(text, bytes))
            return userError(
                QStringLiteral("シフトJISで表せない文字があります: %1").arg(cp932::firstUnencodable(text)));
    } else {
        bytes = text.toUtf8();
    }
    out().flush();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fflush(stdout);
    return kOk;
}

QTextStream &out() {
    static QTextStream stream(stdout);
    stream.setEncoding(QStringConverter::Utf8);
    return stream;
}

QTextStream &err() {
    static QTextStream stream(stderr);
    stream.setEncoding(QStringConverter::Utf8);
    return stream;
}

int usage(const QString &message) {
    QTextStream &e = err();
    if (!message.isEmpty())
        e << message << "\n\n";
    if (commands().empty()) {
        // The renderer behind "tavro-cli print" registers no commands: its own usage only.
        e << "使い方: tavro-cli print <文書> [オプション] (オプションの一覧: tavro-cli print <文書> "
             "--help)\n";
    } else {
        e << "使い方: tavro-cli <コマンド> [オプション]\n\nコマンド:\n";
        for (const Command &c : commands())
            e << "  " << c.synopsis << "\n      " << c.description << "\n";
        e << "\n  --version  バージョンを表示します\n  --help     この説明を表示します\n";
    }
    e.flush();
    return kUsage;
}

int userError(const QString &message) {
    err() << message << "\n";
    err().flush();
    return kUserError;
}

bool parse(QCommandLineParser &parser, const QStringList &args, int &status) {
    parser.addHelpOption();
    if (!parser.parse(args)) {
        status = usage(parser.errorText());
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out() << parser.helpText();
        out().flush();
        status = kOk;
        return false;
    }
    return true;
}

int thisNendo() {
    return schoolYearOf(SystemClock().now().date());
}

QCommandLineOption yearOption() {
    return QCommandLineOption(QStringLiteral("year"), QStringLiteral("年度 (既定: 今年度)"),
                              QStringLiteral("N"));
}

bool readYear(const QCommandLineParser &parser, const QCommandLineOption &option, int &year, int &status) {
    year = thisNendo();
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    year = parser.value(option).toInt(&ok);
    if (!ok || year < kMinNendo || year > kMaxNendo) {
        status = usage(QStringLiteral("--year には %1 から %2 までの年度を指定してください。")
                           .arg(kMinNendo)
                           .arg(kMaxNendo));
        return false;
    }
    return true;
}

QCommandLineOption gradeOption() {
    return QCommandLineOption(QStringLiteral("grade"), QStringLiteral("学年 (1..6)"), QStringLiteral("G"));
}

QCommandLineOption periodOption() {
    return QCommandLineOption(QStringLiteral("period"), QStringLiteral("評定 (1..5)"), QStringLiteral("K"));
}

int noClassSelected() {
    return userError(reports::selectClassMessage());
}

QCommandLineOption classesOption() {
    return QCommandLineOption(QStringLiteral("classes"), QStringLiteral("組 (例 1,2; 既定: 全組)"),
                              QStringLiteral("LIST"));
}

QCommandLineOption dataOption() {
    return QCommandLineOption(QStringLiteral("data"), QStringLiteral("データフォルダ"),
                              QStringLiteral("DIR"));
}

bool readDataFolder(const QCommandLineParser &parser, const QCommandLineOption &option, QString &folder,
                    int &status) {
    if (!parser.isSet(option)) {
        status = usage(QStringLiteral("--data DIR でデータフォルダを指定してください。"));
        return false;
    }
    folder = QDir(parser.value(option)).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        status =
            userError(QStringLiteral("データフォルダがありません: %1").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    return true;
}

} // namespace tavro::cli
