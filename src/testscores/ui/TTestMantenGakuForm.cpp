#include "testscores/ui/TTestMantenGakuForm.h"

#include "widgets/RadioGroup.h"
#include "widgets/UiFont.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

namespace {
constexpr int kTotals[] = {100, 60, 50};
}

TTestMantenGakuForm::TTestMantenGakuForm(int total, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TestMantenGakuForm"));
    setWindowTitle(QStringLiteral("満点設定"));
    setFont(ui::uiFont(10));
    auto *layout = new QVBoxLayout(this);
    m_choice = new RadioGroup(QStringLiteral("満点を選択してください。"));
    m_choice->setObjectName(QStringLiteral("MantenGroup"));
    m_choice->setItems({QStringLiteral("100点満点"), QStringLiteral("60点満点"), QStringLiteral("50点満点")});
    int selected = 0;
    for (int i = 0; i < 3; ++i)
        if (kTotals[i] == total)
            selected = i;
    m_choice->setCurrentIndex(selected);
    layout->addWidget(m_choice);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(260);
}

int TTestMantenGakuForm::total() const {
    const int i = m_choice->currentIndex();
    return kTotals[i >= 0 && i < 3 ? i : 0];
}

} // namespace tavro
