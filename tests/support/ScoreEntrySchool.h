#pragma once

// A grade for the score-entry tests: three classes, a short roster (number 2 of class 1 moved away)
// and the files of test "A" in 国語 as the tests write them.
#include "common/DataPaths.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "support/TestDoubles.h"
#include "testscores/ScoreEntrySession.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QTemporaryDir>
#include <QTest>

namespace tavro::test {

constexpr int kYear = 2024;

struct School {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    ScriptedPrompter prompter;

    School() {
        YearSettings y;
        y.classCount = {3, 0, 0, 0, 0, 0};
        y.save(folder, kYear);
        std::vector<RosterEntry> roster(std::size_t(3 * kSeatsPerClass));
        roster[0].name = QStringLiteral("青木　一郎");
        roster[1].name = QStringLiteral("＊井上　花子");
        roster[60].name = QStringLiteral("上田　次郎");
        roster::write(paths::rosterFile(folder, kYear, 1), roster, true);
    }
    QString classFile(int cls) const {
        return paths::classScoreFile(folder, kYear, QStringLiteral("A"), 1, cls, QStringLiteral("国語"));
    }
    QString fullFile() const {
        return paths::fullScoreFile(folder, kYear, QStringLiteral("A"), 1, QStringLiteral("国語"));
    }
    void writeFull(const TestScoreRecord &values) {
        FullScores f;
        f.values = values;
        QVERIFY(TestScoreFile::writeFullScores(fullFile(), f));
    }
    void writeClass(int cls, const ClassScores &scores) {
        QVERIFY(TestScoreFile::writeClassScores(classFile(cls), scores));
    }
    ClassScores readClass(int cls) const {
        ClassScores s;
        TestScoreFile::readClassScores(classFile(cls), s);
        return s;
    }
    ScoreEntryContext context(const QString &classes = QStringLiteral("12"), bool totalOnly = false) const {
        ScoreEntryContext c;
        c.mainCaption = QStringLiteral("成績処理");
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.testCode = QStringLiteral("A");
        c.testName = QStringLiteral("1学期中間テスト");
        c.chargeClasses = classes;
        c.totalOnly = totalOnly;
        return c;
    }
};

inline void typeKeys(ScoreEntrySession &s, const QString &keys) {
    for (QChar c : keys)
        s.character(c);
}

} // namespace tavro::test
