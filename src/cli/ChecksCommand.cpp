// tavro-cli checks: the check symbols of one period after the refresh, per roster row.
#include "cli/EvaluationCli.h"
#include "evaluation/Checks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>

namespace tavro::cli {

namespace {

// A single as the shortest decimal text that reads back to it, and as that decimal's double.
QString shortestText(float value) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}
double shortest(float value) {
    return shortestText(value).toDouble();
}

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOption(jsonOpt);
    WorksheetOptions options;
    AnswerListPrompter prompter;
    LoadedWorksheet w;
    int status = kOk;
    if (!loadWorksheet(args, parser, options, true, prompter, w, status))
        return status;
    checks::CheckSymbols symbols;
    symbols.refresh(*w.sheet);
    const int k = w.period;
    QJsonArray list;
    QTextStream &s = out();
    if (!parser.isSet(jsonOpt))
        s << QStringLiteral("組\t番\t評定\t到達度\t観点\t記\n");
    for (int slot : w.sheet->rows) {
        const StudentResult &r = w.results->at(k, slot);
        const checks::Symbols &c = symbols.at(k, slot);
        if (!parser.isSet(jsonOpt)) {
            QStringList marks(r.marks.begin(), r.marks.end());
            s << classOfSlot(slot) << '\t' << numberOfSlot(slot) << '\t' << r.evaluation << '\t'
              << (r.percentage > kNoPercentage ? shortestText(r.percentage) : QString()) << '\t'
              << marks.join(QLatin1Char(',')) << '\t' << symbols.companion(k, slot) << '\n';
            continue;
        }
        QJsonArray percentages, marks;
        for (int v = 0; v < kViewpoints; ++v) {
            percentages.append(shortest(r.viewpointPercentages[std::size_t(v)]));
            marks.append(r.marks[std::size_t(v)]);
        }
        list.append(QJsonObject{
            {QStringLiteral("class"), classOfSlot(slot)},
            {QStringLiteral("number"), numberOfSlot(slot)},
            {QStringLiteral("evaluation"), r.evaluation},
            {QStringLiteral("achievement"), shortest(r.percentage)},
            {QStringLiteral("percentages"), percentages},
            {QStringLiteral("marks"), marks},
            {QStringLiteral("border"), c.border},
            {QStringLiteral("change"), c.change},
            {QStringLiteral("consistency"), k == symbols.yearEndPeriod() ? c.consistency : QString()},
            {QStringLiteral("consistencyDetail"),
             k == symbols.yearEndPeriod() ? c.consistencyDetail : QString()},
            {QStringLiteral("conversion"), c.conversion},
            {QStringLiteral("companion"), symbols.companion(k, slot)},
        });
    }
    if (parser.isSet(jsonOpt))
        s << QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented));
    s.flush();
    return kOk;
}

const Registration registration(
    {QStringLiteral("checks"),
     QStringLiteral(
         "checks --data DIR --year Y --grade G --subject S --teacher T --period K [--classes DIGITS] "
         "[--elective] [--json]"),
     QStringLiteral("評定のチェック記号 (ボーダー・変動・整合性・観点換算) を生徒ごとに表示します"), run});

} // namespace

} // namespace tavro::cli
