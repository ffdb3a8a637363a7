#include "common/TabText.h"

#include <QTest>

using namespace tavro;

class TabTextTest : public QObject {
    Q_OBJECT
private slots:
    void styles();
    void split();
};

void TabTextTest::styles() {
    TabText t;
    t.cell("山田").cell(85).emptyCells(1).endRow().endRow().cell("a\tb\r\nc").endRow();
    QCOMPARE(t.text(), QString("山田\t85\t\t\r\n\r\na b  c\t\r\n"));
    QCOMPARE(t.toCp932(), QByteArray("\x8e\x52\x93\x63\t85\t\t\r\n\r\na b  c\t\r\n"));

    TabText s(TabText::Style::Separated);
    s.cell("a").cell(-3).endRow().cell("b").emptyCells(2).endRow();
    QCOMPARE(s.text(), QString("a\t-3\r\nb\t\t\r\n"));
}

void TabTextTest::split() {
    using Rows = QList<QStringList>;
    QCOMPARE(splitTabText(""), Rows());
    QCOMPARE(splitTabText("a\tb\r\nc\n\rd\t"), Rows({{"a", "b"}, {"c"}, {""}, {"d", ""}}));
    QCOMPARE(splitTabText("x\r\n"), Rows({{"x"}}));
}

QTEST_GUILESS_MAIN(TabTextTest)
#include "TabTextTest.moc"
