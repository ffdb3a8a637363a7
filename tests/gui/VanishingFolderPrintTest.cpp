// The evaluation window's print while the data folder is gone (an unplugged network drive).
#include "app/DemoEvaluation.h"
#include "app/DemoSchool.h"
#include "config/YearSettings.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/WorksheetFile.h"
#include "evaluation/ui/Hyoutei1Form.h"
#include "support/gui/GuiFixture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tavro;
using tavro::test::GuiFixture;

class VanishingFolderPrintTest : public QObject {
    Q_OBJECT

private slots:
    // The papers must match the files: with the folder gone the print reports the failed save, opens no
    // print window, keeps the edit and creates no folder; with the folder back it saves and opens.
    void printReportsTheMissingFolder() {
        GuiFixture f;
        test::FixedClock clock;
        QVERIFY(f.writeDemoSchool());
        QVERIFY(demo::calculateFirstPeriod(f.dataFolder(), GuiFixture::kNendo, clock, nullptr));
        EvaluationContext c;
        c.mainCaption = QStringLiteral("成績処理");
        c.dataFolder = f.dataFolder();
        c.nendo = GuiFixture::kNendo;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.chargeClasses = QStringLiteral("123");
        c.teacherName = DemoSchool::teacherNames().at(1);
        THyoutei1Form w(c, f.platform());
        QVERIFY(GuiFixture::showAt(&w, QSize(1280, 800)));
        EvaluationSession &s = w.session();
        QVERIFY(!s.readOnly());
        const int slot = s.rows().front();
        s.setScore(1, slot, 6);
        s.markModified();
        auto *print = GuiFixture::child<QPushButton>(&w, "PrintButton");
        QVERIFY(print && print->isEnabled());

        QStringList opened;
        QTimer closer;
        closer.setInterval(10);
        connect(&closer, &QTimer::timeout, [&] {
            if (QWidget *window = QApplication::activeModalWidget(); window && window != &w) {
                opened.append(window->objectName());
                window->close();
            }
        });
        closer.start();

        const QString folder = QDir::cleanPath(f.dataFolder());
        QVERIFY(QDir().rename(folder, folder + "-away"));
        f.prompter().clear();
        print->click();
        QVERIFY2(opened.isEmpty(), qPrintable(opened.join(',')));
        const QString shown = f.prompter().texts().join('\n');
        QVERIFY2(shown.contains(QFileInfo(s.worksheetPath()).fileName()) && shown.contains("保存できません"),
                 qPrintable(shown));
        QVERIFY(s.isModified());
        QVERIFY(!QFileInfo::exists(folder));

        QVERIFY(QDir().rename(folder + "-away", folder));
        f.prompter().clear();
        print->click();
        QTRY_COMPARE(opened, QStringList{"TPrintHyoutei1Form"});
        QVERIFY(!s.isModified());
        Worksheet stored;
        WorksheetFile::load(s.worksheetPath(), stored, nullptr);
        QCOMPARE(stored.score(1, slot), 6);
        closer.stop();
        f.prompter().script({Prompter::Answer::No});
        w.reject();
    }
};

QTEST_MAIN(VanishingFolderPrintTest)
#include "VanishingFolderPrintTest.moc"
