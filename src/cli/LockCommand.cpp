// tavro-cli lock: takes or releases the shared-data lock of a grade and subject as the main window does.
#include "app/Password.h"
#include "app/SharedLock.h"
#include "cli/CliPrompter.h"
#include "cli/CliSupport.h"
#include "common/DataPaths.h"
#include "platform/qt/QtPorts.h"

#include <QDir>
#include <QRegularExpression>

namespace tavro::cli {

namespace {

int run(const QStringList &args) {
    QCommandLineParser parser;
    const QCommandLineOption dataOpt = dataOption();
    const QCommandLineOption yearOpt = yearOption();
    const QCommandLineOption gradeOpt = gradeOption();
    const QCommandLineOption subjectOpt(QStringLiteral("subject"), QStringLiteral("教科"),
                                        QStringLiteral("S"));
    const QCommandLineOption testOpt(QStringLiteral("test"),
                                     QStringLiteral("テストの記号 (定期 A..E、学力 1..9。評定では省略)"),
                                     QStringLiteral("CODE"));
    const QCommandLineOption teacherOpt(QStringLiteral("teacher"), QStringLiteral("教師名 (記録用)"),
                                        QStringLiteral("T"));
    const QCommandLineOption takeOverOpt(
        QStringLiteral("take-over"), QStringLiteral("使用中の問い合わせに［いいえ］で答えて引き継ぎます"));
    parser.addOptions({dataOpt, yearOpt, gradeOpt, subjectOpt, testOpt, teacherOpt, takeOverOpt});
    parser.addPositionalArgument(QStringLiteral("acquire|release"), QStringLiteral("取得または解除"));
    int status = kOk;
    if (!parse(parser, args, status))
        return status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || (positional[0] != u"acquire" && positional[0] != u"release"))
        return usage(QStringLiteral("lock には acquire か release を一つ指定してください。"));
    const bool acquire = positional[0] == u"acquire";
    int year = 0;
    if (!readYear(parser, yearOpt, year, status))
        return status;
    bool gradeOk = false;
    const int grade = parser.value(gradeOpt).toInt(&gradeOk);
    if (!gradeOk || grade < 1 || grade > 6)
        return usage(QStringLiteral("--grade には 1 から 6 までの学年を指定してください。"));
    const QString subject = parser.value(subjectOpt);
    QString reason;
    if (!paths::isSafeName(subject, &reason))
        return usage(QStringLiteral("--subject の教科名は使えません。\n%1").arg(reason));
    const QString test = parser.value(testOpt);
    if (parser.isSet(testOpt) && !QRegularExpression(QStringLiteral("^[A-E1-9]$")).match(test).hasMatch())
        return usage(QStringLiteral("--test には定期テストの A..E か学力テストの 1..9 を指定してください。"));
    const QString teacher = parser.value(teacherOpt);
    if (acquire && !checkTeacherName(teacher, &reason))
        return usage(QStringLiteral("--teacher で教師名を指定してください。\n%1").arg(reason));
    QString folder;
    if (!readDataFolder(parser, dataOpt, folder, status))
        return status;

    const QString lockName = SharedLock::lockName(folder, year, test, QString::number(grade), subject);
    const QString shown = QDir::toNativeSeparators(lockName);
    if (!acquire) {
        const bool existed = paths::fileExists(lockName);
        QString why;
        if (!SharedLock::releaseLock(lockName, &why))
            return userError(QStringLiteral("ロックを解除できませんでした: %1\n%2").arg(shown, why));
        out() << (existed ? QStringLiteral("ロックを解除しました: %1\n")
                          : QStringLiteral("ロックはありません: %1\n"))
                     .arg(shown);
        out().flush();
        return kOk;
    }

    // Nobody is at the keyboard: wait when the lock is in use (or take over the lock seen first with
    // --take-over), and give up when the folder cannot be written.
    bool takeOver = parser.isSet(takeOverOpt);
    CliPrompter prompter([&](const QString &text, Prompter::Buttons, Prompter::Answer) {
        if (text == SharedLock::inUseMessage()) {
            const bool no = takeOver;
            takeOver = false;
            return no ? Prompter::Answer::No : Prompter::Answer::Yes;
        }
        return Prompter::Answer::Cancel;
    });
    SystemClock clock;
    SystemWorkstationInfo workstation;
    SharedLock lock(prompter, clock, workstation);
    paths::ensureFolder(SharedLock::folder(folder));
    if (!lock.acquireLock(lockName, teacher)) {
        const QString why = lock.lastError();
        return userError(QStringLiteral("ロックを取得できませんでした: %1").arg(shown) +
                         (why.isEmpty() ? QString() : u'\n' + why));
    }
    out() << QStringLiteral("ロックを取得しました: %1\n").arg(shown);
    out().flush();
    return kOk;
}

const Registration registration(
    {QStringLiteral("lock"),
     QStringLiteral(
         "lock acquire|release --data DIR [--year N] --grade G --subject S [--test CODE] --teacher T "
         "[--take-over]"),
     QStringLiteral("学年・教科 (・テスト) のロックを取得または解除します"), run});

} // namespace

} // namespace tavro::cli
