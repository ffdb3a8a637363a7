#include "evaluation/ItemImport.h"

#include "app/DemoSchool.h"
#include "common/FileSave.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/WorksheetFile.h"
#include "support/TestDoubles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using namespace tavro::itemimport;

namespace {

constexpr int kYear = 2024;

// The demo school: grade g's 国語 worksheet belongs to teacher g (demo order), items 1..10.
struct School {
    QTemporaryDir dir;
    QString folder = dir.path() + QLatin1Char('/');
    QStringList teachers = DemoSchool::teacherNames();
    test::ScriptedPrompter prompter;

    School() { QVERIFY(DemoSchool::write(folder, kYear)); }
    EvaluationContext context(const QString &teacher, bool readOnly = false) const {
        EvaluationContext c;
        c.dataFolder = folder;
        c.nendo = kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.chargeClasses = QStringLiteral("12");
        c.teacherName = teacher;
        c.readOnly = readOnly;
        return c;
    }
    std::unique_ptr<EvaluationSession> open(const QString &teacher, bool readOnly = false) {
        auto s = std::make_unique<EvaluationSession>(context(teacher, readOnly));
        s->load(prompter);
        return s;
    }
    QString worksheetOf(const QString &teacher) const {
        return paths::worksheetFile(folder, teacher, kYear, 1, QStringLiteral("国語"));
    }
    // The colleague's worksheet as the project's reader sees it.
    Worksheet stored(const QString &teacher) const {
        Worksheet w;
        WorksheetFile::load(worksheetOf(teacher), w, nullptr);
        return w;
    }
};

} // namespace

class ItemImportTest : public QObject {
    Q_OBJECT

private slots:
    // Which "MT" lines name a colleague of 山田 for 国語.
    void colleagueMatching_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char *name, QStringList lines, QStringList expected) {
            QTest::newRow(name) << lines << expected;
        };
        row("same subject, another teacher", {QStringLiteral("MT\t国語\t佐藤\t1-1")},
            {QStringLiteral("佐藤")});
        row("the teacher themself", {QStringLiteral("MT\t国語\t山田\t1-1")}, {});
        row("teacher name extending one's own", {QStringLiteral("MT\t国語\t山田太郎\t1-2")},
            {QStringLiteral("山田太郎")});
        row("subject extending one's own", {QStringLiteral("MT\t国語表現\t佐藤\t1-1")}, {});
        row("shorter subject", {QStringLiteral("MT\t国\t佐藤\t1-1")}, {});
        row("listed once",
            {QStringLiteral("MT\t国語\t佐藤\t1-1"), QStringLiteral("MT\t国語\t佐藤\t1-2"),
             QStringLiteral("MT\t国語\t鈴木\t1-3"), QStringLiteral("MT\t国語\t佐藤\t2-1")},
            {QStringLiteral("佐藤"), QStringLiteral("鈴木")});
        row("another grade", {QStringLiteral("MT\t国語\t鈴木\t3-1")}, {QStringLiteral("鈴木")});
        row("not an assignment line",
            {QStringLiteral("N佐藤(1-1)"), QStringLiteral("X\t国語\t佐藤\t1-1"), QStringLiteral("MT\t国語")},
            {});
        row("unsafe names",
            {QStringLiteral("MT\t国語\t..\t1-1"), QStringLiteral("MT\t国語\ta/b\t1-1"),
             QStringLiteral("MT\t国語\t\t1-1")},
            {});
    }
    void colleagueMatching() {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, expected);
        QCOMPARE(colleagues(lines, QStringLiteral("国語"), QStringLiteral("山田")), expected);
    }

    // The demo's teacher file: the other 国語 teachers of every grade, in file order.
    void colleaguesFromTheTeacherFile() {
        School school;
        QCOMPARE(colleagues(school.context(school.teachers[1])),
                 (QStringList{school.teachers[2], school.teachers[3]}));
        QTemporaryDir empty;
        EvaluationContext c = school.context(school.teachers[1]);
        c.dataFolder = empty.path() + QLatin1Char('/');
        QVERIFY(colleagues(c).isEmpty());
    }

    // The check list of a colleague's worksheet; the colleague of another grade has none of grade 1,
    // and a name that cannot be a file name is refused.
    void loadsTheColleaguesItems() {
        School school;
        ColleagueItems items;
        const EvaluationContext c = school.context(school.teachers[2]);
        LoadResult r = loadColleague(c, school.teachers[1], items, &school.prompter);
        QCOMPARE(r.status, LoadStatus::Loaded);
        const QStringList lines = itemLines(items);
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines.first(), QStringLiteral("1 [平常] 授業態度"));
        QCOMPARE(lines[1], QStringLiteral("2 [平常] 提出物"));
        QVERIFY(lines[3].startsWith(QStringLiteral("4 [定期] ")));
        QCOMPARE(lines.last(), QStringLiteral("10 [集計] 定期テスト合計"));
        QCOMPARE(itemNumberOfLine(lines.last()), 10);
        QCOMPARE(itemNumberOfLine(QStringLiteral("x [平常] a")), 0);
        QCOMPARE(kindLabel(itemkind::kAchievementTest), QStringLiteral("学力"));

        r = loadColleague(c, school.teachers[3], items, &school.prompter);
        QCOMPARE(r.status, LoadStatus::Missing);
        QVERIFY(itemLines(items).isEmpty());
        for (const QString &name : {QStringLiteral(".."), QStringLiteral("a/b"), QStringLiteral("a\\b")}) {
            r = loadColleague(c, name, items, &school.prompter);
            QCOMPARE(r.status, LoadStatus::Refused);
            QVERIFY(!r.message.isEmpty());
        }
        QVERIFY(school.prompter.shown().isEmpty());
    }

    // A colleague file of version 600 is refused with its message; nothing of it is listed.
    void tooNewColleagueFile() {
        School school;
        const QString path = school.worksheetOf(school.teachers[1]);
        QByteArray bytes;
        QVERIFY(readWholeFile(path, bytes));
        bytes.replace(6, 3, "600");
        QVERIFY(saveFileAtomically(path, bytes, nullptr, Backup::None));
        ColleagueItems items;
        const LoadResult r =
            loadColleague(school.context(school.teachers[2]), school.teachers[1], items, &school.prompter);
        QCOMPARE(r.status, LoadStatus::TooNew);
        QVERIFY(itemLines(items).isEmpty());
        QCOMPARE(school.prompter.shown().size(), 1);
        QCOMPARE(school.prompter.shown()[0].caption, QStringLiteral("TAVRO"));
        QCOMPARE(
            school.prompter.shown()[0].text,
            QStringLiteral("ファイルの読み込みができません。\r\n最新版にバージョンアップしてください。"));
    }

    // Values out of their range in a damaged colleague file are left at 0; the rest is kept.
    void damagedValuesAreSkipped() {
        School school;
        Worksheet w;
        w.item(1).name = QStringLiteral("壊れた種別");
        w.item(1).kind = 7;
        WorksheetItem &it = w.item(2);
        it.name = QStringLiteral("小テスト");
        it.kind = itemkind::kRegular;
        it.link = 1500;
        it.fullScore = 1200;
        w.itemRatio(2, 1, 1) = 1000;
        w.itemRatio(2, 1, 2) = 5;
        const QString colleague = QStringLiteral("佐藤");
        QVERIFY(WorksheetFile::save(school.worksheetOf(colleague), w));
        ColleagueItems items;
        QCOMPARE(loadColleague(school.context(school.teachers[2]), colleague, items, nullptr).status,
                 LoadStatus::Loaded);
        QCOMPARE(itemLines(items), QStringList{QStringLiteral("2 [平常] 小テスト")});
        QCOMPARE(items.item(1).kind, 0);
        QCOMPARE(items.item(2).link, 0);
        QCOMPARE(items.item(2).fullScore, 0);
        QCOMPARE(items.ratio(2, 1, 1), 0);
        QCOMPARE(items.ratio(2, 1, 2), 5);
    }

    // The import copies the definitions only; full scores, ratios and protection as asked.
    void importsTheCheckedItems_data() {
        QTest::addColumn<bool>("ratios");
        QTest::addColumn<bool>("protection");
        QTest::newRow("definitions only") << false << false;
        QTest::newRow("with full scores and ratios") << true << false;
        QTest::newRow("with protection") << false << true;
        QTest::newRow("everything") << true << true;
    }
    void importsTheCheckedItems() {
        QFETCH(bool, ratios);
        QFETCH(bool, protection);
        School school;
        const QString colleague = school.teachers[1];
        const Worksheet theirs = school.stored(colleague);
        auto s = school.open(school.teachers[2]);
        QVERIFY(!s->readOnly());
        Worksheet &w = s->worksheet();
        // Our own item 4 means something else: it is overwritten all the same.
        w.item(4).name = QStringLiteral("音読");
        w.item(4).kind = itemkind::kRegular;
        w.item(4).fullScore = 77;
        w.itemRatio(4, 1, 1) = 9;
        const int slot = s->rows().front();
        for (int i = 4; i <= 9; ++i)
            s->setScore(i, slot, i);
        QString error;
        QVERIFY2(s->save(&error), qPrintable(error));
        QVERIFY(!s->isModified());
        QVERIFY(!w.item(2).symbolInput);

        ColleagueItems items;
        QCOMPARE(loadColleague(s->context(), colleague, items, nullptr).status, LoadStatus::Loaded);
        std::vector<int> checked;
        for (const QString &line : itemLines(items))
            if (itemNumberOfLine(line) != 1)
                checked.push_back(itemNumberOfLine(line));
        const ImportOutcome out = importItems(*s, items, checked, Options{ratios, protection});
        QVERIFY(out.applied);
        QCOMPARE(out.imported, 9);
        QVERIFY(s->isModified());

        QVERIFY(!w.item(1).isSet());
        for (int i = 2; i <= 10; ++i) {
            QCOMPARE(w.item(i).name, theirs.item(i).name);
            QCOMPARE(w.item(i).kind, theirs.item(i).kind);
            QCOMPARE(w.item(i).link, theirs.item(i).link);
            QCOMPARE(w.item(i).formula, theirs.item(i).formula);
            QCOMPARE(w.item(i).protection, protection ? theirs.item(i).protection : std::uint8_t(0));
        }
        QCOMPARE(w.item(4).fullScore, ratios ? theirs.item(4).fullScore : 77);
        QCOMPARE(w.itemRatio(4, 1, 1), ratios ? theirs.itemRatio(4, 1, 1) : 9);
        QCOMPARE(w.itemRatio(4, 2, 3), ratios ? theirs.itemRatio(4, 2, 3) : 0);
        QCOMPARE(w.item(10).fullScore, ratios ? theirs.item(10).fullScore : 0);
        // The symbol-input item is one at once; the aggregate item is computed; no score is copied.
        QVERIFY(w.item(2).symbolInput);
        QCOMPARE(w.score(10, slot), 4 + 5 + 6 + 7 + 8 + 9);
        QCOMPARE(w.score(2, slot), score::kEmpty);
        QCOMPARE(w.score(3, slot), score::kEmpty);
        QCOMPARE(finishedMessage(), QStringLiteral("取り込みが終わりました。"));
    }

    // Nothing changes in read-only mode; numbers outside 1..999 are passed over.
    void refusalsAndBadNumbers() {
        School school;
        ColleagueItems items;
        auto viewer = school.open(school.teachers[2], true);
        QVERIFY(viewer->readOnly());
        QCOMPARE(loadColleague(viewer->context(), school.teachers[1], items, nullptr).status,
                 LoadStatus::Loaded);
        ImportOutcome out = importItems(*viewer, items, {1, 2}, Options{});
        QVERIFY(!out.applied);
        QCOMPARE(out.error, QStringLiteral("閲覧モードでは項目を変更できません。"));
        QVERIFY(!viewer->worksheet().item(1).isSet());
        QVERIFY(!viewer->isModified());

        auto s = school.open(school.teachers[2]);
        out = importItems(*s, items, {0, -3, 1000}, Options{});
        QVERIFY(out.applied);
        QCOMPARE(out.imported, 0);
        QVERIFY(!s->isModified());
    }
};

QTEST_GUILESS_MAIN(ItemImportTest)
#include "ItemImportTest.moc"
