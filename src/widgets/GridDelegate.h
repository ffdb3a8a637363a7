#pragma once

#include <QFont>
#include <QHash>
#include <QStyledItemDelegate>
#include <memory>

class QTextLayout;

namespace tavro {

// The item delegate of the big grids: paints a plain text cell as QStyledItemDelegate does, pixel for
// pixel, with each text laid out once per font, width and alignment instead of at every paint (a
// repaint of a grid otherwise shapes every visible cell twice). Cells with a check box, an icon, the
// focus, an editor, more than one line or a text too wide for the cell are left to QStyledItemDelegate.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit GridDelegate(QObject *parent = nullptr);
    ~GridDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    struct Layout;
    const Layout *layout(const QStyleOptionViewItem &option, int width) const;

    mutable QHash<QString, std::shared_ptr<Layout>> m_layouts;
    mutable QFont m_font; // the font of the last cell and its key
    mutable QString m_fontKey;
};

} // namespace tavro
