#include "app/ui/MainGradePage.h"

#include "app/Startup.h"
#include "app/ui/MainForm.h"
#include "app/ui/MainPages.h"
#include "config/ui/NameEditForm.h"
#include "config/ui/SentakuMember1Form.h"
#include "evaluation/ui/EvaluationInputStatusForms.h"
#include "evaluation/ui/HyouteiShukeiForm.h"
#include "exchange/ui/ExcelCopyForm.h"
#include "reports/ui/KondanForm1.h"
#include "testscores/ui/InputStatusForms.h"
#include "testscores/ui/TestShukeiForm.h"
#include "widgets/RadioGroup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tavro {

using namespace mainui;

namespace {

// Sub-pages of PageControl2.
enum GradeSubPage { PeriodicSubPage, AchievementSubPage, HyouteiSubPage, KondanSubPage, RosterSubPage };

} // namespace

MainGradePage::MainGradePage(TMainForm &form)
    : m_form(form), m_platform(form.platform()), m_context(form.workingContext()) {
    auto *layout = pageLayout(this);
    layout->addWidget(heading(u(" 【学年処理】 学年を設定した後、処理ボタンをクリックしてください")));
    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    RadioGroup *gakunen5 = m_form.addGroup(u("gakunen5"), u("学年"), gradeItems(), 1);
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

    m_pageControl2->addTab(subPage(u("定期テストの学年処理"),
                                   m_form.addGroup(u("Test5"), u("テスト種別"), {}, 1),
                                   {u("入力状況"), u("一覧と印刷")}),
                           u("定期テスト"));
    m_pageControl2->addTab(subPage(u("学力テストの学年処理"),
                                   m_form.addGroup(u("Test6"), u("テスト種別"), {}, 1),
                                   {u("入力状況"), u("一覧と印刷")}, &m_gakuTestHeading),
                           u("学力テスト"));
    m_pageControl2->addTab(subPage(u("評定(必修・選択)の学年処理"),
                                   m_form.addGroup(u("HyouteiGroup"), u("評定種別"), {}, 1),
                                   {u("必修の入力状況"), u("一覧表示と印刷"), u("選択の入力状況")}),
                           u("評定集計"));
    QPushButton *hyouteiList = m_gradeButtons.value(u("HyouteiGroup/一覧表示と印刷"));
    hyouteiList->setObjectName(u("HyouteiListButton"));
    hyouteiList->setEnabled(true);
    connect(hyouteiList, &QPushButton::clicked, this, &MainGradePage::hyouteiListClick);
    m_pageControl2->addTab(subPage(u("懇談資料"), m_form.addGroup(u("HyouteiGroup2"), u("評定種別"), {}, 1),
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
    connect(meibo, &QPushButton::clicked, this, &MainGradePage::meiboClick);
    grid->addWidget(meibo, 0, 0);
    grid->addWidget(new QLabel(u("氏名の登録や訂正")), 0, 1);
    QPushButton *sentaku = actionButton(u("選択教科"), true);
    sentaku->setObjectName(u("SentakuMemberButton"));
    connect(sentaku, &QPushButton::clicked, this, &MainGradePage::sentakuMemberClick);
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
}

void MainGradePage::setYear(const QString &gakuTestLabel, const QList<int> &hyouteiNumbers) {
    m_hyouteiNumbers = hyouteiNumbers;
    m_pageControl2->setTabText(AchievementSubPage, gakuTestLabel);
    m_gakuTestHeading->setText(gakuTestLabel + u("の学年処理"));
}

// The grade's actions need the data folder and classes in the grade.
bool MainGradePage::gradeAvailable(int grade) const {
    return checkDataFolder(m_context.dataFolder, *m_platform.prompter) &&
           checkGradeHasClasses(m_context, grade, *m_platform.prompter);
}

int MainGradePage::selectedIndex(const QString &groupName) const {
    return m_form.selectedIndex(groupName);
}

void MainGradePage::meiboClick() {
    const int grade = selectedIndex(u("gakunen5")) + 1;
    if (!gradeAvailable(grade))
        return;
    TNameEditForm form(m_platform, m_context.mainCaption, m_context.nendo, QString::number(grade),
                       m_context.dataFolder, m_context.classType, &m_form);
    form.exec();
}

void MainGradePage::sentakuMemberClick() {
    const int grade = selectedIndex(u("gakunen5")) + 1;
    if (!gradeAvailable(grade))
        return;
    TSentakuMember1Form form(m_platform, m_context.mainCaption, m_context.nendo, m_context.dataFolder,
                             QString::number(grade), &m_form);
    form.exec();
}

// The grade of "学年処理" with the selected test kind: false when none is selected or the grade has
// no classes.
bool MainGradePage::gradeTestInputs(bool periodic, InputStatusInputs &inputs) {
    const RadioGroup *tests = m_form.radioGroup(periodic ? u("Test5") : u("Test6"));
    const int index = tests->currentIndex();
    if (index < 0)
        return false;
    const int grade = selectedIndex(u("gakunen5")) + 1;
    if (!gradeAvailable(grade))
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

void MainGradePage::testStatusClick(bool periodic) {
    InputStatusInputs inputs;
    if (!gradeTestInputs(periodic, inputs))
        return;
    TView1Form form(m_platform, inputs, &m_form);
    form.exec();
}

void MainGradePage::testListClick(bool periodic) {
    InputStatusInputs inputs;
    if (!gradeTestInputs(periodic, inputs))
        return;
    const TTestShukeiForm::Inputs shukei{inputs.mainCaption, inputs.option,   inputs.nendo,
                                         inputs.gakunen,     inputs.testCode, inputs.kindName,
                                         inputs.dataFolder,  inputs.classType};
    TTestShukeiForm form(m_platform, shukei, &m_form);
    form.exec();
}

std::optional<MainGradePage::PeriodChoice> MainGradePage::periodChoice(const QString &group) {
    const RadioGroup *kinds = m_form.radioGroup(group);
    const int index = kinds->currentIndex();
    if (index < 0 || index >= m_hyouteiNumbers.size())
        return std::nullopt;
    const int grade = selectedIndex(u("gakunen5")) + 1;
    if (!gradeAvailable(grade))
        return std::nullopt;
    return PeriodChoice{m_hyouteiNumbers[index], kinds->currentText(), grade};
}

void MainGradePage::conferenceClick(bool excel) {
    const auto choice = periodChoice(u("HyouteiGroup2"));
    if (!choice)
        return;
    const int grade = choice->grade;
    if (excel) {
        const ExcelCopyContext c{m_context.mainCaption, m_context.dataFolder, m_context.nendo, grade,
                                 m_context.classType,   m_context.schoolKind, choice->number,  choice->name};
        TexcelcopyForm form(c, m_platform, &m_form);
        form.exec();
        return;
    }
    const KondanContext c{m_context.mainCaption, m_context.dataFolder, m_context.nendo,      grade,
                          m_context.classType,   m_context.schoolName, m_context.schoolKind, choice->number,
                          choice->name};
    TKondanForm1 form(c, m_platform, nullptr, &m_form);
    form.exec();
}

void MainGradePage::hyouteiStatusClick(bool elective) {
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
        TView3Form form(m_platform, inputs, &m_form);
        form.exec();
    } else {
        TView2Form form(m_platform, inputs, &m_form);
        form.exec();
    }
}

// "一覧表示と印刷" of "評定集計": the aggregation of the selected grade and evaluation period.
void MainGradePage::hyouteiListClick() {
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
    THyouteiShukeiForm form(m_platform, inputs, &m_form);
    form.exec();
}

} // namespace tavro
