#include "evaluation/ClassResultFile.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "evaluation/EvaluationPaths.h"
#include "platform/Prompter.h"

#include <QFileInfo>
#include <algorithm>
#include <array>

namespace tavro {

namespace {

// Writes the entries of one class in place: each field the file holds is written over, and
// clearUnwritten() then clears every other field of the class. No entry is destroyed and rebuilt,
// and text buffers that are the entry's alone are reused, so reading a grade again is cheap.
class ModelSink {
public:
    ModelSink(EvaluationResults &results, int cls, bool takeDateTimes)
        : m_results(results), m_cls(cls), m_takeDateTimes(takeDateTimes) {}

    void evaluation(int k, int n, const char *d, int size) {
        cp932::decodeInto(at(k, n, kEvaluation).evaluation, d, size);
    }
    void percentage(int k, int n, float v) { at(k, n, kPercentage).percentage = v; }
    void mark(int k, int n, int v, const char *d, int size) {
        cp932::decodeInto(at(k, n, kMark << (v - 1)).marks[std::size_t(v - 1)], d, size);
    }
    void viewpointPercentage(int k, int n, int v, float p) {
        at(k, n, kViewpointPercentage << (v - 1)).viewpointPercentages[std::size_t(v - 1)] = p;
    }
    void comment(int k, int n, const char *d, int size) {
        cp932::decodeInto(at(k, n, kComment).comment, d, size);
    }
    void dateTime(int k, double v) {
        if (m_takeDateTimes)
            m_results.dateTime(k) = v;
    }

    void clearUnwritten() {
        for (int k = 1; k <= kPeriods; ++k)
            for (int n = 1; n <= kSeatsPerClass; ++n) {
                const unsigned w = m_written[entry(k, n)];
                if (w == kAll)
                    continue;
                StudentResult &s = m_results.at(k, m_cls, n);
                if (!(w & kEvaluation))
                    s.evaluation.clear();
                if (!(w & kPercentage))
                    s.percentage = kNoPercentage;
                for (int v = 0; v < kViewpoints; ++v) {
                    if (!(w & (kMark << v)))
                        s.marks[std::size_t(v)].clear();
                    if (!(w & (kViewpointPercentage << v)))
                        s.viewpointPercentages[std::size_t(v)] = kNoPercentage;
                }
                if (!(w & kComment))
                    s.comment.clear();
            }
    }

private:
    // The fields written, a bit each.
    static constexpr unsigned kEvaluation = 1u, kPercentage = 1u << 1, kMark = 1u << 2,
                              kViewpointPercentage = kMark << kViewpoints,
                              kComment = kViewpointPercentage << kViewpoints, kAll = (kComment << 1) - 1;
    static std::size_t entry(int k, int n) {
        return std::size_t(k - 1) * kSeatsPerClass + std::size_t(n - 1);
    }
    StudentResult &at(int k, int n, unsigned field) {
        m_written[entry(k, n)] |= std::uint16_t(field);
        return m_results.at(k, m_cls, n);
    }

    EvaluationResults &m_results;
    int m_cls;
    bool m_takeDateTimes;
    std::array<std::uint16_t, std::size_t(kPeriods) * kSeatsPerClass> m_written{};
};

// field: 0 the evaluation, 1..6 the mark of that viewpoint, 7 the comment.
QString describe(int cls, int k, int n, int field) {
    const QString name = field == 0   ? QStringLiteral("評定")
                         : field == 7 ? QStringLiteral("コメント")
                                      : QStringLiteral("観点%1の評定").arg(field);
    return QStringLiteral("%1組%2番の%3 (評定%4)").arg(cls).arg(n).arg(name).arg(k);
}

} // namespace

ReadReport ClassResultFile::parse(const QByteArray &bytes, int cls, EvaluationResults &results,
                                  bool takeDateTimes) {
    ReadReport report;
    report.found = true;
    if (!isClass(cls))
        return report;
    ModelSink sink(results, cls, takeDateTimes);
    format::parseClassResult(bytes, sink, report);
    sink.clearUnwritten();
    return report;
}

ReadReport ClassResultFile::load(const QString &path, int cls, EvaluationResults &results, bool takeDateTimes,
                                 Prompter *prompter) {
    ReadReport report;
    if (!isClass(cls))
        return report;
    QByteArray bytes;
    if (!readWholeFile(path, bytes)) {
        report.unreadable = paths::fileExists(path);
        return report;
    }
    report = parse(bytes, cls, results, takeDateTimes);
    if (report.tooNew && prompter)
        prompter->message(QStringLiteral("TAVRO"), tooNewVersionMessage(), Prompter::Icon::Warning);
    return report;
}

bool ClassResultFile::serialize(const EvaluationResults &results, int cls, QByteArray &bytes,
                                QString *error) {
    if (!isClass(cls)) {
        if (error)
            *error = QStringLiteral("学級の番号が範囲外です: %1").arg(cls);
        return false;
    }
    // Encoded texts of the class, in key order; empty texts are not written.
    struct Texts {
        QByteArray evaluation;
        std::array<QByteArray, kViewpoints> marks;
        QByteArray comment;
    };
    std::vector<Texts> texts(std::size_t(kPeriods) * kSeatsPerClass);
    qsizetype size = kHeaderSize + 6 * 4 + kPeriods * 12;
    auto encode = [&](const QString &text, QByteArray &out, int k, int n, int field) {
        if (format::encodeText(text, kMaxTextBytes, out)) {
            if (!out.isEmpty())
                size += out.size() + 13;
            return true;
        }
        if (error)
            *error = format::unencodableMessage(describe(cls, k, n, field), text);
        return false;
    };
    for (int k = 1; k <= kPeriods; ++k)
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            const StudentResult &s = results.at(k, cls, n);
            Texts &t = texts[std::size_t(k - 1) * kSeatsPerClass + std::size_t(n - 1)];
            if (!encode(s.evaluation, t.evaluation, k, n, 0) || !encode(s.comment, t.comment, k, n, 7))
                return false;
            for (int v = 0; v < kViewpoints; ++v) {
                if (!encode(s.marks[v], t.marks[v], k, n, v + 1))
                    return false;
                if (!t.marks[v].isEmpty())
                    size += 4;
                if (s.viewpointPercentages[v] > kNoPercentage)
                    size += 16;
            }
            if (s.percentage > kNoPercentage)
                size += 12;
        }

    format::Builder b(size);
    b.bytes(dataFileHeader().constData(), kHeaderSize);
    auto textAt = [&](int k, int n) -> const Texts & {
        return texts[std::size_t(k - 1) * kSeatsPerClass + std::size_t(n - 1)];
    };
    for (int k = 1; k <= kPeriods; ++k)
        for (int n = 1; n <= kSeatsPerClass; ++n)
            if (!textAt(k, n).evaluation.isEmpty()) {
                b.int32(k);
                b.int32(n);
                b.text(textAt(k, n).evaluation);
            }
    b.int32(0);
    for (int k = 1; k <= kPeriods; ++k)
        for (int n = 1; n <= kSeatsPerClass; ++n) {
            const float p = results.at(k, cls, n).percentage;
            if (p > kNoPercentage) {
                b.int32(k);
                b.int32(n);
                b.single(p);
            }
        }
    b.int32(0);
    for (int k = 1; k <= kPeriods; ++k)
        for (int n = 1; n <= kSeatsPerClass; ++n)
            for (int v = 1; v <= kViewpoints; ++v)
                if (!textAt(k, n).marks[v - 1].isEmpty()) {
                    b.int32(k);
                    b.int32(n);
                    b.int32(v);
                    b.text(textAt(k, n).marks[v - 1]);
                }
    b.int32(0);
    for (int k = 1; k <= kPeriods; ++k)
        for (int n = 1; n <= kSeatsPerClass; ++n)
            for (int v = 1; v <= kViewpoints; ++v) {
                const float p = results.at(k, cls, n).viewpointPercentages[v - 1];
                if (p > kNoPercentage) {
                    b.int32(k);
                    b.int32(n);
                    b.int32(v);
                    b.single(p);
                }
            }
    b.int32(0);
    for (int k = 1; k <= kPeriods; ++k)
        for (int n = 1; n <= kSeatsPerClass; ++n)
            if (!textAt(k, n).comment.isEmpty()) {
                b.int32(k);
                b.int32(n);
                b.text(textAt(k, n).comment);
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

bool ClassResultFile::save(const QString &path, const EvaluationResults &results, int cls, QString *error) {
    QByteArray bytes;
    if (!serialize(results, cls, bytes, error))
        return false;
    paths::ensureFolder(paths::resolveExisting(QFileInfo(path).path()));
    return saveFileAtomically(path, bytes, error, Backup::OneGeneration);
}

ClassResultFile::GradeLoad ClassResultFile::loadGrade(const QString &dataFolder, int nendo, int grade,
                                                      const QString &kyouka, int classCount,
                                                      const std::vector<int> &chargeClasses,
                                                      EvaluationResults &results, Prompter *prompter) {
    // Each class read replaces its own entries; the others are reset afterwards.
    results.dateTimes.fill(0.0);
    std::array<bool, kMaxClasses + 1> replaced{};
    GradeLoad outcome;
    const int last = std::min(classCount, kMaxClasses);
    for (int cls = 1; cls <= last; ++cls) {
        const QString path = paths::classResultFile(dataFolder, nendo, grade, cls, kyouka);
        const bool charge = std::find(chargeClasses.begin(), chargeClasses.end(), cls) != chargeClasses.end();
        const ReadReport report = load(path, cls, results, charge, prompter);
        replaced[std::size_t(cls)] = report.found;
        if (report.tooNew) {
            outcome.refusedClass = cls;
            break;
        }
        if (!report.found)
            continue;
        outcome.classesRead.push_back(cls);
        if (!report.isClean())
            outcome.damaged.append(QStringLiteral("%1組: %2").arg(cls).arg(report.problems().join(u'、')));
    }
    for (int cls = 1; cls <= kMaxClasses; ++cls)
        if (!replaced[std::size_t(cls)])
            results.resetClass(cls);
    return outcome;
}

bool ClassResultFile::saveClasses(const QString &dataFolder, int nendo, int grade, const QString &kyouka,
                                  const std::vector<int> &chargeClasses, const EvaluationResults &results,
                                  QString *error) {
    std::vector<FileWrite> files;
    for (int cls : chargeClasses) {
        FileWrite file{paths::classResultFile(dataFolder, nendo, grade, cls, kyouka), {}};
        if (!serialize(results, cls, file.bytes, error))
            return false;
        files.push_back(std::move(file));
    }
    if (files.empty())
        return true;
    paths::ensureFolder(paths::resolveExisting(QFileInfo(files.front().path).path()));
    return saveFilesAtomically(files, error, Backup::OneGeneration);
}

} // namespace tavro
