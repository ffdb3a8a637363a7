#include "config/ui/SentakuMember1Form.h"

#include "platform/Prompter.h"
#include "widgets/FormStyle.h"
#include "widgets/UiFont.h"

#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>

namespace tavro {

namespace {

QString u(const char *text) {
    return QString::fromUtf8(text);
}

// The member text: typed, pasted or dropped text that code page 932 cannot hold is refused before it
// reaches the document, so nothing typed so far is lost.
class MemberTextEdit final : public QPlainTextEdit {
public:
    explicit MemberTextEdit(std::function<void(const QString &)> refuse) : m_refuse(std::move(refuse)) {}

protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (refused(event->text()))
            return;
        QPlainTextEdit::keyPressEvent(event);
    }
    void inputMethodEvent(QInputMethodEvent *event) override {
        if (refused(event->commitString())) {
            QInputMethodEvent cleared(event->preeditString(), event->attributes());
            QPlainTextEdit::inputMethodEvent(&cleared);
            return;
        }
        QPlainTextEdit::inputMethodEvent(event);
    }
    void insertFromMimeData(const QMimeData *source) override {
        if (source && refused(source->text()))
            return;
        QPlainTextEdit::insertFromMimeData(source);
    }

private:
    bool refused(const QString &text) {
        const QString message = SentakuMemberEditor::unencodableMessage(text);
        if (message.isEmpty())
            return false;
        m_refuse(message);
        return true;
    }

    std::function<void(const QString &)> m_refuse;
};

} // namespace

TSentakuMember1Form::TSentakuMember1Form(const Platform &platform, const QString &mainCaption, int nendo,
                                         const QString &dataFolder, const QString &gakunen, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_editor(dataFolder, nendo, gakunen.toInt()) {
    setObjectName(u("SentakuMember1Form"));
    setWindowTitle(mainCaption + u(" - 選択教科の生徒登録 (") + QString::number(nendo) + u("年度 ") +
                   gakunen + u("年生)"));
    setFont(formstyle::japaneseFont(10));

    auto *listLabel = new QLabel(gakunen + u("年生の選択教科"));
    m_list = new QListWidget;
    m_list->setObjectName(u("SentakuList"));
    m_list->setMinimumWidth(170);
    m_list->setStyleSheet(u("QListWidget::item { padding: 3px 6px; }"));
    listLabel->setBuddy(m_list);
    auto *left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(m_list, 1);

    m_title = new QLabel;
    m_title->setObjectName(u("MemberTitle"));
    QFont titleFont = formstyle::japaneseFont(12);
    titleFont.setBold(true);
    m_title->setFont(titleFont);

    m_memo = new MemberTextEdit([this](const QString &message) { refuse(message); });
    m_memo->setObjectName(u("MemberMemo"));
    m_memo->setFont(ui::fixedFont(11));
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setTabChangesFocus(true);

    auto *notes =
        new QLabel(u("※3桁または4桁の出席番号を貼り付けてください。\n※必ず半角の数字で入力してください。"));
    notes->setObjectName(u("NoteLabel"));
    notes->setStyleSheet(formstyle::noteStyle());

    m_ok = new QPushButton(u("OK"));
    m_ok->setObjectName(u("OKButton"));
    m_ok->setMinimumSize(100, 30);
    m_ok->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *right = new QVBoxLayout;
    right->addWidget(m_title);
    right->addWidget(m_memo, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(notes, 1);
    bottom->addWidget(m_ok, 0, Qt::AlignBottom);
    right->addLayout(bottom);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(14);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    QString error;
    const bool read = m_editor.reload(0, &error);
    m_list->addItems(m_editor.electives());
    m_list->setCurrentRow(m_editor.index());
    connect(m_list, &QListWidget::currentRowChanged, this, &TSentakuMember1Form::SentakuListClick);
    connect(m_memo, &QPlainTextEdit::textChanged, this, &TSentakuMember1Form::MemberMemoChange);
    showMember();
    if (!read)
        QTimer::singleShot(0, this, [this, error] { refuse(error); });
    resize(600, 520);
}

TSentakuMember1Form::~TSentakuMember1Form() = default;

void TSentakuMember1Form::done(int result) {
    QString error;
    if (!m_editor.saveIfModified(&error)) {
        const auto answer = m_platform.prompter->ask(
            u("TAVRO"),
            u("選択教科の生徒を保存できませんでした。\n") + error + u("\n\n保存せずに閉じますか?"),
            Prompter::Buttons::YesNo, Prompter::Answer::No, Prompter::Icon::Warning);
        if (answer != Prompter::Answer::Yes)
            return;
    }
    QDialog::done(result);
}

void TSentakuMember1Form::SentakuListClick(int row) {
    if (row < 0 || row == m_editor.index())
        return;
    QString error;
    const bool saved = !m_editor.isModified() || m_editor.saveIfModified(&error);
    if (!saved) {
        // The edits stay on the elective they belong to.
        const QSignalBlocker blocker(m_list);
        m_list->setCurrentRow(m_editor.index());
        refuse(error);
        return;
    }
    const bool read = m_editor.select(row, &error);
    showMember();
    if (!read)
        refuse(error);
}

void TSentakuMember1Form::MemberMemoChange() {
    if (m_loading)
        return;
    QString error;
    if (!m_editor.setText(m_memo->toPlainText(), &error) && !error.isEmpty())
        refuse(error);
}

void TSentakuMember1Form::showMember() {
    m_loading = true;
    m_memo->setPlainText(m_editor.text());
    m_loading = false;
    m_memo->setReadOnly(!m_editor.isEditable());
    if (m_editor.electives().isEmpty())
        m_title->setText(u("この学年には選択教科がありません。"));
    else
        m_title->setText(m_editor.elective());
}

void TSentakuMember1Form::refuse(const QString &message) {
    m_platform.prompter->message(u("TAVRO"), message, Prompter::Icon::Warning);
}

} // namespace tavro
