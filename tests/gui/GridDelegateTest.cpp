#include "widgets/GridDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

using namespace tavro;

class GridDelegateTest : public QObject {
    Q_OBJECT

private slots:
    // A grid painted by GridDelegate is pixel for pixel the grid QStyledItemDelegate paints: alignments,
    // colours, fonts, selection, Japanese text, texts too wide for their cell, repeated paints.
    void paintsAsStyledDelegate() {
        QStandardItemModel model(12, 6);
        const QStringList texts{QStringLiteral("85"),
                                QStringLiteral(" 100"),
                                QStringLiteral("山田　太郎"),
                                QStringLiteral("A"),
                                QString(),
                                QStringLiteral("とても長い項目名でセルに入らない文字列"),
                                QStringLiteral("*15"),
                                QStringLiteral("ｱｲｳ")};
        const Qt::Alignment alignments[] = {Qt::AlignLeft | Qt::AlignVCenter,
                                            Qt::AlignRight | Qt::AlignVCenter, Qt::AlignCenter,
                                            Qt::AlignLeft | Qt::AlignTop, Qt::AlignRight | Qt::AlignBottom};
        for (int r = 0; r < model.rowCount(); ++r)
            for (int c = 0; c < model.columnCount(); ++c) {
                auto *item = new QStandardItem(texts[(r * 7 + c * 3) % texts.size()]);
                item->setTextAlignment(alignments[(r + c) % 5]);
                if ((r + c) % 4 == 0)
                    item->setBackground(QColor(255, 255, 192));
                if ((r * c) % 5 == 1)
                    item->setForeground(QColor(200, 0, 0));
                if (r % 6 == 5) {
                    QFont bold = QApplication::font();
                    bold.setBold(true);
                    item->setFont(bold);
                }
                model.setItem(r, c, item);
            }
        const auto grab = [&](QAbstractItemDelegate *delegate, bool wrap) {
            QTableView view;
            view.setWordWrap(wrap);
            view.setModel(&model);
            if (delegate)
                view.setItemDelegate(delegate);
            view.horizontalHeader()->setDefaultSectionSize(70);
            view.resize(520, 400);
            view.selectionModel()->select(model.index(2, 1), QItemSelectionModel::Select);
            view.selectionModel()->select(model.index(3, 2), QItemSelectionModel::Select);
            view.show();
            QImage first = view.viewport()->grab().toImage();
            QImage second = view.viewport()->grab().toImage(); // from the cached layouts
            return std::make_pair(first, second);
        };
        for (const bool wrap : {true, false}) {
            const auto [expected, again] = grab(nullptr, wrap);
            GridDelegate delegate;
            const auto [actual, cached] = grab(&delegate, wrap);
            QVERIFY(!expected.isNull());
            QCOMPARE(again, expected);
            QCOMPARE(actual, expected);
            QCOMPARE(cached, expected);
        }
    }
};

QTEST_MAIN(GridDelegateTest)
#include "GridDelegateTest.moc"
