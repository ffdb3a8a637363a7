#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

namespace tavro {

inline constexpr int kSeatsPerClass = 60;
inline constexpr int kMaxClasses = 12;
inline constexpr int kMaxRosterLines = kSeatsPerClass * kMaxClasses; // 720

// One roster line without its two display fields: name, reading and the history of grades 1..6.
struct RosterEntry {
    QString name;
    QString furigana;
    std::array<QString, 6> history; // "305": class 3, position 5; empty when not found

    bool isEmpty() const { return name.isEmpty(); }
    // Cell c = 0..7 in the order of the file's fields 3..10.
    QString field(int c) const;
    void setField(int c, const QString &value);
};

// The roster file of one grade ("<year>NA<grade>.tvp").
namespace roster {

// Names of slots 0..719 (class = slot / 60 + 1, position = slot % 60 + 1). A missing file or missing
// lines give empty names. Only the third field of each line is read.
std::vector<QString> readNames(const QString &dataFolder, int nendo, int grade);
std::vector<QString> parseNames(const QByteArray &bytes);

// Fields 3..10 of at most `maxLines` lines (fewer when the file is shorter; missing fields empty).
std::vector<RosterEntry> readEntries(const QString &path, int maxLines = kMaxRosterLines);
std::vector<RosterEntry> parseEntries(const QByteArray &bytes, int maxLines = kMaxRosterLines);

// Display fields 1 and 2 of slot i: " 1" / " A" and " 7".
QString classLabel(int slot, bool classType);
QString numberLabel(int slot);

// The bytes of a roster file: one line per entry, every field followed by TAB, CR LF, code page 932.
// False with a message when a text cannot be held by code page 932.
bool serialize(const std::vector<RosterEntry> &entries, bool classType, QByteArray &bytes,
               QString *error = nullptr);
// Writes the roster file atomically.
bool write(const QString &path, const std::vector<RosterEntry> &entries, bool classType,
           QString *error = nullptr);

// The history pass over `entries` (the current grade `grade` of year `nendo`): for each earlier grade
// g = grade-1..1 (year nendo - (grade - g)) whose roster exists, every non-empty name (spaces removed)
// is looked up as a substring of each old line (all fields, spaces removed); the last matching old
// line s gives (s / 60 + 1) followed by two digits (s % 60 + 1) in history[g - 1].
// `progress` receives the status text ("%d年度%d年生のファイルを処理中... " + 12 squares).
// Returns true when at least one old roster was found.
bool buildHistory(std::vector<RosterEntry> &entries, const QString &dataFolder, int nendo, int grade,
                  const std::function<void(const QString &)> &progress = {});
// The progress text of one row.
QString historyProgressText(int oldYear, int oldGrade, int row);

// "ふりがな変換": half-width katakana to full-width (marks joined), then katakana to hiragana.
QString furiganaToHiragana(const QString &reading);

} // namespace roster

} // namespace tavro
