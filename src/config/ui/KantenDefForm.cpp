#include "config/ui/KantenDefForm.h"

#include "platform/Prompter.h"
#include "widgets/FormStyle.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavro {

namespace {

QString u(const char *text) {
    return QString::fromUtf8(text);
}

using Length = KantenEditor::Length;
constexpr std::array<Length, 3> kLengths{Length::Short, Length::Medium, Length::Long};
constexpr std::array<const char *, 3> kLengthKeys{"S", "M", "L"};

QPushButton *commandButton(const QString &name, const QString &text) {
    auto *b = new QPushButton(text);
    b->setObjectName(name);
    b->setMinimumHeight(30);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TKantenDefForm::TKantenDefForm(const Platform &platform, const QString &mainCaption, int nendo,
                               const QString &dataFolder, int schoolKind, QWidget *parent)
    : QDialog(parent), m_platform(platform), m_editor(dataFolder, nendo, schoolKind) {
    setObjectName(u("KantenDefForm"));
    setWindowTitle(mainCaption + u(" - 観点の定義 (") + QString::number(nendo) + u("年度)"));
    setFont(formstyle::japaneseFont(10));

    auto *kindBox = new QGroupBox(u("種別"));
    kindBox->setObjectName(u("KindGroup"));
    m_hissu = new QRadioButton(u("必修"));
    m_hissu->setObjectName(u("HissuRadio"));
    m_sentaku = new QRadioButton(u("選択"));
    m_sentaku->setObjectName(u("SentakuRadio"));
    m_hissu->setChecked(true);
    auto *kinds = new QButtonGroup(this);
    kinds->addButton(m_hissu, 0);
    kinds->addButton(m_sentaku, 1);
    auto *kindRow = new QHBoxLayout(kindBox);
    kindRow->addWidget(m_hissu);
    kindRow->addWidget(m_sentaku);

    auto *kyoukaBox = new QGroupBox(u("教科"));
    kyoukaBox->setObjectName(u("KyoukaGroup"));
    m_kyouka = new QButtonGroup(this);
    auto *kyoukaRow = new QHBoxLayout(kyoukaBox);
    for (int i = 0; i < m_editor.subjects().size(); ++i) {
        auto *radio = new QRadioButton(m_editor.subjects().at(i));
        radio->setObjectName(u("KyoukaRadio") + QString::number(i + 1));
        m_kyouka->addButton(radio, i);
        kyoukaRow->addWidget(radio);
    }
    if (QAbstractButton *first = m_kyouka->button(0))
        first->setChecked(true);

    auto *selectors = new QHBoxLayout;
    selectors->addWidget(kindBox);
    selectors->addWidget(kyoukaBox, 1);

    m_title = new QLabel;
    m_title->setObjectName(u("SectionTitle"));
    QFont titleFont = formstyle::japaneseFont(12);
    titleFont.setBold(true);
    m_title->setFont(titleFont);

    auto *gridBox = new QGroupBox;
    gridBox->setObjectName(u("KantenGroup"));
    auto *grid = new QGridLayout(gridBox);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    const QStringList captions{u("S(2文字)"), u("M(10文字程度)"), u("L(長い表記)")};
    for (int k = 0; k < 3; ++k) {
        auto *caption = new QLabel(captions[k]);
        caption->setAlignment(Qt::AlignCenter);
        grid->addWidget(caption, 0, k + 1);
    }
    for (int v = 1; v <= 6; ++v) {
        grid->addWidget(new QLabel(u("観点") + QChar(0x2460 + v - 1)), v, 0);
        for (int k = 0; k < 3; ++k) {
            auto *edit = new QLineEdit;
            edit->setObjectName(u("Kanten") + QString::number(v) +
                                QString::fromLatin1(kLengthKeys[size_t(k)]));
            connect(edit, &QLineEdit::textEdited, this,
                    [this, v, k, edit] { KantenEditChange(v, kLengths[size_t(k)], edit); });
            m_edits[size_t(v - 1)][size_t(k)] = edit;
            grid->addWidget(edit, v, k + 1);
        }
        m_edits[size_t(v - 1)][0]->setMaximumWidth(90);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 3);
    grid->setColumnStretch(3, 5);

    auto *notes =
        new QLabel(u("※L(長い表記)は空欄でもかまいません。\n"
                     "※選択国語で定義したものは、選択国語A・選択国語Bなどと定義した教科でも使用されます。"));
    notes->setObjectName(u("NoteLabel"));
    notes->setStyleSheet(formstyle::noteStyle());

    m_default = commandButton(u("DefaultButton"), u("デフォルトを埋め込む(3観点)"));
    m_import = commandButton(u("ImportButton"), u("前年度の定義を取り込む"));
    m_ok = commandButton(u("OKButton"), u("OK"));
    m_ok->setMinimumWidth(100);
    connect(m_default, &QPushButton::clicked, this, &TKantenDefForm::DefaultClick);
    connect(m_import, &QPushButton::clicked, this, &TKantenDefForm::ImportClick);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_default);
    buttons->addWidget(m_import);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addLayout(selectors);
    layout->addWidget(m_title);
    layout->addWidget(gridBox);
    layout->addWidget(notes);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(kinds, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            SectionClick();
    });
    connect(m_kyouka, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            SectionClick();
    });
    showSection();
    resize(860, 470);
}

TKantenDefForm::~TKantenDefForm() = default;

void TKantenDefForm::done(int result) {
    QString error;
    if (!m_editor.saveIfModified(&error)) {
        const auto answer = m_platform.prompter->ask(
            u("TAVRO"), u("観点の定義を保存できませんでした。\n") + error + u("\n\n保存せずに閉じますか?"),
            Prompter::Buttons::YesNo, Prompter::Answer::No, Prompter::Icon::Warning);
        if (answer != Prompter::Answer::Yes)
            return;
    }
    QDialog::done(result);
}

void TKantenDefForm::SectionClick() {
    const auto kind = m_sentaku->isChecked() ? KantenEditor::Kind::Elective : KantenEditor::Kind::Compulsory;
    QString error;
    if (!m_editor.select(kind, m_kyouka->checkedId(), &error)) {
        // The edits stay on the section they belong to.
        const QSignalBlocker kindBlocker(m_hissu->group());
        const QSignalBlocker kyoukaBlocker(m_kyouka);
        (m_editor.kind() == KantenEditor::Kind::Elective ? m_sentaku : m_hissu)->setChecked(true);
        if (QAbstractButton *b = m_kyouka->button(m_editor.subjectIndex()))
            b->setChecked(true);
        if (!error.isEmpty())
            message(u("観点の定義を保存できませんでした。\n") + error);
        return;
    }
    showSection();
}

void TKantenDefForm::KantenEditChange(int viewpoint, KantenEditor::Length length, QLineEdit *edit) {
    if (m_loading)
        return;
    QString error;
    if (!m_editor.setText(viewpoint, length, edit->text(), &error)) {
        const QString good = m_editor.text(viewpoint, length);
        const int pos = edit->cursorPosition() - int(edit->text().size() - good.size());
        edit->setText(good);
        edit->setCursorPosition(qBound(0, pos, int(good.size())));
        if (!error.isEmpty())
            message(error);
    }
}

void TKantenDefForm::DefaultClick() {
    m_editor.fillDefaults();
    showSection();
}

void TKantenDefForm::ImportClick() {
    QString error;
    switch (m_editor.importPreviousYear(&error)) {
    case kanten::ImportResult::NoPreviousFile:
        m_platform.prompter->message(u("TAVRO"), kanten::noPreviousFileMessage(), Prompter::Icon::Warning);
        return;
    case kanten::ImportResult::Failed:
        message(error);
        return;
    case kanten::ImportResult::Imported:
        showSection();
        message(u("前年度の観点の定義を取り込みました。"), false);
        return;
    }
}

void TKantenDefForm::showSection() {
    m_title->setText(m_editor.section());
    m_loading = true;
    for (int v = 1; v <= 6; ++v)
        for (size_t k = 0; k < 3; ++k) {
            QLineEdit *edit = m_edits[size_t(v - 1)][k];
            edit->setText(m_editor.text(v, kLengths[k]));
            edit->setCursorPosition(0);
            edit->setEnabled(!m_editor.section().isEmpty());
        }
    m_loading = false;
}

void TKantenDefForm::message(const QString &text, bool warning) {
    m_platform.prompter->message(u("TAVRO"), text,
                                 warning ? Prompter::Icon::Warning : Prompter::Icon::Information);
}

} // namespace tavro
