// tavro-cli login: the teacher login of a grade and subject, as the login dialog runs it.
#include "app/Login.h"
#include "app/Startup.h"
#include "cli/CliPrompter.h"
#include "cli/CliSupport.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption dataOpt = dataOption();
    const QCommandLineOption yearOpt = yearOption();
    const QCommandLineOption gradeOpt = gradeOption();
    const QCommandLineOption subjectOpt(
        QStringLiteral("subject"), QStringLiteral("教科 (国語、技家、選択国語 など)"), QStringLiteral("S"));
    const QCommandLineOption teacherOpt(QStringLiteral("teacher"), QStringLiteral("教師名"),
                                        QStringLiteral("T"));
    const QCommandLineOption passwordOpt(QStringLiteral("password"),
                                         QStringLiteral("パスワード (省略時は標準入力から読みます)"),
                                         QStringLiteral("P"));
    const QCommandLineOption viewOpt(QStringLiteral("view"), QStringLiteral("閲覧のみでログインします"));
    const QCommandLineOption jsonOpt(QStringLiteral("json"), QStringLiteral("JSON で出力します"));
    parser.addOptions({dataOpt, yearOpt, gradeOpt, subjectOpt, teacherOpt, passwordOpt, viewOpt, jsonOpt});
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("余分な引数があります: %1").arg(parser.positionalArguments().join(u' ')));
    int year = 0;
    if (!readYear(parser, yearOpt, year, status))
        return status;
    bool gradeOk = false;
    const int grade = parser.value(gradeOpt).toInt(&gradeOk);
    if (!gradeOk || grade < 1 || grade > 6)
        return usage(QStringLiteral("--grade には 1 から 6 までの学年を指定してください。"));
    if (parser.value(subjectOpt).isEmpty() || parser.value(teacherOpt).isEmpty())
        return usage(QStringLiteral("--subject と --teacher を指定してください。"));
    if (parser.isSet(passwordOpt) && parser.isSet(viewOpt))
        return usage(QStringLiteral("--password と --view は同時に指定できません。"));
    QString folder;
    if (!readDataFolder(parser, dataOpt, folder, status))
        return status;

    const WorkingContext context = loadContext(folder, year, thisNendo());
    LoginInputs inputs;
    inputs.mainCaption = context.mainCaption;
    inputs.nendo = year;
    inputs.gakunen = QString::number(grade);
    inputs.kyouka = parser.value(subjectOpt);
    inputs.dataFolder = context.dataFolder;
    inputs.readOnly = readOnlyFor(year, context.thisNendo);

    CliPrompter prompter;
    TeacherLogin login(prompter, inputs);
    login.load();
    const QString teacher = parser.value(teacherOpt);
    const int index = int(login.teachers().indexOf(teacher));
    if (index < 0)
        return userError(QStringLiteral("%1年度の教師名に「%2」はありません。").arg(year).arg(teacher));

    TeacherLogin::Outcome outcome;
    if (parser.isSet(viewOpt)) {
        outcome = login.view(index);
    } else {
        QString password = parser.value(passwordOpt);
        if (!parser.isSet(passwordOpt) && !readSecretLine(QStringLiteral("パスワード: "), password))
            password.clear();
        outcome = login.ok(index, password);
    }
    if (outcome != TeacherLogin::Outcome::Ok)
        return kUserError; // the dialog's message is on stderr

    const LoginResult r = login.result();
    if (parser.isSet(jsonOpt)) {
        const QJsonObject o{{QStringLiteral("teacherName"), r.teacherName},
                            {QStringLiteral("chargeClasses"), r.chargeClasses},
                            {QStringLiteral("readOnly"), r.readOnly}};
        out() << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)) << "\n";
    } else {
        out() << "TeacherName   : " << r.teacherName << "\n";
        out() << "ChargeClasses : " << r.chargeClasses << "\n";
        out() << "ReadOnly      : " << (r.readOnly ? "True" : "False") << "\n";
    }
    out().flush();
    return kOk;
}

const Registration registration(
    {QStringLiteral("login"),
     QStringLiteral(
         "login --data DIR [--year N] --grade G --subject S --teacher T [--password P | --view] [--json]"),
     QStringLiteral(
         "教師のログイン (パスワードと担当の確認) をおこない、担当学級と閲覧のみかどうかを表示します"),
     run});

} // namespace

} // namespace tavro::cli
