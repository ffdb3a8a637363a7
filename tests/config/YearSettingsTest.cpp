#include "config/YearSettings.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class YearSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void defaults();
    void everyKeyRoundTrips();
    void keySpellingAndUnknownLines();
    void outOfRangeValues();
};

void YearSettingsTest::defaults() {
    QTemporaryDir tmp;
    const YearSettings s = YearSettings::load(tmp.path(), 2024);
    QCOMPARE(s.gakuNameName[8], QString("学力テスト9回目"));
    QVERIFY(s.tTestKanten);
    QCOMPARE(s.mikomiPatern, 1);
    QCOMPARE(s.ichiranHoukou, 1);
    QVERIFY(s.testName[0].isEmpty());

    // A settings object built in memory starts from the same defaults as a missing file.
    const YearSettings fresh;
    QCOMPARE(fresh.gakuNameName, s.gakuNameName);
    QCOMPARE(fresh.mikomiPatern, s.mikomiPatern);
}

// Every key written away from its default must survive save and load.
void YearSettingsTest::everyKeyRoundTrips() {
    IniFile ini;
    YearSettings().writeTo(ini);
    for (const QString &section : ini.sections()) {
        for (const QString &key : ini.keys(section))
            ini.writeString(section, key, ini.readString(section, key) == "1" ? "0" : "1");
    }
    QTemporaryDir tmp;
    QString error;
    QVERIFY2(YearSettings::fromIni(ini).save(tmp.path(), 2024, &error), qPrintable(error));
    const YearSettings loaded = YearSettings::load(tmp.path(), 2024);
    IniFile back;
    loaded.writeTo(back);
    QCOMPARE(back.toBytes(), ini.toBytes());
    QCOMPARE(loaded.classCount[5], 1);
    QCOMPARE(loaded.mikomiPatern, 0);
}

void YearSettingsTest::keySpellingAndUnknownLines() {
    QTemporaryDir tmp;
    const QString path = paths::yearSettingsFile(tmp.path(), 2024);
    QVERIFY(QDir(tmp.path()).mkdir("2024"));
    QVERIFY(saveFileAtomically(path, "; kept\r\n[Test]\r\nOwnKey=x\r\nTestName1=A\r\n"));
    YearSettings s = YearSettings::load(tmp.path(), 2024);
    QCOMPARE(s.testName[0], QString("A"));
    s.hissu.hikaku[4] = 3;
    s.patterns[2].kigou[9] = "Z";
    s.consistencyItem[0] = 4;
    s.hyouteiS[4] = true;
    QVERIFY(s.save(tmp.path(), 2024));

    IniFile ini(path);
    QVERIFY(ini.toBytes().startsWith("; kept\r\n[Test]\r\nOwnKey=x\r\nTestName1=A\r\n"));
    QCOMPARE(ini.readInteger("Hyoutei", "Hikaku5", 0), 3);
    QCOMPARE(ini.readString("Patern3", "Kigou10"), QString("Z"));
    QCOMPARE(ini.readInteger("Hyoutei", "ConsistencyItem0", 0), 4);
    QCOMPARE(ini.readString("Permission", "HyouteiS5"), QString("1"));
    QCOMPARE(ini.readString("Test", "T_Test_Kanten"), QString("1"));
    QVERIFY(ini.valueExists("Sentaku", "KantenPatern5"));
    QVERIFY(!ini.valueExists("Hyoutei", "Hikaku1"));
    QVERIFY(ini.valueExists("Patern5", "TotatuDisp"));
    QVERIFY(ini.valueExists("Print", "IchiranHoukou"));
}

void YearSettingsTest::outOfRangeValues() {
    IniFile ini;
    ini.loadBytes("[ClassCount]\r\nClassCount1=99\r\nClassCount2=-1\r\n[Hyoutei]\r\nHyouteiPatern1=7\r\n"
                  "Hikaku2=2\r\n[Patern1]\r\nCutPoint1=150\r\n");
    const YearSettings s = YearSettings::fromIni(ini);
    QCOMPARE(s.classCount[0], 12);
    QCOMPARE(s.classCount[1], 0);
    QCOMPARE(s.hissu.hyouteiPatern[0], 0);
    QCOMPARE(s.hissu.hikaku[1], 0); // evaluation 2 can only be compared with evaluation 1
    QCOMPARE(s.patterns[0].cutPoint[0], 100);
}

QTEST_GUILESS_MAIN(YearSettingsTest)
#include "YearSettingsTest.moc"
