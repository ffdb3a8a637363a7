#include "config/SentakuMemberEditor.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/Electives.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

class SentakuMemberEditorTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheGradesElectivesAndClampsTheIndex();
    void savesOnlyModifiedText();
    void failedSaveKeepsTheEdits();
    void unencodableTextIsRefused();
};

namespace {

struct Folder {
    QTemporaryDir dir;
    QString data = dir.path() + '/';
    Folder() {
        electives::writeLines(data, 2024, {"1年選択国語", "2年選択数学", "2年選択音楽", "2年選択英語A"});
    }
    QString list(const QString &elective) const { return paths::memberListFile(data, 2024, 2, elective); }
};

} // namespace

void SentakuMemberEditorTest::listsTheGradesElectivesAndClampsTheIndex() {
    Folder f;
    QVERIFY(writeTextLines(f.list("選択英語A"), {"201", "2302", "x"}));
    SentakuMemberEditor editor(f.data, 2024, 2);
    QVERIFY(editor.reload(7));
    QCOMPARE(editor.electives(), QStringList({"選択数学", "選択音楽", "選択英語A"}));
    QCOMPARE(editor.elective(), QString("選択英語A"));
    QCOMPARE(editor.text(), QString("201\n2302\nx\n"));
    QVERIFY(!editor.isModified());

    SentakuMemberEditor none(f.data, 2024, 3);
    QVERIFY(none.reload(0));
    QCOMPARE(none.index(), -1);
    QVERIFY(!none.isEditable());
    QVERIFY(!none.setText("101"));
}

void SentakuMemberEditorTest::savesOnlyModifiedText() {
    Folder f;
    SentakuMemberEditor editor(f.data, 2024, 2);
    QVERIFY(editor.reload(0));
    QVERIFY(editor.select(1)); // unmodified: nothing written
    QVERIFY(!QFileInfo::exists(f.list("選択数学")));

    QVERIFY(editor.setText("101\r\n205\r\n１０３"));
    QVERIFY(editor.select(0));
    QStringList lines;
    QVERIFY(readTextLines(f.list("選択音楽"), lines));
    QCOMPARE(lines, QStringList({"101", "205", "１０３"})); // kept as typed
    QCOMPARE(editor.text(), QString());

    QVERIFY(editor.setText("301"));
    QVERIFY(editor.saveIfModified());
    QVERIFY(readTextLines(f.list("選択数学"), lines));
    QCOMPARE(lines, QStringList({"301"}));
    QVERIFY(!editor.isModified());
}

void SentakuMemberEditorTest::failedSaveKeepsTheEdits() {
    Folder f;
    SentakuMemberEditor editor(f.data, 2024, 2);
    QVERIFY(editor.reload(0));
    QVERIFY(editor.setText("101"));
    // A folder in place of the list makes the save fail.
    QVERIFY(QDir().mkpath(f.list("選択数学")));
    QString error;
    QVERIFY(!editor.select(1, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(editor.elective(), QString("選択数学"));
    QCOMPARE(editor.text(), QString("101"));
    QVERIFY(editor.isModified());
}

void SentakuMemberEditorTest::unencodableTextIsRefused() {
    Folder f;
    SentakuMemberEditor editor(f.data, 2024, 2);
    QVERIFY(editor.reload(0));
    QString error;
    QVERIFY(!editor.setText(QString::fromUtf8("101\n😀"), &error));
    QVERIFY(error.contains(QString::fromUtf8("😀")));
    QVERIFY(!editor.isModified());
}

QTEST_GUILESS_MAIN(SentakuMemberEditorTest)
#include "SentakuMemberEditorTest.moc"
