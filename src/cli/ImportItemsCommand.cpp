// tavro-cli import-items: the item import dialog (項目設定の取り込み) over the session of a worksheet.
#include "cli/EvaluationCli.h"
#include "common/DataPaths.h"
#include "evaluation/ItemImport.h"

#include <QDir>

#include <algorithm>

namespace tavro::cli {

namespace {

// The item numbers of "--items 1,5,9"; false after reporting bad usage.
bool readItems(const QString &text, std::vector<int> &numbers, int &status) {
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int number = part.trimmed().toInt(&ok);
        if (!ok || !isItem(number)) {
            status = usage(
                QStringLiteral("--items には 1 から 999 までの項目番号をカンマで区切って指定してください。"));
            return false;
        }
        numbers.push_back(number);
    }
    return true;
}

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption listOpt(
        QStringLiteral("list"),
        QStringLiteral("教師の一覧 (--from があればその教師の項目一覧) を表示します"));
    const QCommandLineOption fromOpt(QStringLiteral("from"), QStringLiteral("取り込み元の教師名"),
                                     QStringLiteral("NAME"));
    const QCommandLineOption itemsOpt(QStringLiteral("items"), QStringLiteral("取り込む項目番号 (例 1,5,9)"),
                                      QStringLiteral("LIST"));
    const QCommandLineOption allOpt(QStringLiteral("all"),
                                    QStringLiteral("一覧のすべての項目を取り込みます"));
    const QCommandLineOption noRatiosOpt(QStringLiteral("no-ratios"),
                                         QStringLiteral("満点・割合は取り込みません"));
    const QCommandLineOption protectionOpt(QStringLiteral("protection"),
                                           QStringLiteral("保護設定も取り込みます"));
    parser.addOptions({listOpt, fromOpt, itemsOpt, allOpt, noRatiosOpt, protectionOpt});
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0;
    int status = kOk;
    if (!openSession(args, parser, options, false, prompter, session, period, status))
        return status;

    const QStringList colleagues = itemimport::colleagues(session->context());
    if (parser.isSet(listOpt) && !parser.isSet(fromOpt)) {
        for (const QString &name : colleagues)
            out() << name << u'\n';
        out().flush();
        return kOk;
    }
    if (!parser.isSet(fromOpt))
        return usage(QStringLiteral("--from で取り込み元の教師名を指定してください。"));
    if (!parser.isSet(listOpt) && parser.isSet(itemsOpt) == parser.isSet(allOpt))
        return usage(QStringLiteral("--items か --all のどちらかを指定してください。"));
    std::vector<int> numbers;
    if (parser.isSet(itemsOpt) && !readItems(parser.value(itemsOpt), numbers, status))
        return status;

    const QString from = parser.value(fromOpt);
    QString reason;
    if (!paths::isSafeName(from, &reason))
        return userError(reason);
    if (!colleagues.contains(from))
        return userError(QStringLiteral("%1 は同じ教科を担当する他の教師の一覧にありません。").arg(from));
    itemimport::ColleagueItems items;
    const itemimport::LoadResult loaded =
        itemimport::loadColleague(session->context(), from, items, &prompter);
    switch (loaded.status) {
    case itemimport::LoadStatus::Loaded:
        break;
    case itemimport::LoadStatus::Missing:
        if (parser.isSet(listOpt))
            return kOk;
        return userError(
            QStringLiteral("評定ファイルがありません: %1").arg(QDir::toNativeSeparators(loaded.path)));
    case itemimport::LoadStatus::TooNew:
        return kUserError; // the prompter has printed the message
    case itemimport::LoadStatus::Refused:
    case itemimport::LoadStatus::Unreadable:
        return userError(loaded.message);
    }
    const QStringList lines = itemimport::itemLines(items);
    if (parser.isSet(listOpt)) {
        for (const QString &line : lines)
            out() << line << u'\n';
        out().flush();
        return kOk;
    }

    std::vector<int> listed;
    for (const QString &line : lines)
        listed.push_back(itemimport::itemNumberOfLine(line));
    if (parser.isSet(allOpt))
        numbers = listed;
    for (int number : numbers)
        if (std::find(listed.begin(), listed.end(), number) == listed.end())
            return userError(QStringLiteral("項目%1は %2 の項目一覧にありません。").arg(number).arg(from));
    itemimport::Options importOptions;
    importOptions.fullScoresAndRatios = !parser.isSet(noRatiosOpt);
    importOptions.protection = parser.isSet(protectionOpt);
    const itemimport::ImportOutcome outcome =
        itemimport::importItems(*session, items, numbers, importOptions);
    if (!outcome.applied)
        return userError(outcome.error);
    QString error;
    if (!session->save(&error))
        return userError(error);
    out() << itemimport::finishedMessage() << u'\n';
    out().flush();
    return kOk;
}

const Registration registration(
    {QStringLiteral("import-items"),
     QStringLiteral("import-items --data DIR [--year N] --grade G --subject S --teacher T [--classes DIGITS] "
                    "[--elective] (--list [--from NAME] | --from NAME (--items LIST | --all) [--no-ratios] "
                    "[--protection])"),
     QStringLiteral(
         "項目設定の取り込み: 同じ教科を担当する他の教師の項目設定を取り込み、評定ファイルを保存します"),
     run});

} // namespace

} // namespace tavro::cli
