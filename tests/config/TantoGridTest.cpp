#include "config/TantoGrid.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/YearSettings.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

namespace {

const std::array<int, 6> kClasses{3, 2, 0, 0, 0, 0};

TantoGrid sampleGrid(const QStringList &mLines = {}) {
    QStringList lines{"N青山一郎(1-1)", "N井上和子(1-2)", "N内田健二(2-0)"};
    lines += mLines;
    return TantoGrid::fromData(TeacherFile::fromLines(lines), {"1年選択国語", "1年選択英語", "2年選択数学"},
                               kClasses, 1);
}

} // namespace

class TantoGridTest : public QObject {
    Q_OBJECT

private slots:
    void rowsColumnsAndSubjects();
    void subjectIndexIsClampedOnGradeAndKindChange();
    void marksOfClassesAndElectives();
    void toggleKeepsOneTeacherPerClass();
    void electiveHasOneTeacherPerGrade();
    void classesFromTenCannotBeAssigned();
    void saveReplacesOnlyTheAssignmentLines();
};

void TantoGridTest::rowsColumnsAndSubjects() {
    TantoGrid grid = sampleGrid();
    QCOMPARE(grid.rowHeaders(), QStringList({"青山一郎(1-1)", "井上和子(1-2)", "内田健二(2-0)"}));
    QCOMPARE(grid.teacherOfRow(1), QString("井上和子"));
    QCOMPARE(grid.columnCount(), 3);
    QCOMPARE(TantoGrid::columnCaption(1), QString("2組"));
    QCOMPARE(grid.subjects().size(), 11);
    QCOMPARE(grid.subjects().mid(9), QStringList({"技家I", "技家H"}));
    QCOMPARE(TantoGrid::compulsorySubjects(0).size(), 10);
    QCOMPARE(grid.subject(), QString("国語"));

    grid.setGrade(3); // no classes: one column, hidden
    QCOMPARE(grid.columnCount(), 1);
    QVERIFY(!grid.gridVisible());
    QVERIFY(!grid.isMarked(0, 0));

    grid.setGrade(1);
    grid.setKind(TantoGrid::Kind::Elective);
    QCOMPARE(grid.subjects(), QStringList({"選択国語", "選択英語"}));
}

void TantoGridTest::subjectIndexIsClampedOnGradeAndKindChange() {
    TantoGrid grid = sampleGrid();
    grid.setSubjectIndex(10);
    grid.setKind(TantoGrid::Kind::Elective);
    QCOMPARE(grid.subjectIndex(), 1); // clamped to the two electives of grade 1
    grid.setGrade(2);
    QCOMPARE(grid.subject(), QString("選択数学"));
    grid.setGrade(3);
    QCOMPARE(grid.subjectIndex(), -1);
    QVERIFY(!grid.canToggle(0, 0));
    grid.setGrade(1);
    QCOMPARE(grid.subjectIndex(), 0); // none selected: the first
    grid.setSubjectIndex(1);
    grid.setKind(TantoGrid::Kind::Compulsory);
    QCOMPARE(grid.subject(), QString("社会"));
    grid.setSubjectIndex(99); // out of range: ignored
    QCOMPARE(grid.subject(), QString("社会"));
}

void TantoGridTest::marksOfClassesAndElectives() {
    TantoGrid grid =
        sampleGrid({"MT\t国語\t青山一郎\t1-2", "MT\t国語\t青山一郎\t2-1", "MT\t選択英語\t井上和子\t1"});
    QVERIFY(grid.isMarked(0, 1));
    QVERIFY(!grid.isMarked(0, 0));
    QVERIFY(!grid.isMarked(1, 1));
    grid.setGrade(2);
    QVERIFY(grid.isMarked(0, 0));
    QVERIFY(!grid.isMarked(0, 1));

    grid.setGrade(1);
    grid.setKind(TantoGrid::Kind::Elective);
    grid.setSubjectIndex(1);
    for (int c = 0; c < 3; ++c) // every class of the row
        QVERIFY(grid.isMarked(1, c));
    QVERIFY(!grid.isMarked(0, 0));
}

void TantoGridTest::toggleKeepsOneTeacherPerClass() {
    TantoGrid grid =
        sampleGrid({"MT\t国語\t青山一郎\t1-2", "MT\t国語\t青山一郎\t1-1", "MT\t社会\t青山一郎\t1-2"});
    QVERIFY(grid.toggle(1, 1)); // 井上 takes class 2 of 国語 from 青山
    QVERIFY(grid.isMarked(1, 1));
    QVERIFY(!grid.isMarked(0, 1));
    QCOMPARE(grid.assignmentLines(),
             QStringList({"MT\t国語\t青山一郎\t1-1", "MT\t社会\t青山一郎\t1-2", "MT\t国語\t井上和子\t1-2"}));

    QVERIFY(!grid.toggle(1, 1)); // a marked cell is cleared
    QVERIFY(!grid.isMarked(1, 1));
    QCOMPARE(grid.assignmentLines().size(), 2);
}

void TantoGridTest::electiveHasOneTeacherPerGrade() {
    TantoGrid grid = sampleGrid({"MT\t選択国語\t青山一郎\t1", "MT\t選択国語\t青山一郎\t2"});
    grid.setKind(TantoGrid::Kind::Elective);
    QVERIFY(grid.toggle(2, 2));
    QCOMPARE(grid.assignmentLines(), QStringList({"MT\t選択国語\t青山一郎\t2", "MT\t選択国語\t内田健二\t1"}));
    QVERIFY(grid.isMarked(2, 0));
    QVERIFY(!grid.isMarked(0, 0));
}

void TantoGridTest::classesFromTenCannotBeAssigned() {
    // Class 10 would be stored as "1" and read back as class 1.
    std::array<int, 6> classes{12, 0, 0, 0, 0, 0};
    TantoGrid grid = TantoGrid::fromData(
        TeacherFile::fromLines({"N青山一郎(1-1)", "MT\t国語\t青山一郎\t1-1"}), {}, classes, 1);
    QCOMPARE(grid.columnCount(), 12);
    QVERIFY(grid.isMarked(0, 0));
    QVERIFY(!grid.isMarked(0, 9));
    QString reason;
    QVERIFY(!grid.canToggle(0, 9, &reason));
    QVERIFY(reason.contains("9学級"));
    QVERIFY(grid.toggle(0, 9) == false);
    QCOMPARE(grid.assignmentLines(), QStringList({"MT\t国語\t青山一郎\t1-1"}));
}

void TantoGridTest::saveReplacesOnlyTheAssignmentLines() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString data = dir.path() + '/';
    const int nendo = 2024;
    YearSettings settings;
    settings.classCount = kClasses;
    QVERIFY(settings.save(data, nendo));
    const QStringList original{"N青山一郎(1-1)", "N井上和子(1-2)", "Xその他の行", "MT\t国語\t青山一郎\t1-1"};
    QVERIFY(writeTextLines(paths::teacherFile(data, nendo), original));
    // The previous year's file is never used here.
    paths::ensureYearFolder(data, nendo - 1);
    QVERIFY(writeTextLines(paths::teacherFile(data, nendo - 1), {"N前年度(1-1)"}));

    TantoGrid grid = TantoGrid::open(data, nendo, 1);
    QCOMPARE(grid.rowCount(), 2);
    QVERIFY(grid.isMarked(0, 0));
    grid.toggle(1, 2);
    QVERIFY(grid.save(data, nendo));

    QStringList lines;
    QVERIFY(readTextLines(paths::teacherFile(data, nendo), lines));
    QCOMPARE(lines, QStringList({"N青山一郎(1-1)", "N井上和子(1-2)", "Xその他の行", "MT\t国語\t青山一郎\t1-1",
                                 "MT\t国語\t井上和子\t1-3"}));

    // N lines only: no marks, and the same lines are written back.
    QVERIFY(writeTextLines(paths::teacherFile(data, nendo), {"N青山一郎(1-1)"}));
    TantoGrid empty = TantoGrid::open(data, nendo, 1);
    QVERIFY(!empty.isMarked(0, 0));
    QVERIFY(empty.save(data, nendo));
    QVERIFY(readTextLines(paths::teacherFile(data, nendo), lines));
    QCOMPARE(lines, QStringList({"N青山一郎(1-1)"}));
}

QTEST_GUILESS_MAIN(TantoGridTest)
#include "TantoGridTest.moc"
