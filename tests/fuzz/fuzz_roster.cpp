// The roster reader on arbitrary bytes: the entries it reads write back and read again the same.
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "config/Roster.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const std::vector<tavro::RosterEntry> entries = tavro::roster::parseEntries(bytes);
    FUZZ_CHECK(int(entries.size()) <= tavro::kMaxRosterLines);
    const std::vector<QString> names = tavro::roster::parseNames(bytes);
    FUZZ_CHECK(int(names.size()) == tavro::kMaxRosterLines);
    for (size_t i = 0; i < entries.size(); ++i)
        FUZZ_CHECK(names[i] == entries[i].name);

    for (bool classType : {true, false}) {
        QByteArray saved;
        if (!tavro::roster::serialize(entries, classType, saved))
            return 0; // a text that code page 932 cannot hold
        const std::vector<tavro::RosterEntry> again = tavro::roster::parseEntries(saved);
        FUZZ_CHECK(again.size() == entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            FUZZ_CHECK(again[i].name == entries[i].name);
            FUZZ_CHECK(again[i].furigana == entries[i].furigana);
            FUZZ_CHECK(again[i].history == entries[i].history);
        }
    }
    return 0;
}
