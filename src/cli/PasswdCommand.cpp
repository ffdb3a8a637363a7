// tavro-cli passwd: sets a teacher's or the administrator's password.
#include "app/Password.h"
#include "app/Startup.h"
#include "cli/CliPrompter.h"
#include "cli/CliSupport.h"
#include "common/DataPaths.h"
#include "common/IniFile.h"
#include "config/TeacherFile.h"

namespace tavro::cli {

namespace {

// The new password and its confirmation: two prompts on a terminal; from a pipe the first line, and
// the second line as confirmation when there is one.
bool readNewPassword(QString &password, QString &error) {
    if (!readSecretLine(QStringLiteral("新しいパスワード: "), password)) {
        error = QStringLiteral("パスワードを標準入力から読めませんでした。");
        return false;
    }
    QString confirmation;
    const bool confirmed = readSecretLine(QStringLiteral("確認用パスワード: "), confirmation);
    if ((confirmed || stdinIsTerminal()) && confirmation != password) {
        error = QStringLiteral("確認用パスワードが間違っています。\n\n"
                               "「確認用パスワード」は「新しいパスワード」と\n同じものを入力してください。");
        return false;
    }
    return true;
}

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption dataOpt = dataOption();
    const QCommandLineOption yearOpt = yearOption();
    const QCommandLineOption teacherOpt(QStringLiteral("teacher"), QStringLiteral("教師名"),
                                        QStringLiteral("T"));
    const QCommandLineOption adminOpt(QStringLiteral("admin"),
                                      QStringLiteral("管理者パスワードを設定します"));
    parser.addOptions({dataOpt, yearOpt, teacherOpt, adminOpt});
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("余分な引数があります: %1").arg(parser.positionalArguments().join(u' ')));
    if (parser.isSet(teacherOpt) == parser.isSet(adminOpt))
        return usage(QStringLiteral("--teacher T か --admin のどちらか一方を指定してください。"));
    int year = 0;
    if (!readYear(parser, yearOpt, year, status))
        return status;
    QString folder;
    if (!readDataFolder(parser, dataOpt, folder, status))
        return status;
    const QString dataFolder = paths::withTrailingSeparator(folder);

    QString error;
    if (parser.isSet(adminOpt)) {
        QString password;
        if (!readNewPassword(password, error))
            return userError(error);
        if (password.isEmpty())
            return userError(QStringLiteral("パスワードがありません。"));
        if (!checkPasswordText(password, &error))
            return userError(error);
        // Only the password key is written, in the file as it is read now: the other settings stay.
        IniFile ini(paths::resolveExisting(paths::mainSettingsFile(dataFolder)));
        ini.writeString(QStringLiteral("Settings"), QStringLiteral("Password"),
                        scramble(password, QString::fromLatin1(kAdminScrambleConstant)));
        if (!ini.save(&error))
            return userError(error);
        out() << QStringLiteral("管理者パスワードを設定しました。\n");
        out().flush();
        return kOk;
    }

    const QString teacher = parser.value(teacherOpt);
    if (!checkTeacherName(teacher, &error))
        return userError(error);
    if (!TeacherFile::load(dataFolder, year).teacherNames().contains(teacher))
        return userError(QStringLiteral("%1年度の教師名に「%2」はありません。").arg(year).arg(teacher));
    QString password;
    if (!readNewPassword(password, error))
        return userError(error);
    if (!storeTeacherPassword(dataFolder, teacher, password, &error))
        return userError(error);
    out() << teacher << QStringLiteral("先生の正常にパスワードが更新されました。\n");
    out().flush();
    return kOk;
}

const Registration registration(
    {QStringLiteral("passwd"), QStringLiteral("passwd --data DIR (--teacher T [--year N] | --admin)"),
     QStringLiteral("教師または管理者のパスワードを設定します (標準入力から読みます)"), run});

} // namespace

} // namespace tavro::cli
