#include "app/DemoEvaluation.h"

#include "app/DemoSchool.h"
#include "common/DataPaths.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/Calculation.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/Statistics.h"
#include "evaluation/WorksheetFile.h"
#include "platform/Prompter.h"

#include <QDir>
#include <memory>

namespace tavro::demo {

namespace {

// Takes the default answer and keeps what was shown.
class CollectingPrompter final : public Prompter {
public:
    Answer ask(const QString &, const QString &text, Buttons, Answer defaultAnswer, Icon) override {
        shown.append(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
        return defaultAnswer;
    }
    QStringList shown;
};

} // namespace

bool calculateFirstPeriod(const QString &dataFolder, int nendo, const Clock &clock, QString *error,
                          QStringList *written) {
    const QString folder = paths::withTrailingSeparator(dataFolder);
    const YearSettings settings = YearSettings::load(folder, nendo);
    const QString year = QString::number(nendo);
    for (const QString &teacher : DemoSchool::teacherNames()) {
        const QDir dir(paths::worksheetFolder(folder, teacher));
        const QStringList files = dir.entryList({year + QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            const int grade = file.mid(year.size(), 1).toInt();
            const QString subject = file.mid(year.size() + 1).chopped(4);
            if (grade < 1 || grade > 6 || subject.isEmpty())
                continue;
            const QString path = paths::worksheetFile(folder, teacher, nendo, grade, subject);
            auto worksheet = std::make_unique<Worksheet>();
            auto results = std::make_unique<EvaluationResults>();
            CollectingPrompter prompter;
            WorksheetFile::load(path, *worksheet, &prompter);
            std::vector<int> classes, rows;
            for (int cls = 1; cls <= settings.classCount[std::size_t(grade - 1)]; ++cls) {
                classes.push_back(cls);
                for (int n = 1; n <= kSeatsPerClass; ++n)
                    rows.push_back(slotOf(cls, n));
            }
            ItemStatistics statistics;
            estimate::run(*worksheet, rows, estimate::methodOf(settings.mikomiPatern), statistics);
            QString why;
            if (!WorksheetFile::save(path, *worksheet, &why)) {
                if (error)
                    *error = why;
                return false;
            }
            EvaluationSheet sheet{*worksheet, *results, settings,
                                  false,      rows,     roster::readNames(folder, nendo, grade)};
            sheet.names.resize(kSlots);
            const ResultTarget target{folder, nendo, grade, subject, false, classes, {}};
            const calculation::Report report = calculation::calculate(sheet, 1, prompter, clock, &target);
            if (report.outcome != calculation::Outcome::Calculated) {
                if (error)
                    *error = QStringLiteral("%1 の評定計算ができませんでした: %2")
                                 .arg(QDir::toNativeSeparators(path), prompter.shown.join(QLatin1Char(' ')));
                return false;
            }
            // Comments for most students, so the comment lists and the copies show some.
            const QStringList comments = {QStringLiteral("意欲的に学習に取り組み、発表も積極的でした。"),
                                          QStringLiteral("学習内容をよく理解しています。"),
                                          QStringLiteral("基礎が身についています。復習を続けましょう。"),
                                          QStringLiteral("提出物をきちんと出せるようにしましょう。")};
            for (int slot : rows) {
                StudentResult &r = results->at(1, slot);
                if (r.evaluation.isEmpty() || slot % 3 == 2)
                    continue;
                const int e = r.evaluation.toInt();
                r.comment = comments[e >= 5 ? 0 : e == 4 ? 1 : e == 3 ? 2 : 3];
            }
            if (!target.save(*results, &why)) {
                if (error)
                    *error = why;
                return false;
            }
            if (written)
                for (int cls : classes)
                    written->append(paths::classResultFile(folder, nendo, grade, cls, subject));
        }
    }
    return true;
}

} // namespace tavro::demo
