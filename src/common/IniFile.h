#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace tavro {

// In-memory ini file in code page 932: loads the whole file when created, answers reads with
// defaults for missing sections and keys, and saves the whole file back only when something was
// written. Lines that were not written keep their text and order. Section and key names compare
// without regard to letter case.
class IniFile {
public:
    IniFile() = default;
    explicit IniFile(const QString &path);

    // Loads `path` (found without regard to letter case). A missing or unreadable file gives an
    // empty object (existed() tells which); an unreadable one is not saved over while it is there.
    void load(const QString &path);
    // Replaces the content with the given bytes (as if read from a file); path unchanged.
    void loadBytes(const QByteArray &bytes);

    const QString &path() const { return m_path; }
    bool existed() const { return m_existed; }

    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    QString readString(const QString &section, const QString &key, const QString &def = QString()) const;
    // A value that is not a decimal integer reads as the default.
    int readInteger(const QString &section, const QString &key, int def) const;
    // True when the integer value is non-zero.
    bool readBool(const QString &section, const QString &key, bool def) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value); // "1" / "0"
    void eraseSection(const QString &section);
    void deleteKey(const QString &section, const QString &key);

    bool modified() const { return m_modified; }

    // Whole file in code page 932 with CR LF after every line.
    QByteArray toBytes() const;
    // Saves to path() atomically when modified. Returns false with an error text on failure;
    // an unmodified object writes nothing and returns true.
    // Text that code page 932 cannot hold fails the save with a message; nothing is written then.
    bool save(QString *error = nullptr);
    // Saves to `path` whether modified or not; `path` becomes path().
    bool saveAs(const QString &path, QString *error = nullptr);

private:
    struct Line {
        QByteArray raw; // the bytes as read; written back unchanged while `written` is false
        bool written = false;
        QString text;    // the line as read or as last written
        QString section; // for section lines: the name; empty otherwise
        QString key;     // for key lines: the key as written; empty otherwise
        bool isSection = false;
    };
    int findSection(const QString &section) const;
    int findKey(const QString &section, const QString &key) const;
    // First line index after the section's last non-empty line (where a new key is inserted).
    int sectionInsertPoint(int sectionLine) const;
    // End of the section starting at `sectionLine`: the next section line or the end.
    int sectionEnd(int sectionLine) const;
    static Line parseLine(const QString &text);
    bool buildBytes(QByteArray &bytes, QString *error) const;

    QString m_path;
    bool m_existed = false;
    bool m_unreadable = false;
    bool m_modified = false;
    std::vector<Line> m_lines;
};

} // namespace tavro
