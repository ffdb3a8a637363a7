// tavro-cli clip, paste, clear, protect, year-end-ratios and students: the editing commands of the
// evaluation window over the same session and core functions.
#include "cli/EvaluationCli.h"
#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "evaluation/Editing.h"
#include "exchange/ResultCopies.h"
#include "platform/qt/QtPorts.h"

#include <QFile>

#include <cstdio>

namespace tavro::cli {

namespace {

const QString kWorksheetSynopsis =
    QStringLiteral("--data DIR [--year N] --grade G --subject S --teacher T [--classes DIGITS] [--elective]");

QString readStandardInput(bool sjis) {
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = in.readAll();
    return sjis ? cp932::decode(bytes) : QString::fromUtf8(bytes);
}

int runResultsAll(const QStringList &args) {
    QCommandLineParser parser;
    parser.addOption(sjisOption());
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk;
    if (!openSession(args, parser, options, true, prompter, session, period, status))
        return status;
    return writeClipText(exchange::resultsAllText(*session, period), parser.isSet(sjisOption()));
}

int runAchievements(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption fullOpt(QStringLiteral("full"), QStringLiteral("1000 (既定) または 100"),
                                     QStringLiteral("1000|100"));
    parser.addOptions({fullOpt, sjisOption()});
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk;
    if (!openSession(args, parser, options, true, prompter, session, period, status))
        return status;
    if (session->context().elective)
        return userError(QStringLiteral("選択教科では到達度の転送はできません。"));
    int factor = 10;
    if (parser.isSet(fullOpt)) {
        const QString full = parser.value(fullOpt);
        if (full == QLatin1String("100"))
            factor = 1;
        else if (full != QLatin1String("1000"))
            return usage(QStringLiteral("--full には 1000 か 100 を指定してください。"));
    }
    return writeClipText(exchange::achievementsText(*session, period, factor), parser.isSet(sjisOption()));
}

int runPaste(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption gridOpt(
        QStringLiteral("grid"), QStringLiteral("scores|viewpoints|ratios|results"), QStringLiteral("GRID"));
    const QCommandLineOption atOpt(QStringLiteral("at"), QStringLiteral("貼り付け先の行,列 (見出し行が 0)"),
                                   QStringLiteral("ROW,COLUMN"));
    const QCommandLineOption periodOpt(QStringLiteral("period"),
                                       QStringLiteral("評定 (1..5, results のとき)"), QStringLiteral("K"));
    parser.addOptions({gridOpt, atOpt, periodOpt, sjisOption()});
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int unused = 0, status = kOk;
    if (!openSession(args, parser, options, false, prompter, session, unused, status))
        return status;
    const QString grid = parser.value(gridOpt);
    const QStringList at = parser.value(atOpt).split(u',');
    bool rowOk = false, columnOk = false;
    const int row = at.value(0).toInt(&rowOk);
    const int column = at.value(1).toInt(&columnOk);
    if (at.size() != 2 || !rowOk || !columnOk || row < 1 || column < 0)
        return usage(
            QStringLiteral("--at には貼り付け先の行と列を「行,列」で指定してください (行は 1 から)。"));
    const QString text = readStandardInput(parser.isSet(sjisOption()));
    SystemClock clock;
    editing::PasteOutcome outcome;
    if (grid == QLatin1String("scores")) {
        if (column < 3)
            return usage(QStringLiteral("得点の列は 3 (項目1) からです。"));
        outcome = editing::pasteScores(*session, text, row, column);
    } else if (grid == QLatin1String("viewpoints")) {
        outcome = editing::pasteViewpointRatios(*session, text, row, column);
    } else if (grid == QLatin1String("ratios")) {
        outcome = editing::pasteItemRatios(*session, text, row, column);
    } else if (grid == QLatin1String("results")) {
        bool ok = false;
        const int period = parser.value(periodOpt).toInt(&ok);
        if (!ok || !isPeriod(period))
            return usage(QStringLiteral("results には --period で評定 (1..5) を指定してください。"));
        outcome = editing::pastePercentages(*session, text, row, column, period, prompter, clock);
        if (outcome.stopped)
            return kUserError;
    } else {
        return usage(
            QStringLiteral("--grid には scores, viewpoints, ratios, results のいずれかを指定してください。"));
    }
    const editing::CellKind kind = grid == QLatin1String("scores")    ? editing::CellKind::Score
                                   : grid == QLatin1String("results") ? editing::CellKind::Text
                                                                      : editing::CellKind::Number;
    for (const QString &note : {editing::refusedCellsMessage(outcome.refused, kind),
                                editing::cutCommentsMessage(outcome.cutComments)})
        if (!note.isEmpty())
            err() << QString(note).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << u'\n';
    // A failed save of the results was reported by the calculation after the paste.
    if (session->resultsSaveFailed())
        return kUserError;
    QString error;
    if (!session->save(&error))
        return userError(error);
    out()
        << QStringLiteral("貼り付け %1 セル, 変更なし %2 セル\n").arg(outcome.stored).arg(outcome.unchanged);
    out().flush();
    return kOk;
}

int runClear(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption answerOpt(QStringLiteral("answer"), QStringLiteral("確認への答え (yes|no)"),
                                       QStringLiteral("yes|no"));
    parser.addOption(answerOpt);
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk;
    if (!openSession(args, parser, options, true, prompter, session, period, status))
        return status;
    if (parser.isSet(answerOpt)) {
        Prompter::Answer a;
        if (!AnswerListPrompter::parseAnswer(parser.value(answerOpt), a))
            return usage(QStringLiteral("--answer には yes か no を指定してください。"));
        prompter.setAnswers({a});
    }
    if (!session->periodPermitted(period))
        return userError(QStringLiteral("この評定はクリアできません (入力許可がありません)。"));
    if (!(session->results().dateTime(period) > 0))
        return userError(QStringLiteral("この評定はまだ算出されていません。"));
    SystemClock clock;
    QString text, error;
    if (!editing::clearPeriod(*session, period, prompter, clock, &text, &error))
        return userError(error.isEmpty() ? QStringLiteral("評定クリアを中止しました。") : error);
    out() << text << u'\n';
    out().flush();
    return kOk;
}

int runProtect(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption uptoOpt(
        QStringLiteral("upto"), QStringLiteral("この項目までを保護します (1..999)"), QStringLiteral("I"));
    const QCommandLineOption offOpt(QStringLiteral("off"), QStringLiteral("保護を解除します"));
    parser.addOptions({uptoOpt, offOpt});
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk;
    if (!openSession(args, parser, options, false, prompter, session, period, status))
        return status;
    bool ok = false;
    const int item = parser.value(uptoOpt).toInt(&ok);
    if (!ok || !isItem(item))
        return usage(QStringLiteral("--upto には 1 から 999 までの項目番号を指定してください。"));
    editing::protectUpTo(*session, item, !parser.isSet(offOpt));
    QString error;
    if (!session->save(&error))
        return userError(error);
    out() << QStringLiteral("項目1から項目%1までの保護を%2しました。\n")
                 .arg(item)
                 .arg(parser.isSet(offOpt) ? QStringLiteral("解除") : QStringLiteral("指定"));
    out().flush();
    return kOk;
}

int runYearEnd(const QStringList &args) {
    QCommandLineParser parser;
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk;
    if (!openSession(args, parser, options, false, prompter, session, period, status))
        return status;
    if (!editing::copyYearEndRatios(*session))
        return userError(
            QStringLiteral("学年末の評定 (ConsistencyItem0) が 2 から 5 で設定されていません。"));
    QString error;
    if (!session->save(&error))
        return userError(error);
    const int last = session->settings().consistencyItem[0];
    out() << QStringLiteral("%1 の項目割合を設定しました。\n").arg(session->periodName(last));
    out().flush();
    return kOk;
}

int runStudents(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption orderOpt(QStringLiteral("order"), QStringLiteral("class|achievement"),
                                      QStringLiteral("ORDER"));
    const QCommandLineOption filterOpt(QStringLiteral("filter"),
                                       QStringLiteral("consistency|up|down|border|conversion|estimate|test"),
                                       QStringLiteral("FILTER"));
    parser.addOptions({orderOpt, filterOpt});
    WorksheetOptions options;
    AnswerListPrompter prompter;
    std::unique_ptr<EvaluationSession> session;
    int period = 0, status = kOk;
    if (!openSession(args, parser, options, true, prompter, session, period, status))
        return status;
    std::vector<editing::StudentLine> lines;
    if (parser.isSet(orderOpt) == parser.isSet(filterOpt))
        return usage(QStringLiteral("--order か --filter のどちらかを指定してください。"));
    if (parser.isSet(orderOpt)) {
        const QString order = parser.value(orderOpt);
        if (order == QLatin1String("class"))
            lines = editing::studentsByClass(*session);
        else if (order == QLatin1String("achievement"))
            lines = editing::studentsByAchievement(*session, period);
        else
            return usage(QStringLiteral("--order には class か achievement を指定してください。"));
    } else {
        static const QStringList names = {QStringLiteral("consistency"), QStringLiteral("up"),
                                          QStringLiteral("down"),        QStringLiteral("border"),
                                          QStringLiteral("conversion"),  QStringLiteral("estimate"),
                                          QStringLiteral("test")};
        const qsizetype f = names.indexOf(parser.value(filterOpt));
        if (f < 0)
            return usage(
                QStringLiteral("--filter には %1 のいずれかを指定してください。").arg(names.join(u'|')));
        lines = editing::filteredStudents(*session, period, editing::Filter(f + 1));
    }
    if (lines.empty())
        return userError(editing::noMatchMessage());
    for (const editing::StudentLine &l : lines)
        out() << l.text << u'\n';
    out().flush();
    return kOk;
}

const ClipRegistration resultsAllRegistration({QStringLiteral("results-all"),
                                               QStringLiteral("results-all ") + kWorksheetSynopsis +
                                                   QStringLiteral(" --period K [--sjis]"),
                                               QStringLiteral("評定算出の「すべてをコピー(&A)」"),
                                               runResultsAll});
const ClipRegistration achievementsRegistration(
    {QStringLiteral("achievements"),
     QStringLiteral("achievements ") + kWorksheetSynopsis +
         QStringLiteral(" --period K [--full 1000|100] [--sjis]"),
     QStringLiteral("到達度の転送 (--full 100: 校務支援用にコピー)"), runAchievements});
const Registration pasteRegistration(
    {QStringLiteral("paste"),
     QStringLiteral("paste ") + kWorksheetSynopsis +
         QStringLiteral(
             " --grid scores|viewpoints|ratios|results [--period K] --at ROW,COLUMN [--sjis] < TEXT"),
     QStringLiteral("標準入力の表を貼り付けと同じく格子に貼り付けて保存します"), runPaste});
const Registration clearRegistration({QStringLiteral("clear"),
                                      QStringLiteral("clear ") + kWorksheetSynopsis +
                                          QStringLiteral(" --period K [--answer yes|no]"),
                                      QStringLiteral("評定をクリアして評定ファイルを書き込みます"),
                                      runClear});
const Registration protectRegistration({QStringLiteral("protect"),
                                        QStringLiteral("protect ") + kWorksheetSynopsis +
                                            QStringLiteral(" --upto I [--off]"),
                                        QStringLiteral("項目1から項目Iまでを保護 (--off: 解除) します"),
                                        runProtect});
const Registration yearEndRegistration({QStringLiteral("year-end-ratios"),
                                        QStringLiteral("year-end-ratios ") + kWorksheetSynopsis,
                                        QStringLiteral("学年末の項目割合を前の評定からコピーします"),
                                        runYearEnd});
const Registration
    studentsRegistration({QStringLiteral("students"),
                          QStringLiteral("students ") + kWorksheetSynopsis +
                              QStringLiteral(" --period K (--order class|achievement | --filter "
                                             "consistency|up|down|border|conversion|estimate|test)"),
                          QStringLiteral("個人分析の生徒一覧 (並べ替え、フィルタ)"), runStudents});

} // namespace

} // namespace tavro::cli
