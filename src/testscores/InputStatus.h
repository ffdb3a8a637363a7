#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavro {

// The cells of the three input-status views: head counts of entered scores and evaluations per
// class half (tests, evaluations) or per elective and class.
struct InputStatusTable {
    QStringList header; // row 0
    QList<QStringList> rows;
    QStringList damaged;     // files that could not be read whole (shown in one message)
    bool tooNew = false;     // an evaluation file of version 600 or more left its cells empty
    QStringList unsafeNames; // elective names that cannot be file names, left out

    // Header and rows.
    QList<QStringList> cells() const;
    // The message for the damaged files; empty when there are none.
    QString damagedMessage() const;
    // The message for the elective names left out; empty when there are none.
    QString unsafeNamesMessage() const;
};

namespace inputstatus {

// Rows class + "組M" / class + "組F" (`ClassCount` classes of the grade, at most 12), the eleven test
// subjects: students of the half whose total is 0 or more; empty where the file is missing.
InputStatusTable tests(const QString &dataFolder, int nendo, int grade, const QString &testCode,
                       bool classType);

// The same rows; columns `subjects`: records of the class result file whose period is `kind`, in
// the "M" row for numbers up to 30, else in the "F" row; empty where the file is missing or too new.
InputStatusTable evaluations(const QString &dataFolder, int nendo, int grade, int kind,
                             const QStringList &subjects, bool classType);

// One row per elective of the grade (a name that cannot be a file name is left out and listed in
// `unsafeNames`): its name, entered + "/" + registered, and per class the
// registered members and the members with an evaluation of period `kind`.
InputStatusTable electives(const QString &dataFolder, int nendo, int grade, int kind, bool classType);

// The class count of a grade from the year settings, at most 12.
int classCountOf(const QString &dataFolder, int nendo, int grade);

} // namespace inputstatus

} // namespace tavro
