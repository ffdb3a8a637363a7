#include "evaluation/EvaluationPaths.h"

#include "common/DataPaths.h"
#include "evaluation/Worksheet.h"

#include <algorithm>

namespace tavro::paths {

QString worksheetFolder(const QString &dataFolder, const QString &teacherName) {
    return withTrailingSeparator(dataFolder) + teacherName;
}

QString worksheetFile(const QString &dataFolder, const QString &teacherName, int nendo, int grade,
                      const QString &kyouka) {
    return worksheetFolder(dataFolder, teacherName) + u'/' + QString::number(nendo) + QString::number(grade) +
           kyouka + QStringLiteral(".dat");
}

QString hyouteiFolder(const QString &dataFolder, int nendo) {
    return yearFolder(dataFolder, nendo) + QStringLiteral("/Hyoutei");
}

QString classResultFile(const QString &dataFolder, int nendo, int grade, int cls, const QString &kyouka) {
    return hyouteiFolder(dataFolder, nendo) + u'/' + QString::number(grade) + u'0' + QString::number(cls) +
           kyouka + QStringLiteral(".dat");
}

QString sentakuFolder(const QString &dataFolder, int nendo) {
    return yearFolder(dataFolder, nendo) + QStringLiteral("/Sentaku");
}

QString electiveResultFile(const QString &dataFolder, int nendo, int grade, const QString &elective) {
    return sentakuFolder(dataFolder, nendo) + u'/' + QString::number(grade) + elective +
           QStringLiteral(".dat");
}

} // namespace tavro::paths

namespace tavro {

std::vector<int> chargeClassNumbers(const QString &chargeClasses) {
    std::vector<int> classes;
    for (QChar ch : chargeClasses) {
        const int cls = int(ch.unicode()) - int(u'0');
        if (isClass(cls) && std::find(classes.begin(), classes.end(), cls) == classes.end())
            classes.push_back(cls);
    }
    return classes;
}

QString chargeClassesText(const std::vector<int> &classes) {
    QString text;
    for (int cls : classes)
        if (isClass(cls))
            text.append(QChar(char16_t(u'0' + cls)));
    return text;
}

} // namespace tavro
