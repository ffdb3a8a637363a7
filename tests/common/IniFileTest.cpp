#include "common/IniFile.h"
#include "common/FileSave.h"

#include <QFileInfo>
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

class IniFileTest : public QObject {
    Q_OBJECT
private slots:
    void reads();
    void writesKeepUntouchedLines();
    void newKeyGoesAfterLastLineOfSection();
    void newSectionIsAppended_data();
    void newSectionIsAppended();
    void saveOnlyWhenWritten();
    void unencodableTextFailsSave();
};

void IniFileTest::reads() {
    IniFile ini;
    ini.loadBytes("[Test]\r\n  TestName1 =  \x91\xe6\x82\x50\x89\xf1 \r\nCount=12\r\nBad=1x\r\nOn=-1\r\n"
                  "; comment=9\r\n[ print ]\r\nDanjoBetu=0\r\n");
    QCOMPARE(ini.readString("test", "testname1"), QString("第１回"));
    QCOMPARE(ini.readString("Test", "Missing", "def"), QString("def"));
    QCOMPARE(ini.readString("Other", "TestName1", "def"), QString("def"));
    QCOMPARE(ini.readInteger("Test", "Count", 0), 12);
    QCOMPARE(ini.readInteger("Test", "Bad", 7), 7);
    QCOMPARE(ini.readBool("Test", "On", false), true);
    QCOMPARE(ini.readBool("PRINT", "DanjoBetu", true), false);
    QCOMPARE(ini.keys("Test"), QStringList({"TestName1", "Count", "Bad", "On"})); // no comment line

    ini.deleteKey("TEST", "bad");
    ini.eraseSection("Print");
    QCOMPARE(ini.toBytes(), QByteArray("[Test]\r\n  TestName1 =  \x91\xe6\x82\x50\x89\xf1 \r\nCount=12\r\n"
                                       "On=-1\r\n; comment=9\r\n"));
}

void IniFileTest::writesKeepUntouchedLines() {
    // Odd spacing, a comment, an LF-only line and an undecodable byte survive untouched.
    const QByteArray original =
        "; \x83\x81\x83\x82\r\n[Test]\r\n  TestName1 = a \r\nX=\x80\xff\nT_Test_Kanten=1\r\n";
    IniFile ini;
    ini.loadBytes(original);
    ini.writeString("TEST", "testname1", "定期");
    ini.writeBool("Test", "T_Test_Kanten", true); // same value: line untouched
    QCOMPARE(ini.toBytes(),
             QByteArray("; \x83\x81\x83\x82\r\n[Test]\r\ntestname1=\x92\xe8\x8a\xfa\r\nX=\x80\xff\r\n"
                        "T_Test_Kanten=1\r\n"));
}

void IniFileTest::newKeyGoesAfterLastLineOfSection() {
    IniFile ini;
    ini.loadBytes("[A]\r\na=1\r\n\r\n\r\n[B]\r\nb=2\r\n");
    ini.writeInteger("a", "c", 3);
    ini.writeInteger("B", "d", 4);
    QCOMPARE(ini.toBytes(), QByteArray("[A]\r\na=1\r\nc=3\r\n\r\n\r\n[B]\r\nb=2\r\nd=4\r\n"));
}

void IniFileTest::newSectionIsAppended_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("last line not empty")
        << QByteArray("[A]\r\na=1\r\n") << QByteArray("[A]\r\na=1\r\n\r\n[N]\r\nk=v\r\n");
    QTest::newRow("last line empty") << QByteArray("[A]\r\na=1\r\n\r\n")
                                     << QByteArray("[A]\r\na=1\r\n\r\n[N]\r\nk=v\r\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[N]\r\nk=v\r\n");
}

void IniFileTest::newSectionIsAppended() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    IniFile ini;
    ini.loadBytes(before);
    ini.writeString("N", "k", "v");
    QCOMPARE(ini.toBytes(), after);
}

void IniFileTest::saveOnlyWhenWritten() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("Tavro2024.ini");
    IniFile missing(path);
    QVERIFY(!missing.existed());
    QVERIFY(missing.save());
    QVERIFY(!QFileInfo::exists(path)); // nothing written, nothing created

    missing.writeString("ClassCount", "ClassCount1", "4");
    QVERIFY(missing.save());
    QCOMPARE(contents(path), QByteArray("[ClassCount]\r\nClassCount1=4\r\n"));

    // Found without regard to case; reads do not mark the object modified.
    IniFile again(tmp.filePath("TAVRO2024.INI"));
    QCOMPARE(again.readInteger("ClassCount", "ClassCount1", 0), 4);
    again.writeInteger("ClassCount", "ClassCount1", 5);
    QVERIFY(again.save());
    QCOMPARE(again.path(), path);
    QCOMPARE(contents(path), QByteArray("[ClassCount]\r\nClassCount1=5\r\n"));
}

void IniFileTest::unencodableTextFailsSave() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("x.ini");
    IniFile ini(path);
    ini.writeString("S", "k", "ok");
    QVERIFY(ini.save());
    ini.writeString("S", "k", QString::fromUtf8("a😀"));
    QString error;
    QVERIFY(!ini.save(&error));
    QVERIFY(error.contains(QString::fromUtf8("😀")));
    QCOMPARE(contents(path), QByteArray("[S]\r\nk=ok\r\n"));
    // A line break in a value cannot add lines to the file.
    ini.writeString("S", "k", "a\r\n[Permission]");
    QCOMPARE(ini.toBytes(), QByteArray("[S]\r\nk=a  [Permission]\r\n"));
}

QTEST_GUILESS_MAIN(IniFileTest)
#include "IniFileTest.moc"
