// The elective file and the member lists on arbitrary bytes: the lines write back and read again the
// same, the settings window's pages keep every line of a page, and members name real seats.
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "common/FileSave.h"
#include "config/Electives.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    const QStringList lines = tavro::splitTextLines(tavro::cp932::decode(fuzz::bytesOf(data, size)));

    QList<QStringList> pages;
    QStringList pageLines;
    for (int grade = 1; grade <= 6; ++grade) {
        pages.append(tavro::electives::pageLines(lines, grade));
        pageLines += pages.back();
    }
    // A page's lines stay as they are when the page is saved.
    FUZZ_CHECK(tavro::electives::completePages(pages) == pageLines);
    for (const QString &line : lines) {
        const int grade = tavro::electives::gradeOf(line);
        FUZZ_CHECK(grade >= 0 && grade <= 6);
        tavro::electives::checkName(tavro::electives::nameOf(line));
    }

    const QList<int> members = tavro::memberlist::members(lines);
    for (int code : members) {
        FUZZ_CHECK(code / 100 >= 1 && code / 100 <= 9);
        FUZZ_CHECK(code % 100 >= 1 && code % 100 <= 60);
    }

    if (!fuzz::encodable(lines))
        return 0;
    QByteArray saved;
    for (const QString &line : lines)
        saved += tavro::cp932::encodeLossy(line) + "\r\n";
    const QStringList again = tavro::splitTextLines(tavro::cp932::decode(saved));
    FUZZ_CHECK(again == lines);
    FUZZ_CHECK(tavro::memberlist::members(again) == members);
    return 0;
}
