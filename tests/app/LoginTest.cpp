#include "app/Login.h"
#include "app/Administration.h"
#include "app/DemoSchool.h"
#include "app/Password.h"
#include "app/Permissions.h"
#include "app/Startup.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/IniFile.h"
#include "config/Electives.h"
#include "config/TeacherFile.h"
#include "config/YearSettings.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using Outcome = TeacherLogin::Outcome;
using Answer = Prompter::Answer;

namespace {

const QString kNoPassword =
    "パスワードが設定されていません。\r\n「パスワードの変更」でパスワードを設定してください。";
const QString kWrongPassword = "パスワードが違います。";
const QString kNotInCharge = "入力や訂正をする権限がありません。\r\n持ち学級または教師名を確認してください。";
const QString kWrongOld = "パスワードが間違っています。";
const QString kWrongConfirmation =
    "確認用パスワードが間違っています。\r\n\r\n"
    "「確認用パスワード」は「新しいパスワード」と\r\n同じものを入力してください。";

// A school of 2024 with four teachers; 山田 and 佐藤 have the password "pw", 鈴木 none.
struct School {
    QTemporaryDir dir;
    QString folder = QDir(dir.path()).filePath("data") + '/';
    test::ScriptedPrompter prompter;

    School() {
        QDir().mkpath(folder);
        TeacherFile file = TeacherFile::fromLines({
            "N山田太郎(1-1)",
            "N佐藤花子(2-0)",
            "N鈴木一郎(3-1)",
            "N田中(1-0)",
            "MT\t国語\t山田太郎\t1-1",
            "MT\t国語\t山田太郎\t1-3",
            "MT\t技家I\t佐藤花子\t2-2",
            "MT\t技家H\t佐藤花子\t2-1",
            "MT\t選択国語\t鈴木一郎\t3",
            "MT\t社会\t鈴木一郎\t1-1",
        });
        QVERIFY(file.save(folder, 2024));
        QVERIFY(storeTeacherPassword(folder, "山田太郎", "pw"));
        QVERIFY(storeTeacherPassword(folder, "佐藤花子", "pw"));
    }

    TeacherLogin login(const QString &grade, const QString &subject, bool readOnly = false) {
        TeacherLogin l(
            prompter, LoginInputs{"成績処理TAVRO for Windows Ver.5", 2024, grade, subject, folder, readOnly});
        l.load();
        return l;
    }
};

} // namespace

class LoginTest : public QObject {
    Q_OBJECT

private slots:
    void teacherListAndCaption();
    void okChecksPasswordThenAssignment();
    void technologyAndHomeEconomicsFallBack();
    void viewOnlyLogin();
    void passwordChange();
    void firstPasswordWithEmptyOldBox();
    void unsafeTeacherNamesAreRefused();
    void administratorPassword();
    void storeAdministrationFailureChangesNothing();
    void permissionFlagsFollowTheNonEmptyNames();
    void demoSchoolHasATeacherForEveryClass();
};

void LoginTest::teacherListAndCaption() {
    School s;
    QVERIFY(!QFileInfo::exists(s.folder + "2025"));
    TeacherLogin login(s.prompter,
                       LoginInputs{"成績処理TAVRO for Windows Ver.5", 2025, "1", "国語", s.folder, false});
    login.load();
    QVERIFY(QFileInfo(s.folder + "2025").isDir()); // the year folder is created on show
    QVERIFY(login.teachers().isEmpty());
    QCOMPARE(login.ok(0, "pw"), Outcome::Stay);
    QCOMPARE(login.view(0), Outcome::Stay); // no teachers: nothing happens
    QVERIFY(s.prompter.shown().isEmpty());

    TeacherLogin l = s.login("1", "国語");
    QCOMPARE(l.teachers(), QStringList({"山田太郎", "佐藤花子", "鈴木一郎", "田中"}));
    QCOMPARE(l.heading(), QString("　2024年度 1年生 国語"));
    QCOMPARE(l.caption(), QString("　2024年度 1年生 国語 - 成績処理TAVRO for Windows Ver.5"));
    QCOMPARE(l.assignments().first(), QString("T\t国語\t山田太郎\t1-1"));
}

void LoginTest::okChecksPasswordThenAssignment() {
    School s;
    TeacherLogin l = s.login("1", "国語");
    QCOMPARE(l.ok(-1, "pw"), Outcome::Stay);
    QCOMPARE(l.ok(2, "pw"), Outcome::Stay); // 鈴木 has no password yet
    QCOMPARE(l.ok(0, "PW"), Outcome::Stay);
    QCOMPARE(l.ok(1, "pw"), Outcome::Stay); // 佐藤 does not teach 国語 in grade 1
    QCOMPARE(s.prompter.texts(), QStringList({kNoPassword, kWrongPassword, kNotInCharge}));
    QCOMPARE(s.prompter.shown().first().caption, QString("Tavro"));

    QCOMPARE(l.ok(0, "pw"), Outcome::Ok);
    QCOMPARE(l.result().teacherName, QString("山田太郎"));
    QCOMPARE(l.result().chargeClasses, QString("13"));
    QVERIFY(!l.result().readOnly);
    QCOMPARE(s.prompter.shown().size(), 3);

    // Only the scrambled forms are compared: "wp" has the same bytes and so the same form.
    QCOMPARE(l.ok(0, "wp"), Outcome::Ok);
}

void LoginTest::technologyAndHomeEconomicsFallBack() {
    School s;
    TeacherLogin l = s.login("2", "技家");
    QCOMPARE(l.ok(1, "pw"), Outcome::Ok);
    QCOMPARE(l.result().chargeClasses, QString("21"));
    TeacherLogin only = s.login("2", "技家H");
    QCOMPARE(only.ok(1, "pw"), Outcome::Ok);
    QCOMPARE(only.result().chargeClasses, QString("1"));
}

void LoginTest::viewOnlyLogin() {
    School s;
    // In charge: OK, read-only even in the current year, and no password needed.
    TeacherLogin l = s.login("3", "選択国語");
    QCOMPARE(l.view(2), Outcome::Ok);
    QCOMPARE(l.result().teacherName, QString("鈴木一郎"));
    QVERIFY(l.result().readOnly);
    QVERIFY(s.prompter.shown().isEmpty());
    // Not in charge: the message, and the dialog ends with Cancel.
    QCOMPARE(l.view(3), Outcome::Cancel);
    QCOMPARE(s.prompter.texts(), QStringList{"選択した教師は担当していません。"});
    QCOMPARE(l.view(-1), Outcome::Cancel);

    // A login that starts read-only stays read-only.
    TeacherLogin past = s.login("1", "国語", true);
    QVERIFY(past.viewOnly());
    QCOMPARE(past.view(0), Outcome::Ok);
    QVERIFY(past.result().readOnly);
    QCOMPARE(past.result().chargeClasses, QString("13"));
}

void LoginTest::passwordChange() {
    School s;
    TeacherLogin l = s.login("1", "国語");
    const QString before = storedTeacherPassword(s.folder, "山田太郎");

    // Both checks run, so both messages can appear; nothing is stored.
    QVERIFY(!l.changePassword(0, "wrong", "new", "neu"));
    QCOMPARE(s.prompter.texts(), QStringList({kWrongOld, kWrongConfirmation}));
    QVERIFY(!l.changePassword(0, "pw", "new", "neu"));
    QVERIFY(!l.changePassword(0, "wrong", "new", "new"));
    QCOMPARE(s.prompter.texts().mid(2), QStringList({kWrongConfirmation, kWrongOld}));

    // Cancel at the question stores nothing.
    s.prompter.clear();
    s.prompter.script({Answer::Cancel});
    QVERIFY(!l.changePassword(0, "pw", "new", "new"));
    QCOMPARE(s.prompter.texts(), QStringList{"山田太郎先生のパスワードを変更します。\r\nよろしいですか?"});
    QCOMPARE(s.prompter.shown().first().buttons, Prompter::Buttons::OkCancel);
    QCOMPARE(storedTeacherPassword(s.folder, "山田太郎"), before);

    s.prompter.clear();
    QVERIFY(l.changePassword(0, "pw", "new", "new"));
    QCOMPARE(s.prompter.texts().last(), QString("山田太郎先生の正常にパスワードが更新されました。"));
    QCOMPARE(storedTeacherPassword(s.folder, "山田太郎"), scramble("new", "9153"));
    QCOMPARE(l.ok(0, "pw"), Outcome::Stay);
    QCOMPARE(l.ok(0, "new"), Outcome::Ok);
    // The other sections of the main settings file are kept.
    QCOMPARE(storedTeacherPassword(s.folder, "佐藤花子"), scramble("pw", "9153"));

    // An empty new password is allowed and then logs in with an empty box.
    QVERIFY(l.changePassword(0, "new", "", ""));
    QCOMPARE(l.ok(0, ""), Outcome::Ok);
}

void LoginTest::firstPasswordWithEmptyOldBox() {
    School s;
    TeacherLogin l = s.login("1", "社会");
    QCOMPARE(l.ok(2, ""), Outcome::Stay); // no password: OK never logs in
    QVERIFY(!l.changePassword(2, "x", "abc", "abc"));
    QVERIFY(l.changePassword(2, "", "abc", "abc"));
    QCOMPARE(l.ok(2, "abc"), Outcome::Ok);
    QCOMPARE(l.result().chargeClasses, QString("1"));
}

void LoginTest::unsafeTeacherNamesAreRefused() {
    School s;
    QVERIFY(writeTextLines(paths::teacherFile(s.folder, 2024),
                           {"N..\\x(1-1)", "N山=田(1-1)", "N 空白(1-1)", "MT\t国語\t..\\x\t1-1"}));
    const QStringList before = QDir(s.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    TeacherLogin l = s.login("1", "国語");
    QCOMPARE(l.teachers().size(), 3);
    for (int i = 0; i < 3; ++i) {
        s.prompter.clear();
        QCOMPARE(l.ok(i, ""), Outcome::Stay);
        QCOMPARE(l.view(i), Outcome::Stay);
        QVERIFY(!l.changePassword(i, "", "a", "a"));
        QCOMPARE(s.prompter.shown().size(), 3);
        QVERIFY(s.prompter.texts().first().startsWith("教師名「" + l.teachers()[i] + "」は使えません。"));
    }
    QVERIFY(l.result().teacherName.isEmpty());
    QCOMPARE(QDir(s.folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QVERIFY(!IniFile(paths::mainSettingsFile(s.folder)).keys("Password").contains("..\\x"));

    QString reason;
    QVERIFY(checkTeacherName("山田　太郎", &reason));
    QVERIFY(!checkTeacherName("a/b", &reason));
    QVERIFY(!checkTeacherName("山田(副)", &reason));
    QVERIFY(!checkTeacherName("[山田]", &reason));
}

void LoginTest::administratorPassword() {
    School s;
    WorkingContext c = loadContext(s.folder, 2024, 2024);
    QVERIFY(c.password.isEmpty());

    QByteArray before, after;
    QVERIFY(readWholeFile(paths::mainSettingsFile(s.folder), before));
    QVERIFY(!storeAdministration(s.prompter, c, "", 0));
    QCOMPARE(s.prompter.texts(), QStringList{"パスワードがありません。"});
    QVERIFY(readWholeFile(paths::mainSettingsFile(s.folder), after));
    QCOMPARE(after, before);

    c.schoolName = "市立みなと小学校";
    c.classType = false;
    s.prompter.clear();
    qsizetype shownWhenApplied = -1;
    QVERIFY(storeAdministration(s.prompter, c, "secret", 0,
                                [&] { shownWhenApplied = s.prompter.shown().size(); }));
    QCOMPARE(shownWhenApplied, 0); // the window is updated before the message
    QCOMPARE(s.prompter.texts(), QStringList{"設定を記憶しました。"});
    QCOMPARE(c.password, scramble("secret", "8093"));
    QCOMPARE(c.schoolKind, 0);
    const MainSettings stored = MainSettings::load(s.folder);
    QCOMPARE(stored.schoolName, QString("市立みなと小学校"));
    QCOMPARE(stored.password, c.password);
    QVERIFY(!stored.classType);
    QCOMPARE(stored.schoolKind, 0);
    QCOMPARE(storedTeacherPassword(s.folder, "山田太郎"), scramble("pw", "9153"));

    s.prompter.clear();
    QVERIFY(!authenticateAdministrator(s.prompter, "Secret", c.password));
    QCOMPARE(s.prompter.texts(), QStringList{"パスワードが間違っています。"});
    QVERIFY(authenticateAdministrator(s.prompter, "secret", c.password));
    QCOMPARE(s.prompter.shown().size(), 1);
}

void LoginTest::storeAdministrationFailureChangesNothing() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    QVERIFY(QDir().mkdir(paths::mainSettingsFile(folder))); // a folder where the file should be
    test::ScriptedPrompter prompter;
    WorkingContext c;
    c.dataFolder = folder;
    c.password = "B1234";
    QVERIFY(!storeAdministration(prompter, c, "secret", 0));
    QCOMPARE(prompter.shown().size(), 1);
    QVERIFY(prompter.texts().first().contains("保存できませんでした"));
    QCOMPARE(c.password, QString("B1234"));
    QCOMPARE(c.schoolKind, 1);
}

void LoginTest::permissionFlagsFollowTheNonEmptyNames() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    // Without names the periodic tests are listed as the main window lists them.
    InputPermissions fresh = InputPermissions::load(folder, 2024);
    QCOMPARE(fresh.pages[0].items.size(), 5);
    QCOMPARE(fresh.pages[0].items[0], QString("第1回定期テスト"));
    QCOMPARE(fresh.pages[1].items.size(), 9);
    QVERIFY(fresh.pages[2].items.isEmpty() && fresh.pages[3].items.isEmpty());

    YearSettings y;
    y.testName = {"中間", "", "期末", "", ""};
    y.hyouteiName = {"1学期", "", "", "学年末", ""};
    y.teikiTest = {false, true, false, false, true}; // key 2 belongs to the second listed test
    y.hyoutei = {true, false, false, false, false};
    y.gakuNameName[0].clear();
    QVERIFY(y.save(folder, 2024));

    InputPermissions p = InputPermissions::load(folder, 2024);
    QCOMPARE(p.pages[0].caption, QString("定期"));
    QCOMPARE(p.pages[0].heading, QString("定期テストの入力を許可するものにチェックを入れてください。"));
    QCOMPARE(p.pages[0].items, QStringList({"中間", "期末"}));
    QCOMPARE(p.pages[0].checked, QList<bool>({false, true}));
    QCOMPARE(p.pages[1].items.first(), QString("学力テスト2回目"));
    QCOMPARE(p.pages[2].items, QStringList({"1学期", "学年末"}));
    QCOMPARE(p.pages[2].checked, QList<bool>({true, false}));
    QCOMPARE(p.pages[3].key, QString("HyouteiS"));

    p.pages[0].checked = {true, false};
    p.pages[3].checked = {false, true};
    QVERIFY(p.save(folder, 2024));
    const IniFile ini(paths::yearSettingsFile(folder, 2024));
    QVERIFY(ini.readBool("Permission", "TeikiTest1", false));
    QVERIFY(!ini.readBool("Permission", "TeikiTest2", true));
    QVERIFY(ini.readBool("Permission", "TeikiTest5", false)); // beyond the list: untouched
    QVERIFY(ini.readBool("Permission", "HyouteiS2", false));
    QCOMPARE(ini.readString("Test", "TestName3"), QString("期末")); // the rest of the file is kept

    // The main window reads the flags by position, in line with its menus.
    WorkingContext c = loadContext(folder, 2024, 2024);
    reloadPermissions(c);
    QVERIFY(c.teikiTest[0] && !c.teikiTest[1]);
}

// Every subject of every page and every class of the demo school can be opened by some teacher, and
// every demo teacher logs in with the documented password.
void LoginTest::demoSchoolHasATeacherForEveryClass() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    QVERIFY(DemoSchool::write(folder, 2024));
    test::ScriptedPrompter prompter;
    QStringList subjects = compulsorySubjects(1) + periodicTestSubjects();
    subjects.removeDuplicates();
    for (int grade = 1; grade <= 3; ++grade) {
        const QString g = QString::number(grade);
        for (const QString &subject : subjects) {
            TeacherLogin login(prompter, LoginInputs{"", 2024, g, subject, folder, false});
            login.load();
            QCOMPARE(login.teachers(), DemoSchool::teacherNames());
            QString classes;
            for (int t = 0; t < login.teachers().size(); ++t)
                if (login.ok(t, QString::fromUtf8(DemoSchool::kTeacherPassword)) == Outcome::Ok)
                    for (QChar c : login.result().chargeClasses)
                        if (!classes.contains(c))
                            classes += c; // 技家: the 技家I and the 技家H teacher share the classes
            std::sort(classes.begin(), classes.end());
            QVERIFY2(classes == "123", qPrintable(g + subject + ": " + classes));
        }
        for (const QString &line : electivesOfGrade(electives::readLines(folder, 2024), grade)) {
            TeacherLogin login(prompter, LoginInputs{"", 2024, g, electives::nameOf(line), folder, false});
            login.load();
            int inCharge = 0;
            for (int t = 0; t < login.teachers().size(); ++t)
                inCharge +=
                    login.ok(t, QString::fromUtf8(DemoSchool::kTeacherPassword)) == Outcome::Ok ? 1 : 0;
            QVERIFY2(inCharge == 1, qPrintable(line));
        }
    }
    for (const QString &teacher : DemoSchool::teacherNames())
        QCOMPARE(storedTeacherPassword(folder, teacher),
                 scramble(QString::fromUtf8(DemoSchool::kTeacherPassword), "9153"));
    QVERIFY(adminPasswordMatches(QString::fromUtf8(DemoSchool::kAdminPassword),
                                 MainSettings::load(folder).password));
}

QTEST_GUILESS_MAIN(LoginTest)
#include "LoginTest.moc"
