#pragma once

#include <QByteArray>
#include <QString>

// Code page 932 (Shift-JIS, "windows-31j") at the file and clipboard boundary, and byte-counted
// text helpers. Byte positions count code page 932 bytes; no helper splits a double-byte character.
namespace tavro::cp932 {

// True for a byte that starts a double-byte character (0x81..0x9F, 0xE0..0xFC).
bool isLeadByte(unsigned char b);

// Encodes text. Returns false (and leaves `out` holding what could be encoded, with '?' in place of
// each character code page 932 cannot hold) when any character cannot be encoded.
bool encode(const QString &text, QByteArray &out);
// Encodes text that is known to be encodable; characters that are not become '?'.
QByteArray encodeLossy(const QString &text);
// The first character code page 932 cannot hold, or an empty string when all can be encoded.
QString firstUnencodable(const QString &text);
bool canEncode(const QString &text);

// Decodes bytes; invalid sequences become U+FFFD.
QString decode(const QByteArray &bytes);
QString decode(const char *data, qsizetype size);
// Decodes into `out`, writing over its buffer when it is out's alone and large enough, so reading
// many texts over earlier ones allocates little.
void decodeInto(QString &out, const char *data, qsizetype size);

// Number of code page 932 bytes of text (characters that cannot be encoded count as one byte).
int byteLength(const QString &text);

// At most n bytes from the start, ending before a double-byte character that would not fit.
QString leftBytes(const QString &text, int n);
QByteArray leftBytes(const QByteArray &bytes, int n);

// The text from byte offset `from` (0-based) on. An offset inside a double-byte character starts at
// the next whole character. midBytes(line, 3) is "the line from its 4th byte on".
QString midBytes(const QString &text, int from);
QByteArray midBytes(const QByteArray &bytes, int from);

// Number of bytes of the longest prefix of `bytes` of at most n bytes that does not split a
// double-byte character.
int safeCut(const QByteArray &bytes, int n);

} // namespace tavro::cp932
