#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/Electives.h"
#include "config/TeacherFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

namespace {

const QStringList kTeacherLines = {
    "N山田太郎(1-2)",
    "N佐藤花子(2-0)",
    "N鈴木一郎(3-1) ", // a stray blank after the class
    "N名前だけ",
    "MT\t国語\t山田太郎\t1-1",
    "MT\t国語\t山田太郎\t1-3",
    "MT\t技家I\t佐藤花子\t2-1",
    "MT\t技家H\t佐藤花子\t2-1",
    "MT\t技家H\t佐藤花子\t2-2",
    "MT\t選択国語\t鈴木一郎\t3",
    "Xメモ",
};

} // namespace

class TeachersAndElectivesTest : public QObject {
    Q_OBJECT

private slots:
    void teacherLinesAreReadAsTheWindowsDo();
    void savesKeepTheOtherKindOfLine();
    void missingYearFallsBackToThePreviousOne();
    void chargeClasses_data();
    void chargeClasses();
    void toggleKeepsOneTeacherPerClass();
    void electiveNamesAndCompletion();
    void memberListsAreReadLeniently();
    void unsafeElectiveNamesAreRefused();
    void corruptFilesDoNotStopTheReaders();
};

void TeachersAndElectivesTest::teacherLinesAreReadAsTheWindowsDo() {
    const TeacherFile file = TeacherFile::fromLines(kTeacherLines);
    QCOMPARE(file.teacherNames(), QStringList({"山田太郎", "佐藤花子", "鈴木一郎", "名前だけ"}));
    // The stray blank is dropped; the grade and class are kept.
    QCOMPARE(file.entries(), QStringList({"山田太郎(1-2)", "佐藤花子(2-0)", "鈴木一郎(3-1)", "名前だけ"}));
    QCOMPARE(file.assignmentLines().size(), 6);

    const TeacherFile::EntryParts parts = TeacherFile::parseEntry("山田太郎(4-11)");
    QCOMPARE(parts.name, QString("山田太郎"));
    QCOMPARE(parts.grade, 4);
    QCOMPARE(parts.cls, 11);
    const TeacherFile::EntryParts bad = TeacherFile::parseEntry("田中(x-99)");
    QCOMPARE(bad.grade, 1);
    QCOMPARE(bad.cls, 0);
    QCOMPARE(TeacherFile::makeEntry("田中", 2, 0), QString("田中(2-0)"));
    // An "N" line without any name gives no teacher for the login list.
    QVERIFY(TeacherFile::fromLines({"N(1-1)"}).teacherNames().isEmpty());

    // A ")" inside the name is kept: the settings window's save must not rename the teacher.
    TeacherFile odd = TeacherFile::fromLines({"N山田)太郎(1-2) ", "N佐藤)"});
    QCOMPARE(odd.entries(), QStringList({"山田)太郎(1-2)", "佐藤)"}));
    odd.setEntries(odd.entries());
    QCOMPARE(odd.teacherNames(), QStringList({"山田)太郎", "佐藤)"}));
}

void TeachersAndElectivesTest::savesKeepTheOtherKindOfLine() {
    QTemporaryDir tmp;
    TeacherFile file = TeacherFile::fromLines(kTeacherLines);
    file.setEntries({"新人(1-0)", "山田太郎(1-2)"});
    QCOMPARE(file.lines().mid(0, 3),
             QStringList({"N新人(1-0)", "N山田太郎(1-2)", "MT\t国語\t山田太郎\t1-1"}));
    QCOMPARE(file.lines().last(), QString("Xメモ"));

    file.setAssignmentLines({"MT\t社会\t新人\t1-1"});
    QCOMPARE(file.lines(), QStringList({"N新人(1-0)", "N山田太郎(1-2)", "Xメモ", "MT\t社会\t新人\t1-1"}));

    QString error;
    QVERIFY2(file.save(tmp.path(), 2024, &error), qPrintable(error));
    const TeacherFile back = TeacherFile::load(tmp.path(), 2024);
    QCOMPARE(back.lines(), file.lines());
    QCOMPARE(back.sourceYear(), 2024);
    QByteArray bytes;
    QVERIFY(readWholeFile(paths::teacherFile(tmp.path(), 2024), bytes));
    QVERIFY(bytes.startsWith("N\x90V\x90l(1-0)\r\n")); // 新人 in code page 932, CR LF
}

void TeachersAndElectivesTest::missingYearFallsBackToThePreviousOne() {
    QTemporaryDir tmp;
    QVERIFY(TeacherFile::fromLines(kTeacherLines).save(tmp.path(), 2023));
    QVERIFY(electives::writeLines(tmp.path(), 2023, {"1年選択国語"}));
    QCOMPARE(TeacherFile::load(tmp.path(), 2024).sourceYear(), 0);
    TeacherFile file = TeacherFile::loadWithFallback(tmp.path(), 2024);
    QCOMPARE(file.sourceYear(), 2023);
    QCOMPARE(electives::readLinesWithFallback(tmp.path(), 2024), QStringList{"1年選択国語"});
    QVERIFY(electives::readLines(tmp.path(), 2024).isEmpty());

    // Saving the copy as this year's file takes last year's "M" lines behind the new "N" lines.
    file.setEntries({"新人(1-0)"});
    QVERIFY(file.save(tmp.path(), 2024));
    const TeacherFile saved = TeacherFile::load(tmp.path(), 2024);
    QCOMPARE(saved.teacherNames(), QStringList{"新人"});
    QCOMPARE(saved.assignmentLines(), TeacherFile::fromLines(kTeacherLines).assignmentLines());
}

void TeachersAndElectivesTest::chargeClasses_data() {
    QTest::addColumn<QString>("kyouka");
    QTest::addColumn<QString>("teacher");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<bool>("matched");
    QTest::addColumn<QString>("classes");
    QTest::newRow("two classes") << "国語"
                                 << "山田太郎"
                                 << "1" << true << "13";
    QTest::newRow("other grade") << "国語"
                                 << "山田太郎"
                                 << "2" << false << "";
    QTest::newRow("other teacher") << "国語"
                                   << "佐藤花子"
                                   << "1" << false << "";
    // 技家 has no line of its own: 技家I and 技家H count, class 1 only once.
    QTest::newRow("技家 fallback") << "技家"
                                   << "佐藤花子"
                                   << "2" << true << "12";
    QTest::newRow("技家I alone") << "技家I"
                                 << "佐藤花子"
                                 << "2" << true << "1";
    QTest::newRow("elective") << "選択国語"
                              << "鈴木一郎"
                              << "3" << true << "";
    QTest::newRow("name is a prefix") << "国語"
                                      << "山田"
                                      << "1" << false << "";
}

void TeachersAndElectivesTest::chargeClasses() {
    QFETCH(QString, kyouka);
    QFETCH(QString, teacher);
    QFETCH(QString, grade);
    QFETCH(bool, matched);
    QFETCH(QString, classes);
    bool any = !matched;
    QCOMPARE(assignment::chargeClasses(TeacherFile::fromLines(kTeacherLines).assignmentLines(), kyouka,
                                       teacher, grade, &any),
             classes);
    QCOMPARE(any, matched);
}

void TeachersAndElectivesTest::toggleKeepsOneTeacherPerClass() {
    const QStringList grid{"A先生", "B先生"};
    QStringList lines{"MT\t国語\tA先生\t1-2", "MT\t国語\tA先生\t1-3", "MT\t国語\t旧姓\t1-2"};
    // B takes class 2 of 国語 in grade 1: A's line for that class goes, the renamed teacher's stays.
    QVERIFY(assignment::toggle(lines, "国語", grid, "B先生", 1, 2, false));
    QCOMPARE(lines, QStringList({"MT\t国語\tA先生\t1-3", "MT\t国語\t旧姓\t1-2", "MT\t国語\tB先生\t1-2"}));
    QVERIFY(assignment::isAssigned(lines, "国語", "B先生", 1, 2, false));
    // Toggling a held cell removes it.
    QVERIFY(!assignment::toggle(lines, "国語", grid, "B先生", 1, 2, false));
    QVERIFY(!assignment::isAssigned(lines, "国語", "B先生", 1, 2, false));

    // An elective has one teacher per grade, whoever held it.
    QStringList electives{"MT\t選択英語\t旧姓\t3", "MT\t選択英語\tA先生\t2"};
    QVERIFY(assignment::toggle(electives, "選択英語", grid, "B先生", 3, 1, true));
    QCOMPARE(electives, QStringList({"MT\t選択英語\tA先生\t2", "MT\t選択英語\tB先生\t3"}));
    // Class 10 is written as "1", like class 1.
    QCOMPARE(assignment::compulsoryLine("国語", "A先生", 1, 10), QString("MT\t国語\tA先生\t1-1"));
}

void TeachersAndElectivesTest::electiveNamesAndCompletion() {
    QCOMPARE(electives::nameOf("3年選択英語G"), QString("選択英語G"));
    QCOMPARE(electives::gradeOf("3年選択英語G"), 3);
    QCOMPARE(electives::gradeOf("３年選択"), 0);
    QCOMPARE(electives::pageLines({"1年選択国語", "1年選択", "2年選択数学", "1年国語"}, 1),
             QStringList({"1年選択国語", "1年選択"}));

    QCOMPARE(electives::completeLine(3, "国語"), QString("3年選択国語"));
    QCOMPARE(electives::completeLine(1, "選択英語"), QString("1年選択英語"));
    QCOMPARE(electives::completeLine(3, "3年選択数学"), QString("3年選択数学"));
    QVERIFY(electives::completeLine(3, "英語選択").isEmpty());
    QVERIFY(electives::completeLine(3, "2年選択数学").isEmpty());
    QCOMPARE(electives::completePages({{"国語", "", "x選択"}, {"選択音楽"}}),
             QStringList({"1年選択国語", "2年選択音楽"}));
}

void TeachersAndElectivesTest::memberListsAreReadLeniently() {
    QTemporaryDir tmp;
    const QStringList typed{"305", "2305", " 112 ", "99",  "12345", "３０５",
                            "abc", "",     "100",   "161", "2001",  "0160"};
    QString error;
    QVERIFY2(memberlist::write(tmp.path(), 2024, 3, "選択英語G", typed, &error), qPrintable(error));
    QVERIFY(QFile::exists(tmp.filePath("2024/2024S3選択英語G.lst")));

    QStringList lines;
    QVERIFY(memberlist::read(tmp.path(), 2024, 3, "選択英語G", lines, &error));
    QCOMPARE(lines, typed); // kept as typed, odd lines included
    // 3- or 4-digit numbers modulo 1000; numbers that name no seat are skipped.
    QCOMPARE(memberlist::members(lines), QList<int>({305, 305, 112, 160}));

    QVERIFY(memberlist::read(tmp.path(), 2024, 3, "選択数学", lines, &error));
    QVERIFY(lines.isEmpty());
}

void TeachersAndElectivesTest::unsafeElectiveNamesAreRefused() {
    QTemporaryDir tmp;
    QStringList lines;
    QString error;
    for (const QString &name : {QString("選択/../x"), QString(".."), QString("選択\t国語"),
                                QString::fromUtf8("選択😀"), QString()}) {
        error.clear();
        QVERIFY2(!memberlist::write(tmp.path(), 2024, 1, name, {"101"}, &error), qPrintable(name));
        QVERIFY(error.contains("選択教科名"));
        QVERIFY(!memberlist::read(tmp.path(), 2024, 1, name, lines, &error));
    }
    QVERIFY(QDir(tmp.path()).isEmpty()); // nothing written, inside or outside the year folder
}

void TeachersAndElectivesTest::corruptFilesDoNotStopTheReaders() {
    QTemporaryDir tmp;
    paths::ensureYearFolder(tmp.path(), 2024);
    // Binary garbage, a cut double-byte character and lone CRs.
    const QByteArray garbage("N\x82\r\rM\tT\x00\x01\x82\nN\x8e\x52(1", 18);
    QVERIFY(saveFileAtomically(paths::teacherFile(tmp.path(), 2024), garbage));
    const TeacherFile file = TeacherFile::load(tmp.path(), 2024);
    QCOMPARE(file.teacherNames().size(), 2);
    QCOMPARE(file.assignmentLines().size(), 1);
    QVERIFY(assignment::chargeClasses(file.assignmentLines(), "国語", "山", "1").isEmpty());

    QVERIFY(saveFileAtomically(paths::memberListFile(tmp.path(), 2024, 1, "選択国語"), garbage));
    QStringList lines;
    QVERIFY(memberlist::read(tmp.path(), 2024, 1, "選択国語", lines));
    QVERIFY(memberlist::members(lines).isEmpty());
}

QTEST_GUILESS_MAIN(TeachersAndElectivesTest)
#include "TeachersAndElectivesTest.moc"
