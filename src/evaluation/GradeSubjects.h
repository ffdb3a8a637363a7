#pragma once

#include <QStringList>

// The subjects of the grade-wide evaluation documents by school kind: ten file subjects (the result
// files, physical education split into boys "B" and girls "G") and nine display subjects (the PE pair
// merged).
namespace tavro::gradesubjects {

QStringList fileSubjects(int schoolKind);
QStringList displaySubjects(int schoolKind);
// The position (from 0) of the boys' PE file subject (体育B 7, 保体B 6); the girls' follows it. The
// display subject of the same position is the merged PE entry.
constexpr int physicalEducation(int schoolKind) {
    return schoolKind == 0 ? 7 : 6;
}
// The file subject (from 0) that display subject `display` (from 0) takes; for PE the boys' entry.
constexpr int fileOfDisplay(int schoolKind, int display) {
    return display <= physicalEducation(schoolKind) ? display : display + 1;
}
// The viewpoints a display subject reports to the school-affairs system and on the grade-wide
// papers: 5 for 国語, 3 for 生活, 4 for the others.
int viewpointCount(const QString &displaySubject);

} // namespace tavro::gradesubjects
