#pragma once

#include "common/DataFile.h"
#include "evaluation/FileFormat.h"
#include "evaluation/Results.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

namespace tavro {

class Prompter;

// The fixed 76-byte result record of one member and period in the elective result file.
struct SentakuRecord {
    static constexpr int kSize = 76;
    static constexpr int kEvaluationBytes = 5; // written; 7 fit and are read
    static constexpr int kMarkBytes = 5;

    std::int32_t reserved = 0; // written as 0
    float percentage = kNoPercentage;
    QByteArray evaluation; // code page 932 bytes
    std::array<float, kViewpoints> viewpointPercentages{kNoPercentage, kNoPercentage, kNoPercentage,
                                                        kNoPercentage, kNoPercentage, kNoPercentage};
    std::array<QByteArray, kViewpoints> marks;

    // Reads 76 bytes. Length bytes beyond the field are limited to it (counted in `badValues`), and
    // a text never ends inside a double-byte character.
    static SentakuRecord read(const char *data, int *badValues = nullptr);
    // Writes 76 bytes; unused bytes are zeros. Texts are cut to 5 bytes on whole characters.
    void write(char *data) const;
};

// The result file of an elective (Sentaku/<grade><elective>.dat): header; the records of every member
// slot for periods 1..5; the comments of classes 1..12; the five calculation date-times.
class ElectiveResultFile {
public:
    static ReadReport parse(const QByteArray &bytes, EvaluationResults &results);
    // Resets `results` and reads the file; missing: defaults. Version 600 or more: the refusal through
    // `prompter`, nothing read.
    static ReadReport load(const QString &path, EvaluationResults &results, Prompter *prompter);

    // The file bytes for the member slots `memberSlots` (slot indices 0..719, in member-list order).
    // False when a text cannot be held by code page 932 or a slot is out of range.
    static bool serialize(const EvaluationResults &results, const std::vector<int> &memberSlots,
                          QByteArray &bytes, QString *error = nullptr);
    // Creates the folder one level when missing and saves atomically with one ".bak" generation.
    static bool save(const QString &path, const EvaluationResults &results,
                     const std::vector<int> &memberSlots, QString *error = nullptr);
};

namespace format {

// The elective result parser. `sink` receives, in file order, entries whose keys are in range:
//   record(period, cls, number, const SentakuRecord &), comment(period, cls, number, data, size),
//   dateTime(period, v).
template <class Sink> void parseElectiveResult(const QByteArray &bytes, Sink &sink, ReadReport &report) {
    if (!readHeader(bytes, report))
        return;
    Cursor c(bytes, kHeaderSize);
    SectionReader section(c, report);
    auto keys = [&](std::int32_t &cls, std::int32_t &n) {
        if (c.int32(cls) && c.int32(n))
            return true;
        report.truncated = true;
        return false;
    };
    auto keep = [&](bool inRange) {
        if (!inRange)
            ++report.skippedEntries;
        return inRange;
    };
    section([&](std::int32_t k) {
        std::int32_t cls = 0, n = 0;
        const char *data = nullptr;
        if (!keys(cls, n))
            return false;
        if (!c.take(SentakuRecord::kSize, data)) {
            report.truncated = true;
            return false;
        }
        if (keep(isPeriod(k) && isClass(cls) && isNumber(n))) {
            const SentakuRecord record = SentakuRecord::read(data, &report.badValues);
            sink.record(k, cls, n, record);
        }
        return true;
    });
    section([&](std::int32_t k) {
        std::int32_t cls = 0, n = 0;
        const char *data = nullptr;
        int size = 0;
        if (!keys(cls, n))
            return false;
        switch (c.text(data, size)) {
        case Cursor::TextResult::Truncated:
            report.truncated = true;
            return false;
        case Cursor::TextResult::BadLength:
            report.badText = true;
            return false;
        case Cursor::TextResult::Ok:
            break;
        }
        if (keep(isPeriod(k) && isClass(cls) && isNumber(n)))
            sink.comment(k, cls, n, data, size);
        return true;
    });
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
