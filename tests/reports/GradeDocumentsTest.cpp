#include "reports/GradeDocuments.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "config/Electives.h"
#include "config/TeacherFile.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/GradeHyouteiStore.h"
#include "reports/LayoutRecorder.h"
#include "support/TestDoubles.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <climits>
#include <map>

using namespace tavro;
using namespace tavro::reports;

namespace {

constexpr int kYear = 2024;
const QDateTime kNow(QDate(2024, 12, 20), QTime(16, 5));
const QDateTime kComputed(QDate(2024, 7, 19), QTime(10, 30));

// A junior-high grade written with the program's own writers.
struct Grade {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    std::vector<RosterEntry> roster = std::vector<RosterEntry>(kSlots);
    std::map<QString, std::map<int, EvaluationResults>> required; // subject, class
    QStringList electiveLines;

    Grade(int classCount, int houkou) {
        YearSettings y;
        y.classCount[0] = classCount;
        y.ichiranHoukou = houkou;
        y.hyouteiName[0] = QStringLiteral("1学期評定");
        y.save(folder, kYear);
    }
    void name(int cls, int n, const QString &name) { roster[std::size_t(slotOf(cls, n))].name = name; }
    StudentResult &result(const QString &subject, int cls, int n) {
        EvaluationResults &r = required[subject][cls];
        r.dateTime(1) = toDayCount(kComputed);
        return r.at(1, cls, n);
    }
    void elective(const QString &name, const std::map<int, QString> &evaluations) {
        electiveLines.append(QStringLiteral("1年") + name);
        QStringList members;
        std::vector<int> seats;
        EvaluationResults r;
        for (const auto &[slot, evaluation] : evaluations) {
            members.append(QString::number(slotCodeOf(slot)));
            seats.push_back(slot);
            if (!evaluation.isEmpty()) {
                r.at(1, slot).evaluation = evaluation;
                r.at(1, slot).percentage = 50;
                r.at(1, slot).marks[0] = QStringLiteral("A");
            }
        }
        QVERIFY(memberlist::write(folder, kYear, 1, name, members));
        QVERIFY(ElectiveResultFile::save(paths::electiveResultFile(folder, kYear, 1, name), r, seats));
    }
    std::unique_ptr<GradeHyouteiStore> load() {
        roster::write(paths::rosterFile(folder, kYear, 1), roster, true);
        for (const auto &[subject, classes] : required)
            for (const auto &[cls, r] : classes)
                ClassResultFile::save(paths::classResultFile(folder, kYear, 1, cls, subject), r, cls);
        electives::writeLines(folder, kYear, electiveLines);
        auto store = std::make_unique<GradeHyouteiStore>();
        store->load({folder, kYear, 1, 1, QStringLiteral("1学期評定"), 1, true});
        return store;
    }
};

// Two classes and a third of moved-away students only: marks, evaluations, the PE pair, one elective.
std::unique_ptr<GradeHyouteiStore> smallGrade(Grade &g) {
    g.name(1, 1, QStringLiteral("青木一郎"));
    g.name(1, 2, QStringLiteral("＊転出太郎"));
    g.name(1, 4, QStringLiteral("佐藤花子"));
    g.name(1, 5, QStringLiteral("ＡＢＣＤＥＦＧＨ")); // 16 bytes
    g.name(2, 1, QStringLiteral("田中次郎"));
    g.name(2, 2, QStringLiteral("＊"));
    g.name(3, 1, QStringLiteral("＊退学"));
    StudentResult &k = g.result(QStringLiteral("国語"), 1, 1);
    k.evaluation = QStringLiteral("5");
    k.percentage = 81;
    const char *marks[] = {"A", "B", "A", "B", "C"};
    for (int i = 0; i < 5; ++i)
        k.marks[std::size_t(i)] = QString::fromLatin1(marks[i]);
    k.viewpointPercentages[0] = 72.5f;
    g.result(QStringLiteral("国語"), 1, 4).evaluation = QStringLiteral("3");
    g.result(QStringLiteral("社会"), 1, 1).evaluation = QStringLiteral("4");
    g.result(QStringLiteral("保体B"), 1, 1).evaluation = QStringLiteral("3");
    StudentResult &girl = g.result(QStringLiteral("保体G"), 1, 4);
    girl.evaluation = QStringLiteral("4");
    girl.marks[0] = QStringLiteral("B");
    g.elective(QStringLiteral("選択英語"), {{slotOf(1, 1), QStringLiteral("5")}, {slotOf(1, 4), QString()}});
    for (int e = 1; e <= 11; ++e)
        g.elective(QStringLiteral("選択音楽%1").arg(e), {{slotOf(1, 4), QString::number(1 + e % 5)}});
    return g.load();
}

GradeDocumentData dataOf(const GradeHyouteiStore &store) {
    GradeDocumentData d;
    d.store = &store;
    d.classTeachers = GradeDocumentData::classTeachersOf(
        TeacherFile::fromLines(
            {QStringLiteral("N北村修(1-1)"), QStringLiteral("N東太郎(2-1)"), QStringLiteral("N南洋子(1-2)")}),
        1);
    return d;
}

QJsonObject print(GradeDocument document, const GradeDocumentData &data, const std::vector<int> &classes) {
    RecordingPrintTarget target;
    test::ScriptedPrompter prompter;
    const PrintOutcome out = printGradeDocument(document, data, classes, target, prompter, kNow);
    if (!out.printed)
        qWarning() << out.error;
    return target.layout();
}

QJsonArray pages(const QJsonObject &layout) {
    return layout[QStringLiteral("pages")].toArray();
}

std::vector<QJsonObject> textOps(const QJsonObject &layout, int page) {
    std::vector<QJsonObject> list;
    for (const QJsonValue &op : pages(layout)[page][QStringLiteral("ops")].toArray())
        if (op[QStringLiteral("op")].toString() == QLatin1String("text"))
            list.push_back(op.toObject());
    return list;
}

QStringList texts(const QJsonObject &layout, int page) {
    QStringList list;
    for (const QJsonObject &op : textOps(layout, page))
        list.append(op[QStringLiteral("text")].toString());
    return list;
}

int yOf(const QJsonObject &layout, int page, const QString &text) {
    for (const QJsonObject &op : textOps(layout, page))
        if (op[QStringLiteral("text")].toString() == text)
            return op[QStringLiteral("y")].toInt();
    return -1;
}

// The texts drawn on one line (the same y), left to right.
QStringList line(const QJsonObject &layout, int page, int y) {
    std::vector<QJsonObject> ops;
    for (const QJsonObject &op : textOps(layout, page))
        if (op[QStringLiteral("y")].toInt() == y && !op[QStringLiteral("vertical")].toBool() &&
            !op[QStringLiteral("text")].toString().isEmpty())
            ops.push_back(op);
    std::stable_sort(ops.begin(), ops.end(), [](const QJsonObject &a, const QJsonObject &b) {
        return a[QStringLiteral("x")].toInt() < b[QStringLiteral("x")].toInt();
    });
    QStringList list;
    for (const QJsonObject &op : ops)
        list.append(op[QStringLiteral("text")].toString());
    return list;
}

// Texts that run past the next vertical rule to their right (half an em a byte; rotated and vertical
// texts left out).
QStringList overflowing(const QJsonObject &layout, int page) {
    struct Rule {
        int x, top, bottom;
    };
    std::vector<Rule> rules;
    for (const QJsonValue &op : pages(layout)[page][QStringLiteral("ops")].toArray())
        if (op[QStringLiteral("op")].toString() == QLatin1String("line") &&
            op[QStringLiteral("x1")].toInt() == op[QStringLiteral("x2")].toInt())
            rules.push_back({op[QStringLiteral("x1")].toInt(),
                             std::min(op[QStringLiteral("y1")].toInt(), op[QStringLiteral("y2")].toInt()),
                             std::max(op[QStringLiteral("y1")].toInt(), op[QStringLiteral("y2")].toInt())});
        else if (op[QStringLiteral("op")].toString() == QLatin1String("rect"))
            for (const char *side : {"left", "right"})
                rules.push_back({op[QLatin1String(side)].toInt(), op[QStringLiteral("top")].toInt(),
                                 op[QStringLiteral("bottom")].toInt()});
    QStringList list;
    for (const QJsonObject &op : textOps(layout, page)) {
        if (op[QStringLiteral("vertical")].toBool() || op[QStringLiteral("escapement")].toInt() != 0)
            continue;
        const QString text = op[QStringLiteral("text")].toString();
        const int x = op[QStringLiteral("x")].toInt(), y = op[QStringLiteral("y")].toInt();
        const int right =
            x + int(cp932::byteLength(text) * op[QStringLiteral("pointSize")].toDouble() * 600 / 72 / 2);
        int next = INT_MAX;
        for (const Rule &r : rules)
            if (r.x > x && r.top <= y && y < r.bottom)
                next = std::min(next, r.x);
        if (right > next)
            list.append(text);
    }
    return list;
}

// A print target that counts the dialogs and hands out a canvas that may fail.
class CountingTarget final : public PrintTarget {
public:
    int opened = 0;
    int failAt = 0;
    bool cancel = false;
    Job job;
    Opened open(const Job &j) override {
        ++opened;
        job = j;
        Opened o;
        if (cancel) {
            o.cancelled = true;
            return o;
        }
        auto canvas = std::make_unique<test::RecordingCanvas>();
        canvas->failAt = failAt;
        o.canvas = std::move(canvas);
        return o;
    }
};

} // namespace

class GradeDocumentsTest : public QObject {
    Q_OBJECT

private slots:
    // The A3 list: one page per class with printable students, a student's marks, evaluations, the PE
    // pair, the elective, "未評定", the sum, the subject times and the class teacher; A3 with the
    // orientation of IchiranHoukou.
    void gradeList() {
        for (int houkou : {1, 0}) {
            Grade g(3, houkou);
            const auto store = smallGrade(g);
            const GradeDocumentData data = dataOf(*store);
            const QJsonObject layout = print(GradeDocument::Ichiran, data, {1, 2, 3});
            QCOMPARE(layout[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 資料A"));
            QCOMPARE(layout[QStringLiteral("paper")].toString(), QStringLiteral("A3"));
            QCOMPARE(layout[QStringLiteral("orientation")].toString(),
                     houkou == 0 ? QStringLiteral("landscape") : QStringLiteral("portrait"));
            QCOMPARE(pages(layout).size(), 2); // class 3 holds no printable student
            const QStringList first = texts(layout, 0);
            QVERIFY(first.contains(QStringLiteral("2024年度 1年1組 評定一覧表")));
            QVERIFY(first.contains(houkou == 0 ? QStringLiteral("印刷日時：2024/12/20 16:05:00")
                                               : QStringLiteral("印刷日時：12/20 16:05:00")));
            QVERIFY(first.contains(QStringLiteral("07/19 10:30"))); // 国語
            QVERIFY(first.contains(QStringLiteral("評定未算出")));  // 数学
            QVERIFY(first.contains(QStringLiteral("北村修")));
            QVERIFY(!first.contains(QStringLiteral("東太郎"))); // class 1 of grade 2
            QVERIFY(!first.contains(QStringLiteral("＊転出太郎")));
            QVERIFY(first.contains(QStringLiteral("ＡＢＣＤＥＦＧ"))); // cut at 14 bytes
            for (const QString &stamp :
                 {QStringLiteral("校　長"), QStringLiteral("教　頭"), QStringLiteral("教　務"),
                  QStringLiteral("副担任"), QStringLiteral("学級担任")})
                QVERIFY(first.contains(stamp));

            const int aoki = yOf(layout, 0, QStringLiteral("青木一郎"));
            QCOMPARE(line(layout, 0, aoki),
                     (QStringList{QStringLiteral("   1"), QStringLiteral("青木一郎"), QStringLiteral("A"),
                                  QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B"),
                                  QStringLiteral("C"), QStringLiteral("5"), QStringLiteral("4"),
                                  QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("12")}));
            // 社会 computed but empty; the first of the tied 音楽 electives; PE from the girls' file; the
            // 英語 elective without a result.
            const int sato = yOf(layout, 0, QStringLiteral("佐藤花子"));
            QCOMPARE(line(layout, 0, sato),
                     (QStringList{QStringLiteral("   4"), QStringLiteral("佐藤花子"), QStringLiteral("3"),
                                  QStringLiteral("未評定"), QStringLiteral("2"), QStringLiteral("B"),
                                  QStringLiteral("4"), QStringLiteral("未評定"), QStringLiteral(" 7")}));
            QVERIFY(aoki < sato);
            QVERIFY(texts(layout, 1).contains(QStringLiteral("2024年度 1年2組 評定一覧表")));
            QVERIFY(texts(layout, 1).contains(QStringLiteral("南洋子")));
        }
    }

    // A class longer than a page: 45 rows on landscape, 60 on portrait; the pages are numbered.
    void gradeListPageBreak() {
        for (int houkou : {0, 1}) {
            Grade g(1, houkou);
            for (int n = 1; n <= 50; ++n)
                g.name(1, n, QStringLiteral("生徒%1").arg(n));
            const auto store = g.load();
            const GradeDocumentData data = dataOf(*store);
            const QJsonObject layout = print(GradeDocument::Ichiran, data, {1});
            if (houkou == 0) {
                QCOMPARE(pages(layout).size(), 2);
                QVERIFY(texts(layout, 0).contains(QStringLiteral("2024年度 1年1組 評定一覧表 (1/2)")));
                QVERIFY(texts(layout, 0).contains(QStringLiteral("生徒45")));
                QVERIFY(!texts(layout, 0).contains(QStringLiteral("生徒46")));
                QVERIFY(texts(layout, 1).contains(QStringLiteral("生徒46")));
                QVERIFY(texts(layout, 1).contains(QStringLiteral("2024年度 1年1組 評定一覧表 (2/2)")));
            } else {
                QCOMPARE(pages(layout).size(), 1);
                QVERIFY(texts(layout, 0).contains(QStringLiteral("生徒50")));
            }
            QCOMPARE(gradeDocumentPages(GradeDocument::Ichiran, data, {1}), houkou == 0 ? 2 : 1);
        }
    }

    // Stickers ten a page, notices one a student, the elective insert in blocks of ten electives.
    void stickersAndNotices() {
        Grade g(3, 1);
        const auto store = smallGrade(g);
        const GradeDocumentData data = dataOf(*store);

        const QJsonObject seal = print(GradeDocument::Seal, data, {1, 2, 3});
        QCOMPARE(seal[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 資料B"));
        QCOMPARE(seal[QStringLiteral("paper")].toString(), QStringLiteral("A4"));
        QCOMPARE(pages(seal).size(), 1);
        const int heading = yOf(seal, 0, QStringLiteral("2024年度 1年1組 1番 青木一郎"));
        QVERIFY(heading >= 0);
        QVERIFY(texts(seal, 0).contains(QStringLiteral("2024年度 1年2組 1番 田中次郎")));
        QVERIFY(!texts(seal, 0).join(u'|').contains(QStringLiteral("＊")));
        const int kokugo = yOf(seal, 0, QStringLiteral("[A]"));
        QCOMPARE(line(seal, 0, kokugo).mid(0, 7),
                 (QStringList{QStringLiteral("国語"), QStringLiteral("[A]"), QStringLiteral("[B]"),
                              QStringLiteral("[A]"), QStringLiteral("[B]"), QStringLiteral("[C]"),
                              QStringLiteral("5")}));
        QVERIFY(kokugo > heading);

        // 11 students a page of ten: two pages.
        Grade big(1, 1);
        for (int n = 1; n <= 11; ++n)
            big.name(1, n, QStringLiteral("生徒%1").arg(n));
        const auto bigStore = big.load();
        QCOMPARE(pages(print(GradeDocument::Seal, dataOf(*bigStore), {1})).size(), 2);

        const QJsonObject notice = print(GradeDocument::Toutatsu, data, {1, 2});
        QCOMPARE(notice[QStringLiteral("orientation")].toString(), QStringLiteral("portrait"));
        QCOMPARE(pages(notice).size(), 4); // 青木, 佐藤, ＡＢＣ…, 田中
        QVERIFY(texts(notice, 0).contains(QStringLiteral("到達度通知票")));
        QVERIFY(texts(notice, 0).contains(QStringLiteral("2024年度 1年 1組 1番")));
        QVERIFY(texts(notice, 0).contains(QStringLiteral("青木一郎")));
        // Each viewpoint's mark with its percentage beneath; the achievement beside the subject.
        const int row = yOf(notice, 0, QStringLiteral("国語"));
        QCOMPARE(line(notice, 0, row), (QStringList{QStringLiteral("国語"), QStringLiteral(" 81.0")}));
        const int below = yOf(notice, 0, QStringLiteral("72.5%"));
        QVERIFY(below > row);
        QCOMPARE(line(notice, 0, below), QStringList{QStringLiteral("72.5%")});
        QCOMPARE(line(notice, 0, row - (below - row)),
                 (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A"),
                              QStringLiteral("B"), QStringLiteral("C")}));
        QVERIFY(texts(notice, 3).contains(QStringLiteral("田中次郎")));
        // The guardian's seal: one character a row, one under the other.
        std::vector<QJsonObject> seal4;
        for (const QJsonObject &op : textOps(notice, 0))
            if (QStringList{QStringLiteral("保"), QStringLiteral("護"), QStringLiteral("者"),
                            QStringLiteral("印")}
                    .contains(op[QStringLiteral("text")].toString()))
                seal4.push_back(op);
        QCOMPARE(int(seal4.size()), 4);
        for (std::size_t i = 1; i < seal4.size(); ++i) {
            QCOMPARE(seal4[i][QStringLiteral("x")].toInt(), seal4[0][QStringLiteral("x")].toInt());
            QVERIFY(seal4[i][QStringLiteral("y")].toInt() > seal4[i - 1][QStringLiteral("y")].toInt());
        }

        // The elective insert: students with electives; twelve records of 佐藤 need two blocks.
        const QJsonObject insert = print(GradeDocument::SentakuTsuchihyo, data, {1, 2});
        QCOMPARE(insert[QStringLiteral("title")].toString(), QStringLiteral("TAVRO for Windows 資料C"));
        QCOMPARE(insert[QStringLiteral("orientation")].toString(), QStringLiteral("landscape"));
        QCOMPARE(pages(insert).size(), 1);
        const QStringList all = texts(insert, 0);
        QCOMPARE(all.count(QStringLiteral("2024年度 1年1組 4番 佐藤花子")), 2);
        QCOMPARE(all.count(QStringLiteral("2024年度 1年1組 1番 青木一郎")), 1);
        QVERIFY(!all.contains(QStringLiteral("2024年度 1年2組 1番 田中次郎")));
        QVERIFY(all.contains(QStringLiteral("音楽11")));
        const int english = yOf(insert, 0, QStringLiteral("英語"));
        // 青木's record, and beside it 佐藤's first block starting with 英語 without a result.
        QCOMPARE(line(insert, 0, english), (QStringList{QStringLiteral("英語"), QStringLiteral("A"),
                                                        QStringLiteral("5"), QStringLiteral("英語")}));
    }

    // No class: the message and no dialog; no printable student: no dialog; cancel; a failing device.
    void printRules() {
        Grade g(3, 1);
        const auto store = smallGrade(g);
        const GradeDocumentData data = dataOf(*store);
        for (GradeDocument document : {GradeDocument::Ichiran, GradeDocument::Seal,
                                       GradeDocument::SentakuTsuchihyo, GradeDocument::Toutatsu}) {
            CountingTarget target;
            test::ScriptedPrompter prompter;
            PrintOutcome out = printGradeDocument(document, data, {}, target, prompter, kNow);
            QCOMPARE(prompter.texts(), QStringList{QStringLiteral("学級を選択してください。")});
            QCOMPARE(prompter.shown().first().caption, QStringLiteral("Tavro"));
            QVERIFY(!out.printed);
            out = printGradeDocument(document, data, {3}, target, prompter, kNow);
            QVERIFY(!out.printed);
            QCOMPARE(target.opened, 0);

            target.cancel = true;
            out = printGradeDocument(document, data, {1, 2}, target, prompter, kNow);
            QVERIFY(out.cancelled);
            QVERIFY(out.error.isEmpty());
            QCOMPARE(target.job.paper,
                     document == GradeDocument::Ichiran ? PrintTarget::Paper::A3 : PrintTarget::Paper::A4);
            QCOMPARE(target.job.toPage, gradeDocumentPages(document, data, {1, 2}));

            target.cancel = false;
            target.failAt = gradeDocumentPages(document, data, {1, 2}) > 1 ? 1 : -1;
            out = printGradeDocument(document, data, {1, 2}, target, prompter, kNow);
            QVERIFY(!out.printed);
            QVERIFY(out.error.startsWith(QStringLiteral("印刷できませんでした。\r\n")));
        }
    }

    // Every text and line of every document lies within the printable area and its frames, in both list
    // orientations, with six viewpoint marks in eight subjects.
    void everythingOnThePaper() {
        for (int houkou : {0, 1}) {
            Grade g(2, houkou);
            for (int cls = 1; cls <= 2; ++cls)
                for (int n = 1; n <= 60; ++n) {
                    g.name(cls, n, QStringLiteral("長谷川左衛門次"));
                    // Six viewpoints in every subject but 社会: the narrowest columns.
                    for (const QString &subject :
                         {QStringLiteral("国語"), QStringLiteral("数学"), QStringLiteral("理科"),
                          QStringLiteral("英語"), QStringLiteral("音楽"), QStringLiteral("美術"),
                          n % 2 ? QStringLiteral("保体B") : QStringLiteral("保体G"),
                          QStringLiteral("技家")}) {
                        StudentResult &r = g.result(subject, cls, n);
                        r.evaluation = QStringLiteral("5");
                        r.percentage = 100;
                        for (int v = 0; v < 6; ++v) {
                            r.marks[std::size_t(v)] = QStringLiteral("A");
                            r.viewpointPercentages[std::size_t(v)] = 100;
                        }
                    }
                    g.result(QStringLiteral("社会"), cls, n); // computed, not evaluated: "未評定"
                }
            std::map<int, QString> members;
            for (int n = 1; n <= 12; ++n)
                members[slotOf(1, n)] = QStringLiteral("5");
            for (int e = 1; e <= 3; ++e)
                g.elective(QStringLiteral("選択英語コミュニケーション%1").arg(e), members);
            g.elective(QStringLiteral("選択理科"), {{slotOf(2, 1), QString()}}); // no result: "未評定"
            const auto store = g.load();
            const GradeDocumentData data = dataOf(*store);
            for (GradeDocument document : {GradeDocument::Ichiran, GradeDocument::Seal,
                                           GradeDocument::SentakuTsuchihyo, GradeDocument::Toutatsu}) {
                const QJsonObject layout = print(document, data, {1, 2});
                const bool landscape =
                    layout[QStringLiteral("orientation")].toString() == QLatin1String("landscape");
                const bool a3 = layout[QStringLiteral("paper")].toString() == QLatin1String("A3");
                const int shortSide = int((a3 ? 297 : 210) * 600 / 25.4);
                const int longSide = int((a3 ? 420 : 297) * 600 / 25.4);
                // A printer's origin is its printable area: with quarter-inch margins the drawing shifts by
                // one margin and must end before the other.
                const int width = (landscape ? longSide : shortSide) - 300;
                const int height = (landscape ? shortSide : longSide) - 300;
                QVERIFY(!pages(layout).isEmpty());
                for (int p = 0; p < pages(layout).size(); ++p) {
                    const QStringList over = overflowing(layout, p);
                    QVERIFY2(over.isEmpty(), qPrintable(layout[QStringLiteral("title")].toString() + u' ' +
                                                        over.mid(0, 8).join(QStringLiteral(" | "))));
                }
                for (const QJsonValue &p : pages(layout))
                    for (const QJsonValue &op : p[QStringLiteral("ops")].toArray()) {
                        const QString kind = op[QStringLiteral("op")].toString();
                        if (kind == QLatin1String("text")) {
                            const QString text = op[QStringLiteral("text")].toString();
                            const double size = op[QStringLiteral("pointSize")].toDouble() * 600 / 72;
                            const int x = op[QStringLiteral("x")].toInt(),
                                      y = op[QStringLiteral("y")].toInt();
                            const int w = int(cp932::byteLength(text) * size / 2);
                            QVERIFY2(x >= 0 && y >= 0 && x + w <= width && y + size <= height,
                                     qPrintable(QStringLiteral("%1 at %2,%3").arg(text).arg(x).arg(y)));
                        } else if (kind == QLatin1String("rect")) {
                            QVERIFY(op[QStringLiteral("left")].toInt() >= 0 &&
                                    op[QStringLiteral("top")].toInt() >= 0);
                            QVERIFY(op[QStringLiteral("right")].toInt() <= width &&
                                    op[QStringLiteral("bottom")].toInt() <= height);
                        } else if (kind == QLatin1String("line")) {
                            for (const char *k : {"x1", "x2"})
                                QVERIFY(op[QLatin1String(k)].toInt() >= 0 &&
                                        op[QLatin1String(k)].toInt() <= width);
                            for (const char *k : {"y1", "y2"})
                                QVERIFY(op[QLatin1String(k)].toInt() >= 0 &&
                                        op[QLatin1String(k)].toInt() <= height);
                        }
                    }
            }
        }
    }

    // Names cut on whole characters; the calculation time and the printable rule.
    void namesAndTimes() {
        QCOMPARE(cutName(QStringLiteral("ＡＢＣＤＥＦＧＨ"), 14), QStringLiteral("ＡＢＣＤＥＦＧ"));
        QCOMPARE(cutName(QStringLiteral("aＡＢＣＤＥＦＧ"), 14), QStringLiteral("aＡＢＣＤＥＦ"));
        QCOMPARE(cutName(QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ"), 14), QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾ"));
        QCOMPARE(computedAt(0), QStringLiteral("評定未算出"));
        QCOMPARE(computedAt(toDayCount(kComputed)), QStringLiteral("2024/07/19 10:30:00"));
        QVERIFY(printableStudent(QStringLiteral("山田")));
        QVERIFY(printableStudent(QStringLiteral("*山田")));
        QVERIFY(!printableStudent(QStringLiteral("＊山田")));
        QVERIFY(!printableStudent(QString()));
    }
};

QTEST_MAIN(GradeDocumentsTest)
#include "GradeDocumentsTest.moc"
