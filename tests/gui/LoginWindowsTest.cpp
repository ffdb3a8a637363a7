#include "app/DemoSchool.h"
#include "app/Password.h"
#include "app/SharedLock.h"
#include "app/ui/MainForm.h"
#include "app/ui/PassWordCheck1Form.h"
#include "app/ui/PermissionForm1.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/IniFile.h"
#include "support/gui/GuiFixture.h"
#include "widgets/RadioGroup.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tavro;
using tavro::test::GuiFixture;
using tavro::test::whenShown;

namespace {

const QString kPassword = QString::fromUtf8(DemoSchool::kTeacherPassword);

LoginInputs inputs(const GuiFixture &f, const QString &grade, const QString &subject, bool readOnly = false) {
    return LoginInputs{
        "成績処理TAVRO for Windows Ver.5", GuiFixture::kNendo, grade, subject, f.dataFolder(), readOnly};
}

void click(QWidget *root, const char *name) {
    auto *button = GuiFixture::child<QPushButton>(root, name);
    QVERIFY2(button && button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton);
}

void typeInto(QWidget *root, const char *name, const QString &text) {
    auto *edit = GuiFixture::child<QLineEdit>(root, name);
    edit->clear();
    GuiFixture::typeText(edit, text);
}

QStringList logLines(const QString &lockName) {
    QStringList lines;
    readTextLines(SharedLock::logPath(lockName), lines);
    return lines;
}

} // namespace

class LoginWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void loginDialogChecksPasswordAndAssignment();
    void viewOnlyDialogOffersOnlyViewing();
    void passwordChangeInTheDialog();
    void nextLogsInLocksAndReleases();
    void nextWithoutClassesOpensNothing();
    void administrationPageUnlocksAndStores();
    void permissionWindowStoresTheChecks();
};

void LoginWindowsTest::loginDialogChecksPasswordAndAssignment() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    f.userStore().writeInt("Input", "Teacher", 2);
    TPassWordCheck1Form dialog(f.platform(), inputs(f, "1", "国語"));
    QVERIFY(GuiFixture::showAt(&dialog, dialog.sizeHint()));
    QCOMPARE(dialog.windowTitle(), QString("　2024年度 1年生 国語 - 成績処理TAVRO for Windows Ver.5"));
    QCOMPARE(GuiFixture::child<QLabel>(&dialog, "HeadingLabel")->text(), QString("　2024年度 1年生 国語"));
    auto *list = GuiFixture::child<QListWidget>(&dialog, "TeacherList");
    QCOMPARE(list->count(), DemoSchool::teacherNames().size());
    QCOMPARE(list->currentRow(), 2);
    QCOMPARE(GuiFixture::child<QLineEdit>(&dialog, "PasswordEdit")->echoMode(), QLineEdit::Password);

    // 内田 (row 2) does not teach 国語 in grade 1; 井上 (row 1) does.
    typeInto(&dialog, "PasswordEdit", kPassword);
    click(&dialog, "OKButton");
    QVERIFY(f.lastMessage().startsWith("入力や訂正をする権限がありません。"));
    QVERIFY(dialog.isVisible());
    list->setCurrentRow(1);
    typeInto(&dialog, "PasswordEdit", "9999");
    QTest::keyClick(GuiFixture::child(&dialog, "PasswordEdit"), Qt::Key_Return); // OK is the default
    QCOMPARE(f.lastMessage(), QString("パスワードが違います。"));
    QVERIFY(dialog.isVisible());
    typeInto(&dialog, "PasswordEdit", kPassword);
    click(&dialog, "OKButton");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.loginResult().teacherName, DemoSchool::teacherNames().at(1));
    QCOMPARE(dialog.loginResult().chargeClasses, QString("123"));
    QVERIFY(!dialog.loginResult().readOnly);
    QCOMPARE(f.userStore().readInt("Input", "Teacher"), 1);
}

void LoginWindowsTest::viewOnlyDialogOffersOnlyViewing() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TPassWordCheck1Form dialog(f.platform(), inputs(f, "1", "国語", true));
    for (const char *name :
         {"OKButton", "PasswordEdit", "NewPasswordEdit", "ConfirmPasswordEdit", "HenkouButton"})
        QVERIFY2(!GuiFixture::child(&dialog, name)->isEnabled(), name);
    QVERIFY(GuiFixture::showAt(&dialog, dialog.sizeHint()));
    GuiFixture::child<QListWidget>(&dialog, "TeacherList")->setCurrentRow(0); // 青山: not in charge
    click(&dialog, "EtsuranButton");
    QCOMPARE(f.lastMessage(), QString("選択した教師は担当していません。"));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    TPassWordCheck1Form again(f.platform(), inputs(f, "1", "国語", true));
    QVERIFY(GuiFixture::showAt(&again, again.sizeHint()));
    GuiFixture::child<QListWidget>(&again, "TeacherList")->setCurrentRow(1);
    click(&again, "EtsuranButton");
    QCOMPARE(again.result(), int(QDialog::Accepted));
    QVERIFY(again.loginResult().readOnly);
}

void LoginWindowsTest::passwordChangeInTheDialog() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TPassWordCheck1Form dialog(f.platform(), inputs(f, "1", "国語"));
    QVERIFY(GuiFixture::showAt(&dialog, dialog.sizeHint()));
    const QString teacher = DemoSchool::teacherNames().at(1);
    GuiFixture::child<QListWidget>(&dialog, "TeacherList")->setCurrentRow(1);
    typeInto(&dialog, "PasswordEdit", "xxxx");
    typeInto(&dialog, "NewPasswordEdit", "abcd");
    typeInto(&dialog, "ConfirmPasswordEdit", "abce");
    click(&dialog, "HenkouButton");
    QCOMPARE(f.prompter().shown().size(), 2);
    QCOMPARE(storedTeacherPassword(f.dataFolder(), teacher), scramble(kPassword, "9153"));

    typeInto(&dialog, "PasswordEdit", kPassword);
    typeInto(&dialog, "ConfirmPasswordEdit", "abcd");
    click(&dialog, "HenkouButton");
    QCOMPARE(f.lastMessage(), teacher + "先生の正常にパスワードが更新されました。");
    QCOMPARE(storedTeacherPassword(f.dataFolder(), teacher), scramble("abcd", "9153"));
    QVERIFY(GuiFixture::child<QLineEdit>(&dialog, "NewPasswordEdit")->text().isEmpty());
    QVERIFY(dialog.isVisible());
    typeInto(&dialog, "PasswordEdit", "abcd");
    click(&dialog, "OKButton");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

// A teacher logs in through the dialog: while the window is open the lock file exists and the log
// has its line; when the window closes the lock file is gone and the log line stays.
void LoginWindowsTest::nextLogsInLocksAndReleases() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    for (const char *name : {"NextButton1", "NextButton2", "NextButton3", "NextButton4"})
        QVERIFY2(!GuiFixture::child(&form, name)->isEnabled(), name);

    const QString lockName = SharedLock::lockName(f.dataFolder(), GuiFixture::kNendo, "", "1", "国語");
    int opened = 0;
    bool lockedWhileOpen = false;
    QStringList logWhileOpen;
    WorkingContext openedWith;
    form.setDataWindowOpener(DataPage::Compulsory, [&](const WorkingContext &c) {
        ++opened;
        openedWith = c;
        lockedWhileOpen = QFile::exists(lockName);
        logWhileOpen = logLines(lockName);
    });
    QVERIFY(GuiFixture::child(&form, "NextButton3")->isEnabled());
    QVERIFY(!GuiFixture::child(&form, "NextButton4")->isEnabled());
    QVERIFY(GuiFixture::showAt(&form));
    form.radioGroup("gakunen3")->button(0)->click();
    form.radioGroup("kyouka3")->button(0)->click();

    // Cancel: nothing opened, no lock left behind.
    whenShown<TPassWordCheck1Form>([](TPassWordCheck1Form *d) { click(d, "CancelButton"); });
    click(&form, "NextButton3");
    QCOMPARE(opened, 0);
    QVERIFY(!QFileInfo::exists(lockName));

    const QString teacher = DemoSchool::teacherNames().at(1);
    whenShown<TPassWordCheck1Form>([](TPassWordCheck1Form *d) {
        GuiFixture::child<QListWidget>(d, "TeacherList")->setCurrentRow(1);
        typeInto(d, "PasswordEdit", kPassword);
        click(d, "OKButton");
    });
    click(&form, "NextButton3");
    QCOMPARE(opened, 1);
    QVERIFY(lockedWhileOpen);
    QCOMPARE(logWhileOpen, QStringList{"2024/06/10 9:30:00 " + teacher + " tanaka@PC-SHOKUIN01"});
    QCOMPARE(openedWith.teacherName, teacher);
    QCOMPARE(openedWith.chargeClasses, QString("123"));
    QCOMPARE(openedWith.gakunen, QString("1"));
    QCOMPARE(openedWith.kyouka, QString("国語"));
    QVERIFY(!openedWith.readOnly);
    QVERIFY(!QFileInfo::exists(lockName));
    QCOMPARE(logLines(lockName).size(), 1);
    QCOMPARE(form.context().teacherName, teacher);
    QVERIFY(f.prompter().shown().isEmpty());
}

void LoginWindowsTest::nextWithoutClassesOpensNothing() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    int opened = 0;
    form.setDataWindowOpener(DataPage::PeriodicTest, [&](const WorkingContext &) { ++opened; });
    form.radioGroup("gakunen1")->button(3)->click(); // grade 4 has no classes
    // Any login dialog would be a fault: close it so the test cannot hang.
    bool dialogShown = false;
    whenShown<TPassWordCheck1Form>([&](TPassWordCheck1Form *d) {
        dialogShown = true;
        d->reject();
    });
    QCOMPARE(form.nextClick(DataPage::PeriodicTest), NextResult::NoClasses);
    QCOMPARE(f.lastMessage(), QString("学級が存在しません。\r\n管理者に確認をとってください。"));
    QCOMPARE(f.prompter().shown().first().caption, QString("Tavro"));
    QCOMPARE(opened, 0);
    QVERIFY(!dialogShown);
    QTest::qWait(30); // let a stray dialog show up if there were one
    QVERIFY(!dialogShown);
}

void LoginWindowsTest::administrationPageUnlocksAndStores() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    QVERIFY(GuiFixture::showAt(&form));
    GuiFixture::child<QTabWidget>(&form, "PageControl1")->setCurrentIndex(5);
    QWidget *lockPanel = GuiFixture::child(&form, "LockPanel");
    QWidget *adminPanel = GuiFixture::child(&form, "AdminPanel");
    QVERIFY(lockPanel->isVisible() && !adminPanel->isVisible());

    typeInto(&form, "LockPasswordEdit", "Admin");
    click(&form, "NinsyouButton");
    QCOMPARE(f.lastMessage(), QString("パスワードが間違っています。"));
    QVERIFY(!adminPanel->isVisible());
    typeInto(&form, "LockPasswordEdit", QString::fromUtf8(DemoSchool::kAdminPassword));
    QTest::keyClick(GuiFixture::child(&form, "LockPasswordEdit"), Qt::Key_Return);
    QVERIFY(adminPanel->isVisible() && !lockPanel->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), GuiFixture::child<QWidget>(&form, "SchoolNameEdit"));

    f.prompter().clear();
    click(&form, "StoreButton");
    QCOMPARE(f.prompter().texts(), QStringList{"パスワードがありません。"});

    auto *name = GuiFixture::child<QLineEdit>(&form, "SchoolNameEdit");
    name->selectAll();
    GuiFixture::typeText(name, "市立みなと小学校");
    typeInto(&form, "AdminPasswordEdit", "kanri");
    form.radioGroup("SchoolKindGroup")->button(0)->click();
    click(&form, "StoreButton");
    QCOMPARE(f.lastMessage(), QString("設定を記憶しました。"));
    const MainSettings stored = MainSettings::load(f.dataFolder());
    QCOMPARE(stored.schoolName, QString("市立みなと小学校"));
    QCOMPARE(stored.password, scramble("kanri", "8093"));
    QCOMPARE(stored.schoolKind, 0);
    QCOMPARE(GuiFixture::child<QLabel>(&form, "SchoolNameLabel")->text(), QString("市立みなと小学校"));
    QVERIFY(!GuiFixture::child<QTabWidget>(&form, "PageControl1")->isTabVisible(0));
    QCOMPARE(form.radioGroup("kyouka3")->items().at(2), QString("算数"));
    QVERIFY(adminPanel->isVisible()); // storing does not lock the page again
    // The teachers' passwords stay in the file.
    QCOMPARE(storedTeacherPassword(f.dataFolder(), DemoSchool::teacherNames().first()),
             scramble(kPassword, "9153"));
}

void LoginWindowsTest::permissionWindowStoresTheChecks() {
    GuiFixture f;
    QVERIFY(f.writeSampleSchool()); // no administrator password; 1学期中間 and 1学期期末 permitted
    f.userStore().writeInt("Settings", "Permission", 2);
    TMainForm form(f.platform(), f.context());
    QVERIFY(form.context().teikiTest[0]);

    QStringList captions;
    int startPage = -1;
    whenShown<TPermissionForm1>([&](TPermissionForm1 *w) {
        auto *pages = GuiFixture::child<QTabWidget>(w, "PageControl1");
        for (int i = 0; i < pages->count(); ++i)
            captions.append(pages->tabText(i));
        startPage = pages->currentIndex();
        auto *teiki = GuiFixture::child<QListWidget>(w, "CheckListBox1");
        QCOMPARE(teiki->count(), 5);
        QCOMPARE(teiki->item(0)->checkState(), Qt::Checked);
        teiki->item(0)->setCheckState(Qt::Unchecked);
        teiki->item(4)->setCheckState(Qt::Checked);
        GuiFixture::child<QListWidget>(w, "CheckListBox4")->item(1)->setCheckState(Qt::Checked);
        pages->setCurrentIndex(1);
        click(w, "OKButton");
    });
    click(&form, "PermissionButton");
    QCOMPARE(captions, QStringList({"定期", "学力(実力)", "必修評定", "選択評定"}));
    QCOMPARE(startPage, 2);
    QCOMPARE(f.userStore().readInt("Settings", "Permission"), 1);
    const IniFile ini(paths::yearSettingsFile(f.dataFolder(), GuiFixture::kNendo));
    QVERIFY(!ini.readBool("Permission", "TeikiTest1", true));
    QVERIFY(ini.readBool("Permission", "TeikiTest5", false));
    QVERIFY(ini.readBool("Permission", "HyouteiS2", false));
    // The main window has read the flags again.
    QVERIFY(!form.context().teikiTest[0]);
    QVERIFY(form.context().teikiTest[4]);
}

QTEST_MAIN(LoginWindowsTest)
#include "LoginWindowsTest.moc"
