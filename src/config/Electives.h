#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavro {

// The elective file ("sentaku" + year + ".def"): one elective per line, grade digit + "年選択" +
// subject, optionally followed by a course letter (3年選択英語G). The elective's name is the line
// from its 4th code page 932 byte on (選択英語G).
namespace electives {

// Lines of the elective file of `nendo`; a missing file gives no lines.
QStringList readLines(const QString &dataFolder, int nendo);
// The same, falling back to the file of `nendo` - 1 when the year has none (the settings window).
QStringList readLinesWithFallback(const QString &dataFolder, int nendo);
// Creates the year folder when missing and writes the file atomically.
bool writeLines(const QString &dataFolder, int nendo, const QStringList &lines, QString *error = nullptr);

// The line from its 4th byte on.
QString nameOf(const QString &line);
// The grade of a line (its first character), 0 when it is not a digit 1..6.
int gradeOf(const QString &line);

// Lines of the settings window's page of grade g: lines of 6 or more bytes that start with g + "年選択".
QStringList pageLines(const QStringList &lines, int grade);

// Completion of a typed line of page g: g + "年選択" + ... stays; "選択" + ... gets g + "年" in front;
// a line without "選択" gets g + "年選択" in front; a line holding "選択" elsewhere is dropped (empty
// result), and so is an empty line.
QString completeLine(int grade, const QString &typed);
// Completes the pages 1..6 (pages[0] is grade 1) in page and line order.
QStringList completePages(const QList<QStringList> &pages);

// Whether the elective's name may become part of a file name; `reason` gets the message.
bool checkName(const QString &name, QString *reason = nullptr);
// The message for elective names of the file that were skipped because they cannot be file names.
QString skippedNamesMessage(const QStringList &names);

} // namespace electives

// Elective member lists (`YearFolder` + year + "S" + grade + elective name + ".lst"): one student per
// line as class and two-digit position (305), optionally with the grade digit in front (2305). The
// list is kept as typed; only readers interpret it.
namespace memberlist {

// Reads the lines of a member list. A missing file gives no lines. False (with a message) when the
// elective name may not become a file name or the file cannot be read.
bool read(const QString &dataFolder, int nendo, int grade, const QString &elective, QStringList &lines,
          QString *error = nullptr);
// Writes the lines unchanged, atomically; refuses an unsafe elective name.
bool write(const QString &dataFolder, int nendo, int grade, const QString &elective, const QStringList &lines,
           QString *error = nullptr);

// The members of a list as slot codes class × 100 + position, in list order. A line counts when it is
// a 3- or 4-digit half-width number (blanks around it allowed); it is taken modulo 1000, and a number
// whose class or position is 0 or whose position is beyond 60 names no seat and is skipped too.
QList<int> members(const QStringList &lines);

} // namespace memberlist

} // namespace tavro
