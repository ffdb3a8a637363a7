#include "common/Cp932.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QVarLengthArray>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

// ICU's "windows-31j" table swaps three ASCII control codes (0x1A, 0x1C, 0x7F) the way IBM code
// pages do, so bytes below 0x80 are mapped here one to one and only the double-byte characters and
// half-width katakana go through the converter (for decoding, through a table built from it once).
namespace tavro::cp932 {

namespace {

constexpr const char *kCodecName = "windows-31j";

bool isLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
bool isKanaByte(unsigned char b) {
    return b >= 0xA1 && b <= 0xDF;
}

// Length in QChars of the code point starting at text[i].
qsizetype codePointLength(QStringView text, qsizetype i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return 2;
    return 1;
}

// Opening a converter is far dearer than converting a short text, so each thread keeps one. An
// encoder that has met an unencodable character keeps its error flag and is replaced.
bool encodeRun(QStringView run, QByteArray &out) {
    thread_local std::optional<QStringEncoder> encoder;
    if (!encoder)
        encoder.emplace(kCodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder->encode(run);
    if (encoder->hasError()) {
        encoder.reset();
        return false;
    }
    out.append(bytes);
    return true;
}

// Encodes text; each character that cannot be encoded becomes '?'. Calls `onFailure` with the
// position of each such character.
template <typename OnFailure> bool encodeImpl(QStringView text, QByteArray &out, OnFailure onFailure) {
    out.clear();
    out.reserve(text.size() * 2);
    bool ok = true;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i].unicode() < 0x80) {
            out.append(char(text[i].unicode()));
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text[end].unicode() >= 0x80)
            ++end;
        QStringView run = text.mid(i, end - i);
        if (!encodeRun(run, out)) {
            // Find the characters the converter refuses, one code point at a time.
            qsizetype j = 0;
            while (j < run.size()) {
                qsizetype len = codePointLength(run, j);
                if (!encodeRun(run.mid(j, len), out)) {
                    out.append('?');
                    ok = false;
                    if (!onFailure(i + j, len))
                        return false;
                }
                j += len;
            }
        }
        i = end;
    }
    return ok;
}

// The converter's text for every half-width katakana byte and every lead byte with a trail byte,
// each decoded alone once; the converter's U+001A for an unmapped sequence becomes U+FFFD. A unit
// whose text is not one UTF-16 code unit (none in practice) keeps its text in `longer`. The texts of
// one-character inputs are kept whole, so the many one-character marks share them.
class DecodeTable {
public:
    Q_NEVER_INLINE DecodeTable() {
        for (int lead = 0x81, row = 1; lead <= 0xFC; ++lead)
            if (isLeadByte(static_cast<unsigned char>(lead)))
                m_leadRows[std::size_t(lead)] = std::uint8_t(row++);
        QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
        for (int b = 0; b < 0x80; ++b)
            m_texts[std::size_t(b)] = QString(QChar(char16_t(b)));
        auto add = [&](const QByteArray &unit, int index) {
            QString text = decoder.decode(unit);
            text.replace(QChar(0x1A), QChar::ReplacementCharacter);
            char16_t &slot = index < 0x100 ? m_singleUnits[std::size_t(index)]
                                           : m_pairUnits[pairSlot(index >> 8, index & 0xFF)];
            if (text.size() == 1 && text[0].unicode() != 0)
                slot = text[0].unicode();
            else
                m_longer.insert(index, text);
            m_texts[textIndex(index)] = text;
        };
        for (int b = 0xA1; b <= 0xDF; ++b)
            add(QByteArray(1, char(b)), b);
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrailByte(static_cast<unsigned char>(trail)))
                    continue;
                const char pair[2] = {char(lead), char(trail)};
                add(QByteArray(pair, 2), lead << 8 | trail);
            }
        }
    }

    // The code unit of the unit with index `index` (the kana byte, or lead << 8 | trail); 0 when
    // its text is in longer().
    char16_t unit(int index) const {
        return index < 0x100 ? m_singleUnits[std::size_t(index)] : pairUnit(index >> 8, index & 0xFF);
    }
    // The code unit of two bytes when they are a lead and a trail byte whose text is one unit; 0
    // for any other two bytes.
    char16_t pairUnit(unsigned first, unsigned second) const { return m_pairUnits[pairSlot(first, second)]; }
    QString longer(int index) const { return m_longer.value(index); }
    // The whole text of a one-character input (an ASCII byte, a kana byte or a pair), shared.
    const QString &text(int index) const { return m_texts[textIndex(index)]; }
    // The shared text of two bytes that pairUnit() found valid.
    const QString &pairText(unsigned first, unsigned second) const {
        return m_texts[pairSlot(first, second)];
    }

private:
    // The pair units are kept in rows of 256 per lead byte (row 0, all zero, for any other first
    // byte): 31 KB rather than a 128 KB table indexed by both bytes, so the characters of a text
    // share fewer cache lines and pages.
    std::size_t pairSlot(unsigned first, unsigned second) const {
        return std::size_t(m_leadRows[first & 0xFF]) << 8 | (second & 0xFF);
    }
    std::array<std::uint8_t, 0x100> m_leadRows{};
    std::array<char16_t, 0x100> m_singleUnits{};
    std::vector<char16_t> m_pairUnits = std::vector<char16_t>(61 * 0x100);
    QHash<int, QString> m_longer;
    // Single bytes in row 0, pairs at their slot.
    std::size_t textIndex(int index) const {
        return index < 0x100 ? std::size_t(index) : pairSlot(unsigned(index) >> 8, unsigned(index));
    }
    std::vector<QString> m_texts = std::vector<QString>(61 * 0x100);
};

const DecodeTable &decodeTable() {
    static const DecodeTable table;
    return table;
}

// Byte length of each code point of text: 1 for ASCII, half-width katakana and characters that
// cannot be encoded ('?'), 2 for the rest.
std::vector<int> charByteLengths(QStringView text, std::vector<qsizetype> *starts = nullptr) {
    QByteArray scratch;
    std::vector<bool> unencodable(text.size(), false);
    encodeImpl(text, scratch, [&](qsizetype pos, qsizetype) {
        unencodable[pos] = true;
        return true;
    });
    std::vector<int> lengths;
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t u = text[i].unicode();
        int len = 2;
        if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F) || unencodable[i])
            len = 1;
        lengths.push_back(len);
        if (starts)
            starts->push_back(i);
        i += codePointLength(text, i);
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
    // Every byte gives at most one code unit, so `size` units hold the text; a longer text from
    // the table grows the buffer.
    QVarLengthArray<char16_t, 256> units(size);
    qsizetype n = 0;
    auto put = [&](int index) {
        if (const char16_t u = table.unit(index)) {
            units[n++] = u;
            return;
        }
        const QString longer = table.longer(index);
        units.resize(units.size() + longer.size());
        for (QChar c : longer)
            units[n++] = c.unicode();
    };
    for (qsizetype i = 0; i < size;) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b < 0x80) {
            units[n++] = b;
            ++i;
            continue;
        }
        // A valid pair has its unit; a kana byte or an invalid pair finds 0 and takes the checks
        // below.
        if (i + 1 < size) {
            if (const char16_t u = table.pairUnit(b, static_cast<unsigned char>(data[i + 1]))) {
                units[n++] = u;
                i += 2;
                continue;
            }
        }
        if (isKanaByte(b)) {
            put(b);
            ++i;
        } else if (isLead(b) && i + 1 < size && isTrailByte(static_cast<unsigned char>(data[i + 1]))) {
            put(b << 8 | static_cast<unsigned char>(data[i + 1]));
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
