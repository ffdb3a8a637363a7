#include "widgets/FrozenTableView.h"

#include "widgets/GridDelegate.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace tavro {

FrozenTableView::FrozenTableView(int frozenColumns, QWidget *parent)
    : QTableView(parent), m_frozen(new QTableView(this)), m_frozenColumns(frozenColumns) {
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    verticalHeader()->hide();
    auto *delegate = new GridDelegate(this);
    setItemDelegate(delegate);
    m_frozen->setItemDelegate(delegate);

    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->verticalHeader()->hide();
    m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollMode(ScrollPerItem);
    m_frozen->setEditTriggers(NoEditTriggers);
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->viewport()->installEventFilter(this);
    viewport()->stackUnder(m_frozen);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (section < m_frozenColumns) {
            m_frozen->setColumnWidth(section, size);
            updateFrozenGeometry();
        }
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) { m_frozen->setRowHeight(section, size); });
    connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
}

void FrozenTableView::setModel(QAbstractItemModel *model) {
    QTableView::setModel(model);
    m_frozen->setModel(model);
    m_frozen->setSelectionModel(selectionModel());
    if (model)
        connect(model, &QAbstractItemModel::modelReset, this, &FrozenTableView::syncColumns);
    syncColumns();
}

void FrozenTableView::syncColumns() {
    if (!model())
        return;
    const int columns = model()->columnCount();
    for (int c = 0; c < columns; ++c)
        m_frozen->setColumnHidden(c, c >= m_frozenColumns);
    for (int c = 0; c < m_frozenColumns && c < columns; ++c)
        m_frozen->setColumnWidth(c, columnWidth(c));
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    m_frozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    m_frozen->show();
    updateFrozenGeometry();
}

void FrozenTableView::setGridFont(const QFont &font) {
    setFont(font);
    m_frozen->setFont(font);
    horizontalHeader()->setFont(font);
    m_frozen->horizontalHeader()->setFont(font);
    const int height = QFontMetrics(font).height() + 6;
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
    m_frozen->verticalHeader()->setMinimumSectionSize(height);
    m_frozen->verticalHeader()->setDefaultSectionSize(height);
    syncColumns();
}

void FrozenTableView::resizeEvent(QResizeEvent *event) {
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

void FrozenTableView::updateGeometries() {
    QTableView::updateGeometries();
    if (m_frozen)
        updateFrozenGeometry();
}

QModelIndex FrozenTableView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Keep the cell right of the frozen columns visible when moving left.
    int frozenWidth = 0;
    for (int c = 0; c < m_frozenColumns; ++c)
        frozenWidth += columnWidth(c);
    if (cursorAction == MoveLeft && current.column() >= m_frozenColumns &&
        visualRect(current).topLeft().x() < frozenWidth) {
        const int value = horizontalScrollBar()->value() + visualRect(current).topLeft().x() - frozenWidth;
        horizontalScrollBar()->setValue(value);
    }
    return current;
}

void FrozenTableView::scrollTo(const QModelIndex &index, ScrollHint hint) {
    if (index.column() >= m_frozenColumns) {
        QTableView::scrollTo(index, hint);
        return;
    }
    // A frozen cell scrolls only vertically.
    const int column = model() && model()->columnCount() > m_frozenColumns
                           ? horizontalHeader()->logicalIndexAt(0)
                           : index.column();
    QTableView::scrollTo(index.sibling(index.row(), std::max(column, m_frozenColumns)), hint);
}

void FrozenTableView::wheelEvent(QWheelEvent *event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0) {
        QTableView::wheelEvent(event);
        return;
    }
    verticalScrollBar()->setValue(verticalScrollBar()->value() - notches);
    event->accept();
}

bool FrozenTableView::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_frozen->viewport() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    if (watched == m_frozen->viewport() && event->type() == QEvent::MouseButtonPress)
        setFocus();
    return QTableView::eventFilter(watched, event);
}

void FrozenTableView::updateFrozenGeometry() {
    int width = 0;
    for (int c = 0; c < m_frozenColumns; ++c)
        width += columnWidth(c);
    m_frozen->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), width,
                          viewport()->height() + horizontalHeader()->height());
}

} // namespace tavro
