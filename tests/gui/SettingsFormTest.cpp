#include "config/ui/SettingsForm.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/Electives.h"
#include "config/TeacherFile.h"
#include "support/gui/GuiFixture.h"
#include "widgets/RadioGroup.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

using namespace tavro;
using tavro::test::GuiFixture;

namespace {

const QString kCaption = QStringLiteral("成績処理TAVRO for Windows Ver.5");

void replaceText(QLineEdit *edit, const QString &text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    GuiFixture::typeText(edit, text);
}

void clickPattern(TSettingsForm &form, int index) {
    auto *select = GuiFixture::child<RadioGroup>(&form, "PatternSelect");
    QTest::mouseClick(select->button(index), Qt::LeftButton);
}

} // namespace

class SettingsFormTest : public QObject {
    Q_OBJECT

private slots:
    void editsAreSavedOnClose();
    void teacherListButtonsFollowTheSelection();
    void failedSaveKeepsTheWindowOpen();
};

void SettingsFormTest::editsAreSavedOnClose() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    YearSettings stored = YearSettings::load(f.dataFolder(), GuiFixture::kNendo);
    stored.hissu.hyouteiPatern[1] = 6;
    QVERIFY(f.writeYearSettings(stored));
    // A line the file already holds is kept even though it could not be typed.
    QVERIFY(f.writeElectives(electives::readLines(f.dataFolder(), GuiFixture::kNendo) +
                             QStringList{"2年選択工/芸"}));
    const QStringList teachersBefore = TeacherFile::load(f.dataFolder(), GuiFixture::kNendo).entries();
    f.userStore().writeInt("Settings", "PageControl1", 4);

    TSettingsForm form(f.platform(), kCaption, GuiFixture::kNendo, f.dataFolder());
    QVERIFY(GuiFixture::showAt(&form, QSize(900, 640)));
    auto *pages = GuiFixture::child<QTabWidget>(&form, "PageControl1");
    QVERIFY(pages);
    QCOMPARE(pages->count(), 12);
    QCOMPARE(pages->tabText(0), QString("定期"));
    QCOMPARE(pages->tabText(8), QString("選択教科名"));
    QCOMPARE(pages->tabText(11), QString("その他2"));
    QCOMPARE(pages->currentIndex(), 4);

    // Stored values are shown; the evaluation pattern 6 is "K".
    QCOMPARE(GuiFixture::child<QComboBox>(&form, "HyouteiPatern2")->currentText(), QString("K"));
    QCOMPARE(GuiFixture::child<QComboBox>(&form, "Hikaku3")->count(), 3);
    QCOMPARE(GuiFixture::child<QComboBox>(&form, "Hikaku3")->currentText(), QString("Ⅱ"));
    QCOMPARE(GuiFixture::child<QLineEdit>(&form, "Kigou1")->text(), QString("5"));

    // A test name, an evaluation name with its read-only twin, a class count.
    pages->setCurrentIndex(0);
    replaceText(GuiFixture::child<QLineEdit>(&form, "TestName2"), "前期期末テスト");
    pages->setCurrentIndex(2);
    // The two-term defaults fill all five evaluation names; the fifth is then typed over.
    GuiFixture::child<QPushButton>(&form, "HyouteiDefault2")->click();
    QCOMPARE(GuiFixture::child<QLineEdit>(&form, "HyouteiName1")->text(), QString("前期中間評定"));
    QCOMPARE(GuiFixture::child<QLineEdit>(&form, "HyouteiName5")->text(), QString("学年末評定"));
    replaceText(GuiFixture::child<QLineEdit>(&form, "HyouteiName5"), "年間評定");
    QCOMPARE(GuiFixture::child<QLineEdit>(&form, "SHyouteiName5")->text(), QString("年間評定"));
    pages->setCurrentIndex(7);
    auto *classes = GuiFixture::child<QSpinBox>(&form, "ClassCount4");
    classes->setFocus();
    QTest::keyClick(classes, Qt::Key_Up);
    QTest::keyClick(classes, Qt::Key_Up);

    // Pattern B edited, then A and back: the edit stays. Five half-width characters are refused.
    pages->setCurrentIndex(4);
    clickPattern(form, 1);
    auto *kigou = GuiFixture::child<QLineEdit>(&form, "Kigou4");
    QCOMPARE(GuiFixture::child<QLineEdit>(&form, "Kigou1")->text(), QString("A"));
    replaceText(kigou, "◎");
    auto *cut = GuiFixture::child<QSpinBox>(&form, "CutPoint3");
    cut->setFocus();
    QTest::keyClick(cut, Qt::Key_Up);
    clickPattern(form, 0);
    QCOMPARE(kigou->text(), QString("2"));
    QCOMPARE(GuiFixture::child<QLineEdit>(&form, "Kigou1")->text(), QString("5"));
    clickPattern(form, 1);
    QCOMPARE(kigou->text(), QString("◎"));
    QCOMPARE(cut->value(), 1);
    replaceText(GuiFixture::child<QLineEdit>(&form, "Kigou5"), "ABCDE");
    QCOMPARE(GuiFixture::child<QLineEdit>(&form, "Kigou5")->text(), QString("ABCD"));
    QVERIFY(f.lastMessage().contains("4文字"));

    // A teacher added with grade 2, class 3.
    pages->setCurrentIndex(6);
    auto *list = GuiFixture::child<QListWidget>(&form, "TeacherList");
    QCOMPARE(list->count(), int(teachersBefore.size()));
    auto *name = GuiFixture::child<QLineEdit>(&form, "TeacherName");
    name->setFocus();
    GuiFixture::typeText(name, "新井誠");
    auto *grade = GuiFixture::child<QSpinBox>(&form, "TeacherGrade");
    grade->setFocus();
    QTest::keyClick(grade, Qt::Key_Up);
    auto *cls = GuiFixture::child<QSpinBox>(&form, "TeacherClass");
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(cls, Qt::Key_Up);
    QTest::mouseClick(GuiFixture::child<QPushButton>(&form, "AddButton"), Qt::LeftButton);
    QCOMPARE(list->count(), int(teachersBefore.size()) + 1);
    QCOMPARE(list->currentItem()->text(), QString("新井誠(2-3)"));
    QVERIFY(name->text().isEmpty());

    // An elective typed without its prefix on page 2; a character code page 932 cannot hold is refused.
    pages->setCurrentIndex(8);
    auto *sentaku = GuiFixture::child<QPlainTextEdit>(&form, "Sentaku2");
    QCOMPARE(sentaku->toPlainText(), QString("2年選択数学\n2年選択音楽\n2年選択工/芸"));
    sentaku->setFocus();
    sentaku->moveCursor(QTextCursor::End);
    QTest::keyClick(sentaku, Qt::Key_Return);
    GuiFixture::typeText(sentaku, "美術");
    GuiFixture::typeText(sentaku, "😀");
    QVERIFY(f.lastMessage().contains("😀"));
    QCOMPARE(sentaku->toPlainText(), QString("2年選択数学\n2年選択音楽\n2年選択工/芸\n美術"));
    GuiFixture::typeText(sentaku, "/");
    QVERIFY(f.lastMessage().contains("/"));
    QCOMPARE(sentaku->toPlainText(), QString("2年選択数学\n2年選択音楽\n2年選択工/芸\n美術"));

    pages->setCurrentIndex(10);
    QTest::mouseClick(GuiFixture::child<QPushButton>(&form, "OKButton"), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(f.userStore().readInt("Settings", "PageControl1", -1), 10);

    const YearSettings saved = YearSettings::load(f.dataFolder(), GuiFixture::kNendo);
    QCOMPARE(saved.testName[1], QString("前期期末テスト"));
    QCOMPARE(saved.testName[0], stored.testName[0]);
    QCOMPARE(saved.hyouteiName[4], QString("年間評定"));
    QCOMPARE(saved.classCount[3], 2);
    QCOMPARE(saved.classCount[0], stored.classCount[0]);
    QCOMPARE(saved.hissu.hyouteiPatern[1], 6);
    QCOMPARE(saved.hissu.hikaku[2], 2);
    QCOMPARE(saved.patterns[1].kigou[3], QString("◎"));
    QCOMPARE(saved.patterns[1].kigou[4], QString("ABCD"));
    QCOMPARE(saved.patterns[1].cutPoint[2], 1);
    QCOMPARE(saved.patterns[0].kigou, stored.patterns[0].kigou);
    QCOMPARE(saved.teikiTest, stored.teikiTest);

    const TeacherFile teachers = TeacherFile::load(f.dataFolder(), GuiFixture::kNendo);
    QCOMPARE(teachers.entries(), teachersBefore + QStringList{"新井誠(2-3)"});
    QVERIFY(!teachers.assignmentLines().isEmpty());
    QCOMPARE(electives::pageLines(electives::readLines(f.dataFolder(), GuiFixture::kNendo), 2),
             QStringList({"2年選択数学", "2年選択音楽", "2年選択工/芸", "2年選択美術"}));
}

void SettingsFormTest::teacherListButtonsFollowTheSelection() {
    GuiFixture f;
    TSettingsForm form(f.platform(), kCaption, GuiFixture::kNendo, f.dataFolder());
    QVERIFY(GuiFixture::showAt(&form, QSize(900, 640)));
    GuiFixture::child<QTabWidget>(&form, "PageControl1")->setCurrentIndex(6);
    auto *list = GuiFixture::child<QListWidget>(&form, "TeacherList");
    auto *name = GuiFixture::child<QLineEdit>(&form, "TeacherName");
    auto *add = GuiFixture::child<QPushButton>(&form, "AddButton");
    auto *replace = GuiFixture::child<QPushButton>(&form, "ReplaceButton");
    auto *remove = GuiFixture::child<QPushButton>(&form, "DeleteButton");
    auto *up = GuiFixture::child<QPushButton>(&form, "UpButton");
    auto *down = GuiFixture::child<QPushButton>(&form, "DownButton");
    QVERIFY(!replace->isEnabled() && !remove->isEnabled() && !up->isEnabled() && !down->isEnabled());

    for (const char *teacher : {"青木一郎", "井上二郎", "上田三郎"}) {
        name->setFocus();
        GuiFixture::typeText(name, QString::fromUtf8(teacher));
        QTest::mouseClick(add, Qt::LeftButton);
    }
    // An unsafe name is refused with a message and stays in the box to be corrected.
    GuiFixture::typeText(name, "上田/四郎");
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(list->count(), 3);
    QCOMPARE(name->text(), QString("上田/四郎"));
    QVERIFY(f.lastMessage().contains("上田/四郎"));
    name->clear();

    // The selection fills the boxes; the last entry can only move up.
    QCOMPARE(list->currentRow(), 2);
    QVERIFY(up->isEnabled() && !down->isEnabled() && remove->isEnabled());
    list->setCurrentRow(0);
    QCOMPARE(name->text(), QString("青木一郎"));
    QCOMPARE(GuiFixture::child<QSpinBox>(&form, "TeacherGrade")->value(), 1);
    QVERIFY(!up->isEnabled() && down->isEnabled());
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(list->item(1)->text(), QString("青木一郎(1-0)"));
    QCOMPARE(list->currentRow(), 1);

    // Delete asks first; Cancel keeps the entry.
    f.answerNext(Prompter::Answer::Cancel);
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(list->count(), 3);
    QCOMPARE(f.lastMessage(), QString("削除しますか?"));
    f.answerNext(Prompter::Answer::Ok);
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), 0);

    form.close();
    QCOMPARE(TeacherFile::load(f.dataFolder(), GuiFixture::kNendo).entries(),
             QStringList({"井上二郎(1-0)", "上田三郎(1-0)"}));
}

void SettingsFormTest::failedSaveKeepsTheWindowOpen() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    // A folder in place of the elective file makes its save fail.
    const QString sentakuPath = paths::sentakuFile(f.dataFolder(), GuiFixture::kNendo);
    QVERIFY(QFile::remove(sentakuPath));
    QVERIFY(QDir().mkpath(sentakuPath));

    TSettingsForm form(f.platform(), kCaption, GuiFixture::kNendo, f.dataFolder());
    QVERIFY(GuiFixture::showAt(&form, QSize(900, 640)));
    replaceText(GuiFixture::child<QLineEdit>(&form, "TestName1"), "実力診断");
    f.answerNext(Prompter::Answer::Yes);
    form.close();
    QVERIFY(form.isVisible());
    QVERIFY(f.lastMessage().contains("選択教科名ファイル"));
    QCOMPARE(GuiFixture::child<QLineEdit>(&form, "TestName1")->text(), QString("実力診断"));

    QVERIFY(QDir().rmdir(sentakuPath));
    form.close();
    QVERIFY(!form.isVisible());
    QCOMPARE(YearSettings::load(f.dataFolder(), GuiFixture::kNendo).testName[0], QString("実力診断"));
    // The demo's previous year has no elective file, so the page starts empty and saves empty.
    QVERIFY(QFile::exists(sentakuPath));
}

QTEST_MAIN(SettingsFormTest)
#include "SettingsFormTest.moc"
