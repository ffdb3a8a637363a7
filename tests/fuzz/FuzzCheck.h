#pragma once

#include "common/DataFile.h"

#include <cstdio>
#include <cstdlib>

// Fails the fuzz run when a property does not hold.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);         \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

// What our own writer produced must read back without damage.
inline bool readsBackClean(const tavro::ReadReport &r) {
    return r.found && !r.tooNew && !r.badHeader && !r.truncated && !r.badText && r.skippedEntries == 0 &&
           r.extraBytes == 0;
}
