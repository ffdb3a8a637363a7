#include "config/SettingsEditor.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/IniFile.h"
#include "config/Electives.h"
#include "config/TeacherFile.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using tavro::test::ScriptedPrompter;

namespace {

constexpr int kNendo = 2024;

QString folderOf(const QTemporaryDir &dir) {
    return paths::withTrailingSeparator(dir.path());
}

SymbolPattern patternWith(const QString &first, int cut) {
    SymbolPattern p;
    p.kigou[0] = first;
    p.kigou[1] = QStringLiteral("B");
    p.cutPoint[0] = cut;
    p.totatuDisp = 1;
    return p;
}

QStringList manyEntries(int n) {
    QStringList list;
    for (int i = 0; i < n; ++i)
        list.append(TeacherFile::makeEntry(QStringLiteral("教師%1").arg(i), 1, 0));
    return list;
}

} // namespace

class SettingsEditorTest : public QObject {
    Q_OBJECT

private slots:
    void patternSwitchKeepsEdits();
    void valueListsAndDefaults();
    void storedPatternSixShowsK();
    void teacherAddAndReplace();
    void teacherListFullAtMoreThanHundred();
    void teacherDeleteAndMoves();
    void saveWritesAllThreeFiles();
    void missingFilesFallBackToLastYear();
    void typedTextChecks();
    void failedSaveKeepsTheWindowOpenOnRequest();
};

void SettingsEditorTest::patternSwitchKeepsEdits() {
    QTemporaryDir dir;
    SettingsEditor editor(folderOf(dir), kNendo);
    QCOMPARE(editor.shownPattern(), 0);

    // A edited, switch to B, edit B, back to A: both edits are kept.
    const SymbolPattern &b = editor.switchPattern(patternWith("◎", 80), 1);
    QCOMPARE(editor.shownPattern(), 1);
    QVERIFY(b.kigou[0].isEmpty());
    const SymbolPattern &a = editor.switchPattern(patternWith("Ｓ", 90), 0);
    QCOMPARE(a.kigou[0], QString("◎"));
    QCOMPARE(a.cutPoint[0], 80);
    QCOMPARE(a.totatuDisp, 1);
    QCOMPARE(editor.settings().patterns[1].kigou[0], QString("Ｓ"));

    // The pattern on show is taken back by the save path too; a bad index keeps the pattern on show.
    editor.storeShownPattern(patternWith("A", 70));
    QCOMPARE(editor.switchPattern(patternWith("A", 75), 9).cutPoint[0], 75);
    QCOMPARE(editor.shownPattern(), 0);
}

void SettingsEditorTest::valueListsAndDefaults() {
    QCOMPARE(SettingsEditor::comparisonItems(2), QStringList({"", "Ⅰ"}));
    QCOMPARE(SettingsEditor::comparisonItems(5), QStringList({"", "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ"}));
    QCOMPARE(SettingsEditor::evaluationItems(), QStringList({"", "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ", "Ⅴ"}));
    QCOMPARE(SettingsEditor::patternItems(false), QStringList({"", "A", "B", "C", "D", "E"}));
    QCOMPARE(SettingsEditor::patternItems(true).last(), QString("K"));

    using T = SettingsEditor::Term;
    QCOMPARE(SettingsEditor::periodicTestDefaults(T::TwoTerms)[3], QString("学年末テスト"));
    QVERIFY(SettingsEditor::periodicTestDefaults(T::TwoTerms)[4].isEmpty());
    QCOMPARE(SettingsEditor::periodicTestDefaults(T::ThreeTerms)[4], QString("学年末テスト"));
    QVERIFY(SettingsEditor::evaluationDefaults(T::ThreeTerms)[4].isEmpty());
    QCOMPARE(SettingsEditor::evaluationDefaults(T::TwoTerms)[4], QString("学年末評定"));
}

void SettingsEditorTest::storedPatternSixShowsK() {
    QTemporaryDir dir;
    YearSettings stored;
    stored.hissu.hyouteiPatern[2] = 6;
    stored.sentaku.kantenPatern[0] = 5;
    stored.hissu.hikaku[4] = 4;
    QVERIFY(stored.save(folderOf(dir), kNendo));

    SettingsEditor editor(folderOf(dir), kNendo);
    QCOMPARE(SettingsEditor::patternItems(true).value(editor.settings().hissu.hyouteiPatern[2]),
             QString("K"));
    QCOMPARE(SettingsEditor::patternItems(false).value(editor.settings().sentaku.kantenPatern[0]),
             QString("E"));
    QCOMPARE(SettingsEditor::comparisonItems(5).value(editor.settings().hissu.hikaku[4]), QString("Ⅳ"));
}

void SettingsEditorTest::teacherAddAndReplace() {
    ScriptedPrompter prompter;
    TeacherListEditor list(&prompter);
    using R = TeacherListEditor::Result;

    QCOMPARE(list.add("山田太郎", 1, 2), R::Done);
    QCOMPARE(list.entries(), QStringList({"山田太郎(1-2)"}));
    QCOMPARE(list.current(), 0);
    // Two bytes or less: ignored without a message.
    QCOMPARE(list.add("山", 2, 1), R::Ignored);
    QCOMPARE(list.add("ab", 2, 1), R::Ignored);
    QCOMPARE(list.count(), 1);
    QCOMPARE(prompter.shown().size(), 0);
    // Names that cannot be file names or would break the teacher file are refused with a message.
    QCOMPARE(list.add("山田/太郎", 1, 1), R::Refused);
    QCOMPARE(list.add("佐藤(花子)", 1, 1), R::Refused);
    QCOMPARE(list.count(), 1);
    QCOMPARE(prompter.shown().size(), 2);
    QVERIFY(prompter.shown()[0].text.contains("山田/太郎"));

    QCOMPARE(list.add("佐藤花子", 3, 12), R::Done);
    QCOMPARE(list.current(), 1);
    list.select(0);
    const TeacherFile::EntryParts parts = list.currentParts();
    QCOMPARE(parts.name, QString("山田太郎"));
    QCOMPARE(parts.grade, 1);
    QCOMPARE(parts.cls, 2);
    QCOMPARE(list.replace("山田次郎", 2, 0), R::Done);
    QCOMPARE(list.replace("x", 2, 0), R::Ignored);
    QCOMPARE(list.entries(), QStringList({"山田次郎(2-0)", "佐藤花子(3-12)"}));
    list.select(-1);
    QVERIFY(!list.canReplace());
    QCOMPARE(list.replace("鈴木一郎", 1, 1), R::Ignored);
    QCOMPARE(list.count(), 2);
}

void SettingsEditorTest::teacherListFullAtMoreThanHundred() {
    ScriptedPrompter prompter;
    TeacherListEditor list(&prompter);
    list.setEntries(manyEntries(100));
    QCOMPARE(list.add("追加先生", 1, 1), TeacherListEditor::Result::Done);
    QCOMPARE(list.count(), 101);
    QCOMPARE(prompter.shown().size(), 0);

    QCOMPARE(list.add("もう一人", 1, 1), TeacherListEditor::Result::Full);
    QCOMPARE(list.count(), 101);
    QCOMPARE(prompter.shown().size(), 1);
    QCOMPARE(prompter.shown()[0].caption, QString("確認"));
    QCOMPARE(prompter.shown()[0].text, TeacherListEditor::fullMessage());
}

void SettingsEditorTest::teacherDeleteAndMoves() {
    ScriptedPrompter prompter;
    TeacherListEditor list(&prompter);
    list.setEntries({"甲(1-1)", "乙(1-2)", "丙(1-3)"});
    QVERIFY(!list.canRemove() && !list.canMoveUp() && !list.canMoveDown() && !list.canReplace());

    list.select(0);
    QVERIFY(!list.canMoveUp() && list.canMoveDown());
    QVERIFY(list.moveDown());
    QCOMPARE(list.entries(), QStringList({"乙(1-2)", "甲(1-1)", "丙(1-3)"}));
    QCOMPARE(list.current(), 1);
    QVERIFY(list.moveDown());
    QCOMPARE(list.current(), 2);
    QVERIFY(!list.canMoveDown() && !list.moveDown());
    QVERIFY(list.moveUp());
    QCOMPARE(list.entries(), QStringList({"乙(1-2)", "甲(1-1)", "丙(1-3)"}));

    // Cancel keeps the entry; OK deletes it and selects the one above.
    list.select(2);
    prompter.script({Prompter::Answer::Cancel, Prompter::Answer::Ok});
    QCOMPARE(list.remove(), TeacherListEditor::Result::Ignored);
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.remove(), TeacherListEditor::Result::Done);
    QCOMPARE(list.entries(), QStringList({"乙(1-2)", "甲(1-1)"}));
    QCOMPARE(list.current(), 1);
    const auto &asked = prompter.shown()[0];
    QCOMPARE(asked.caption, QString("確認"));
    QCOMPARE(asked.text, QString("削除しますか?"));
    QCOMPARE(asked.buttons, Prompter::Buttons::OkCancel);

    list.select(0);
    QCOMPARE(list.remove(), TeacherListEditor::Result::Done);
    QCOMPARE(list.current(), 0);
    QCOMPARE(list.remove(), TeacherListEditor::Result::Done);
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.current(), -1);
    QVERIFY(!list.canRemove());
}

void SettingsEditorTest::saveWritesAllThreeFiles() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    QDir().mkpath(paths::yearFolder(folder, kNendo));
    // A line this program does not know survives the save of the year settings.
    QVERIFY(writeTextLines(paths::yearSettingsFile(folder, kNendo), {"[Extra]", "Keep=1"}));
    QVERIFY(writeTextLines(paths::teacherFile(folder, kNendo),
                           {"N旧先生(1-1)", "MT\t国語\t旧先生\t1-1", "N別先生(2-0)"}));

    SettingsEditor editor(folder, kNendo);
    QCOMPARE(editor.teachers().entries(), QStringList({"旧先生(1-1)", "別先生(2-0)"}));
    editor.settings().testName[0] = "1学期中間テスト";
    editor.settings().classCount[2] = 7;
    editor.storeShownPattern(patternWith("◎", 85));
    editor.teachers().add("新先生", 3, 2);
    editor.electivePages()[0] = QStringList{"選択英語", "", "1年選択数学"};
    editor.electivePages()[2] = QStringList{"国語", "3年選択数学", "音楽選択", "3年選択英語G"};
    QString error;
    QVERIFY2(editor.save(&error), qPrintable(error));

    const YearSettings back = YearSettings::load(folder, kNendo);
    QCOMPARE(back.testName[0], QString("1学期中間テスト"));
    QCOMPARE(back.classCount[2], 7);
    QCOMPARE(back.patterns[0].kigou[0], QString("◎"));
    QCOMPARE(back.patterns[0].cutPoint[0], 85);
    QCOMPARE(IniFile(paths::yearSettingsFile(folder, kNendo)).readString("Extra", "Keep"), QString("1"));

    QStringList teacherLines;
    QVERIFY(readTextLines(paths::teacherFile(folder, kNendo), teacherLines));
    QCOMPARE(teacherLines,
             QStringList({"N旧先生(1-1)", "N別先生(2-0)", "N新先生(3-2)", "MT\t国語\t旧先生\t1-1"}));

    QCOMPARE(electives::readLines(folder, kNendo),
             QStringList({"1年選択英語", "1年選択数学", "3年選択国語", "3年選択数学", "3年選択英語G"}));
}

void SettingsEditorTest::missingFilesFallBackToLastYear() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    QDir().mkpath(paths::yearFolder(folder, kNendo - 1));
    QVERIFY(writeTextLines(paths::teacherFile(folder, kNendo - 1),
                           {"N前年先生(2-1)", "MT\t数学\t前年先生\t2-1", "MT\t選択英語\t前年先生\t3"}));
    QVERIFY(writeTextLines(paths::sentakuFile(folder, kNendo - 1), {"2年選択音楽", "ゴミ", "2年選"}));

    SettingsEditor editor(folder, kNendo);
    // The year folder is made at once; last year's teachers and electives are the starting point.
    QVERIFY(QDir(paths::yearFolder(folder, kNendo)).exists());
    QCOMPARE(editor.teacherSourceYear(), kNendo - 1);
    QCOMPARE(editor.teachers().entries(), QStringList({"前年先生(2-1)"}));
    QCOMPARE(editor.electivePages()[1], QStringList({"2年選択音楽"}));
    QVERIFY(editor.electivePages()[0].isEmpty());

    editor.teachers().add("新任先生", 1, 1);
    QVERIFY(editor.save());
    QStringList lines;
    QVERIFY(readTextLines(paths::teacherFile(folder, kNendo), lines));
    QCOMPARE(lines, QStringList({"N前年先生(2-1)", "N新任先生(1-1)", "MT\t数学\t前年先生\t2-1",
                                 "MT\t選択英語\t前年先生\t3"}));
    QCOMPARE(electives::readLines(folder, kNendo), QStringList({"2年選択音楽"}));
    // Last year's files are left alone.
    QVERIFY(readTextLines(paths::teacherFile(folder, kNendo - 1), lines));
    QCOMPARE(lines.size(), 3);

    // With no file in either year the lists start empty.
    QTemporaryDir empty;
    SettingsEditor fresh(folderOf(empty), kNendo);
    QCOMPARE(fresh.teachers().count(), 0);
    QCOMPARE(fresh.teacherSourceYear(), 0);
    QCOMPARE(fresh.completedElectives(), QStringList());
}

void SettingsEditorTest::typedTextChecks() {
    QString reason;
    QVERIFY(SettingsEditor::checkSymbol("AB", &reason));
    QVERIFY(SettingsEditor::checkSymbol("◎◎", &reason));
    QVERIFY(SettingsEditor::checkSymbol("ABCD", &reason));
    QVERIFY(!SettingsEditor::checkSymbol("ABCDE", &reason));
    QVERIFY(reason.contains("4文字"));
    QVERIFY(!SettingsEditor::checkSymbol("◎◎A", &reason));
    QVERIFY(!SettingsEditor::checkSymbol("😀", &reason));
    QVERIFY(reason.contains("😀"));
    QVERIFY(SettingsEditor::checkText("髙橋①～", &reason));
    QVERIFY(!SettingsEditor::checkText("テスト😀", &reason));

    // Only lines that are new are checked: a bad line already in the file does not block typing.
    QVERIFY(SettingsEditor::checkElectiveLines({"選択a/b"}, {"選択a/b", "国語"}, &reason));
    QVERIFY(!SettingsEditor::checkElectiveLines({"国語"}, {"国語", "音/楽"}, &reason));
    QVERIFY(reason.contains("/"));
    QVERIFY(!SettingsEditor::checkElectiveLines({}, {"選択.."}, &reason));
    QVERIFY(!SettingsEditor::checkElectiveLines({}, {"英語😀"}, &reason));
    // Lines that are dropped on save or blank need no check.
    QVERIFY(SettingsEditor::checkElectiveLines({}, {"", " ", "音楽選択:"}, &reason));
}

void SettingsEditorTest::failedSaveKeepsTheWindowOpenOnRequest() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    ScriptedPrompter prompter;
    SettingsEditor editor(folder, kNendo, &prompter);
    editor.settings().testName[0] = "中間";
    // A folder where the teacher file should be makes that save fail; the others still succeed.
    QVERIFY(QDir().mkpath(paths::teacherFile(folder, kNendo)));

    QString error;
    QVERIFY(!editor.save(&error));
    QVERIFY(error.contains("教師名ファイル"));
    QVERIFY(!error.contains("年度設定ファイル"));
    QCOMPARE(YearSettings::load(folder, kNendo).testName[0], QString("中間"));

    prompter.script({Prompter::Answer::Yes, Prompter::Answer::No});
    QVERIFY(!editor.closeAfterFailedSave(error)); // back to the window
    QCOMPARE(prompter.shown().size(), 1);
    QVERIFY(prompter.shown()[0].text.contains("保存できませんでした"));
    QVERIFY(prompter.shown()[0].text.contains(error));
    QCOMPARE(prompter.shown()[0].defaultAnswer, Prompter::Answer::Yes);
    QVERIFY(editor.closeAfterFailedSave(error)); // close without the file
    // Once the obstacle is gone the edits kept in the editor are saved.
    editor.teachers().add("保存先生", 1, 1);
    QVERIFY(QDir().rmdir(paths::teacherFile(folder, kNendo)));
    QVERIFY(editor.save());
    QCOMPARE(TeacherFile::load(folder, kNendo).entries(), QStringList({"保存先生(1-1)"}));
}

QTEST_GUILESS_MAIN(SettingsEditorTest)
#include "SettingsEditorTest.moc"
