#include "common/FileSave.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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

    // The temporary file cannot be created: the old file and no backup stay.
    QVERIFY(QDir(tmp.path()).mkdir("a.dat.tmp"));
    QString error;
    QVERIFY(!saveFileAtomically(path, "new", &error, Backup::OneGeneration));
    QVERIFY(error.startsWith("ファイルを保存できませんでした。"));
    QCOMPARE(contents(path), QByteArray("old"));
    QVERIFY(!QFile::exists(tmp.filePath("a.bak")));

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

QTEST_GUILESS_MAIN(FileSaveTest)
#include "FileSaveTest.moc"
