// tavro-cli info: what start-up derives from a data folder.
#include "app/Startup.h"
#include "cli/CliSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavro::cli {

namespace {

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

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption dataOpt = dataOption();
    const QCommandLineOption yearOpt = yearOption();
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOptions({dataOpt, yearOpt, jsonOpt});
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("余分な引数があります: %1")
                         .arg(parser.positionalArguments().join(QLatin1Char(' '))));
    int year = 0;
    if (!readYear(parser, yearOpt, year, status))
        return status;
    QString folder;
    if (!readDataFolder(parser, dataOpt, folder, status))
        return status;

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

const Registration registration(
    {QStringLiteral("info"), QStringLiteral("info --data DIR [--year N] [--json]"),
     QStringLiteral("起動時に読み込む設定 (学校・学級数・テスト・評定・入力許可) を表示します"), run});

} // namespace

} // namespace tavro::cli
