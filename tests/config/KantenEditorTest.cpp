#include "config/KantenEditor.h"
#include "common/DataPaths.h"
#include "common/IniFile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace tavro;

using Length = KantenEditor::Length;
using Kind = KantenEditor::Kind;

class KantenEditorTest : public QObject {
    Q_OBJECT

private slots:
    void switchingWithoutEditsWritesNothing();
    void editedSectionIsWrittenWholeBeforeTheSwitch();
    void defaultsMarkTheSectionModified();
    void unencodableTextIsRefused();
    void importReloadsTheSectionShown();
};

void KantenEditorTest::switchingWithoutEditsWritesNothing() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    KantenEditor editor(folder, 2024, 1);
    QCOMPARE(editor.section(), QString("国語"));
    QVERIFY(editor.select(Kind::Compulsory, 1));
    QCOMPARE(editor.section(), QString("社会"));
    QVERIFY(editor.saveIfModified());
    QVERIFY(!QFileInfo::exists(paths::kantenFile(folder, 2024)));
    QVERIFY(QFileInfo::exists(paths::yearFolder(folder, 2024))); // created by the switch
}

void KantenEditorTest::editedSectionIsWrittenWholeBeforeTheSwitch() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    KantenNames elective;
    elective.shortName[0] = "聞く";
    QVERIFY(kanten::save(folder, 2024, "選択国語", elective));

    KantenEditor editor(folder, 2024, 1);
    QVERIFY(editor.setText(2, Length::Medium, "思考・判断"));
    QVERIFY(editor.isModified());
    QVERIFY(editor.select(Kind::Elective, 0));
    QCOMPARE(editor.section(), QString("選択国語"));
    QCOMPARE(editor.text(1, Length::Short), QString("聞く"));
    QVERIFY(!editor.isModified());

    const IniFile ini(kanten::filePath(folder, 2024));
    QCOMPARE(ini.keys("国語").size(), 18);
    QCOMPARE(ini.readString("国語", "kanten2m"), QString("思考・判断"));
    QVERIFY(ini.valueExists("国語", "kanten6l"));
}

void KantenEditorTest::defaultsMarkTheSectionModified() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    KantenEditor editor(folder, 2024, 0);
    QCOMPARE(editor.subjects().at(2), QString("算数"));
    QVERIFY(editor.select(Kind::Compulsory, 2));
    QVERIFY(editor.setText(1, Length::Long, "長い表記"));
    QVERIFY(editor.setText(5, Length::Short, "五"));
    editor.fillDefaults();
    QVERIFY(editor.saveIfModified());
    const KantenNames saved = kanten::load(folder, 2024, "算数");
    QCOMPARE(saved.shortName[2], QString("態度"));
    QCOMPARE(saved.shortName[4], QString());
    QCOMPARE(saved.longName[0], QString("長い表記"));
}

void KantenEditorTest::unencodableTextIsRefused() {
    QTemporaryDir dir;
    KantenEditor editor(dir.path() + '/', 2024, 1);
    QString error;
    QVERIFY(!editor.setText(1, Length::Short, QString::fromUtf8("知識😀"), &error));
    QVERIFY(error.contains(QString::fromUtf8("😀")));
    QVERIFY(!editor.isModified());
    QCOMPARE(editor.text(1, Length::Short), QString());
}

void KantenEditorTest::importReloadsTheSectionShown() {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    KantenEditor editor(folder, 2024, 1);
    QString error;
    QCOMPARE(editor.importPreviousYear(&error), kanten::ImportResult::NoPreviousFile);
    QCOMPARE(error, kanten::noPreviousFileMessage());

    KantenNames previous;
    previous.fillDefaults();
    QVERIFY(kanten::save(folder, 2023, "国語", previous));
    QVERIFY(editor.setText(1, Length::Short, "編集中"));
    QCOMPARE(editor.importPreviousYear(), kanten::ImportResult::Imported);
    QCOMPARE(editor.names(), previous);
    QVERIFY(!editor.isModified());
}

QTEST_GUILESS_MAIN(KantenEditorTest)
#include "KantenEditorTest.moc"
