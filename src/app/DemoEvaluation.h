#pragma once

#include <QString>
#include <QStringList>

// The evaluation step of the demo school: the worksheets the demo writes get their estimates and the
// calculation of the first period, so the demo shows results.
namespace tavro {

class Clock;

namespace demo {

// For every worksheet of the demo teachers in year `nendo`: the automatic estimate of its "*" scores
// (saved with the worksheet), then the calculation of period 1 for all classes of the grade with the
// result files saved. `written` receives the files written. False with a message when a worksheet
// could not be calculated or saved.
bool calculateFirstPeriod(const QString &dataFolder, int nendo, const Clock &clock, QString *error,
                          QStringList *written = nullptr);

// Results of period 1 for the required subjects that have no result file yet and for the electives
// with members, generated per student, so the grade aggregation shows a full grade. PE goes to the
// boys' file for odd numbers and the girls' for even ones. False with a message when a file could not
// be saved.
bool writeGradeResults(const QString &dataFolder, int nendo, const Clock &clock, QString *error,
                       QStringList *written = nullptr);

} // namespace demo
} // namespace tavro
