#pragma once

#include "common/DataFile.h"
#include "evaluation/FileFormat.h"
#include "evaluation/Worksheet.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace tavro {

class Prompter;

// The worksheet file: header, then nine sections (names, kinds, links, formulas, protection, full
// scores, item ratios, viewpoint ratios, scores), each a run of entries ended by a zero key.
class WorksheetFile {
public:
    // Reads the file at `path` into `worksheet`, which is reset first. A missing file leaves the
    // defaults. A version of 600 or more shows the refusal through `prompter` (when given) and reads
    // nothing.
    static ReadReport load(const QString &path, Worksheet &worksheet, Prompter *prompter);
    // Parses file bytes into `worksheet` (not reset) and sets the symbol-input flags.
    static ReadReport parse(const QByteArray &bytes, Worksheet &worksheet);

    // The file bytes. False when a text cannot be held by code page 932 (texts are cut to 255 bytes).
    static bool serialize(const Worksheet &worksheet, QByteArray &bytes, QString *error = nullptr);
    // Creates the folder one level when missing and saves atomically, keeping the previous file as
    // ".bak". On failure the old file stays and `error` says why.
    static bool save(const QString &path, const Worksheet &worksheet, QString *error = nullptr);
};

namespace format {

// The worksheet parser, shared by the reader and the inspection tools. `sink` receives every entry
// whose keys are in range, in file order:
//   name(item, data, size), kind(item, v), link(item, v), formula(item, data, size),
//   protection(item, byte), fullScore(item, v), itemRatio(item, period, viewpoint, v),
//   viewpointRatio(period, viewpoint, v), score(item, cls, number, v).
template <class Sink> void parseWorksheet(const QByteArray &bytes, Sink &sink, ReadReport &report) {
    if (!readHeader(bytes, report))
        return;
    Cursor c(bytes, kHeaderSize);
    SectionReader section(c, report);
    auto ints = [&](std::int32_t *values, int count) {
        for (int i = 0; i < count; ++i)
            if (!c.int32(values[i])) {
                report.truncated = true;
                return false;
            }
        return true;
    };
    auto textEntry = [&](std::int32_t item, auto store) {
        const char *data = nullptr;
        int size = 0;
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
        if (isItem(item))
            store(item, data, size);
        else
            ++report.skippedEntries;
        return true;
    };
    auto itemValue = [&](auto store, auto valid) {
        return [&, store, valid](std::int32_t item) {
            std::int32_t v = 0;
            if (!ints(&v, 1))
                return false;
            if (!isItem(item)) {
                ++report.skippedEntries;
                return true;
            }
            if (!valid(v))
                ++report.badValues;
            store(item, v);
            return true;
        };
    };
    std::vector<bool> aggregate(std::size_t(kMaxItems) + 1, false); // by the kinds read
    auto ratio = [](std::int32_t v) { return v >= 0 && v <= 999; };

    section([&](std::int32_t item) {
        return textEntry(item, [&](int i, const char *d, int n) { sink.name(i, d, n); });
    });
    section(itemValue(
        [&](int i, std::int32_t v) {
            aggregate[std::size_t(i)] = v == itemkind::kAggregate;
            sink.kind(i, v);
        },
        [](std::int32_t v) { return v >= 0 && v <= 4; }));
    section(itemValue([&](int i, std::int32_t v) { sink.link(i, v); },
                      [](std::int32_t v) { return v >= 0 && v <= 999; }));
    section([&](std::int32_t item) {
        return textEntry(item, [&](int i, const char *d, int n) { sink.formula(i, d, n); });
    });
    section([&](std::int32_t item) {
        std::uint8_t flag = 0;
        if (!c.byte(flag)) {
            report.truncated = true;
            return false;
        }
        if (isItem(item))
            sink.protection(item, flag);
        else
            ++report.skippedEntries;
        return true;
    });
    section(itemValue([&](int i, std::int32_t v) { sink.fullScore(i, v); },
                      [](std::int32_t v) { return v >= 0 && v <= 999; }));
    section([&](std::int32_t item) {
        std::int32_t k[3];
        if (!ints(k, 3))
            return false;
        if (!isItem(item) || !isPeriod(k[0]) || !isViewpoint(k[1])) {
            ++report.skippedEntries;
            return true;
        }
        if (!ratio(k[2]))
            ++report.badValues;
        sink.itemRatio(item, k[0], k[1], k[2]);
        return true;
    });
    section([&](std::int32_t period) {
        std::int32_t k[2];
        if (!ints(k, 2))
            return false;
        if (!isPeriod(period) || !isViewpoint(k[0])) {
            ++report.skippedEntries;
            return true;
        }
        if (!ratio(k[1]))
            ++report.badValues;
        sink.viewpointRatio(period, k[0], k[1]);
        return true;
    });
    section([&](std::int32_t item) {
        std::int32_t k[3];
        if (!ints(k, 3))
            return false;
        if (!isItem(item) || !isClass(k[0]) || !isNumber(k[1])) {
            ++report.skippedEntries;
            return true;
        }
        if (!score::isValidCode(k[2], aggregate[std::size_t(item)]))
            ++report.badValues;
        sink.score(item, k[0], k[1], k[2]);
        return true;
    });
    section.finish();
}

} // namespace format

} // namespace tavro
