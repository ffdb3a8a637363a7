#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The results of one period for every required subject of a grade, as the grade-wide lists read them:
// per file subject and student slot the evaluation, the achievement and the comment, with the roster
// names and the class count.
namespace tavro {

class Prompter;

struct GradePeriodResults {
    struct Entry {
        QString evaluation;
        float percentage = -1.0f; // -1: none (also for a value that is not a finite number)
        QString comment;
    };
    int nendo = 0;
    int grade = 0;
    int period = 0;
    int classCount = 0;
    QStringList fileSubjects;                // ten
    QStringList displaySubjects;             // nine
    int physicalEducation = 0;               // the boys' PE file subject; the girls' follows
    std::vector<QString> names;              // 720 slots
    std::vector<std::vector<Entry>> entries; // [file subject][slot]

    // The class result files of classes 1..ClassCount (at most 12) through the result reader: a file
    // too new leaves its cells empty, with one message for all (caption "TAVRO"). A school kind other
    // than 0 or 1 reads nothing (false with the message in `error`).
    static bool load(const QString &dataFolder, int nendo, int grade, int schoolKind, int period,
                     GradePeriodResults &out, Prompter *prompter, QString *error = nullptr);

    // The file subject (from 0) of display subject `display` for a student: PE takes the boys' entry
    // when its evaluation is not empty, else the girls'.
    int fileSubjectFor(int display, int slot) const;
    const Entry &entry(int fileSubject, int slot) const {
        return entries[std::size_t(fileSubject)][std::size_t(slot)];
    }
};

} // namespace tavro
