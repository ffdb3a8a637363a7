// Saves run in a child process (this executable started with "--save-loop FILE") that is killed at
// random moments: the file always holds the old or the new bytes, and the temporary files the kills
// leave behind go at the next save once they are a day old. TAVRO_KILL_ROUNDS sets the number of
// kills (default 12); the rounds stop early after 20 seconds.
#include "common/FileSave.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace tavro;

namespace {

// Two contents of different sizes that no mix of them can match.
QByteArray content(int which) {
    QByteArray bytes(which == 0 ? 600000 : 400000, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(which == 0 ? 'a' + i % 26 : '0' + i % 10);
    return bytes;
}

// The child: saves the two contents in turn until it is killed.
int saveLoop(const QString &path) {
    const QByteArray contents[2] = {content(0), content(1)};
    for (int i = 1;; ++i)
        saveFileAtomically(path, contents[i % 2], nullptr, Backup::OneGeneration);
}

int envCount(const char *name, int def) {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue(name, &ok);
    return ok && n > 0 ? n : def;
}

QByteArray contents(const QString &path) {
    QByteArray bytes;
    readWholeFile(path, bytes);
    return bytes;
}

} // namespace

class FileSaveKillTest : public QObject {
    Q_OBJECT
private slots:
    void killedSavesLeaveOldOrNew();
};

void FileSaveKillTest::killedSavesLeaveOldOrNew() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("101国語.dat");
    const QByteArray a = content(0), b = content(1);
    QVERIFY(saveFileAtomically(path, a));

    const int rounds = envCount("TAVRO_KILL_ROUNDS", 12);
    QRandomGenerator random(QRandomGenerator::global()->generate());
    QElapsedTimer clock;
    clock.start();
    int done = 0;
    int changed = 0;
    QByteArray last = a;
    for (; done < rounds && clock.elapsed() < 20000; ++done) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-loop"), path});
        QVERIFY(child.waitForStarted());
        QThread::usleep(random.bounded(2000, 60000));
        child.kill();
        QVERIFY(child.waitForFinished());
        const QByteArray now = contents(path);
        QVERIFY2(now == a || now == b,
                 qPrintable(QStringLiteral("round %1: %2 bytes").arg(done).arg(now.size())));
        const QString bak = backupPathFor(path);
        if (QFile::exists(bak)) {
            const QByteArray old = contents(bak);
            QVERIFY2(old == a || old == b, qPrintable(QStringLiteral("backup, round %1").arg(done)));
        }
        changed += now != last;
        last = now;
    }
    qInfo("%d kills, the file changed between %d of them", done, changed);

    // Whatever temporary files the kills left are removed by a save once a day old.
    QDir folder(tmp.path());
    const QStringList left = folder.entryList({QStringLiteral("*.tavro-tmp")}, QDir::Files);
    for (const QString &name : left) {
        QFile f(folder.filePath(name));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    }
    QVERIFY(saveFileAtomically(path, a, nullptr, Backup::OneGeneration));
    QCOMPARE(folder.entryList({QStringLiteral("101国語.dat.*")}, QDir::Files), QStringList());
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    // The arguments through Qt: a Japanese file name survives on Windows whatever the code page.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--save-loop"))
        return saveLoop(args[2]);
    FileSaveKillTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FileSaveKillTest.moc"
