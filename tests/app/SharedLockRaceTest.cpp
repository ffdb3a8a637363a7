// Two processes (this executable started with "--race LOCK GO") race for the same lock of a grade and
// subject: each waits for the file GO, then takes the lock; exactly one wins. TAVRO_RACE_ROUNDS sets
// the number of races (default 20); they stop early after 20 seconds.
#include "app/SharedLock.h"
#include "common/DataPaths.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace tavro;

namespace {

enum RaceExit { Won = 0, Lost = 1, NoStart = 2 };

// The child: waits for the start file, then asks for the lock; a lock in use is waited for (はい).
int race(const QString &lockName, const QString &go) {
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(go)) {
        if (waited.elapsed() > 10000)
            return NoStart;
        QThread::yieldCurrentThread();
    }
    test::ScriptedPrompter prompter;
    prompter.script({Prompter::Answer::Yes, Prompter::Answer::Cancel});
    test::FixedClock clock;
    test::FixedWorkstationInfo workstation;
    SharedLock lock(prompter, clock, workstation);
    return lock.acquireLock(lockName, QStringLiteral("山田太郎")) ? Won : Lost;
}

int envCount(const char *name, int def) {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue(name, &ok);
    return ok && n > 0 ? n : def;
}

} // namespace

class SharedLockRaceTest : public QObject {
    Q_OBJECT
private slots:
    void twoProcessesOneWins();
};

void SharedLockRaceTest::twoProcessesOneWins() {
    QTemporaryDir tmp;
    const QString dataFolder = tmp.path() + u'/';
    QVERIFY(QDir().mkpath(SharedLock::folder(dataFolder)));
    const QString lockName =
        SharedLock::lockName(dataFolder, 2024, QString(), QStringLiteral("1"), QStringLiteral("国語"));
    const QString go = tmp.filePath(QStringLiteral("go"));

    const int rounds = envCount("TAVRO_RACE_ROUNDS", 20);
    QElapsedTimer clock;
    clock.start();
    int done = 0;
    for (; done < rounds && clock.elapsed() < 20000; ++done) {
        QFile::remove(go);
        QVERIFY(SharedLock::releaseLock(lockName));
        QProcess children[2];
        for (QProcess &child : children) {
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--race"), lockName, go});
            QVERIFY(child.waitForStarted());
        }
        QThread::msleep(30); // both are waiting for the start
        QFile start(go);
        QVERIFY(start.open(QIODevice::WriteOnly));
        start.close();
        int won = 0, lost = 0;
        for (QProcess &child : children) {
            QVERIFY(child.waitForFinished(15000));
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            won += child.exitCode() == Won;
            lost += child.exitCode() == Lost;
        }
        QVERIFY2(won == 1 && lost == 1,
                 qPrintable(QStringLiteral("round %1: %2 won, %3 lost").arg(done).arg(won).arg(lost)));
        QVERIFY(QFile::exists(lockName));
    }
    qInfo("%d races", done);
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    // The arguments through Qt: a Japanese lock name survives on Windows whatever the code page.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--race"))
        return race(args[2], args[3]);
    SharedLockRaceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SharedLockRaceTest.moc"
