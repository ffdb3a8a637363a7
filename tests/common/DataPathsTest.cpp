#include "common/DataPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class DataPathsTest : public QObject {
    Q_OBJECT
private slots:
    void fileNames();
    void ensureFolderIsOneLevel();
    void resolveIgnoresCase();
    void safeNames_data();
    void safeNames();
};

void DataPathsTest::fileNames() {
    QCOMPARE(paths::withTrailingSeparator("/d/data"), QString("/d/data/"));
    QCOMPARE(paths::withTrailingSeparator("/d/data/"), QString("/d/data/"));
    QCOMPARE(paths::yearSettingsFile("/d/data/", 2024), QString("/d/data/2024/Tavro2024.ini"));
    QCOMPARE(paths::rosterFile("/d/", 2024, 3), QString("/d/2024/2024NA3.tvp"));
    QCOMPARE(paths::memberListFile("/d/", 2024, 3, "選択英語G"), QString("/d/2024/2024S3選択英語G.lst"));
    QCOMPARE(paths::mainSettingsFile("/d"), QString("/d/Tavro_Main.ini"));
}

void DataPathsTest::ensureFolderIsOneLevel() {
    QTemporaryDir tmp;
    const QString nested = tmp.filePath("a/b");
    QVERIFY(!paths::ensureFolder(nested)); // parent missing: no recursive creation
    QVERIFY(!QDir(tmp.filePath("a")).exists());
    QCOMPARE(paths::ensureYearFolder(tmp.path(), 2024), tmp.filePath("2024"));
    QVERIFY(QDir(tmp.filePath("2024")).exists());
    QVERIFY(paths::ensureFolder(tmp.filePath("2024"))); // already there
}

void DataPathsTest::resolveIgnoresCase() {
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkpath("2024/test"));
    QFile f(tmp.filePath("2024/test/kanten2024.def"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QString exact = tmp.filePath("2024/test/kanten2024.def");
    QCOMPARE(paths::resolveExisting(tmp.filePath("2024/Test/Kanten2024.DEF")), exact);
    QVERIFY(paths::fileExists(tmp.filePath("2024/TEST/KANTEN2024.def")));
    const QString missing = tmp.filePath("2024/Test/other.def");
    QCOMPARE(paths::resolveExisting(missing), tmp.filePath("2024/test/other.def")); // new file, old folder
    QVERIFY(!paths::fileExists(missing));
    QCOMPARE(paths::resolveExisting(tmp.filePath("x/y")), tmp.filePath("x/y"));
}

void DataPathsTest::safeNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("kanji") << QString("山田太郎") << true;
    QTest::newRow("machine-dependent but cp932") << QString("技家Ⅰ①") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("spaces only") << QString("  ") << false;
    QTest::newRow("slash") << QString("a/b") << false;
    QTest::newRow("dot dot") << QString("..") << false;
    QTest::newRow("tab") << QString("a\tb") << false;
    QTest::newRow("del") << QString("a\x7f") << false;
    QTest::newRow("colon") << QString("a:b") << false;
    QTest::newRow("emoji") << QString::fromUtf8("山😀") << false;
    // Names Windows cannot hold or would change.
    QTest::newRow("trailing dot") << QString("山田.") << false;
    QTest::newRow("trailing space") << QString("山田 ") << false;
    QTest::newRow("inner space, dot") << QString("山田 太郎.2") << true;
    QTest::newRow("device") << QString("con") << false;
    QTest::newRow("device with extension") << QString("NUL.txt") << false;
    QTest::newRow("device COM1") << QString("Com1") << false;
    QTest::newRow("device LPT9") << QString("LPT9") << false;
    QTest::newRow("not a device: COM0") << QString("COM0") << true;
    QTest::newRow("not a device: CONSOLE") << QString("CONSOLE") << true;
    QTest::newRow("not a device: full-width") << QString("ＣＯＮ") << true;
}

void DataPathsTest::safeNames() {
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QString reason;
    QCOMPARE(paths::isSafeName(name, &reason), safe);
    QCOMPARE(reason.isEmpty(), safe);
}

QTEST_GUILESS_MAIN(DataPathsTest)
#include "DataPathsTest.moc"
