#pragma once

#include <QTableView>

namespace tavro {

// A table view whose first columns stay in place while the rest scrolls: a second view lies over the
// left edge, sharing the model and the selection model, and follows the main view's row scrolling and
// section sizes. One wheel notch scrolls one row.
class FrozenTableView : public QTableView {
    Q_OBJECT

public:
    explicit FrozenTableView(int frozenColumns, QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    QTableView *frozenView() const { return m_frozen; }
    int frozenColumns() const { return m_frozenColumns; }
    // Font of both views, with row heights to match.
    void setGridFont(const QFont &font);
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void wheelEvent(QWheelEvent *event) override;
    void updateGeometries() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateFrozenGeometry();
    void syncColumns();

    QTableView *m_frozen = nullptr;
    int m_frozenColumns = 0;
};

} // namespace tavro
