#include "evaluation/GradeHyouteiStore.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/Electives.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

namespace {

constexpr int kYear = 2024;

// A small grade written with the program's own writers.
struct Grade {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    int grade = 1;
    int schoolKind = 1;

    explicit Grade(int classCount, int grade = 1, int schoolKind = 1) : grade(grade), schoolKind(schoolKind) {
        YearSettings y;
        y.classCount[std::size_t(grade - 1)] = classCount;
        y.save(folder, kYear);
    }
    void names(const std::vector<std::pair<int, QString>> &seats) {
        std::vector<RosterEntry> roster(kSlots);
        for (const auto &[slot, name] : seats)
            roster[std::size_t(slot)].name = name;
        roster::write(paths::rosterFile(folder, kYear, grade), roster, true);
    }
    void required(const QString &subject, int cls, const EvaluationResults &r) {
        QVERIFY(ClassResultFile::save(paths::classResultFile(folder, kYear, grade, cls, subject), r, cls));
    }
    void electiveLines(const QStringList &lines) { QVERIFY(electives::writeLines(folder, kYear, lines)); }
    void members(const QString &name, const QStringList &lines) {
        QVERIFY(memberlist::write(folder, kYear, grade, name, lines));
    }
    void electiveResults(const QString &name, const EvaluationResults &r, const std::vector<int> &seats) {
        QVERIFY(ElectiveResultFile::save(paths::electiveResultFile(folder, kYear, grade, name), r, seats));
    }
    // Rewrites the version of a file's header.
    static void makeTooNew(const QString &path) {
        QByteArray bytes;
        QVERIFY(readWholeFile(path, bytes));
        bytes.replace(6, 3, "600");
        QVERIFY(saveFileAtomically(path, bytes));
    }
    GradeHyouteiStore load(int period = 1, bool classType = true) const {
        GradeHyouteiStore s;
        s.load({folder, kYear, grade, period, QStringLiteral("1学期"), schoolKind, classType});
        return s;
    }
};

StudentResult result(const QString &evaluation, float percentage = -1, const QString &mark = QString()) {
    StudentResult r;
    r.evaluation = evaluation;
    r.percentage = percentage;
    r.marks[0] = mark;
    return r;
}

QStringList lines(const QString &text) {
    QStringList l = text.split(QStringLiteral("\r\n"));
    l.removeLast();
    return l;
}

} // namespace

class GradeHyouteiStoreTest : public QObject {
    Q_OBJECT

private slots:
    // The composite letter of column 23 by the evaluations of the ten file subjects.
    void compositeLetter() {
        struct Case {
            QStringList evaluations; // file subjects in order, the rest empty
            QString letter;
        };
        const QString f = QStringLiteral("5");
        const std::vector<Case> cases = {
            {{f, f, f, f, f, f, f, f, f}, QStringLiteral(" A")},                      // 45
            {{f, f, f, f, f, f, f, f, QStringLiteral("4")}, QStringLiteral(" A")},    // 44: 7/20 truncates
            {QStringList(9, QStringLiteral("1")), QStringLiteral(" M")},              // 9: 12.6
            {QStringList(9, QStringLiteral("3")), QStringLiteral(" G")},              // 27: 6.3
            {{f, f, f, f, f, f, f, f}, QString()},                                    // eight count
            {QStringList(10, f), QString()},                                          // ten count
            {{f, f, f, f, f, f, f, f, QStringLiteral("4+")}, QStringLiteral(" A")},   // "4+" counts as 4
            {{f, f, f, f, f, f, f, f, QStringLiteral("A")}, QString()},               // a letter does not
            {{f, f, f, f, f, f, f, f, f, QStringLiteral("0")}, QStringLiteral(" A")}, // 0 does not count
        };
        Grade g(1);
        const QStringList subjects = {
            QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("数学"),  QStringLiteral("理科"),
            QStringLiteral("音楽"), QStringLiteral("美術"), QStringLiteral("保体B"), QStringLiteral("保体G"),
            QStringLiteral("技家"), QStringLiteral("英語")};
        for (int s = 0; s < 10; ++s) {
            EvaluationResults r;
            for (std::size_t c = 0; c < cases.size(); ++c)
                if (s < cases[c].evaluations.size())
                    r.at(1, 1, int(c) + 1) = result(cases[c].evaluations[s]);
            g.required(subjects[s], 1, r);
        }
        const GradeHyouteiStore store = g.load();
        for (std::size_t c = 0; c < cases.size(); ++c)
            QCOMPARE(store.gridText(1, int(c) + 1, 23), cases[c].letter);
    }

    // Grid 1: headers, fixed columns, the period's values only, percentages "%3.0f", lettered classes.
    void requiredGrid() {
        Grade g(2);
        g.names({{slotOf(1, 1), QStringLiteral("青木一郎")}, {slotOf(2, 60), QStringLiteral("渡辺花子")}});
        EvaluationResults r;
        r.at(2, 1, 1) = result(QStringLiteral("4"), 72.5f);
        r.at(1, 1, 1) = result(QStringLiteral("2"), 33.0f); // another period
        r.at(2, 1, 2) = result(QStringLiteral("5"), 100.0f);
        r.at(2, 1, 3) = result(QStringLiteral("3"), 5.4f);
        r.dateTime(2) = 45500.5;
        g.required(QStringLiteral("保体B"), 1, r);
        EvaluationResults r2;
        r2.at(2, 2, 60) = result(QStringLiteral("1"), 0.0f);
        g.required(QStringLiteral("英語"), 2, r2);

        const GradeHyouteiStore store = g.load(2, false);
        QCOMPARE(store.gridRows(), 121);
        QCOMPARE(GradeHyouteiStore::gridColumns(1), 24);
        const QStringList header = {QStringLiteral("学級"),     QStringLiteral("番号"),
                                    QStringLiteral("氏    名"), QStringLiteral("国語"),
                                    QStringLiteral("％"),       QStringLiteral("社会")};
        for (int c = 0; c < header.size(); ++c)
            QCOMPARE(store.gridText(1, 0, c), header[c]);
        QCOMPARE(store.gridText(1, 0, 15), QStringLiteral("保体")); // 保体B
        QCOMPARE(store.gridText(1, 0, 17), QStringLiteral("保体")); // 保体G
        QCOMPARE(store.gridText(1, 0, 23), QString());
        QCOMPARE(store.gridText(1, 1, 0), QStringLiteral(" A"));
        QCOMPARE(store.gridText(1, 1, 1), QStringLiteral(" 1"));
        QCOMPARE(store.gridText(1, 1, 2), QStringLiteral("青木一郎"));
        QCOMPARE(store.gridText(1, 1, 15), QStringLiteral("4"));
        QCOMPARE(store.gridText(1, 1, 16), QStringLiteral(" 73")); // the half rounds away from zero
        QCOMPARE(store.gridText(1, 2, 16), QStringLiteral("100"));
        QCOMPARE(store.gridText(1, 3, 16), QStringLiteral("  5"));
        QCOMPARE(store.gridText(1, 4, 16), QString());
        QCOMPARE(store.gridText(1, 120, 0), QStringLiteral(" B"));
        QCOMPARE(store.gridText(1, 120, 2), QStringLiteral("渡辺花子"));
        QCOMPARE(store.gridText(1, 120, 21), QStringLiteral("1"));
        QCOMPARE(store.gridText(1, 120, 22), QStringLiteral("  0"));
        QCOMPARE(store.requiredDateTime(6, 1), 45500.5);
        QVERIFY(store.messages().isEmpty());
    }

    // A class result file of version 600 or more is not read; the message shows once.
    void tooNewClassFiles() {
        Grade g(3);
        EvaluationResults r;
        r.at(1, 1, 1) = result(QStringLiteral("5"), 90);
        g.required(QStringLiteral("国語"), 1, r);
        EvaluationResults r2;
        r2.at(1, 2, 1) = result(QStringLiteral("4"), 80);
        g.required(QStringLiteral("国語"), 2, r2);
        g.required(QStringLiteral("数学"), 2, r2);
        EvaluationResults r3;
        r3.at(1, 3, 1) = result(QStringLiteral("3"), 60);
        g.required(QStringLiteral("国語"), 3, r3);
        Grade::makeTooNew(paths::classResultFile(g.folder, kYear, 1, 2, QStringLiteral("国語")));
        Grade::makeTooNew(paths::classResultFile(g.folder, kYear, 1, 2, QStringLiteral("数学")));

        const GradeHyouteiStore store = g.load();
        QCOMPARE(store.gridText(1, 1, 3), QStringLiteral("5"));
        QCOMPARE(store.gridText(1, 61, 3), QString());
        QCOMPARE(store.gridText(1, 61, 7), QString());
        QCOMPARE(store.gridText(1, 121, 3), QStringLiteral("3"));
        QCOMPARE(store.messages(), QStringList{tooNewVersionMessage()});
    }

    // PE in the copy: the boys' entry when it holds any result, else the girls'.
    void physicalEducationRule() {
        struct Case {
            int schoolKind;
            StudentResult boys, girls;
            QString evaluation, mark;
        };
        const std::vector<Case> cases = {
            {1, result(QStringLiteral("4"), 70, QStringLiteral("A")), result(QStringLiteral("3")),
             QStringLiteral("4"), QStringLiteral("A")},
            {1, result(QString()), result(QStringLiteral("3"), 50, QStringLiteral("B")), QStringLiteral("3"),
             QStringLiteral("B")},
            {1, result(QString(), 40), result(QStringLiteral("3"), 50, QStringLiteral("B")), QString(),
             QString()},
            {1, result(QString(), -1, QStringLiteral("C")),
             result(QStringLiteral("3"), 50, QStringLiteral("B")), QString(), QStringLiteral("C")},
            {0, result(QString()), result(QStringLiteral("2"), 30, QStringLiteral("C")), QStringLiteral("2"),
             QStringLiteral("C")},
        };
        for (const Case &c : cases) {
            Grade g(1, 1, c.schoolKind);
            const QString b = c.schoolKind ? QStringLiteral("保体B") : QStringLiteral("体育B");
            const QString gi = c.schoolKind ? QStringLiteral("保体G") : QStringLiteral("体育G");
            EvaluationResults rb, rg;
            rb.at(1, 1, 1) = c.boys;
            rg.at(1, 1, 1) = c.girls;
            g.required(b, 1, rb);
            g.required(gi, 1, rg);
            const GradeHyouteiStore store = g.load();
            const int pe = c.schoolKind ? 6 : 7;
            QCOMPARE(store.displayRequired(pe, 0).evaluation, c.evaluation);
            // Column of PE in the copy with viewpoints: 3 fixed, then seven per subject.
            const QStringList cells = lines(store.copyText(true))[2].split(u'\t');
            QCOMPARE(cells[3 + pe * 7], c.evaluation);
            QCOMPARE(cells[3 + pe * 7 + 1], c.mark);
        }
    }

    // Electives: member lists, "★重複", the best record (strictly greater), grid 3, date-time.
    void electives() {
        Grade g(2, 2);
        g.electiveLines({QStringLiteral("2年選択英語A"), QStringLiteral("1年選択国語"),
                         QStringLiteral("2年選択英語B"), QStringLiteral("2年選択美術"),
                         QStringLiteral("2年選択総合")});
        g.members(QStringLiteral("選択英語A"),
                  {QStringLiteral("2101"), QStringLiteral("102"), QStringLiteral("1261"),
                   QStringLiteral("abc"), QStringLiteral("301"), QStringLiteral("103"),
                   QStringLiteral("103")});
        g.members(QStringLiteral("選択英語B"),
                  {QStringLiteral("101"), QStringLiteral("102"), QStringLiteral("103")});
        g.members(QStringLiteral("選択美術"), {QStringLiteral("101")});
        g.members(QStringLiteral("選択総合"), {QStringLiteral("201")});
        EvaluationResults a, b, art;
        a.at(1, 1, 1) = result(QStringLiteral("3"), 60, QStringLiteral("B"));
        a.at(1, 1, 2) = result(QStringLiteral("4"), 70);
        a.at(1, 1, 3) = result(QStringLiteral("2"), -1);
        a.at(2, 1, 1) = result(QStringLiteral("1"), 99); // another period
        a.dateTime(1) = 45400.25;
        b.at(1, 1, 1) = result(QStringLiteral("5"), 80, QStringLiteral("A"));
        b.at(1, 1, 2) = result(QStringLiteral("5"), 70); // a tie: the earlier stays
        b.at(1, 1, 3) = result(QStringLiteral("1"), -1); // no achievement is never the best
        art.at(1, 1, 1) = result(QStringLiteral("4"), 75);
        g.electiveResults(QStringLiteral("選択英語A"), a, {slotOf(1, 1), slotOf(1, 2), slotOf(1, 3)});
        g.electiveResults(QStringLiteral("選択英語B"), b, {slotOf(1, 1), slotOf(1, 2), slotOf(1, 3)});
        g.electiveResults(QStringLiteral("選択美術"), art, {slotOf(1, 1)});

        const GradeHyouteiStore store = g.load();
        QCOMPARE(int(store.electives().size()), 4);
        QCOMPARE(store.electives()[0].displayName, QStringLiteral("英語A"));
        QCOMPARE(store.electives()[0].subjectSlot, 9);
        QCOMPARE(store.electives()[3].subjectSlot, 0);
        QCOMPARE(store.electives()[0].dateTime, 45400.25);
        QVERIFY(store.electives()[0].loaded);
        QVERIFY(!store.electives()[3].loaded);

        const int s1 = slotOf(1, 1), s2 = slotOf(1, 2), s3 = slotOf(1, 3);
        QCOMPARE(store.subjectElective(s1, 8), QStringLiteral("★重複"));
        QCOMPARE(store.subjectElective(s3, 8), QStringLiteral("★重複")); // listed twice in A, once in B
        QCOMPARE(store.subjectElective(s1, 5), QStringLiteral("美術"));
        QCOMPARE(store.subjectElective(slotOf(2, 1), 8), QString()); // "301": class 3 of two
        QCOMPARE(store.gridText(2, 1, 19), QStringLiteral("★重複"));
        QCOMPARE(store.gridText(2, 1, 20), QStringLiteral("5")); // 80 beats 60
        QCOMPARE(store.gridText(2, 2, 20), QStringLiteral("4")); // 70 = 70: 英語A stays
        QCOMPARE(store.best(s3, 8), 0);
        QCOMPARE(store.gridText(2, 3, 20), QString());
        QCOMPARE(store.gridText(2, 1, 14), QStringLiteral("4")); // 美術

        // Grid 3: the electives in list order; a student listed twice in one list has one column.
        QCOMPARE(store.gridText(3, 0, 3), QStringLiteral("教科名"));
        QCOMPARE(store.gridText(3, 0, 102), QStringLiteral("評定"));
        const QStringList row1 = {QStringLiteral("英語A"), QStringLiteral("3"),    QStringLiteral("英語B"),
                                  QStringLiteral("5"),     QStringLiteral("美術"), QStringLiteral("4")};
        for (int c = 0; c < row1.size(); ++c)
            QCOMPARE(store.gridText(3, 1, 3 + c), row1[c]);
        QCOMPARE(store.gridText(3, 3, 5), QStringLiteral("英語B"));
        QCOMPARE(store.gridText(3, 3, 7), QString());
        QCOMPARE(store.gridText(3, 61, 3), QStringLiteral("総合"));
        QCOMPARE(int(store.studentRecords(s1).size()), 3);
        QCOMPARE(int(store.studentRecords(s2).size()), 2);
        QCOMPARE(int(store.records().size()), 1 + 3 + 3 + 1);
        const GradeHyouteiStore::Record &best = store.records()[std::size_t(store.best(s1, 8))];
        QCOMPARE(best.elective, 2);
        QCOMPARE(best.subjectSlot, 9);
        QCOMPARE(best.marks[0], QStringLiteral("A"));

        // The elective columns of the copy: the best record's evaluation and marks.
        const QStringList cells = lines(store.copyText(true))[2].split(u'\t');
        QCOMPARE(cells.size(), 3 + 2 * 9 * 7 + 1);
        QCOMPARE(cells[3 + 9 * 7 + 8 * 7], QStringLiteral("5"));
        QCOMPARE(cells[3 + 9 * 7 + 8 * 7 + 1], QStringLiteral("A"));
        QCOMPARE(cells[3 + 9 * 7 + 5 * 7], QStringLiteral("4"));
        QCOMPARE(cells[3 + 9 * 7 + 0], QString());
    }

    // A too-new elective result file ends the elective loading; required subjects stay.
    void tooNewElectiveStops() {
        Grade g(1);
        g.electiveLines(
            {QStringLiteral("1年選択国語"), QStringLiteral("1年選択数学"), QStringLiteral("1年選択英語")});
        for (const QString &name :
             {QStringLiteral("選択国語"), QStringLiteral("選択数学"), QStringLiteral("選択英語")}) {
            g.members(name, {QStringLiteral("101")});
            EvaluationResults r;
            r.at(1, 1, 1) = result(QStringLiteral("4"), 70);
            g.electiveResults(name, r, {0});
        }
        Grade::makeTooNew(paths::electiveResultFile(g.folder, kYear, 1, QStringLiteral("選択数学")));
        EvaluationResults req;
        req.at(1, 1, 1) = result(QStringLiteral("5"), 90);
        g.required(QStringLiteral("国語"), 1, req);

        const GradeHyouteiStore store = g.load();
        QCOMPARE(int(store.electives().size()), 2);
        QVERIFY(store.electives()[0].loaded);
        QVERIFY(!store.electives()[1].loaded);
        QCOMPARE(store.gridText(3, 1, 5), QStringLiteral("数学")); // its members were placed
        QCOMPARE(store.gridText(3, 1, 7), QString());              // 選択英語 never loaded
        QCOMPARE(store.gridText(2, 1, 4), QStringLiteral("4"));    // 選択国語
        QCOMPARE(store.gridText(2, 1, 7), QStringLiteral("数学"));
        QCOMPARE(store.gridText(2, 1, 8), QString());
        QCOMPARE(store.gridText(1, 1, 3), QStringLiteral("5"));
        QCOMPARE(store.messages(), QStringList{tooNewVersionMessage()});
    }

    // Unsafe names are skipped and reported; the store's limits drop the excess with one message.
    void unsafeNamesAndLimits() {
        Grade g(1);
        QStringList lines = {QStringLiteral("1年選択..\\国語"), QStringLiteral("1年選択英語:")};
        for (int i = 1; i <= 53; ++i)
            lines.append(QStringLiteral("1年選択英語%1").arg(i));
        g.electiveLines(lines);
        for (int i = 1; i <= 53; ++i)
            g.members(QStringLiteral("選択英語%1").arg(i), {QStringLiteral("101")});
        EvaluationResults r;
        r.at(1, 1, 1) = result(QStringLiteral("3"), 50);
        g.electiveResults(QStringLiteral("選択英語51"), r, {0});

        const GradeHyouteiStore store = g.load();
        QCOMPARE(int(store.electives().size()), 51);
        QCOMPARE(store.electives().back().name, QStringLiteral("選択英語51"));
        QVERIFY(store.limitExceeded());
        QCOMPARE(int(store.electiveCells(0).size()), 50);
        QCOMPARE(int(store.studentRecords(0).size()), 1);
        QCOMPARE(store.messages().size(), 2);
        QVERIFY(store.messages()[0].contains(QStringLiteral("選択..\\国語")));
        QVERIFY(store.messages()[0].contains(QStringLiteral("選択英語:")));
        QVERIFY(store.messages()[1].startsWith(GradeHyouteiStore::limitMessage()));
    }

    // The two copies: header lines, bare class letters, empty slots, and no cut on a long text.
    void copies() {
        Grade g(12);
        std::vector<std::pair<int, QString>> names;
        for (int slot = 0; slot < kSlots; ++slot)
            names.push_back({slot, QString(200, QChar(u'漢'))});
        g.names(names);
        const QStringList subjects = {QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("数学")};
        for (const QString &subject : subjects)
            for (int cls = 1; cls <= 12; ++cls) {
                EvaluationResults r;
                for (int n = 1; n <= 60; ++n) {
                    r.at(1, cls, n) = result(QStringLiteral("3"), 50, QStringLiteral("B"));
                    r.at(1, cls, n).marks[5] = QStringLiteral("C");
                }
                g.required(subject, cls, r);
            }
        const GradeHyouteiStore store = g.load(1, false);
        const QString with = store.copyText(true);
        const QString without = store.copyText(false);
        QVERIFY(cp932::byteLength(with) > 327670);
        const QStringList w = lines(with), wo = lines(without);
        QCOMPARE(w.size(), 2 + 720);
        QCOMPARE(w[0], QStringLiteral("\t\t1学期\t1年\t"));
        QVERIFY(w[1].startsWith(QStringLiteral("組\t番\t氏名\t国語\t①\t②\t③\t④\t⑤\t⑥\t社会\t①")));
        QVERIFY(w[1].endsWith(QStringLiteral("\t選英\t①\t②\t③\t④\t⑤\t⑥\t")));
        QVERIFY(wo[1].startsWith(
            QStringLiteral("組\t番\t氏名\t国語\t社会\t数学\t理科\t音楽\t美術\t保体\t技家\t英語\t選国")));
        QVERIFY(w[2].startsWith(QStringLiteral("A\t1\t") + QString(200, QChar(u'漢')) +
                                QStringLiteral("\t3\tB\t\t\t\t\tC\t3\t")));
        QVERIFY(w.last().startsWith(QStringLiteral("L\t60\t")));
        QCOMPARE(w.last().count(u'\t'), 3 + 2 * 9 * 7);
        QCOMPARE(wo.last().count(u'\t'), 3 + 2 * 9);
        QVERIFY(wo[2].startsWith(QStringLiteral("A\t1\t") + QString(200, QChar(u'漢')) +
                                 QStringLiteral("\t3\t3\t3\t\t")));

        // No classes: the two header lines only; the grids have their header row.
        Grade none(0);
        const GradeHyouteiStore empty = none.load();
        QCOMPARE(lines(empty.copyText(false)).size(), 2);
        QCOMPARE(empty.gridRows(), 1);
    }
};

QTEST_GUILESS_MAIN(GradeHyouteiStoreTest)
#include "GradeHyouteiStoreTest.moc"
