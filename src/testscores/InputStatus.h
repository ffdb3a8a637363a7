#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tavro {

// The cells of the three input-status views: head counts of entered scores and evaluations per
// class half (tests, evaluations) or per elective and class. The counts of the evaluation files are
// in evaluation/EvaluationInputStatus.
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

// The class count of a grade from the year settings, at most 12.
int classCountOf(const QString &dataFolder, int nendo, int grade);

// Numbers up to this count in a class make its "M" half, the rest its "F" half.
inline constexpr int kHalf = 30;
// The row labels class + "組M", class + "組F" of `classCount` classes.
QStringList halfRowLabels(int classCount, bool classType);
// The table of `subjects` with a blank row per class half, before any file is counted.
InputStatusTable blankTable(const QStringList &subjects, int classCount, bool classType);
// Reads a file the index found; false (and the file listed in `table.damaged`) when it could not be read.
bool readFound(const QString &path, QByteArray &bytes, InputStatusTable &table);

} // namespace inputstatus

} // namespace tavro
