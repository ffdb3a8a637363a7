#include "app/ui/MainForm.h"
#include "Version.h"
#include "app/Startup.h"
#include "app/ui/SplashWindow.h"
#include "support/gui/GuiFixture.h"
#include "widgets/RadioGroup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tavro;
using tavro::test::GuiFixture;

namespace {

// "Input" values of the UserStore and the groups they restore.
const QList<QPair<QString, QString>> kInputValues = {
    {"Gakunen1", "gakunen1"},     {"Kyouka1", "kyouka1"},
    {"Test1", "test1"},           {"Gakunen2", "gakunen2"},
    {"Kyouka2", "kyouka2"},       {"Test2", "test2"},
    {"Gakunen3", "gakunen3"},     {"Kyouka3", "kyouka3"},
    {"Gakunen4", "gakunen4"},     {"Gakunen5", "gakunen5"},
    {"Test5", "Test5"},           {"Test6", "Test6"},
    {"Hyoutei1", "HyouteiGroup"}, {"Hyoutei2", "HyouteiGroup2"},
};

QStringList listItems(const QListWidget *list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i)->text());
    return items;
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void startsOnTheDemoSchool();
    void firstRunSelectsFirstItems();
    void storedSelectionsAreRestoredAndWrittenBack();
    void emptyTestNameClosesTheGap();
    void achievementTests_data();
    void achievementTests();
    void yearBoxReloadsTheYear();
    void elementarySchoolHidesTestTabs();
    void electivesFollowTheGrade();
    void administrationPage();
    void versionWindow();
    void panelStaysCentred();
    void rosterButtonChecksTheGrade();
    void administrationButtonsOpenTheirWindows();
    void buttonsReportAMissingDataFolder();
};

// The window as a newcomer first sees it: the demo school, shown at 1024 x 768.
void MainFormTest::startsOnTheDemoSchool() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    QVERIFY(GuiFixture::showAt(&form));
    QCOMPARE(form.windowTitle(), QString("成績処理TAVRO for Windows Ver.5"));
    QCOMPARE(GuiFixture::child<QLabel>(&form, "SchoolNameLabel")->text(), QString("市立さくら台中学校"));
    QCOMPARE(form.radioGroup("test1")->items().size(), 5);
    QCOMPARE(form.radioGroup("test2")->items().size(), 3);
    QCOMPARE(form.radioGroup("HyouteiGroup")->currentText(), QString("1学期評定"));
    QCOMPARE(form.radioGroup("kyouka3")->items(), compulsorySubjects(1));
    form.radioGroup("gakunen4")->button(2)->click();
    QCOMPARE(GuiFixture::child<QListWidget>(&form, "ListBox1")->count(), 2);
    // The demo school has an administrator password: the administration page starts locked.
    QVERIFY(GuiFixture::child(&form, "AdminPanel")->isHidden());
    QCOMPARE(form.context().classCount[2], 3);
}

void MainFormTest::firstRunSelectsFirstItems() {
    GuiFixture f;
    QVERIFY(f.writeSampleSchool());
    TMainForm form(f.platform(), f.context());

    QCOMPARE(form.windowTitle(), QStringLiteral("成績処理TAVRO for Windows Ver.5"));
    QCOMPARE(form.context().mainCaption, form.windowTitle());
    QCOMPARE(GuiFixture::child<QSpinBox>(&form, "nendo1")->value(), GuiFixture::kNendo);
    QCOMPARE(GuiFixture::child<QLabel>(&form, "SchoolNameLabel")->text(),
             QStringLiteral("みどり市立みどり中学校"));
    for (const auto &[value, group] : kInputValues)
        QVERIFY2(form.selectedIndex(group) == 0, qPrintable(group));
    auto *pages = GuiFixture::child<QTabWidget>(&form, "PageControl1");
    auto *subPages = GuiFixture::child<QTabWidget>(&form, "PageControl2");
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(pages->tabText(0), QStringLiteral("定期テスト"));
    QVERIFY(pages->isTabVisible(0) && pages->isTabVisible(1));
    QCOMPARE(subPages->currentIndex(), 0);
    QCOMPARE(form.radioGroup("HyouteiGroup")->items().size(), 5);
    QCOMPARE(form.radioGroup("kyouka3")->currentText(), QStringLiteral("国語"));
    QCOMPARE(form.context().classCount[2], 4);
}

void MainFormTest::storedSelectionsAreRestoredAndWrittenBack() {
    GuiFixture f;
    QVERIFY(f.writeSampleSchool());
    auto &store = f.userStore();
    store.writeInt("Input", "Hyoutei2", 3);
    store.writeInt("Input", "Gakunen1", 99); // beyond the items: the last one
    store.writeInt("Input", "Kyouka1", 10);
    store.writeInt("Input", "Test1", 7);
    store.writeInt("Input", "Gakunen4", 2);
    store.writeInt("ActivePage", "PageControl1", 4);
    store.writeInt("ActivePage", "PageControl2", 9);

    TMainForm form(f.platform(), f.context());
    QCOMPARE(form.selectedIndex("HyouteiGroup2"), 3);
    QCOMPARE(form.radioGroup("HyouteiGroup2")->currentText(), QStringLiteral("学年評定"));
    QCOMPARE(form.selectedIndex("HyouteiGroup"), 0);
    QCOMPARE(form.selectedIndex("gakunen1"), 5);
    QCOMPARE(form.radioGroup("kyouka1")->currentText(), QStringLiteral("技家H"));
    QCOMPARE(form.radioGroup("test1")->currentText(), QStringLiteral("学年末テスト"));
    QCOMPARE(listItems(GuiFixture::child<QListWidget>(&form, "ListBox1")),
             QStringList({"3年選択英語G", "3年選択数学"}));
    QCOMPARE(GuiFixture::child<QTabWidget>(&form, "PageControl1")->currentIndex(), 4);
    QCOMPARE(GuiFixture::child<QTabWidget>(&form, "PageControl2")->currentIndex(), 4);

    // The user's new choices are what closing writes.
    form.radioGroup("kyouka2")->button(3)->click();
    GuiFixture::child<QTabWidget>(&form, "PageControl1")->setCurrentIndex(2);
    QVERIFY(form.close());
    for (const auto &[value, group] : kInputValues) {
        QVERIFY2(store.contains("Input", value), qPrintable(value));
        QCOMPARE(store.readInt("Input", value, -99), form.selectedIndex(group));
    }
    QCOMPARE(store.readInt("Input", "Kyouka2"), 3);
    QCOMPARE(store.readInt("Input", "Gakunen1"), 5);
    QCOMPARE(store.readInt("Input", "Hyoutei2"), 3);
    QCOMPARE(store.readInt("ActivePage", "PageControl1"), 2);
    QCOMPARE(store.readInt("ActivePage", "PageControl2"), 4);
}

void MainFormTest::emptyTestNameClosesTheGap() {
    GuiFixture f;
    YearSettings year = GuiFixture::sampleYearSettings();
    year.testName[1].clear();
    QVERIFY(f.writeMainSettings(GuiFixture::sampleMainSettings()) && f.writeYearSettings(year));
    f.userStore().writeInt("Input", "Test5", 4); // the fifth position no longer exists
    TMainForm form(f.platform(), f.context());

    const QStringList expected{"1学期中間テスト", "2学期中間テスト", "2学期期末テスト", "学年末テスト"};
    QCOMPARE(form.radioGroup("test1")->items(), expected);
    QCOMPARE(form.radioGroup("Test5")->items(), expected);
    QCOMPARE(form.selectedIndex("test1"), 0);
    QCOMPARE(form.selectedIndex("Test5"), 3);
}

void MainFormTest::achievementTests_data() {
    QTest::addColumn<int>("gakuTestName");
    QTest::addColumn<int>("names");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("label");
    QTest::newRow("three") << 0 << 3 << 1 << "学力テスト";
    QTest::newRow("five") << 0 << 5 << 1 << "学力テスト";
    QTest::newRow("six") << 0 << 6 << 2 << "学力テスト";
    QTest::newRow("nine, 実力テスト") << 1 << 9 << 2 << "実力テスト";
}

void MainFormTest::achievementTests() {
    QFETCH(int, gakuTestName);
    QFETCH(int, names);
    QFETCH(int, columns);
    QFETCH(QString, label);
    GuiFixture f;
    YearSettings year = GuiFixture::sampleYearSettings();
    year.gakuTestName = gakuTestName;
    for (int n = names; n < 9; ++n)
        year.gakuNameName[n].clear();
    QVERIFY(f.writeYearSettings(year));
    TMainForm form(f.platform(), f.context());

    for (const char *name : {"test2", "Test6"}) {
        const RadioGroup *group = form.radioGroup(name);
        QCOMPARE(group->count(), names);
        QCOMPARE(group->columns(), columns);
        QCOMPARE(group->currentText(), QStringLiteral("学力テスト1回目"));
    }
    QCOMPARE(GuiFixture::child<QTabWidget>(&form, "PageControl1")->tabText(1), label);
    QCOMPARE(GuiFixture::child<QTabWidget>(&form, "PageControl2")->tabText(1), label);
    QCOMPARE(GuiFixture::child<QLabel>(&form, "GakuTestHeading")->text(), label + "の学年処理");
    QCOMPARE(GuiFixture::child<QLabel>(&form, "AchievementPageHeading")->text(),
             " 【" + label + "】 学年・教科・テスト種別を設定した後、［次へ］をクリックしてください");
}

void MainFormTest::yearBoxReloadsTheYear() {
    GuiFixture f;
    QVERIFY(f.writeSampleSchool());
    YearSettings next = GuiFixture::sampleYearSettings();
    next.testName = {"前期中間テスト", "前期期末テスト", "", "後期期末テスト", ""};
    next.gakuTestName = 1;
    next.classCount = {6, 5, 5, 0, 0, 0};
    QVERIFY(f.writeYearSettings(next, 2025));
    QVERIFY(f.writeElectives({"1年選択美術"}, 2025));

    TMainForm form(f.platform(), f.context());
    form.radioGroup("test1")->button(2)->click();
    auto *nendo1 = GuiFixture::child<QSpinBox>(&form, "nendo1");
    auto *list = GuiFixture::child<QListWidget>(&form, "ListBox1");
    QCOMPARE(listItems(list), QStringList{"1年選択国語A"});

    nendo1->stepUp();
    QCOMPARE(form.context().nendo, 2025);
    QCOMPARE(form.context().thisNendo, GuiFixture::kNendo);
    QCOMPARE(form.radioGroup("test1")->items(),
             QStringList({"前期中間テスト", "前期期末テスト", "後期期末テスト"}));
    QCOMPARE(form.selectedIndex("test1"), 0);
    QCOMPARE(form.context().classCount[0], 6);
    QCOMPARE(GuiFixture::child<QTabWidget>(&form, "PageControl1")->tabText(1), QStringLiteral("実力テスト"));
    QCOMPARE(listItems(list), QStringList{"1年選択美術"});

    // A year without settings reads the defaults.
    nendo1->setValue(2030);
    QCOMPARE(form.context().nendo, 2030);
    QCOMPARE(form.radioGroup("Test5")->items().size(), 5);
    QCOMPARE(form.radioGroup("Test5")->items().at(4), QStringLiteral("第5回定期テスト"));
    QCOMPARE(form.radioGroup("HyouteiGroup2")->items().at(0), QStringLiteral("必修評定1"));
    QCOMPARE(GuiFixture::child<QTabWidget>(&form, "PageControl2")->tabText(1), QStringLiteral("学力テスト"));
    QVERIFY(list->count() == 0);
}

void MainFormTest::elementarySchoolHidesTestTabs() {
    GuiFixture f;
    MainSettings settings = GuiFixture::sampleMainSettings();
    settings.schoolKind = 0;
    QVERIFY(f.writeMainSettings(settings) && f.writeYearSettings(GuiFixture::sampleYearSettings()));
    f.userStore().writeInt("Input", "Kyouka3", 2);
    TMainForm form(f.platform(), f.context());

    for (const char *name : {"PageControl1", "PageControl2"}) {
        auto *tabs = GuiFixture::child<QTabWidget>(&form, name);
        QVERIFY(!tabs->isTabVisible(0) && !tabs->isTabVisible(1));
        QVERIFY(tabs->isTabVisible(2));
        // The stored first page is hidden: the first visible page opens.
        QCOMPARE(tabs->currentIndex(), 2);
    }
    QCOMPARE(form.radioGroup("kyouka3")->items(),
             QStringList({"国語", "社会", "算数", "理科", "生活", "音楽", "図工", "体育B", "体育G", "家庭"}));
    QCOMPARE(form.radioGroup("kyouka3")->currentText(), QStringLiteral("算数"));
    QCOMPARE(form.radioGroup("SchoolKindGroup")->currentText(), QStringLiteral("小学校"));
}

void MainFormTest::electivesFollowTheGrade() {
    GuiFixture f;
    QVERIFY(f.writeSampleSchool());
    TMainForm form(f.platform(), f.context());
    auto *list = GuiFixture::child<QListWidget>(&form, "ListBox1");
    RadioGroup *gakunen4 = form.radioGroup("gakunen4");

    gakunen4->button(2)->click();
    QCOMPARE(listItems(list), QStringList({"3年選択英語G", "3年選択数学"}));
    gakunen4->button(5)->click();
    QCOMPARE(list->count(), 0);
    gakunen4->button(1)->click();
    QCOMPARE(listItems(list), QStringList{"2年選択音楽"});
}

void MainFormTest::administrationPage() {
    GuiFixture f;
    MainSettings settings = GuiFixture::sampleMainSettings();
    settings.password = "H1234";
    QVERIFY(f.writeMainSettings(settings));
    {
        TMainForm locked(f.platform(), f.context());
        QVERIFY(!GuiFixture::child(&locked, "LockPanel")->isHidden());
        QVERIFY(GuiFixture::child(&locked, "AdminPanel")->isHidden());
        QCOMPARE(GuiFixture::child<QLineEdit>(&locked, "LockPasswordEdit")->echoMode(), QLineEdit::Password);
    }

    settings.password.clear();
    settings.classType = false;
    QVERIFY(f.writeMainSettings(settings));
    TMainForm form(f.platform(), f.context());
    QVERIFY(GuiFixture::child(&form, "LockPanel")->isHidden());
    QVERIFY(!GuiFixture::child(&form, "AdminPanel")->isHidden());
    QCOMPARE(form.radioGroup("ClassTypeGroup")->currentIndex(), 1);

    // The school name and the class notation take effect at once.
    auto *name = GuiFixture::child<QLineEdit>(&form, "SchoolNameEdit");
    QCOMPARE(name->text(), settings.schoolName);
    name->selectAll();
    GuiFixture::typeText(name, "さくら中");
    QCOMPARE(form.context().schoolName, QStringLiteral("さくら中"));
    GuiFixture::typeText(name, "한");
    QCOMPARE(f.prompter().shown().size(), 1);
    QVERIFY(f.lastMessage().contains("한"));
    QCOMPARE(name->text(), QStringLiteral("さくら中"));
    QCOMPARE(form.context().schoolName, QStringLiteral("さくら中"));

    form.radioGroup("ClassTypeGroup")->button(0)->click();
    QVERIFY(form.context().classType);
    form.radioGroup("ClassTypeGroup")->button(1)->click();
    QVERIFY(!form.context().classType);
    // The school kind changes only when the settings are stored.
    form.radioGroup("SchoolKindGroup")->button(0)->click();
    QCOMPARE(form.context().schoolKind, 1);

    auto *description = GuiFixture::child<QLabel>(&form, "DescriptionLine");
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(GuiFixture::child(&form, "KantenButton"), &enter);
    QCOMPARE(description->text(), QStringLiteral("観点項目の設定をします。"));
    QApplication::sendEvent(GuiFixture::child(&form, "PermissionButton"), &enter);
    QCOMPARE(description->text(), QStringLiteral("テストや評定で、入力を可能にしたり、不可にしたりします。"));
    QApplication::sendEvent(GuiFixture::child(&form, "PermissionButton"), &leave);
    QVERIFY(description->text().isEmpty());
}

void MainFormTest::versionWindow() {
    GuiFixture f;
    QVERIFY(f.writeSampleSchool());
    TMainForm form(f.platform(), f.context());
    QVERIFY(GuiFixture::showAt(&form));

    QTest::mouseClick(GuiFixture::child<QPushButton>(&form, "VersionButton"), Qt::LeftButton);
    QPointer<TSplashWindow> splash = form.findChild<TSplashWindow *>();
    QVERIFY(splash);
    QTRY_VERIFY(splash->isVisible());
    QCOMPARE(splash->windowTitle(), QStringLiteral("バージョン情報"));
    QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    const QString version = QStringLiteral(" Ver.%1.%2.%3.%4")
                                .arg(version::major)
                                .arg(version::minor)
                                .arg(version::release)
                                .arg(version::build);
    QCOMPARE(GuiFixture::child<QLabel>(splash, "VersionLabel")->text(), version);
    QCOMPARE(f.sound().played, QStringList{"Tokeidai"});
    QTest::mouseClick(GuiFixture::child(splash, "ProgramLabel"), Qt::LeftButton);
    QTest::mouseClick(GuiFixture::child(splash, "Image1"), Qt::LeftButton);
    QCOMPARE(f.sound().played, QStringList({"Tokeidai", "VOtukare", "Tokeidai"}));

    // It goes away as soon as another window takes the focus.
    splash->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(splash));
    form.activateWindow();
    QTRY_VERIFY(splash.isNull());
}

void MainFormTest::panelStaysCentred() {
    GuiFixture f;
    QVERIFY(f.writeSampleSchool());
    TMainForm form(f.platform(), f.context());
    QVERIFY(GuiFixture::showAt(&form, QSize(1024, 768)));
    QWidget *client = GuiFixture::child(&form, "ClientArea");
    QWidget *panel = GuiFixture::child(&form, "MainPanel");
    auto centred = [&] {
        const QPoint d = panel->geometry().center() - client->rect().center();
        return qAbs(d.x()) <= 1 && qAbs(d.y()) <= 1;
    };
    QVERIFY(client->rect().contains(panel->geometry()));
    QVERIFY(centred());
    form.resize(1400, 1000);
    QTRY_VERIFY(centred());
    QCOMPARE(panel->size(), TMainForm::panelSize());
}

// "名簿管理" refuses a grade without classes and otherwise opens the roster of the selected grade.
void MainFormTest::rosterButtonChecksTheGrade() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    auto *meibo = GuiFixture::child<QPushButton>(&form, "MeiboButton");
    QVERIFY(meibo && meibo->isEnabled());

    form.setSelectedIndex("gakunen5", 3);
    meibo->click();
    QCOMPARE(f.lastMessage(), QString("学級が存在しません。\r\n管理者に確認をとってください。"));

    form.setSelectedIndex("gakunen5", 1);
    QString caption;
    QTimer::singleShot(0, [&] {
        QWidget *window = QApplication::activeModalWidget();
        QVERIFY(window);
        caption = window->windowTitle();
        f.answerNext(Prompter::Answer::No); // "保存しますか?"
        window->close();
    });
    meibo->click();
    QCOMPARE(caption, QString("成績処理TAVRO for Windows Ver.5 - 2024年度 2年生 "));
    QCOMPARE(f.lastMessage(), QString("保存しますか?"));
}

// The configuration windows open from their buttons; "各種設定" reloads the year when it closes.
void MainFormTest::administrationButtonsOpenTheirWindows() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());

    auto openAndClose = [&](const QString &button, const std::function<void(QWidget *)> &edit) {
        QString title;
        QTimer::singleShot(0, [&] {
            QWidget *window = QApplication::activeModalWidget();
            QVERIFY(window);
            title = window->windowTitle();
            if (edit)
                edit(window);
            window->close();
        });
        GuiFixture::child<QPushButton>(&form, button)->click();
        return title;
    };

    QVERIFY(openAndClose("TantoButton", {}).contains("担当学級の設定"));
    QVERIFY(openAndClose("KantenButton", {}).contains("観点の定義"));
    form.setSelectedIndex("gakunen5", 2);
    QVERIFY(openAndClose("SentakuMemberButton", {}).contains("3年生"));

    const QString title = openAndClose("SettingsButton", [](QWidget *window) {
        GuiFixture::child<QLineEdit>(window, "TestName1")->setText("前期中間テスト");
    });
    QVERIFY(title.contains("各種設定"));
    QCOMPARE(form.radioGroup("test1")->items().first(), QString("前期中間テスト"));
    QCOMPARE(form.radioGroup("Test5")->items().first(), QString("前期中間テスト"));
}

// The data folder renamed away under the open main window (a network drive gone): every button that
// opens a window, aggregates or stores shows the message naming the folder, opens nothing and creates
// no folder; once the folder is back the same button works again.
void MainFormTest::buttonsReportAMissingDataFolder() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    TMainForm form(f.platform(), f.context());
    int opened = 0;
    for (DataPage page :
         {DataPage::PeriodicTest, DataPage::AchievementTest, DataPage::Compulsory, DataPage::Elective})
        form.setDataWindowOpener(page, [&](const WorkingContext &) { ++opened; });
    QListWidget *electives = GuiFixture::child<QListWidget>(&form, "ListBox1");
    electives->setCurrentRow(0);

    const QString folder = QDir::cleanPath(f.dataFolder());
    QVERIFY(QDir().rename(folder, folder + "-away"));
    const QString message = dataFolderMissingMessage(f.dataFolder());
    const QStringList skipped = {"VersionButton", "CloseButton", "NinsyouButton"};
    QStringList clicked, modals;
    QTimer closer; // a window that opens anyway is closed and noted
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, [&] {
        if (QWidget *window = QApplication::activeModalWidget()) {
            modals.append(window->windowTitle());
            window->close();
        }
    });
    closer.start();
    for (QPushButton *button : form.findChildren<QPushButton *>()) {
        if (!button->isEnabled() || skipped.contains(button->objectName()) || button->text().isEmpty())
            continue;
        f.prompter().clear();
        button->click();
        const QString name = button->objectName().isEmpty() ? button->text() : button->objectName();
        QVERIFY2(modals.isEmpty(), qPrintable(name + ": " + modals.join(u',')));
        QCOMPARE(f.prompter().texts(), QStringList{message});
        clicked.append(name);
    }
    closer.stop();
    QCOMPARE(opened, 0);
    QVERIFY(!QFileInfo::exists(folder));
    for (const char *name :
         {"NextButton1", "NextButton3", "NextButton4", "MeiboButton", "HyouteiListButton", "SettingsButton",
          "TantoButton", "KantenButton", "PermissionButton", "StoreButton"})
        QVERIFY2(clicked.contains(name), name);
    QVERIFY(clicked.contains("コメント一覧"));
    // The year box keeps its year and the menus their items.
    const QStringList tests = form.radioGroup("test1")->items();
    f.prompter().clear();
    GuiFixture::child<QSpinBox>(&form, "nendo1")->setValue(GuiFixture::kNendo + 1);
    QCOMPARE(f.prompter().texts(), QStringList{message});
    QCOMPARE(GuiFixture::child<QSpinBox>(&form, "nendo1")->value(), GuiFixture::kNendo);
    QCOMPARE(form.radioGroup("test1")->items(), tests);
    QVERIFY(!QFileInfo::exists(folder));

    QVERIFY(QDir().rename(folder + "-away", folder));
    QString caption;
    QTimer::singleShot(0, [&] {
        if (QWidget *window = QApplication::activeModalWidget()) {
            caption = window->windowTitle();
            window->close();
        }
    });
    f.prompter().clear();
    GuiFixture::child<QPushButton>(&form, "TantoButton")->click();
    QVERIFY(caption.contains("担当学級の設定"));
    QVERIFY(f.prompter().texts().isEmpty());
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
