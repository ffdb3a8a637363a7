#include "evaluation/GradeSubjects.h"

namespace tavro::gradesubjects {

QStringList fileSubjects(int schoolKind) {
    if (schoolKind == 0)
        return {QStringLiteral("国語"), QStringLiteral("社会"),  QStringLiteral("算数"),
                QStringLiteral("理科"), QStringLiteral("生活"),  QStringLiteral("音楽"),
                QStringLiteral("図工"), QStringLiteral("体育B"), QStringLiteral("体育G"),
                QStringLiteral("家庭")};
    return {QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("数学"),  QStringLiteral("理科"),
            QStringLiteral("音楽"), QStringLiteral("美術"), QStringLiteral("保体B"), QStringLiteral("保体G"),
            QStringLiteral("技家"), QStringLiteral("英語")};
}

QStringList displaySubjects(int schoolKind) {
    if (schoolKind == 0)
        return {QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("算数"),
                QStringLiteral("理科"), QStringLiteral("生活"), QStringLiteral("音楽"),
                QStringLiteral("図工"), QStringLiteral("体育"), QStringLiteral("家庭")};
    return {QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("数学"),
            QStringLiteral("理科"), QStringLiteral("音楽"), QStringLiteral("美術"),
            QStringLiteral("保体"), QStringLiteral("技家"), QStringLiteral("英語")};
}

int viewpointCount(const QString &displaySubject) {
    if (displaySubject == u"国語")
        return 5;
    if (displaySubject == u"生活")
        return 3;
    return 4;
}

} // namespace tavro::gradesubjects
