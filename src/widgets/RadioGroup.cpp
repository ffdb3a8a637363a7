#include "widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace tavro {

RadioGroup::RadioGroup(const QString &title, QWidget *parent)
    : QGroupBox(title, parent), m_buttons(new QButtonGroup(this)), m_grid(new QGridLayout(this)) {
    m_buttons->setExclusive(true);
    m_grid->setContentsMargins(10, 6, 10, 6);
    m_grid->setHorizontalSpacing(14);
    m_grid->setVerticalSpacing(4);
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit currentIndexChanged(id);
    });
    connect(m_buttons, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

void RadioGroup::setItems(const QStringList &items) {
    const bool hadSelection = currentIndex() >= 0;
    for (QAbstractButton *b : m_buttons->buttons()) {
        m_buttons->removeButton(b);
        delete b;
    }
    m_items = items;
    for (int i = 0; i < m_items.size(); ++i) {
        auto *b = new QRadioButton(m_items.at(i), this);
        m_buttons->addButton(b, i);
    }
    relayout();
    if (hadSelection)
        emit currentIndexChanged(-1);
}

void RadioGroup::setColumns(int columns) {
    columns = qMax(1, columns);
    if (columns == m_columns)
        return;
    m_columns = columns;
    relayout();
}

int RadioGroup::currentIndex() const {
    return m_buttons->checkedId();
}

QString RadioGroup::currentText() const {
    const int i = currentIndex();
    return i >= 0 ? m_items.at(i) : QString();
}

void RadioGroup::setCurrentIndex(int index) {
    if (index == currentIndex())
        return;
    if (index >= 0 && index < count()) {
        m_buttons->button(index)->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last checked button.
    if (QAbstractButton *b = m_buttons->checkedButton()) {
        m_buttons->setExclusive(false);
        b->setChecked(false);
        m_buttons->setExclusive(true);
        emit currentIndexChanged(-1);
    }
}

QRadioButton *RadioGroup::button(int index) const {
    return qobject_cast<QRadioButton *>(m_buttons->button(index));
}

int RadioGroup::clampIndex(int index, int count) {
    if (count <= 0)
        return -1;
    return qBound(0, index, count - 1);
}

void RadioGroup::relayout() {
    while (m_grid->count() > 0)
        delete m_grid->takeAt(0);
    for (int r = 0; r < m_grid->rowCount(); ++r)
        m_grid->setRowStretch(r, 0);
    for (int c = 0; c < m_grid->columnCount(); ++c)
        m_grid->setColumnStretch(c, 0);
    // Column by column, top to bottom.
    const int rows = qMax(1, int((m_items.size() + m_columns - 1) / m_columns));
    for (int i = 0; i < m_items.size(); ++i)
        m_grid->addWidget(m_buttons->button(i), i % rows, i / rows);
    m_grid->setRowStretch(rows, 1);
    for (int c = 0; c < m_columns; ++c)
        m_grid->setColumnStretch(c, 1);
}

} // namespace tavro
