#include "testscores/TestPaths.h"

#include "common/DataPaths.h"

namespace tavro::paths {

QString testFolder(const QString &dataFolder, int nendo) {
    return yearFolder(dataFolder, nendo) + QStringLiteral("/Test");
}

QString fullScoreFile(const QString &dataFolder, int nendo, const QString &testCode, int grade,
                      const QString &kyouka) {
    return testFolder(dataFolder, nendo) + u'/' + testCode + QString::number(grade) + QStringLiteral("00") +
           kyouka + QStringLiteral(".def");
}

QString classScoreFile(const QString &dataFolder, int nendo, const QString &testCode, int grade, int cls,
                       const QString &kyouka) {
    return testFolder(dataFolder, nendo) + u'/' + testCode + QString::number(grade) + u'0' +
           QString::number(cls) + kyouka + QStringLiteral(".dat");
}

} // namespace tavro::paths
