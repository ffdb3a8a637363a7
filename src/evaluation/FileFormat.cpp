#include "evaluation/FileFormat.h"

#include "common/Cp932.h"

#include <array>

namespace tavro::format {

bool readHeader(const QByteArray &bytes, ReadReport &report) {
    report.size = bytes.size();
    report.version = headerVersion(bytes);
    report.badHeader = !hasWellFormedHeader(bytes) || report.version != kFormatVersion;
    if (report.version >= kRefusedVersion) {
        report.tooNew = true;
        return false;
    }
    if (bytes.size() < kHeaderSize) {
        report.truncated = true;
        return false;
    }
    return true;
}

bool encodeText(const QString &text, int maxBytes, QByteArray &out) {
    if (text.isEmpty()) {
        out.clear();
        return true;
    }
    if (!cp932::encode(text, out))
        return false;
    if (out.size() > maxBytes)
        out.truncate(cp932::safeCut(out, maxBytes));
    return true;
}

QString unencodableMessage(const QString &what, const QString &text) {
    return QStringLiteral("%1にShift-JISで保存できない文字「%2」があります。")
        .arg(what, cp932::firstUnencodable(text));
}

QString decodeText(const char *data, int size) {
    return cp932::decode(data, size);
}

int wholeCharacters(const char *data, int size) {
    int i = 0;
    while (i < size) {
        if (cp932::isLeadByte(static_cast<unsigned char>(data[i]))) {
            if (i + 1 >= size)
                return i;
            i += 2;
        } else {
            ++i;
        }
    }
    return i;
}

} // namespace tavro::format
