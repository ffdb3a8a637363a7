// The teacher file on arbitrary bytes: its lines write back and read again the same, and the
// teacher list and the assignments survive the settings window's and the assignment window's saves.
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "common/FileSave.h"
#include "config/TeacherFile.h"

namespace {

QByteArray linesToBytes(const QStringList &lines) {
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += tavro::cp932::encodeLossy(line) + "\r\n";
    return bytes;
}

QStringList bytesToLines(const QByteArray &bytes) {
    return tavro::splitTextLines(tavro::cp932::decode(bytes));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    const QStringList lines = bytesToLines(fuzz::bytesOf(data, size));
    tavro::TeacherFile file = tavro::TeacherFile::fromLines(lines);
    const QStringList entries = file.entries();
    const QStringList names = file.teacherNames();
    const QStringList assignments = file.assignmentLines();

    for (const QString &entry : entries) {
        const tavro::TeacherFile::EntryParts parts = tavro::TeacherFile::parseEntry(entry);
        FUZZ_CHECK(parts.grade >= 1 && parts.grade <= 6);
        FUZZ_CHECK(parts.cls >= 0 && parts.cls <= 12);
    }
    for (const QString &name : names)
        for (int grade = 1; grade <= 3; ++grade)
            tavro::assignment::chargeClasses(assignments, QStringLiteral("国語"), name,
                                             QString::number(grade));

    if (!fuzz::encodable(lines))
        return 0;
    const tavro::TeacherFile again = tavro::TeacherFile::fromLines(bytesToLines(linesToBytes(lines)));
    FUZZ_CHECK(again.lines() == lines);

    file.setEntries(entries);
    FUZZ_CHECK(file.entries() == entries);
    FUZZ_CHECK(file.teacherNames() == names);
    FUZZ_CHECK(file.assignmentLines() == assignments);
    file.setAssignmentLines(assignments);
    FUZZ_CHECK(file.assignmentLines() == assignments);
    FUZZ_CHECK(file.entries() == entries);
    return 0;
}
