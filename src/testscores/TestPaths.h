#pragma once

#include <QString>

// Paths of the test files: `YearFolder` + "/Test/" + test code + grade + class part + subject + extension.
namespace tavro::paths {

// `YearFolder` + "/Test".
QString testFolder(const QString &dataFolder, int nendo);
// Full scores of a test: class part "00", extension ".def" (A100国語.def).
QString fullScoreFile(const QString &dataFolder, int nendo, const QString &testCode, int grade,
                      const QString &kyouka);
// Scores of one class: class part "0" + decimal class, extension ".dat" (A103国語.dat).
QString classScoreFile(const QString &dataFolder, int nendo, const QString &testCode, int grade, int cls,
                       const QString &kyouka);

} // namespace tavro::paths
