#pragma once

#include <QString>

// Half-width / full-width conversion of letters, digits, symbols and katakana, and katakana to
// hiragana, as the roster, the viewpoint-mark comparison and the prints use them.
namespace tavro::width {

// ASCII 0x21..0x7E to U+FF01..U+FF5E, space to U+3000, half-width katakana to full-width katakana;
// a following half-width voiced (U+FF9E) or semi-voiced (U+FF9F) mark is joined to its letter
// (ｶﾞ gives ガ, ﾊﾟ gives パ, ｳﾞ gives ヴ). Other characters are kept.
QString toFullWidth(const QString &text);
// Only the half-width katakana and punctuation U+FF61..U+FF9F to full width, marks joined as in
// toFullWidth(); ASCII is kept.
QString halfKanaToFullWidth(const QString &text);
// The reverse: full-width ASCII and katakana to half-width (ガ gives ｶﾞ). Other characters kept.
QString toHalfWidth(const QString &text);
// Full-width katakana ァ..ヶ to hiragana ぁ..ゖ (ヴ gives ゔ); other characters kept.
QString katakanaToHiragana(const QString &text);

} // namespace tavro::width
