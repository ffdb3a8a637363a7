// tavro-cli formulas: recomputes every aggregate item of every row of a worksheet and saves it.
#include "cli/EvaluationCli.h"
#include "evaluation/Formula.h"

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
    formula::recalculateRows(*w.worksheet, w.sheet->rows);
    QString error;
    if (!w.saveWorksheet(&error))
        return userError(error);
    int aggregates = 0;
    for (int item = 1; item <= kMaxItems; ++item)
        aggregates += w.worksheet->item(item).kind == itemkind::kAggregate ? 1 : 0;
    out() << QStringLiteral("集計セル %1 項目を %2 人分再計算し、保存しました: %3\n")
                 .arg(aggregates)
                 .arg(w.sheet->rows.size())
                 .arg(QDir::toNativeSeparators(w.worksheetPath()));
    out().flush();
    return kOk;
}

const Registration registration(
    {QStringLiteral("formulas"),
     QStringLiteral(
         "formulas --data DIR --year Y --grade G --subject S --teacher T [--elective] [--classes DIGITS]"),
     QStringLiteral("評定ファイルの集計セルを全員分再計算して保存します"), run});

} // namespace

} // namespace tavro::cli
