// The JSON reader of `tavro-cli load` on arbitrary bytes: the file bytes it builds dump to JSON that
// loads again to the same bytes.
#include "FuzzCheck.h"
#include "cli/DataFileJson.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray bytes;
    tavro::cli::DataKind kind = tavro::cli::DataKind::Unknown;
    QString error;
    if (!tavro::cli::bytesFromJson(json, bytes, kind, error))
        return 0;
    QByteArray dumped;
    tavro::ReadReport report;
    FUZZ_CHECK(tavro::cli::dumpJson(kind, bytes, dumped, report, error));
    FUZZ_CHECK(readsBackClean(report));
    QByteArray again;
    tavro::cli::DataKind againKind = tavro::cli::DataKind::Unknown;
    FUZZ_CHECK(tavro::cli::bytesFromJson(dumped, again, againKind, error));
    FUZZ_CHECK(againKind == kind);
    FUZZ_CHECK(again == bytes);
    return 0;
}
