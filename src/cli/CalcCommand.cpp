// tavro-cli calc: the evaluation calculation of one period, saving the results as the window does.
#include "cli/EvaluationCli.h"
#include "platform/qt/QtPorts.h"

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    // --answer may be given many times; the answers are taken in order.
    QList<Prompter::Answer> answers;
    QCommandLineParser parser;
    const QCommandLineOption answerOpt(QStringLiteral("answer"),
                                       QStringLiteral("質問への答え (yes|no|ok|cancel)、尋ねられる順"),
                                       QStringLiteral("A"));
    parser.addOption(answerOpt);
    WorksheetOptions options;
    // Loading may already ask (a file too new); the answers are installed once they are parsed.
    AnswerListPrompter prompter;
    LoadedWorksheet w;
    int status = kOk;
    if (!loadWorksheet(args, parser, options, true, prompter, w, status))
        return status;
    for (const QString &text : parser.values(answerOpt)) {
        Prompter::Answer a;
        if (!AnswerListPrompter::parseAnswer(text, a))
            return usage(QStringLiteral("--answer には yes, no, ok, cancel のいずれかを指定してください: %1")
                             .arg(text));
        answers.append(a);
    }
    prompter.setAnswers(answers);
    SystemClock clock;
    const calculation::Report report = calculation::calculate(*w.sheet, w.period, prompter, clock, &w.target);
    switch (report.outcome) {
    case calculation::Outcome::Stopped:
        return userError(QStringLiteral("評定計算を中止しました。"));
    case calculation::Outcome::SaveFailed:
        return kUserError;
    case calculation::Outcome::Calculated:
        break;
    }
    const QString name = w.settings.hyouteiName[std::size_t(w.period - 1)];
    out() << QStringLiteral("%1: %2\n")
                 .arg(name.isEmpty() ? QStringLiteral("評定%1").arg(w.period) : name,
                      fromDayCount(report.dateTime).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")));
    out() << QStringLiteral("評定を保存しました。(%1)\n")
                 .arg(fromDayCount(report.dateTime).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")));
    out().flush();
    return kOk;
}

const Registration registration(
    {QStringLiteral("calc"),
     QStringLiteral(
         "calc --data DIR --year Y --grade G --subject S --teacher T --period K [--classes DIGITS] "
         "[--elective] [--answer yes|no|ok|cancel ...]"),
     QStringLiteral("評定計算を実行して結果を保存します (質問には --answer の順に答えます)"), run});

} // namespace

} // namespace tavro::cli
