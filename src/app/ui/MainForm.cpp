#include "app/ui/MainForm.h"
#include "widgets/UiFont.h"

#include "app/Administration.h"
#include "app/SharedLock.h"
#include "app/Startup.h"
#include "app/ui/PassWordCheck1Form.h"
#include "app/ui/PermissionForm1.h"
#include "app/ui/SplashWindow.h"
#include "common/Cp932.h"
#include "config/ui/KantenDefForm.h"
#include "config/ui/NameEditForm.h"
#include "config/ui/SentakuMember1Form.h"
#include "config/ui/SettingsForm.h"
#include "config/ui/TantoForm.h"
#include "evaluation/ui/EvaluationInputStatusForms.h"
#include "evaluation/ui/HyouteiShukeiForm.h"
#include "exchange/ui/ExcelCopyForm.h"
#include "platform/Prompter.h"
#include "platform/UserStore.h"
#include "platform/qt/QtPorts.h"
#include "platform/qt/ui/QtWidgetPorts.h"
#include "reports/ui/KondanForm1.h"
#include "testscores/ui/InputStatusForms.h"
#include "testscores/ui/TestShukeiForm.h"
#include "widgets/GradientBanner.h"
#include "widgets/RadioGroup.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tavro {

namespace {

// Pages of PageControl1 and PageControl2.
enum MainPage { PeriodicPage, AchievementPage, CompulsoryPage, ElectivePage, GradePage, AdminPage };
enum GradeSubPage { PeriodicSubPage, AchievementSubPage, HyouteiSubPage, KondanSubPage, RosterSubPage };

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

QString u(const char *text) {
    return QString::fromUtf8(text);
}

using ui::uiFont;

QStringList gradeItems() {
    QStringList items;
    for (int g = 1; g <= 6; ++g)
        items.append(QString::number(g) + u("年生"));
    return items;
}

// Test-kind groups: one column below six items, two from six on.
int columnsFor(qsizetype itemCount) {
    return itemCount < 6 ? 1 : 2;
}

// The heading of the achievement test page, named as the year settings name those tests.
QString achievementPageHeading(const QString &testLabel) {
    return u(" 【") + testLabel + u("】 学年・教科・テスト種別を設定した後、［次へ］をクリックしてください");
}

QLabel *heading(const QString &text) {
    auto *label = new QLabel(text);
    label->setObjectName(u("Heading"));
    label->setFont(uiFont(10.5, true));
    label->setStyleSheet(u("QLabel { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #d6e2f5,"
                           " stop:1 #f5f8fd); color: #12306e; border: 1px solid #9fb3d8;"
                           " padding: 5px 4px; }"));
    return label;
}

QLabel *subHeading(const QString &text) {
    auto *label = new QLabel(text);
    label->setFont(uiFont(10.5, true));
    label->setStyleSheet(
        u("QLabel { color: #12306e; border-bottom: 2px solid #5b7fc4; padding: 2px 2px 4px 2px; }"));
    return label;
}

QPushButton *actionButton(const QString &text, bool enabled = false) {
    auto *b = new QPushButton(text);
    b->setMinimumSize(120, 32);
    b->setEnabled(enabled);
    return b;
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

QVBoxLayout *pageLayout(QWidget *page) {
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    return layout;
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
    m_pageControl1->addTab(buildGradePage(), u("学年処理"));
    m_pageControl1->addTab(buildAdminPage(), u("管理用"));
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

QWidget *TMainForm::buildGradePage() {
    auto *page = new QWidget;
    auto *layout = pageLayout(page);
    layout->addWidget(heading(u(" 【学年処理】 学年を設定した後、処理ボタンをクリックしてください")));
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    RadioGroup *gakunen5 = addGroup(u("gakunen5"), u("学年"), gradeItems(), 1);
    row->addWidget(gakunen5, 0);
    gakunen5->setMinimumWidth(110);

    m_pageControl2 = new QTabWidget;
    m_pageControl2->setObjectName(u("PageControl2"));
    row->addWidget(m_pageControl2, 1);
    layout->addLayout(row, 1);

    // A sub-page: heading, selection group on the left, its buttons on the right.
    auto subPage = [this](const QString &headingText, RadioGroup *group, const QStringList &buttons,
                          QLabel **headingOut = nullptr) {
        const QString groupName = group->objectName();
        auto *w = new QWidget;
        auto *v = new QVBoxLayout(w);
        v->setContentsMargins(10, 8, 10, 10);
        v->setSpacing(8);
        QLabel *h = subHeading(headingText);
        if (headingOut) {
            h->setObjectName(u("GakuTestHeading"));
            *headingOut = h;
        }
        v->addWidget(h);
        auto *h2 = new QHBoxLayout;
        h2->setSpacing(12);
        h2->addWidget(group, 1);
        auto *buttonColumn = new QVBoxLayout;
        buttonColumn->setSpacing(8);
        for (const QString &text : buttons) {
            QPushButton *button = actionButton(text);
            m_gradeButtons.insert(groupName + u'/' + text, button);
            buttonColumn->addWidget(button);
        }
        buttonColumn->addStretch(1);
        h2->addLayout(buttonColumn);
        v->addLayout(h2, 1);
        return w;
    };

    m_pageControl2->addTab(subPage(u("定期テストの学年処理"), addGroup(u("Test5"), u("テスト種別"), {}, 1),
                                   {u("入力状況"), u("一覧と印刷")}),
                           u("定期テスト"));
    m_pageControl2->addTab(subPage(u("学力テストの学年処理"), addGroup(u("Test6"), u("テスト種別"), {}, 1),
                                   {u("入力状況"), u("一覧と印刷")}, &m_gakuTestHeading),
                           u("学力テスト"));
    m_pageControl2->addTab(subPage(u("評定(必修・選択)の学年処理"),
                                   addGroup(u("HyouteiGroup"), u("評定種別"), {}, 1),
                                   {u("必修の入力状況"), u("一覧表示と印刷"), u("選択の入力状況")}),
                           u("評定集計"));
    QPushButton *hyouteiList = m_gradeButtons.value(u("HyouteiGroup/一覧表示と印刷"));
    hyouteiList->setObjectName(u("HyouteiListButton"));
    hyouteiList->setEnabled(true);
    connect(hyouteiList, &QPushButton::clicked, this, &TMainForm::hyouteiListClick);
    m_pageControl2->addTab(subPage(u("懇談資料"), addGroup(u("HyouteiGroup2"), u("評定種別"), {}, 1),
                                   {u("コメント一覧"), u("エクセル転送")}),
                           u("懇談資料"));

    auto *roster = new QWidget;
    auto *rv = new QVBoxLayout(roster);
    rv->setContentsMargins(10, 8, 10, 10);
    rv->setSpacing(12);
    rv->addWidget(subHeading(u("学年学習係の設定")));
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(10);
    QPushButton *meibo = actionButton(u("名簿管理"), true);
    meibo->setObjectName(u("MeiboButton"));
    connect(meibo, &QPushButton::clicked, this, &TMainForm::meiboClick);
    grid->addWidget(meibo, 0, 0);
    grid->addWidget(new QLabel(u("氏名の登録や訂正")), 0, 1);
    QPushButton *sentaku = actionButton(u("選択教科"), true);
    sentaku->setObjectName(u("SentakuMemberButton"));
    connect(sentaku, &QPushButton::clicked, this, &TMainForm::sentakuMemberClick);
    grid->addWidget(sentaku, 1, 0);
    grid->addWidget(new QLabel(u("選択教科の生徒登録")), 1, 1);
    grid->setColumnStretch(1, 1);
    rv->addLayout(grid);
    rv->addStretch(1);
    m_pageControl2->addTab(roster, u("氏名登録"));

    // The test and evaluation views of the grade.
    auto wire = [this](const char *group, const char *text, auto handler) {
        QPushButton *button = m_gradeButtons.value(u(group) + u'/' + u(text));
        button->setEnabled(true);
        connect(button, &QPushButton::clicked, this, handler);
    };
    wire("Test5", "入力状況", [this] { testStatusClick(true); });
    wire("Test5", "一覧と印刷", [this] { testListClick(true); });
    wire("Test6", "入力状況", [this] { testStatusClick(false); });
    wire("Test6", "一覧と印刷", [this] { testListClick(false); });
    wire("HyouteiGroup", "必修の入力状況", [this] { hyouteiStatusClick(false); });
    wire("HyouteiGroup", "選択の入力状況", [this] { hyouteiStatusClick(true); });
    wire("HyouteiGroup2", "コメント一覧", [this] { conferenceClick(false); });
    wire("HyouteiGroup2", "エクセル転送", [this] { conferenceClick(true); });
    return page;
}

QWidget *TMainForm::buildAdminPage() {
    auto *page = new QWidget;
    auto *layout = pageLayout(page);
    layout->addWidget(heading(u(" 【管理用】 全体に関わる基本設定をします。")));

    // Shown instead of the administration panel while an administrator password is set.
    m_lockPanel = new QWidget;
    m_lockPanel->setObjectName(u("LockPanel"));
    {
        auto *outer = new QVBoxLayout(m_lockPanel);
        outer->setContentsMargins(0, 0, 0, 0);
        auto *card = new QFrame;
        card->setObjectName(u("LockCard"));
        card->setFrameStyle(QFrame::Box | QFrame::Plain);
        card->setAutoFillBackground(true);
        QPalette cardPalette = card->palette();
        cardPalette.setColor(QPalette::Window, QColor(0xff, 0xfb, 0xe6));
        cardPalette.setColor(QPalette::WindowText, QColor(0xc9, 0xb9, 0x8a)); // the outline
        card->setPalette(cardPalette);
        card->setFixedWidth(560);
        outer->addStretch(1);
        outer->addWidget(card, 0, Qt::AlignHCenter);
        outer->addStretch(2);
        auto *v = new QVBoxLayout(card);
        v->setContentsMargins(24, 20, 24, 20);
        v->setSpacing(14);
        auto *text = new QLabel(
            u("パスワードでロックされています。パスワードを入力し、「認証」をクリックしてください。"));
        text->setObjectName(u("LockLabel"));
        text->setWordWrap(true);
        QPalette textPalette = text->palette();
        textPalette.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
        text->setPalette(textPalette);
        v->addWidget(text);
        auto *h = new QHBoxLayout;
        m_lockPasswordEdit = new QLineEdit;
        m_lockPasswordEdit->setObjectName(u("LockPasswordEdit"));
        m_lockPasswordEdit->setEchoMode(QLineEdit::Password);
        m_lockPasswordEdit->setFixedWidth(200);
        h->addWidget(m_lockPasswordEdit);
        auto *ninsyou = actionButton(u("認証"), true);
        ninsyou->setObjectName(u("NinsyouButton"));
        ninsyou->setMinimumWidth(90);
        h->addWidget(ninsyou);
        connect(ninsyou, &QPushButton::clicked, this, &TMainForm::ninsyouClick);
        connect(m_lockPasswordEdit, &QLineEdit::returnPressed, this, &TMainForm::ninsyouClick);
        h->addStretch(1);
        v->addLayout(h);
    }
    layout->addWidget(m_lockPanel, 1);

    m_adminPanel = new QWidget;
    m_adminPanel->setObjectName(u("AdminPanel"));
    {
        auto *v = new QVBoxLayout(m_adminPanel);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(8);
        auto *h = new QHBoxLayout;
        h->setSpacing(14);

        auto *basic = new QGroupBox(u("基本設定"));
        basic->setObjectName(u("BasicSettings"));
        auto *bv = new QVBoxLayout(basic);
        bv->setContentsMargins(12, 8, 12, 10);
        bv->setSpacing(8);
        auto *form = new QFormLayout;
        form->setHorizontalSpacing(10);
        form->setVerticalSpacing(8);
        m_schoolNameEdit = new QLineEdit;
        m_schoolNameEdit->setObjectName(u("SchoolNameEdit"));
        connect(m_schoolNameEdit, &QLineEdit::textEdited, this, &TMainForm::schoolNameEdited);
        form->addRow(u("学校名"), m_schoolNameEdit);
        m_adminPasswordEdit = new QLineEdit;
        m_adminPasswordEdit->setObjectName(u("AdminPasswordEdit"));
        m_adminPasswordEdit->setEchoMode(QLineEdit::Password);
        m_adminPasswordEdit->setMaximumWidth(180);
        form->addRow(u("管理者パスワード"), m_adminPasswordEdit);
        bv->addLayout(form);

        auto *groups = new QHBoxLayout;
        groups->setSpacing(10);
        RadioGroup *classType = addGroup(u("ClassTypeGroup"), u("学級の表記(&H)"),
                                         {u("数字（1組､2組･･･）"), u("英字（A組､B組･･･）")}, 1);
        connect(classType, &RadioGroup::itemClicked, this,
                [this](int index) { m_context.classType = index == 0; });
        groups->addWidget(classType, 3);
        RadioGroup *kind = addGroup(u("SchoolKindGroup"), u("校種"), {u("小学校"), u("中学校")}, 1);
        groups->addWidget(kind, 2);
        bv->addLayout(groups);

        auto *storeRow = new QHBoxLayout;
        storeRow->addStretch(1);
        auto *store = actionButton(u("変更を記憶する"), true);
        store->setObjectName(u("StoreButton"));
        storeRow->addWidget(store);
        connect(store, &QPushButton::clicked, this, &TMainForm::storeClick);
        bv->addLayout(storeRow);
        h->addWidget(basic, 3, Qt::AlignTop);

        auto *buttons = new QVBoxLayout;
        buttons->setSpacing(10);
        const struct {
            const char *name;
            const char *text;
            const char *description;
        } adminButtons[] = {
            {"SettingsButton", "各種設定", "評定の定義・教師名・学級数などを設定します。"},
            {"TantoButton", "担当学級", "必修教科や選択教科の担当教師を登録します。"},
            {"KantenButton", "観点定義", "観点項目の設定をします。"},
            {"PermissionButton", "入力許可", "テストや評定で、入力を可能にしたり、不可にしたりします。"},
        };
        buttons->addSpacing(8);
        for (const auto &b : adminButtons) {
            QPushButton *button = actionButton(u(b.text));
            button->setObjectName(u(b.name));
            button->setEnabled(true);
            if (qstrcmp(b.name, "PermissionButton") == 0)
                connect(button, &QPushButton::clicked, this, &TMainForm::permissionClick);
            else if (qstrcmp(b.name, "SettingsButton") == 0)
                connect(button, &QPushButton::clicked, this, &TMainForm::settingsClick);
            else if (qstrcmp(b.name, "TantoButton") == 0)
                connect(button, &QPushButton::clicked, this, &TMainForm::tantoClick);
            else
                connect(button, &QPushButton::clicked, this, &TMainForm::kantenClick);
            button->setMinimumSize(160, 40);
            button->installEventFilter(this);
            m_descriptions.insert(button, u(b.description));
            buttons->addWidget(button);
        }
        buttons->addStretch(1);
        h->addLayout(buttons, 1);
        v->addLayout(h);
        v->addStretch(1);

        m_description = new QLabel;
        m_description->setObjectName(u("DescriptionLine"));
        m_description->setMinimumHeight(30);
        m_description->setFont(uiFont(10));
        m_description->setStyleSheet(u("QLabel { background: #fffbe6; color: #202020;"
                                       " border: 1px solid #c9b98a; padding: 2px 8px; }"));
        v->addWidget(m_description);
    }
    layout->addWidget(m_adminPanel, 1);
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
    m_schoolNameEdit->setText(m_context.schoolName);
    m_groups.value(u("ClassTypeGroup"))->setCurrentIndex(m_context.classType ? 0 : 1);
    m_groups.value(u("SchoolKindGroup"))->setCurrentIndex(m_context.schoolKind);

    const bool locked = !m_context.password.isEmpty();
    m_lockPanel->setVisible(locked);
    m_adminPanel->setVisible(!locked);
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
    m_hyouteiNumbers = menus.hyouteiNumbers;

    const QString gakuLabel = menus.gakuTestLabel();
    m_pageControl1->setTabText(AchievementPage, gakuLabel);
    m_pageControl2->setTabText(AchievementSubPage, gakuLabel);
    m_gakuTestHeading->setText(gakuLabel + u("の学年処理"));
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

void TMainForm::schoolNameEdited(const QString &text) {
    const QString bad = cp932::firstUnencodable(text);
    if (!bad.isEmpty()) {
        m_schoolNameEdit->setText(m_context.schoolName);
        if (m_platform.prompter)
            m_platform.prompter->message(u("Tavro"), u("「") + bad + u("」は学校名に使用できない文字です。"),
                                         Prompter::Icon::Warning);
        return;
    }
    m_context.schoolName = text;
}

void TMainForm::ninsyouClick() {
    if (!authenticateAdministrator(*m_platform.prompter, m_lockPasswordEdit->text(), m_context.password)) {
        m_lockPasswordEdit->selectAll();
        m_lockPasswordEdit->setFocus();
        return;
    }
    m_lockPasswordEdit->clear();
    m_lockPanel->setVisible(false);
    m_adminPanel->setVisible(true);
    m_schoolNameEdit->setFocus();
}

void TMainForm::storeClick() {
    const int kind = m_groups.value(u("SchoolKindGroup"))->currentIndex();
    storeAdministration(*m_platform.prompter, m_context, m_adminPasswordEdit->text(), kind, [this] {
        m_schoolNameLabel->setText(m_context.schoolName);
        applySchoolKind();
    });
}

void TMainForm::permissionClick() {
    TPermissionForm1 form(m_platform, m_context.nendo, m_context.dataFolder, this);
    form.exec();
    reloadPermissions(m_context);
}

void TMainForm::meiboClick() {
    const int grade = selectedIndex(u("gakunen5")) + 1;
    if (!checkGradeHasClasses(m_context, grade, *m_platform.prompter))
        return;
    TNameEditForm form(m_platform, m_context.mainCaption, m_context.nendo, QString::number(grade),
                       m_context.dataFolder, m_context.classType, this);
    form.exec();
}

void TMainForm::sentakuMemberClick() {
    const int grade = selectedIndex(u("gakunen5")) + 1;
    if (!checkGradeHasClasses(m_context, grade, *m_platform.prompter))
        return;
    TSentakuMember1Form form(m_platform, m_context.mainCaption, m_context.nendo, m_context.dataFolder,
                             QString::number(grade), this);
    form.exec();
}

// The grade of "学年処理" with the selected test kind: false when none is selected or the grade has
// no classes.
bool TMainForm::gradeTestInputs(bool periodic, InputStatusInputs &inputs) {
    const RadioGroup *tests = m_groups.value(periodic ? u("Test5") : u("Test6"));
    const int index = tests->currentIndex();
    if (index < 0)
        return false;
    const int grade = selectedIndex(u("gakunen5")) + 1;
    if (!checkGradeHasClasses(m_context, grade, *m_platform.prompter))
        return false;
    inputs.mainCaption = m_context.mainCaption;
    inputs.option = periodic ? false : !m_context.gTestKanten;
    inputs.nendo = m_context.nendo;
    inputs.gakunen = QString::number(grade);
    inputs.testCode = periodic ? QString(QChar(char16_t(u'A' + index))) : QString::number(index + 1);
    inputs.kindName = tests->currentText();
    inputs.dataFolder = m_context.dataFolder;
    inputs.classType = m_context.classType;
    inputs.schoolKind = m_context.schoolKind;
    return true;
}

void TMainForm::testStatusClick(bool periodic) {
    InputStatusInputs inputs;
    if (!gradeTestInputs(periodic, inputs))
        return;
    TView1Form form(m_platform, inputs, this);
    form.exec();
}

void TMainForm::testListClick(bool periodic) {
    InputStatusInputs inputs;
    if (!gradeTestInputs(periodic, inputs))
        return;
    const TTestShukeiForm::Inputs shukei{inputs.mainCaption, inputs.option,   inputs.nendo,
                                         inputs.gakunen,     inputs.testCode, inputs.kindName,
                                         inputs.dataFolder,  inputs.classType};
    TTestShukeiForm form(m_platform, shukei, this);
    form.exec();
}

std::optional<TMainForm::PeriodChoice> TMainForm::periodChoice(const QString &group) {
    const RadioGroup *kinds = m_groups.value(group);
    const int index = kinds->currentIndex();
    if (index < 0 || index >= m_hyouteiNumbers.size())
        return std::nullopt;
    const int grade = selectedIndex(u("gakunen5")) + 1;
    if (!checkGradeHasClasses(m_context, grade, *m_platform.prompter))
        return std::nullopt;
    return PeriodChoice{m_hyouteiNumbers[index], kinds->currentText(), grade};
}

void TMainForm::conferenceClick(bool excel) {
    const auto choice = periodChoice(u("HyouteiGroup2"));
    if (!choice)
        return;
    const int grade = choice->grade;
    if (excel) {
        const ExcelCopyContext c{m_context.mainCaption, m_context.dataFolder, m_context.nendo, grade,
                                 m_context.classType,   m_context.schoolKind, choice->number,  choice->name};
        TexcelcopyForm form(c, m_platform, this);
        form.exec();
        return;
    }
    const KondanContext c{m_context.mainCaption, m_context.dataFolder, m_context.nendo,      grade,
                          m_context.classType,   m_context.schoolName, m_context.schoolKind, choice->number,
                          choice->name};
    TKondanForm1 form(c, m_platform, nullptr, this);
    form.exec();
}

void TMainForm::hyouteiStatusClick(bool elective) {
    const auto choice = periodChoice(u("HyouteiGroup"));
    if (!choice)
        return;
    const int grade = choice->grade;
    InputStatusInputs inputs;
    inputs.mainCaption = m_context.mainCaption;
    inputs.nendo = m_context.nendo;
    inputs.gakunen = QString::number(grade);
    inputs.kind = choice->number;
    inputs.kindName = choice->name;
    inputs.dataFolder = m_context.dataFolder;
    inputs.classType = m_context.classType;
    inputs.schoolKind = m_context.schoolKind;
    if (elective) {
        TView3Form form(m_platform, inputs, this);
        form.exec();
    } else {
        TView2Form form(m_platform, inputs, this);
        form.exec();
    }
}

// "一覧表示と印刷" of "評定集計": the aggregation of the selected grade and evaluation period.
void TMainForm::hyouteiListClick() {
    const auto choice = periodChoice(u("HyouteiGroup"));
    if (!choice)
        return;
    const int grade = choice->grade;
    THyouteiShukeiForm::Inputs inputs;
    inputs.mainCaption = m_context.mainCaption;
    inputs.nendo = m_context.nendo;
    inputs.gakunen = QString::number(grade);
    inputs.hyouteiKind = choice->number;
    inputs.hyouteiKindName = choice->name;
    inputs.dataFolder = m_context.dataFolder;
    inputs.classType = m_context.classType;
    inputs.schoolKind = m_context.schoolKind;
    THyouteiShukeiForm form(m_platform, inputs, this);
    form.exec();
}

void TMainForm::settingsClick() {
    TSettingsForm form(m_platform, m_context.mainCaption, m_context.nendo, m_context.dataFolder, this);
    form.exec();
    reloadYear();
}

void TMainForm::tantoClick() {
    TTantoForm form(m_platform, m_context.mainCaption, m_context.nendo, m_context.dataFolder,
                    m_context.schoolKind, this);
    form.exec();
}

void TMainForm::kantenClick() {
    TKantenDefForm form(m_platform, m_context.mainCaption, m_context.nendo, m_context.dataFolder,
                        m_context.schoolKind, this);
    form.exec();
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
    } else if (m_descriptions.contains(watched)) {
        if (event->type() == QEvent::Enter)
            m_description->setText(m_descriptions.value(watched));
        else if (event->type() == QEvent::Leave)
            m_description->clear();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tavro
