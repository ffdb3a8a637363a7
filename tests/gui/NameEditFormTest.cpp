#include "config/ui/NameEditForm.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "support/gui/GuiFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>

using namespace tavro;
using tavro::test::GuiFixture;

namespace {

const QString kCaption = QStringLiteral("成績処理TAVRO for Windows Ver.5");

// The in-place editor open on the current cell, or nullptr.
QLineEdit *cellEditor(QTableView *grid) {
    return qobject_cast<QLineEdit *>(grid->indexWidget(grid->currentIndex()));
}

} // namespace

class NameEditFormTest : public QObject {
    Q_OBJECT

private slots:
    void typePasteAndSave();
    void backWithoutSaving();
};

void NameEditFormTest::typePasteAndSave() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    const QString path = paths::rosterFile(f.dataFolder(), GuiFixture::kNendo, 2);
    const std::vector<RosterEntry> before = roster::readEntries(path);
    QCOMPARE(before.size(), size_t(180));

    TNameEditForm form(f.platform(), kCaption, GuiFixture::kNendo, "2", f.dataFolder(), true);
    QVERIFY(form.windowState() & Qt::WindowMaximized);
    QVERIFY(GuiFixture::showAt(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.windowTitle(), kCaption + " - 2024年度 2年生 ");

    auto *grid = GuiFixture::child<QTableView>(&form, "NameGrid");
    auto *tabs = GuiFixture::child<QTabBar>(&form, "ClassTabs");
    QVERIFY(grid && tabs);
    QAbstractItemModel *model = grid->model();
    QCOMPARE(model->rowCount(), 180); // + the caption row
    QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), QString("ふりがな"));
    QCOMPARE(model->index(60, 0).data().toString(), QString(" 2"));
    QCOMPARE(model->index(0, 2).data().toString(), before[0].name);
    QCOMPARE(tabs->count(), 6);
    QCOMPARE(tabs->tabText(3), QString(" 2組F"));

    // A tab scrolls its first row to the top and makes it current; moving the cell follows with the tab.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    QCOMPARE(grid->currentIndex().row(), 60);
    QCOMPARE(grid->rowAt(0), 60);
    // One line per wheel notch.
    const QPoint inside = grid->viewport()->rect().center();
    QWheelEvent wheel(inside, grid->viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -2 * 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &wheel);
    QCOMPARE(grid->rowAt(0), 62);
    grid->setCurrentIndex(model->index(30, 3));
    QCOMPARE(tabs->currentIndex(), 1);

    // Typing edits in place; Tab moves on to the reading.
    grid->setFocus();
    grid->setCurrentIndex(model->index(39, 2));
    GuiFixture::typeText(grid, "新");
    QLineEdit *editor = cellEditor(grid);
    QVERIFY(editor);
    GuiFixture::typeText(editor, "井　陽菜");
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(grid->currentIndex(), model->index(39, 3));
    editor = cellEditor(grid);
    QVERIFY(editor);
    // An emoji is refused where it is typed, with a message.
    GuiFixture::typeText(editor, QString::fromUtf8("あらい😀"));
    QTRY_VERIFY(f.lastMessage().contains(QString::fromUtf8("😀")));
    editor = cellEditor(grid);
    QVERIFY(editor);
    GuiFixture::typeText(editor, "　ひな");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(model->index(39, 2).data().toString(), QString("新井　陽菜"));
    QTRY_COMPARE(model->index(39, 3).data().toString(), QString("あらい　ひな")); // Return commits queued

    // Ctrl+V pastes from the current cell; an empty piece leaves its cell unchanged.
    f.doubles.clipboard.setText("佐藤　一\tさとう　はじめ\r\n\t\t\t101\r\n");
    grid->setCurrentIndex(model->index(44, 2));
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(model->index(44, 2).data().toString(), QString("佐藤　一"));
    QCOMPARE(model->index(45, 5).data().toString(), QString("101"));
    // Ctrl+Z and the menu's 元に戻す take the paste back as one step; Ctrl+Y and Ctrl+Shift+Z put it in
    // again.
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(model->index(44, 2).data().toString(), before[44].name);
    QCOMPARE(model->index(45, 5).data().toString(), before[45].history[1]);
    QCOMPARE(model->index(39, 2).data().toString(), QString("新井　陽菜"));
    QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(model->index(44, 2).data().toString(), QString("佐藤　一"));
    GuiFixture::child<QAction>(&form, "UndoAction")->trigger();
    QCOMPARE(model->index(44, 2).data().toString(), before[44].name);
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(model->index(45, 5).data().toString(), QString("101"));

    // With range selection on, Ctrl+C copies the range.
    auto *multi = GuiFixture::child<QCheckBox>(&form, "MultiSelectCheck");
    multi->click();
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    grid->selectionModel()->select(QItemSelection(model->index(44, 2), model->index(45, 3)),
                                   QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(f.doubles.clipboard.text(),
             "佐藤　一\tさとう　はじめ\r\n" + before[45].name + "\t" + before[45].furigana + "\r\n");

    f.answerNext(Prompter::Answer::Yes);
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QCOMPARE(f.prompter().shown().last().caption, QString("TAVRO"));
    QCOMPARE(f.lastMessage(), QString("保存しますか?"));

    const std::vector<RosterEntry> after = roster::readEntries(path);
    QCOMPARE(after.size(), size_t(180));
    QCOMPARE(after[39].name, QString("新井　陽菜"));
    QCOMPARE(after[39].furigana, QString("あらい　ひな"));
    QCOMPARE(after[44].furigana, QString("さとう　はじめ"));
    QCOMPARE(after[45].name, before[45].name);
    QCOMPARE(after[45].history[1], QString("101"));
    for (int slot : {0, 38, 46, 179})
        QCOMPARE(after[slot].name, before[slot].name);
}

void NameEditFormTest::backWithoutSaving() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    const QString path = paths::rosterFile(f.dataFolder(), GuiFixture::kNendo, 1);
    QByteArray original;
    QVERIFY(readWholeFile(path, original));

    TNameEditForm form(f.platform(), kCaption, GuiFixture::kNendo, "1", f.dataFolder(), true);
    QVERIFY(GuiFixture::showAt(&form));
    auto *grid = GuiFixture::child<QTableView>(&form, "NameGrid");
    f.doubles.clipboard.setText("上書き");
    grid->setCurrentIndex(grid->model()->index(0, 2));
    GuiFixture::child<QAction>(&form, "PasteAction")->trigger();
    QCOMPARE(grid->model()->index(0, 2).data().toString(), QString("上書き"));

    // Esc does not close the roster; "もどる" asks, and No writes nothing.
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(form.isVisible());
    QVERIFY(f.prompter().shown().isEmpty());
    f.answerNext(Prompter::Answer::No);
    GuiFixture::child<QPushButton>(&form, "BackButton")->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(f.lastMessage(), QString("保存しますか?"));
    QByteArray now;
    QVERIFY(readWholeFile(path, now));
    QCOMPARE(now, original);
}

QTEST_MAIN(NameEditFormTest)
#include "NameEditFormTest.moc"
