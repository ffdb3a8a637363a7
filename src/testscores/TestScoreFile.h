#pragma once

#include "common/DataFile.h"
#include "testscores/TestScores.h"

#include <QByteArray>
#include <QString>

namespace tavro {

// The test files: the full-score file (28 bytes: seven int32, no header) and the class score file
// (1692 bytes: the 12-byte header, then 60 records of seven int32, numbers 1..30 then 31..60).
// Readers never fail: a missing file reads as zeros (full scores) or -1 (scores), a short file as
// far as it goes with the rest at those defaults. The header is not checked when reading.
class TestScoreFile {
public:
    static constexpr int kFullScoreFileSize = kTestFields * 4;                           // 28
    static constexpr int kClassFileSize = kHeaderSize + kTestStudents * kTestFields * 4; // 1692

    static ReadReport parseFullScores(const QByteArray &bytes, FullScores &scores);
    static ReadReport readFullScores(const QString &path, FullScores &scores);
    static QByteArray serializeFullScores(const FullScores &scores);
    // Creates the folder ("Test") one level when missing and replaces the file atomically.
    static bool writeFullScores(const QString &path, const FullScores &scores, QString *error = nullptr);

    static ReadReport parseClassScores(const QByteArray &bytes, ClassScores &scores);
    static ReadReport readClassScores(const QString &path, ClassScores &scores);
    static QByteArray serializeClassScores(const ClassScores &scores);
    static bool writeClassScores(const QString &path, const ClassScores &scores, QString *error = nullptr);

    // Ranges a stored value is expected in (values outside are kept, and counted as bad).
    static bool isValidScore(int field, int value);
    static bool isValidFullScore(int field, int value);
};

} // namespace tavro
