#pragma once

#include "common/IniFile.h"

#include <QString>
#include <QStringList>
#include <array>

namespace tavro {

// Names of the six viewpoints of one subject: short (about 2 characters; empty = viewpoint not
// used), medium (about 10) and long (may be empty).
struct KantenNames {
    std::array<QString, 6> shortName;
    std::array<QString, 6> mediumName;
    std::array<QString, 6> longName;

    // Viewpoints with a short name.
    int usedCount() const;
    // "デフォルトを埋め込む(3観点)": the three standard viewpoints; long names stay as they are.
    void fillDefaults();

    bool operator==(const KantenNames &other) const = default;
};

// The viewpoint file ("Kanten" + year + ".def", an ini file): one section per subject ("国語") and
// per elective subject ("選択国語"), keys "kanten" + v + "s" / "m" / "l" for v = 1..6.
namespace kanten {

// The nine subjects of the definitions by school kind (other kinds: none).
QStringList subjects(int schoolKind);
// The section of a subject: the subject, or "選択" + subject for electives.
QString section(const QString &subject, bool elective);
// The section that holds the viewpoints of a data window's subject: the first two full-width
// characters ("保体B" reads "保体"); for an elective "選択" followed by the first two characters of its
// subject ("選択英語G" reads "選択英語"), so one definition serves all courses of a subject.
QString sectionForSubject(const QString &kyouka);
QString sectionForElective(const QString &elective);
// "kanten" + v + kind, kind 's', 'm' or 'l'; v = 1..6.
QString key(int viewpoint, char kind);

// Missing keys read as empty.
KantenNames read(const IniFile &ini, const QString &section);
// Writes all 18 keys of the section, empty values included.
void write(IniFile &ini, const QString &section, const KantenNames &names);

// The viewpoint file of the year (found without regard to letter case).
QString filePath(const QString &dataFolder, int nendo);
KantenNames load(const QString &dataFolder, int nendo, const QString &section);
// Creates the year folder when missing and writes the section into the year's file.
bool save(const QString &dataFolder, int nendo, const QString &section, const KantenNames &names,
          QString *error = nullptr);

enum class ImportResult { Imported, NoPreviousFile, Failed };
// "前年度の定義を取り込む": the 18 sections of the nine subjects of the school kind (compulsory and
// elective) are copied from the previous year's file into this year's, overwriting them; other
// sections stay.
ImportResult importPreviousYear(const QString &dataFolder, int nendo, int schoolKind,
                                QString *error = nullptr);
QString noPreviousFileMessage();

} // namespace kanten

} // namespace tavro
