// The elective result reader on arbitrary bytes; what it read must save and read back cleanly.
#include "FuzzCheck.h"
#include "evaluation/ElectiveResultFile.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    static tavro::EvaluationResults results;
    results.reset();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    tavro::ElectiveResultFile::parse(bytes, results);
    std::vector<int> members;
    for (int slot = 0; slot < tavro::kSlots; ++slot)
        if (!results.at(1, slot).isEmpty())
            members.push_back(slot);
    QByteArray saved;
    if (!tavro::ElectiveResultFile::serialize(results, members, saved))
        return 0;
    static tavro::EvaluationResults again;
    again.reset();
    FUZZ_CHECK(readsBackClean(tavro::ElectiveResultFile::parse(saved, again)));
    FUZZ_CHECK(std::memcmp(again.dateTimes.data(), results.dateTimes.data(), sizeof results.dateTimes) == 0);
    return 0;
}
