// Undo and redo of the score-entry session: each kind of edit, undone and redone, gives back the
// state and the file bytes before and after it.
#include "common/DataPaths.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "support/ScoreEntrySchool.h"
#include "support/TestDoubles.h"
#include "testscores/ScoreEntrySession.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace tavro;
using namespace tavro::scoreentry;
using tavro::test::kYear;
using tavro::test::School;
using tavro::test::typeKeys;

namespace {

// The bytes of the class files and the full-score file.
QByteArray fileBytes(const School &school) {
    QByteArray bytes;
    for (const QString &path : {school.classFile(1), school.classFile(2), school.fullFile()}) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            bytes += f.readAll();
        bytes += '|';
    }
    return bytes;
}

struct State {
    std::vector<ClassScores> scores;
    TestScoreRecord full;
    bool operator==(const State &o) const {
        if (full != o.full || scores.size() != o.scores.size())
            return false;
        for (std::size_t i = 0; i < scores.size(); ++i)
            if (scores[i].records != o.scores[i].records)
                return false;
        return true;
    }
};

State stateOf(const ScoreEntrySession &s) {
    State state{{}, s.fullScores()};
    for (std::size_t i = 0; i < s.classes().size(); ++i)
        state.scores.push_back(s.classScores(int(i)));
    return state;
}

struct Edit {
    const char *name;
    bool totalOnly;
    int steps; // undos back to the state before
    std::function<void(ScoreEntrySession &)> run;
};

const std::vector<Edit> &edits() {
    static const std::vector<Edit> table = {
        {"a score typed into a viewpoint", false, 1,
         [](ScoreEntrySession &s) {
             s.setCursor(0, 3, 1);
             typeKeys(s, QStringLiteral("12"));
         }},
        {"typing, Backspace and typing again in one cell", false, 1,
         [](ScoreEntrySession &s) {
             s.setCursor(1, 2, 2);
             typeKeys(s, QStringLiteral("7"));
             s.backspace();
             typeKeys(s, QStringLiteral("9"));
         }},
        {"two cells typed", false, 2,
         [](ScoreEntrySession &s) {
             s.setCursor(0, 1, 1);
             typeKeys(s, QStringLiteral("5"));
             s.navigate(Move::Enter, false);
             typeKeys(s, QStringLiteral("6"));
         }},
        {"Delete", false, 1,
         [](ScoreEntrySession &s) {
             s.setCursor(0, 1, 1);
             s.deleteKey();
         }},
        {"a total typed", true, 1,
         [](ScoreEntrySession &s) {
             s.setCursor(2, 5, 0);
             typeKeys(s, QStringLiteral("52"));
         }},
        {"a column pasted", true, 1,
         [](ScoreEntrySession &s) {
             s.setCursor(0, 1, 0);
             QString text;
             for (int i = 0; i < 30; ++i)
                 text += QString::number((i * 7) % 101) + QStringLiteral("\t\r\n");
             QVERIFY(!s.paste(text).refused);
         }},
        {"viewpoint full scores", false, 1,
         [](ScoreEntrySession &s) {
             QVERIFY(s.setViewpointFullScores({30, 30, 20, 20, 0, 0}, nullptr));
         }},
        {"the total full score", true, 1,
         [](ScoreEntrySession &s) { QVERIFY(s.setTotalFullScore(50, nullptr)); }},
    };
    return table;
}

} // namespace

class ScoreEntryUndoTest : public QObject {
    Q_OBJECT

private slots:
    void undoRedo_data() {
        QTest::addColumn<int>("edit");
        for (int i = 0; i < int(edits().size()); ++i)
            QTest::newRow(edits()[std::size_t(i)].name) << i;
    }

    // Edit and save, undo and save, redo and save: the state and the bytes before and after the edit;
    // the undo marks the session modified as the edit did, and a new edit drops the redo.
    void undoRedo() {
        QFETCH(int, edit);
        const Edit &e = edits()[std::size_t(edit)];
        School school;
        school.writeFull({100, 40, 40, 20, 0, 0, 0});
        ClassScores scores;
        for (int n = 1; n <= kTestStudents; ++n)
            scores.student(n) = {n % 90, n % 40, n % 30, n % 20, 0, 0, 0};
        school.writeClass(1, scores);
        school.writeClass(2, scores);
        ScoreEntrySession s(school.context(QStringLiteral("12"), e.totalOnly));
        QVERIFY(s.load(school.prompter));
        const State before = stateOf(s);
        const QByteArray bytesBefore = fileBytes(school);
        QVERIFY(!s.canUndo());

        e.run(s);
        QVERIFY(s.canUndo() && !s.canRedo());
        const State after = stateOf(s);
        QVERIFY(!(after == before));
        QVERIFY(s.save(nullptr));
        const QByteArray bytesAfter = fileBytes(school);
        QVERIFY(bytesAfter != bytesBefore);

        for (int i = 0; i < e.steps; ++i)
            QVERIFY(s.undo());
        QVERIFY(!s.canUndo() && s.canRedo());
        QVERIFY(stateOf(s) == before);
        QCOMPARE(s.isModified(), e.name != QByteArray("viewpoint full scores") &&
                                     e.name != QByteArray("the total full score"));
        QVERIFY(s.save(nullptr));
        QCOMPARE(fileBytes(school), bytesBefore);
        QVERIFY(!s.undo());

        for (int i = 0; i < e.steps; ++i)
            QVERIFY(s.redo());
        QVERIFY(!s.canRedo());
        QVERIFY(stateOf(s) == after);
        QVERIFY(s.save(nullptr));
        QCOMPARE(fileBytes(school), bytesAfter);

        QVERIFY(s.undo());
        s.setCursor(0, 30, 0);
        typeKeys(s, QStringLiteral("1"));
        QVERIFY(!s.canRedo());
    }
};

QTEST_MAIN(ScoreEntryUndoTest)
#include "ScoreEntryUndoTest.moc"
