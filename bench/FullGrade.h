#pragma once

// A full grade for the aggregation benchmarks: grade 1 of 12 classes × 60 students, the ten required
// subjects of a junior high school with six viewpoints each for periods 1..3, and 51 electives of 100
// members each.
#include "common/DataPaths.h"
#include "config/Electives.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/ElectiveResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/GradeHyouteiStore.h"
#include "evaluation/GradeSubjects.h"

#include <QTemporaryDir>

#include <memory>

namespace tavro::bench {

constexpr int kGradeYear = 2024;
constexpr int kGradeClasses = 12;
constexpr int kGradeElectives = 51;

inline StudentResult sample(int seed) {
    static const QString marks[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    StudentResult r;
    r.percentage = float(30 + seed % 70);
    r.evaluation = QString::number(1 + seed % 5);
    for (int v = 0; v < kViewpoints; ++v) {
        r.viewpointPercentages[std::size_t(v)] = float(20 + (seed + v * 7) % 80);
        r.marks[std::size_t(v)] = marks[(seed + v) % 3];
    }
    return r;
}

struct FullGrade {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';

    FullGrade() {
        YearSettings y;
        y.classCount = {kGradeClasses, 0, 0, 0, 0, 0};
        y.hyouteiName[0] = QStringLiteral("1学期");
        y.save(folder, kGradeYear);
        std::vector<RosterEntry> roster(kSlots);
        for (int slot = 0; slot < kSlots; ++slot)
            roster[std::size_t(slot)].name = QStringLiteral("生徒　%1").arg(slot + 1);
        roster::write(paths::rosterFile(folder, kGradeYear, 1), roster, true);
        const QStringList subjects = gradesubjects::fileSubjects(1);
        for (int s = 0; s < subjects.size(); ++s)
            for (int cls = 1; cls <= kGradeClasses; ++cls) {
                auto r = std::make_unique<EvaluationResults>();
                for (int k = 1; k <= 3; ++k)
                    for (int n = 1; n <= kSeatsPerClass; ++n)
                        r->at(k, cls, n) = sample(s * 1000 + cls * 60 + n + k);
                ClassResultFile::save(paths::classResultFile(folder, kGradeYear, 1, cls, subjects[s]), *r,
                                      cls);
            }
        const QStringList display = gradesubjects::displaySubjects(1);
        QStringList lines;
        for (int e = 0; e < kGradeElectives; ++e) {
            const QString name = QStringLiteral("選択%1%2").arg(display[e % 9]).arg(e / 9 + 1);
            lines.append(QStringLiteral("1年") + name);
            QStringList members;
            std::vector<int> seats;
            for (int i = 0; i < 100; ++i) {
                const int slot = (e * 37 + i * 7) % kSlots;
                seats.push_back(slot);
                members.append(QString::number(classOfSlot(slot) * 100 + numberOfSlot(slot)));
            }
            memberlist::write(folder, kGradeYear, 1, name, members);
            auto r = std::make_unique<EvaluationResults>();
            for (int slot : seats)
                for (int k = 1; k <= 3; ++k)
                    r->at(k, slot) = sample(e * 31 + slot + k);
            ElectiveResultFile::save(paths::electiveResultFile(folder, kGradeYear, 1, name), *r, seats);
        }
        electives::writeLines(folder, kGradeYear, lines);
    }

    GradeHyouteiStore::Inputs inputs() const {
        return {folder, kGradeYear, 1, 1, QStringLiteral("1学期"), 1, true};
    }
};

inline FullGrade &grade() {
    static FullGrade g;
    return g;
}

} // namespace tavro::bench
