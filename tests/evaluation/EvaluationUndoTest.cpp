// Undo and redo of the evaluation session: each kind of edit, undone and redone, gives back the state
// and the file bytes before and after it, with the aggregate items recomputed.
#include "app/DemoSchool.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/Editing.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/ItemImport.h"
#include "evaluation/ItemSettings.h"
#include "support/TestDoubles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace tavro;
using namespace tavro::gridkeys;

namespace {

constexpr int kYear = 2024;
constexpr int kSum = 11; // an aggregate item of items 1 and 3, added before each edit

KeyPress ch(char c) {
    return KeyPress::character(QChar::fromLatin1(c));
}

struct School {
    QTemporaryDir dir;
    QString folder = dir.path() + QLatin1Char('/');
    test::ScriptedPrompter prompter;
    test::FixedClock clock;

    School() {
        QString error;
        if (!DemoSchool::write(folder, kYear, &error))
            qWarning() << error;
    }
    EvaluationContext context() const {
        EvaluationContext c;
        c.mainCaption = QStringLiteral("成績処理");
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.chargeClasses = QStringLiteral("12");
        c.teacherName = DemoSchool::teacherNames()[1]; // the demo's 国語 worksheet of grade 1
        return c;
    }
};

// The worksheet file and the result files of the classes in charge.
QByteArray fileBytes(const EvaluationSession &s) {
    QStringList files{s.worksheetPath()};
    for (int cls : {1, 2})
        files << paths::classResultFile(s.context().dataFolder, kYear, 1, cls, s.context().kyouka);
    QByteArray bytes;
    for (const QString &path : files) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            bytes += f.readAll();
        bytes += '|';
    }
    return bytes;
}

struct State {
    std::vector<std::int32_t> scores, itemRatios;
    std::array<std::int32_t, kPeriods * kViewpoints> viewpointRatios{};
    std::vector<QStringList> items; // every field of each item
    QStringList comments;
    bool operator==(const State &) const = default;
};

State stateOf(const EvaluationSession &s) {
    const Worksheet &w = s.worksheet();
    State state{w.scores, w.itemRatios, w.viewpointRatios, {}, {}};
    for (const WorksheetItem &it : w.items)
        state.items.push_back({it.name, QString::number(it.kind), QString::number(it.link), it.formula,
                               QString::number(it.protection), QString::number(it.fullScore),
                               QString::number(it.symbolInput)});
    for (const StudentResult &r : s.results().entries)
        state.comments << r.comment;
    return state;
}

struct Edit {
    const char *name;
    int steps;    // undos back to the state before
    bool comment; // the results, not the worksheet, are changed
    std::function<void(EvaluationSession &)> run;
};

QString scoreBlock(int rows, int columns) {
    QString text;
    for (int r = 0; r < rows; ++r) {
        QStringList line;
        for (int c = 0; c < columns; ++c)
            line << QString::number((r * 3 + c) % 5 + 1);
        text += line.join(u'\t') + QStringLiteral("\r\n");
    }
    return text;
}

const std::vector<Edit> &edits() {
    static const std::vector<Edit> table = {
        {"characters, Backspace and characters in one score cell", 1, false,
         [](EvaluationSession &s) {
             s.scoreKey(0, 1, ch('1'));
             s.scoreKey(0, 1, KeyPress::of(Key::Backspace));
             s.scoreKey(0, 1, ch('9'));
         }},
        {"two score cells typed", 2, false,
         [](EvaluationSession &s) {
             s.scoreKey(0, 1, ch('7'));
             s.endTyping();
             s.scoreKey(1, 1, ch('6'));
         }},
        {"the same cell typed again after the cursor left it", 2, false,
         [](EvaluationSession &s) {
             s.scoreKey(2, 3, ch('4'));
             s.endTyping();
             s.scoreKey(2, 3, ch('2'));
         }},
        {"Delete in the score grid", 1, false,
         [](EvaluationSession &s) { s.scoreKey(0, 1, KeyPress::of(Key::Delete)); }},
        {"a viewpoint ratio typed", 1, false,
         [](EvaluationSession &s) {
             s.viewpointRatioKey(1, 1, ch('2'));
             s.viewpointRatioKey(1, 1, ch('5'));
         }},
        {"an item ratio typed", 1, false, [](EvaluationSession &s) { s.itemRatioKey(3, 1, 2, ch('4')); }},
        {"a full score typed", 1, false,
         [](EvaluationSession &s) {
             s.fullScoreKey(3, ch('3'));
             s.fullScoreKey(3, ch('0'));
         }},
        {"a block of scores pasted", 1, false,
         [](EvaluationSession &s) {
             QCOMPARE(editing::pasteScores(s, scoreBlock(60, 3), 1, 3).stored, 180);
         }},
        {"viewpoint ratios pasted", 1, false,
         [](EvaluationSession &s) {
             QCOMPARE(editing::pasteViewpointRatios(s, QStringLiteral("10\t20\r\n30\t40\r\n"), 1, 1).stored,
                      4);
         }},
        {"item ratios pasted", 1, false,
         [](EvaluationSession &s) {
             QCOMPARE(
                 editing::pasteItemRatios(s, QStringLiteral("5\t6\t7\r\n"), editing::itemRatioRow(1, 1), 1)
                     .stored,
                 3);
         }},
        {"viewpoint ratios deleted", 1, false,
         [](EvaluationSession &s) { editing::deleteViewpointRatios(s, 1, 1, 2, 3); }},
        {"item ratios deleted", 1, false,
         [](EvaluationSession &s) {
             editing::deleteItemRatios(s, editing::itemRatioRow(1, 1), 1, editing::itemRatioRow(2, 3), 10);
         }},
        {"a comment typed", 1, true,
         [](EvaluationSession &s) {
             const int slot = s.rows()[0];
             QVERIFY(editing::setComment(s, 1, slot, QStringLiteral("よ")));
             QVERIFY(editing::setComment(s, 1, slot, QStringLiteral("よく")));
         }},
        {"protection up to an item", 1, false,
         [](EvaluationSession &s) { editing::protectUpTo(s, 3, true); }},
        {"学年末", 1, false, [](EvaluationSession &s) { QVERIFY(editing::copyYearEndRatios(s)); }},
        {"the item dialog", 1, false,
         [](EvaluationSession &s) {
             const auto lists = itemsettings::testLists(s.settings(), s.kanten(), s.context().kyouka, true);
             itemsettings::ItemEdit edit = itemsettings::editOf(s.worksheet(), kSum, lists);
             edit.formula = QStringLiteral("1");
             QVERIFY(itemsettings::apply(s, kSum, edit, lists, nullptr).applied);
         }},
        {"自動見込み", 1, false, [](EvaluationSession &s) { QVERIFY(!s.autoEstimate().empty()); }},
        {"an item import", 1, false,
         [](EvaluationSession &s) {
             itemimport::ColleagueItems items;
             WorksheetItem &sum = items.items[kSum - 1];
             sum.name = QStringLiteral("合計");
             sum.kind = itemkind::kAggregate;
             sum.formula = QStringLiteral("3");
             sum.fullScore = 20;
             items.ratios[Worksheet::itemRatioIndex(kSum, 1, 1)] = 9;
             QCOMPARE(itemimport::importItems(s, items, {kSum}, {}).imported, 1);
         }},
    };
    return table;
}

// The session with item 11 summing items 1 and 3, every file written from it.
std::unique_ptr<EvaluationSession> openSession(School &school) {
    auto s = std::make_unique<EvaluationSession>(school.context());
    s->load(school.prompter);
    WorksheetItem &sum = s->worksheet().item(kSum);
    sum.name = QStringLiteral("平常合計");
    sum.kind = itemkind::kAggregate;
    sum.formula = QStringLiteral("1,3");
    sum.fullScore = 100;
    s->worksheet().itemRatio(3, 2, 2) = 7; // 学年末 has a ratio to copy
    s->itemsChanged(true);
    s->markResultsPending();
    QString error;
    if (!s->save(&error))
        qWarning() << error;
    return s;
}

} // namespace

class EvaluationUndoTest : public QObject {
    Q_OBJECT

private slots:
    void undoRedo_data() {
        QTest::addColumn<int>("edit");
        for (int i = 0; i < int(edits().size()); ++i)
            QTest::newRow(edits()[std::size_t(i)].name) << i;
    }

    // Edit and save, undo and save, redo and save: the state and the bytes before and after the edit;
    // the undo marks the session as the edit did, and a new edit drops the redo.
    void undoRedo() {
        QFETCH(int, edit);
        const Edit &e = edits()[std::size_t(edit)];
        School school;
        auto s = openSession(school);
        QVERIFY(!s->readOnly());
        QVERIFY(!s->isModified() && !s->resultsPending());
        const State before = stateOf(*s);
        const QByteArray bytesBefore = fileBytes(*s);
        QVERIFY(!s->canUndo());

        e.run(*s);
        QVERIFY(s->canUndo() && !s->canRedo());
        const State after = stateOf(*s);
        QVERIFY(!(after == before));
        QVERIFY(s->save(nullptr));
        const QByteArray bytesAfter = fileBytes(*s);
        QVERIFY(bytesAfter != bytesBefore);

        for (int i = 0; i < e.steps; ++i)
            QVERIFY(s->undo());
        QVERIFY(!s->canUndo() && s->canRedo());
        QVERIFY(stateOf(*s) == before);
        QCOMPARE(s->isModified(), !e.comment);
        QCOMPARE(s->resultsPending(), e.comment);
        QVERIFY(s->save(nullptr));
        QCOMPARE(fileBytes(*s), bytesBefore);
        QVERIFY(!s->undo());

        for (int i = 0; i < e.steps; ++i)
            QVERIFY(s->redo());
        QVERIFY(!s->canRedo());
        QVERIFY(stateOf(*s) == after);
        QVERIFY(s->save(nullptr));
        QCOMPARE(fileBytes(*s), bytesAfter);

        QVERIFY(s->undo());
        s->scoreKey(5, 1, ch('3'));
        QVERIFY(!s->canRedo());
    }

    // Undo puts back what the aggregate item computed from the cells, not only the cells.
    void undoRecomputesAggregates() {
        School school;
        auto s = openSession(school);
        const int slot = s->rows()[0];
        const int sum = s->worksheet().score(kSum, slot);
        editing::pasteScores(*s, QStringLiteral("1\t\t1\r\n"), 1, 3);
        QCOMPARE(s->worksheet().score(kSum, slot), 2);
        QVERIFY(s->undo());
        QCOMPARE(s->worksheet().score(kSum, slot), sum);
        QVERIFY(s->redo());
        QCOMPARE(s->worksheet().score(kSum, slot), 2);
    }

    // A calculation writes the result files for everyone: the history before it is gone, the window
    // is told once, and the edits after it are undone again.
    void calculationEndsHistory() {
        School school;
        auto s = openSession(school);
        s->scoreKey(0, 1, KeyPress::of(Key::Delete));
        s->autoEstimate(); // no "*" left to stop the calculation
        QVERIFY(s->canUndo());
        QVERIFY(!s->takeHistoryCleared());
        const calculation::Report report = s->calculate(1, school.prompter, school.clock);
        QVERIFY(report.outcome != calculation::Outcome::Stopped);
        QVERIFY(!s->canUndo() && !s->canRedo());
        QVERIFY(s->takeHistoryCleared());
        QVERIFY(!s->takeHistoryCleared());
        s->scoreKey(1, 1, KeyPress::of(Key::Delete));
        QVERIFY(s->undo());

        // A delete in the paste grid runs phase 2, which writes the files as well.
        s->scoreKey(1, 1, KeyPress::of(Key::Delete));
        QVERIFY(s->periodPermitted(1));
        QVERIFY(editing::deletePercentages(*s, 1, 1, 3, 1, 3, school.prompter, school.clock));
        QVERIFY(!s->canUndo());
        QVERIFY(s->takeHistoryCleared());
    }
};

QTEST_MAIN(EvaluationUndoTest)
#include "EvaluationUndoTest.moc"
