#pragma once

#include "common/DataFile.h"
#include "evaluation/FileFormat.h"
#include "evaluation/Results.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace tavro {

class Prompter;

// The result file of one class of a required subject (Hyoutei/<grade>0<class><subject>.dat): header,
// then six sections (evaluations, evaluation percentages, viewpoint marks, viewpoint percentages,
// comments, and the five calculation date-times).
class ClassResultFile {
public:
    // Parses the file of class `cls` into `results`: afterwards the entries of that class hold what
    // the file holds and nothing else (other classes stay). The date-times are taken only when
    // `takeDateTimes` is set.
    static ReadReport parse(const QByteArray &bytes, int cls, EvaluationResults &results, bool takeDateTimes);
    // Reads one file into the entries of class `cls`, as parse(); missing or unreadable: nothing read.
    // Version 600 or more: the refusal through `prompter`.
    static ReadReport load(const QString &path, int cls, EvaluationResults &results, bool takeDateTimes,
                           Prompter *prompter);

    // The bytes of the file of class `cls`. False when a text cannot be held by code page 932.
    static bool serialize(const EvaluationResults &results, int cls, QByteArray &bytes,
                          QString *error = nullptr);
    // Creates the folder one level when missing and saves atomically with one ".bak" generation.
    static bool save(const QString &path, const EvaluationResults &results, int cls,
                     QString *error = nullptr);

    struct GradeLoad {
        std::vector<int> classesRead; // classes whose file was read
        int refusedClass = 0;         // the class whose file was too new (reading stopped there)
        QStringList damaged;          // "class: problems" of files read with damage
    };
    // Resets `results` and reads the files of classes 1..`classCount` (missing files skipped),
    // taking the date-times from the files of `chargeClasses` only. A file of version 600 or more
    // shows the refusal and ends the reading.
    static GradeLoad loadGrade(const QString &dataFolder, int nendo, int grade, const QString &kyouka,
                               int classCount, const std::vector<int> &chargeClasses,
                               EvaluationResults &results, Prompter *prompter);
    // Saves the files of `chargeClasses` (the decimal class number names the file) as one: either every
    // file is written or none changes. False with the file and the reason in `error`.
    static bool saveClasses(const QString &dataFolder, int nendo, int grade, const QString &kyouka,
                            const std::vector<int> &chargeClasses, const EvaluationResults &results,
                            QString *error = nullptr);
};

namespace format {

// The class result parser. `sink` receives, in file order, every entry whose keys are in range:
//   evaluation(period, number, data, size), percentage(period, number, v),
//   mark(period, number, viewpoint, data, size), viewpointPercentage(period, number, viewpoint, v),
//   comment(period, number, data, size), dateTime(period, v).
template <class Sink> void parseClassResult(const QByteArray &bytes, Sink &sink, ReadReport &report) {
    if (!readHeader(bytes, report))
        return;
    Cursor c(bytes, kHeaderSize);
    SectionReader section(c, report);
    // The fixed fields of an entry after its key, in one run.
    auto fields = [&](qsizetype count) {
        const char *p = c.fields(count);
        if (!p)
            report.truncated = true;
        return p;
    };
    // The text whose length is the last of the fixed fields (they end at `end`).
    auto text = [&](const char *end, const char *&data, int &size) {
        switch (c.textBody(Cursor::int32At(end - 4), data, size)) {
        case Cursor::TextResult::Truncated:
            report.truncated = true;
            return false;
        case Cursor::TextResult::BadLength:
            report.badText = true;
            return false;
        case Cursor::TextResult::Ok:
            break;
        }
        return true;
    };
    auto percentage = [&](const char *p) {
        const float v = Cursor::singleAt(p);
        if (!(v >= -1.0f && v <= 1.0e6f))
            ++report.badValues;
        return v;
    };
    auto keep = [&](bool inRange) {
        if (!inRange)
            ++report.skippedEntries;
        return inRange;
    };

    // Evaluations: number, text.
    section([&](std::int32_t k) {
        const char *p = fields(8);
        const char *data = nullptr;
        int size = 0;
        if (!p || !text(p + 8, data, size))
            return false;
        const std::int32_t n = Cursor::int32At(p);
        if (keep(isPeriod(k) && isNumber(n)))
            sink.evaluation(k, n, data, size);
        return true;
    });
    // Evaluation percentages: number, single.
    section([&](std::int32_t k) {
        const char *p = fields(8);
        if (!p)
            return false;
        const std::int32_t n = Cursor::int32At(p);
        const float v = percentage(p + 4);
        if (keep(isPeriod(k) && isNumber(n)))
            sink.percentage(k, n, v);
        return true;
    });
    // Viewpoint marks: number, viewpoint, text.
    section([&](std::int32_t k) {
        const char *p = fields(12);
        const char *data = nullptr;
        int size = 0;
        if (!p || !text(p + 12, data, size))
            return false;
        const std::int32_t n = Cursor::int32At(p), vp = Cursor::int32At(p + 4);
        if (keep(isPeriod(k) && isNumber(n) && isViewpoint(vp)))
            sink.mark(k, n, vp, data, size);
        return true;
    });
    // Viewpoint percentages: number, viewpoint, single.
    section([&](std::int32_t k) {
        const char *p = fields(12);
        if (!p)
            return false;
        const std::int32_t n = Cursor::int32At(p), vp = Cursor::int32At(p + 4);
        const float v = percentage(p + 8);
        if (keep(isPeriod(k) && isNumber(n) && isViewpoint(vp)))
            sink.viewpointPercentage(k, n, vp, v);
        return true;
    });
    // Comments: number, text.
    section([&](std::int32_t k) {
        const char *p = fields(8);
        const char *data = nullptr;
        int size = 0;
        if (!p || !text(p + 8, data, size))
            return false;
        const std::int32_t n = Cursor::int32At(p);
        if (keep(isPeriod(k) && isNumber(n)))
            sink.comment(k, n, data, size);
        return true;
    });
    // Date-times: double.
    section([&](std::int32_t k) {
        double v = 0;
        if (!c.real(v)) {
            report.truncated = true;
            return false;
        }
        if (!(v >= -700000.0 && v <= 2958466.0))
            ++report.badValues;
        if (keep(isPeriod(k)))
            sink.dateTime(k, v);
        return true;
    });
    section.finish();
}

} // namespace format

} // namespace tavro
