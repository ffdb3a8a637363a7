// The class result reader on arbitrary bytes: reading over what the previous input left gives the
// same as reading into empty results, and what it read must save and read back cleanly.
#include "FuzzCheck.h"
#include "evaluation/ClassResultFile.h"

#include <cstring>

namespace {

bool samePercentage(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    static tavro::EvaluationResults results; // holds the previous input's class 3
    static tavro::EvaluationResults fresh;
    fresh.reset();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    tavro::ClassResultFile::parse(bytes, 3, results, true);
    tavro::ClassResultFile::parse(bytes, 3, fresh, true);
    for (int k = 1; k <= tavro::kPeriods; ++k)
        for (int n = 1; n <= tavro::kSeatsPerClass; ++n) {
            const tavro::StudentResult &a = results.at(k, 3, n), &b = fresh.at(k, 3, n);
            FUZZ_CHECK(a.evaluation == b.evaluation && a.marks == b.marks && a.comment == b.comment);
            FUZZ_CHECK(samePercentage(a.percentage, b.percentage));
            for (int v = 0; v < tavro::kViewpoints; ++v)
                FUZZ_CHECK(samePercentage(a.viewpointPercentages[v], b.viewpointPercentages[v]));
        }
    QByteArray saved;
    if (!tavro::ClassResultFile::serialize(fresh, 3, saved))
        return 0;
    static tavro::EvaluationResults again;
    FUZZ_CHECK(readsBackClean(tavro::ClassResultFile::parse(saved, 3, again, true)));
    for (int k = 1; k <= tavro::kPeriods; ++k)
        for (int n = 1; n <= tavro::kSeatsPerClass; ++n) {
            const tavro::StudentResult &a = fresh.at(k, 3, n), &b = again.at(k, 3, n);
            // Percentages of -1 or below (and NaN) are not written.
            FUZZ_CHECK(a.percentage > tavro::kNoPercentage ? a.percentage == b.percentage
                                                           : b.percentage == tavro::kNoPercentage);
        }
    return 0;
}
