#include "app/ui/MainAdminPage.h"

#include "app/Administration.h"
#include "app/Startup.h"
#include "app/ui/MainForm.h"
#include "app/ui/MainPages.h"
#include "app/ui/PermissionForm1.h"
#include "common/Cp932.h"
#include "config/ui/KantenDefForm.h"
#include "config/ui/SettingsForm.h"
#include "config/ui/TantoForm.h"
#include "platform/Prompter.h"
#include "widgets/RadioGroup.h"
#include "widgets/UiFont.h"

#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

using namespace mainui;
using ui::uiFont;

MainAdminPage::MainAdminPage(TMainForm &form)
    : m_form(form), m_platform(form.platform()), m_context(form.workingContext()) {
    auto *layout = pageLayout(this);
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
        textPalette.setColor(QPalette::WindowText, m_form.palette().color(QPalette::WindowText));
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
        connect(ninsyou, &QPushButton::clicked, this, &MainAdminPage::ninsyouClick);
        connect(m_lockPasswordEdit, &QLineEdit::returnPressed, this, &MainAdminPage::ninsyouClick);
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
        connect(m_schoolNameEdit, &QLineEdit::textEdited, this, &MainAdminPage::schoolNameEdited);
        form->addRow(u("学校名"), m_schoolNameEdit);
        m_adminPasswordEdit = new QLineEdit;
        m_adminPasswordEdit->setObjectName(u("AdminPasswordEdit"));
        m_adminPasswordEdit->setEchoMode(QLineEdit::Password);
        m_adminPasswordEdit->setMaximumWidth(180);
        form->addRow(u("管理者パスワード"), m_adminPasswordEdit);
        bv->addLayout(form);

        auto *groups = new QHBoxLayout;
        groups->setSpacing(10);
        RadioGroup *classType = m_form.addGroup(u("ClassTypeGroup"), u("学級の表記(&H)"),
                                                {u("数字（1組､2組･･･）"), u("英字（A組､B組･･･）")}, 1);
        connect(classType, &RadioGroup::itemClicked, this,
                [this](int index) { m_context.classType = index == 0; });
        groups->addWidget(classType, 3);
        RadioGroup *kind = m_form.addGroup(u("SchoolKindGroup"), u("校種"), {u("小学校"), u("中学校")}, 1);
        groups->addWidget(kind, 2);
        bv->addLayout(groups);

        auto *storeRow = new QHBoxLayout;
        storeRow->addStretch(1);
        auto *store = actionButton(u("変更を記憶する"), true);
        store->setObjectName(u("StoreButton"));
        storeRow->addWidget(store);
        connect(store, &QPushButton::clicked, this, &MainAdminPage::storeClick);
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
                connect(button, &QPushButton::clicked, this, &MainAdminPage::permissionClick);
            else if (qstrcmp(b.name, "SettingsButton") == 0)
                connect(button, &QPushButton::clicked, this, &MainAdminPage::settingsClick);
            else if (qstrcmp(b.name, "TantoButton") == 0)
                connect(button, &QPushButton::clicked, this, &MainAdminPage::tantoClick);
            else
                connect(button, &QPushButton::clicked, this, &MainAdminPage::kantenClick);
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
}

void MainAdminPage::showSettings() {
    m_schoolNameEdit->setText(m_context.schoolName);
    m_form.radioGroup(u("ClassTypeGroup"))->setCurrentIndex(m_context.classType ? 0 : 1);
    m_form.radioGroup(u("SchoolKindGroup"))->setCurrentIndex(m_context.schoolKind);

    const bool locked = !m_context.password.isEmpty();
    m_lockPanel->setVisible(locked);
    m_adminPanel->setVisible(!locked);
}

bool MainAdminPage::eventFilter(QObject *watched, QEvent *event) {
    if (m_descriptions.contains(watched)) {
        if (event->type() == QEvent::Enter)
            m_description->setText(m_descriptions.value(watched));
        else if (event->type() == QEvent::Leave)
            m_description->clear();
    }
    return QWidget::eventFilter(watched, event);
}

void MainAdminPage::schoolNameEdited(const QString &text) {
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

void MainAdminPage::ninsyouClick() {
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

void MainAdminPage::storeClick() {
    if (!checkDataFolder(m_context.dataFolder, *m_platform.prompter))
        return;
    const int kind = m_form.radioGroup(u("SchoolKindGroup"))->currentIndex();
    storeAdministration(*m_platform.prompter, m_context, m_adminPasswordEdit->text(), kind, [this] {
        m_form.showSchoolName();
        m_form.applySchoolKind();
    });
}

void MainAdminPage::permissionClick() {
    if (!checkDataFolder(m_context.dataFolder, *m_platform.prompter))
        return;
    TPermissionForm1 form(m_platform, m_context.nendo, m_context.dataFolder, &m_form);
    form.exec();
    reloadPermissions(m_context);
}

void MainAdminPage::settingsClick() {
    if (!checkDataFolder(m_context.dataFolder, *m_platform.prompter))
        return;
    TSettingsForm form(m_platform, m_context.mainCaption, m_context.nendo, m_context.dataFolder, &m_form);
    form.exec();
    m_form.reloadYear();
}

void MainAdminPage::tantoClick() {
    if (!checkDataFolder(m_context.dataFolder, *m_platform.prompter))
        return;
    TTantoForm form(m_platform, m_context.mainCaption, m_context.nendo, m_context.dataFolder,
                    m_context.schoolKind, &m_form);
    form.exec();
}

void MainAdminPage::kantenClick() {
    if (!checkDataFolder(m_context.dataFolder, *m_platform.prompter))
        return;
    TKantenDefForm form(m_platform, m_context.mainCaption, m_context.nendo, m_context.dataFolder,
                        m_context.schoolKind, &m_form);
    form.exec();
}

} // namespace tavro
