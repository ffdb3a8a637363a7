#include "app/SharedLock.h"
#include "app/NextSequence.h"
#include "app/WorkingContext.h"
#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

using namespace tavro;
using Answer = Prompter::Answer;

namespace {

const QByteArray kLockBytes = "\x82\xb1\x82\xcc\x83t\x83@\x83"
                              "C\x83\x8b\x82\xcd"; // "このファイルは"

QStringList logLines(const QString &lockName) {
    QStringList lines;
    readTextLines(SharedLock::logPath(lockName), lines);
    return lines;
}

// Answers through a function, so a test can act while a question is open.
class ActingPrompter final : public Prompter {
public:
    std::function<Answer(const QString &)> act;
    QStringList texts;
    Answer ask(const QString &, const QString &text, Buttons, Answer, Icon) override {
        texts.append(text);
        return act(text);
    }
};

struct Folder {
    QTemporaryDir dir;
    QString data = dir.path() + '/';
    test::TestPlatform doubles;
    SharedLock lock{doubles.prompter, doubles.clock, doubles.workstation};
    QString name = SharedLock::lockName(data, 2024, "A", "1", "国語");

    Folder() { QVERIFY(paths::ensureFolder(SharedLock::folder(data))); }
    test::ScriptedPrompter &prompter() { return doubles.prompter; }
};

} // namespace

class SharedLockTest : public QObject {
    Q_OBJECT

private slots:
    void namesAndTexts();
    void freeLockIsGrantedAndLogged();
    void inUseAnsweredYesWaits();
    void inUseAnsweredNoTakesOver();
    void lockRenewedWhileAskedIsAskedAgain();
    void unwritableFolderAsksUntilCancel();
    void failingLogDoesNotTakeTheLockBack();
    void concurrentAcquirersOneWins();

    void nextDoesNothingWithoutASelection();
    void nextStopsWithoutClasses();
    void nextRunsLoginLockAndWindow();
    void nextReportsALockThatCannotBeReleased();
    void nextReadOnlyRules_data();
    void nextReadOnlyRules();
    void nextStopsOnCancelAndRefusal();
    void nextOnTheElectivePage();
};

void SharedLockTest::namesAndTexts() {
    QCOMPARE(SharedLock::lockName("/d/", 2024, "A", "1", "国語"), QString("/d/~temp/2024A1国語.~lc"));
    QCOMPARE(SharedLock::lockName("/d", 2024, "", "1", "選択国語"), QString("/d/~temp/20241選択国語.~lc"));
    QCOMPARE(SharedLock::logPath("/d/~temp/2024A1国語.~lc"), QString("/d/~temp/2024A1国語.log"));
    const QByteArray text = SharedLock::lockText();
    QVERIFY(text.startsWith(kLockBytes));
    QCOMPARE(text.count("\r\n"), 3);
    QVERIFY(text.endsWith("\r\n"));
    QCOMPARE(cp932::decode(text), QString("このファイルは、編集中にのみ存在するファイルです。\r\n"
                                          "もし、異常終了等で残っている場合は、削除してかまいません。\r\n"
                                          "そうでない場合は、管理者に問い合わせてください。\r\n"));
    QCOMPARE(SharedLock::logLine(QDateTime(QDate(2024, 6, 10), QTime(9, 5, 7)), "山田太郎", "tanaka", "PC01"),
             QString("2024/06/10 9:05:07 山田太郎 tanaka@PC01"));
}

void SharedLockTest::freeLockIsGrantedAndLogged() {
    Folder f;
    QVERIFY(f.lock.acquireLock(f.name, "山田太郎"));
    QVERIFY(f.prompter().shown().isEmpty());
    QByteArray bytes;
    QVERIFY(readWholeFile(f.name, bytes));
    QCOMPARE(bytes, SharedLock::lockText());
    QCOMPARE(logLines(f.name), QStringList{"2024/06/10 9:30:00 山田太郎 tanaka@PC-SHOKUIN01"});

    QVERIFY(SharedLock::releaseLock(f.name));
    QVERIFY(!QFile::exists(f.name));
    QVERIFY(SharedLock::releaseLock(f.name)); // nothing to release
    // The same window opened again finds no lock.
    QVERIFY(f.lock.acquireLock(f.name, "山田太郎"));
    QCOMPARE(logLines(f.name).size(), 2);
    QVERIFY(f.prompter().shown().isEmpty());
}

void SharedLockTest::inUseAnsweredYesWaits() {
    Folder f;
    QVERIFY(saveFileAtomically(f.name, "held elsewhere"));
    const QDateTime modified = QFileInfo(f.name).lastModified();
    f.prompter().script({Answer::Yes});
    QVERIFY(!f.lock.acquireLock(f.name, "山田太郎"));
    QCOMPARE(f.prompter().texts(), QStringList{SharedLock::inUseMessage()});
    QCOMPARE(f.prompter().shown().first().buttons, Prompter::Buttons::YesNo);
    QCOMPARE(f.prompter().shown().first().caption, QString("Tavro"));
    QByteArray bytes;
    QVERIFY(readWholeFile(f.name, bytes));
    QCOMPARE(bytes, QByteArray("held elsewhere"));
    QCOMPARE(QFileInfo(f.name).lastModified(), modified);
    QVERIFY(!QFile::exists(SharedLock::logPath(f.name)));
}

void SharedLockTest::inUseAnsweredNoTakesOver() {
    Folder f;
    QVERIFY(saveFileAtomically(f.name, "stale"));
    f.prompter().script({Answer::No});
    QVERIFY(f.lock.acquireLock(f.name, "佐藤花子"));
    QCOMPARE(f.prompter().shown().size(), 1);
    QByteArray bytes;
    QVERIFY(readWholeFile(f.name, bytes));
    QCOMPARE(bytes, SharedLock::lockText());
    QCOMPARE(logLines(f.name), QStringList{"2024/06/10 9:30:00 佐藤花子 tanaka@PC-SHOKUIN01"});
}

// The user looked at a stale lock; meanwhile another workstation took the lock over and holds it.
// Answering いいえ must not delete that workstation's fresh lock.
void SharedLockTest::lockRenewedWhileAskedIsAskedAgain() {
    Folder f;
    QVERIFY(saveFileAtomically(f.name, "stale"));
    QFile stale(f.name);
    QVERIFY(stale.open(QIODevice::ReadWrite));
    QVERIFY(stale.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime));
    stale.close();

    ActingPrompter prompter;
    int questions = 0;
    prompter.act = [&](const QString &) {
        if (++questions == 1) {
            QFile::remove(f.name);
            saveFileAtomically(f.name, SharedLock::lockText()); // the other workstation's lock
            return Answer::No;
        }
        return Answer::Yes;
    };
    SharedLock lock(prompter, f.doubles.clock, f.doubles.workstation);
    QVERIFY(!lock.acquireLock(f.name, "山田太郎"));
    QCOMPARE(prompter.texts, QStringList({SharedLock::inUseMessage(), SharedLock::inUseMessage()}));
    QVERIFY(QFile::exists(f.name));
    QVERIFY(!QFile::exists(SharedLock::logPath(f.name)));
}

// "~temp" cannot hold files (here it is a file itself): the disk message with the file and the reason
// repeats on OK until Cancel; once the folder can be made, OK makes it.
void SharedLockTest::unwritableFolderAsksUntilCancel() {
    QTemporaryDir dir;
    const QString data = dir.path() + '/';
    QVERIFY(saveFileAtomically(SharedLock::folder(data), "not a folder"));
    QVERIFY(!paths::ensureFolder(SharedLock::folder(data)));
    test::TestPlatform doubles;
    doubles.prompter.script({Answer::Ok, Answer::Ok, Answer::Cancel});
    SharedLock lock(doubles.prompter, doubles.clock, doubles.workstation);
    const QString name = SharedLock::lockName(data, 2024, "", "1", "国語");
    QVERIFY(!lock.acquireLock(name, "山田太郎"));
    QCOMPARE(doubles.prompter.texts().size(), 3);
    for (const QString &text : doubles.prompter.texts()) {
        QVERIFY2(text.startsWith(SharedLock::diskMessage() + "\r\n\r\n" + QDir::toNativeSeparators(name)),
                 qPrintable(text));
        QVERIFY(text.size() > SharedLock::diskMessage().size() + 4 + name.size() + 1); // and the reason
    }
    QCOMPARE(doubles.prompter.shown().last().buttons, Prompter::Buttons::OkCancel);

    // Once "~temp" can be made again, OK makes it and takes the lock.
    ActingPrompter acting;
    acting.act = [&](const QString &) {
        QFile::remove(SharedLock::folder(data));
        return acting.texts.size() < 2 ? Answer::Ok : Answer::Cancel;
    };
    SharedLock retrying(acting, doubles.clock, doubles.workstation);
    QVERIFY(retrying.acquireLock(name, "山田太郎"));
    QCOMPARE(acting.texts.size(), 1);
    QVERIFY(QFileInfo(name).isFile());
}

void SharedLockTest::failingLogDoesNotTakeTheLockBack() {
    Folder f;
    QVERIFY(QDir().mkdir(SharedLock::logPath(f.name))); // the log cannot be opened for writing
    QVERIFY(f.lock.acquireLock(f.name, "山田太郎"));
    QVERIFY(QFile::exists(f.name));
    QCOMPARE(f.prompter().shown().size(), 1);
    QVERIFY(f.prompter().texts().first().startsWith("使用記録のファイルに書き込めませんでした。"));
}

// Workers that all find the lock free at the same moment: exclusive creation lets one win; the
// others are told that the lock is in use and wait.
void SharedLockTest::concurrentAcquirersOneWins() {
    Folder f;
    constexpr int kWorkers = 8;
    for (int round = 0; round < 25; ++round) {
        std::atomic<int> ready{0};
        std::atomic<int> granted{0};
        std::vector<std::unique_ptr<QThread>> threads;
        std::vector<std::unique_ptr<test::ScriptedPrompter>> prompters;
        for (int i = 0; i < kWorkers; ++i) {
            prompters.push_back(std::make_unique<test::ScriptedPrompter>());
            test::ScriptedPrompter *prompter = prompters.back().get();
            threads.emplace_back(QThread::create([&, prompter] {
                SharedLock lock(*prompter, f.doubles.clock, f.doubles.workstation);
                ++ready;
                while (ready.load() < kWorkers) {
                }
                if (lock.acquireLock(f.name, "worker"))
                    ++granted;
            }));
            threads.back()->start();
        }
        for (auto &t : threads)
            QVERIFY(t->wait(10000));
        QCOMPARE(granted.load(), 1);
        for (const auto &p : prompters)
            for (const QString &text : p->texts())
                QCOMPARE(text, SharedLock::inUseMessage());
        QVERIFY(SharedLock::releaseLock(f.name));
    }
}

namespace {

struct Sequence {
    QTemporaryDir dir;
    test::TestPlatform doubles;
    SharedLock lock{doubles.prompter, doubles.clock, doubles.workstation};
    WorkingContext context;
    int logins = 0;
    std::optional<LoginInputs> loginInputs;
    std::optional<LoginResult> loginAnswer = LoginResult{"山田太郎", "13", false};
    int opened = 0;
    WorkingContext openedWith;
    QString lockSeenOpen;

    Sequence() {
        context.dataFolder = dir.path() + '/';
        context.nendo = context.thisNendo = 2024;
        context.mainCaption = "成績処理TAVRO for Windows Ver.5";
        context.classCount = {3, 3, 3, 0, 0, 0};
        context.teikiTest = {true, false, true, true, true};
        context.gakuTest.fill(true);
    }

    NextResult run(const DataPageChoice &choice) {
        return runNextSequence(
            context, choice, doubles.prompter, lock,
            [this](const LoginInputs &inputs) {
                ++logins;
                loginInputs = inputs;
                return loginAnswer;
            },
            [this](const WorkingContext &c) {
                ++opened;
                openedWith = c;
                const QStringList locks = QDir(SharedLock::folder(c.dataFolder)).entryList({"*.~lc"});
                lockSeenOpen = locks.value(0);
            });
    }
};

DataPageChoice choice(DataPage page, int grade, const QString &subject, int test = -1,
                      const QString &testName = {}) {
    return DataPageChoice{page, grade, subject, test, testName};
}

} // namespace

void SharedLockTest::nextDoesNothingWithoutASelection() {
    Sequence s;
    QCOMPARE(s.run(choice(DataPage::PeriodicTest, 0, "国語", -1)), NextResult::NothingSelected);
    QCOMPARE(s.run(choice(DataPage::AchievementTest, 0, "国語", -1)), NextResult::NothingSelected);
    QCOMPARE(s.run(choice(DataPage::Elective, 0, "")), NextResult::NothingSelected);
    QVERIFY(s.doubles.prompter.shown().isEmpty());
    QCOMPARE(s.logins, 0);
}

void SharedLockTest::nextStopsWithoutClasses() {
    Sequence s;
    QCOMPARE(s.run(choice(DataPage::Compulsory, 3, "国語")), NextResult::NoClasses);
    QCOMPARE(s.doubles.prompter.texts(),
             QStringList{"学級が存在しません。\r\n管理者に確認をとってください。"});
    QCOMPARE(s.logins, 0);
    QVERIFY(!QFileInfo::exists(SharedLock::folder(s.context.dataFolder)));
}

void SharedLockTest::nextRunsLoginLockAndWindow() {
    Sequence s;
    QCOMPARE(s.run(choice(DataPage::PeriodicTest, 1, "理科", 2, "2学期中間テスト")), NextResult::Opened);
    QCOMPARE(s.loginInputs->gakunen, QString("2"));
    QCOMPARE(s.loginInputs->kyouka, QString("理科"));
    QCOMPARE(s.loginInputs->nendo, 2024);
    QCOMPARE(s.loginInputs->mainCaption, s.context.mainCaption);
    QVERIFY(!s.loginInputs->readOnly);
    QCOMPARE(s.openedWith.testCode, QString("C"));
    QCOMPARE(s.openedWith.testName, QString("2学期中間テスト"));
    QCOMPARE(s.openedWith.teacherName, QString("山田太郎"));
    QCOMPARE(s.openedWith.chargeClasses, QString("13"));
    QCOMPARE(s.lockSeenOpen, QString("2024C2理科.~lc"));
    const QString lockName = SharedLock::lockName(s.context.dataFolder, 2024, "C", "2", "理科");
    QVERIFY(!QFile::exists(lockName)); // released when the window closed
    QCOMPARE(logLines(lockName).size(), 1);

    // The evaluation pages lock without the test code; the context keeps the login's results.
    QCOMPARE(s.run(choice(DataPage::Compulsory, 0, "技家")), NextResult::Opened);
    QCOMPARE(s.lockSeenOpen, QString("20241技家.~lc"));
    QCOMPARE(s.context.teacherName, QString("山田太郎"));
    QCOMPARE(s.run(choice(DataPage::AchievementTest, 2, "英語", 0, "第1回")), NextResult::Opened);
    QCOMPARE(s.lockSeenOpen, QString("202413英語.~lc"));
    QCOMPARE(s.opened, 3);
}

// The lock cannot be removed after the window closed (here a folder took its place): a message names it.
void SharedLockTest::nextReportsALockThatCannotBeReleased() {
    Sequence s;
    const QString lockName = SharedLock::lockName(s.context.dataFolder, 2024, "", "1", "国語");
    bool replaced = false;
    const auto open = [&](const WorkingContext &) {
        replaced = QFile::remove(lockName) && QDir().mkpath(lockName + "/x");
    };
    const auto login = [&](const LoginInputs &) { return s.loginAnswer; };
    QCOMPARE(runNextSequence(s.context, choice(DataPage::Compulsory, 0, "国語"), s.doubles.prompter, s.lock,
                             login, open),
             NextResult::Opened);
    QVERIFY(replaced);
    QCOMPARE(s.doubles.prompter.shown().size(), 1);
    const QString text = s.doubles.prompter.texts().first();
    QVERIFY2(
        text.startsWith("ロックを解除できませんでした。\r\n" + QDir::toNativeSeparators(lockName) + "\r\n") &&
            !text.endsWith("\r\n"),
        qPrintable(text));
}

void SharedLockTest::nextReadOnlyRules_data() {
    QTest::addColumn<int>("nendo");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("test");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("current year") << 2024 << int(DataPage::Compulsory) << -1 << false;
    QTest::newRow("past year") << 2023 << int(DataPage::Compulsory) << -1 << true;
    QTest::newRow("next year") << 2025 << int(DataPage::Elective) << -1 << true;
    QTest::newRow("test permitted") << 2024 << int(DataPage::PeriodicTest) << 0 << false;
    QTest::newRow("test not permitted") << 2024 << int(DataPage::PeriodicTest) << 1 << true;
    QTest::newRow("achievement test") << 2024 << int(DataPage::AchievementTest) << 8 << false;
}

void SharedLockTest::nextReadOnlyRules() {
    QFETCH(int, nendo);
    QFETCH(int, page);
    QFETCH(int, test);
    QFETCH(bool, readOnly);
    Sequence s;
    s.context.nendo = nendo;
    const QString subject = page == int(DataPage::Elective) ? "1年選択国語" : "国語";
    QCOMPARE(s.run(choice(DataPage(page), 0, subject, test, "x")), NextResult::Opened);
    QCOMPARE(s.loginInputs->readOnly, readOnly);
    // The login decides at last: a view-only login opens read-only.
    s.loginAnswer = LoginResult{"山田太郎", "1", true};
    QCOMPARE(s.run(choice(DataPage(page), 0, subject, test, "x")), NextResult::Opened);
    QVERIFY(s.openedWith.readOnly);
}

void SharedLockTest::nextStopsOnCancelAndRefusal() {
    Sequence s;
    s.loginAnswer.reset();
    QCOMPARE(s.run(choice(DataPage::Compulsory, 0, "国語")), NextResult::LoginCancelled);
    QVERIFY(!QFileInfo::exists(SharedLock::folder(s.context.dataFolder)));
    QVERIFY(s.context.teacherName.isEmpty());

    s.loginAnswer = LoginResult{"佐藤花子", "2", false};
    QVERIFY(paths::ensureFolder(SharedLock::folder(s.context.dataFolder)));
    const QString held = SharedLock::lockName(s.context.dataFolder, 2024, "", "1", "国語");
    QVERIFY(saveFileAtomically(held, SharedLock::lockText()));
    s.doubles.prompter.script({Answer::Yes});
    QCOMPARE(s.run(choice(DataPage::Compulsory, 0, "国語")), NextResult::LockRefused);
    QCOMPARE(s.opened, 0);
    QVERIFY(QFile::exists(held)); // the other workstation's lock stays
}

void SharedLockTest::nextOnTheElectivePage() {
    Sequence s;
    QCOMPARE(s.run(choice(DataPage::Elective, 2, "3年選択英語G")), NextResult::Opened);
    QCOMPARE(s.loginInputs->gakunen, QString("3"));
    QCOMPARE(s.loginInputs->kyouka, QString("選択英語G"));
    QCOMPARE(s.lockSeenOpen, QString("20243選択英語G.~lc"));

    // An elective whose name would leave the lock folder is refused before the login.
    s.logins = 0;
    QCOMPARE(s.run(choice(DataPage::Elective, 2, "3年選択/../../x")), NextResult::UnsafeName);
    QCOMPARE(s.logins, 0);
    QVERIFY(
        s.doubles.prompter.texts().last().startsWith("選択教科名「選択/../../x」はファイル名に使えません。"));
}

QTEST_GUILESS_MAIN(SharedLockTest)
#include "SharedLockTest.moc"
