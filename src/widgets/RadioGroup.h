#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace tavro {

// A titled group of radio buttons built from a list of texts, laid out top to bottom in one or more
// columns. At most one item is selected; -1 means none.
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit RadioGroup(const QString &title = QString(), QWidget *parent = nullptr);

    // Replaces the items; afterwards nothing is selected.
    void setItems(const QStringList &items);
    const QStringList &items() const { return m_items; }
    int count() const { return int(m_items.size()); }

    void setColumns(int columns);
    int columns() const { return m_columns; }

    int currentIndex() const;
    QString currentText() const;
    // Selects the item; an index outside the items clears the selection.
    void setCurrentIndex(int index);

    QRadioButton *button(int index) const;

    // The index a stored value selects: a value beyond the items gives the last item, a negative one
    // the first; -1 when there are no items.
    static int clampIndex(int index, int count);

signals:
    // Any change of the selection, by the user or by setCurrentIndex().
    void currentIndexChanged(int index);
    // The user clicked an item.
    void itemClicked(int index);

private:
    void relayout();

    QStringList m_items;
    int m_columns = 1;
    QButtonGroup *m_buttons;
    QGridLayout *m_grid;
};

} // namespace tavro
