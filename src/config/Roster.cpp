#include "config/Roster.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/Width.h"

#include <QDir>

namespace tavro {

QString RosterEntry::field(int c) const {
    if (c == 0)
        return name;
    if (c == 1)
        return furigana;
    if (c >= 2 && c < 8)
        return history[c - 2];
    return QString();
}

void RosterEntry::setField(int c, const QString &value) {
    if (c == 0)
        name = value;
    else if (c == 1)
        furigana = value;
    else if (c >= 2 && c < 8)
        history[c - 2] = value;
}

namespace roster {

namespace {

constexpr int kFields = 8; // fields 3..10 of a line

QStringList rosterLines(const QByteArray &bytes, int maxLines) {
    QStringList lines = splitTextLines(cp932::decode(bytes));
    const int limit = qBound(0, maxLines, kMaxRosterLines);
    if (lines.size() > limit)
        lines.resize(limit);
    return lines;
}

// Fields of one line after the two display fields. A missing field is empty; the text after the
// last TAB (the empty end of a well-formed line) is not a field of its own.
QStringList dataFields(const QString &line) {
    QStringList fields = line.split(u'\t');
    fields = fields.mid(2);
    while (fields.size() < kFields)
        fields.append(QString());
    return fields;
}

// Removes half-width and full-width spaces.
QString withoutSpaces(QString text) {
    text.remove(u' ');
    text.remove(QChar(0x3000));
    return text;
}

// A TAB or line break in a cell would shift the fields or lines of the file.
QString cellText(const QString &text) {
    QString out = text;
    for (QChar &c : out) {
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    }
    return out;
}

} // namespace

std::vector<QString> parseNames(const QByteArray &bytes) {
    std::vector<QString> names(kMaxRosterLines);
    const QStringList lines = rosterLines(bytes, kMaxRosterLines);
    for (qsizetype i = 0; i < lines.size(); ++i)
        names[i] = dataFields(lines[i]).at(0);
    return names;
}

std::vector<QString> readNames(const QString &dataFolder, int nendo, int grade) {
    QByteArray bytes;
    readWholeFile(paths::rosterFile(dataFolder, nendo, grade), bytes);
    return parseNames(bytes);
}

std::vector<RosterEntry> parseEntries(const QByteArray &bytes, int maxLines) {
    std::vector<RosterEntry> entries;
    const QStringList lines = rosterLines(bytes, maxLines);
    entries.reserve(lines.size());
    for (const QString &line : lines) {
        const QStringList fields = dataFields(line);
        RosterEntry entry;
        for (int c = 0; c < kFields; ++c)
            entry.setField(c, fields[c]);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<RosterEntry> readEntries(const QString &path, int maxLines) {
    QByteArray bytes;
    if (!readWholeFile(path, bytes))
        return {};
    return parseEntries(bytes, maxLines);
}

QString classLabel(int slot, bool classType) {
    const int cls = slot / kSeatsPerClass + 1;
    return u' ' + (classType ? QString::number(cls) : QString(QChar(char16_t(64 + cls))));
}

QString numberLabel(int slot) {
    return u' ' + QString::number(slot % kSeatsPerClass + 1);
}

bool serialize(const std::vector<RosterEntry> &entries, bool classType, QByteArray &bytes, QString *error) {
    QString text;
    for (size_t slot = 0; slot < entries.size(); ++slot) {
        text += classLabel(int(slot), classType) + u'\t' + numberLabel(int(slot)) + u'\t';
        for (int c = 0; c < kFields; ++c)
            text += cellText(entries[slot].field(c)) + u'\t';
        text += u"\r\n";
    }
    if (cp932::encode(text, bytes))
        return true;
    if (error) {
        for (size_t slot = 0; slot < entries.size(); ++slot) {
            for (int c = 0; c < kFields; ++c) {
                const QString bad = cp932::firstUnencodable(entries[slot].field(c));
                if (!bad.isEmpty()) {
                    *error = QStringLiteral("%1組%2番にShift-JISで保存できない文字「%3」があります。")
                                 .arg(classLabel(int(slot), classType).trimmed(),
                                      numberLabel(int(slot)).trimmed(), bad);
                    return false;
                }
            }
        }
    }
    return false;
}

bool write(const QString &path, const std::vector<RosterEntry> &entries, bool classType, QString *error) {
    QByteArray bytes;
    QString reason;
    if (!serialize(entries, classType, bytes, &reason)) {
        if (error)
            *error = QStringLiteral("ファイルを保存できませんでした。\n%1\n%2")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    return saveFileAtomically(path, bytes, error);
}

QString historyProgressText(int oldYear, int oldGrade, int row) {
    const int filled = qBound(0, row / kSeatsPerClass + 1, 12);
    return QString::asprintf("%d年度%d年生のファイル", oldYear, oldGrade) + QStringLiteral("を処理中... ") +
           QString(filled, QChar(0x25A0)) + QString(12 - filled, QChar(0x25A1));
}

bool buildHistory(std::vector<RosterEntry> &entries, const QString &dataFolder, int nendo, int grade,
                  const std::function<void(const QString &)> &progress) {
    bool found = false;
    for (int k = 1; k <= grade - 1; ++k) {
        const int oldYear = nendo - k;
        const int oldGrade = grade - k;
        if (oldGrade < 1 || oldGrade > int(RosterEntry().history.size()))
            continue;
        QByteArray bytes;
        if (!readWholeFile(paths::rosterFile(dataFolder, oldYear, oldGrade), bytes))
            continue;
        found = true;
        QStringList oldLines = rosterLines(bytes, kMaxRosterLines);
        for (QString &line : oldLines)
            line = withoutSpaces(line);

        const size_t rows = qMin(entries.size(), size_t(kMaxRosterLines));
        for (size_t slot = 0; slot < rows; ++slot) {
            RosterEntry &entry = entries[slot];
            if (entry.name.isEmpty())
                continue;
            if (progress)
                progress(historyProgressText(oldYear, oldGrade, int(slot) + 1));
            const QString name = withoutSpaces(entry.name);
            if (name.isEmpty())
                continue;
            qsizetype match = -1;
            for (qsizetype s = 0; s < oldLines.size(); ++s) {
                if (oldLines[s].contains(name))
                    match = s;
            }
            if (match >= 0)
                entry.history[oldGrade - 1] =
                    QString::number(match / kSeatsPerClass + 1) +
                    QStringLiteral("%1").arg(match % kSeatsPerClass + 1, 2, 10, QChar(u'0'));
        }
    }
    return found;
}

QString furiganaToHiragana(const QString &reading) {
    QString text = width::katakanaToHiragana(width::halfKanaToFullWidth(reading));
    // ゔ, ゕ and ゖ have no code page 932 form; keep ヴ, ヵ and ヶ so the roster can still be saved.
    for (QChar &c : text) {
        if (c == QChar(0x3094) || c == QChar(0x3095) || c == QChar(0x3096))
            c = QChar(char16_t(c.unicode() + 0x60));
    }
    return text;
}

} // namespace roster

} // namespace tavro
