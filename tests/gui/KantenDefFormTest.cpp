#include "config/ui/KantenDefForm.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/IniFile.h"
#include "config/KantenFile.h"
#include "support/gui/GuiFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tavro;
using tavro::test::GuiFixture;

namespace {

const QString kCaption = QStringLiteral("成績処理TAVRO for Windows Ver.5");

QLineEdit *box(const QDialog &form, int viewpoint, char kind) {
    return GuiFixture::child<QLineEdit>(&form,
                                        QStringLiteral("Kanten%1%2").arg(viewpoint).arg(QLatin1Char(kind)));
}

void click(const QDialog &form, const QString &name) {
    QTest::mouseClick(GuiFixture::child<QAbstractButton>(&form, name), Qt::LeftButton);
}

} // namespace

class KantenDefFormTest : public QObject {
    Q_OBJECT

private slots:
    void sectionIsSavedOnlyWhenEdited();
    void importOfThePreviousYear();
};

void KantenDefFormTest::sectionIsSavedOnlyWhenEdited() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    const QString path = paths::kantenFile(f.dataFolder(), GuiFixture::kNendo);
    QVERIFY(QFile::remove(path)); // a year whose viewpoints are not defined yet
    TKantenDefForm form(f.platform(), kCaption, GuiFixture::kNendo, f.dataFolder(), 1);
    QVERIFY(GuiFixture::showAt(&form, QSize(860, 470)));
    QCOMPARE(form.windowTitle(), kCaption + " - 観点の定義 (2024年度)");
    QCOMPARE(GuiFixture::child<QRadioButton>(&form, "KyoukaRadio9")->text(), QString("技家"));
    QCOMPARE(form.editor().section(), QString("国語"));

    click(form, "KyoukaRadio2");
    QCOMPARE(form.editor().section(), QString("社会"));
    QVERIFY(!QFileInfo::exists(path));

    QLineEdit *medium = box(form, 2, 'M');
    medium->setFocus();
    GuiFixture::typeText(medium, "資料活用");
    GuiFixture::typeText(medium, QString::fromUtf8("😀")); // refused
    QVERIFY(f.lastMessage().contains(QString::fromUtf8("😀")));
    QCOMPARE(medium->text(), QString("資料活用"));
    click(form, "SentakuRadio");
    QCOMPARE(form.editor().section(), QString("選択社会"));
    QCOMPARE(medium->text(), QString());
    {
        const IniFile ini(path);
        QCOMPARE(ini.keys("社会").size(), 18);
        QCOMPARE(ini.readString("社会", "kanten2m"), QString("資料活用"));
        QVERIFY(!ini.sectionExists("国語"));
    }

    click(form, "DefaultButton");
    QCOMPARE(box(form, 3, 'S')->text(), QString("態度"));
    click(form, "OKButton");
    QCOMPARE(form.result(), int(QDialog::Accepted));
    const KantenNames saved = kanten::load(f.dataFolder(), GuiFixture::kNendo, "選択社会");
    QCOMPARE(saved.mediumName[0], QString("知識・技能"));
    QCOMPARE(saved.usedCount(), 3);
}

void KantenDefFormTest::importOfThePreviousYear() {
    GuiFixture f;
    QVERIFY(f.writeDemoSchool());
    const int nendo = GuiFixture::kNendo;
    KantenNames own;
    own.shortName[0] = "書く";
    QVERIFY(kanten::save(f.dataFolder(), nendo, "書写", own));

    TKantenDefForm form(f.platform(), kCaption, nendo, f.dataFolder(), 1);
    QVERIFY(GuiFixture::showAt(&form, QSize(860, 470)));
    click(form, "ImportButton");
    QCOMPARE(f.prompter().shown().size(), 1);
    QCOMPARE(f.prompter().shown().last().caption, QString("TAVRO"));
    QCOMPARE(f.lastMessage(), kanten::noPreviousFileMessage());

    KantenNames previous;
    previous.fillDefaults();
    previous.longName[0] = "前年度の長い表記";
    for (const char *section : {"国語", "選択技家", "書写", "算数"})
        QVERIFY(kanten::save(f.dataFolder(), nendo - 1, section, previous));
    box(form, 1, 'S')->setFocus();
    GuiFixture::typeText(box(form, 1, 'S'), "未保存");
    click(form, "ImportButton");
    QCOMPARE(box(form, 1, 'L')->text(), QString("前年度の長い表記"));
    QCOMPARE(box(form, 1, 'S')->text(), QString("知識"));

    QByteArray before;
    QVERIFY(readWholeFile(kanten::filePath(f.dataFolder(), nendo), before));
    form.reject();
    QByteArray after;
    QVERIFY(readWholeFile(kanten::filePath(f.dataFolder(), nendo), after));
    QCOMPARE(after, before); // nothing more written on close

    const IniFile ini(kanten::filePath(f.dataFolder(), nendo));
    QCOMPARE(kanten::read(ini, "選択技家"), previous);
    QCOMPARE(kanten::read(ini, "書写"), own); // not a subject of the school kind
    QVERIFY(!ini.sectionExists("算数"));
    QCOMPARE(ini.sections().size(), 19);
}

QTEST_MAIN(KantenDefFormTest)
#include "KantenDefFormTest.moc"
