// The score-entry core: the key table of both modes, the cursor moves, the paste table, totals,
// averages and the distribution, full scores, the copy text, the close and the save.
#include "common/DataPaths.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "support/ScoreEntrySchool.h"
#include "support/TestDoubles.h"
#include "testscores/ScoreEntrySession.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using namespace tavro::scoreentry;
using tavro::test::kYear;
using tavro::test::School;
using tavro::test::typeKeys;

Q_DECLARE_METATYPE(tavro::scoreentry::Move)

class ScoreEntryTest : public QObject {
    Q_OBJECT

private slots:
    void characterKeys_data();
    void characterKeys();
    void backspaceAndTotals();
    void moves_data();
    void moves();
    void paste_data();
    void paste();

    void typingByViewpointAndTotalOnly();
    void keysThatChangeNothingKeepTheCell();
    void classListIsSanitised();
    void cursorMovesNeverChangeData();
    void pasteMarksModifiedAndIsSaved();
    void damagedFilesOpenReadOnly();
    void failedSaveKeepsTheWindowOpen();
    void distributionCountsTotalsUpTo500();
    void overFullQuestion();
    void averagesAndFullScores();
    void copyAllText();
};

void ScoreEntryTest::characterKeys_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("digit");
    QTest::addColumn<bool>("changes");
    QTest::addColumn<bool>("nextHalf");
    QTest::newRow("digit on blank") << -1 << "7" << 7 << 7 << true << false;
    QTest::newRow("digits accumulate") << 8 << "5" << 85 << 5 << true << false;
    QTest::newRow("10 then 0 is 100") << 10 << "0" << 100 << 0 << true << false;
    QTest::newRow("third digit mod 100") << 85 << "7" << 57 << 7 << true << false;
    QTest::newRow("100 then 5 is 5") << 100 << "5" << 5 << 5 << true << false;
    QTest::newRow("digit replaces -") << -2 << "4" << 4 << 4 << true << false;
    QTest::newRow("digit replaces *") << -3 << "9" << 9 << 9 << true << false;
    QTest::newRow("m 0") << 1 << "m" << 10 << 0 << true << false;
    QTest::newRow("J 1") << -1 << "J" << 1 << 1 << true << false;
    QTest::newRow("k 2") << -1 << "k" << 2 << 2 << true << false;
    QTest::newRow("l 3") << -1 << "l" << 3 << 3 << true << false;
    QTest::newRow("U 4") << -1 << "U" << 4 << 4 << true << false;
    QTest::newRow("i 5") << -1 << "i" << 5 << 5 << true << false;
    QTest::newRow("o 6") << -1 << "o" << 6 << 6 << true << false;
    QTest::newRow("full-width 8") << 1 << "８" << 18 << 8 << true << false;
    QTest::newRow("*") << 55 << "*" << -3 << -1 << true << false;
    QTest::newRow("full-width ＊") << 55 << "＊" << -3 << -1 << true << false;
    QTest::newRow("-") << 55 << "-" << -2 << -1 << true << false;
    QTest::newRow("full-width －") << 55 << "－" << -2 << -1 << true << false;
    QTest::newRow("/ blanks") << 55 << "/" << -1 << -1 << true << false;
    QTest::newRow("full-width ／") << -3 << "／" << -1 << -1 << true << false;
    QTest::newRow("n") << 55 << "n" << 55 << -1 << false << true;
    QTest::newRow("N") << -2 << "N" << -2 << -1 << false << true;
    QTest::newRow("d is no digit here") << -2 << "d" << -2 << -1 << false << false;
    QTest::newRow("x") << -3 << "x" << -3 << -1 << false << false;
    QTest::newRow("plus") << 7 << "+" << 7 << -1 << false << false;
    QTest::newRow("kana") << 7 << "あ" << 7 << -1 << false << false;
}

void ScoreEntryTest::characterKeys() {
    QFETCH(int, before);
    QFETCH(QString, key);
    const CharResult r = characterKey(before, key.at(0));
    QTEST(r.value, "after");
    QTEST(r.digit, "digit");
    QTEST(r.changes, "changes");
    QTEST(r.nextHalf, "nextHalf");
}

void ScoreEntryTest::backspaceAndTotals() {
    const std::pair<int, int> backspaces[] = {{-1, -1}, {-2, -1}, {-3, -1}, {0, -1},
                                              {9, -1},  {10, 1},  {100, 10}};
    for (const auto &[before, after] : backspaces)
        QCOMPARE(backspaceValue(before), after);

    const std::pair<TestScoreRecord, int> totals[] = {
        {{0, -1, -1, -1, -1, -1, -1}, -1}, // all blank
        {{0, 80, -1, -2, -1, -1, -1}, -2}, // 80, blank, "-": the last non-blank decides
        {{0, -2, 80, -1, -1, -1, -1}, 80}, // "-", 80
        {{0, 30, -3, 20, -1, -1, 99}, 50}, // "*" then 20; viewpoint 6 never counts
        {{0, 100, 100, 100, 100, 100, -1}, 500}, {{0, -1, -1, -1, -1, -3, -1}, -3},
    };
    for (const auto &[record, total] : totals)
        QCOMPARE(rowTotal(record), total);
    QCOMPARE(scoreText(-1), QString());
    QCOMPARE(scoreText(-2), QString("-"));
    QCOMPARE(scoreText(-3), QString("*"));
    QCOMPARE(scoreText(0), QString("0"));
}

void ScoreEntryTest::moves_data() {
    QTest::addColumn<bool>("byViewpoint");
    QTest::addColumn<QString>("full"); // viewpoints 1..5
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<Move>("key");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("newTab");
    QTest::addColumn<int>("newRow");
    QTest::addColumn<int>("newColumn");
    QTest::addColumn<bool>("chime");
    const QString f = "40,40,20,0,0";
    // By viewpoint (four tabs: two classes).
    QTest::newRow("enter next viewpoint")
        << true << f << 0 << 3 << 1 << Move::Enter << false << 0 << 3 << 2 << false;
    QTest::newRow("enter skips full 0 to next row")
        << true << f << 0 << 3 << 3 << Move::Enter << false << 0 << 4 << 1 << false;
    QTest::newRow("enter skips a middle 0")
        << true << "10,0,10,0,0" << 0 << 3 << 1 << Move::Enter << false << 0 << 3 << 3 << false;
    QTest::newRow("enter to row 6 chimes")
        << true << f << 1 << 5 << 3 << Move::Enter << false << 1 << 6 << 1 << true;
    QTest::newRow("enter from row 30 next tab")
        << true << f << 1 << 30 << 3 << Move::Enter << false << 2 << 1 << 1 << true;
    QTest::newRow("enter first examined viewpoint")
        << true << "0,0,30,0,0" << 0 << 3 << 3 << Move::Enter << false << 0 << 4 << 3 << false;
    QTest::newRow("enter all full 0")
        << true << "0,0,0,0,0" << 0 << 3 << 1 << Move::Enter << false << 0 << 4 << 1 << false;
    QTest::newRow("enter in a row chimes not")
        << true << f << 0 << 1 << 1 << Move::Enter << false << 0 << 1 << 2 << false;
    QTest::newRow("down") << true << f << 0 << 3 << 2 << Move::Down << false << 0 << 4 << 2 << false;
    QTest::newRow("down last tab wraps")
        << true << f << 3 << 30 << 2 << Move::Down << false << 0 << 1 << 2 << false;
    QTest::newRow("up first tab wraps")
        << true << f << 0 << 1 << 2 << Move::Up << false << 3 << 30 << 2 << false;
    QTest::newRow("up") << true << f << 2 << 7 << 2 << Move::Up << false << 2 << 6 << 2 << false;
    QTest::newRow("right cycles") << true << f << 0 << 3 << 5 << Move::Right << false << 0 << 3 << 1 << false;
    QTest::newRow("right") << true << f << 0 << 3 << 2 << Move::Right << false << 0 << 3 << 3 << false;
    QTest::newRow("left cycles") << true << f << 0 << 3 << 1 << Move::Left << false << 0 << 3 << 5 << false;
    QTest::newRow("left") << true << f << 0 << 3 << 4 << Move::Left << false << 0 << 3 << 3 << false;
    QTest::newRow("home") << true << f << 0 << 9 << 4 << Move::Home << false << 0 << 9 << 1 << false;
    QTest::newRow("ctrl home") << true << f << 0 << 9 << 4 << Move::Home << true << 0 << 1 << 1 << false;
    QTest::newRow("end") << true << f << 0 << 9 << 2 << Move::End << false << 0 << 9 << 5 << false;
    QTest::newRow("ctrl end") << true << f << 0 << 9 << 2 << Move::End << true << 0 << 30 << 5 << false;
    QTest::newRow("page down wraps") << true << f << 3 << 9 << 2 << Move::PageDown << false << 0 << 9 << 2
                                     << false;
    QTest::newRow("page up wraps") << true << f << 0 << 9 << 2 << Move::PageUp << false << 3 << 9 << 2
                                   << false;
    QTest::newRow("n") << true << "0,25,0,0,0" << 1 << 9 << 4 << Move::NextHalf << false << 2 << 1 << 2
                       << false;
    // Total only.
    QTest::newRow("total enter") << false << f << 0 << 4 << 0 << Move::Enter << false << 0 << 5 << 0 << false;
    QTest::newRow("total enter chimes at 11")
        << false << f << 0 << 10 << 0 << Move::Enter << false << 0 << 11 << 0 << true;
    QTest::newRow("total enter wraps tabs")
        << false << f << 3 << 30 << 0 << Move::Enter << false << 0 << 1 << 0 << true;
    QTest::newRow("total right ignored")
        << false << f << 0 << 4 << 0 << Move::Right << false << 0 << 4 << 0 << false;
    QTest::newRow("total left ignored")
        << false << f << 0 << 4 << 0 << Move::Left << false << 0 << 4 << 0 << false;
    QTest::newRow("total ctrl end ignored")
        << false << f << 0 << 4 << 0 << Move::End << true << 0 << 4 << 0 << false;
    QTest::newRow("total down") << false << f << 1 << 30 << 0 << Move::Down << false << 2 << 1 << 0 << false;
    QTest::newRow("total n") << false << f << 3 << 12 << 0 << Move::NextHalf << false << 0 << 1 << 0 << false;
}

void ScoreEntryTest::moves() {
    QFETCH(bool, byViewpoint);
    QFETCH(QString, full);
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(Move, key);
    QFETCH(bool, ctrl);
    Layout layout;
    layout.tabs = 4;
    layout.byViewpoint = byViewpoint;
    const QStringList parts = full.split(u',');
    for (int v = 1; v <= 5; ++v)
        layout.fullScores[std::size_t(v)] = parts[v - 1].toInt();
    const MoveResult r = move(Cursor{tab, row, column}, key, ctrl, layout);
    QTEST(r.cursor.tab, "newTab");
    QTEST(r.cursor.row, "newRow");
    QTEST(r.cursor.column, "newColumn");
    QTEST(r.chime, "chime");
}

void ScoreEntryTest::paste_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("stored"); // values from the row on, comma-separated
    QTest::newRow("a column") << 1 << "85\r\n90\r\n7\r\n" << false << "85,90,7";
    QTest::newRow("codes") << 1 << "\r\n-\r\n*\r\n/\r\n0\r\n100" << false << "-1,-2,-3,-1,0,100";
    QTest::newRow("first cell only, trimmed") << 1 << " 42 \tx\ty\n\t5\n" << false << "42,-1";
    QTest::newRow("full-width") << 1 << "８５\r\n－\r\n" << false << "85,-2";
    QTest::newRow("final break adds nothing") << 1 << "12\n" << false << "12";
    QTest::newRow("stops at row 30") << 29 << "1\n2\n3\n4\n" << false << "1,2";
    QTest::newRow("over 100") << 1 << "85\n101\n" << true << "";
    QTest::newRow("negative") << 1 << "-5\n" << true << "";
    QTest::newRow("text") << 1 << "85\nabc\n" << true << "";
    QTest::newRow("decimal") << 1 << "8.5\n" << true << "";
    QTest::newRow("bad line past row 30 is not read") << 30 << "9\nabc\n" << false << "9";
}

void ScoreEntryTest::paste() {
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    School school;
    ScoreEntrySession s(school.context(QStringLiteral("1"), true));
    QVERIFY(s.load(school.prompter));
    s.setCursor(0, row, 0);
    const ScoreEntrySession::PasteOutcome out = s.paste(text);
    QTEST(out.refused, "refused");
    if (out.refused) {
        QVERIFY(out.message.contains(QStringLiteral("行目")));
        QVERIFY(!s.isModified());
        for (int r = 1; r <= 30; ++r)
            QCOMPARE(s.score(0, r, 0), -1);
        return;
    }
    const QStringList values = stored.split(u',');
    QCOMPARE(out.rows, values.size());
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(s.score(0, row + i, 0), values[i].toInt());
    if (row + values.size() <= 30)
        QCOMPARE(s.score(0, row + int(values.size()), 0), -1);
}

void ScoreEntryTest::typingByViewpointAndTotalOnly() {
    School school;
    school.writeFull({0, 40, 40, 20, 0, 0, 0});
    ScoreEntrySession s(school.context());
    QVERIFY(s.load(school.prompter));
    QCOMPARE(s.fullScores()[0], 100); // recomputed from the viewpoints
    QCOMPARE(s.cursor(), (Cursor{0, 1, 1}));
    ScoreEntrySession::KeyOutcome out = s.character(u'3');
    QVERIFY(out.changed && out.digit == 3 && !out.beep && !out.noFullScore);
    out = s.character(u'5');
    QCOMPARE(s.score(0, 1, 1), 35);
    QCOMPARE(s.score(0, 1, 0), 35);
    QVERIFY(s.isModified());
    s.navigate(Move::Enter, false);
    typeKeys(s, QStringLiteral("ku")); // k 2, u 4
    QCOMPARE(s.score(0, 1, 2), 24);
    s.navigate(Move::Enter, false);
    out = s.character(u'3');
    out = s.character(u'0'); // 30 > 20
    QVERIFY(out.beep);
    QVERIFY(s.isOverFull(0, 1, 3));
    QCOMPARE(s.score(0, 1, 0), 89);
    s.backspace();
    QCOMPARE(s.score(0, 1, 3), 3);
    QCOMPARE(s.score(0, 1, 0), 62);
    s.deleteKey();
    QCOMPARE(s.score(0, 1, 0), 59);
    s.navigate(Move::Enter, false); // past viewpoint 3: row 2, viewpoint 1
    QCOMPARE(s.cursor(), (Cursor{0, 2, 1}));
    s.character(u'-');
    QCOMPARE(s.score(0, 2, 0), -2);

    // Total only: the total is typed; no over-full beep; a missing full score is reported.
    School other;
    ScoreEntrySession t(other.context(QStringLiteral("1"), true));
    QVERIFY(t.load(other.prompter));
    QCOMPARE(t.cursor(), (Cursor{0, 1, 0}));
    t.setCursor(0, 4, 3); // clicks select the total
    QCOMPARE(t.cursor(), (Cursor{0, 4, 0}));
    out = t.character(u'9');
    QVERIFY(out.noFullScore && !out.beep);
    QCOMPARE(t.score(0, 4, 0), 9);
    QVERIFY(t.caption().endsWith(QStringLiteral("【学力】")));
    QCOMPARE(t.caption(), QStringLiteral("成績処理 - 2024年度 1年生 国語 1学期中間テスト【学力】"));
}

void ScoreEntryTest::keysThatChangeNothingKeepTheCell() {
    School school;
    ClassScores stored;
    stored.student(1) = {-2, -2, -1, -1, -1, -1, -1};
    stored.student(2) = {-3, -1, -3, -1, -1, -1, -1};
    school.writeClass(1, stored);
    school.writeFull({100, 50, 50, 0, 0, 0, 0});
    ScoreEntrySession s(school.context(QStringLiteral("1")));
    QVERIFY(s.load(school.prompter));
    for (const Cursor &c : {Cursor{0, 1, 1}, Cursor{0, 2, 2}}) {
        s.setCursor(c.tab, c.row, c.column);
        const int before = s.score(c.tab, c.row, c.column);
        for (QChar key : QStringLiteral("qdx+ あ")) {
            const ScoreEntrySession::KeyOutcome out = s.character(key);
            QVERIFY(out.handled && !out.changed && out.digit == -1);
            QCOMPARE(s.score(c.tab, c.row, c.column), before);
        }
        // The same code again rewrites nothing either.
        s.character(before == -2 ? u'-' : u'*');
        QCOMPARE(s.score(c.tab, c.row, c.column), before);
    }
    QVERIFY(!s.isModified());
    s.character(u'n');
    QCOMPARE(s.cursor(), (Cursor{1, 1, 1}));
    QVERIFY(!s.isModified());
    QString error;
    QVERIFY(s.save(&error)); // nothing to write
    QVERIFY(school.readClass(1).records == stored.records);
}

void ScoreEntryTest::classListIsSanitised() {
    School school;
    ScoreEntrySession s(school.context(QStringLiteral("3x1329:0")));
    QVERIFY(s.load(school.prompter));
    QCOMPARE(s.classes(), (std::vector<int>{3, 1, 2}));
    QCOMPARE(s.tabCount(), 6);
    QCOMPARE(s.tabText(0), QStringLiteral(" 3組M"));
    QCOMPARE(s.tabText(5), QStringLiteral(" 2組F"));
    QVERIFY(school.prompter.shown().isEmpty());

    // Two tabs on one file would let the unedited copy win at the save.
    ScoreEntrySession twice(school.context(QStringLiteral("11")));
    QVERIFY(twice.load(school.prompter));
    twice.setCursor(0, 1, 1);
    twice.character(u'7');
    QString error;
    QVERIFY(twice.save(&error));
    QCOMPARE(school.readClass(1).student(1)[1], 7);

    for (const QString &none : {QString(), QStringLiteral("4"), QStringLiteral("x0")}) {
        school.prompter.clear();
        ScoreEntrySession empty(school.context(none));
        QVERIFY(!empty.load(school.prompter));
        QCOMPARE(school.prompter.texts(), QStringList{noClassToOpenMessage()});
    }
}

void ScoreEntryTest::cursorMovesNeverChangeData() {
    School school;
    ClassScores stored;
    stored.student(1) = {77, -1, -1, -1, -1, -1, -1}; // typed in total-only mode
    stored.student(2) = {64, 10, 10, -1, -1, -1, -1}; // a total that disagrees with its viewpoints
    school.writeClass(1, stored);
    school.writeFull({0, 40, 40, 20, 0, 0, 0});
    ScoreEntrySession s(school.context(QStringLiteral("1")));
    QVERIFY(s.load(school.prompter));
    const Move keys[] = {Move::Enter, Move::Down, Move::Up,     Move::Right,    Move::Left,
                         Move::Home,  Move::End,  Move::PageUp, Move::PageDown, Move::Enter};
    for (int pass = 0; pass < 40; ++pass)
        for (Move key : keys)
            s.navigate(key, pass % 2 == 1);
    QVERIFY(!s.isModified());
    QCOMPARE(s.score(0, 1, 0), 77);
    QCOMPARE(s.score(0, 2, 0), 64);
    s.setCursor(0, 2, 3);
    s.character(u'5');
    QCOMPARE(s.score(0, 2, 0), 25); // the row whose viewpoint changed
    QCOMPARE(s.score(0, 1, 0), 77);
}

void ScoreEntryTest::pasteMarksModifiedAndIsSaved() {
    School school;
    school.writeFull({0, 40, 40, 20, 0, 0, 0});
    ScoreEntrySession s(school.context(QStringLiteral("12")));
    QVERIFY(s.load(school.prompter));
    s.navigate(Move::PageDown, false);
    s.setCursor(1, 29, 2);
    const ScoreEntrySession::PasteOutcome out = s.paste(QStringLiteral("31\t0\r\n-\r\n99\r\n"));
    QVERIFY(!out.refused);
    QCOMPARE(out.rows, 2);
    QVERIFY(s.isModified());
    QCOMPARE(s.score(1, 29, 0), 31);
    QCOMPARE(s.score(1, 30, 0), -2);
    QVERIFY(s.averageText().startsWith(QStringLiteral("平均 31.00")));
    QVERIFY(s.closeQuery(school.prompter));
    QCOMPARE(school.readClass(1).student(59)[2], 31);
    QCOMPARE(school.readClass(1).student(59)[0], 31);
    QCOMPARE(school.readClass(1).student(60)[2], -2);
    QVERIFY(QFileInfo::exists(school.classFile(2))); // every class of the list is written
    QVERIFY(school.prompter.shown().isEmpty());
}

void ScoreEntryTest::damagedFilesOpenReadOnly() {
    School school;
    ClassScores stored;
    stored.student(1)[0] = 50;
    school.writeClass(2, stored);
    QFile file(school.classFile(2));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(700)); // truncated
    file.close();
    ScoreEntrySession s(school.context(QStringLiteral("12")));
    QVERIFY(s.load(school.prompter));
    QVERIFY(s.readOnly());
    QCOMPARE(school.prompter.shown().size(), 1);
    QVERIFY(school.prompter.texts().first().contains(QDir::toNativeSeparators(school.classFile(2))));
    QVERIFY(!school.prompter.texts().first().contains(QDir::toNativeSeparators(school.classFile(1))));
    QVERIFY(s.caption().endsWith(QStringLiteral("【閲覧モード】")));
    s.setCursor(2, 1, 1);
    QVERIFY(!s.character(u'9').changed);
    QVERIFY(!s.deleteKey().changed);
    QVERIFY(s.paste(QStringLiteral("5")).refused);
    QString error;
    QVERIFY(s.setViewpointFullScores({10, 10, 10, 10, 10, 0}, &error));
    QVERIFY(s.closeQuery(school.prompter));
    QCOMPARE(QFileInfo(school.classFile(2)).size(), 700);
    QVERIFY(!QFileInfo::exists(school.classFile(1)));
    QVERIFY(!QFileInfo::exists(school.fullFile()));

    // A browse-mode context says nothing about the damage.
    test::ScriptedPrompter quiet;
    ScoreEntryContext browse = school.context(QStringLiteral("12"));
    browse.readOnly = true;
    ScoreEntrySession b(browse);
    QVERIFY(b.load(quiet));
    QVERIFY(quiet.shown().isEmpty());
}

void ScoreEntryTest::failedSaveKeepsTheWindowOpen() {
    School school;
    ScoreEntrySession s(school.context(QStringLiteral("1"), true));
    QVERIFY(s.load(school.prompter));
    s.character(u'8');
    // A folder in the place of the class file: the rename fails.
    QVERIFY(QDir().mkpath(school.classFile(1)));
    school.prompter.script({Prompter::Answer::Cancel});
    QVERIFY(!s.closeQuery(school.prompter));
    QCOMPARE(school.prompter.shown().size(), 1);
    QCOMPARE(school.prompter.shown().first().buttons, Prompter::Buttons::YesNoCancel);
    QVERIFY(school.prompter.texts().first().contains(QStringLiteral("A101国語.dat")));
    QVERIFY(s.isModified());
    // Retry, then close without saving.
    school.prompter.clear();
    school.prompter.script({Prompter::Answer::Yes, Prompter::Answer::No});
    QVERIFY(s.closeQuery(school.prompter));
    QCOMPARE(school.prompter.shown().size(), 2);
    // Once the way is clear, the save goes through.
    QVERIFY(QDir().rmdir(school.classFile(1)));
    school.prompter.clear();
    QVERIFY(s.closeQuery(school.prompter));
    QVERIFY(school.prompter.shown().isEmpty());
    QCOMPARE(school.readClass(1).student(1)[0], 8);

    // The full-score file reports its failure too.
    QVERIFY(QDir().mkpath(school.fullFile()));
    QString error;
    QVERIFY(!s.setTotalFullScore(60, &error));
    QVERIFY(error.contains(QStringLiteral("A100国語.def")));
}

void ScoreEntryTest::distributionCountsTotalsUpTo500() {
    School school;
    ClassScores stored;
    stored.student(1) = {0, -1, -1, -1, -1, -1, -1};
    stored.student(2) = {25, -1, -1, -1, -1, -1, -1};
    stored.student(31) = {25, -1, -1, -1, -1, -1, -1};
    school.writeClass(1, stored);
    ScoreEntrySession s(school.context(QStringLiteral("1"), true));
    QVERIFY(s.load(school.prompter));
    std::vector<int> counts = s.distribution();
    QCOMPARE(counts.size(), std::size_t(501));
    QCOMPARE(counts[0], 1);
    QCOMPARE(counts[25], 2);
    QCOMPARE(ScoreEntrySession::distributionRange(counts), 25);
    const std::pair<int, int> ranges[] = {{26, 50},   {51, 100},  {100, 100}, {101, 200},
                                          {200, 200}, {201, 500}, {500, 500}};
    for (const auto &[top, range] : ranges) {
        std::vector<int> c(501, 0);
        c[std::size_t(top)] = 1;
        QCOMPARE(ScoreEntrySession::distributionRange(c), range);
    }

    // Five viewpoints of 100 give a total of 500.
    School full;
    full.writeFull({0, 100, 100, 100, 100, 100, 0});
    ScoreEntrySession v(full.context(QStringLiteral("1")));
    QVERIFY(v.load(full.prompter));
    for (int col = 1; col <= 5; ++col) {
        v.setCursor(0, 1, col);
        typeKeys(v, QStringLiteral("100"));
    }
    QCOMPARE(v.score(0, 1, 0), 500);
    counts = v.distribution();
    QCOMPARE(counts[500], 1);
    QCOMPARE(ScoreEntrySession::distributionRange(counts), 500);
}

void ScoreEntryTest::overFullQuestion() {
    School school;
    school.writeFull({0, 40, 40, 20, 0, 0, 10});
    ClassScores stored;
    stored.student(40) = {-1, -1, -1, -1, -1, -1, 50}; // viewpoint 6 has no column
    school.writeClass(2, stored);
    ScoreEntrySession s(school.context(QStringLiteral("12")));
    QVERIFY(s.load(school.prompter));
    QVERIFY(!s.firstOverFull());
    s.setCursor(3, 7, 3);
    typeKeys(s, QStringLiteral("21"));
    s.setCursor(1, 2, 4); // a viewpoint not examined
    s.character(u'1');
    s.setCursor(0, 1, 1);
    school.prompter.script({Prompter::Answer::Yes});
    QVERIFY(!s.closeQuery(school.prompter));
    QCOMPARE(school.prompter.texts(), QStringList{::overFullQuestion()});
    QCOMPARE(s.cursor(), (Cursor{1, 2, 4}));
    QVERIFY(!QFileInfo::exists(school.classFile(1)));
    school.prompter.clear();
    school.prompter.script({Prompter::Answer::No});
    QVERIFY(s.closeQuery(school.prompter));
    QCOMPARE(school.readClass(2).student(37)[3], 21);
    QCOMPARE(school.readClass(2).student(40)[6], 50); // carried through

    // Total-only mode and browse mode never ask.
    for (bool totalOnly : {true, false}) {
        ScoreEntryContext c = school.context(QStringLiteral("12"), totalOnly);
        c.readOnly = !totalOnly;
        ScoreEntrySession quiet(c);
        test::ScriptedPrompter prompter;
        QVERIFY(quiet.load(prompter));
        QVERIFY(quiet.closeQuery(prompter));
        QVERIFY(prompter.shown().isEmpty());
    }
}

void ScoreEntryTest::averagesAndFullScores() {
    School school;
    ClassScores one, two;
    one.student(1)[0] = 80;
    one.student(2)[0] = 61;
    one.student(31)[0] = 50;
    one.student(32)[0] = -2;
    two.student(5)[0] = 0;
    school.writeClass(1, one);
    school.writeClass(2, two);
    school.writeFull({60, 30, 0, 0, 0, 0, 0});
    ScoreEntrySession s(school.context(QStringLiteral("12"), true));
    QVERIFY(s.load(school.prompter));
    QCOMPARE(s.fullScores()[0], 60); // stored total in total-only mode
    QCOMPARE(s.averageText(), QStringLiteral("平均 47.75 "));
    QCOMPARE(s.classMean(0, 0), 70.5);
    QCOMPARE(s.classMean(0, 1), 50.0);
    QCOMPARE(s.classMean(0, -1), 191.0 / 3);
    QCOMPARE(s.classMean(1, 1), 0.0);
    QCOMPARE(s.fullScoreSummary(), QStringLiteral("満点60 ①30 ② 0 ③ 0 ④ 0 ⑤ 0 "));

    QString error;
    QVERIFY(s.setTotalFullScore(50, &error));
    FullScores back;
    TestScoreFile::readFullScores(school.fullFile(), back);
    QVERIFY(back.values == (TestScoreRecord{50, 30, 0, 0, 0, 0, 0}));

    ScoreEntrySession v(school.context(QStringLiteral("1")));
    QVERIFY(v.load(school.prompter));
    QCOMPARE(v.fullScores()[0], 30);
    QVERIFY(v.setViewpointFullScores({30, 30, 30, 3, 0, 9}, &error));
    QCOMPARE(v.fullScores()[0], 93);
    QVERIFY(v.fullScoreWarning());
    TestScoreFile::readFullScores(school.fullFile(), back);
    QVERIFY(back.values == (TestScoreRecord{93, 30, 30, 30, 3, 0, 9}));
    QVERIFY(!v.isModified()); // the full scores are written apart from the scores

    ScoreEntrySession empty(school.context(QStringLiteral("3"), true));
    QVERIFY(empty.load(school.prompter));
    QCOMPARE(empty.averageText(), QString());
}

void ScoreEntryTest::copyAllText() {
    School school;
    ClassScores stored;
    stored.student(1) = {85, 40, 30, 15, -1, -1, -1};
    stored.student(2) = {-2, -2, -3, -1, -1, -1, -1};
    stored.student(60) = {100, 100, -1, -1, -1, -1, -1}; // a number without a student
    school.writeClass(1, stored);
    ScoreEntryContext c = school.context(QStringLiteral("21"));
    c.classType = false;
    ScoreEntrySession s(c);
    QVERIFY(s.load(school.prompter));
    s.setCursor(1, 4, 2);
    const QString text = s.copyAllText();
    QCOMPARE(s.cursor(), (Cursor{1, 4, 2}));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 2 + 120 + 1);
    QCOMPARE(lines.last(), QString()); // the last line ends with CR LF too
    QCOMPARE(lines[0], QStringLiteral("\t\t1年生 国語 1学期中間テスト"));
    QCOMPARE(lines[1], QStringLiteral("組\t番\t氏名\t合計\t観①\t観②\t観③\t観④\t観⑤"));
    QCOMPARE(lines[2], QStringLiteral("B\t1\t上田　次郎\t    \t    \t    \t    \t    \t    "));
    QCOMPARE(lines[62], QStringLiteral("A\t1\t青木　一郎\t    85\t  40\t  30\t  15\t    \t    "));
    QCOMPARE(lines[63], QStringLiteral("A\t2\t井上　花子\t    -\t   -\t   *\t    \t    \t    "));
    QCOMPARE(lines[121], QStringLiteral("A\t60\t\t    100\t 100\t    \t    \t    \t    "));
    QCOMPARE(s.rowLabel(2, 2), QStringLiteral(" 2 井上　花子"));
    QCOMPARE(s.rowLabel(3, 30), QStringLiteral("60 "));
}

QTEST_MAIN(ScoreEntryTest)
#include "ScoreEntryTest.moc"
