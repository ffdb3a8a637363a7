// The class result reader on arbitrary bytes; what it read must save and read back cleanly.
#include "FuzzCheck.h"
#include "evaluation/ClassResultFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    static tavro::EvaluationResults results;
    results.reset();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    tavro::ClassResultFile::parse(bytes, 3, results, true);
    QByteArray saved;
    if (!tavro::ClassResultFile::serialize(results, 3, saved))
        return 0;
    static tavro::EvaluationResults again;
    again.reset();
    FUZZ_CHECK(readsBackClean(tavro::ClassResultFile::parse(saved, 3, again, true)));
    for (int k = 1; k <= tavro::kPeriods; ++k)
        for (int n = 1; n <= tavro::kSeatsPerClass; ++n) {
            const tavro::StudentResult &a = results.at(k, 3, n), &b = again.at(k, 3, n);
            // Percentages of -1 or below (and NaN) are not written.
            FUZZ_CHECK(a.percentage > tavro::kNoPercentage ? a.percentage == b.percentage
                                                           : b.percentage == tavro::kNoPercentage);
        }
    return 0;
}
