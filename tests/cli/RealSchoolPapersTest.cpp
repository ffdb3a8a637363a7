// The papers and copies of a school shaped like a real one (`tavro-cli demo --real`): one PE half and
// one of 技家I / 技家H per student, subjects with 3, 5 and 6 viewpoints, period names that differ only
// after their third character, lettered classes.
#include "app/DemoSchool.h"
#include "common/Cp932.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/GradeHyouteiStore.h"
#include "support/CliRun.h"
#include "testscores/TestAggregation.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <map>

using namespace tavro;
using tavro::test::cli;

namespace {

constexpr int kYear = 2024;
constexpr int kDpi = 300;

struct Cell {
    QString score, full, achievement;
};
// 保体 and 技家 of every student of class A by number.
struct PairCells {
    std::map<int, Cell> pe, gika;
};

QJsonArray opsOf(const QJsonObject &layout, int page) {
    QJsonArray texts;
    for (const QJsonValue &op : layout[QStringLiteral("pages")][page][QStringLiteral("ops")].toArray())
        if (op[QStringLiteral("op")].toString() == QLatin1String("text") &&
            !op[QStringLiteral("text")].toString().isEmpty())
            texts.append(op);
    return texts;
}

// The horizontal texts on one line (the same y) from x on, left to right.
QStringList lineOf(const QJsonArray &ops, int y, int fromX = 0, int toX = INT_MAX) {
    std::vector<QJsonObject> on;
    for (const QJsonValue &op : ops)
        if (op[QStringLiteral("y")].toInt() == y && op[QStringLiteral("x")].toInt() >= fromX &&
            op[QStringLiteral("x")].toInt() < toX && !op[QStringLiteral("vertical")].toBool())
            on.push_back(op.toObject());
    std::stable_sort(on.begin(), on.end(), [](const QJsonObject &a, const QJsonObject &b) {
        return a[QStringLiteral("x")].toInt() < b[QStringLiteral("x")].toInt();
    });
    QStringList list;
    for (const QJsonObject &op : on)
        list.append(op[QStringLiteral("text")].toString());
    return list;
}

QJsonObject opWith(const QJsonArray &ops, const std::function<bool(const QJsonObject &)> &match) {
    for (const QJsonValue &op : ops)
        if (match(op.toObject()))
            return op.toObject();
    return {};
}

bool containsRun(const QStringList &line, const QStringList &run) {
    for (int i = 0; i + run.size() <= line.size(); ++i)
        if (line.mid(i, run.size()) == run)
            return true;
    return false;
}

// Right end of a text as the recorder measures it without a device: half an em a byte.
int rightEnd(const QJsonValue &op) {
    return op[QStringLiteral("x")].toInt() + int(cp932::byteLength(op[QStringLiteral("text")].toString()) *
                                                 op[QStringLiteral("pointSize")].toDouble() * kDpi / 144.0);
}

} // namespace

class RealSchoolPapersTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_real, m_regular;

    QStringList common(const QString &folder, const QStringList &more) const {
        return QStringList{QStringLiteral("--data"),  folder,
                           QStringLiteral("--year"),  QString::number(kYear),
                           QStringLiteral("--grade"), QStringLiteral("1")} +
               more;
    }
    QJsonObject print(const QString &document, const QStringList &more, int *status = nullptr,
                      QString *err = nullptr) const {
        const test::CliRun r =
            cli(QStringList{QStringLiteral("print"), document} +
                common(m_real, more + QStringList{QStringLiteral("--pdf"),
                                                  m_dir.filePath(document + QStringLiteral(".pdf")),
                                                  QStringLiteral("--layout"), QStringLiteral("-"),
                                                  QStringLiteral("--dpi"), QString::number(kDpi)}));
        if (status)
            *status = r.status;
        if (err)
            *err = r.err;
        return QJsonDocument::fromJson(r.bytes).object();
    }

    // The "観点あり" copy: four lines a student, 保体 and 技家 blocks found by their heading.
    PairCells fromCopy() const {
        PairCells cells;
        const test::CliRun r = cli(QStringList{QStringLiteral("clip"), QStringLiteral("test-viewpoints")} +
                                   common(m_real, {QStringLiteral("--test"), QStringLiteral("A")}));
        const QStringList lines = r.out.split(QStringLiteral("\r\n"));
        const QStringList header = lines.value(0).split(u'\t');
        const int pe = int(header.indexOf(QStringLiteral("保体")));
        const int gika = int(header.indexOf(QStringLiteral("技家")));
        static const QRegularExpression label(QStringLiteral("^1年A組(\\d+)番満点$"));
        for (int i = 3; i + 2 < lines.size(); ++i) {
            const QStringList full = lines[i].split(u'\t');
            const QRegularExpressionMatch m = label.match(full.value(0));
            if (!m.hasMatch())
                continue;
            const QStringList score = lines[i - 1].split(u'\t'), achieved = lines[i + 1].split(u'\t');
            const int n = m.captured(1).toInt();
            cells.pe[n] = {score.value(pe), full.value(pe), achieved.value(pe)};
            cells.gika[n] = {score.value(gika), full.value(gika), achieved.value(gika)};
        }
        return cells;
    }

    // The viewpoint notices of class A: per notice the 得点, 満点 and 到達 lines; every field of the
    // first two prints, so the blocks are counted from the left.
    PairCells fromNotices() const {
        PairCells cells;
        const QJsonObject layout =
            print(QStringLiteral("notices-viewpoints"), {QStringLiteral("--test"), QStringLiteral("A"),
                                                         QStringLiteral("--classes"), QStringLiteral("1")});
        static const QRegularExpression label(QStringLiteral("^1年 A組 (\\d+)番$"));
        const int pages = int(layout[QStringLiteral("pages")].toArray().size());
        for (int p = 0; p < pages; ++p) {
            const QJsonArray ops = opsOf(layout, p);
            for (const QJsonValue &op : ops) {
                const QRegularExpressionMatch m = label.match(op[QStringLiteral("text")].toString());
                if (!m.hasMatch())
                    continue;
                const int y = op[QStringLiteral("y")].toInt();
                auto labelY = [&](const QString &text) {
                    int best = INT_MAX;
                    for (const QJsonValue &o : ops)
                        if (o[QStringLiteral("text")].toString() == text &&
                            o[QStringLiteral("y")].toInt() > y)
                            best = std::min(best, o[QStringLiteral("y")].toInt());
                    return best;
                };
                // The values follow the line's label (the 得点 line begins with the name).
                auto values = [&](const QString &label) {
                    const QStringList line = lineOf(ops, labelY(label));
                    return line.mid(line.indexOf(label) + 1);
                };
                const QStringList score = values(QStringLiteral("得点"));
                const QStringList full = values(QStringLiteral("満点"));
                // Eight blocks of the total and the viewpoints, and the one-cell five-subject total.
                const int block = int(full.size() - 1) / 8;
                const int pe = 5 * block + 1 + block, gika = pe + block;
                const int n = m.captured(1).toInt();
                cells.pe[n] = {score.value(pe), full.value(pe), {}};
                cells.gika[n] = {score.value(gika), full.value(gika), {}};
            }
        }
        return cells;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_real = m_dir.filePath(QStringLiteral("real"));
        m_regular = m_dir.filePath(QStringLiteral("regular"));
        QCOMPARE(cli({QStringLiteral("demo"), m_real, QStringLiteral("--real"), QStringLiteral("--year"),
                      QString::number(kYear)})
                     .status,
                 0);
        QCOMPARE(
            cli({QStringLiteral("demo"), m_regular, QStringLiteral("--year"), QString::number(kYear)}).status,
            0);
    }

    // 保体 and 技家 of the viewpoint copy and the viewpoint notices: the half the student has, with its
    // own full score (保体B 100, 保体G 80, 技家I 50, 技家H 60) and its achievement, as the grid shows it.
    void pairsFromTheHalfPresent() {
        TestAggregation::Context context;
        context.nendo = kYear;
        context.grade = 1;
        context.testCode = QStringLiteral("A");
        TestAggregation a = TestAggregation::load(m_real + u'/', context);
        a.compute();
        const std::vector<std::pair<const char *, std::function<PairCells()>>> documents = {
            {"観点あり", [this] { return fromCopy(); }},
            {"観点別到達度(8教科)", [this] { return fromNotices(); }}};
        for (const auto &[name, read] : documents) {
            const PairCells cells = read();
            QVERIFY2(cells.pe.size() >= 30, name);
            int achieved = 0;
            for (const auto &[n, pe] : cells.pe) {
                const bool boy = n % 2 == 1;
                const int half = a.record(boy ? shukei::kHotaiB : shukei::kHotaiG, 1, n)[0];
                QCOMPARE(a.record(boy ? shukei::kHotaiG : shukei::kHotaiB, 1, n)[0], testscore::kBlank);
                QCOMPARE(pe.full, boy ? QStringLiteral("100") : QStringLiteral("80"));
                QCOMPARE(pe.score, half >= 0 ? QString::number(half) : QStringLiteral("*"));
                if (half >= 0)
                    QCOMPARE(a.gridText(n, 19), QString::number(half)); // class A: grid row n
                const Cell &gika = cells.gika.at(n);
                const int gikaHalf = a.record(n % 3 == 0 ? shukei::kGikaH : shukei::kGikaI, 1, n)[0];
                QCOMPARE(gika.full, n % 3 == 0 ? QStringLiteral("60") : QStringLiteral("50"));
                QCOMPARE(gika.score, gikaHalf >= 0 ? QString::number(gikaHalf) : QStringLiteral("*"));
                if (QLatin1String(name) == QLatin1String("観点あり") && half >= 0) {
                    QCOMPARE(pe.achievement,
                             QString::number(qint64(std::nearbyint(half * 100.0 / (boy ? 100 : 80)))));
                    ++achieved;
                }
            }
            if (QLatin1String(name) == QLatin1String("観点あり"))
                QVERIFY(achieved >= 25);
        }
    }

    // The grade-wide papers print every viewpoint mark of a subject: six for 数学, five for 英語,
    // three for the others, as the definitions and the results say; the interim notice prints each
    // mark with its percentage beneath. Everything stays on the paper.
    void everyViewpointMark() {
        GradeHyouteiStore::Inputs in;
        in.dataFolder = m_real + u'/';
        in.nendo = kYear;
        in.grade = 1;
        in.period = 1;
        in.schoolKind = 1;
        in.classType = false;
        auto store = std::make_unique<GradeHyouteiStore>();
        store->load(in);
        const int slot = slotOf(1, 1);
        const QString name = store->name(slot);
        QVERIFY(!name.isEmpty());
        const int math = 2, english = 8; // display subjects
        auto marksOf = [&](int d, int count, const QString &open, const QString &close) {
            QStringList marks;
            for (int k = 0; k < count; ++k)
                marks.append(open + store->displayRequired(d, slot).marks[std::size_t(k)] + close);
            return marks;
        };
        for (int d : {math, english})
            for (int k = 0; k < (d == math ? 6 : 5); ++k)
                QVERIFY(!store->displayRequired(d, slot).marks[std::size_t(k)].isEmpty());

        struct Paper {
            const char *document;
            int circledSix; // "⑥" headings on the first page
            std::function<void(const QJsonArray &)> check;
        };
        const std::vector<Paper> papers = {
            {"ichiran", 1,
             [&](const QJsonArray &ops) {
                 const QJsonObject student = opWith(ops, [&](const QJsonObject &op) {
                     return op[QStringLiteral("text")].toString() == name;
                 });
                 const QStringList line = lineOf(ops, student[QStringLiteral("y")].toInt());
                 for (int d : {math, english})
                     QVERIFY2(containsRun(line, marksOf(d, d == math ? 6 : 5, {}, {}) +
                                                    QStringList{store->displayRequired(d, slot).evaluation}),
                              qPrintable(line.join(u' ')));
             }},
            {"seal", 0,
             [&](const QJsonArray &ops) {
                 const QJsonObject heading = opWith(ops, [&](const QJsonObject &op) {
                     return op[QStringLiteral("text")].toString().endsWith(QStringLiteral("1番 ") + name);
                 });
                 const int x = heading[QStringLiteral("x")].toInt(), y = heading[QStringLiteral("y")].toInt();
                 for (int d : {math, english}) {
                     const QJsonObject subject = opWith(ops, [&](const QJsonObject &op) {
                         return op[QStringLiteral("text")].toString() == store->displaySubjects()[d] &&
                                op[QStringLiteral("x")].toInt() == x && op[QStringLiteral("y")].toInt() > y;
                     });
                     // The sticker beside starts a half page to the right.
                     const QStringList line = lineOf(ops, subject[QStringLiteral("y")].toInt(), x, x + 1050);
                     QCOMPARE(line,
                              QStringList{store->displaySubjects()[d]} +
                                  marksOf(d, d == math ? 6 : 5, QStringLiteral("["), QStringLiteral("]")) +
                                  QStringList{store->displayRequired(d, slot).evaluation});
                 }
             }},
            {"toutatsu", 1,
             [&](const QJsonArray &ops) {
                 for (int d : {math, english}) {
                     const QJsonObject subject = opWith(ops, [&](const QJsonObject &op) {
                         return op[QStringLiteral("text")].toString() == store->displaySubjects()[d];
                     });
                     const int x = subject[QStringLiteral("x")].toInt() + 1,
                               y = subject[QStringLiteral("y")].toInt();
                     // Marks above the subject's middle line, percentages below it, 到達度 on it.
                     QStringList marks, percents;
                     for (const QJsonValue &op : ops) {
                         const int oy = op[QStringLiteral("y")].toInt();
                         if (op[QStringLiteral("x")].toInt() < x || oy == y || std::abs(oy - y) > 40)
                             continue;
                         (oy < y ? marks : percents).append(op[QStringLiteral("text")].toString());
                     }
                     QCOMPARE(marks, marksOf(d, d == math ? 6 : 5, {}, {}));
                     QStringList expected;
                     for (int k = 0; k < (d == math ? 6 : 5); ++k)
                         expected.append(
                             QString::asprintf("%.1f", double(store->displayRequired(d, slot)
                                                                  .viewpointPercentages[std::size_t(k)])) +
                             u'%');
                     QCOMPARE(percents, expected);
                     QCOMPARE(lineOf(ops, y, x).value(0),
                              QString::asprintf("%5.1f", double(store->displayRequired(d, slot).percentage)));
                 }
             }},
        };
        for (const Paper &paper : papers) {
            int status = -1;
            const QJsonObject layout = print(QString::fromLatin1(paper.document),
                                             {QStringLiteral("--period"), QStringLiteral("1"),
                                              QStringLiteral("--classes"), QStringLiteral("1")},
                                             &status);
            QCOMPARE(status, 0);
            const QJsonArray ops = opsOf(layout, 0);
            int six = 0;
            for (const QJsonValue &op : ops)
                six += op[QStringLiteral("text")].toString() == QStringLiteral("⑥");
            QCOMPARE(six, paper.circledSix);
            paper.check(ops);
            const bool a3 = layout[QStringLiteral("paper")].toString() == QLatin1String("A3");
            const bool landscape =
                layout[QStringLiteral("orientation")].toString() == QLatin1String("landscape");
            const int shortSide = int((a3 ? 297 : 210) * kDpi / 25.4) - kDpi / 2;
            const int longSide = int((a3 ? 420 : 297) * kDpi / 25.4) - kDpi / 2;
            for (const QJsonValue &op : ops)
                QVERIFY2(op[QStringLiteral("x")].toInt() >= 0 &&
                             rightEnd(op) <= (landscape ? longSide : shortSide) &&
                             op[QStringLiteral("y")].toInt() >= 0 &&
                             op[QStringLiteral("y")].toInt() <= (landscape ? shortSide : longSide),
                         qPrintable(QString::fromLatin1(paper.document) + u' ' +
                                    op[QStringLiteral("text")].toString()));
        }
    }

    // 資料E: the whole name of every period over its column (one line, or two that make the name), and
    // only for the year-end period; another period is refused with status 1.
    void documentEYearEndWithWholeNames() {
        struct Case {
            QString folder;
            int period;
            int status;
        };
        const std::vector<Case> cases = {
            {m_real, 5, 0}, {m_real, 1, 1}, {m_regular, 4, 0}, {m_regular, 1, 1}};
        for (const Case &c : cases) {
            QString teacher;
            for (const QString &t : DemoSchool::teacherNames())
                if (QFile::exists(paths::worksheetFile(c.folder + u'/', t, kYear, 1, QStringLiteral("国語"))))
                    teacher = t;
            const QString pdf = m_dir.filePath(QStringLiteral("e.pdf"));
            QFile::remove(pdf);
            const test::CliRun r = cli(
                QStringList{QStringLiteral("print"), QStringLiteral("shiryou-e")} +
                common(c.folder, {QStringLiteral("--subject"), QStringLiteral("国語"),
                                  QStringLiteral("--teacher"), teacher, QStringLiteral("--period"),
                                  QString::number(c.period), QStringLiteral("--classes"), QStringLiteral("1"),
                                  QStringLiteral("--pdf"), pdf, QStringLiteral("--layout"),
                                  QStringLiteral("-"), QStringLiteral("--dpi"), QString::number(kDpi)}));
            QCOMPARE(r.status, c.status);
            if (c.status != 0) {
                QVERIFY(r.err.contains(QStringLiteral("資料Eは学年末の評定でのみ印刷できます。")));
                QVERIFY(!QFile::exists(pdf));
                continue;
            }
            const QJsonArray ops = opsOf(QJsonDocument::fromJson(r.bytes).object(), 0);
            const YearSettings settings = YearSettings::load(c.folder + u'/', kYear);
            const int column = 70 * kDpi / 360; // the submission grid, two columns a period
            int found = 0;
            for (const QString &period : settings.hyouteiName) {
                if (period.isEmpty())
                    continue;
                // One op with the name, or two at the same x, one under the other, that make it.
                bool whole = false;
                for (const QJsonValue &first : ops) {
                    const QString t = first[QStringLiteral("text")].toString();
                    if (!period.startsWith(t))
                        continue;
                    const int x = first[QStringLiteral("x")].toInt();
                    QJsonValue second;
                    if (t != period)
                        for (const QJsonValue &op : ops)
                            if (op[QStringLiteral("x")].toInt() == x &&
                                op[QStringLiteral("y")].toInt() > first[QStringLiteral("y")].toInt() &&
                                op[QStringLiteral("y")].toInt() <
                                    first[QStringLiteral("y")].toInt() + column &&
                                t + op[QStringLiteral("text")].toString() == period)
                                second = op;
                    if (t != period && second.isUndefined())
                        continue;
                    for (const QJsonValue &op : {first, second})
                        if (!op.isUndefined())
                            QVERIFY2(rightEnd(op) <= x + 2 * column, qPrintable(period));
                    whole = true;
                }
                QVERIFY2(whole, qPrintable(period));
                ++found;
            }
            QCOMPARE(found, c.folder == m_real ? 5 : 4);
        }
    }
};

QTEST_GUILESS_MAIN(RealSchoolPapersTest)
#include "RealSchoolPapersTest.moc"
