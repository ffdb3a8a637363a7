#include "evaluation/ElectiveResultFile.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "platform/Prompter.h"

#include <QFileInfo>
#include <QtEndian>
#include <cstring>

namespace tavro {

namespace {

float singleAt(const char *p) {
    const std::uint32_t bits = qFromLittleEndian<std::uint32_t>(p);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

void putSingle(char *p, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    qToLittleEndian(bits, p);
}

// A short string: length byte, then up to `capacity` bytes.
QByteArray shortString(const char *p, int capacity, int *badValues) {
    int size = static_cast<unsigned char>(p[0]);
    if (size > capacity) {
        if (badValues)
            ++*badValues;
        size = capacity;
    }
    return QByteArray(p + 1, format::wholeCharacters(p + 1, size));
}

void putShortString(char *p, const QByteArray &text, int maxBytes, int capacity) {
    const int size = cp932::safeCut(text, maxBytes);
    std::memset(p, 0, std::size_t(capacity) + 1);
    p[0] = static_cast<char>(size);
    std::memcpy(p + 1, text.constData(), std::size_t(size));
}

bool checkPercentage(float v) {
    return v >= -1.0f && v <= 1.0e6f;
}

struct ModelSink {
    EvaluationResults &r;
    void record(int k, int cls, int n, const SentakuRecord &rec) {
        StudentResult &s = r.at(k, cls, n);
        s.percentage = rec.percentage;
        s.evaluation = format::decodeText(rec.evaluation);
        for (int v = 0; v < kViewpoints; ++v) {
            s.viewpointPercentages[v] = rec.viewpointPercentages[v];
            s.marks[v] = format::decodeText(rec.marks[v]);
        }
    }
    void comment(int k, int cls, int n, const char *d, int size) {
        r.at(k, cls, n).comment = format::decodeText(d, size);
    }
    void dateTime(int k, double v) { r.dateTime(k) = v; }
};

} // namespace

SentakuRecord SentakuRecord::read(const char *data, int *badValues) {
    SentakuRecord r;
    r.reserved = qFromLittleEndian<std::int32_t>(data);
    r.percentage = singleAt(data + 4);
    r.evaluation = shortString(data + 8, 7, badValues);
    for (int v = 0; v < kViewpoints; ++v) {
        r.viewpointPercentages[v] = singleAt(data + 16 + 4 * v);
        r.marks[v] = shortString(data + 40 + 6 * v, 5, badValues);
    }
    if (badValues) {
        *badValues += !checkPercentage(r.percentage);
        for (float p : r.viewpointPercentages)
            *badValues += !checkPercentage(p);
    }
    return r;
}

void SentakuRecord::write(char *data) const {
    qToLittleEndian<std::int32_t>(reserved, data);
    putSingle(data + 4, percentage);
    putShortString(data + 8, evaluation, kEvaluationBytes, 7);
    for (int v = 0; v < kViewpoints; ++v) {
        putSingle(data + 16 + 4 * v, viewpointPercentages[v]);
        putShortString(data + 40 + 6 * v, marks[v], kMarkBytes, 5);
    }
}

ReadReport ElectiveResultFile::parse(const QByteArray &bytes, EvaluationResults &results) {
    ReadReport report;
    report.found = true;
    ModelSink sink{results};
    format::parseElectiveResult(bytes, sink, report);
    return report;
}

ReadReport ElectiveResultFile::load(const QString &path, EvaluationResults &results, Prompter *prompter) {
    results.reset();
    ReadReport report;
    if (!paths::fileExists(path))
        return report;
    QByteArray bytes;
    if (!readWholeFile(path, bytes)) {
        report.unreadable = true;
        return report;
    }
    report = parse(bytes, results);
    if (report.tooNew && prompter)
        prompter->message(QStringLiteral("TAVRO"), tooNewVersionMessage(), Prompter::Icon::Warning);
    return report;
}

bool ElectiveResultFile::serialize(const EvaluationResults &results, const std::vector<int> &memberSlots,
                                   QByteArray &bytes, QString *error) {
    auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    auto where = [](int k, int slot) {
        return QStringLiteral("%1組%2番").arg(classOfSlot(slot)).arg(numberOfSlot(slot)) +
               QStringLiteral(" (評定%1)").arg(k);
    };
    format::Builder b(kHeaderSize + qsizetype(memberSlots.size()) * kPeriods * (12 + SentakuRecord::kSize) +
                      4 * 1024);
    b.bytes(dataFileHeader().constData(), kHeaderSize);
    char record[SentakuRecord::kSize];
    for (int slot : memberSlots) {
        if (slot < 0 || slot >= kSlots)
            return fail(QStringLiteral("選択教科の名簿の番号が範囲外です: %1").arg(slot));
        for (int k = 1; k <= kPeriods; ++k) {
            const StudentResult &s = results.at(k, slot);
            SentakuRecord r;
            r.percentage = s.percentage;
            if (!format::encodeText(s.evaluation, SentakuRecord::kEvaluationBytes, r.evaluation))
                return fail(
                    format::unencodableMessage(where(k, slot) + QStringLiteral("の評定"), s.evaluation));
            for (int v = 0; v < kViewpoints; ++v) {
                r.viewpointPercentages[v] = s.viewpointPercentages[v];
                if (!format::encodeText(s.marks[v], SentakuRecord::kMarkBytes, r.marks[v]))
                    return fail(format::unencodableMessage(
                        where(k, slot) + QStringLiteral("の観点%1の評定").arg(v + 1), s.marks[v]));
            }
            r.write(record);
            b.int32(k);
            b.int32(classOfSlot(slot));
            b.int32(numberOfSlot(slot));
            b.bytes(record, SentakuRecord::kSize);
        }
    }
    b.int32(0);
    QByteArray text;
    for (int c = 1; c <= kMaxClasses; ++c)
        for (int k = 1; k <= kPeriods; ++k)
            for (int n = 1; n <= kSeatsPerClass; ++n) {
                const QString &comment = results.at(k, c, n).comment;
                if (comment.isEmpty())
                    continue;
                if (!format::encodeText(comment, kMaxTextBytes, text))
                    return fail(format::unencodableMessage(
                        where(k, slotOf(c, n)) + QStringLiteral("のコメント"), comment));
                b.int32(k);
                b.int32(c);
                b.int32(n);
                b.text(text);
            }
    b.int32(0);
    for (int k = 1; k <= kPeriods; ++k) {
        b.int32(k);
        b.real(results.dateTime(k));
    }
    b.int32(0);
    bytes = b.take();
    return true;
}

bool ElectiveResultFile::save(const QString &path, const EvaluationResults &results,
                              const std::vector<int> &memberSlots, QString *error) {
    QByteArray bytes;
    if (!serialize(results, memberSlots, bytes, error))
        return false;
    paths::ensureFolder(paths::resolveExisting(QFileInfo(path).path()));
    return saveFileAtomically(path, bytes, error, Backup::OneGeneration);
}

} // namespace tavro
