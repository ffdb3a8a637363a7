// tavro-cli clip test-entry: "すべてをコピー(&A)" of the score-entry window.
#include "app/Startup.h"
#include "cli/EvaluationCli.h"
#include "common/DataPaths.h"
#include "testscores/ScoreEntrySession.h"

namespace tavro::cli {

namespace {

// "すべてをコピー(&A)" of the score-entry window: the session loads the classes as the window does.
int runTestEntryClip(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption data = dataOption();
    const QCommandLineOption year = yearOption();
    const QCommandLineOption grade = gradeOption();
    const QCommandLineOption subject(QStringLiteral("subject"), QStringLiteral("教科"), QStringLiteral("S"));
    const QCommandLineOption test(QStringLiteral("test"),
                                  QStringLiteral("テストの記号 (定期テスト A.., 学力テスト 1..9)"),
                                  QStringLiteral("CODE"));
    const QCommandLineOption classes(QStringLiteral("classes"), QStringLiteral("担当の組 (例 123)"),
                                     QStringLiteral("DIGITS"));
    parser.addOptions({data, year, grade, subject, test, classes, sjisOption()});
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    ScoreEntryContext c;
    if (!readYear(parser, year, c.nendo, status) || !readDataFolder(parser, data, c.dataFolder, status))
        return status;
    bool ok = false;
    c.grade = parser.value(grade).toInt(&ok);
    if (!ok || c.grade < 1 || c.grade > 6)
        return usage(QStringLiteral("--grade には学年を 1 から 6 までの数で指定してください。"));
    c.kyouka = parser.value(subject);
    QString reason;
    if (c.kyouka.isEmpty() || !paths::isSafeName(c.kyouka, &reason))
        return usage(QStringLiteral("--subject で教科を指定してください。%1").arg(reason));
    if (!parser.isSet(classes))
        return usage(QStringLiteral("--classes で担当の組を指定してください (例 123)。"));
    c.chargeClasses = parser.value(classes);
    if (c.chargeClasses.isEmpty())
        return noClassSelected();
    c.dataFolder = paths::withTrailingSeparator(c.dataFolder);
    const YearMenus menus = YearMenus::load(c.dataFolder, c.nendo);
    const QString code = parser.value(test);
    const bool achievement = code.size() == 1 && code.at(0) >= u'1' && code.at(0) <= u'9';
    const QList<YearMenus::TestKind> &kinds = achievement ? menus.gakuTestKinds : menus.testKinds;
    for (const YearMenus::TestKind &kind : kinds)
        if (kind.code == code)
            c.testName = kind.name;
    if (c.testName.isEmpty())
        return userError(QStringLiteral("テスト「%1」は%2年度の設定にありません。").arg(code).arg(c.nendo));
    c.testCode = code;
    c.classType = MainSettings::load(c.dataFolder).classType;
    c.totalOnly = achievement ? !menus.gTestKanten : !menus.tTestKanten;
    c.readOnly = true; // a copy writes nothing
    AnswerListPrompter prompter;
    ScoreEntrySession session(c);
    if (!session.load(prompter))
        return kUserError;
    return writeClipText(session.copyAllText(), parser.isSet(sjisOption()));
}

const ClipRegistration registration(
    {QStringLiteral("test-entry"),
     QStringLiteral(
         "test-entry --data DIR [--year N] --grade G --subject S --test CODE --classes DIGITS [--sjis]"),
     QStringLiteral("得点入力の「すべてをコピー(&A)」"), runTestEntryClip});

} // namespace

} // namespace tavro::cli
