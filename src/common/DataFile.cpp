#include "common/DataFile.h"

namespace tavro {

QByteArray dataFileHeader() {
    return QByteArray("TAVRO_500\r\n", 11) + '\0';
}

int headerVersion(const QByteArray &bytes) {
    const QByteArray digits = bytes.left(11).mid(6, 3);
    if (digits.isEmpty())
        return 0;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool hasWellFormedHeader(const QByteArray &bytes) {
    if (bytes.size() < kHeaderSize || !bytes.startsWith("TAVRO_"))
        return false;
    for (int i = 6; i < 9; ++i)
        if (bytes[i] < '0' || bytes[i] > '9')
            return false;
    return bytes[9] == '\r' && bytes[10] == '\n' && bytes[11] == '\0';
}

bool ReadReport::isClean() const {
    return !unreadable && !badHeader && !tooNew && !truncated && !badText && skippedEntries == 0 &&
           badValues == 0 && extraBytes == 0;
}

QStringList ReadReport::problems() const {
    QStringList list;
    if (unreadable)
        list.append(QStringLiteral("読み込めません"));
    if (tooNew)
        list.append(QStringLiteral("新しすぎるバージョン (%1)").arg(version));
    else if (badHeader)
        list.append(QStringLiteral("不明な形式またはバージョン"));
    if (truncated)
        list.append(QStringLiteral("途中で切れています (%1バイト)").arg(size));
    if (badText)
        list.append(QStringLiteral("文字列の長さが不正です"));
    if (skippedEntries > 0)
        list.append(QStringLiteral("範囲外の番号のデータ %1件").arg(skippedEntries));
    if (badValues > 0)
        list.append(QStringLiteral("範囲外の値 %1件").arg(badValues));
    if (extraBytes > 0)
        list.append(QStringLiteral("末尾に余分なデータ %1バイト").arg(extraBytes));
    return list;
}

QString tooNewVersionMessage() {
    return QStringLiteral("ファイルの読み込みができません。\r\n最新版にバージョンアップしてください。");
}

} // namespace tavro
