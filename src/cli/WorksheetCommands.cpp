// tavro-cli item, distribution, analysis and shares: the item dialog's OK and what the evaluation
// window shows, over the same session the window uses.
#include "cli/EvaluationCli.h"
#include "evaluation/ItemSettings.h"
#include "evaluation/WorksheetViews.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavro::cli {

namespace {

const QString kWorksheetSynopsis =
    QStringLiteral("--data DIR [--year N] --grade G --subject S --teacher T [--classes DIGITS] [--elective]");

void printJson(const QJsonValue &value) {
    const QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    out() << QString::fromUtf8(doc.toJson(QJsonDocument::Indented));
    out().flush();
}

bool readBool(const QCommandLineParser &parser, const QCommandLineOption &option, bool &value, int &status) {
    const QString v = parser.value(option).toLower();
    if (v == QLatin1String("yes"))
        value = true;
    else if (v == QLatin1String("no"))
        value = false;
    else {
        status =
            usage(QStringLiteral("--%1 には yes か no を指定してください。").arg(option.names().first()));
        return false;
    }
    return true;
}

bool readInt(const QCommandLineParser &parser, const QCommandLineOption &option, int low, int high,
             int &value, int &status) {
    bool ok = false;
    value = parser.value(option).toInt(&ok);
    if (!ok || value < low || value > high) {
        status = usage(QStringLiteral("--%1 には %2 から %3 までの数を指定してください。")
                           .arg(option.names().first())
                           .arg(low)
                           .arg(high));
        return false;
    }
    return true;
}

int runItem(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption itemOpt(QStringLiteral("item"), QStringLiteral("項目番号 (1..999)"),
                                     QStringLiteral("I"));
    const QCommandLineOption kindOpt(QStringLiteral("kind"), QStringLiteral("種別 (0..4)"),
                                     QStringLiteral("K"));
    const QCommandLineOption nameOpt(QStringLiteral("name"), QStringLiteral("項目名"),
                                     QStringLiteral("TEXT"));
    const QCommandLineOption testOpt(QStringLiteral("test"), QStringLiteral("テスト一覧の番号 (1..)"),
                                     QStringLiteral("INDEX"));
    const QCommandLineOption linkOpt(QStringLiteral("link"), QStringLiteral("テストのリンクコード"),
                                     QStringLiteral("L"));
    const QCommandLineOption formulaOpt(QStringLiteral("formula"), QStringLiteral("計算式"),
                                        QStringLiteral("F"));
    const QCommandLineOption fullOpt(QStringLiteral("full"), QStringLiteral("満点 (0..999)"),
                                     QStringLiteral("N"));
    const QCommandLineOption symbolOpt(QStringLiteral("symbol"), QStringLiteral("記号入力 (yes|no)"),
                                       QStringLiteral("yes|no"));
    const QCommandLineOption protectOpt(QStringLiteral("protect"), QStringLiteral("保護 (yes|no)"),
                                        QStringLiteral("yes|no"));
    const QCommandLineOption listOpt(QStringLiteral("list-tests"),
                                     QStringLiteral("項目設定のテスト一覧を表示します"));
    parser.addOptions(
        {itemOpt, kindOpt, nameOpt, testOpt, linkOpt, formulaOpt, fullOpt, symbolOpt, protectOpt, listOpt});
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0;
    int status = kOk;
    if (!openSession(args, parser, options, false, prompter, session, period, status))
        return status;
    const itemsettings::TestLists lists = itemsettings::testLists(
        session->settings(), session->kanten(), session->context().kyouka, session->context().tTestKanten);
    if (parser.isSet(listOpt)) {
        auto print = [](const char *kind, const std::vector<itemsettings::TestEntry> &entries) {
            for (std::size_t i = 0; i < entries.size(); ++i)
                out() << QStringLiteral("%1\t%2\t%3\t%4\n")
                             .arg(QLatin1String(kind))
                             .arg(i + 1)
                             .arg(entries[i].link)
                             .arg(entries[i].text);
        };
        print("periodic", lists.periodic);
        print("achievement", lists.achievement);
        out().flush();
        return kOk;
    }
    int item = 0;
    if (!parser.isSet(itemOpt))
        return usage(QStringLiteral("--item で項目番号を指定してください。"));
    if (!readInt(parser, itemOpt, 1, kMaxItems, item, status))
        return status;
    itemsettings::ItemEdit edit = itemsettings::editOf(session->worksheet(), item, lists);
    if (parser.isSet(kindOpt) && !readInt(parser, kindOpt, 0, 4, edit.kind, status))
        return status;
    if (parser.isSet(nameOpt))
        edit.name = parser.value(nameOpt);
    if (parser.isSet(formulaOpt))
        edit.formula = parser.value(formulaOpt);
    if (parser.isSet(fullOpt) && !readInt(parser, fullOpt, 0, score::kMaxScore, edit.fullScore, status))
        return status;
    if (parser.isSet(symbolOpt) && !readBool(parser, symbolOpt, edit.symbolInput, status))
        return status;
    if (parser.isSet(protectOpt) && !readBool(parser, protectOpt, edit.protection, status))
        return status;
    if (parser.isSet(testOpt) && parser.isSet(linkOpt))
        return usage(QStringLiteral("--test と --link は同時に指定できません。"));
    if (parser.isSet(testOpt) && !readInt(parser, testOpt, 0, 9999, edit.testIndex, status))
        return status;
    if (parser.isSet(linkOpt)) {
        int link = 0;
        if (!readInt(parser, linkOpt, 0, 999, link, status))
            return status;
        itemsettings::TestSource source;
        QString reason;
        if (link != 0 &&
            !itemsettings::sourceOf(edit.kind, link, lists, session->context().kyouka, source, &reason))
            return userError(reason);
        edit.testIndex = lists.indexOf(edit.kind, link);
    }
    const itemsettings::ApplyOutcome outcome = itemsettings::apply(*session, item, edit, lists, &prompter);
    if (!outcome.applied)
        return userError(outcome.error);
    QString error;
    if (!session->save(&error))
        return userError(error);
    out() << QStringLiteral("項目%1 満点%2 取り込み%3人\n")
                 .arg(item)
                 .arg(session->worksheet().item(item).fullScore)
                 .arg(outcome.import.imported);
    out().flush();
    return kOk;
}

int runDistribution(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption tabOpt(QStringLiteral("tab"), QStringLiteral("0 総合, 1..6 観点"),
                                    QStringLiteral("0-6"));
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOptions({tabOpt, jsonOpt});
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk, tab = 0;
    if (!openSession(args, parser, options, true, prompter, session, period, status))
        return status;
    if (parser.isSet(tabOpt) && !readInt(parser, tabOpt, 0, kViewpoints, tab, status))
        return status;
    const checks::Distribution d = checks::distribution(session->results(), session->settings(),
                                                        session->context().elective, period, tab);
    QJsonArray symbols, counts;
    for (int row = 0; row < 10; ++row) {
        symbols.append(d.symbols[std::size_t(row)]);
        QJsonArray line;
        for (int c : d.counts[std::size_t(row)])
            line.append(c);
        counts.append(line);
    }
    QJsonArray totals;
    for (int c : d.counts[10])
        totals.append(c);
    if (parser.isSet(jsonOpt)) {
        printJson(QJsonObject{{QStringLiteral("symbols"), symbols},
                              {QStringLiteral("counts"), counts},
                              {QStringLiteral("totals"), totals}});
        return kOk;
    }
    for (int row = 0; row <= 10; ++row) {
        QStringList cells{row < 10 ? d.symbols[std::size_t(row)] : QStringLiteral("合計")};
        for (int c : d.counts[std::size_t(row)])
            cells.append(c == 0 ? QString() : QString::number(c));
        out() << cells.join(u'\t') << u'\n';
    }
    out().flush();
    return kOk;
}

int runAnalysis(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption classOpt(QStringLiteral("class"), QStringLiteral("組 (1..12)"),
                                      QStringLiteral("C"));
    const QCommandLineOption numberOpt(QStringLiteral("number"), QStringLiteral("番号 (1..60)"),
                                       QStringLiteral("N"));
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOptions({classOpt, numberOpt, jsonOpt});
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk, cls = 0, number = 0;
    if (!openSession(args, parser, options, false, prompter, session, period, status))
        return status;
    if (!parser.isSet(classOpt) || !parser.isSet(numberOpt))
        return usage(QStringLiteral("--class と --number で生徒を指定してください。"));
    if (!readInt(parser, classOpt, 1, kMaxClasses, cls, status) ||
        !readInt(parser, numberOpt, 1, kSeatsPerClass, number, status))
        return status;
    const int slot = slotOf(cls, number);
    if (session->rowOfSlot(slot) < 0)
        return userError(QStringLiteral("%1組%2番はこの評定の生徒ではありません。").arg(cls).arg(number));
    QJsonArray list;
    for (const views::AnalysisRow &r : views::analysisRows(*session, slot)) {
        if (!parser.isSet(jsonOpt)) {
            out() << QStringList{QString::number(r.item), r.kind,       r.name, r.score, r.full,
                                 r.standardScore,         r.achievement}
                         .join(u'\t')
                  << u'\n';
            continue;
        }
        list.append(QJsonObject{{QStringLiteral("item"), r.item},
                                {QStringLiteral("kind"), r.kind},
                                {QStringLiteral("name"), r.name},
                                {QStringLiteral("score"), r.score},
                                {QStringLiteral("full"), r.full},
                                {QStringLiteral("standardScore"), r.standardScore},
                                {QStringLiteral("achievement"), r.achievement}});
    }
    if (parser.isSet(jsonOpt))
        printJson(list);
    out().flush();
    return kOk;
}

int runShares(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOption(jsonOpt);
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk;
    if (!openSession(args, parser, options, true, prompter, session, period, status))
        return status;
    const std::vector<int> &shares = session->weightedShares(period);
    QJsonArray list;
    for (int item = 1; item <= kMaxItems; ++item) {
        const int share = shares[std::size_t(item - 1)];
        if (share == 0)
            continue;
        if (parser.isSet(jsonOpt))
            list.append(QJsonObject{{QStringLiteral("item"), item}, {QStringLiteral("share"), share}});
        else
            out() << item << u'\t' << share << u'\n';
    }
    if (parser.isSet(jsonOpt))
        printJson(list);
    out().flush();
    return kOk;
}

const Registration itemRegistration(
    {QStringLiteral("item"),
     QStringLiteral("item ") + kWorksheetSynopsis +
         QStringLiteral(
             " (--item I [--kind 0-4] [--name TEXT] [--test INDEX | --link L] [--formula F] [--full N] "
             "[--symbol yes|no] [--protect yes|no] | --list-tests)"),
     QStringLiteral("項目設定の OK と同じく項目を設定し "
                    "(テストの得点の取り込み、集計セルの再計算)、評定ファイルを保存します"),
     runItem});
const Registration distributionRegistration(
    {QStringLiteral("distribution"),
     QStringLiteral("distribution ") + kWorksheetSynopsis +
         QStringLiteral(" --period K [--tab 0-6] [--json]"),
     QStringLiteral("評定算出ページの人数分布表 (記号ごと・学級ごとの人数)"), runDistribution});
const Registration analysisRegistration({QStringLiteral("analysis"),
                                         QStringLiteral("analysis ") + kWorksheetSynopsis +
                                             QStringLiteral(" --class C --number N [--json]"),
                                         QStringLiteral("個人分析の項目一覧 (得点・満点・偏差値・到達度)"),
                                         runAnalysis});
const Registration sharesRegistration(
    {QStringLiteral("shares"),
     QStringLiteral("shares ") + kWorksheetSynopsis + QStringLiteral(" --period K [--json]"),
     QStringLiteral("観点の割合で重み付けした項目の割合 (満点・項目割合ページの青の数字)"), runShares});

} // namespace

} // namespace tavro::cli
