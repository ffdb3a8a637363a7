#include "evaluation/GradePeriodResults.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "config/Roster.h"
#include "config/YearSettings.h"
#include "evaluation/ClassResultFile.h"
#include "evaluation/EvaluationPaths.h"
#include "evaluation/GradeSubjects.h"
#include "platform/Prompter.h"

#include <algorithm>
#include <cmath>

namespace tavro {

namespace {

struct PeriodSink {
    int period;
    int cls;
    std::vector<GradePeriodResults::Entry> &entries;
    GradePeriodResults::Entry &at(int n) { return entries[std::size_t(slotOf(cls, n))]; }
    void evaluation(int k, int n, const char *data, int size) {
        if (k == period)
            at(n).evaluation = cp932::decode(data, size);
    }
    void percentage(int k, int n, float v) {
        if (k == period)
            at(n).percentage = std::isfinite(v) ? v : -1.0f;
    }
    void mark(int, int, int, const char *, int) {}
    void viewpointPercentage(int, int, int, float) {}
    void comment(int k, int n, const char *data, int size) {
        if (k == period)
            at(n).comment = cp932::decode(data, size);
    }
    void dateTime(int, double) {}
};

} // namespace

bool GradePeriodResults::load(const QString &dataFolder, int nendo, int grade, int schoolKind, int period,
                              GradePeriodResults &out, Prompter *prompter, QString *error) {
    out = GradePeriodResults();
    out.nendo = nendo;
    out.grade = grade;
    out.period = period;
    if (schoolKind != 0 && schoolKind != 1) {
        if (error)
            *error = QStringLiteral("校種の設定 (%1) が正しくありません。").arg(schoolKind);
        return false;
    }
    out.fileSubjects = gradesubjects::fileSubjects(schoolKind);
    out.displaySubjects = gradesubjects::displaySubjects(schoolKind);
    out.physicalEducation = gradesubjects::physicalEducation(schoolKind);
    const YearSettings settings = YearSettings::load(dataFolder, nendo);
    out.classCount = grade >= 1 && grade <= 6
                         ? std::clamp(settings.classCount[std::size_t(grade - 1)], 0, kMaxClasses)
                         : 0;
    out.names = roster::readNames(dataFolder, nendo, grade);
    out.names.resize(kSlots);
    out.entries.assign(std::size_t(out.fileSubjects.size()), std::vector<Entry>(kSlots));
    bool warned = false;
    for (qsizetype s = 0; s < out.fileSubjects.size(); ++s)
        for (int cls = 1; cls <= out.classCount; ++cls) {
            QByteArray bytes;
            if (!readWholeFile(paths::resolveExisting(paths::classResultFile(dataFolder, nendo, grade, cls,
                                                                             out.fileSubjects[s])),
                               bytes))
                continue;
            ReadReport report;
            PeriodSink sink{period, cls, out.entries[std::size_t(s)]};
            format::parseClassResult(bytes, sink, report);
            if (report.tooNew && !warned && prompter) {
                prompter->message(QStringLiteral("TAVRO"), tooNewVersionMessage(), Prompter::Icon::Warning);
                warned = true;
            }
        }
    return true;
}

int GradePeriodResults::fileSubjectFor(int display, int slot) const {
    if (display == physicalEducation)
        return entries[std::size_t(display)][std::size_t(slot)].evaluation.isEmpty() ? display + 1 : display;
    return display < physicalEducation ? display : display + 1;
}

} // namespace tavro
