#include "common/Cp932.h"

#include "common/Cp932Table.h"

#include <QVarLengthArray>
#include <array>
#include <cstring>
#include <vector>

// Bytes below 0x80 are ASCII one to one (0x1A, 0x1C and 0x7F included); the half-width katakana
// bytes 0xA1..0xDF are U+FF61..U+FF9F; pairs and the encoder's choices come from the generated
// tables of Cp932Table.cpp, the same on every platform.
namespace tavro::cp932 {

namespace {

bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
bool isKanaByte(unsigned char b) {
    return b >= 0xA1 && b <= 0xDF;
}
constexpr char16_t kKanaFirst = 0xFF61;

// Length in QChars of the code point starting at text[i].
qsizetype codePointLength(QStringView text, qsizetype i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return 2;
    return 1;
}

// The code of every BMP character code page 932 holds (a byte below 0x100, or lead << 8 | trail);
// 0 for ASCII, which is never looked up, and for what it cannot hold.
class EncodeTable {
public:
    Q_NEVER_INLINE EncodeTable() : m_codes(0x10000, 0) {
        int row = 0;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLead(static_cast<unsigned char>(lead)))
                continue;
            for (int t = 0; t < table::kTrailCount; ++t) {
                const char16_t unit = table::kPairUnits[row * table::kTrailCount + t];
                if (unit && !m_codes[unit])
                    m_codes[unit] = static_cast<std::uint16_t>(lead << 8 | (0x40 + t));
            }
            ++row;
        }
        for (std::size_t i = 0; i < table::kEncodeExceptionCount; ++i)
            m_codes[table::kEncodeExceptions[i].unit] = table::kEncodeExceptions[i].code;
        for (int b = 0xA1; b <= 0xDF; ++b)
            m_codes[kKanaFirst + (b - 0xA1)] = static_cast<std::uint16_t>(b);
    }
    std::uint16_t code(char16_t unit) const { return m_codes[unit]; }

private:
    std::vector<std::uint16_t> m_codes;
};

const EncodeTable &encodeTable() {
    static const EncodeTable table;
    return table;
}

// Encodes text; each character that cannot be encoded becomes '?'. Calls `onFailure` with the
// position and length of each such character; encoding stops when it returns false.
template <typename OnFailure> bool encodeImpl(QStringView text, QByteArray &out, OnFailure onFailure) {
    out.clear();
    out.reserve(text.size() * 2);
    const EncodeTable &table = encodeTable();
    bool ok = true;
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            out.append(char(u));
            ++i;
            continue;
        }
        const qsizetype len = codePointLength(text, i);
        const std::uint16_t code = len == 1 && !QChar::isSurrogate(u) ? table.code(u) : 0;
        if (code >= 0x100) {
            out.append(char(code >> 8));
            out.append(char(code & 0xFF));
        } else if (code) {
            out.append(char(code));
        } else {
            out.append('?');
            ok = false;
            if (!onFailure(i, len))
                return false;
        }
        i += len;
    }
    return ok;
}

// The text of every half-width katakana byte and every lead byte with a trail byte; an unmapped
// pair has no unit (its text is U+FFFD). The texts of one-character inputs are kept whole, so the
// many one-character marks share them.
class DecodeTable {
public:
    Q_NEVER_INLINE DecodeTable() {
        int row = 0;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLead(static_cast<unsigned char>(lead)))
                continue;
            m_leadRows[std::size_t(lead)] = std::uint8_t(row + 1);
            for (int t = 0; t < table::kTrailCount; ++t) {
                const char16_t unit = table::kPairUnits[row * table::kTrailCount + t];
                const std::size_t slot = pairSlot(unsigned(lead), unsigned(0x40 + t));
                m_pairUnits[slot] = unit;
                if (unit)
                    m_texts[slot] = QString(QChar(unit));
            }
            ++row;
        }
        for (int b = 0; b < 0x80; ++b)
            m_texts[std::size_t(b)] = QString(QChar(char16_t(b)));
        for (int b = 0xA1; b <= 0xDF; ++b)
            m_texts[std::size_t(b)] = QString(QChar(char16_t(kKanaFirst + (b - 0xA1))));
    }

    // The code unit of two bytes when they are a lead and a trail byte of a mapped pair; 0 for any
    // other two bytes.
    char16_t pairUnit(unsigned first, unsigned second) const { return m_pairUnits[pairSlot(first, second)]; }
    // The whole text of an ASCII or kana byte, shared.
    const QString &text(unsigned byte) const { return m_texts[byte]; }
    // The shared text of two bytes that pairUnit() found valid.
    const QString &pairText(unsigned first, unsigned second) const {
        return m_texts[pairSlot(first, second)];
    }

private:
    // The pair units are kept in rows of 256 per lead byte (row 0, all zero, for any other first
    // byte): 31 KB rather than a 128 KB table indexed by both bytes, so the characters of a text
    // share fewer cache lines and pages. Row 0 of the texts holds the single bytes.
    std::size_t pairSlot(unsigned first, unsigned second) const {
        return std::size_t(m_leadRows[first & 0xFF]) << 8 | (second & 0xFF);
    }
    std::array<std::uint8_t, 0x100> m_leadRows{};
    std::vector<char16_t> m_pairUnits = std::vector<char16_t>((table::kLeadCount + 1) * 0x100);
    std::vector<QString> m_texts = std::vector<QString>((table::kLeadCount + 1) * 0x100);
};

const DecodeTable &decodeTable() {
    static const DecodeTable table;
    return table;
}

// Byte length of each code point of text: 1 for ASCII, half-width katakana and characters that
// cannot be encoded ('?'), 2 for the rest.
std::vector<int> charByteLengths(QStringView text, std::vector<qsizetype> *starts = nullptr) {
    const EncodeTable &table = encodeTable();
    std::vector<int> lengths;
    lengths.reserve(std::size_t(text.size()));
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t u = text[i].unicode();
        const qsizetype len = codePointLength(text, i);
        lengths.push_back(u >= 0x80 && len == 1 && table.code(u) >= 0x100 ? 2 : 1);
        if (starts)
            starts->push_back(i);
        i += len;
    }
    return lengths;
}

} // namespace

bool isLeadByte(unsigned char b) {
    return isLead(b);
}

bool encode(const QString &text, QByteArray &out) {
    return encodeImpl(text, out, [](qsizetype, qsizetype) { return true; });
}

QByteArray encodeLossy(const QString &text) {
    QByteArray out;
    encode(text, out);
    return out;
}

QString firstUnencodable(const QString &text) {
    QByteArray scratch;
    QString found;
    encodeImpl(text, scratch, [&](qsizetype pos, qsizetype len) {
        found = text.mid(pos, len);
        return false;
    });
    return found;
}

bool canEncode(const QString &text) {
    return firstUnencodable(text).isEmpty();
}

QString decode(const QByteArray &bytes) {
    return decode(bytes.constData(), bytes.size());
}

QString decode(const char *data, qsizetype size) {
    QString out;
    decodeInto(out, data, size);
    return out;
}

namespace {

// The general case of decodeInto(): decodes into a buffer, then into `out`.
Q_NEVER_INLINE void decodeLonger(QString &out, const char *data, qsizetype size, const DecodeTable &table) {
    // Every byte gives at most one code unit, so `size` units hold the text.
    QVarLengthArray<char16_t, 256> units(size);
    qsizetype n = 0;
    for (qsizetype i = 0; i < size;) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b < 0x80) {
            units[n++] = b;
            ++i;
            continue;
        }
        if (i + 1 < size) {
            if (const char16_t u = table.pairUnit(b, static_cast<unsigned char>(data[i + 1]))) {
                units[n++] = u;
                i += 2;
                continue;
            }
        }
        if (isKanaByte(b)) {
            units[n++] = char16_t(kKanaFirst + (b - 0xA1));
            ++i;
        } else if (isLead(b) && i + 1 < size && isTrailByte(static_cast<unsigned char>(data[i + 1]))) {
            units[n++] = QChar::ReplacementCharacter; // an unmapped pair
            i += 2;
        } else {
            units[n++] = QChar::ReplacementCharacter;
            ++i;
        }
    }
    // A buffer that is out's alone and large enough is written over in place.
    if (out.isDetached() && out.capacity() >= n) {
        out.resize(n);
        std::memcpy(static_cast<void *>(out.data()), units.data(), std::size_t(n) * sizeof(char16_t));
    } else {
        out = QString(reinterpret_cast<const QChar *>(units.data()), n);
    }
}

} // namespace

void decodeInto(QString &out, const char *data, qsizetype size) {
    if (!data || size <= 0) {
        out.clear();
        return;
    }
    const DecodeTable &table = decodeTable();
    // Marks and evaluations are mostly one character: they share the table's text, and a text that
    // already shares it is left alone.
    auto share = [&out](const QString &text) {
        if (out.constData() != text.constData())
            out = text;
    };
    const auto first = static_cast<unsigned char>(data[0]);
    if (size == 1 && (first < 0x80 || isKanaByte(first)))
        return share(table.text(first));
    if (size == 2) {
        const auto second = static_cast<unsigned char>(data[1]);
        if (table.pairUnit(first, second))
            return share(table.pairText(first, second));
    }
    decodeLonger(out, data, size, table);
}

int byteLength(const QString &text) {
    int total = 0;
    for (int len : charByteLengths(text))
        total += len;
    return total;
}

QString leftBytes(const QString &text, int n) {
    std::vector<qsizetype> starts;
    const std::vector<int> lengths = charByteLengths(text, &starts);
    int used = 0;
    for (size_t c = 0; c < lengths.size(); ++c) {
        if (used + lengths[c] > n)
            return text.left(starts[c]);
        used += lengths[c];
    }
    return text;
}

QByteArray leftBytes(const QByteArray &bytes, int n) {
    return bytes.left(safeCut(bytes, n));
}

QString midBytes(const QString &text, int from) {
    std::vector<qsizetype> starts;
    const std::vector<int> lengths = charByteLengths(text, &starts);
    int offset = 0;
    for (size_t c = 0; c < lengths.size(); ++c) {
        if (offset >= from)
            return text.mid(starts[c]);
        offset += lengths[c];
    }
    return QString();
}

QByteArray midBytes(const QByteArray &bytes, int from) {
    qsizetype pos = 0;
    while (pos < bytes.size() && pos < from)
        pos += isLeadByte(static_cast<unsigned char>(bytes[pos])) ? 2 : 1;
    return pos < bytes.size() ? bytes.mid(pos) : QByteArray();
}

int safeCut(const QByteArray &bytes, int n) {
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype len = isLeadByte(static_cast<unsigned char>(bytes[pos])) ? 2 : 1;
        if (pos + len > bytes.size())
            len = 1; // a lead byte cut off at the end counts alone
        if (pos + len > n)
            break;
        pos += len;
    }
    return int(pos);
}

} // namespace tavro::cp932
