#include "config/RosterEditor.h"
#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/YearSettings.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace tavro;
using Answer = Prompter::Answer;

namespace {

const QString kEmoji = QString::fromUtf8("😀");

bool writeClassCount(const QString &folder, int nendo, int grade, int count) {
    YearSettings settings;
    settings.classCount[grade - 1] = count;
    return settings.save(folder, nendo);
}

// A roster file of `classes` classes whose every slot holds "生徒<slot>".
QByteArray numberedRoster(int classes) {
    std::vector<RosterEntry> entries(size_t(classes) * kSeatsPerClass);
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].name = QStringLiteral("生徒%1").arg(i);
        entries[i].furigana = QStringLiteral("せいと");
    }
    QByteArray bytes;
    roster::serialize(entries, true, bytes);
    return bytes;
}

} // namespace

class RosterEditorTest : public QObject {
    Q_OBJECT
private slots:
    void gridCellsAndTabs();
    void pasteRules();
    void copyCutAndDelete();
    void longClipboardTextIsNeverCut();
    void unencodableTextIsRefused();
    void loweredClassCountKeepsTheOtherClasses();
    void closeQuestionSavesOnYesOnly();
    void unreadableRosterIsNeverOverwritten();
    void historyAsksFirst();
    void undoRedo_data();
    void undoRedo();
};

void RosterEditorTest::gridCellsAndTabs() {
    RosterEditor numbered(3, true);
    QCOMPARE(numbered.rowCount(), 181);
    QCOMPARE(numbered.cell(0, 2), QString("氏    名"));
    QCOMPARE(numbered.cell(0, 9), QString("履歴6年"));
    QCOMPARE(numbered.cell(61, 0), QString(" 2"));
    QCOMPARE(numbered.cell(61, 1), QString(" 1"));
    QCOMPARE(numbered.tabCount(), 6);
    QCOMPARE(numbered.tabCaption(5), QString(" 3組F"));

    RosterEditor lettered(2, false);
    QCOMPARE(lettered.cell(120, 0), QString(" B"));
    QCOMPARE(lettered.cell(120, 1), QString(" 60"));
    QStringList tabs;
    for (int t = 0; t < lettered.tabCount(); ++t)
        tabs << lettered.tabCaption(t);
    QCOMPARE(tabs, QStringList({" A組M", " A組F", " B組M", " B組F"}));

    // Row 61 is class 2, position 1: the third tab.
    QCOMPARE(RosterEditor::tabForRow(61), 2);
    QCOMPARE(RosterEditor::tabForRow(30), 0);
    QCOMPARE(RosterEditor::tabForRow(31), 1);
    QCOMPARE(RosterEditor::firstRowOfTab(2), 61);
    QVERIFY(!RosterEditor::startsGroupOfFive(1) && RosterEditor::startsGroupOfFive(6) &&
            !RosterEditor::startsGroupOfFive(7) && RosterEditor::startsGroupOfFive(61));
    QVERIFY(!RosterEditor::isEditable(1, 1) && RosterEditor::isEditable(1, 2) &&
            !RosterEditor::isEditable(0, 2));
}

void RosterEditorTest::pasteRules() {
    RosterEditor editor(1, true);
    QVERIFY(editor.setCell(3, 2, "残る"));
    CellRange changed;
    // TAB: next column; CR LF, LF or CR: next row at the starting column; empty pieces keep the cell.
    QVERIFY(editor.paste("山田\tやまだ\r\n\tすずき\n佐藤\t\t\r", 2, 2, &changed));
    QCOMPARE(editor.cell(2, 2), QString("山田"));
    QCOMPARE(editor.cell(2, 3), QString("やまだ"));
    QCOMPARE(editor.cell(3, 2), QString("残る"));
    QCOMPARE(editor.cell(3, 3), QString("すずき"));
    QCOMPARE(editor.cell(4, 2), QString("佐藤"));
    QVERIFY(editor.cell(5, 2).isEmpty());
    QCOMPARE(changed, (CellRange{2, 2, 4, 3}));

    // Pieces past the last column are dropped, the next line still starts at the starting column.
    QVERIFY(editor.paste("101\t102\t103\r\n201", 10, 8, &changed));
    QCOMPARE(editor.cell(10, 8), QString("101"));
    QCOMPARE(editor.cell(10, 9), QString("102"));
    QCOMPARE(editor.cell(11, 8), QString("201"));
    QCOMPARE(changed, (CellRange{10, 8, 11, 9}));

    // Lines past the last row are ignored; a start in the fixed columns starts at the name.
    QVERIFY(editor.paste("a\r\nb\r\nc\r\n", 59, 0, &changed));
    QCOMPARE(editor.cell(59, 2), QString("a"));
    QCOMPARE(editor.cell(60, 2), QString("b"));
    QCOMPARE(editor.cell(59, 0), QString(" 1"));
    QCOMPARE(editor.entries().size(), size_t(60));
    QCOMPARE(changed, (CellRange{59, 2, 60, 2}));

    // Only empty pieces: nothing changes.
    QVERIFY(editor.paste("\t\t\r\n", 1, 2, &changed));
    QVERIFY(!changed.isValid());
}

void RosterEditorTest::copyCutAndDelete() {
    RosterEditor editor(1, true);
    QVERIFY(editor.paste("山田\tやまだ\r\n\tすずき\r\n", 1, 2));
    // Cells separated by TAB, every row ended by CR LF; a TAB inside a cell cannot shift the columns.
    QCOMPARE(editor.copyText({1, 2, 2, 3}), QString("山田\tやまだ\r\n\tすずき\r\n"));
    QCOMPARE(editor.copyText({1, 0, 1, 2}), QString(" 1\t 1\t山田\r\n"));

    // The fixed columns are never emptied.
    editor.clear({1, 0, 2, 2});
    QCOMPARE(editor.copyText({1, 0, 2, 3}), QString(" 1\t 1\t\tやまだ\r\n 1\t 2\t\tすずき\r\n"));
}

void RosterEditorTest::longClipboardTextIsNeverCut() {
    RosterEditor source(12, true);
    for (int row = 1; row <= source.lastRow(); ++row) {
        QVERIFY(source.setCell(row, 2, QStringLiteral("長い名前の生徒その%1番").arg(row)));
        QVERIFY(source.setCell(row, 3, QStringLiteral("ながいなまえのせいと")));
    }
    const QString text = source.copyText({1, 2, source.lastRow(), 3});
    QVERIFY(cp932::byteLength(text) > 32767);
    QVERIFY(text.endsWith("長い名前の生徒その720番\tながいなまえのせいと\r\n"));

    RosterEditor target(12, true);
    QVERIFY(target.paste(text, 1, 2));
    QCOMPARE(target.cell(720, 2), QString("長い名前の生徒その720番"));
    QCOMPARE(target.copyText({1, 0, 720, 9}), source.copyText({1, 0, 720, 9}));
}

void RosterEditorTest::unencodableTextIsRefused() {
    RosterEditor editor(1, true);
    QVERIFY(editor.setCell(1, 2, "山田"));
    QString error;
    QVERIFY(!editor.setCell(1, 2, "山田" + kEmoji, &error));
    QVERIFY(error.contains(kEmoji));
    QCOMPARE(editor.cell(1, 2), QString("山田"));
    QVERIFY(RosterEditor::refusedTextMessage("①Ⅰ～髙ｱ").isEmpty());

    // The whole paste is refused, also the pieces before the bad character.
    error.clear();
    CellRange changed{1, 1, 1, 1};
    QVERIFY(!editor.paste("佐藤\r\n鈴木" + kEmoji + "\r\n", 1, 2, &changed, &error));
    QVERIFY(error.contains(kEmoji) && error.contains("貼り付け"));
    QCOMPARE(editor.cell(1, 2), QString("山田"));
    QVERIFY(editor.cell(2, 2).isEmpty());
    QVERIFY(!changed.isValid());

    // Control characters other than the tabs and line ends between cells are refused the same way.
    const std::pair<const char *, const char *> controls[] = {{"佐藤\r\n鈴\x01木\r\n", "U+0001"},
                                                              {"佐藤\t\x1f\r\n", "U+001F"},
                                                              {"\x7f佐藤", "U+007F"},
                                                              {"佐藤\x0b\r\n", "U+000B"}};
    for (const auto &[text, label] : controls) {
        error.clear();
        QVERIFY(!editor.paste(QString::fromUtf8(text), 1, 2, &changed, &error));
        QVERIFY2(error.contains(label) && error.contains("制御文字"), qPrintable(error));
        QCOMPARE(editor.cell(1, 2), QString("山田"));
        QVERIFY(editor.cell(2, 2).isEmpty());
        QVERIFY(!editor.setCell(2, 2, QString::fromUtf8(text), &error));
        QVERIFY(error.contains("制御文字"));
    }
    QVERIFY(RosterEditor::refusedTextMessage("山田\x02").contains("U+0002"));
}

void RosterEditorTest::loweredClassCountKeepsTheOtherClasses() {
    QTemporaryDir tmp;
    const QString data = paths::withTrailingSeparator(tmp.path());
    QVERIFY(writeClassCount(data, 2024, 2, 2));
    paths::ensureYearFolder(data, 2024);
    const QString path = paths::rosterFile(data, 2024, 2);
    // Written with five classes; one of the later lines is short and holds a byte that is no character.
    QByteArray original = numberedRoster(5);
    original.replace(cp932::encodeLossy(" 4\t 1\t生徒180\tせいと\t\t\t\t\t\t\t"), QByteArray(" 4\t 1\t\x82"));
    QVERIFY(saveFileAtomically(path, original));

    RosterEditor editor = RosterEditor::open(data, 2024, 2, true);
    QCOMPARE(editor.lastRow(), 120);
    QCOMPARE(editor.keptLineCount(), 180);
    QCOMPARE(editor.cell(120, 2), QString("生徒119"));
    QVERIFY(editor.setCell(1, 2, "青木"));
    QVERIFY(editor.save());

    QByteArray saved;
    QVERIFY(readWholeFile(path, saved));
    const QList<QByteArray> before = original.split('\n');
    const QList<QByteArray> after = saved.split('\n');
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.mid(120), before.mid(120));
    QCOMPARE(after.mid(1, 119), before.mid(1, 119));
    const std::vector<RosterEntry> back = roster::readEntries(path);
    QCOMPARE(back.size(), size_t(300));
    QCOMPARE(back[0].name, QString("青木"));
    QCOMPARE(back[299].name, QString("生徒299"));

    // Raised again, the classes come back as they were.
    QVERIFY(writeClassCount(data, 2024, 2, 5));
    RosterEditor again = RosterEditor::open(data, 2024, 2, true);
    QCOMPARE(again.lastRow(), 300);
    QCOMPARE(again.keptLineCount(), 0);
    QCOMPARE(again.cell(300, 2), QString("生徒299"));
}

void RosterEditorTest::closeQuestionSavesOnYesOnly() {
    QTemporaryDir tmp;
    const QString data = paths::withTrailingSeparator(tmp.path());
    QVERIFY(writeClassCount(data, 2024, 1, 3));
    RosterEditor editor = RosterEditor::open(data, 2024, 1, true);
    QCOMPARE(editor.lastRow(), 180);
    QVERIFY(editor.setCell(61, 2, "＊上野　次郎"));

    test::ScriptedPrompter prompter;
    prompter.script({Answer::No});
    QVERIFY(editor.closeQuery(prompter));
    QCOMPARE(prompter.shown().size(), 1);
    QCOMPARE(prompter.shown()[0].caption, QString("TAVRO"));
    QCOMPARE(prompter.shown()[0].text, QString("保存しますか?"));
    QCOMPARE(prompter.shown()[0].buttons, Prompter::Buttons::YesNo);
    QVERIFY(!paths::fileExists(editor.path()));

    prompter.script({Answer::Yes});
    QVERIFY(editor.closeQuery(prompter));
    const std::vector<RosterEntry> back = roster::readEntries(editor.path());
    QCOMPARE(back.size(), size_t(180));
    QCOMPARE(back[60].name, QString("＊上野　次郎"));

    // A failed save keeps the window open with its edits and says why.
    QVERIFY(QFile::remove(editor.path()));
    QVERIFY(QDir().mkpath(editor.path() + "/x"));
    prompter.clear();
    prompter.script({Answer::Yes});
    QVERIFY(!editor.closeQuery(prompter));
    QCOMPARE(prompter.shown().size(), 2);
    QVERIFY(prompter.shown()[1].text.startsWith("ファイルを保存できませんでした。"));
}

void RosterEditorTest::unreadableRosterIsNeverOverwritten() {
    QTemporaryDir tmp;
    const QString data = paths::withTrailingSeparator(tmp.path());
    QVERIFY(writeClassCount(data, 2024, 1, 1));
    // A folder in place of the roster file exists but cannot be read.
    QVERIFY(QDir().mkpath(paths::rosterFile(data, 2024, 1)));
    RosterEditor editor = RosterEditor::open(data, 2024, 1, true);
    QVERIFY(editor.loadError().startsWith("名簿ファイルを読み込めませんでした。"));
    QString error;
    QVERIFY(!editor.save(&error));
    QVERIFY(error.contains("上書きしません"));
}

void RosterEditorTest::historyAsksFirst() {
    QTemporaryDir tmp;
    const QString data = paths::withTrailingSeparator(tmp.path());
    QVERIFY(writeClassCount(data, 2024, 2, 1));
    std::vector<RosterEntry> old(70);
    old[64].name = "山田太郎";
    paths::ensureYearFolder(data, 2023);
    QVERIFY(roster::write(paths::rosterFile(data, 2023, 1), old, true));

    RosterEditor editor = RosterEditor::open(data, 2024, 2, true);
    QVERIFY(editor.setCell(1, 2, "山田　太郎"));
    test::ScriptedPrompter prompter;
    prompter.script({Answer::No});
    QVERIFY(!editor.buildHistory(prompter));
    QCOMPARE(prompter.texts(), QStringList({"過去の氏名ファイルから履歴を作成します。"}));
    QVERIFY(editor.cell(1, 4).isEmpty());

    prompter.clear();
    QStringList progress;
    QVERIFY(editor.buildHistory(prompter, [&](const QString &t) { progress << t; }));
    QCOMPARE(editor.cell(1, 4), QString("205"));
    QCOMPARE(progress, QStringList({"2023年度1年生のファイルを処理中... ■□□□□□□□□□□□"}));
    QCOMPARE(prompter.shown().last().caption, QString("Tavro"));
    QCOMPARE(prompter.shown().last().text, QString("履歴の分析が終了しました。"));

    RosterEditor first = RosterEditor::open(data, 2024, 1, true);
    QVERIFY(first.buildHistory(prompter));
    QCOMPARE(prompter.shown().last().text, QString("履歴対応の氏名ファイルが見つかりませんでした。"));
}

void RosterEditorTest::undoRedo_data() {
    QTest::addColumn<int>("edit");
    QTest::addColumn<int>("steps"); // undos back to the roster before
    QTest::addColumn<int>("top");   // the rows put back by the last undo
    QTest::addColumn<int>("bottom");
    QTest::newRow("a cell edited") << 0 << 1 << 2 << 2;
    QTest::newRow("two cells edited") << 1 << 2 << 2 << 2;
    QTest::newRow("a range deleted") << 2 << 1 << 1 << 30;
    QTest::newRow("a block pasted") << 3 << 1 << 59 << 61;
    QTest::newRow("ふりがな変換") << 4 << 1 << 1 << 120;
}

// Edit, undo, redo: the file bytes before and after the edit, the rows put back, and a new edit
// drops the redo. A refused paste or an edit that changes nothing is no step.
void RosterEditorTest::undoRedo() {
    QFETCH(int, edit);
    QFETCH(int, steps);
    QFETCH(int, top);
    QFETCH(int, bottom);
    const std::function<void(RosterEditor &)> edits[] = {
        [](RosterEditor &e) { QVERIFY(e.setCell(2, 2, "山田花子")); },
        [](RosterEditor &e) {
            QVERIFY(e.setCell(2, 3, "やまだ"));
            QVERIFY(e.setCell(3, 3, "すずき"));
        },
        [](RosterEditor &e) {
            e.clear({1, 2, 30, 9});
        },
        [](RosterEditor &e) { QVERIFY(e.paste("甲\t乙\r\n丙\r\n丁\r\n", 59, 2)); },
        [](RosterEditor &e) { e.convertFurigana(); },
    };
    RosterEditor editor(2, true);
    QByteArray roster = numberedRoster(2);
    QByteArray hiragana, katakana;
    QVERIFY(cp932::encode(QStringLiteral("せいと"), hiragana) &&
            cp932::encode(QStringLiteral("セイト"), katakana));
    roster.replace(hiragana, katakana);
    editor.loadBytes(roster);
    QByteArray before;
    QVERIFY(editor.serialize(before));

    QString error;
    QVERIFY(!editor.paste(kEmoji, 1, 2, nullptr, &error));
    QVERIFY(editor.setCell(1, 2, editor.cell(1, 2)));
    QVERIFY(!editor.canUndo());

    edits[edit](editor);
    QVERIFY(editor.canUndo() && !editor.canRedo());
    QByteArray after;
    QVERIFY(editor.serialize(after));
    QVERIFY(after != before);

    CellRange changed;
    for (int i = 0; i < steps; ++i)
        QVERIFY(editor.undo(&changed));
    QCOMPARE(changed, (CellRange{top, RosterEditor::kFirstDataColumn, bottom, RosterEditor::kColumns - 1}));
    QVERIFY(!editor.canUndo() && !editor.undo());
    QByteArray undone;
    QVERIFY(editor.serialize(undone));
    QCOMPARE(undone, before);

    for (int i = 0; i < steps; ++i)
        QVERIFY(editor.redo());
    QVERIFY(!editor.canRedo());
    QByteArray redone;
    QVERIFY(editor.serialize(redone));
    QCOMPARE(redone, after);

    QVERIFY(editor.undo());
    QVERIFY(editor.setCell(100, 2, "新入生"));
    QVERIFY(!editor.canRedo());
}

QTEST_GUILESS_MAIN(RosterEditorTest)
#include "RosterEditorTest.moc"
