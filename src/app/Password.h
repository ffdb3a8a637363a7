#pragma once

#include <QString>

namespace tavro {

inline constexpr const char *kAdminScrambleConstant = "8093";
inline constexpr const char *kTeacherScrambleConstant = "9153";

// The stored 5-character form of a password: a letter "A".."Y" and four digits, from the sum of the
// text's code page 932 bytes.
QString scramble(const QString &text, const QString &constant);

// The administrator check compares the scrambled forms only.
bool adminPasswordMatches(const QString &typed, const QString &storedPassword);

// A teacher's scrambled password from section "Password" of "Tavro_Main.ini"; empty when none is set.
QString storedTeacherPassword(const QString &dataFolder, const QString &teacher);
// Stores the scrambled form of `plain` under the teacher's name, keeping the rest of the file.
bool storeTeacherPassword(const QString &dataFolder, const QString &teacher, const QString &plain,
                          QString *error = nullptr);

// Whether a teacher's name may be used: it becomes part of file names (the evaluation worksheet) and
// the key of the password section, so it must be a safe file name, hold no "=", "(" or ")" (the
// teacher file ends a name at "("), and not start with "[" or ";" or begin or end with a blank.
// `reason` gets the message.
bool checkTeacherName(const QString &name, QString *reason = nullptr);

// Whether a typed password can be held by code page 932; `reason` gets the message.
bool checkPasswordText(const QString &password, QString *reason = nullptr);

} // namespace tavro
