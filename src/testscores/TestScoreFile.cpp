#include "testscores/TestScoreFile.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"

#include <QFileInfo>
#include <QtEndian>
#include <cstring>

namespace tavro {

namespace {

// Reads whole int32 values into `values` (at most `count`); returns how many.
int readInts(const QByteArray &bytes, qsizetype from, std::int32_t *values, int count) {
    const qsizetype available = qMax<qsizetype>(0, bytes.size() - from) / 4;
    const int n = int(qMin<qsizetype>(available, count));
    for (int i = 0; i < n; ++i)
        values[i] = qFromLittleEndian<std::int32_t>(bytes.constData() + from + 4 * i);
    return n;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error) {
    paths::ensureFolder(paths::resolveExisting(QFileInfo(path).path()));
    return saveFileAtomically(path, bytes, error);
}

} // namespace

bool TestScoreFile::isValidScore(int field, int value) {
    return value >= testscore::kExcluded && value <= (field == 0 ? 500 : 100);
}

bool TestScoreFile::isValidFullScore(int field, int value) {
    return value >= 0 && value <= (field == 0 ? 500 : 100);
}

ReadReport TestScoreFile::parseFullScores(const QByteArray &bytes, FullScores &scores) {
    ReadReport report;
    report.found = true;
    report.size = bytes.size();
    scores.values.fill(0);
    readInts(bytes, 0, scores.values.data(), kTestFields);
    report.truncated = bytes.size() < kFullScoreFileSize;
    report.extraBytes = qMax<qsizetype>(0, bytes.size() - kFullScoreFileSize);
    for (int f = 0; f < kTestFields; ++f)
        report.badValues += !isValidFullScore(f, scores.values[f]);
    return report;
}

ReadReport TestScoreFile::readFullScores(const QString &path, FullScores &scores) {
    scores.values.fill(0);
    ReadReport report;
    if (!paths::fileExists(path))
        return report;
    QByteArray bytes;
    if (!readWholeFile(path, bytes)) {
        report.unreadable = true;
        return report;
    }
    return parseFullScores(bytes, scores);
}

QByteArray TestScoreFile::serializeFullScores(const FullScores &scores) {
    QByteArray bytes(kFullScoreFileSize, Qt::Uninitialized);
    for (int f = 0; f < kTestFields; ++f)
        qToLittleEndian<std::int32_t>(scores.values[f], bytes.data() + 4 * f);
    return bytes;
}

bool TestScoreFile::writeFullScores(const QString &path, const FullScores &scores, QString *error) {
    return writeFile(path, serializeFullScores(scores), error);
}

ReadReport TestScoreFile::parseClassScores(const QByteArray &bytes, ClassScores &scores) {
    ReadReport report;
    report.found = true;
    report.size = bytes.size();
    report.version = headerVersion(bytes);
    report.badHeader = !hasWellFormedHeader(bytes) || report.version != kFormatVersion;
    scores.clear();
    std::int32_t values[kTestStudents * kTestFields];
    const int n = readInts(bytes, kHeaderSize, values, kTestStudents * kTestFields);
    for (int i = 0; i < n; ++i) {
        const int field = i % kTestFields;
        scores.records[std::size_t(i / kTestFields)][std::size_t(field)] = values[i];
        report.badValues += !isValidScore(field, values[i]);
    }
    report.truncated = bytes.size() < kClassFileSize;
    report.extraBytes = qMax<qsizetype>(0, bytes.size() - kClassFileSize);
    return report;
}

ReadReport TestScoreFile::readClassScores(const QString &path, ClassScores &scores) {
    scores.clear();
    ReadReport report;
    if (!paths::fileExists(path))
        return report;
    QByteArray bytes;
    if (!readWholeFile(path, bytes)) {
        report.unreadable = true;
        return report;
    }
    return parseClassScores(bytes, scores);
}

QByteArray TestScoreFile::serializeClassScores(const ClassScores &scores) {
    QByteArray bytes(kClassFileSize, Qt::Uninitialized);
    std::memcpy(bytes.data(), dataFileHeader().constData(), kHeaderSize);
    char *p = bytes.data() + kHeaderSize;
    for (const TestScoreRecord &r : scores.records)
        for (std::int32_t v : r) {
            qToLittleEndian<std::int32_t>(v, p);
            p += 4;
        }
    return bytes;
}

bool TestScoreFile::writeClassScores(const QString &path, const ClassScores &scores, QString *error) {
    return writeFile(path, serializeClassScores(scores), error);
}

} // namespace tavro
