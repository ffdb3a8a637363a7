#include "config/ui/SettingsForm.h"
#include "widgets/UiFont.h"

#include "config/ui/SettingsFormParts.h"
#include "platform/Prompter.h"
#include "platform/UserStore.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>

namespace tavro {

namespace {

QString u(const char *text) {
    return QString::fromUtf8(text);
}

const QString kRegistrySection = QStringLiteral("Settings");
const QString kRegistryValue = QStringLiteral("PageControl1");

using ui::uiFont;
using namespace settingsui;

QString hyouteiCaption(int n) {
    return u("評定") + SettingsEditor::numeral(n);
}

} // namespace

TSettingsForm::TSettingsForm(const Platform &platform, const QString &mainCaption, int nendo,
                             const QString &dataFolder, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_editor(dataFolder, nendo, platform.prompter) {
    setObjectName(u("SettingsForm"));
    setWindowTitle(mainCaption.isEmpty()
                       ? u("各種設定")
                       : mainCaption + u(" - 各種設定 ") + QString::number(nendo) + u("年度"));
    setModal(true);
    setFont(uiFont(10));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    m_pages = new QTabWidget;
    m_pages->setObjectName(u("PageControl1"));
    m_pages->setUsesScrollButtons(false);
    m_pages->tabBar()->setExpanding(false);
    m_pages->addTab(buildTeikiPage(), u("定期"));
    m_pages->addTab(buildGakuPage(), u("学力・実力"));
    m_pages->addTab(buildHyouteiPage(false), u("必修評定"));
    m_pages->addTab(buildHyouteiPage(true), u("選択評定"));
    m_pages->addTab(buildPatternPage(), u("評定パターン"));
    m_pages->addTab(buildKansanPage(), u("観点換算"));
    m_pages->addTab(buildTeacherPage(), u("教師名"));
    m_pages->addTab(buildClassCountPage(), u("学級数"));
    m_pages->addTab(buildSentakuPage(), u("選択教科名"));
    m_pages->addTab(buildYearEndPage(), u("学年末処理"));
    m_pages->addTab(buildOther1Page(), u("その他1"));
    m_pages->addTab(buildOther2Page(), u("その他2"));
    layout->addWidget(m_pages, 1);

    auto *bottom = new QHBoxLayout;
    auto *year = new QLabel(QString::number(nendo) + u("年度の設定"));
    year->setStyleSheet(u("color: #505050;"));
    bottom->addWidget(year);
    bottom->addStretch(1);
    auto *ok = new QPushButton(u("OK"));
    ok->setObjectName(u("OKButton"));
    ok->setDefault(true);
    ok->setMinimumSize(110, 30);
    bottom->addWidget(ok);
    layout->addLayout(bottom);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    for (const auto &load : m_loaders)
        load();
    showPattern(m_editor.settings().patterns[0]);
    m_patternSelect->setCurrentIndex(0);
    refreshTeachers();

    const int stored =
        m_platform.userStore ? m_platform.userStore->readInt(kRegistrySection, kRegistryValue, 0) : 0;
    m_pages->setCurrentIndex(qBound(0, stored, m_pages->count() - 1));
    resize(sizeHint().expandedTo(QSize(860, 540)));
}

TSettingsForm::~TSettingsForm() = default;

void TSettingsForm::bind(std::function<void()> load, std::function<void()> store) {
    m_loaders.push_back(std::move(load));
    m_storers.push_back(std::move(store));
}

void TSettingsForm::refuse(const QString &message) {
    if (m_platform.prompter)
        m_platform.prompter->message(u("Tavro"), message, Prompter::Icon::Warning);
}

void TSettingsForm::guard(QLineEdit *edit, std::function<bool(const QString &, QString *)> check) {
    auto accepted = std::make_shared<QString>(edit->text());
    // Text set by the program (stored values, defaults) is taken as it is; typed text must pass.
    connect(edit, &QLineEdit::textChanged, this, [edit, accepted, check](const QString &text) {
        if (!edit->isModified() || check(text, nullptr))
            *accepted = text;
    });
    connect(edit, &QLineEdit::textEdited, this, [this, edit, accepted, check](const QString &text) {
        QString reason;
        if (check(text, &reason))
            return;
        const int cursor = edit->cursorPosition() - int(text.size() - accepted->size());
        edit->setText(*accepted);
        edit->setCursorPosition(qBound(0, cursor, int(accepted->size())));
        refuse(reason);
    });
}

void TSettingsForm::guard(QPlainTextEdit *edit) {
    // The text read from the file is the starting point; only lines typed later are checked.
    auto accepted = std::make_shared<QString>(edit->toPlainText());
    auto reverting = std::make_shared<bool>(false);
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, accepted, reverting] {
        if (*reverting)
            return;
        const QString text = edit->toPlainText();
        QString reason;
        if (SettingsEditor::checkElectiveLines(accepted->split(u'\n'), text.split(u'\n'), &reason)) {
            *accepted = text;
            return;
        }
        const int cursor = edit->textCursor().position() - int(text.size() - accepted->size());
        *reverting = true;
        edit->setPlainText(*accepted);
        QTextCursor c = edit->textCursor();
        c.setPosition(qBound(0, cursor, int(accepted->size())));
        edit->setTextCursor(c);
        *reverting = false;
        refuse(reason);
    });
}

// ---- pages ----

QWidget *TSettingsForm::buildTeikiPage() {
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    for (int n = 1; n <= 5; ++n) {
        auto *edit = lineEdit(u("TestName%1").arg(n), 260);
        guard(edit, SettingsEditor::checkText);
        m_testNames[n - 1] = edit;
        grid->addWidget(new QLabel(u("テスト%1").arg(n)), n - 1, 0);
        grid->addWidget(edit, n - 1, 1);
        QString &value = m_editor.settings().testName[n - 1];
        bind([edit, &value] { edit->setText(value); }, [edit, &value] { value = edit->text(); });
    }
    QVBoxLayout *buttons =
        defaultButtons(u("TeikiDefault"), m_testNames, &SettingsEditor::periodicTestDefaults);
    auto *names = new QHBoxLayout;
    names->setSpacing(16);
    names->addWidget(framed(u("定期テストの名称"), grid));
    names->addLayout(buttons);
    names->addStretch(1);

    auto *ss = radioGroup(u("T_TestSSorAVG"), u("得点通知表印刷"), {u("偏差値を印刷"), u("平均点を印刷")});
    int &value = m_editor.settings().tTestSSorAVG;
    bind([ss, &value] { ss->setCurrentIndex(RadioGroup::clampIndex(value, ss->count())); },
         [ss, &value] { value = qMax(0, ss->currentIndex()); });

    auto *v = new QVBoxLayout;
    v->setSpacing(14);
    v->addLayout(names);
    v->addLayout(row({ss}));
    return page(v, {u("※あとからテスト名を変更しても、上からの順番でデータが読み込まれます。")});
}

QWidget *TSettingsForm::buildGakuPage() {
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    for (int n = 1; n <= 9; ++n) {
        auto *edit = lineEdit(u("GakuNameName%1").arg(n), 260);
        guard(edit, SettingsEditor::checkText);
        grid->addWidget(new QLabel(u("テスト%1").arg(n)), n - 1, 0);
        grid->addWidget(edit, n - 1, 1);
        QString &value = m_editor.settings().gakuNameName[n - 1];
        bind([edit, &value] { edit->setText(value); }, [edit, &value] { value = edit->text(); });
    }
    auto *kind = radioGroup(u("GakuTestName"), u("テストの名称"), {u("学力テスト"), u("実力テスト")});
    auto *ss = radioGroup(u("G_TestSSorAVG"), u("得点通知表印刷"), {u("偏差値を印刷"), u("平均点を印刷")});
    int &kindValue = m_editor.settings().gakuTestName;
    int &ssValue = m_editor.settings().gTestSSorAVG;
    bind([kind, &kindValue] { kind->setCurrentIndex(RadioGroup::clampIndex(kindValue, kind->count())); },
         [kind, &kindValue] { kindValue = qMax(0, kind->currentIndex()); });
    bind([ss, &ssValue] { ss->setCurrentIndex(RadioGroup::clampIndex(ssValue, ss->count())); },
         [ss, &ssValue] { ssValue = qMax(0, ss->currentIndex()); });
    auto *groups = new QVBoxLayout;
    groups->setSpacing(12);
    groups->addWidget(kind);
    groups->addWidget(ss);
    groups->addStretch(1);
    auto *h = new QHBoxLayout;
    h->setSpacing(16);
    h->addWidget(framed(u("学力・実力テストの名称"), grid));
    h->addLayout(groups);
    h->addStretch(1);
    return page(h);
}

QWidget *TSettingsForm::buildHyouteiPage(bool elective) {
    const QString prefix = elective ? u("S") : QString();
    YearSettings::Patterns &patterns = elective ? m_editor.settings().sentaku : m_editor.settings().hissu;
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    const QStringList headings{u("評定名"), u("評定パターン"), u("観点パターン"), u("比較")};
    for (int c = 0; c < headings.size(); ++c) {
        auto *h = new QLabel(headings[c]);
        h->setStyleSheet(u("color: #404040;"));
        grid->addWidget(h, 0, c + 1, c == 0 ? Qt::AlignLeft : Qt::AlignHCenter);
    }
    for (int n = 1; n <= 5; ++n) {
        grid->addWidget(new QLabel(hyouteiCaption(n)), n, 0);
        auto *name = lineEdit(prefix + u("HyouteiName%1").arg(n), 220);
        if (elective) {
            name->setReadOnly(true);
            name->setFocusPolicy(Qt::NoFocus);
            name->setStyleSheet(u("QLineEdit { background: #ececec; color: #303030; }"));
            m_sentakuNames[n - 1] = name;
        } else {
            guard(name, SettingsEditor::checkText);
            m_hyouteiNames[n - 1] = name;
            QString &value = m_editor.settings().hyouteiName[n - 1];
            bind([name, &value] { name->setText(value); }, [name, &value] { value = name->text(); });
        }
        grid->addWidget(name, n, 1);

        auto *hyoutei = comboBox(prefix + u("HyouteiPatern%1").arg(n), SettingsEditor::patternItems(true));
        auto *kanten = comboBox(prefix + u("KantenPatern%1").arg(n), SettingsEditor::patternItems(false));
        int &h = patterns.hyouteiPatern[n - 1];
        int &k = patterns.kantenPatern[n - 1];
        bind([hyoutei, &h] { hyoutei->setCurrentIndex(qBound(0, h, hyoutei->count() - 1)); },
             [hyoutei, &h] { h = qMax(0, hyoutei->currentIndex()); });
        bind([kanten, &k] { kanten->setCurrentIndex(qBound(0, k, kanten->count() - 1)); },
             [kanten, &k] { k = qMax(0, kanten->currentIndex()); });
        grid->addWidget(hyoutei, n, 2);
        grid->addWidget(kanten, n, 3);
        if (n >= 2) {
            auto *hikaku = comboBox(prefix + u("Hikaku%1").arg(n), SettingsEditor::comparisonItems(n));
            int &value = patterns.hikaku[n - 1];
            bind([hikaku, &value] { hikaku->setCurrentIndex(qBound(0, value, hikaku->count() - 1)); },
                 [hikaku, &value] { value = qMax(0, hikaku->currentIndex()); });
            grid->addWidget(hikaku, n, 4);
        }
    }
    grid->setColumnMinimumWidth(5, 8);
    grid->setColumnStretch(7, 1);

    QStringList notes;
    if (elective) {
        notes = {u("※評定名は、必修教科と共通です。"),
                 u("※「比較」は、評定の上下の変動を比較するための対象を指定します。")};
        for (int n = 0; n < 5; ++n)
            connect(m_hyouteiNames[n], &QLineEdit::textChanged, m_sentakuNames[n], &QLineEdit::setText);
    } else {
        grid->addLayout(
            defaultButtons(u("HyouteiDefault"), m_hyouteiNames, &SettingsEditor::evaluationDefaults), 1, 6, 5,
            1);
        notes = {u("※あとから評定名を変更しても、上からの順番でデータが読み込まれます。"),
                 u("※「比較」は、評定の上下の変動を比較するための対象を指定します。")};
    }
    return page(grid, notes);
}

QWidget *TSettingsForm::buildPatternPage() {
    m_patternSelect =
        radioGroup(u("PatternSelect"), u("パターン"), {u("A"), u("B"), u("C"), u("D"), u("E")}, 5);
    connect(m_patternSelect, &RadioGroup::currentIndexChanged, this, &TSettingsForm::patternSelected);

    auto *scale = new QGroupBox(u("評定の記号と到達度"));
    auto *grid = new QGridLayout(scale);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    for (int k = 1; k <= 10; ++k) {
        const int r = (k - 1) % 5;
        const int c = (k - 1) / 5 * 5;
        auto *number = new QLabel(u("%1").arg(k));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setMinimumWidth(20);
        auto *kigou = lineEdit(u("Kigou%1").arg(k), 70);
        kigou->setAlignment(Qt::AlignCenter);
        guard(kigou, SettingsEditor::checkSymbol);
        m_kigou[k - 1] = kigou;
        grid->addWidget(number, r, c);
        grid->addWidget(kigou, r, c + 1);
        if (k <= 9) {
            auto *cut = spinBox(u("CutPoint%1").arg(k), 0, 100);
            m_cutPoint[k - 1] = cut;
            grid->addWidget(cut, r, c + 2);
        } else {
            auto *zero = new QLabel(u("0"));
            zero->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            zero->setStyleSheet(u("color: #606060; padding-right: 4px;"));
            grid->addWidget(zero, r, c + 2);
        }
        grid->addWidget(new QLabel(u("％")), r, c + 3);
    }
    grid->setColumnMinimumWidth(4, 36);
    grid->setColumnStretch(9, 1);

    m_totatuDisp = radioGroup(u("TotatuDisp"), u("資料Cの総合到達度の表示"), {u("表示"), u("非表示")}, 2);

    auto *v = new QVBoxLayout;
    v->setSpacing(12);
    v->addLayout(row({m_patternSelect}));
    v->addWidget(scale);
    v->addLayout(row({m_totatuDisp}));
    return page(v, {u("※評定の文字列と到達度を指定します。最後の記号の到達度は0%です。"),
                    u("※評定の記号は、半角4文字分までとします。"),
                    u("※記号は、左上から到達度の高い順に記述してください。")});
}

QWidget *TSettingsForm::buildKansanPage() {
    auto *group = radioGroup(u("KanHyouHenkan"), u("観点換算方式のパターンのオプション"),
                             {u("四捨五入をする(AAABは5になる)"), u("切り捨てをする(AAABは4になる)")});
    int &value = m_editor.settings().kanHyouHenkan;
    bind([group, &value] { group->setCurrentIndex(RadioGroup::clampIndex(value, group->count())); },
         [group, &value] { value = qMax(0, group->currentIndex()); });
    auto *v = new QVBoxLayout;
    v->setSpacing(12);
    v->addLayout(row({group}));
    auto *explain = new QLabel(u("観点のAは5、Bは3、Cは1とし、合算した数値を評定とする"));
    auto *explainS = new QLabel(u("選択教科は、Aは3、Bは2、Cは1となります。"));
    v->addWidget(explain);
    v->addWidget(explainS);
    return page(v);
}

QWidget *TSettingsForm::buildTeacherPage() {
    m_teacherList = new QListWidget;
    m_teacherList->setObjectName(u("TeacherList"));
    m_teacherList->setMinimumWidth(240);
    m_teacherList->setSelectionMode(QAbstractItemView::SingleSelection);
    // Selection, not the current row: focus alone makes a row current without choosing it.
    connect(m_teacherList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> selected = m_teacherList->selectedItems();
        teacherSelected(selected.isEmpty() ? -1 : m_teacherList->row(selected.first()));
    });

    m_teacherName = lineEdit(u("TeacherName"), 200);
    guard(m_teacherName, SettingsEditor::checkText);
    m_teacherGrade = spinBox(u("TeacherGrade"), 1, 6);
    m_teacherClass = spinBox(u("TeacherClass"), 0, 12);

    auto *input = new QGroupBox(u("教師の氏名と所属"));
    auto *form = new QGridLayout(input);
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(8);
    form->addWidget(new QLabel(u("氏名")), 0, 0);
    form->addWidget(m_teacherName, 0, 1, 1, 4);
    form->addWidget(new QLabel(u("学年")), 1, 0);
    form->addWidget(m_teacherGrade, 1, 1);
    form->addWidget(new QLabel(u("組")), 1, 2, Qt::AlignRight);
    form->addWidget(m_teacherClass, 1, 3);
    form->setColumnStretch(4, 1);

    auto *add = button(u("AddButton"), u("追加"));
    m_replace = button(u("ReplaceButton"), u("置換"));
    m_delete = button(u("DeleteButton"), u("削除"));
    m_up = button(u("UpButton"), u("上へ移動"));
    m_down = button(u("DownButton"), u("下へ移動"));
    connect(add, &QPushButton::clicked, this, &TSettingsForm::addTeacherClick);
    connect(m_replace, &QPushButton::clicked, this, &TSettingsForm::replaceTeacherClick);
    connect(m_delete, &QPushButton::clicked, this, &TSettingsForm::deleteTeacherClick);
    connect(m_up, &QPushButton::clicked, this, [this] { moveTeacherClick(true); });
    connect(m_down, &QPushButton::clicked, this, [this] { moveTeacherClick(false); });
    auto *buttons = new QGridLayout;
    buttons->setSpacing(8);
    buttons->addWidget(add, 0, 0);
    buttons->addWidget(m_replace, 0, 1);
    buttons->addWidget(m_delete, 0, 2);
    buttons->addWidget(m_up, 1, 0);
    buttons->addWidget(m_down, 1, 1);

    auto *right = new QVBoxLayout;
    right->setSpacing(12);
    right->addWidget(input);
    right->addLayout(buttons);
    right->addStretch(1);
    right->addWidget(note(u("※副担の所属学年の組は0にしてください。")));
    right->addWidget(note(u("※フルネームで入力してください。スペースや機種依存文字は使わないでください。")));
    right->addWidget(note(u("※年度途中で氏名を変更するとデータは読み込まれなくなります。")));

    m_teacherCount = new QLabel;
    m_teacherCount->setObjectName(u("TeacherCount"));
    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(m_teacherCount);
    left->addWidget(m_teacherList, 1);

    auto *w = new QWidget;
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(16, 14, 16, 12);
    h->setSpacing(16);
    h->addLayout(left, 1);
    h->addLayout(right, 1);
    return w;
}

QWidget *TSettingsForm::buildClassCountPage() {
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    for (int g = 1; g <= 6; ++g) {
        auto *spin = spinBox(u("ClassCount%1").arg(g), 0, 12);
        int &value = m_editor.settings().classCount[g - 1];
        bind([spin, &value] { spin->setValue(value); }, [spin, &value] { value = spin->value(); });
        grid->addWidget(new QLabel(u("%1年生").arg(g)), g - 1, 0);
        grid->addWidget(spin, g - 1, 1);
        grid->addWidget(new QLabel(u("学級")), g - 1, 2);
    }
    auto *h = new QHBoxLayout;
    h->addWidget(framed(u("学年ごとの学級数"), grid));
    h->addStretch(1);
    return page(h, {u("※9学級まで対応")});
}

QWidget *TSettingsForm::buildSentakuPage() {
    auto *tabs = new QTabWidget;
    tabs->setObjectName(u("SentakuPages"));
    for (int g = 1; g <= 6; ++g) {
        auto *edit = new QPlainTextEdit;
        edit->setObjectName(u("Sentaku%1").arg(g));
        edit->setTabChangesFocus(true);
        edit->setLineWrapMode(QPlainTextEdit::NoWrap);
        edit->setPlainText(m_editor.electivePages()[g - 1].join(u'\n'));
        guard(edit);
        m_sentakuPages[g - 1] = edit;
        tabs->addTab(edit, u("%1年選択").arg(g));
    }
    auto *w = new QWidget;
    auto *v = new QVBoxLayout(w);
    v->setContentsMargins(16, 14, 16, 12);
    v->setSpacing(8);
    v->addWidget(tabs, 1);
    v->addWidget(note(u("※「1年選択国語」のように記述していきます。「選択国語」でも「国語」でもかまいません。"
                        "自動で補完します。")));
    v->addWidget(note(u("※選択教科の教科数は、各学年最大50までとします。")));
    v->addWidget(note(u("※教科名は既存の2文字教科名を使用してください。「保健」や「体育」は「保体」、"
                        "「技術」や「家庭」は「技家」と定義しないと集約できません。")));
    return w;
}

QWidget *TSettingsForm::buildYearEndPage() {
    YearSettings &s = m_editor.settings();
    auto *consistency = checkBox(u("Consistency"), u("整合性のチェックをおこなう"));
    bind([consistency, &s] { consistency->setChecked(s.consistency); },
         [consistency, &s] { s.consistency = consistency->isChecked(); });

    auto bindItem = [this](QComboBox *box, int &value) {
        bind([box, &value] { box->setCurrentIndex(qBound(0, value, box->count() - 1)); },
             [box, &value] { value = qMax(0, box->currentIndex()); });
    };
    auto *check = new QGroupBox(u("整合性のチェック"));
    auto *grid = new QGridLayout(check);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    grid->addWidget(consistency, 0, 0, 1, 3);
    auto *yearEnd = comboBox(u("ConsistencyItem0"), SettingsEditor::evaluationItems());
    bindItem(yearEnd, s.consistencyItem[0]);
    grid->addWidget(new QLabel(u("学年末の評定")), 1, 0);
    grid->addWidget(yearEnd, 1, 1);
    for (int i = 1; i <= 3; ++i) {
        auto *target = comboBox(u("ConsistencyItem%1").arg(i), SettingsEditor::evaluationItems());
        bindItem(target, s.consistencyItem[i]);
        grid->addWidget(new QLabel(u("対象の評定%1").arg(i)), i + 1, 0);
        grid->addWidget(target, i + 1, 1);
    }
    grid->setColumnStretch(2, 1);

    auto *trend = new QGroupBox(u("評定推移一覧印刷(印刷資料Eの設定)"));
    auto *trendGrid = new QGridLayout(trend);
    trendGrid->setHorizontalSpacing(10);
    trendGrid->setVerticalSpacing(8);
    for (int i = 1; i <= 3; ++i) {
        auto *target = comboBox(u("ChangeList%1").arg(i), SettingsEditor::evaluationItems());
        bindItem(target, s.changeList[i - 1]);
        trendGrid->addWidget(new QLabel(u("対象の評定%1").arg(i)), i - 1, 0);
        trendGrid->addWidget(target, i - 1, 1);
    }
    trendGrid->setColumnStretch(2, 1);

    auto *h = new QHBoxLayout;
    h->setSpacing(16);
    h->addWidget(check, 0, Qt::AlignTop);
    h->addWidget(trend, 0, Qt::AlignTop);
    h->addStretch(1);
    return page(h);
}

QWidget *TSettingsForm::buildOther1Page() {
    YearSettings &s = m_editor.settings();
    auto bindRadio = [this](RadioGroup *g, int &value) {
        bind([g, &value] { g->setCurrentIndex(RadioGroup::clampIndex(value, g->count())); },
             [g, &value] { value = qMax(0, g->currentIndex()); });
    };
    auto bindCheck = [this](QCheckBox *c, bool &value) {
        bind([c, &value] { c->setChecked(value); }, [c, &value] { value = c->isChecked(); });
    };
    auto *border = radioGroup(
        u("BorderRound"), u("評定判定時の到達度の処理"),
        {u("そのまま"), u("四捨五入(整数で判定)"), u("切り上げ"), u("四捨五入(小数点第1位で判定)")});
    bindRadio(border, s.borderRound);
    auto *mikomi =
        radioGroup(u("MikomiPatern"), u("自動見込みの算出方法"), {u("全項目から算出"), u("観点別に算出")});
    bindRadio(mikomi, s.mikomiPatern);
    auto *marume =
        radioGroup(u("Marume"), u("得点通知表印刷の平均点の丸め"), {u("整数にする"), u("小数点第1位まで")});
    bindRadio(marume, s.marume);
    auto *borderCheck = radioGroup(u("BorderCheck"), u("小票のボーダーラインチェック"),
                                   {u("しない"), u("±1"), u("±2"), u("±3"), u("±4"), u("±5")}, 3);
    bindRadio(borderCheck, s.borderCheck);

    auto *tKanten = checkBox(u("T_Test_Kanten"), u("定期テストを観点別に処理する"));
    auto *gKanten = checkBox(u("G_Test_Kanten"), u("学力・実力テストを観点別に処理する"));
    auto *emphasis = checkBox(u("Totatu_Emphasis"), u("観点別印刷のとき、観点別の到達度を強調する"));
    bindCheck(tKanten, s.tTestKanten);
    bindCheck(gKanten, s.gTestKanten);
    bindCheck(emphasis, s.totatuEmphasis);

    auto *left = new QVBoxLayout;
    left->setSpacing(12);
    left->addWidget(border);
    auto *checks = new QVBoxLayout;
    checks->setSpacing(6);
    checks->addWidget(tKanten);
    checks->addWidget(gKanten);
    checks->addWidget(emphasis);
    left->addLayout(checks);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->setSpacing(12);
    right->addWidget(mikomi);
    right->addWidget(marume);
    right->addWidget(borderCheck);
    right->addStretch(1);
    auto *h = new QHBoxLayout;
    h->setSpacing(16);
    h->addLayout(left);
    h->addLayout(right);
    h->addStretch(1);
    return page(h);
}

QWidget *TSettingsForm::buildOther2Page() {
    YearSettings &s = m_editor.settings();
    auto bindCheck = [this](QCheckBox *c, bool &value) {
        bind([c, &value] { c->setChecked(value); }, [c, &value] { value = c->isChecked(); });
    };
    auto *paste = new QGroupBox(u("データ貼り付け"));
    auto *pasteLayout = new QVBoxLayout(paste);
    auto *toutatu = checkBox(u("ToutatuPaste"), u("観点到達度のデータ貼り付けを許可する"));
    auto *comment = checkBox(u("CommentPaste"), u("コメントのデータ貼り付けを許可する"));
    bindCheck(toutatu, s.toutatuPaste);
    bindCheck(comment, s.commentPaste);
    pasteLayout->addWidget(toutatu);
    pasteLayout->addWidget(comment);

    auto *houkou = radioGroup(u("IchiranHoukou"), u("成績一覧表の形式"), {u("A3横向き"), u("A3縦向き")}, 2);
    bind([houkou, &s] { houkou->setCurrentIndex(RadioGroup::clampIndex(s.ichiranHoukou, houkou->count())); },
         [houkou, &s] { s.ichiranHoukou = qMax(0, houkou->currentIndex()); });

    auto *print = new QGroupBox(u("印刷と転送"));
    auto *printLayout = new QVBoxLayout(print);
    const std::pair<const char *, const char *> items[] = {
        {"OldType", "小票の印刷は、旧形式にする。"},
        {"DanjoBetu", "成績一覧印刷で、人数集計の保体を男女別にする"},
        {"CompareKanten", "観点換算との比較チェック"},
        {"AddKoumuToutatu", "校務支援転送に到達度を付ける"},
    };
    bool *values[] = {&s.oldType, &s.danjoBetu, &s.compareKanten, &s.addKoumuToutatu};
    for (int i = 0; i < 4; ++i) {
        auto *c = checkBox(u(items[i].first), u(items[i].second));
        bindCheck(c, *values[i]);
        printLayout->addWidget(c);
    }

    auto *v = new QVBoxLayout;
    v->setSpacing(12);
    v->addLayout(row({paste}));
    v->addLayout(row({houkou}));
    v->addLayout(row({print}));
    return page(v);
}

// ---- patterns ----

SymbolPattern TSettingsForm::shownPattern() const {
    SymbolPattern p;
    for (int k = 0; k < 10; ++k)
        p.kigou[k] = m_kigou[k]->text();
    for (int k = 0; k < 9; ++k)
        p.cutPoint[k] = m_cutPoint[k]->value();
    p.totatuDisp = qMax(0, m_totatuDisp->currentIndex());
    return p;
}

void TSettingsForm::showPattern(const SymbolPattern &pattern) {
    for (int k = 0; k < 10; ++k)
        m_kigou[k]->setText(pattern.kigou[k]);
    for (int k = 0; k < 9; ++k)
        m_cutPoint[k]->setValue(pattern.cutPoint[k]);
    m_totatuDisp->setCurrentIndex(RadioGroup::clampIndex(pattern.totatuDisp, m_totatuDisp->count()));
}

void TSettingsForm::patternSelected(int index) {
    if (index < 0 || index == m_editor.shownPattern())
        return;
    // Copy: the reference points into the working copy that the next switch overwrites.
    const SymbolPattern next = m_editor.switchPattern(shownPattern(), index);
    showPattern(next);
}

// ---- teachers ----

void TSettingsForm::refreshTeachers() {
    const TeacherListEditor &list = m_editor.teachers();
    {
        const QSignalBlocker blocker(m_teacherList);
        m_teacherList->clear();
        m_teacherList->addItems(list.entries());
        m_teacherList->setCurrentRow(list.current());
    }
    if (list.current() >= 0)
        m_teacherList->scrollToItem(m_teacherList->item(list.current()));
    m_teacherCount->setText(u("登録されている教師 %1人").arg(list.count()));
    m_replace->setEnabled(list.canReplace());
    m_delete->setEnabled(list.canRemove());
    m_up->setEnabled(list.canMoveUp());
    m_down->setEnabled(list.canMoveDown());
}

void TSettingsForm::teacherSelected(int row) {
    TeacherListEditor &list = m_editor.teachers();
    list.select(row);
    if (list.current() >= 0) {
        const TeacherFile::EntryParts parts = list.currentParts();
        m_teacherName->setText(parts.name);
        m_teacherGrade->setValue(parts.grade);
        m_teacherClass->setValue(parts.cls);
    }
    m_replace->setEnabled(list.canReplace());
    m_delete->setEnabled(list.canRemove());
    m_up->setEnabled(list.canMoveUp());
    m_down->setEnabled(list.canMoveDown());
}

void TSettingsForm::addTeacherClick() {
    const auto result =
        m_editor.teachers().add(m_teacherName->text(), m_teacherGrade->value(), m_teacherClass->value());
    // A refused name stays in the box to be corrected.
    if (result != TeacherListEditor::Result::Refused)
        m_teacherName->clear();
    refreshTeachers();
    m_teacherName->setFocus();
}

void TSettingsForm::replaceTeacherClick() {
    const auto result =
        m_editor.teachers().replace(m_teacherName->text(), m_teacherGrade->value(), m_teacherClass->value());
    if (result != TeacherListEditor::Result::Refused)
        m_teacherName->clear();
    refreshTeachers();
}

void TSettingsForm::deleteTeacherClick() {
    if (m_editor.teachers().remove() == TeacherListEditor::Result::Done)
        refreshTeachers();
}

void TSettingsForm::moveTeacherClick(bool up) {
    if (up ? m_editor.teachers().moveUp() : m_editor.teachers().moveDown())
        refreshTeachers();
}

// ---- close ----

void TSettingsForm::storeControls() {
    for (const auto &store : m_storers)
        store();
    m_editor.storeShownPattern(shownPattern());
    for (int g = 0; g < 6; ++g)
        m_editor.electivePages()[g] = m_sentakuPages[g]->toPlainText().split(u'\n');
}

void TSettingsForm::done(int r) {
    if (m_closing)
        return;
    storeControls();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool saved = m_editor.save(&error);
    QGuiApplication::restoreOverrideCursor();
    if (!saved && !m_editor.closeAfterFailedSave(error))
        return;
    if (m_platform.userStore)
        m_platform.userStore->writeInt(kRegistrySection, kRegistryValue, m_pages->currentIndex());
    m_closing = true;
    QDialog::done(r);
}

} // namespace tavro
