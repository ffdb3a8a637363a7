#include "common/ByteRecords.h"

#include <QtEndian>
#include <cstring>

namespace tavro {

bool ByteReader::take(qsizetype count, const char *&data) {
    if (count < 0 || count > remaining()) {
        m_ranOut = true;
        return false;
    }
    data = m_bytes.constData() + m_pos;
    m_pos += count;
    return true;
}

bool ByteReader::readInt32(std::int32_t &value) {
    const char *data = nullptr;
    if (!take(4, data))
        return false;
    value = qFromLittleEndian<std::int32_t>(data);
    return true;
}

bool ByteReader::readUInt8(std::uint8_t &value) {
    const char *data = nullptr;
    if (!take(1, data))
        return false;
    value = static_cast<std::uint8_t>(*data);
    return true;
}

bool ByteReader::readSingle(float &value) {
    const char *data = nullptr;
    if (!take(4, data))
        return false;
    const std::uint32_t bits = qFromLittleEndian<std::uint32_t>(data);
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool ByteReader::readDouble(double &value) {
    const char *data = nullptr;
    if (!take(8, data))
        return false;
    const std::uint64_t bits = qFromLittleEndian<std::uint64_t>(data);
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool ByteReader::readBytes(qsizetype count, QByteArray &value) {
    const char *data = nullptr;
    if (!take(count, data))
        return false;
    value = QByteArray(data, count);
    return true;
}

bool ByteReader::skip(qsizetype count) {
    const char *data = nullptr;
    return take(count, data);
}

void ByteWriter::writeInt32(std::int32_t value) {
    char data[4];
    qToLittleEndian(value, data);
    m_bytes.append(data, 4);
}

void ByteWriter::writeUInt8(std::uint8_t value) {
    m_bytes.append(static_cast<char>(value));
}

void ByteWriter::writeSingle(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char data[4];
    qToLittleEndian(bits, data);
    m_bytes.append(data, 4);
}

void ByteWriter::writeDouble(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char data[8];
    qToLittleEndian(bits, data);
    m_bytes.append(data, 8);
}

void ByteWriter::writeBytes(const QByteArray &bytes) {
    m_bytes.append(bytes);
}

void ByteWriter::writeFixed(const QByteArray &bytes, qsizetype size) {
    if (size <= 0)
        return;
    const qsizetype used = qMin(bytes.size(), size);
    m_bytes.append(bytes.constData(), used);
    m_bytes.append(size - used, '\0');
}

} // namespace tavro
