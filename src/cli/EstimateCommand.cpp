// tavro-cli estimate: the automatic estimate of the "*" scores of a worksheet, then saves it.
#include "cli/EvaluationCli.h"
#include "evaluation/Statistics.h"

#include <QDir>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    QCommandLineParser parser;
    WorksheetOptions options;
    AnswerListPrompter prompter;
    LoadedWorksheet w;
    int status = kOk;
    if (!loadWorksheet(args, parser, options, false, prompter, w, status))
        return status;
    ItemStatistics statistics;
    const estimate::Method method = estimate::methodOf(w.settings.mikomiPatern);
    const std::vector<int> changed = estimate::run(*w.worksheet, w.sheet->rows, method, statistics);
    QString error;
    if (!w.saveWorksheet(&error))
        return userError(error);
    out() << QStringLiteral("自動見込み (%1): %2 人の見込み点を設定し、保存しました: %3\n")
                 .arg(method == estimate::Method::AllItems ? QStringLiteral("全項目から算出")
                                                           : QStringLiteral("観点別に算出"))
                 .arg(changed.size())
                 .arg(QDir::toNativeSeparators(w.worksheetPath()));
    out().flush();
    return kOk;
}

const Registration registration(
    {QStringLiteral("estimate"),
     QStringLiteral(
         "estimate --data DIR --year Y --grade G --subject S --teacher T [--elective] [--classes DIGITS]"),
     QStringLiteral("要見込み点 (*) に自動見込みを設定して評定ファイルを保存します"), run});

} // namespace

} // namespace tavro::cli
