#include "exchange/GradeTransfer.h"

#include "common/DataPaths.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/GradeHyouteiStore.h"

#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace tavro;
using namespace tavro::exchange;

namespace {

constexpr int kYear = 2024;

// Two classes of grade 1 with three names (one moved away) and the results given per file subject.
std::unique_ptr<GradeHyouteiStore> grade(QTemporaryDir &dir, int schoolKind,
                                         const std::map<QString, std::map<int, StudentResult>> &results,
                                         bool classType = true) {
    const QString folder = dir.path() + u'/';
    YearSettings y;
    y.classCount[0] = 2;
    y.save(folder, kYear);
    std::vector<RosterEntry> roster(kSlots);
    roster[std::size_t(slotOf(1, 1))].name = QStringLiteral("青木一郎");
    roster[std::size_t(slotOf(1, 3))].name = QStringLiteral("＊転出");
    roster[std::size_t(slotOf(2, 2))].name = QStringLiteral("田中次郎");
    roster[std::size_t(slotOf(3, 1))].name = QStringLiteral("三組の人"); // beyond the class count
    roster::write(paths::rosterFile(folder, kYear, 1), roster, true);
    for (const auto &[subject, students] : results) {
        std::map<int, EvaluationResults> byClass;
        for (const auto &[slot, r] : students)
            byClass[classOfSlot(slot)].at(1, slot) = r;
        for (const auto &[cls, r] : byClass)
            ClassResultFile::save(paths::classResultFile(folder, kYear, 1, cls, subject), r, cls);
    }
    auto store = std::make_unique<GradeHyouteiStore>();
    store->load({folder, kYear, 1, 1, QStringLiteral("1学期"), schoolKind, classType});
    return store;
}

StudentResult marked(const QString &evaluation, const QString &prefix) {
    StudentResult r;
    r.evaluation = evaluation;
    for (int v = 0; v < kViewpoints; ++v)
        r.marks[std::size_t(v)] = prefix + QString::number(v + 1);
    return r;
}

} // namespace

class GradeTransferTest : public QObject {
    Q_OBJECT

private slots:
    // Five marks for 国語, four for 数学, three for 生活; empty results keep their line; no header.
    void marksPerSubject() {
        QTemporaryDir junior;
        const auto j = grade(
            junior, 1,
            {{QStringLiteral("国語"), {{slotOf(1, 1), marked(QStringLiteral("5"), QStringLiteral("k"))}}},
             {QStringLiteral("数学"), {{slotOf(2, 2), marked(QStringLiteral("3"), QStringLiteral("m"))}}}});
        const std::vector<int> seats = defaultGradeSlots(*j);
        QCOMPARE(seats, (std::vector<int>{slotOf(1, 1), slotOf(1, 3), slotOf(2, 2)})); // "＊転出" stays
        QCOMPARE(gradeTransferText(*j, 0, seats),
                 QStringLiteral("k1\tk2\tk3\tk4\tk5\t5\r\n\t\t\t\t\t\r\n\t\t\t\t\t\r\n"));
        QCOMPARE(gradeTransferText(*j, 2, {slotOf(2, 2)}), QStringLiteral("m1\tm2\tm3\tm4\t3\r\n"));
        QCOMPARE(gradeTransferText(*j, 2, {}), QString());

        QTemporaryDir elementary;
        const auto e = grade(
            elementary, 0,
            {{QStringLiteral("生活"), {{slotOf(1, 1), marked(QStringLiteral("A"), QStringLiteral("s"))}}},
             {QStringLiteral("図工"), {{slotOf(1, 1), marked(QStringLiteral("B"), QStringLiteral("z"))}}}});
        QCOMPARE(gradeTransferText(*e, 4, {slotOf(1, 1)}), QStringLiteral("s1\ts2\ts3\tA\r\n"));
        QCOMPARE(gradeTransferText(*e, 6, {slotOf(1, 1)}), QStringLiteral("z1\tz2\tz3\tz4\tB\r\n"));
    }

    // PE per student: the boys' entry when it holds a result, else the girls', in both school kinds.
    void physicalEducation() {
        for (int kind : {1, 0}) {
            const QString boys = kind == 1 ? QStringLiteral("保体B") : QStringLiteral("体育B");
            const QString girls = kind == 1 ? QStringLiteral("保体G") : QStringLiteral("体育G");
            const int pe = kind == 1 ? 6 : 7;
            StudentResult marksOnly; // boys' entry holding only a mark (a period without evaluations)
            marksOnly.marks[0] = QStringLiteral("b1");
            QTemporaryDir dir;
            const auto store = grade(dir, kind,
                                     {{boys,
                                       {{slotOf(1, 1), marked(QStringLiteral("4"), QStringLiteral("b"))},
                                        {slotOf(1, 3), marksOnly}}},
                                      {girls,
                                       {{slotOf(1, 1), marked(QStringLiteral("2"), QStringLiteral("g"))},
                                        {slotOf(1, 3), marked(QStringLiteral("3"), QStringLiteral("g"))},
                                        {slotOf(2, 2), marked(QStringLiteral("5"), QStringLiteral("g"))}}}});
            QCOMPARE(gradeTransferText(*store, pe, {slotOf(1, 1), slotOf(1, 3), slotOf(2, 2)}),
                     QStringLiteral("b1\tb2\tb3\tb4\t4\r\nb1\t\t\t\t\r\ng1\tg2\tg3\tg4\t5\r\n"));
        }
    }

    void schoolKinds() {
        QVERIFY(schoolKindError(0).isEmpty());
        QVERIFY(schoolKindError(1).isEmpty());
        QCOMPARE(schoolKindError(2), QStringLiteral("校種の設定 (2) が正しくありません。"));
    }

    // The list items name the class, so the 1..60 of each class can be told apart.
    void studentItems() {
        QTemporaryDir numbered, lettered;
        const auto n = grade(numbered, 1, {});
        const auto l = grade(lettered, 1, {}, false);
        QCOMPARE(studentItem(*n, slotOf(1, 1)), QStringLiteral("1組 1 青木一郎"));
        QCOMPARE(studentItem(*n, slotOf(2, 2)), QStringLiteral("2組 2 田中次郎"));
        QCOMPARE(studentItem(*l, slotOf(1, 1)), QStringLiteral("A組 1 青木一郎"));
        QCOMPARE(studentItem(*l, slotOf(2, 2)), QStringLiteral("B組 2 田中次郎"));
        QCOMPARE(studentItem(*l, slotOf(2, 12)), QStringLiteral("B組12 "));
    }
};

QTEST_GUILESS_MAIN(GradeTransferTest)
#include "GradeTransferTest.moc"
