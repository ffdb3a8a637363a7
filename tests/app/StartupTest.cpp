#include "app/Startup.h"
#include "app/DemoSchool.h"
#include "app/Password.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/IniFile.h"
#include "config/KantenFile.h"
#include "config/Roster.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QFileInfo>

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void schoolYear_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("year");
        QTest::newRow("31 March") << QDate(2025, 3, 31) << 2024;
        QTest::newRow("1 April") << QDate(2025, 4, 1) << 2025;
        QTest::newRow("1 January") << QDate(2025, 1, 1) << 2024;
        QTest::newRow("31 December") << QDate(2025, 12, 31) << 2025;
    }
    void schoolYear() {
        QFETCH(QDate, date);
        QFETCH(int, year);
        QCOMPARE(schoolYearOf(date), year);
    }

    void networkPaths() {
        QVERIFY(isNetworkPath(QStringLiteral("\\\\server\\share\\tavro.exe")));
        QVERIFY(isNetworkPath(QStringLiteral("//server/share/tavro")));
        QVERIFY(!isNetworkPath(QStringLiteral("D:\\tavro\\tavro.exe")));
        QVERIFY(!isNetworkPath(QStringLiteral("/opt/tavro/tavro")));
        QVERIFY(!isNetworkPath(QStringLiteral("\\tavro.exe")));
    }

    void programIni() {
        QCOMPARE(programIniPath(QStringLiteral("/opt/tavro/tavro")), QStringLiteral("/opt/tavro/tavro.INI"));
        QCOMPARE(programIniPath(QStringLiteral("C:/Tavro/Tavro.exe")), QStringLiteral("C:/Tavro/Tavro.INI"));
    }

    // No program-side ini and no main ini: the program folder + "data", created when missing.
    void dataFolderDefault() {
        QTemporaryDir dir;
        const QString program = dir.path() + QStringLiteral("/tavro");
        const QString folder = resolveDataFolder(program);
        QCOMPARE(folder, dir.path() + QStringLiteral("/data/"));
        QVERIFY(QFileInfo(folder).isDir());
    }

    // "DataFolder" with and without a trailing separator gives the same folder; the program-side
    // ini may name another main ini.
    void dataFolderFromIni_data() {
        QTest::addColumn<bool>("trailing");
        QTest::addColumn<bool>("viaMainIni");
        QTest::newRow("plain") << false << false;
        QTest::newRow("trailing separator") << true << false;
        QTest::newRow("through MainIniFile") << false << true;
    }
    void dataFolderFromIni() {
        QFETCH(bool, trailing);
        QFETCH(bool, viaMainIni);
        QTemporaryDir dir;
        const QString program = dir.path() + QStringLiteral("/tavro");
        const QString shared = dir.path() + QStringLiteral("/shared");
        QString iniWithFolder = programIniPath(program);
        if (viaMainIni) {
            iniWithFolder = dir.path() + QStringLiteral("/main.ini");
            IniFile programIni(programIniPath(program));
            programIni.writeString(QStringLiteral("Settings"), QStringLiteral("MainIniFile"), iniWithFolder);
            QVERIFY(programIni.save());
        }
        IniFile ini(iniWithFolder);
        ini.writeString(QStringLiteral("Settings"), QStringLiteral("DataFolder"),
                        shared + (trailing ? QStringLiteral("/") : QString()));
        QVERIFY(ini.save());
        QVERIFY(QDir().mkdir(shared));
        QCOMPARE(resolveDataFolder(program), shared + QStringLiteral("/"));
        const DataFolderLocation location = locateDataFolder(program);
        QVERIFY(location.configured);
        QVERIFY(location.missing.isEmpty());
    }

    // A data folder the settings name is never created, whether its parent exists or not (a network
    // drive renamed away or not connected); the folder beside the program is, for the first run.
    void dataFolderConfiguredIsNotCreated_data() {
        QTest::addColumn<QString>("configured");
        QTest::newRow("parent exists") << QStringLiteral("/share");
        QTest::newRow("parent missing") << QStringLiteral("/a/b");
    }
    void dataFolderConfiguredIsNotCreated() {
        QFETCH(QString, configured);
        QTemporaryDir dir;
        const QString program = dir.path() + QStringLiteral("/tavro");
        IniFile ini(programIniPath(program));
        ini.writeString(QStringLiteral("Settings"), QStringLiteral("DataFolder"), dir.path() + configured);
        QVERIFY(ini.save());
        QCOMPARE(resolveDataFolder(program), dir.path() + configured + QStringLiteral("/"));
        QCOMPARE(locateDataFolder(program).missing, dir.path() + configured + QStringLiteral("/"));
        QVERIFY(!QFileInfo::exists(dir.path() + configured));
        QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/data")));
    }

    // The start of the program while the configured data folder (or the main ini naming it) is missing:
    // the message names it, はい looks again, いいえ takes a chosen folder, キャンセル quits; nothing is
    // created on the way. Without any setting the folder beside the program is made without a question.
    void startupDataFolder_data() {
        QTest::addColumn<QString>("setting"); // DataFolder, MainIniFile or empty
        QTest::addColumn<QList<Prompter::Answer>>("answers");
        QTest::addColumn<bool>("appearsOnRetry");
        QTest::addColumn<QString>("result"); // "share", "chosen", "data" or empty for quit
        QTest::addColumn<int>("questions");
        using A = Prompter::Answer;
        QTest::newRow("first run") << QString() << QList<A>{} << false << "data" << 0;
        QTest::newRow("missing, quit") << "DataFolder" << QList<A>{A::Cancel} << false << QString() << 1;
        QTest::newRow("missing, retry, quit")
            << "DataFolder" << QList<A>{A::Yes, A::Cancel} << false << QString() << 2;
        QTest::newRow("back on retry") << "DataFolder" << QList<A>{A::Yes} << true << "share" << 1;
        QTest::newRow("another folder chosen") << "DataFolder" << QList<A>{A::No} << false << "chosen" << 1;
        QTest::newRow("main ini missing, quit")
            << "MainIniFile" << QList<A>{A::Cancel} << false << QString() << 1;
        QTest::newRow("main ini back on retry") << "MainIniFile" << QList<A>{A::Yes} << true << "share" << 1;
    }
    void startupDataFolder() {
        QFETCH(QString, setting);
        QFETCH(QList<Prompter::Answer>, answers);
        QFETCH(bool, appearsOnRetry);
        QFETCH(QString, result);
        QFETCH(int, questions);
        QTemporaryDir dir;
        const QString program = dir.path() + QStringLiteral("/tavro");
        const QString share = dir.path() + QStringLiteral("/share");
        const QString mainIni = dir.path() + QStringLiteral("/net/main.ini");
        const QString chosen = dir.path() + QStringLiteral("/chosen");
        QVERIFY(QDir().mkdir(chosen));
        if (!setting.isEmpty()) {
            IniFile ini(programIniPath(program));
            ini.writeString(QStringLiteral("Settings"), setting, setting == u"DataFolder" ? share : mainIni);
            QVERIFY(ini.save());
        }
        const QString missing = setting == u"MainIniFile" ? mainIni : share + u'/';
        test::ScriptedPrompter prompter;
        for (Prompter::Answer a : answers)
            prompter.script({a});
        prompter.whenAsked = [&](const QString &) -> std::optional<Prompter::Answer> {
            if (appearsOnRetry) { // the drive is connected while the message is up
                QDir().mkpath(share);
                QDir().mkpath(QFileInfo(mainIni).path());
                IniFile ini(mainIni);
                ini.writeString(QStringLiteral("Settings"), QStringLiteral("DataFolder"), share);
                ini.save();
            }
            return std::nullopt;
        };
        const std::optional<QString> folder =
            tavro::startupDataFolder(program, prompter, [&] { return chosen; });

        QCOMPARE(prompter.shown().size(), qsizetype(questions));
        for (const auto &shown : prompter.shown()) {
            QVERIFY2(shown.text.startsWith(dataFolderMissingMessage(missing)), qPrintable(shown.text));
            QVERIFY(shown.text.contains(QStringLiteral("ネットワークドライブ")));
            QCOMPARE(shown.buttons, Prompter::Buttons::YesNoCancel);
        }
        if (result.isEmpty()) {
            QVERIFY(!folder);
        } else {
            QVERIFY(folder);
            QCOMPARE(*folder, dir.path() + u'/' + result + u'/');
            QVERIFY(QFileInfo(*folder).isDir());
        }
        if (!appearsOnRetry)
            QVERIFY(!QFileInfo::exists(share));
        if (!setting.isEmpty())
            QVERIFY(!QFileInfo::exists(dir.path() + QStringLiteral("/data")));
    }

    // The main window's actions while the folder is gone: the message, nothing created.
    void checkDataFolderReports() {
        QTemporaryDir dir;
        test::ScriptedPrompter prompter;
        QVERIFY(checkDataFolder(dir.path() + u'/', prompter));
        QVERIFY(prompter.shown().isEmpty());
        const QString gone = dir.path() + QStringLiteral("/gone/");
        QVERIFY(!checkDataFolder(gone, prompter));
        QCOMPARE(prompter.texts(), QStringList{dataFolderMissingMessage(gone)});
        QVERIFY(dataFolderMissingMessage(gone).contains(QDir::toNativeSeparators(gone)));
        QVERIFY(!QFileInfo::exists(gone));
    }

    void mainSettingsDefaultsAndRoundTrip() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/");
        MainSettings s = MainSettings::load(folder);
        QCOMPARE(s.schoolName, MainSettings::defaultSchoolName());
        QVERIFY(s.password.isEmpty());
        QVERIFY(s.classType);
        QCOMPARE(s.schoolKind, 1);

        // Stored settings keep the teachers' password section.
        IniFile ini(paths::mainSettingsFile(folder));
        ini.writeString(QStringLiteral("Password"), QStringLiteral("山田太郎"), QStringLiteral("B1234"));
        QVERIFY(ini.save());
        s.schoolName = QStringLiteral("市立みどり小学校");
        s.classType = false;
        s.schoolKind = 0;
        s.password = scramble(QStringLiteral("pw"), QStringLiteral("8093"));
        QVERIFY(s.save(folder));
        const MainSettings r = MainSettings::load(folder);
        QCOMPARE(r.schoolName, s.schoolName);
        QCOMPARE(r.password, s.password);
        QVERIFY(!r.classType);
        QCOMPARE(r.schoolKind, 0);
        QCOMPARE(IniFile(paths::mainSettingsFile(folder))
                     .readString(QStringLiteral("Password"), QStringLiteral("山田太郎")),
                 QStringLiteral("B1234"));
    }

    // Empty names are skipped: later kinds move up and take the code of their position.
    void yearReloadSkipsEmptyNames() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/");
        paths::ensureYearFolder(folder, 2024);
        IniFile ini(paths::yearSettingsFile(folder, 2024));
        ini.writeString(QStringLiteral("Test"), QStringLiteral("TestName2"), QString());
        ini.writeString(QStringLiteral("Test"), QStringLiteral("TestName3"), QStringLiteral("2学期中間"));
        ini.writeInteger(QStringLiteral("Test"), QStringLiteral("GakuTestName"), 1);
        for (int n = 4; n <= 9; ++n)
            ini.writeString(QStringLiteral("Test"), QStringLiteral("GakuNameName%1").arg(n), QString());
        ini.writeString(QStringLiteral("Hyoutei"), QStringLiteral("HyouteiName1"), QStringLiteral("1学期"));
        ini.writeString(QStringLiteral("Hyoutei"), QStringLiteral("HyouteiName5"), QString());
        ini.writeInteger(QStringLiteral("ClassCount"), QStringLiteral("ClassCount2"), 4);
        ini.writeBool(QStringLiteral("Permission"), QStringLiteral("TeikiTest2"), true);
        ini.writeString(QStringLiteral("Permission"), QStringLiteral("GakuTest1"), QStringLiteral("x"));
        QVERIFY(ini.save());

        const YearMenus m = YearMenus::load(folder, 2024);
        QCOMPARE(m.testKinds.size(), 4);
        QCOMPARE(m.testKinds[0].name, QStringLiteral("第1回定期テスト"));
        QCOMPARE(m.testKinds[1].code, QStringLiteral("B"));
        QCOMPARE(m.testKinds[1].name, QStringLiteral("2学期中間"));
        QCOMPARE(m.testKinds[1].number, 3);
        QCOMPARE(m.testKinds[3].code, QStringLiteral("D"));
        QCOMPARE(m.gakuTestKinds.size(), 3);
        QCOMPARE(m.gakuTestKinds[2].code, QStringLiteral("3"));
        QCOMPARE(m.gakuTestKinds[2].name, QStringLiteral("学力テスト3回目"));
        QCOMPARE(m.gakuTestLabel(), QStringLiteral("実力テスト"));
        QCOMPARE(m.hyouteiNames, (QStringList{QStringLiteral("1学期"), QStringLiteral("必修評定2"),
                                              QStringLiteral("必修評定3"), QStringLiteral("必修評定4")}));
        QCOMPARE(m.classCount[1], 4);
        QCOMPARE(m.classCount[0], 0);
        QVERIFY(!m.teikiTest[0]);
        QVERIFY(m.teikiTest[1]);
        QVERIFY(!m.gakuTest[0]); // not a number: the default
        QVERIFY(m.tTestKanten);
        QVERIFY(!m.gTestKanten);
    }

    void subjectsBySchoolKind() {
        const QStringList elementary = compulsorySubjects(0);
        QCOMPARE(elementary.size(), 10);
        for (const char *s : {"算数", "生活", "図工", "体育B", "体育G", "家庭"})
            QVERIFY(elementary.contains(QString::fromUtf8(s)));
        QCOMPARE(compulsorySubjects(1).at(2), QStringLiteral("数学"));
        QCOMPARE(compulsorySubjects(1).last(), QStringLiteral("技家"));
        QVERIFY(compulsorySubjects(2).isEmpty());
        QCOMPARE(periodicTestSubjects().size(), 11);
    }

    void electiveLinesOfGrade() {
        const QStringList lines{QStringLiteral("1年選択国語"), QStringLiteral("3年選択英語G"),
                                QStringLiteral("1年選択英語"), QString()};
        QCOMPARE(electivesOfGrade(lines, 1),
                 (QStringList{QStringLiteral("1年選択国語"), QStringLiteral("1年選択英語")}));
        QCOMPARE(electivesOfGrade(lines, 2), QStringList());
    }

    void readOnlyRule() {
        QVERIFY(!readOnlyFor(2024, 2024));
        QVERIFY(readOnlyFor(2023, 2024));
        QVERIFY(readOnlyFor(2025, 2024));
        QVERIFY(readOnlyFor(2024, 2024, true, false));
        QVERIFY(!readOnlyFor(2024, 2024, true, true));
    }

    // The stored form: letter from h mod 25, digits from h followed by the constant.
    void scrambledPasswords() {
        QCOMPARE(scramble(QString(), QStringLiteral("8093")), QStringLiteral("A0809"));
        // "a" = 97: h = 97 * 1 / 2 = 48 -> 'A' + 23 = 'X', "48" + "9153" -> "4891".
        QCOMPARE(scramble(QStringLiteral("a"), QStringLiteral("9153")), QStringLiteral("X4891"));
        // "abcd": sum 394, p = 1576, h = 788 -> 'A' + 13 = 'N', "7888093" -> "7888".
        QCOMPARE(scramble(QStringLiteral("abcd"), QStringLiteral("8093")), QStringLiteral("N7888"));
        // Double-byte text counts its code page 932 bytes (あ = 0x82 0xA0: sum 290, p = 580, h = 290).
        QCOMPARE(scramble(QStringLiteral("あ"), QStringLiteral("8093")), QStringLiteral("P2908"));
        // h of four digits or more gives its own first four: "password" sums 883, p = 7064, h = 3532.
        QCOMPARE(scramble(QStringLiteral("password"), QStringLiteral("9153")), QStringLiteral("H3532"));
        // あいうえお: 10 bytes summing 1470, p = 14700, h = 7350 (7350 mod 25 = 0: "A").
        QCOMPARE(scramble(QStringLiteral("あいうえお"), QStringLiteral("9153")), QStringLiteral("A7350"));
        // An odd product is halved downwards: "aaa" sums 291, p = 873, h = 436.
        QCOMPARE(scramble(QStringLiteral("aaa"), QStringLiteral("9153")), QStringLiteral("L4369"));
    }

    // The demo school reads back as a complete junior high school and is never written twice.
    void demoSchool() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/data");
        QString error;
        QVERIFY2(DemoSchool::write(folder, 2024, &error), qPrintable(error));
        const WorkingContext c = loadContext(folder, 2024, 2024);
        QCOMPARE(c.schoolKind, 1);
        QCOMPARE(c.password, scramble(QString::fromUtf8(DemoSchool::kAdminPassword), QStringLiteral("8093")));
        QCOMPARE(c.classCount[0], 3);
        QCOMPARE(c.classCount[2], 3);
        QCOMPARE(c.classCount[3], 0);
        QVERIFY(!electivesOfGrade(c.sentakuList, 3).isEmpty());

        for (int grade = 1; grade <= 3; ++grade) {
            const std::vector<QString> names = roster::readNames(c.dataFolder, 2024, grade);
            for (int cls = 0; cls < 3; ++cls) {
                int students = 0, movedAway = 0, gaps = 0;
                bool ended = false;
                for (int seat = 0; seat < kSeatsPerClass; ++seat) {
                    const QString &name = names[cls * kSeatsPerClass + seat];
                    if (name.isEmpty()) {
                        ended = true;
                        continue;
                    }
                    if (ended)
                        ++gaps;
                    ended = false;
                    ++students;
                    if (name.startsWith(QStringLiteral("＊")))
                        ++movedAway;
                }
                QVERIFY(students >= 30 && students <= 36);
                QCOMPARE(movedAway, 1);
                QVERIFY(gaps >= 1);
            }
            QVERIFY(names[3 * kSeatsPerClass].isEmpty());
        }

        QStringList teacherLines;
        QVERIFY(readTextLines(paths::teacherFile(c.dataFolder, 2024), teacherLines));
        QVERIFY(teacherLines.first().startsWith(QStringLiteral("N") + DemoSchool::teacherNames().first() +
                                                QLatin1Char('(')));
        QVERIFY(
            teacherLines.contains(QStringLiteral("MT\t国語\t%1\t1-1").arg(DemoSchool::teacherNames().at(1))));

        // Every subject has its three viewpoints, compulsory and elective alike.
        QCOMPARE(kanten::load(c.dataFolder, 2024, QStringLiteral("技家")).usedCount(), 3);
        QCOMPARE(kanten::load(c.dataFolder, 2024, QStringLiteral("選択英語")).shortName[1],
                 QStringLiteral("思考"));

        QVERIFY(!DemoSchool::write(folder, 2024, &error));
        QVERIFY(error.contains(QStringLiteral("上書き")));
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "StartupTest.moc"
