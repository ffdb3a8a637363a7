#include "app/ui/MainForm.h"
#include "widgets/UiFont.h"

#include "app/SharedLock.h"
#include "app/Startup.h"
#include "app/ui/MainAdminPage.h"
#include "app/ui/MainGradePage.h"
#include "app/ui/MainPages.h"
#include "app/ui/PassWordCheck1Form.h"
#include "app/ui/SplashWindow.h"
#include "platform/Prompter.h"
#include "platform/UserStore.h"
#include "platform/qt/QtPorts.h"
#include "platform/qt/ui/QtWidgetPorts.h"
#include "widgets/GradientBanner.h"
#include "widgets/RadioGroup.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tavro {

using namespace mainui;

namespace {

// Pages of PageControl1; PageControl2 has the test pages at the same places.
enum MainPage { PeriodicPage, AchievementPage, CompulsoryPage, ElectivePage, GradePage, AdminPage };

// UserStore value names ("Input" section) and the groups they belong to.
struct StoredGroup {
    const char *value;
    const char *group;
};
constexpr StoredGroup kStoredGroups[] = {
    {"Gakunen1", "gakunen1"},     {"Kyouka1", "kyouka1"},
    {"Test1", "test1"},           {"Gakunen2", "gakunen2"},
    {"Kyouka2", "kyouka2"},       {"Test2", "test2"},
    {"Gakunen3", "gakunen3"},     {"Kyouka3", "kyouka3"},
    {"Gakunen4", "gakunen4"},     {"Gakunen5", "gakunen5"},
    {"Test5", "Test5"},           {"Test6", "Test6"},
    {"Hyoutei1", "HyouteiGroup"}, {"Hyoutei2", "HyouteiGroup2"},
};

using ui::uiFont;

// Test-kind groups: one column below six items, two from six on.
int columnsFor(qsizetype itemCount) {
    return itemCount < 6 ? 1 : 2;
}

// The heading of the achievement test page, named as the year settings name those tests.
QString achievementPageHeading(const QString &testLabel) {
    return u(" 【") + testLabel + u("】 学年・教科・テスト種別を設定した後、［次へ］をクリックしてください");
}

int pageIndex(DataPage page) {
    return static_cast<int>(page);
}

// "次へ", aligned to the bottom right of its page; enabled once its page's window is set.
QHBoxLayout *nextRow(std::array<QPushButton *, 4> &buttons, DataPage page) {
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    QPushButton *button = actionButton(u("次へ"));
    button->setObjectName(u("NextButton%1").arg(pageIndex(page) + 1));
    button->setMinimumWidth(130);
    row->addWidget(button);
    buttons[pageIndex(page)] = button;
    return row;
}

} // namespace

TMainForm::TMainForm(const Platform &platform, WorkingContext context, QWidget *parent)
    : QMainWindow(parent), m_platform(platform), m_context(std::move(context)) {
    if (!m_platform.prompter) {
        m_fallbackPrompter = std::make_unique<MessageBoxPrompter>(this);
        m_platform.prompter = m_fallbackPrompter.get();
    }
    if (!m_platform.clock) {
        m_fallbackClock = std::make_unique<SystemClock>();
        m_platform.clock = m_fallbackClock.get();
    }
    if (!m_platform.workstation) {
        m_fallbackWorkstation = std::make_unique<SystemWorkstationInfo>();
        m_platform.workstation = m_fallbackWorkstation.get();
    }
    m_context.mainCaption = QString::fromUtf8(kMainCaption);
    setWindowTitle(m_context.mainCaption);
    setFont(uiFont(10));

    m_client = new QWidget(this);
    m_client->setObjectName(u("ClientArea"));
    m_client->setAutoFillBackground(true);
    QPalette pal = m_client->palette();
    pal.setColor(QPalette::Window, QColor(0x8c, 0x9a, 0xb3));
    m_client->setPalette(pal);
    m_client->installEventFilter(this);
    setCentralWidget(m_client);

    m_panel = new QFrame(m_client);
    m_panel->setObjectName(u("MainPanel"));
    m_panel->setFrameStyle(QFrame::NoFrame);
    m_panel->setAutoFillBackground(true);
    m_panel->setPalette(palette());
    m_panel->setFixedSize(panelSize());

    auto *panelLayout = new QVBoxLayout(m_panel);
    panelLayout->setContentsMargins(1, 1, 1, 8);
    panelLayout->setSpacing(8);
    buildHeader(m_panel);
    panelLayout->addWidget(m_banner);

    m_pageControl1 = new QTabWidget;
    m_pageControl1->setObjectName(u("PageControl1"));
    m_pageControl1->setDocumentMode(false);
    m_pageControl1->addTab(buildPeriodicTestPage(), u("定期テスト"));
    m_pageControl1->addTab(buildAchievementTestPage(), u("学力テスト"));
    m_pageControl1->addTab(buildCompulsoryPage(), u("必修の平常と評定"));
    m_pageControl1->addTab(buildElectivePage(), u("選択の平常と評定"));
    m_gradePage = new MainGradePage(*this);
    m_pageControl2 = m_gradePage->pageControl();
    m_pageControl1->addTab(m_gradePage, u("学年処理"));
    m_adminPage = new MainAdminPage(*this);
    m_pageControl1->addTab(m_adminPage, u("管理用"));
    auto *tabsRow = new QHBoxLayout;
    tabsRow->setContentsMargins(8, 0, 8, 0);
    tabsRow->addWidget(m_pageControl1);
    panelLayout->addLayout(tabsRow, 1);

    resize(1024, 768);
    startUp();
}

TMainForm::~TMainForm() = default;

QSize TMainForm::panelSize() {
    return {800, 548};
}

void TMainForm::buildHeader(QWidget *panel) {
    m_banner = new GradientBanner(panel);
    m_banner->setObjectName(u("Banner"));
    m_banner->setFixedHeight(84);

    auto *title = new QLabel(m_context.mainCaption);
    title->setObjectName(u("TitleLabel"));
    title->setFont(uiFont(15.5, true));
    title->setStyleSheet(u("color: white;"));

    m_schoolNameLabel = new QLabel;
    m_schoolNameLabel->setObjectName(u("SchoolNameLabel"));
    m_schoolNameLabel->setFont(uiFont(13, true));
    m_schoolNameLabel->setStyleSheet(u("color: white;"));
    m_schoolNameLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_nendo1 = new QSpinBox;
    m_nendo1->setObjectName(u("nendo1"));
    m_nendo1->setRange(kMinNendo, kMaxNendo);
    m_nendo1->setToolTip(u("年度を設定します。"));
    m_nendo1->setFont(uiFont(11, true));
    m_nendo1->setAlignment(Qt::AlignRight);
    m_nendo1->setMinimumWidth(76);
    // Arrows reload at once; typed digits reload when confirmed.
    m_nendo1->setKeyboardTracking(false);
    auto *nendoLabel = new QLabel(u("年度"));
    nendoLabel->setFont(uiFont(11, true));
    nendoLabel->setStyleSheet(u("color: white;"));

    auto *version = new QPushButton(u("バージョン"));
    version->setObjectName(u("VersionButton"));
    auto *quit = new QPushButton(u("終了"));
    quit->setObjectName(u("CloseButton"));
    for (QPushButton *b : {version, quit}) {
        b->setMinimumSize(84, 28);
        b->setFocusPolicy(Qt::TabFocus);
    }
    connect(version, &QPushButton::clicked, this, &TMainForm::versionClick);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);

    auto *left = new QVBoxLayout;
    left->addStretch(1);
    left->addWidget(title);
    left->addStretch(1);

    auto *controls = new QHBoxLayout;
    controls->setSpacing(6);
    controls->addStretch(1);
    controls->addWidget(m_nendo1);
    controls->addWidget(nendoLabel);
    controls->addSpacing(14);
    controls->addWidget(version);
    controls->addWidget(quit);

    auto *right = new QVBoxLayout;
    right->setSpacing(6);
    right->addWidget(m_schoolNameLabel);
    right->addLayout(controls);

    auto *layout = new QHBoxLayout(m_banner);
    layout->setContentsMargins(m_banner->height() + 4, 8, 14, 10);
    layout->addLayout(left, 1);
    layout->addLayout(right);
}

RadioGroup *TMainForm::addGroup(const QString &name, const QString &title, const QStringList &items,
                                int columns) {
    auto *group = new RadioGroup(title);
    group->setObjectName(name);
    group->setColumns(columns);
    group->setItems(items);
    group->setCurrentIndex(items.isEmpty() ? -1 : 0);
    m_groups.insert(name, group);
    return group;
}

QWidget *TMainForm::buildPeriodicTestPage() {
    auto *page = new QWidget;
    auto *layout = pageLayout(page);
    layout->addWidget(
        heading(u(" 【定期テスト】 学年・教科・テスト種別を設定した後、［次へ］をクリックしてください")));
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(addGroup(u("gakunen1"), u("学年"), gradeItems(), 1), 2);
    row->addWidget(addGroup(u("kyouka1"), u("教科"), periodicTestSubjects(), 2), 4);
    row->addWidget(addGroup(u("test1"), u("テスト種別"), {}, 1), 4);
    layout->addLayout(row, 1);
    layout->addLayout(nextRow(m_nextButtons, DataPage::PeriodicTest));
    return page;
}

QWidget *TMainForm::buildAchievementTestPage() {
    auto *page = new QWidget;
    auto *layout = pageLayout(page);
    m_achievementPageHeading = heading(achievementPageHeading(u("学力テスト")));
    m_achievementPageHeading->setObjectName(u("AchievementPageHeading"));
    layout->addWidget(m_achievementPageHeading);
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(addGroup(u("gakunen2"), u("学年"), gradeItems(), 1), 2);
    row->addWidget(addGroup(u("kyouka2"), u("教科"), achievementTestSubjects(), 1), 2);
    row->addWidget(addGroup(u("test2"), u("テスト種別"), {}, 1), 6);
    layout->addLayout(row, 1);
    layout->addLayout(nextRow(m_nextButtons, DataPage::AchievementTest));
    return page;
}

QWidget *TMainForm::buildCompulsoryPage() {
    auto *page = new QWidget;
    auto *layout = pageLayout(page);
    layout->addWidget(
        heading(u(" 【必修の平常と評定】 学年・教科を設定した後、［次へ］をクリックしてください")));
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(addGroup(u("gakunen3"), u("学年"), gradeItems(), 1), 2);
    row->addWidget(addGroup(u("kyouka3"), u("教科"), compulsorySubjects(1), 2), 4);
    row->addStretch(4);
    layout->addLayout(row, 1);
    for (const char *text :
         {"※定期テストの得点を更新したときは、項目設定を再度おこなってください。",
          "※評定算出をおこなうと保存の実行と関わらず、評定内容と評定算出日時は更新されます。"}) {
        auto *note = new QLabel(u(text));
        note->setObjectName(u("Note"));
        note->setStyleSheet(u("color: #0000e0;"));
        layout->addWidget(note);
    }
    layout->addLayout(nextRow(m_nextButtons, DataPage::Compulsory));
    return page;
}

QWidget *TMainForm::buildElectivePage() {
    auto *page = new QWidget;
    auto *layout = pageLayout(page);
    layout->addWidget(
        heading(u(" 【選択の平常と評定】 学年・教科を設定した後、［次へ］をクリックしてください")));
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    RadioGroup *gakunen4 = addGroup(u("gakunen4"), u("学年"), gradeItems(), 1);
    row->addWidget(gakunen4, 2);
    auto *box = new QGroupBox(u("選択教科"));
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(10, 6, 10, 10);
    m_listBox1 = new QListWidget;
    m_listBox1->setObjectName(u("ListBox1"));
    m_listBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    boxLayout->addWidget(m_listBox1);
    row->addWidget(box, 4);
    row->addStretch(4);
    layout->addLayout(row, 1);
    layout->addLayout(nextRow(m_nextButtons, DataPage::Elective));
    connect(gakunen4, &RadioGroup::currentIndexChanged, this, &TMainForm::refillElectives);
    return page;
}

void TMainForm::startUp() {
    showMainSettings();
    const QSignalBlocker block(m_nendo1);
    m_nendo1->setValue(m_context.nendo);
    connect(m_nendo1, &QSpinBox::valueChanged, this, &TMainForm::nendo1Click, Qt::UniqueConnection);
    reloadYear();
    applySchoolKind();
    restoreUserState();
}

void TMainForm::showMainSettings() {
    const MainSettings settings = MainSettings::load(m_context.dataFolder);
    m_context.schoolName = settings.schoolName;
    m_context.password = settings.password;
    m_context.classType = settings.classType;
    m_context.schoolKind = settings.schoolKind;

    m_schoolNameLabel->setText(m_context.schoolName);
    m_adminPage->showSettings();
}

void TMainForm::showSchoolName() {
    m_schoolNameLabel->setText(m_context.schoolName);
}

void TMainForm::reloadYear() {
    const YearMenus menus = YearMenus::load(m_context.dataFolder, m_context.nendo);
    menus.applyTo(m_context);

    auto fill = [this](const QString &name, const QStringList &items) {
        RadioGroup *group = m_groups.value(name);
        group->setColumns(columnsFor(items.size()));
        group->setItems(items);
        group->setCurrentIndex(items.isEmpty() ? -1 : 0);
    };
    QStringList periodic, achievement;
    for (const YearMenus::TestKind &kind : menus.testKinds)
        periodic.append(kind.name);
    for (const YearMenus::TestKind &kind : menus.gakuTestKinds)
        achievement.append(kind.name);
    fill(u("test1"), periodic);
    fill(u("Test5"), periodic);
    fill(u("test2"), achievement);
    fill(u("Test6"), achievement);
    fill(u("HyouteiGroup"), menus.hyouteiNames);
    fill(u("HyouteiGroup2"), menus.hyouteiNames);

    const QString gakuLabel = menus.gakuTestLabel();
    m_pageControl1->setTabText(AchievementPage, gakuLabel);
    m_gradePage->setYear(gakuLabel, menus.hyouteiNumbers);
    m_achievementPageHeading->setText(achievementPageHeading(gakuLabel));

    refillElectives();
}

void TMainForm::applySchoolKind() {
    const QStringList subjects = compulsorySubjects(m_context.schoolKind);
    if (subjects.isEmpty())
        return;
    const bool tests = m_context.schoolKind != 0;
    for (QTabWidget *tabs : {m_pageControl1, m_pageControl2}) {
        tabs->setTabVisible(PeriodicPage, tests); // same positions on both tab sets
        tabs->setTabVisible(AchievementPage, tests);
    }
    RadioGroup *kyouka3 = m_groups.value(u("kyouka3"));
    const int previous = kyouka3->currentIndex();
    kyouka3->setItems(subjects);
    kyouka3->setCurrentIndex(RadioGroup::clampIndex(previous, int(subjects.size())));
}

void TMainForm::restoreUserState() {
    UserStore *store = m_platform.userStore;
    if (!store)
        return;
    const QString input = u("Input");
    for (const StoredGroup &s : kStoredGroups) {
        RadioGroup *group = m_groups.value(u(s.group));
        group->setCurrentIndex(RadioGroup::clampIndex(store->readInt(input, u(s.value), 0), group->count()));
    }
    const QString activePage = u("ActivePage");
    for (const auto &[tabs, value] :
         {std::pair{m_pageControl1, "PageControl1"}, {m_pageControl2, "PageControl2"}}) {
        int index = RadioGroup::clampIndex(store->readInt(activePage, u(value), 0), tabs->count());
        // A page whose tab is hidden for this school kind gives way to the first visible one.
        if (!tabs->isTabVisible(index)) {
            for (index = 0; index < tabs->count() && !tabs->isTabVisible(index); ++index) {
            }
        }
        tabs->setCurrentIndex(index);
    }
}

void TMainForm::storeUserState() {
    UserStore *store = m_platform.userStore;
    if (!store)
        return;
    const QString input = u("Input");
    for (const StoredGroup &s : kStoredGroups)
        store->writeInt(input, u(s.value), m_groups.value(u(s.group))->currentIndex());
    store->writeInt(u("ActivePage"), u("PageControl1"), m_pageControl1->currentIndex());
    store->writeInt(u("ActivePage"), u("PageControl2"), m_pageControl2->currentIndex());
}

void TMainForm::refillElectives() {
    m_listBox1->clear();
    const int grade = m_groups.value(u("gakunen4"))->currentIndex() + 1;
    if (grade >= 1)
        m_listBox1->addItems(electivesOfGrade(m_context.sentakuList, grade));
}

void TMainForm::nendo1Click() {
    // With the folder gone the year's menus would come up empty: the year stays.
    if (!checkDataFolder(m_context.dataFolder, *m_platform.prompter)) {
        const QSignalBlocker block(m_nendo1);
        m_nendo1->setValue(m_context.nendo);
        return;
    }
    m_context.nendo = m_nendo1->value();
    reloadYear();
}

void TMainForm::versionClick() {
    if (m_splash) {
        m_splash->raise();
        m_splash->activateWindow();
        return;
    }
    m_splash = new TSplashWindow(m_platform, this);
    m_splash->setAttribute(Qt::WA_DeleteOnClose);
    m_splash->show();
}

void TMainForm::setDataWindowOpener(DataPage page, WindowOpener opener) {
    const int i = pageIndex(page);
    m_openers[i] = std::move(opener);
    m_nextButtons[i]->setEnabled(bool(m_openers[i]));
    disconnect(m_nextButtons[i], &QPushButton::clicked, this, nullptr);
    if (m_openers[i])
        connect(m_nextButtons[i], &QPushButton::clicked, this, [this, page] { nextClick(page); });
}

DataPageChoice TMainForm::dataPageChoice(DataPage page) const {
    DataPageChoice choice;
    choice.page = page;
    auto group = [this](const char *name) { return m_groups.value(u(name)); };
    switch (page) {
    case DataPage::PeriodicTest:
    case DataPage::AchievementTest: {
        const bool periodic = page == DataPage::PeriodicTest;
        choice.gradeIndex = group(periodic ? "gakunen1" : "gakunen2")->currentIndex();
        choice.subject = group(periodic ? "kyouka1" : "kyouka2")->currentText();
        const RadioGroup *tests = group(periodic ? "test1" : "test2");
        choice.testIndex = tests->currentIndex();
        choice.testName = tests->currentText();
        break;
    }
    case DataPage::Compulsory:
        choice.gradeIndex = group("gakunen3")->currentIndex();
        choice.subject = group("kyouka3")->currentText();
        break;
    case DataPage::Elective:
        choice.gradeIndex = group("gakunen4")->currentIndex();
        if (const QListWidgetItem *item = m_listBox1->currentItem(); item && item->isSelected())
            choice.subject = item->text();
        break;
    }
    return choice;
}

std::optional<LoginResult> TMainForm::runLoginDialog(const LoginInputs &inputs) {
    TPassWordCheck1Form dialog(m_platform, inputs, this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.loginResult();
}

NextResult TMainForm::nextClick(DataPage page) {
    const WindowOpener opener = m_openers[pageIndex(page)];
    if (!opener)
        return NextResult::NothingSelected;
    SharedLock lock(*m_platform.prompter, *m_platform.clock, *m_platform.workstation);
    return runNextSequence(
        m_context, dataPageChoice(page), *m_platform.prompter, lock,
        [this](const LoginInputs &inputs) { return runLoginDialog(inputs); }, opener);
}

RadioGroup *TMainForm::radioGroup(const QString &name) const {
    return m_groups.value(name);
}

int TMainForm::selectedIndex(const QString &groupName) const {
    const RadioGroup *group = m_groups.value(groupName);
    return group ? group->currentIndex() : -1;
}

void TMainForm::setSelectedIndex(const QString &groupName, int index) {
    if (RadioGroup *group = m_groups.value(groupName))
        group->setCurrentIndex(index);
}

void TMainForm::centrePanel() {
    const QSize area = m_client->size();
    const QSize panel = m_panel->size();
    m_panel->move(qMax(0, (area.width() - panel.width()) / 2), qMax(0, (area.height() - panel.height()) / 2));
}

void TMainForm::closeEvent(QCloseEvent *event) {
    storeUserState();
    if (m_splash)
        m_splash->close();
    event->accept();
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_client && event->type() == QEvent::Resize) {
        centrePanel();
    } else if (watched == m_client && event->type() == QEvent::Paint) {
        // A soft shadow and an outline around the panel.
        QPainter p(m_client);
        const QRect r = m_panel->geometry();
        for (int i = 1; i <= 6; ++i)
            p.fillRect(r.adjusted(-i + 3, -i + 4, i + 2, i + 3), QColor(0, 0, 0, 14));
        p.setPen(QColor(0x3c, 0x4a, 0x66));
        p.drawRect(r.adjusted(-1, -1, 0, 0));
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tavro
