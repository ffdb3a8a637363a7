#include "testscores/ui/TTestMantenForm.h"

#include "widgets/UiFont.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tavro {

TTestMantenForm::TTestMantenForm(const std::array<int, 6> &fullScores, const KantenNames &names,
                                 QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TestMantenForm"));
    setWindowTitle(QStringLiteral("満点設定"));
    setFont(ui::uiFont(10));
    auto *layout = new QVBoxLayout(this);
    auto *prompt = new QLabel(QStringLiteral("観点別の満点を設定してください。"));
    prompt->setObjectName(QStringLiteral("PromptLabel"));
    layout->addWidget(prompt);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    static const QChar circled[] = {u'①', u'②', u'③', u'④', u'⑤', u'⑥'};
    for (int v = 0; v < 6; ++v) {
        auto *label = new QLabel(QStringLiteral("観点") + circled[v] + QLatin1Char(' ') +
                                 names.shortName[std::size_t(v)]);
        label->setObjectName(QStringLiteral("KantenLabel%1").arg(v + 1));
        auto *edit = new QSpinBox;
        edit->setObjectName(QStringLiteral("MantenEdit%1").arg(v + 1));
        edit->setRange(0, 100);
        edit->setWrapping(false);
        edit->setValue(fullScores[std::size_t(v)]);
        edit->setMinimumWidth(70);
        edit->setAlignment(Qt::AlignRight);
        label->setBuddy(edit);
        grid->addWidget(label, v, 0);
        grid->addWidget(edit, v, 1);
        m_edits[std::size_t(v)] = edit;
    }
    layout->addLayout(grid);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_edits[0]->setFocus();
    m_edits[0]->selectAll();
}

std::array<int, 6> TTestMantenForm::values() const {
    std::array<int, 6> out{};
    for (std::size_t v = 0; v < 6; ++v)
        out[v] = m_edits[v]->value();
    return out;
}

} // namespace tavro
