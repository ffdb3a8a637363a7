#include "app/DemoSchool.h"

#include "app/Password.h"
#include "app/Startup.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/IniFile.h"
#include "config/KantenFile.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/WorksheetFile.h"
#include "testscores/TestPaths.h"
#include "testscores/TestScoreFile.h"

#include <QFileInfo>

namespace tavro {

namespace {

struct Name {
    const char *kanji;
    const char *kana;
};

const Name kSurnames[] = {
    {"青木", "あおき"},   {"石川", "いしかわ"}, {"上田", "うえだ"},   {"遠藤", "えんどう"},
    {"大西", "おおにし"}, {"岡本", "おかもと"}, {"加藤", "かとう"},   {"川口", "かわぐち"},
    {"木村", "きむら"},   {"工藤", "くどう"},   {"小島", "こじま"},   {"佐々木", "ささき"},
    {"清水", "しみず"},   {"杉山", "すぎやま"}, {"関口", "せきぐち"}, {"高橋", "たかはし"},
    {"田中", "たなか"},   {"千葉", "ちば"},     {"土屋", "つちや"},   {"中村", "なかむら"},
    {"西田", "にしだ"},   {"野口", "のぐち"},   {"橋本", "はしもと"}, {"平野", "ひらの"},
    {"福田", "ふくだ"},   {"本田", "ほんだ"},   {"松本", "まつもと"}, {"三浦", "みうら"},
    {"村上", "むらかみ"}, {"森", "もり"},       {"山口", "やまぐち"}, {"横山", "よこやま"},
    {"吉田", "よしだ"},   {"渡辺", "わたなべ"}, {"髙木", "たかぎ"},   {"斎藤", "さいとう"},
    {"原田", "はらだ"},   {"藤井", "ふじい"},   {"宮本", "みやもと"}, {"小林", "こばやし"},
};

const Name kGivenNames[] = {
    {"陽翔", "はると"}, {"蓮", "れん"},     {"湊", "みなと"},     {"悠真", "ゆうま"}, {"大和", "やまと"},
    {"蒼", "あおい"},   {"樹", "いつき"},   {"颯太", "そうた"},   {"健太", "けんた"}, {"翔", "しょう"},
    {"拓海", "たくみ"}, {"直樹", "なおき"}, {"亮", "りょう"},     {"誠", "まこと"},   {"航", "わたる"},
    {"結衣", "ゆい"},   {"陽菜", "ひな"},   {"さくら", "さくら"}, {"美咲", "みさき"}, {"葵", "あおい"},
    {"凛", "りん"},     {"花子", "はなこ"}, {"彩花", "あやか"},   {"真央", "まお"},   {"七海", "ななみ"},
    {"千尋", "ちひろ"}, {"莉子", "りこ"},   {"優奈", "ゆうな"},   {"楓", "かえで"},   {"芽衣", "めい"},
    {"琴音", "ことね"}, {"美月", "みづき"},
};

const Name kTeacherGiven[] = {{"一郎", ""}, {"和子", ""}, {"健二", ""}, {"由美", ""}, {"正人", ""},
                              {"恵子", ""}, {"修", ""},   {"明美", ""}, {"隆", ""},   {"典子", ""},
                              {"浩", ""},   {"京子", ""}, {"進", ""},   {"洋子", ""}};

const char *const kTeacherSurnames[] = {"青山", "井上", "内田", "江口", "小川", "金子", "北村",
                                        "久保", "近藤", "坂本", "島田", "菅原", "瀬川", "田村"};

// A small deterministic generator, so the demo is the same on every machine.
class Random {
public:
    explicit Random(quint32 seed) : m_state(seed * 2654435761u + 12345u) {}
    int next(int bound) {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 8) % static_cast<quint32>(bound));
    }

private:
    quint32 m_state;
};

QString s(const char *utf8) {
    return QString::fromUtf8(utf8);
}

constexpr int kGrades = 3;
constexpr int kClassesPerGrade = 3;

QStringList teachers() {
    QStringList list;
    for (int i = 0; i < 14; ++i)
        list.append(s(kTeacherSurnames[i]) + s(kTeacherGiven[i].kanji));
    return list;
}

std::vector<RosterEntry> demoRoster(int nendo, int grade) {
    std::vector<RosterEntry> entries(kClassesPerGrade * kSeatsPerClass);
    const int surnameCount = static_cast<int>(std::size(kSurnames));
    const int givenCount = static_cast<int>(std::size(kGivenNames));
    for (int cls = 1; cls <= kClassesPerGrade; ++cls) {
        Random rnd(static_cast<quint32>(nendo * 100 + grade * 10 + cls));
        const int students = 30 + rnd.next(7);  // 30..36
        const int emptySeat = 5 + rnd.next(20); // one seat left empty inside the class
        const int movedAway = 2 + rnd.next(students - 2);
        int seat = 0;
        for (int k = 0; k < students; ++k, ++seat) {
            if (seat == emptySeat)
                ++seat;
            const Name &sur = kSurnames[rnd.next(surnameCount)];
            const Name &given = kGivenNames[rnd.next(givenCount)];
            RosterEntry &e = entries[(cls - 1) * kSeatsPerClass + seat];
            e.name = s(sur.kanji) + QStringLiteral("　") + s(given.kanji);
            e.furigana = s(sur.kana) + QStringLiteral("　") + s(given.kana);
            if (k == movedAway)
                e.name = QStringLiteral("＊") + e.name;
        }
    }
    return entries;
}

using Shape = DemoSchool::Shape;

void fillSettings(YearSettings &y, Shape shape) {
    const char *const tests[] = {"1学期中間テスト", "1学期期末テスト", "2学期中間テスト", "2学期期末テスト",
                                 "学年末テスト"};
    for (int n = 0; n < 5; ++n)
        y.testName[n] = s(tests[n]);
    for (int n = 0; n < 9; ++n)
        y.gakuNameName[n] = n < 3 ? QStringLiteral("第%1回学力テスト").arg(n + 1) : QString();
    const char *const kinds[] = {"1学期評定", "2学期評定", "3学期評定", "学年末評定", ""};
    const char *const realKinds[] = {"1学期中間評定", "1学期期末評定", "2学期中間評定", "2学期期末評定",
                                     "学年末評定"};
    const bool real = shape == Shape::Real;
    const int periods = real ? 5 : 4;
    for (int n = 0; n < 5; ++n)
        y.hyouteiName[n] = s(real ? realKinds[n] : kinds[n]);
    for (int n = 0; n < periods; ++n) {
        y.hissu.hyouteiPatern[n] = 1; // A: 5..1
        y.hissu.kantenPatern[n] = 2;  // B: A/B/C
        y.sentaku.hyouteiPatern[n] = 1;
        y.sentaku.kantenPatern[n] = 2;
    }
    y.hissu.hikaku[1] = 1; // 2学期 compared with 1学期
    y.hissu.hikaku[2] = 2;
    y.sentaku.hikaku[1] = 1;
    y.sentaku.hikaku[2] = 2;

    SymbolPattern &a = y.patterns[0];
    const char *const five[] = {"5", "4", "3", "2", "1"};
    for (int k = 0; k < 5; ++k)
        a.kigou[k] = s(five[k]);
    a.cutPoint[0] = 80;
    a.cutPoint[1] = 65;
    a.cutPoint[2] = 40;
    a.cutPoint[3] = 20;

    SymbolPattern &b = y.patterns[1];
    b.kigou[0] = QStringLiteral("A");
    b.kigou[1] = QStringLiteral("B");
    b.kigou[2] = QStringLiteral("C");
    b.cutPoint[0] = 80;
    b.cutPoint[1] = 50;

    SymbolPattern &c = y.patterns[2];
    const char *const three[] = {"3", "2", "1"};
    for (int k = 0; k < 3; ++k)
        c.kigou[k] = s(three[k]);
    c.cutPoint[0] = 75;
    c.cutPoint[1] = 40;

    y.classCount = {kClassesPerGrade, kClassesPerGrade, kClassesPerGrade, 0, 0, 0};
    y.consistency = true;
    y.consistencyItem = real ? std::array<int, 4>{5, 2, 4, 0} : std::array<int, 4>{4, 1, 2, 3};
    y.changeList = {1, 2, 3};
    y.borderCheck = 2;
    for (int n = 0; n < 5; ++n)
        y.teikiTest[n] = true;
    for (int n = 0; n < 3; ++n)
        y.gakuTest[n] = true;
    for (int n = 0; n < periods; ++n) {
        y.hyoutei[n] = true;
        y.hyouteiS[n] = true;
    }
}

struct Elective {
    int grade;
    const char *name; // from "選択" on
};

const Elective kElectives[] = {{1, "選択国語"}, {1, "選択英語"},  {2, "選択数学"},
                               {2, "選択音楽"}, {3, "選択英語A"}, {3, "選択英語B"}};

QStringList teacherFileLines() {
    const QStringList names = teachers();
    QStringList lines;
    // Class teachers first (grade g, class c), then teachers without a class of their own.
    for (int i = 0; i < names.size(); ++i) {
        const int grade = i < 9 ? i / 3 + 1 : (i - 9) % 3 + 1;
        const int cls = i < 9 ? i % 3 + 1 : 0;
        lines.append(QStringLiteral("N%1(%2-%3)").arg(names[i]).arg(grade).arg(cls));
    }
    const QStringList subjects = periodicTestSubjects(); // 国語..技家H, the subjects teachers are assigned to
    for (int g = 1; g <= kGrades; ++g)
        for (int si = 0; si < subjects.size(); ++si)
            for (int c = 1; c <= kClassesPerGrade; ++c) {
                const QString &teacher = names[(si + g) % names.size()];
                lines.append(QStringLiteral("MT\t%1\t%2\t%3-%4").arg(subjects[si], teacher).arg(g).arg(c));
            }
    for (int i = 0; i < static_cast<int>(std::size(kElectives)); ++i)
        lines.append(QStringLiteral("MT\t%1\t%2\t%3")
                         .arg(s(kElectives[i].name), names[(i * 5) % names.size()])
                         .arg(kElectives[i].grade));
    return lines;
}

// ---- Test scores and evaluation worksheets of the demo ----

// Two periodic tests ("A", "B") and the first achievement test ("1") of every grade in the five main
// subjects, and per grade the 国語 worksheet of the teacher in charge, with regular, test-linked and
// aggregate items, ratios and scores.
constexpr int kDemoViewpoints = 3;
const char *const kDemoViewpointNames[kDemoViewpoints] = {"知識・技能", "思考・判断・表現",
                                                          "主体的に学習に取り組む態度"};

bool movedAway(const RosterEntry &e) {
    return e.name.startsWith(QStringLiteral("＊"));
}

FullScores demoFullScores(bool periodic, Shape shape = Shape::Regular, const QString &subject = {}) {
    FullScores f;
    f.values = periodic ? TestScoreRecord{100, 40, 40, 20, 0, 0, 0} : TestScoreRecord{100, 0, 0, 0, 0, 0, 0};
    if (!periodic || shape == Shape::Regular)
        return f;
    // The halves of a pair have full scores of their own.
    if (subject == u"英語" || subject == u"数学")
        f.values = {100, 20, 20, 20, 20, 20, 0};
    else if (subject == u"保体G")
        f.values = {80, 50, 30, 0, 0, 0, 0};
    else if (subject == u"技家I")
        f.values = {50, 30, 20, 0, 0, 0, 0};
    else if (subject == u"技家H")
        f.values = {60, 20, 20, 20, 0, 0, 0};
    return f;
}

// The viewpoints of a subject in the viewpoint definitions of the demo.
int demoViewpointCount(Shape shape, const QString &subject) {
    if (shape == Shape::Real && subject == u"英語")
        return 5;
    if (shape == Shape::Real && subject == u"数学")
        return 6;
    return kDemoViewpoints;
}

// A real school: boys (odd numbers) take 保体B, girls 保体G; every third number 技家H, the others 技家I.
bool takesSubject(Shape shape, const QString &subject, int number) {
    if (shape == Shape::Regular)
        return true;
    if (subject == u"保体B")
        return number % 2 == 1;
    if (subject == u"保体G")
        return number % 2 == 0;
    if (subject == u"技家I")
        return number % 3 != 0;
    if (subject == u"技家H")
        return number % 3 == 0;
    return true;
}

ClassScores demoClassScores(const std::vector<RosterEntry> &roster, int cls, const FullScores &full,
                            quint32 seed, Shape shape = Shape::Regular, const QString &subject = {}) {
    ClassScores scores;
    int viewpointCount = 0;
    while (viewpointCount + 1 < kTestFields && full.values[std::size_t(viewpointCount + 1)] > 0)
        ++viewpointCount;
    for (int n = 1; n <= kSeatsPerClass; ++n) {
        const RosterEntry &e = roster[std::size_t((cls - 1) * kSeatsPerClass + n - 1)];
        TestScoreRecord &r = scores.student(n);
        if (e.isEmpty() || !takesSubject(shape, subject, n))
            continue;
        Random rnd(seed * 131u + quint32(cls * 100 + n));
        const bool viewpoints = viewpointCount > 0;
        if (movedAway(e) || rnd.next(40) == 0) {
            r[0] = testscore::kNotTaken;
            for (int v = 1; viewpoints && v <= viewpointCount; ++v)
                r[v] = testscore::kNotTaken;
            continue;
        }
        const int ability = 35 + rnd.next(60);
        auto part = [&](int fullScore) {
            const int percent = qBound(0, ability + rnd.next(31) - 15, 100);
            return fullScore * percent / 100;
        };
        if (!viewpoints) {
            r[0] = part(full.values[0]);
            continue;
        }
        r[0] = 0;
        for (int v = 1; v <= viewpointCount; ++v) {
            r[v] = part(full.values[v]);
            r[0] += r[v];
        }
    }
    return scores;
}

// The sum of a list-form aggregate item over the referenced scores, with the marks carried over.
int demoListSum(const Worksheet &w, int slot, const std::vector<int> &items) {
    int sum = 0;
    bool empty = false, transferred = false, notSubmitted = false, estimate = false, value = false;
    for (int i : items) {
        const int s = w.score(i, slot);
        if (s >= 0) {
            sum += s;
            value = true;
        } else if (s == score::kEmpty) {
            empty = true;
        } else if (s == score::kTransferred) {
            transferred = true;
        } else if (s == score::kNotSubmitted) {
            notSubmitted = true;
        } else if (s == score::kAbsent || score::isEstimate(s)) {
            sum += s == score::kAbsent ? 0 : score::estimateValue(s);
            estimate = value = true;
        }
    }
    if (empty || (!value && !transferred && !notSubmitted))
        return score::kEmpty;
    if (notSubmitted)
        return score::kNotSubmitted;
    if (transferred)
        return score::kTransferred;
    return estimate ? score::estimate(sum) : sum;
}

Worksheet demoWorksheet(const std::vector<RosterEntry> &roster, const YearSettings &year, int grade,
                        const std::array<FullScores, 2> &testFull,
                        const std::array<std::array<ClassScores, kClassesPerGrade>, 2> &testScores) {
    Worksheet w;
    auto regular = [&](int i, const char *name, int fullScore) {
        WorksheetItem &it = w.item(i);
        it.name = s(name);
        it.kind = itemkind::kRegular;
        it.fullScore = fullScore;
    };
    regular(1, "授業態度", 10);
    regular(2, "提出物", 5);
    w.item(2).formula = QStringLiteral("K");
    regular(3, "小テスト", 20);
    const QString circled = QStringLiteral("①②③");
    std::vector<int> testItems;
    for (int t = 0; t < 2; ++t)
        for (int v = 1; v <= kDemoViewpoints; ++v) {
            const int i = 4 + t * kDemoViewpoints + (v - 1);
            WorksheetItem &it = w.item(i);
            it.kind = itemkind::kPeriodicTest;
            it.link = (t + 1) * 100 + v * 10;
            it.name = year.testName[t] + circled[v - 1] + u'[' + s(kDemoViewpointNames[v - 1]) + u']';
            it.protection = 1;
            it.fullScore = testFull[t].values[v];
            testItems.push_back(i);
        }
    const int total = 4 + 2 * kDemoViewpoints; // 10
    w.item(total).name = QStringLiteral("定期テスト合計");
    w.item(total).kind = itemkind::kAggregate;
    w.item(total).formula = QStringLiteral("4,5,6,7,8,9");
    w.item(total).fullScore = 200;
    w.updateSymbolFlags();

    for (int cls = 1; cls <= kClassesPerGrade; ++cls)
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            const RosterEntry &e = roster[std::size_t((cls - 1) * kSeatsPerClass + n - 1)];
            if (e.isEmpty())
                continue;
            const int slot = slotOf(cls, n);
            if (movedAway(e)) {
                for (int i = 1; i <= total; ++i)
                    w.score(i, slot) = score::kTransferred;
                continue;
            }
            Random rnd(quint32(grade * 10000 + cls * 100 + n));
            w.score(1, slot) = 4 + rnd.next(7);
            w.score(2, slot) = rnd.next(15) == 0 ? score::kNotSubmitted : 1 + rnd.next(5);
            w.score(3, slot) = rnd.next(25) == 0 ? score::kAbsent : 6 + rnd.next(15);
            for (int t = 0; t < 2; ++t)
                for (int v = 1; v <= kDemoViewpoints; ++v) {
                    const int value = testScores[t][cls - 1].student(n)[v];
                    w.score(4 + t * kDemoViewpoints + (v - 1), slot) = value >= 0 ? value : score::kEmpty;
                }
            w.score(total, slot) = demoListSum(w, slot, testItems);
        }

    for (int k : {1, 2, 4}) {
        for (int v = 1; v <= kDemoViewpoints; ++v)
            w.viewpointRatio(k, v) = v == 3 ? 20 : 40;
        w.itemRatio(1, k, 3) = 2;
        w.itemRatio(2, k, 3) = 1;
        w.itemRatio(3, k, 1) = 1;
        for (int t = 0; t < 2; ++t)
            for (int v = 1; v <= kDemoViewpoints; ++v)
                w.itemRatio(4 + t * kDemoViewpoints + (v - 1), k, v) = v == 3 ? 2 : 3;
    }
    return w;
}

bool writeDemoScores(const QString &dataFolder, int nendo, Shape shape, QString &why, QStringList *written) {
    const YearSettings year = YearSettings::load(dataFolder, nendo);
    const QStringList subjects = shape == Shape::Real ? periodicTestSubjects() : achievementTestSubjects();
    const int achievementSubjects = int(achievementTestSubjects().size());
    const QStringList tests{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("1")};
    for (int g = 1; g <= kGrades; ++g) {
        const std::vector<RosterEntry> roster = demoRoster(nendo, g);
        std::array<FullScores, 2> koku{};
        std::array<std::array<ClassScores, kClassesPerGrade>, 2> kokuScores;
        for (int si = 0; si < subjects.size(); ++si)
            for (int ti = 0; ti < tests.size(); ++ti) {
                if (ti == 2 && si >= achievementSubjects)
                    continue; // achievement tests have the five main subjects
                const FullScores full = demoFullScores(ti < 2, shape, subjects[si]);
                QString path = paths::fullScoreFile(dataFolder, nendo, tests[ti], g, subjects[si]);
                if (!TestScoreFile::writeFullScores(path, full, &why))
                    return false;
                if (written)
                    written->append(path);
                for (int cls = 1; cls <= kClassesPerGrade; ++cls) {
                    const ClassScores scores =
                        demoClassScores(roster, cls, full, quint32(nendo * 1000 + g * 100 + si * 10 + ti),
                                        shape, subjects[si]);
                    path = paths::classScoreFile(dataFolder, nendo, tests[ti], g, cls, subjects[si]);
                    if (!TestScoreFile::writeClassScores(path, scores, &why))
                        return false;
                    if (written)
                        written->append(path);
                    if (si == 0 && ti < 2)
                        kokuScores[std::size_t(ti)][std::size_t(cls - 1)] = scores;
                }
                if (si == 0 && ti < 2)
                    koku[std::size_t(ti)] = full;
            }
        const QString teacher = teachers()[(0 + g) % 14];
        const QString path = paths::worksheetFile(dataFolder, teacher, nendo, g, subjects[0]);
        if (!WorksheetFile::save(path, demoWorksheet(roster, year, g, koku, kokuScores), &why))
            return false;
        if (written)
            written->append(path);
    }
    return true;
}

} // namespace

QStringList DemoSchool::teacherNames() {
    return teachers();
}

bool DemoSchool::write(const QString &dataFolderIn, int nendo, QString *error, QStringList *written,
                       Shape shape) {
    const QString dataFolder = paths::withTrailingSeparator(dataFolderIn);
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    auto note = [&](const QString &path) {
        if (written)
            written->append(path);
    };
    if (nendo < kMinNendo || nendo > kMaxNendo)
        return fail(QStringLiteral("年度は%1から%2までで指定してください。").arg(kMinNendo).arg(kMaxNendo));
    paths::ensureFolder(dataFolder);
    if (!QFileInfo(dataFolder).isDir())
        return fail(QStringLiteral("データフォルダを作成できません: %1").arg(dataFolder));
    const QString mainFile = paths::mainSettingsFile(dataFolder);
    const QString yearFile = paths::yearSettingsFile(dataFolder, nendo);
    if (paths::fileExists(mainFile) || paths::fileExists(yearFile))
        return fail(QStringLiteral("データフォルダにはすでに設定ファイルがあります。上書きはしません: %1")
                        .arg(dataFolder));

    QString why;
    MainSettings main;
    main.schoolName = QStringLiteral("市立さくら台中学校");
    main.password = scramble(s(kAdminPassword), s(kAdminScrambleConstant));
    main.classType = shape == Shape::Regular;
    main.schoolKind = 1;
    if (!main.save(dataFolder, &why))
        return fail(why);
    IniFile passwords(mainFile);
    for (const QString &t : teachers())
        passwords.writeString(QStringLiteral("Password"), t,
                              scramble(s(kTeacherPassword), s(kTeacherScrambleConstant)));
    if (!passwords.save(&why))
        return fail(why);
    note(mainFile);

    YearSettings year;
    fillSettings(year, shape);
    if (!year.save(dataFolder, nendo, &why))
        return fail(why);
    note(yearFile);

    // Viewpoint names: the three standard viewpoints for every subject, compulsory and elective; a
    // real school has more in some subjects.
    IniFile viewpoints(kanten::filePath(dataFolder, nendo));
    const char *const moreShort[] = {"表現", "技能", "関心"};
    const char *const moreMedium[] = {"表現の能力", "技能の習得", "関心・意欲"};
    for (const QString &subject : kanten::subjects(main.schoolKind)) {
        KantenNames names;
        names.fillDefaults();
        for (int v = kDemoViewpoints; v < demoViewpointCount(shape, subject); ++v) {
            names.shortName[std::size_t(v)] = s(moreShort[v - kDemoViewpoints]);
            names.mediumName[std::size_t(v)] = s(moreMedium[v - kDemoViewpoints]);
        }
        for (bool elective : {false, true})
            kanten::write(viewpoints, kanten::section(subject, elective), names);
    }
    if (!viewpoints.save(&why))
        return fail(why);
    note(viewpoints.path());

    const QString teacherPath = paths::teacherFile(dataFolder, nendo);
    if (!writeTextLines(teacherPath, teacherFileLines(), &why))
        return fail(why);
    note(teacherPath);

    QStringList electiveLines;
    for (const Elective &e : kElectives)
        electiveLines.append(QString::number(e.grade) + QStringLiteral("年") + s(e.name));
    const QString electivePath = paths::sentakuFile(dataFolder, nendo);
    if (!writeTextLines(electivePath, electiveLines, &why))
        return fail(why);
    note(electivePath);

    // Member lists: every third student of the grade takes the grade's first elective, the next one
    // the second (class followed by the two-digit position).
    for (int g = 1; g <= kGrades; ++g) {
        const std::vector<RosterEntry> entries = demoRoster(nendo, g);
        int which = 0;
        for (const Elective &e : kElectives) {
            if (e.grade != g)
                continue;
            QStringList members;
            for (int slot = 0; slot < static_cast<int>(entries.size()); ++slot)
                if (!entries[slot].isEmpty() && slot % 3 == which)
                    members.append(QStringLiteral("%1%2")
                                       .arg(slot / kSeatsPerClass + 1)
                                       .arg(slot % kSeatsPerClass + 1, 2, 10, QLatin1Char('0')));
            const QString path = paths::memberListFile(dataFolder, nendo, g, s(e.name));
            if (!writeTextLines(path, members, &why))
                return fail(why);
            note(path);
            ++which;
        }
    }

    for (int g = 1; g <= kGrades; ++g) {
        const QString path = paths::rosterFile(dataFolder, nendo, g);
        if (!roster::write(path, demoRoster(nendo, g), main.classType, &why))
            return fail(why);
        note(path);
    }

    if (!writeDemoScores(dataFolder, nendo, shape, why, written))
        return fail(why);
    return true;
}

} // namespace tavro
