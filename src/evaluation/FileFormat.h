#pragma once

#include "common/DataFile.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstdint>
#include <cstring>

// Building blocks of the evaluation file formats: a bounds-checked cursor for the readers and a
// growing byte builder for the writers.
namespace tavro::format {

class Cursor {
public:
    Cursor(const QByteArray &bytes, qsizetype from)
        : m_p(bytes.constData() + qMin(from, bytes.size())), m_end(bytes.constData() + bytes.size()) {}

    qsizetype left() const { return m_end - m_p; }

    bool int32(std::int32_t &value) {
        if (left() < 4)
            return false;
        value = qFromLittleEndian<std::int32_t>(m_p);
        m_p += 4;
        return true;
    }
    bool byte(std::uint8_t &value) {
        if (left() < 1)
            return false;
        value = static_cast<std::uint8_t>(*m_p++);
        return true;
    }
    bool single(float &value) {
        if (left() < 4)
            return false;
        const std::uint32_t bits = qFromLittleEndian<std::uint32_t>(m_p);
        std::memcpy(&value, &bits, 4);
        m_p += 4;
        return true;
    }
    bool real(double &value) {
        if (left() < 8)
            return false;
        const std::uint64_t bits = qFromLittleEndian<std::uint64_t>(m_p);
        std::memcpy(&value, &bits, 8);
        m_p += 8;
        return true;
    }
    // `count` raw bytes.
    bool take(qsizetype count, const char *&data) {
        if (count < 0 || left() < count)
            return false;
        data = m_p;
        m_p += count;
        return true;
    }

    // `count` bytes of fixed fields, read with the unchecked readers below: one bounds check for
    // the run. Null (nothing taken) when fewer bytes are left.
    const char *fields(qsizetype count) {
        if (left() < count)
            return nullptr;
        const char *p = m_p;
        m_p += count;
        return p;
    }
    static std::int32_t int32At(const char *p) { return qFromLittleEndian<std::int32_t>(p); }
    static float singleAt(const char *p) {
        const std::uint32_t bits = qFromLittleEndian<std::uint32_t>(p);
        float value;
        std::memcpy(&value, &bits, 4);
        return value;
    }

    enum class TextResult { Ok, Truncated, BadLength };
    // A text entry: length + 1 (1..256), then that many bytes ending in a zero byte. The text is
    // the bytes before the first zero byte.
    TextResult text(const char *&data, int &size) {
        std::int32_t stored = 0;
        if (!int32(stored))
            return TextResult::Truncated;
        return textBody(stored, data, size);
    }
    // The rest of a text entry whose length field `stored` was read already.
    TextResult textBody(std::int32_t stored, const char *&data, int &size) {
        if (stored < 1 || stored > kMaxStoredText)
            return TextResult::BadLength;
        if (!take(stored, data))
            return TextResult::Truncated;
        // Texts are mostly a few bytes: for those a plain scan beats a call to memchr.
        if (stored <= 16) {
            size = 0;
            while (size < stored && data[size] != 0)
                ++size;
        } else {
            const void *zero = std::memchr(data, 0, std::size_t(stored));
            size = zero ? int(static_cast<const char *>(zero) - data) : stored;
        }
        return TextResult::Ok;
    }

    static constexpr int kMaxStoredText = 256;

private:
    const char *m_p;
    const char *m_end;
};

// The sections of an evaluation file: each entry starts with its key and a zero key ends the section.
// Once the bytes run out (the report is marked truncated) or an entry returns false, nothing more is
// read.
class SectionReader {
public:
    SectionReader(Cursor &cursor, ReadReport &report) : m_cursor(cursor), m_report(report) {}

    // Runs one section; `entry(key)` reads the rest of an entry and returns false to stop the reading.
    template <class Entry> void operator()(Entry entry) {
        if (m_stopped)
            return;
        for (;;) {
            std::int32_t key = 0;
            if (!m_cursor.int32(key)) {
                m_report.truncated = true;
                m_stopped = true;
                return;
            }
            if (key == 0)
                return;
            if (!entry(key)) {
                m_stopped = true;
                return;
            }
        }
    }

    // After the last section: the bytes left over, unless the reading stopped early.
    void finish() {
        if (!m_stopped)
            m_report.extraBytes = m_cursor.left();
    }

private:
    Cursor &m_cursor;
    ReadReport &m_report;
    bool m_stopped = false;
};

// Appends little-endian values to a buffer reserved up front.
class Builder {
public:
    explicit Builder(qsizetype reserve) : m_bytes(qMax<qsizetype>(reserve, 64), Qt::Uninitialized) {
        m_data = m_bytes.data();
    }

    void int32(std::int32_t value) {
        char *p = room(4);
        qToLittleEndian(value, p);
    }
    void byte(std::uint8_t value) { *room(1) = static_cast<char>(value); }
    void single(float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, 4);
        qToLittleEndian(bits, room(4));
    }
    void real(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, 8);
        qToLittleEndian(bits, room(8));
    }
    void bytes(const char *data, qsizetype size) {
        if (size > 0)
            std::memcpy(room(size), data, std::size_t(size));
    }
    void zeros(qsizetype size) {
        if (size > 0)
            std::memset(room(size), 0, std::size_t(size));
    }
    // A text entry: length + 1, the bytes, a zero byte.
    void text(const QByteArray &encoded) {
        int32(std::int32_t(encoded.size() + 1));
        bytes(encoded.constData(), encoded.size());
        byte(0);
    }
    // The four int32 values of one entry at once.
    void int32x4(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
        char *p = room(16);
        qToLittleEndian(a, p);
        qToLittleEndian(b, p + 4);
        qToLittleEndian(c, p + 8);
        qToLittleEndian(d, p + 12);
    }

    qsizetype size() const { return m_size; }
    QByteArray take() {
        m_bytes.resize(m_size);
        m_data = nullptr;
        return std::move(m_bytes);
    }

private:
    char *room(qsizetype n) {
        if (m_size + n > m_bytes.size()) {
            m_bytes.resize(qMax(m_bytes.size() * 2, m_size + n));
            m_data = m_bytes.data();
        }
        char *p = m_data + m_size;
        m_size += n;
        return p;
    }
    QByteArray m_bytes;
    char *m_data = nullptr;
    qsizetype m_size = 0;
};

// Reads the header into `report` (version, well-formedness, too new). False when nothing more is to
// be read: the version is 600 or more, or the file is shorter than the header.
bool readHeader(const QByteArray &bytes, ReadReport &report);

// Encodes a text for a file: code page 932, at most `maxBytes` bytes, never splitting a double-byte
// character. False when a character cannot be held by code page 932.
bool encodeText(const QString &text, int maxBytes, QByteArray &out);
// The message for a text that code page 932 cannot hold; `what` names the field.
QString unencodableMessage(const QString &what, const QString &text);

// Decodes text bytes read from a file (code page 932); texts of one character share their data.
QString decodeText(const char *data, int size);
inline QString decodeText(const QByteArray &bytes) {
    return decodeText(bytes.constData(), int(bytes.size()));
}

// Bytes of a text read from a file cut so that they do not end inside a double-byte character.
int wholeCharacters(const char *data, int size);

} // namespace tavro::format
