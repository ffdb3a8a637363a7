#include "app/DemoEvaluation.h"

#include "app/DemoSchool.h"
#include "app/Startup.h"
#include "common/DataPaths.h"
#include "config/Electives.h"
#include "config/KantenFile.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/Calculation.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/GradeSubjects.h"
#include "evaluation/Statistics.h"
#include "evaluation/WorksheetFile.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QRandomGenerator>
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

// The symbol of `percentage` in a pattern: the first whose cut point it reaches.
QString symbolOf(const SymbolPattern &pattern, float percentage) {
    const int count = pattern.symbolCount();
    for (int i = 0; i + 1 < count; ++i)
        if (percentage >= float(pattern.cutPoint[std::size_t(i)]))
            return pattern.kigou[std::size_t(i)];
    return count > 0 ? pattern.kigou[std::size_t(count - 1)] : QString();
}

// A result of period 1 around the student's ability: the viewpoints, their marks and the evaluation.
// Three viewpoints weigh 40, 40 and 20; more weigh alike.
StudentResult demoResult(const YearSettings &settings, quint32 seed, int ability, int viewpoints) {
    QRandomGenerator rng(seed);
    StudentResult r;
    float sum = 0;
    for (int v = 0; v < viewpoints; ++v) {
        const float p = float(qBound(0, ability + int(rng.bounded(31)) - 15, 100));
        r.viewpointPercentages[std::size_t(v)] = p;
        r.marks[std::size_t(v)] = symbolOf(settings.patterns[1], p);
        sum += viewpoints == 3 ? p * (v == 2 ? 0.2f : 0.4f) : p / float(viewpoints);
    }
    r.percentage = float(qRound(sum * 10)) / 10;
    r.evaluation = symbolOf(settings.patterns[0], r.percentage);
    return r;
}

int demoAbility(int nendo, int grade, int slot) {
    return 30 + int(QRandomGenerator(quint32(nendo * 7919 + grade * 1000 + slot)).bounded(65));
}

bool isStudent(const QString &name) {
    return !name.isEmpty() && !name.startsWith(QStringLiteral("＊"));
}

} // namespace

bool writeGradeResults(const QString &dataFolder, int nendo, const Clock &clock, QString *error,
                       QStringList *written) {
    const QString folder = paths::withTrailingSeparator(dataFolder);
    const YearSettings settings = YearSettings::load(folder, nendo);
    const int schoolKind = MainSettings::load(folder).schoolKind;
    const QStringList subjects = gradesubjects::fileSubjects(schoolKind);
    const int pe = gradesubjects::physicalEducation(schoolKind);
    const double now = toDayCount(clock.now());
    const QStringList electiveLines = electives::readLines(folder, nendo);
    for (int grade = 1; grade <= 6; ++grade) {
        const int classCount = std::min(settings.classCount[std::size_t(grade - 1)], kMaxClasses);
        if (classCount <= 0)
            continue;
        const std::vector<QString> names = roster::readNames(folder, nendo, grade);
        auto nameOf = [&](int slot) {
            return slot < int(names.size()) ? names[std::size_t(slot)] : QString();
        };
        for (int s = 0; s < subjects.size(); ++s) {
            // As many viewpoints as the definitions use (at least one).
            const int viewpoints =
                std::clamp(kanten::load(folder, nendo, kanten::sectionForSubject(subjects[s])).usedCount(), 1,
                           kViewpoints);
            for (int cls = 1; cls <= classCount; ++cls) {
                const QString path = paths::classResultFile(folder, nendo, grade, cls, subjects[s]);
                if (paths::fileExists(path))
                    continue;
                auto results = std::make_unique<EvaluationResults>();
                for (int n = 1; n <= kSeatsPerClass; ++n) {
                    const int slot = slotOf(cls, n);
                    if (!isStudent(nameOf(slot)) || (s == pe && n % 2 == 0) || (s == pe + 1 && n % 2 == 1))
                        continue;
                    results->at(1, slot) =
                        demoResult(settings, quint32(nendo + grade * 100000 + s * 1000 + slot),
                                   demoAbility(nendo, grade, slot), viewpoints);
                }
                results->dateTime(1) = now;
                if (!ClassResultFile::save(path, *results, cls, error))
                    return false;
                if (written)
                    written->append(path);
            }
        }
        for (const QString &line : electiveLines) {
            if (electives::gradeOf(line) != grade)
                continue;
            const QString name = electives::nameOf(line);
            QStringList memberLines;
            if (!memberlist::read(folder, nendo, grade, name, memberLines, error))
                return false;
            const QString path = paths::electiveResultFile(folder, nendo, grade, name);
            if (paths::fileExists(path))
                continue;
            auto results = std::make_unique<EvaluationResults>();
            std::vector<int> seats;
            for (int code : memberlist::members(memberLines)) {
                const int slot = slotOfCode(code);
                if (slot < 0 || !isStudent(nameOf(slot)))
                    continue;
                seats.push_back(slot);
                results->at(1, slot) =
                    demoResult(settings, quint32(nendo + grade * 100000 + 77 * 1000 + slot),
                               demoAbility(nendo, grade, slot) + 5, 3);
            }
            results->dateTime(1) = now;
            if (!ElectiveResultFile::save(path, *results, seats, error))
                return false;
            if (written)
                written->append(path);
        }
    }
    return true;
}

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
