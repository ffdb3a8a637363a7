#include "common/Width.h"

#include <QHash>

namespace tavro::width {

namespace {

constexpr char16_t kHalfVoiced = 0xFF9E;
constexpr char16_t kHalfSemiVoiced = 0xFF9F;
constexpr char16_t kFullVoiced = 0x309B;
constexpr char16_t kFullSemiVoiced = 0x309C;

// Full-width forms of U+FF61..U+FF9F.
constexpr char16_t kHalfKanaToFull[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2,      0x30A1,          0x30A3, // ｡｢｣､･ｦｧｨ
    0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7,      0x30C3,          0x30FC, // ｩｪｫｬｭｮｯｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,      0x30AD,          0x30AF, // ｱｲｳｴｵｶｷｸ
    0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB,      0x30BD,          0x30BF, // ｹｺｻｼｽｾｿﾀ
    0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB,      0x30CC,          0x30CD, // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB,      0x30DE,          0x30DF, // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8,      0x30E9,          0x30EA, // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, kFullVoiced, kFullSemiVoiced,         // ﾙﾚﾛﾜﾝﾞﾟ
};
static_assert(sizeof kHalfKanaToFull / sizeof kHalfKanaToFull[0] == 0xFF9F - 0xFF61 + 1);

bool isHalfKana(char16_t c) {
    return c >= 0xFF61 && c <= 0xFF9F;
}

// ハヒフヘホ take both marks.
bool takesSemiVoiced(char16_t k) {
    return k >= 0x30CF && k <= 0x30DB && (k - 0x30CF) % 3 == 0;
}
// Katakana that take the voiced mark; the voiced letter follows them, except ウ (ヴ is U+30F4).
bool takesVoiced(char16_t k) {
    return (k >= 0x30AB && k <= 0x30C1 && (k - 0x30AB) % 2 == 0) // カ..チ
           || k == 0x30C4 || k == 0x30C6 || k == 0x30C8          // ツテト
           || k == 0x30A6 || takesSemiVoiced(k);
}
char16_t withVoiced(char16_t k) {
    return k == 0x30A6 ? char16_t(0x30F4) : char16_t(k + 1);
}

// Full-width character to its half-width form (one character, or a letter and a mark).
const QHash<char16_t, QString> &fullToHalf() {
    static const QHash<char16_t, QString> map = [] {
        QHash<char16_t, QString> m;
        for (char16_t h = 0xFF61; h <= 0xFF9F; ++h) {
            const char16_t full = kHalfKanaToFull[h - 0xFF61];
            m.insert(full, QString(QChar(h)));
            if (takesVoiced(full))
                m.insert(withVoiced(full), QString(QChar(h)) + QChar(kHalfVoiced));
            if (takesSemiVoiced(full))
                m.insert(char16_t(full + 2), QString(QChar(h)) + QChar(kHalfSemiVoiced));
        }
        return m;
    }();
    return map;
}

} // namespace

QString halfKanaToFullWidth(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!isHalfKana(c)) {
            out.append(text[i]);
            continue;
        }
        const char16_t full = kHalfKanaToFull[c - 0xFF61];
        const char16_t next = i + 1 < text.size() ? text[i + 1].unicode() : 0;
        if (next == kHalfVoiced && takesVoiced(full)) {
            out.append(QChar(withVoiced(full)));
            ++i;
        } else if (next == kHalfSemiVoiced && takesSemiVoiced(full)) {
            out.append(QChar(char16_t(full + 2)));
            ++i;
        } else {
            out.append(QChar(full));
        }
    }
    return out;
}

QString toFullWidth(const QString &text) {
    QString out = halfKanaToFullWidth(text);
    for (QChar &ch : out) {
        const char16_t c = ch.unicode();
        if (c == 0x20)
            ch = QChar(0x3000);
        else if (c >= 0x21 && c <= 0x7E)
            ch = QChar(char16_t(c + 0xFEE0));
    }
    return out;
}

QString toHalfWidth(const QString &text) {
    const auto &map = fullToHalf();
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c >= 0xFF01 && c <= 0xFF5E)
            out.append(QChar(char16_t(c - 0xFEE0)));
        else if (c == 0x3000)
            out.append(QChar(u' '));
        else if (auto it = map.constFind(c); it != map.constEnd())
            out.append(*it);
        else
            out.append(ch);
    }
    return out;
}

QString katakanaToHiragana(const QString &text) {
    QString out = text;
    for (QChar &ch : out) {
        const char16_t c = ch.unicode();
        if (c >= 0x30A1 && c <= 0x30F6)
            ch = QChar(char16_t(c - 0x60));
    }
    return out;
}

} // namespace tavro::width
