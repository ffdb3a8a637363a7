#pragma once

#include <QString>
#include <vector>

// Paths of the evaluation files in the data folder ('/' separators).
namespace tavro::paths {

// `DataFolder` + teacher name: the folder of the teacher's worksheets.
QString worksheetFolder(const QString &dataFolder, const QString &teacherName);
// `DataFolder` + teacher + "/" + year + grade + subject + ".dat" (山田/20241国語.dat).
QString worksheetFile(const QString &dataFolder, const QString &teacherName, int nendo, int grade,
                      const QString &kyouka);
// `YearFolder` + "/Hyoutei".
QString hyouteiFolder(const QString &dataFolder, int nendo);
// `YearFolder` + "/Hyoutei/" + grade + "0" + decimal class + subject + ".dat" (103国語.dat).
QString classResultFile(const QString &dataFolder, int nendo, int grade, int cls, const QString &kyouka);
// `YearFolder` + "/Sentaku".
QString sentakuFolder(const QString &dataFolder, int nendo);
// `YearFolder` + "/Sentaku/" + grade + elective + ".dat".
QString electiveResultFile(const QString &dataFolder, int nendo, int grade, const QString &elective);

} // namespace tavro::paths

namespace tavro {

// The classes named by `ChargeClasses`, one character per class: "1".."9" are classes 1..9 and the
// three characters that follow "9" in code order (":", ";", "<") classes 10..12, i.e. the class is
// the character's code minus that of "0". Other characters and repeats are left out.
std::vector<int> chargeClassNumbers(const QString &chargeClasses);
// The inverse: one character per class 1..12.
QString chargeClassesText(const std::vector<int> &classes);

} // namespace tavro
