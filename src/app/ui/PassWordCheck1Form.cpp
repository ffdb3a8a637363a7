#include "app/ui/PassWordCheck1Form.h"

#include "platform/Prompter.h"
#include "platform/UserStore.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

namespace {

QString u(const char *text) {
    return QString::fromUtf8(text);
}

// Messages need a prompter; a dialog built without one still works, silently.
class SilentPrompter final : public Prompter {
public:
    Answer ask(const QString &, const QString &, Buttons, Answer defaultAnswer, Icon) override {
        return defaultAnswer;
    }
};

Prompter &prompterOf(const Platform &platform) {
    static SilentPrompter silent;
    return platform.prompter ? *platform.prompter : silent;
}

QLabel *note(const QString &text) {
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setStyleSheet(u("color: #404040;"));
    return label;
}

} // namespace

TPassWordCheck1Form::TPassWordCheck1Form(const Platform &platform, const LoginInputs &inputs, QWidget *parent)
    : QDialog(parent), m_platform(platform),
      m_login(std::make_unique<TeacherLogin>(prompterOf(platform), inputs)) {
    m_login->load();
    setObjectName(u("PassWordCheck1Form"));
    setWindowTitle(m_login->caption());
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(10);

    auto *heading = new QLabel(m_login->heading());
    heading->setObjectName(u("HeadingLabel"));
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.25);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setStyleSheet(
        u("QLabel { color: #12306e; border-bottom: 2px solid #5b7fc4; padding-bottom: 4px; }"));
    layout->addWidget(heading);

    auto *top = new QHBoxLayout;
    top->setSpacing(14);
    auto *teacherBox = new QGroupBox(u("教師名"));
    auto *teacherLayout = new QVBoxLayout(teacherBox);
    m_teacherList = new QListWidget;
    m_teacherList->setObjectName(u("TeacherList"));
    m_teacherList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_teacherList->addItems(m_login->teachers());
    m_teacherList->setMinimumSize(200, 220);
    teacherLayout->addWidget(m_teacherList);
    if (m_login->teachers().isEmpty()) {
        QLabel *empty = note(u("この年度の教師が登録されていません。管理者に確認をとってください。"));
        empty->setObjectName(u("NoTeacherLabel"));
        teacherLayout->addWidget(empty);
    }
    top->addWidget(teacherBox, 1);

    auto *right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(new QLabel(u("パスワード")));
    m_password = new QLineEdit;
    m_password->setObjectName(u("PasswordEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    right->addWidget(m_password);
    right->addSpacing(6);
    auto *ok = new QPushButton(u("OK"));
    ok->setObjectName(u("OKButton"));
    ok->setDefault(true);
    auto *etsuran = new QPushButton(u("閲覧"));
    etsuran->setObjectName(u("EtsuranButton"));
    etsuran->setToolTip(u("入力や訂正をせずに、データを見るだけにします。"));
    auto *cancel = new QPushButton(u("キャンセル"));
    cancel->setObjectName(u("CancelButton"));
    for (QPushButton *b : {ok, etsuran, cancel}) {
        b->setMinimumSize(120, 30);
        right->addWidget(b);
    }
    right->addStretch(1);
    top->addLayout(right);
    layout->addLayout(top, 1);

    auto *change = new QGroupBox(u("パスワードの変更"));
    change->setObjectName(u("PasswordChangeBox"));
    auto *changeLayout = new QVBoxLayout(change);
    changeLayout->setSpacing(6);
    changeLayout->addWidget(
        note(u("上記のパスワード欄に今までのパスワードを入力し、下記の新しいパスワードを入力してください。"
               "確認用パスワードは、新しいパスワードと同じものを入力してください。")));
    changeLayout->addWidget(
        note(u("初めてパスワードを設定する場合は、上のパスワード欄は空欄のままにしてください。")));
    auto *form = new QFormLayout;
    m_newPassword = new QLineEdit;
    m_newPassword->setObjectName(u("NewPasswordEdit"));
    m_confirmPassword = new QLineEdit;
    m_confirmPassword->setObjectName(u("ConfirmPasswordEdit"));
    for (QLineEdit *e : {m_newPassword, m_confirmPassword}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaximumWidth(200);
    }
    form->addRow(u("新しいパスワード"), m_newPassword);
    form->addRow(u("確認用パスワード"), m_confirmPassword);
    auto *changeRow = new QHBoxLayout;
    changeRow->addLayout(form, 1);
    auto *henkou = new QPushButton(u("変更"));
    henkou->setObjectName(u("HenkouButton"));
    henkou->setMinimumSize(90, 30);
    henkou->setAutoDefault(false);
    changeRow->addWidget(henkou, 0, Qt::AlignBottom);
    changeLayout->addLayout(changeRow);
    layout->addWidget(change);

    connect(ok, &QPushButton::clicked, this, &TPassWordCheck1Form::okClick);
    connect(etsuran, &QPushButton::clicked, this, &TPassWordCheck1Form::etsuranClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(henkou, &QPushButton::clicked, this, &TPassWordCheck1Form::henkouClick);
    connect(m_teacherList, &QListWidget::itemDoubleClicked, this, [this] { m_password->setFocus(); });

    if (m_login->viewOnly()) {
        for (QWidget *w :
             std::initializer_list<QWidget *>{ok, m_password, m_newPassword, m_confirmPassword, henkou})
            w->setEnabled(false);
        etsuran->setDefault(true);
    }

    const int stored = m_platform.userStore ? m_platform.userStore->readInt(u("Input"), u("Teacher"), 0) : 0;
    if (m_teacherList->count() > 0)
        m_teacherList->setCurrentRow(qBound(0, stored, m_teacherList->count() - 1));
    (m_login->viewOnly() ? static_cast<QWidget *>(etsuran) : m_password)->setFocus();
}

TPassWordCheck1Form::~TPassWordCheck1Form() = default;

LoginResult TPassWordCheck1Form::loginResult() const {
    return m_login->result();
}

int TPassWordCheck1Form::selectedTeacher() const {
    return m_teacherList->currentItem() && m_teacherList->currentItem()->isSelected()
               ? m_teacherList->currentRow()
               : -1;
}

void TPassWordCheck1Form::okClick() {
    if (m_login->viewOnly())
        return;
    if (m_login->ok(selectedTeacher(), m_password->text()) == TeacherLogin::Outcome::Ok) {
        accept();
        return;
    }
    m_password->selectAll();
    m_password->setFocus();
}

void TPassWordCheck1Form::etsuranClick() {
    switch (m_login->view(selectedTeacher())) {
    case TeacherLogin::Outcome::Ok:
        accept();
        break;
    case TeacherLogin::Outcome::Cancel:
        reject();
        break;
    case TeacherLogin::Outcome::Stay:
        break;
    }
}

void TPassWordCheck1Form::henkouClick() {
    if (m_login->viewOnly())
        return;
    if (m_login->changePassword(selectedTeacher(), m_password->text(), m_newPassword->text(),
                                m_confirmPassword->text())) {
        m_password->clear();
        m_newPassword->clear();
        m_confirmPassword->clear();
        m_password->setFocus();
    }
}

void TPassWordCheck1Form::done(int r) {
    if (m_platform.userStore && m_teacherList->currentRow() >= 0)
        m_platform.userStore->writeInt(u("Input"), u("Teacher"), m_teacherList->currentRow());
    QDialog::done(r);
}

} // namespace tavro
