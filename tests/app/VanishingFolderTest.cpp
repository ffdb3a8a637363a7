// The data folder disappears while a window is open (an unplugged network drive) and comes back.
#include "app/DemoSchool.h"
#include "common/FileSave.h"
#include "evaluation/EvaluationSession.h"
#include "evaluation/WorksheetFile.h"
#include "support/ScoreEntrySchool.h"
#include "support/TestDoubles.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace tavro;
using Answer = Prompter::Answer;

namespace {

// Renames the data folder away and back; back at the latest when it goes out of scope.
class Unplugged {
public:
    explicit Unplugged(const QString &folder)
        : m_folder(QDir::cleanPath(folder)), m_away(m_folder + QStringLiteral("-away")) {}
    ~Unplugged() { plugIn(); }
    bool unplug() { return QDir().rename(m_folder, m_away); }
    void plugIn() {
        if (QFileInfo::exists(m_away) && !QFileInfo::exists(m_folder))
            QDir().rename(m_away, m_folder);
    }
    bool gone() const { return !QFileInfo::exists(m_folder); }

private:
    QString m_folder, m_away;
};

bool namesFileAndReason(const QString &error, const QString &fileName) {
    return error.contains(fileName) && error.contains(QStringLiteral("保存できません"));
}

} // namespace

class VanishingFolderTest : public QObject {
    Q_OBJECT

private slots:
    // Score entry: the save, the full scores and the close report the missing folder, keep the
    // edits and create nothing; once the folder is back the next save writes every class.
    void scoreEntry() {
        test::School school;
        school.writeFull({100, 40, 40, 20, 0, 0, 0});
        ScoreEntrySession s(school.context());
        QVERIFY(s.load(school.prompter));
        s.setCursor(0, 1, 1);
        test::typeKeys(s, QStringLiteral("35"));
        s.setCursor(2, 1, 1);
        test::typeKeys(s, QStringLiteral("12"));
        QVERIFY(s.isModified());

        Unplugged drive(school.folder);
        QVERIFY(drive.unplug());
        QString error;
        QVERIFY(!s.save(&error));
        QVERIFY2(namesFileAndReason(error, QFileInfo(school.classFile(1)).fileName()), qPrintable(error));
        QVERIFY(s.isModified());
        QCOMPARE(s.score(0, 1, 1), 35);
        QVERIFY(!s.setViewpointFullScores({100, 50, 30, 20, 0, 0}, &error));
        QVERIFY2(namesFileAndReason(error, QFileInfo(school.fullFile()).fileName()), qPrintable(error));
        QVERIFY(!s.copyAllText().isEmpty()); // the copy needs no file
        school.prompter.script({Answer::Cancel});
        QVERIFY(!s.closeQuery(school.prompter));
        QVERIFY(school.prompter.texts().join(u'\n').contains(QFileInfo(school.classFile(1)).fileName()));
        QVERIFY(drive.gone());

        drive.plugIn();
        QVERIFY2(s.save(&error), qPrintable(error));
        QVERIFY(!s.isModified());
        QCOMPARE(school.readClass(1).student(1)[1], 35);
        QCOMPARE(school.readClass(2).student(1)[1], 12);
    }

    // Evaluation: the calculation, the save and the close report the missing folder and keep the
    // results and edits pending; once the folder is back the next save writes the worksheet and the
    // results.
    void evaluation() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/data/");
        QString error;
        QVERIFY2(DemoSchool::write(folder, test::kYear, &error), qPrintable(error));
        EvaluationContext c;
        c.mainCaption = QStringLiteral("成績処理");
        c.dataFolder = folder;
        c.nendo = test::kYear;
        c.grade = 1;
        c.kyouka = QStringLiteral("国語");
        c.chargeClasses = QStringLiteral("12");
        c.teacherName = QStringLiteral("井上和子");
        test::ScriptedPrompter prompter;
        test::FixedClock clock;
        EvaluationSession s(c);
        s.load(prompter);
        QVERIFY(!s.readOnly());
        const int slot = s.rows().front();
        s.setScore(1, slot, 7);
        s.markModified();
        const QString worksheetName = QFileInfo(s.worksheetPath()).fileName();

        Unplugged drive(folder);
        QVERIFY(drive.unplug());
        QVERIFY(!s.save(&error));
        QVERIFY2(namesFileAndReason(error, worksheetName), qPrintable(error));
        QVERIFY(s.isModified());

        prompter.clear();
        s.autoEstimate(); // the "*" scores the calculation requires
        const calculation::Report report = s.calculate(1, prompter, clock);
        QVERIFY2(report.outcome == calculation::Outcome::SaveFailed,
                 qPrintable(prompter.texts().join(u'\n')));
        QVERIFY2(!report.saveError.isEmpty(), qPrintable(prompter.texts().join(u'\n')));
        QVERIFY(s.resultsPending());
        QVERIFY(s.resultsSaveFailed());

        prompter.clear();
        prompter.script({Answer::Cancel});
        QVERIFY(!s.saveForClose(prompter, false));
        QVERIFY(prompter.texts().join(u'\n').contains(QStringLiteral("保存できませんでした")));
        QVERIFY(s.isModified());
        QVERIFY(drive.gone());

        drive.plugIn();
        QVERIFY2(s.save(&error), qPrintable(error));
        QVERIFY(!s.isModified());
        QVERIFY(!s.resultsPending());
        Worksheet stored;
        WorksheetFile::load(s.worksheetPath(), stored, nullptr);
        QCOMPARE(stored.score(1, slot), 7);
    }
};

QTEST_GUILESS_MAIN(VanishingFolderTest)
#include "VanishingFolderTest.moc"
