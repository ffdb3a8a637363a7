#pragma once

#include <QString>

// Control characters (U+0000..U+001F, U+007F), which no stored name or text may hold.
namespace tavro::chars {

// "U+0001" for the first control character of `text`, or an empty string.
QString firstControlCharacter(const QString &text);
// "U+0001" for a character.
QString codePointLabel(QChar c);

} // namespace tavro::chars
