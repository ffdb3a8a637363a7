#include "common/FileSave.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace tavro;

namespace {
QByteArray contents(const QString &path) {
    QByteArray bytes;
    readWholeFile(path, bytes);
    return bytes;
}
} // namespace

class FileSaveTest : public QObject {
    Q_OBJECT
private slots:
    void oneBackupGeneration();
    void failedSaveKeepsOldFile();
    void textLines();
    void temporaryNamesAndStaleOnes();
};

void FileSaveTest::oneBackupGeneration() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("国語山田.dat");
    for (const char *data : {"first", "second", "third"}) {
        QString error;
        QVERIFY2(saveFileAtomically(path, data, &error, Backup::OneGeneration), qPrintable(error));
    }
    QCOMPARE(contents(path), QByteArray("third"));
    QCOMPARE(contents(tmp.filePath("国語山田.bak")), QByteArray("second"));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files).size(), 2); // no temporary left behind
    QCOMPARE(backupPathFor("/d/x.y/noext"), QString("/d/x.y/noext.bak"));
}

void FileSaveTest::failedSaveKeepsOldFile() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("a.dat");
    QVERIFY(saveFileAtomically(path, "old", nullptr, Backup::OneGeneration));

    // The temporary file cannot be created (its name is too long for the file system): the old
    // file and no backup stay.
    const QString longPath = tmp.filePath(QString(240, u'a') + ".dat");
    {
        QFile f(longPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    QString error;
    QVERIFY(!saveFileAtomically(longPath, "new", &error, Backup::OneGeneration));
    QVERIFY(error.startsWith("ファイルを保存できませんでした。"));
    QCOMPARE(contents(longPath), QByteArray("old"));
    QVERIFY(!QFile::exists(backupPathFor(longPath)));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files).size(), 2);

#ifdef Q_OS_UNIX
    // Writing fails half-way (the file size limit stands in for a full disk): the temporary file is
    // removed and the old file stays.
    {
        struct rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = saveFileAtomically(path, QByteArray(100000, 'x'), &error, Backup::OneGeneration);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(!saved);
        QCOMPARE(contents(path), QByteArray("old"));
        QCOMPARE(QDir(tmp.path()).entryList({"a.*"}, QDir::Files), QStringList({"a.dat"}));
    }
#endif

    // The target is a folder.
    QVERIFY(QDir(tmp.path()).mkdir("dir.dat"));
    error.clear();
    QVERIFY(!saveFileAtomically(tmp.filePath("dir.dat"), "x", &error));
    QVERIFY(error.contains("dir.dat"));

    // Text that code page 932 cannot hold is refused before anything is written.
    QVERIFY(!writeTextLines(path, {"ok", QString::fromUtf8("😀")}, &error));
    QVERIFY(error.contains("2行目"));
    QCOMPARE(contents(path), QByteArray("old"));
}

void FileSaveTest::textLines() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("t.def");
    QVERIFY(writeTextLines(path, {"山田", "", "ｱ"}));
    QCOMPARE(contents(path), QByteArray("\x8e\x52\x93\x63\r\n\r\n\xb1\r\n"));
    QStringList lines;
    QVERIFY(readTextLines(path, lines));
    QCOMPARE(lines, QStringList({"山田", "", "ｱ"}));
    QCOMPARE(splitTextLines("a\rb\nc\r\n\r\n"), QStringList({"a", "b", "c", ""}));
    QVERIFY(!readTextLines(tmp.filePath("missing"), lines));
    QVERIFY(lines.isEmpty());
}

void FileSaveTest::temporaryNamesAndStaleOnes() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("101国語.dat");
    QVERIFY(saveFileAtomically(path, "old"));
    // Left behind by killed saves: of this file a day old and fresh, of another file, and a name of
    // another program.
    // Copies of the old file on their way to the ".bak" name are removed the same way.
    const QStringList stale{"101国語.dat.4242.k3j9x.tavro-tmp", "101国語.bak.4242.z81q.tavro-tmp"};
    const QStringList fresh{"101国語.dat.17.abc.tavro-tmp", "101国語.bak.17.abc.tavro-tmp"};
    const QStringList others{"102国語.dat.4242.k3j9x.tavro-tmp", "101国語.dat.tmp.tavro-tmp",
                             "101国語.dat.4242.K3.tavro-tmp", "102国語.bak.4242.z81q.tavro-tmp"};
    const QDateTime old = QDateTime::currentDateTime().addSecs(-25 * 3600);
    for (const QString &name : stale + fresh + others) {
        QFile f(tmp.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (!fresh.contains(name))
            QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
    }

    // The next save removes only the day-old temporary files of this file. Its backup cannot
    // replace a folder of that name; the file is saved all the same.
    QVERIFY(QDir(tmp.path()).mkdir("101国語.bak"));
    QVERIFY(saveFileAtomically(path, "new", nullptr, Backup::OneGeneration));
    QCOMPARE(contents(path), QByteArray("new"));
    QStringList expected = fresh + others;
    expected.append("101国語.dat");
    expected.sort();
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files, QDir::Name), expected);
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"101国語.bak"}));
}

QTEST_GUILESS_MAIN(FileSaveTest)
#include "FileSaveTest.moc"
