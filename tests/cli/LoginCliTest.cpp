#include "app/DemoSchool.h"
#include "app/Password.h"
#include "app/SharedLock.h"
#include "app/Startup.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/IniFile.h"
#include "platform/qt/QtPorts.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/CliRun.h"
#include <memory>
#include <vector>

using namespace tavro;

namespace {

using Run = tavro::test::CliRun;
using tavro::test::cli;

// The demo school of the current school year (the login of another year is read-only).
struct Demo {
    QTemporaryDir dir;
    QString folder = dir.path() + "/school";
    int year = schoolYearOf(SystemClock().now().date());

    Demo() { QVERIFY(DemoSchool::write(folder, year)); }

    Run login(const QString &grade, const QString &subject, const QString &teacher, const QStringList &more) {
        return cli(QStringList{"login", "--data", folder, "--grade", grade, "--subject", subject, "--teacher",
                               teacher, "--json"} +
                   more);
    }
    Run lock(const QStringList &more) {
        return cli(QStringList{"lock", "--data", folder, "--year", QString::number(year), "--grade", "1",
                               "--subject", "国語"} +
                   more);
    }
};

QJsonObject json(const Run &r) {
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

} // namespace

class LoginCliTest : public QObject {
    Q_OBJECT

private slots:
    void loginGrantsAndRefuses();
    void passwd();
    void lockAcquireAndRelease();
    void racingProcessesNeverBothGetTheLock();
};

// In the demo school every subject and class has a teacher, and every teacher the password "1234".
void LoginCliTest::loginGrantsAndRefuses() {
    Demo d;
    const QStringList teachers = DemoSchool::teacherNames();
    const QString pw = QString::fromUtf8(DemoSchool::kTeacherPassword);

    Run r = d.login("1", "国語", teachers[1], {"--password", pw});
    QCOMPARE(r.status, 0);
    QCOMPARE(json(r).value("teacherName").toString(), teachers[1]);
    QCOMPARE(json(r).value("chargeClasses").toString(), QString("123"));
    QCOMPARE(json(r).value("readOnly").toBool(), false);

    // The compulsory page's 技家 logs in with the 技家I classes.
    r = d.login("1", "技家", teachers[10], {"--password", pw});
    QCOMPARE(r.status, 0);
    QCOMPARE(json(r).value("chargeClasses").toString(), QString("123"));

    // Password read from standard input.
    QCOMPARE(cli({"login", "--data", d.folder, "--grade", "1", "--subject", "国語", "--teacher", teachers[1]},
                 pw.toUtf8() + "\n")
                 .status,
             0);

    r = d.login("1", "国語", teachers[1], {"--password", "0000"});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err.trimmed(), QString("パスワードが違います。"));
    QVERIFY(r.out.isEmpty());
    r = d.login("1", "国語", teachers[2], {"--password", pw});
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.startsWith("入力や訂正をする権限がありません。\n"));

    // 閲覧: read-only with an assignment, refused without one.
    r = d.login("3", "選択英語A", teachers[6], {"--view"});
    QCOMPARE(r.status, 0);
    QCOMPARE(json(r).value("readOnly").toBool(), true);
    r = d.login("2", "国語", teachers[0], {"--view"});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err.trimmed(), QString("選択した教師は担当していません。"));

    r = d.login("1", "国語", "知らない人", {"--password", pw});
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.contains("知らない人"));
    QCOMPARE(d.login("9", "国語", teachers[1], {"--view"}).status, 2);
    QCOMPARE(d.login("1", "国語", teachers[1], {"--view", "--password", pw}).status, 2);
}

void LoginCliTest::passwd() {
    Demo d;
    const QString teacher = DemoSchool::teacherNames().at(1);
    Run r = cli({"passwd", "--data", d.folder, "--teacher", teacher}, "neu\nneu\n");
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out.trimmed(), teacher + "先生の正常にパスワードが更新されました。");
    QCOMPARE(d.login("1", "国語", teacher, {"--password", "neu"}).status, 0);
    QCOMPARE(d.login("1", "国語", teacher, {"--password", "1234"}).status, 1);

    r = cli({"passwd", "--data", d.folder, "--teacher", teacher}, "abc\nabd\n");
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.startsWith("確認用パスワードが間違っています。"));
    QCOMPARE(d.login("1", "国語", teacher, {"--password", "neu"}).status, 0);

    QCOMPARE(cli({"passwd", "--data", d.folder, "--teacher", "../x"}, "a\n").status, 1);
    QCOMPARE(cli({"passwd", "--data", d.folder, "--teacher", "知らない人"}, "a\n").status, 1);
    QCOMPARE(cli({"passwd", "--data", d.folder}, "a\n").status, 2);

    // The administrator: an empty password is refused, a new one keeps the other settings.
    QCOMPARE(cli({"passwd", "--data", d.folder, "--admin"}, "\n").status, 1);
    QCOMPARE(cli({"passwd", "--data", d.folder, "--admin"}, "kanri\n").status, 0);
    const MainSettings settings = MainSettings::load(d.folder);
    QCOMPARE(settings.password, scramble("kanri", "8093"));
    QCOMPARE(settings.schoolName, QString("市立さくら台中学校"));
    QCOMPARE(storedTeacherPassword(d.folder, teacher), scramble("neu", "9153"));
}

void LoginCliTest::lockAcquireAndRelease() {
    Demo d;
    const QString lockFile = SharedLock::lockName(d.folder, d.year, "B", "1", "国語");
    Run r = d.lock({"acquire", "--test", "B", "--teacher", "山田太郎"});
    QCOMPARE(r.status, 0);
    QVERIFY(QFile::exists(lockFile));
    QStringList log;
    QVERIFY(readTextLines(SharedLock::logPath(lockFile), log));
    QCOMPARE(log.size(), 1);
    QVERIFY(log[0].contains(" 山田太郎 "));

    // In use: the question is answered "はい" (wait), unless --take-over answers "いいえ".
    r = d.lock({"acquire", "--test", "B", "--teacher", "佐藤花子"});
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.contains("他のコンピュータで使用中です。"));
    QVERIFY(r.err.contains("→ はい"));
    r = d.lock({"acquire", "--test", "B", "--teacher", "佐藤花子", "--take-over"});
    QCOMPARE(r.status, 0);
    QVERIFY(r.err.contains("→ いいえ"));
    QVERIFY(readTextLines(SharedLock::logPath(lockFile), log));
    QCOMPARE(log.size(), 2);

    QCOMPARE(d.lock({"release", "--test", "B"}).status, 0);
    QVERIFY(!QFile::exists(lockFile));
    QCOMPARE(d.lock({"release", "--test", "B"}).status, 0);

    // The lock folder cannot be made (a file holds its name): refused with the file and the reason.
    QVERIFY(QDir(SharedLock::folder(d.folder)).removeRecursively());
    {
        QFile blocker(SharedLock::folder(d.folder));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    r = d.lock({"acquire", "--test", "B", "--teacher", "山田太郎"});
    QCOMPARE(r.status, 1);
    QVERIFY2(
        r.err.contains(QDir::toNativeSeparators(lockFile) + "\nフォルダまたはファイルが見つかりません。"),
        qPrintable(r.err));

    QCOMPARE(d.lock({"acquire", "--test", "BB", "--teacher", "x"}).status, 2);
    QCOMPARE(
        cli({"lock", "acquire", "--data", d.folder, "--grade", "1", "--subject", "../国語", "--teacher", "x"})
            .status,
        2);
    QVERIFY(!QFileInfo::exists(d.dir.path() + "/国語.~lc"));
}

// Processes started together on one lock: exactly one gets it, every time.
void LoginCliTest::racingProcessesNeverBothGetTheLock() {
    Demo d;
    constexpr int kProcesses = 6;
    for (int round = 0; round < 4; ++round) {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = 0; i < kProcesses; ++i) {
            processes.push_back(std::make_unique<QProcess>());
            processes.back()->start(QStringLiteral(TAVRO_CLI_PATH),
                                    {"lock", "acquire", "--data", d.folder, "--year", QString::number(d.year),
                                     "--grade", "2", "--subject", "数学", "--teacher",
                                     QString("先生%1").arg(i)});
        }
        int granted = 0;
        for (auto &p : processes) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QVERIFY(p->exitCode() == 0 || p->exitCode() == 1);
            granted += p->exitCode() == 0 ? 1 : 0;
        }
        QCOMPARE(granted, 1);
        QCOMPARE(d.lock({"release"}).status, 0);
        QVERIFY(SharedLock::releaseLock(SharedLock::lockName(d.folder, d.year, "", "2", "数学")));
    }
}

QTEST_GUILESS_MAIN(LoginCliTest)
#include "LoginCliTest.moc"
