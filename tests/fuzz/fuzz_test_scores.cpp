// The test score readers on arbitrary bytes; every value read survives a save.
#include "FuzzCheck.h"
#include "testscores/TestScoreFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    using tavro::TestScoreFile;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    tavro::ClassScores scores, again;
    TestScoreFile::parseClassScores(bytes, scores);
    const QByteArray saved = TestScoreFile::serializeClassScores(scores);
    FUZZ_CHECK(saved.size() == TestScoreFile::kClassFileSize);
    FUZZ_CHECK(!TestScoreFile::parseClassScores(saved, again).truncated);
    FUZZ_CHECK(again.records == scores.records);

    tavro::FullScores full, fullAgain;
    TestScoreFile::parseFullScores(bytes, full);
    FUZZ_CHECK(
        !TestScoreFile::parseFullScores(TestScoreFile::serializeFullScores(full), fullAgain).truncated);
    FUZZ_CHECK(fullAgain.values == full.values);
    return 0;
}
