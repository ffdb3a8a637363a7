#include "config/ui/SentakuMember1Form.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/Electives.h"
#include "support/gui/GuiFixture.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace tavro;
using tavro::test::GuiFixture;

namespace {

const QString kCaption = QStringLiteral("成績処理TAVRO for Windows Ver.5");

QStringList members(const GuiFixture &f, const QString &elective) {
    QStringList lines;
    memberlist::read(f.dataFolder(), GuiFixture::kNendo, 1, elective, lines);
    return lines;
}

void clickRow(QListWidget *list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace

class SentakuMember1FormTest : public QObject {
    Q_OBJECT

private slots:
    void editedListIsSavedOnSwitchAndUnmodifiedIsNot();
};

void SentakuMember1FormTest::editedListIsSavedOnSwitchAndUnmodifiedIsNot() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    const QStringList english = members(f, "選択英語");
    QVERIFY(!english.isEmpty());

    TSentakuMember1Form form(f.platform(), kCaption, GuiFixture::kNendo, f.dataFolder(), "1");
    QVERIFY(GuiFixture::showAt(&form, QSize(600, 520)));
    QCOMPARE(form.windowTitle(), kCaption + " - 選択教科の生徒登録 (2024年度 1年生)");
    auto *list = GuiFixture::child<QListWidget>(&form, "SentakuList");
    auto *memo = GuiFixture::child<QPlainTextEdit>(&form, "MemberMemo");
    QVERIFY(list && memo);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentItem()->text(), QString("選択国語"));
    QCOMPARE(memo->toPlainText().split('\n').first(), members(f, "選択国語").first());

    // A switch with unmodified text writes nothing: the list changed on disk stays as it is.
    const QString kokugo = paths::memberListFile(f.dataFolder(), GuiFixture::kNendo, 1, "選択国語");
    QVERIFY(writeTextLines(kokugo, {"999"}));
    clickRow(list, 1);
    QCOMPARE(memo->toPlainText(), english.join('\n') + '\n');
    QCOMPARE(members(f, "選択国語"), QStringList({"999"}));

    // Typed numbers are saved to 選択英語 before 選択国語 is shown.
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    GuiFixture::typeText(memo, "2305");
    // Characters code page 932 cannot hold are refused as they are typed.
    GuiFixture::typeText(memo, QString::fromUtf8("😀"));
    QVERIFY(f.lastMessage().contains(QString::fromUtf8("😀")));
    QVERIFY(memo->toPlainText().endsWith("\n2305"));
    clickRow(list, 0);
    QCOMPARE(members(f, "選択英語"), english + QStringList({"2305"}));
    QCOMPARE(memo->toPlainText(), QString("999\n"));

    // Closing with unmodified text writes nothing; with modified text it saves.
    QVERIFY(writeTextLines(kokugo, {"998"}));
    QTest::mouseClick(GuiFixture::child<QPushButton>(&form, "OKButton"), Qt::LeftButton);
    QCOMPARE(members(f, "選択国語"), QStringList({"998"}));

    TSentakuMember1Form again(f.platform(), kCaption, GuiFixture::kNendo, f.dataFolder(), "1");
    QVERIFY(GuiFixture::showAt(&again, QSize(600, 520)));
    auto *memo2 = GuiFixture::child<QPlainTextEdit>(&again, "MemberMemo");
    memo2->selectAll();
    GuiFixture::typeText(memo2, "101");
    again.reject();
    QCOMPARE(members(f, "選択国語"), QStringList({"101"}));
}

QTEST_MAIN(SentakuMember1FormTest)
#include "SentakuMember1FormTest.moc"
