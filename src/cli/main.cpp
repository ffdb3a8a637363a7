// tavro-cli: the headless jobs of the program.
#include "app/DemoSchool.h"
#include "app/Startup.h"
#include "common/DataPaths.h"
#include "platform/qt/QtPorts.h"

#include "Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <cstdio>

using namespace tavro;

namespace {

constexpr int kOk = 0;
constexpr int kUserError = 1;
constexpr int kUsage = 2;

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

const char *kUsageText =
    "使い方: tavro-cli <コマンド> [オプション]\n"
    "\n"
    "コマンド:\n"
    "  demo DIR [--year N]                 DIR に架空の学校のデモデータを作成します\n"
    "  info --data DIR [--year N] [--json] 起動時に読み込む設定を表示します\n"
    "  datafolder [--program PATH]         プログラム側の設定から決まるデータフォルダを表示します\n"
    "\n"
    "  --version                           バージョンを表示します\n"
    "  --help                              この説明を表示します\n";

int usage(const QString &message = QString()) {
    if (!message.isEmpty())
        err() << message << "\n\n";
    err() << QString::fromUtf8(kUsageText);
    err().flush();
    return kUsage;
}

int userError(const QString &message) {
    err() << message << "\n";
    err().flush();
    return kUserError;
}

int thisNendo() {
    return schoolYearOf(SystemClock().now().date());
}

// Parses the options of one command; returns false after reporting bad usage.
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

bool yearOption(QCommandLineParser &parser, const QCommandLineOption &option, int &year, int &status) {
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

int demo(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption yearOpt(QStringLiteral("year"), QStringLiteral("年度 (既定: 今年度)"),
                                     QStringLiteral("N"));
    parser.addOption(yearOpt);
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("データフォルダ"));
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    if (parser.positionalArguments().size() != 1)
        return usage(QStringLiteral("demo にはデータフォルダを一つ指定してください。"));
    int year = 0;
    if (!yearOption(parser, yearOpt, year, status))
        return status;
    const QString folder = QDir(parser.positionalArguments().first()).absolutePath();
    QString error;
    QStringList written;
    if (!DemoSchool::write(folder, year, &error, &written))
        return userError(error);
    out() << QStringLiteral("%1年度のデモ校を作成しました: %2\n")
                 .arg(year)
                 .arg(QDir::toNativeSeparators(folder));
    out() << QStringLiteral("管理者パスワード: %1\n").arg(QString::fromUtf8(DemoSchool::kAdminPassword));
    out() << QStringLiteral("教師のパスワード (全員): %1\n")
                 .arg(QString::fromUtf8(DemoSchool::kTeacherPassword));
    out() << QStringLiteral("作成したファイル: %1\n").arg(written.size());
    out().flush();
    return kOk;
}

QJsonArray kindsJson(const QList<YearMenus::TestKind> &kinds) {
    QJsonArray a;
    for (const YearMenus::TestKind &k : kinds)
        a.append(QJsonObject{{QStringLiteral("code"), k.code}, {QStringLiteral("name"), k.name}});
    return a;
}

template <std::size_t N> QJsonArray boolsJson(const std::array<bool, N> &flags) {
    QJsonArray a;
    for (bool f : flags)
        a.append(f);
    return a;
}

QString flagsText(const QJsonArray &flags) {
    QStringList parts;
    for (const QJsonValue &v : flags)
        parts.append(v.toBool() ? QStringLiteral("○") : QStringLiteral("×"));
    return parts.join(QLatin1Char(' '));
}

int info(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption dataOpt(QStringLiteral("data"), QStringLiteral("データフォルダ"),
                                     QStringLiteral("DIR"));
    const QCommandLineOption yearOpt(QStringLiteral("year"), QStringLiteral("年度 (既定: 今年度)"),
                                     QStringLiteral("N"));
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOptions({dataOpt, yearOpt, jsonOpt});
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    if (!parser.isSet(dataOpt))
        return usage(QStringLiteral("info には --data DIR が必要です。"));
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("余分な引数があります: %1")
                         .arg(parser.positionalArguments().join(QLatin1Char(' '))));
    int year = 0;
    if (!yearOption(parser, yearOpt, year, status))
        return status;
    const QString folder = QDir(parser.value(dataOpt)).absolutePath();
    if (!QFileInfo(folder).isDir())
        return userError(
            QStringLiteral("データフォルダがありません: %1").arg(QDir::toNativeSeparators(folder)));

    const WorkingContext c = loadContext(folder, year, thisNendo());
    const YearMenus menus = YearMenus::load(c.dataFolder, year);

    QJsonArray classCount;
    for (int n : c.classCount)
        classCount.append(n);
    QJsonArray hyouteiKinds;
    for (int i = 0; i < menus.hyouteiNames.size(); ++i)
        hyouteiKinds.append(
            QJsonObject{{QStringLiteral("number"), i + 1}, {QStringLiteral("name"), menus.hyouteiNames[i]}});
    const QJsonObject o{
        {QStringLiteral("dataFolder"), QDir::toNativeSeparators(c.dataFolder)},
        {QStringLiteral("nendo"), c.nendo},
        {QStringLiteral("thisNendo"), c.thisNendo},
        {QStringLiteral("schoolName"), c.schoolName},
        {QStringLiteral("schoolKind"), c.schoolKind},
        {QStringLiteral("classType"), c.classType},
        {QStringLiteral("classCount"), classCount},
        {QStringLiteral("testKinds"), kindsJson(menus.testKinds)},
        {QStringLiteral("gakuTestKinds"), kindsJson(menus.gakuTestKinds)},
        {QStringLiteral("gakuTestLabel"), menus.gakuTestLabel()},
        {QStringLiteral("hyouteiKinds"), hyouteiKinds},
        {QStringLiteral("subjects"), QJsonArray::fromStringList(compulsorySubjects(c.schoolKind))},
        {QStringLiteral("teikiTest"), boolsJson(c.teikiTest)},
        {QStringLiteral("gakuTest"), boolsJson(c.gakuTest)},
    };
    if (parser.isSet(jsonOpt)) {
        out() << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented));
        out().flush();
        return kOk;
    }

    auto kindsText = [](const QList<YearMenus::TestKind> &kinds) {
        QStringList parts;
        for (const YearMenus::TestKind &k : kinds)
            parts.append(k.code + QLatin1Char(':') + k.name);
        return parts.isEmpty() ? QStringLiteral("(なし)") : parts.join(QStringLiteral("  "));
    };
    QStringList counts;
    for (int g = 0; g < 6; ++g)
        counts.append(QStringLiteral("%1年 %2").arg(g + 1).arg(c.classCount[g]));
    QStringList hyoutei;
    for (int i = 0; i < menus.hyouteiNames.size(); ++i)
        hyoutei.append(QStringLiteral("%1:%2").arg(i + 1).arg(menus.hyouteiNames[i]));
    const QString kind = c.schoolKind == 0   ? QStringLiteral("小学校")
                         : c.schoolKind == 1 ? QStringLiteral("中学校")
                                             : QStringLiteral("不明 (%1)").arg(c.schoolKind);
    QTextStream &s = out();
    s << "データフォルダ : " << QDir::toNativeSeparators(c.dataFolder) << "\n";
    s << "年度           : " << c.nendo << " (今年度 " << c.thisNendo << ")\n";
    s << "学校名         : " << c.schoolName << "\n";
    s << "校種           : " << kind << "\n";
    s << "学級の表記     : " << (c.classType ? "数字（1組､2組･･･）" : "英字（A組､B組･･･）") << "\n";
    s << "学級数         : " << counts.join(QStringLiteral(", ")) << "\n";
    s << "定期テスト     : " << kindsText(menus.testKinds) << "\n";
    s << menus.gakuTestLabel() << "     : " << kindsText(menus.gakuTestKinds) << "\n";
    s << "評定           : "
      << (hyoutei.isEmpty() ? QStringLiteral("(なし)") : hyoutei.join(QStringLiteral("  "))) << "\n";
    s << "必修教科       : " << compulsorySubjects(c.schoolKind).join(QStringLiteral(" ")) << "\n";
    s << "入力許可 定期  : " << flagsText(o.value(QStringLiteral("teikiTest")).toArray()) << "\n";
    s << "入力許可 " << menus.gakuTestLabel().left(2) << "  : "
      << flagsText(o.value(QStringLiteral("gakuTest")).toArray()) << "\n";
    s.flush();
    return kOk;
}

int dataFolder(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption programOpt(
        QStringLiteral("program"), QStringLiteral("プログラムのパス (既定: tavro)"), QStringLiteral("PATH"));
    parser.addOption(programOpt);
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    const QString program = parser.isSet(programOpt)
                                ? QDir(parser.value(programOpt)).absolutePath()
                                : QCoreApplication::applicationDirPath() + QStringLiteral("/tavro");
    out() << QDir::toNativeSeparators(resolveDataFolder(program)) << "\n";
    out().flush();
    return kOk;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavro-cli"));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(version::text));

    QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return usage();
    const QString command = args.at(1);
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        out() << "tavro-cli " << version::text << "\n";
        out().flush();
        return kOk;
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        out() << QString::fromUtf8(kUsageText);
        out().flush();
        return kOk;
    }
    args.removeAt(1); // the parser of each command sees its own options
    if (command == QLatin1String("demo"))
        return demo(args);
    if (command == QLatin1String("info"))
        return info(args);
    if (command == QLatin1String("datafolder"))
        return dataFolder(args);
    return usage(QStringLiteral("不明なコマンドです: %1").arg(command));
}
