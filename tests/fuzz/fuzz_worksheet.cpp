// The worksheet reader on arbitrary bytes; what it read must save and read back cleanly.
#include "FuzzCheck.h"
#include "evaluation/WorksheetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    static tavro::Worksheet worksheet;
    worksheet.reset();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const tavro::ReadReport report = tavro::WorksheetFile::parse(bytes, worksheet);
    FUZZ_CHECK(!report.tooNew || report.version >= 600);
    QByteArray saved;
    if (!tavro::WorksheetFile::serialize(worksheet, saved))
        return 0; // a text that code page 932 cannot hold (undecodable bytes)
    static tavro::Worksheet again;
    again.reset();
    FUZZ_CHECK(readsBackClean(tavro::WorksheetFile::parse(saved, again)));
    FUZZ_CHECK(again.scores == worksheet.scores);
    return 0;
}
