#include "app/DemoSchool.h"
#include "common/FileSave.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/WorksheetFile.h"
#include "support/CliRun.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tavro;
using tavro::test::cli;

namespace {

constexpr int kYear = 2024;

// The demo school; teacher 2 opens grade 1 国語, whose worksheet belongs to teacher 1.
struct Demo {
    QTemporaryDir dir;
    QString folder = dir.path() + QStringLiteral("/");
    QStringList teachers = DemoSchool::teacherNames();
    Demo() { QVERIFY(DemoSchool::write(folder, kYear)); }
    QString worksheetOf(const QString &teacher) const {
        return paths::worksheetFile(folder, teacher, kYear, 1, QStringLiteral("国語"));
    }
    test::CliRun run(const QStringList &extra) const {
        return cli(QStringList{QStringLiteral("import-items"), QStringLiteral("--data"), folder,
                               QStringLiteral("--year"), QString::number(kYear), QStringLiteral("--grade"),
                               QStringLiteral("1"), QStringLiteral("--subject"), QStringLiteral("国語"),
                               QStringLiteral("--teacher"), teachers[2]} +
                   extra);
    }
};

} // namespace

class ImportItemsCommandTest : public QObject {
    Q_OBJECT

private slots:
    // The lists, an import without full scores and ratios, and the refusals.
    void listsImportsAndRefuses() {
        Demo demo;
        const QString from = demo.teachers[1];
        test::CliRun r = demo.run({QStringLiteral("--list")});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, from + u'\n' + demo.teachers[3] + u'\n');
        r = demo.run({QStringLiteral("--list"), QStringLiteral("--from"), from});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.count(u'\n'), 10);
        QVERIFY(r.out.startsWith(QStringLiteral("1 [平常] 授業態度\n2 [平常] 提出物\n")));

        r = demo.run({QStringLiteral("--from"), from, QStringLiteral("--items"), QStringLiteral("2,10"),
                      QStringLiteral("--no-ratios")});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("取り込みが終わりました。\n"));
        Worksheet w;
        QVERIFY(WorksheetFile::load(demo.worksheetOf(demo.teachers[2]), w, nullptr).isClean());
        QCOMPARE(w.item(2).name, QStringLiteral("提出物"));
        QVERIFY(w.item(2).symbolInput);
        QCOMPARE(w.item(10).kind, int(itemkind::kAggregate));
        QCOMPARE(w.item(10).fullScore, 0);
        QVERIFY(!w.item(1).isSet());

        const QStringList refused[] = {
            {QStringLiteral("--from"), QStringLiteral(".."), QStringLiteral("--all")},
            {QStringLiteral("--from"), demo.teachers[3], QStringLiteral("--all")},
            {QStringLiteral("--from"), demo.teachers[5], QStringLiteral("--all")},
            {QStringLiteral("--from"), from, QStringLiteral("--items"), QStringLiteral("11")},
        };
        for (const QStringList &args : refused) {
            r = demo.run(args);
            QCOMPARE(r.status, 1);
            QVERIFY(!r.err.isEmpty());
        }
        QCOMPARE(demo.run({QStringLiteral("--from"), from}).status, 2);

        QByteArray bytes;
        QVERIFY(readWholeFile(demo.worksheetOf(from), bytes));
        bytes.replace(6, 3, "600");
        QVERIFY(saveFileAtomically(demo.worksheetOf(from), bytes));
        r = demo.run({QStringLiteral("--list"), QStringLiteral("--from"), from});
        QCOMPARE(r.status, 1);
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.contains(QStringLiteral("ファイルの読み込みができません。")));
    }
};

QTEST_GUILESS_MAIN(ImportItemsCommandTest)
#include "ImportItemsCommandTest.moc"
