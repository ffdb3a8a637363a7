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

} // namespace demo
} // namespace tavro
