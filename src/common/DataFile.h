#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a reader of a binary data file found: whether the file was there, its header version, and
// the damage it survived. Readers never fail on a bad file; they stop or skip and say so here.
namespace tavro {

// The 12-byte header of the test score files and the evaluation files: "TAVRO_500", CR, LF, zero.
inline constexpr int kHeaderSize = 12;
inline constexpr int kFormatVersion = 500;
inline constexpr int kRefusedVersion = 600; // evaluation readers refuse this version and above
QByteArray dataFileHeader();
// Characters 7..9 of the first 11 bytes as a decimal number; 0 when they are not one.
int headerVersion(const QByteArray &bytes);
// True when the file starts with "TAVRO_", three digits, CR, LF and a zero byte.
bool hasWellFormedHeader(const QByteArray &bytes);

struct ReadReport {
    bool found = false;       // the file exists and could be read
    bool unreadable = false;  // it exists but could not be read
    int version = 0;          // header version (evaluation files and class score files)
    bool badHeader = false;   // the header is not "TAVRO_" + three digits + CR LF + zero byte
    bool tooNew = false;      // version 600 or more: nothing was read
    bool truncated = false;   // the data ended inside an entry or before the last section ended
    bool badText = false;     // a text length outside 1..256 or past the end stopped the reading
    int skippedEntries = 0;   // entries with a key out of range, not stored
    int badValues = 0;        // stored values out of their range
    qsizetype extraBytes = 0; // bytes after the end of the data
    qsizetype size = 0;       // file size in bytes

    // True when nothing above is wrong (a missing file is clean: it reads as defaults).
    bool isClean() const;
    // The problems in Japanese, one short phrase each.
    QStringList problems() const;
};

// The message shown (caption "TAVRO", OK) when an evaluation file is of version 600 or more.
QString tooNewVersionMessage();

} // namespace tavro
