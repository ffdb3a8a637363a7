#pragma once

#include <QString>

namespace tavro {

inline constexpr const char *kAdminScrambleConstant = "8093";
inline constexpr const char *kTeacherScrambleConstant = "9153";

// The stored 5-character form of a password: a letter "A".."Y" and four digits, from the sum of the
// text's code page 932 bytes.
QString scramble(const QString &text, const QString &constant);

} // namespace tavro
