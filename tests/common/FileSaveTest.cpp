#include "common/FileSave.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <map>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
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
    void noBackupNoReplacement();
    void backupLinkedToTheFile();
    void severalFilesAllOrNone();
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
        // The reason is the one of the failing write, not lost when the file is closed.
        QVERIFY2(error.contains("File too large"), qPrintable(error));
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

    // The next save removes only the day-old temporary files of this file and of its backup.
    QVERIFY(saveFileAtomically(path, "new", nullptr, Backup::OneGeneration));
    QCOMPARE(contents(path), QByteArray("new"));
    QStringList expected = fresh + others;
    expected.append("101国語.bak");
    expected.append("101国語.dat");
    expected.sort();
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files, QDir::Name), expected);
}

// A save whose backup cannot be made (here a folder holds the ".bak" name) does not replace the file:
// the previous bytes would be nowhere.
void FileSaveTest::noBackupNoReplacement() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("101国語.dat");
    QVERIFY(saveFileAtomically(path, "old"));
    QVERIFY(QDir(tmp.path()).mkpath("101国語.bak/中身"));
    QString error;
    QVERIFY(!saveFileAtomically(path, "new", &error, Backup::OneGeneration));
    QVERIFY2(error.startsWith("ファイルを保存できませんでした。"), qPrintable(error));
    QVERIFY2(error.contains("101国語.bak"), qPrintable(error));
    QCOMPARE(contents(path), QByteArray("old"));
    QVERIFY(QFileInfo(tmp.filePath("101国語.bak/中身")).isDir());
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), QStringList({"101国語.dat"}));
    // Without a backup asked for, the same save goes through.
    QVERIFY(saveFileAtomically(path, "new", &error));
    QCOMPARE(contents(path), QByteArray("new"));
}

// A save whose last rename failed leaves the ".bak" as a second name of the file; the next save keeps
// those bytes as the backup and leaves no temporary file.
void FileSaveTest::backupLinkedToTheFile() {
#ifdef Q_OS_UNIX
    QTemporaryDir tmp;
    const QString path = tmp.filePath("101国語.dat");
    QVERIFY(saveFileAtomically(path, "old"));
    QCOMPARE(::link(QFile::encodeName(path).constData(),
                    QFile::encodeName(tmp.filePath("101国語.bak")).constData()),
             0);
    QString error;
    QVERIFY2(saveFileAtomically(path, "new", &error, Backup::OneGeneration), qPrintable(error));
    QCOMPARE(contents(path), QByteArray("new"));
    QCOMPARE(contents(tmp.filePath("101国語.bak")), QByteArray("old"));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files, QDir::Name),
             QStringList({"101国語.bak", "101国語.dat"}));
#endif
}

void FileSaveTest::severalFilesAllOrNone() {
    QTemporaryDir tmp;
    QDir dir(tmp.path());
    const QString a = tmp.filePath("101国語.dat"), b = tmp.filePath("102国語.dat"),
                  c = tmp.filePath("103国語.dat");
    QVERIFY(saveFileAtomically(a, "a1", nullptr, Backup::OneGeneration));
    QVERIFY(saveFileAtomically(b, "b1", nullptr, Backup::OneGeneration));

    // All written: the old files become their backups, a new file gets none.
    QString error;
    QVERIFY2(saveFilesAtomically({{a, "a2"}, {b, "b2"}, {c, "c2"}}, &error, Backup::OneGeneration),
             qPrintable(error));
    QCOMPARE(contents(a), QByteArray("a2"));
    QCOMPARE(contents(backupPathFor(a)), QByteArray("a1"));
    QCOMPARE(contents(backupPathFor(b)), QByteArray("b1"));
    QCOMPARE(contents(c), QByteArray("c2"));
    QVERIFY(!QFile::exists(backupPathFor(c)));
    QStringList written = dir.entryList(QDir::Files, QDir::Name);
    QCOMPARE(written.size(), 5);

    // The last file cannot be renamed into place (a folder holds its name, which stops root as well):
    // the save stops before anything is renamed, and no file, backup or temporary file changes.
    const QString blocked = tmp.filePath("104国語.dat");
    QVERIFY(dir.mkpath("104国語.dat/x"));
    const QString fresh = tmp.filePath("100国語.dat");
    std::map<QString, QByteArray> before;
    for (const QString &name : written)
        before[name] = contents(tmp.filePath(name));
    QVERIFY(!saveFilesAtomically({{fresh, "new"}, {a, "a3"}, {b, "b3"}, {c, "c3"}, {blocked, "d3"}}, &error,
                                 Backup::OneGeneration));
    QVERIFY(error.startsWith("ファイルを保存できませんでした。"));
    QVERIFY(error.contains(QDir::toNativeSeparators(blocked)));
    QVERIFY(error.contains("同じ名前のフォルダがあります。"));
    QCOMPARE(dir.entryList(QDir::Files, QDir::Name), written);
    for (const QString &name : written)
        QCOMPARE(contents(tmp.filePath(name)), before[name]);

    // The ".bak" of the second file cannot be made (a folder holds its name): no file is replaced, so
    // none is new without its backup.
    QVERIFY(dir.mkpath("102国語.bak.d"));
    QVERIFY(QFile::remove(backupPathFor(b)));
    QVERIFY(dir.rename("102国語.bak.d", "102国語.bak"));
    QVERIFY(dir.mkpath("102国語.bak/x"));
    QVERIFY(!saveFilesAtomically({{a, "a5"}, {b, "b5"}}, &error, Backup::OneGeneration));
    QVERIFY2(error.contains("102国語.bak"), qPrintable(error));
    QCOMPARE(contents(a), QByteArray("a2"));
    QCOMPARE(contents(b), QByteArray("b2"));
    QVERIFY(dir.rmdir("102国語.bak/x") && dir.rmdir("102国語.bak"));
    written.removeOne(QStringLiteral("102国語.bak"));

    // A file whose temporary file cannot be written (its folder is missing): nothing is renamed.
    QVERIFY(!saveFilesAtomically({{a, "a4"}, {tmp.filePath("gone/105国語.dat"), "e4"}}, &error));
    QVERIFY(error.contains("105国語.dat"));
    QCOMPARE(dir.entryList(QDir::Files, QDir::Name), written);
    QCOMPARE(contents(a), QByteArray("a2"));
}

QTEST_GUILESS_MAIN(FileSaveTest)
#include "FileSaveTest.moc"
