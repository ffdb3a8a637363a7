#pragma once

#include <QByteArray>
#include <cstdint>

namespace tavro {

// Little-endian reader over a byte buffer. A read past the end returns false, leaves the value
// unchanged and marks the reader as run out; it never reads outside the buffer.
class ByteReader {
public:
    explicit ByteReader(const QByteArray &bytes) : m_bytes(bytes) {}

    bool readInt32(std::int32_t &value);
    bool readUInt8(std::uint8_t &value);
    bool readSingle(float &value);
    bool readDouble(double &value);
    bool readBytes(qsizetype count, QByteArray &value);
    bool skip(qsizetype count);

    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_bytes.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    // True after any read that asked for more bytes than were left.
    bool ranOut() const { return m_ranOut; }

private:
    bool take(qsizetype count, const char *&data);
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
    bool m_ranOut = false;
};

// Little-endian writer building a byte buffer in memory.
class ByteWriter {
public:
    void writeInt32(std::int32_t value);
    void writeUInt8(std::uint8_t value);
    void writeSingle(float value);
    void writeDouble(double value);
    void writeBytes(const QByteArray &bytes);
    // Exactly `size` bytes: the bytes, cut or padded with zeros.
    void writeFixed(const QByteArray &bytes, qsizetype size);

    const QByteArray &bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};

} // namespace tavro
