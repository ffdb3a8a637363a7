#include "config/KantenFile.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

namespace {

KantenNames sample(const QString &tag) {
    KantenNames n;
    for (int v = 0; v < 6; ++v) {
        n.shortName[v] = tag + QString::number(v + 1);
        n.mediumName[v] = tag + QStringLiteral("の観点%1").arg(v + 1);
    }
    n.longName[0] = tag + QStringLiteral("について長く書いた観点");
    return n;
}

} // namespace

class KantenFileTest : public QObject {
    Q_OBJECT

private slots:
    void sectionsOfSubjectsAndElectives();
    void allEighteenKeysAreWritten();
    void defaults();
    void importCopiesOnlyTheSchoolKindsSubjects();
    void importWithoutPreviousYear();
};

void KantenFileTest::sectionsOfSubjectsAndElectives() {
    QCOMPARE(kanten::section("国語", false), QString("国語"));
    QCOMPARE(kanten::section("国語", true), QString("選択国語"));
    QCOMPARE(kanten::sectionForSubject("保体B"), QString("保体"));
    QCOMPARE(kanten::sectionForSubject("技家I"), QString("技家"));
    // Every course of an elective reads the definition of its subject.
    QCOMPARE(kanten::sectionForElective("選択英語G"), QString("選択英語"));
    QCOMPARE(kanten::sectionForElective("選択国語"), QString("選択国語"));
    QCOMPARE(kanten::subjects(0).at(7), QString("体育"));
    QCOMPARE(kanten::subjects(1).last(), QString("技家"));
    QVERIFY(kanten::subjects(2).isEmpty());
}

void KantenFileTest::allEighteenKeysAreWritten() {
    QTemporaryDir tmp;
    KantenNames names = sample("国");
    names.shortName[5].clear();
    QString error;
    QVERIFY2(kanten::save(tmp.path(), 2024, "国語", names, &error), qPrintable(error));
    const IniFile ini(paths::kantenFile(tmp.path(), 2024));
    QCOMPARE(ini.keys("国語").size(), 18);
    QVERIFY(ini.valueExists("国語", "kanten6s")); // empty values are written too
    QCOMPARE(kanten::load(tmp.path(), 2024, "国語"), names);
    QCOMPARE(kanten::load(tmp.path(), 2024, "国語").usedCount(), 5);
    QCOMPARE(kanten::load(tmp.path(), 2024, "社会"), KantenNames());

    // A file spelled "kanten" is found and updated in place.
    QVERIFY(QFile::rename(paths::kantenFile(tmp.path(), 2024), tmp.filePath("2024/kanten2024.def")));
    QVERIFY(kanten::save(tmp.path(), 2024, "選択国語", sample("選")));
    QVERIFY(!QFile::exists(paths::kantenFile(tmp.path(), 2024)));
    QCOMPARE(kanten::load(tmp.path(), 2024, "国語"), names);
    QCOMPARE(kanten::load(tmp.path(), 2024, "選択国語"), sample("選"));
}

void KantenFileTest::defaults() {
    KantenNames names = sample("x");
    names.fillDefaults();
    QCOMPARE(names.shortName[2], QString("態度"));
    QCOMPARE(names.mediumName[0], QString("知識・技能"));
    QVERIFY(names.shortName[3].isEmpty() && names.mediumName[5].isEmpty());
    QCOMPARE(names.longName[0], sample("x").longName[0]);
    QCOMPARE(names.usedCount(), 3);
}

void KantenFileTest::importCopiesOnlyTheSchoolKindsSubjects() {
    QTemporaryDir tmp;
    for (const char *s : {"国語", "選択技家", "算数"})
        QVERIFY(kanten::save(tmp.path(), 2023, s, sample(QString("前") + s)));
    QVERIFY(kanten::save(tmp.path(), 2024, "国語", sample("今")));
    QVERIFY(kanten::save(tmp.path(), 2024, "算数", sample("今算数")));

    QString error;
    QCOMPARE(kanten::importPreviousYear(tmp.path(), 2024, 1, &error), kanten::ImportResult::Imported);
    QCOMPARE(kanten::load(tmp.path(), 2024, "国語"), sample("前国語"));
    QCOMPARE(kanten::load(tmp.path(), 2024, "選択技家"), sample("前選択技家"));
    // 算数 is no junior-high subject: this year's section stays.
    QCOMPARE(kanten::load(tmp.path(), 2024, "算数"), sample("今算数"));
    // The nine subjects are written in both kinds, empty ones included.
    const IniFile ini(paths::kantenFile(tmp.path(), 2024));
    QCOMPARE(ini.sections().size(), 19);
    QCOMPARE(ini.keys("選択保体").size(), 18);
}

void KantenFileTest::importWithoutPreviousYear() {
    QTemporaryDir tmp;
    QVERIFY(kanten::save(tmp.path(), 2024, "国語", sample("今")));
    QByteArray before;
    QVERIFY(readWholeFile(paths::kantenFile(tmp.path(), 2024), before));
    QString error;
    QCOMPARE(kanten::importPreviousYear(tmp.path(), 2024, 1, &error), kanten::ImportResult::NoPreviousFile);
    QCOMPARE(error, kanten::noPreviousFileMessage());
    QByteArray after;
    QVERIFY(readWholeFile(paths::kantenFile(tmp.path(), 2024), after));
    QCOMPARE(after, before);
}

QTEST_GUILESS_MAIN(KantenFileTest)
#include "KantenFileTest.moc"
