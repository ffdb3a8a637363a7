#include "common/IniFile.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/FileSave.h"

#include <QDir>

namespace tavro {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Trims half-width spaces and tabs only; a full-width space belongs to the value.
QString trimBlanks(QStringView text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return text.mid(start, end - start).toString();
}

bool sameName(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A line break inside a name or value would split the line in the file.
QString oneLine(const QString &text) {
    QString out = text;
    for (QChar &c : out) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return out;
}

} // namespace

IniFile::IniFile(const QString &path) {
    load(path);
}

IniFile::Line IniFile::parseLine(const QString &text) {
    Line line;
    line.text = text;
    const QString trimmed = trimBlanks(text);
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        if (close > 0) {
            line.isSection = true;
            line.section = trimBlanks(QStringView(trimmed).mid(1, close - 1));
        }
        return line;
    }
    if (trimmed.startsWith(u';'))
        return line;
    const qsizetype eq = trimmed.indexOf(u'=');
    if (eq > 0)
        line.key = trimBlanks(QStringView(trimmed).left(eq));
    return line;
}

void IniFile::load(const QString &path) {
    m_path = paths::resolveExisting(path);
    QByteArray bytes;
    m_existed = readWholeFile(m_path, bytes);
    loadBytes(bytes);
    m_unreadable = !m_existed && paths::fileExists(m_path);
}

void IniFile::loadBytes(const QByteArray &bytes) {
    m_unreadable = false;
    m_lines.clear();
    m_modified = false;
    // Lines end at CR LF, LF or CR; no code page 932 trail byte is below 0x40, so splitting the
    // bytes is safe.
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArray raw = bytes.mid(start, end - start);
        Line line = parseLine(cp932::decode(raw));
        line.raw = raw;
        m_lines.push_back(std::move(line));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

int IniFile::findSection(const QString &section) const {
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].isSection && sameName(m_lines[i].section, section))
            return int(i);
    }
    return -1;
}

int IniFile::sectionEnd(int sectionLine) const {
    int i = sectionLine + 1;
    while (i < int(m_lines.size()) && !m_lines[i].isSection)
        ++i;
    return i;
}

int IniFile::findKey(const QString &section, const QString &key) const {
    const int s = findSection(section);
    if (s < 0 || key.isEmpty())
        return -1;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i) {
        if (!m_lines[i].key.isEmpty() && sameName(m_lines[i].key, key))
            return i;
    }
    return -1;
}

int IniFile::sectionInsertPoint(int sectionLine) const {
    int i = sectionEnd(sectionLine);
    while (i - 1 > sectionLine && trimBlanks(m_lines[i - 1].text).isEmpty())
        --i;
    return i;
}

bool IniFile::sectionExists(const QString &section) const {
    return findSection(section) >= 0;
}

bool IniFile::valueExists(const QString &section, const QString &key) const {
    return findKey(section, key) >= 0;
}

QStringList IniFile::sections() const {
    QStringList names;
    for (const Line &line : m_lines) {
        if (line.isSection && !names.contains(line.section, Qt::CaseInsensitive))
            names.append(line.section);
    }
    return names;
}

QStringList IniFile::keys(const QString &section) const {
    QStringList names;
    const int s = findSection(section);
    if (s < 0)
        return names;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i) {
        const QString &key = m_lines[i].key;
        if (!key.isEmpty() && !names.contains(key, Qt::CaseInsensitive))
            names.append(key);
    }
    return names;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const {
    const int i = findKey(section, key);
    if (i < 0)
        return def;
    const QString &text = m_lines[i].text;
    return trimBlanks(QStringView(text).mid(text.indexOf(u'=') + 1));
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const {
    bool ok = false;
    const int value = readString(section, key).toInt(&ok, 10);
    return ok ? value : def;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) {
    const QString sectionName = trimBlanks(oneLine(section));
    const QString keyName = trimBlanks(oneLine(key));
    if (sectionName.isEmpty() || keyName.isEmpty())
        return;
    const QString text = keyName + u'=' + oneLine(value);
    Line line = parseLine(text);
    line.written = true;

    if (const int i = findKey(sectionName, keyName); i >= 0) {
        if (m_lines[i].text != text) {
            m_lines[i] = std::move(line);
            m_modified = true;
        }
        return;
    }
    m_modified = true;
    if (const int s = findSection(sectionName); s >= 0) {
        m_lines.insert(m_lines.begin() + sectionInsertPoint(s), std::move(line));
        return;
    }
    auto append = [this](const QString &t) {
        Line l = parseLine(t);
        l.written = true;
        m_lines.push_back(std::move(l));
    };
    if (!m_lines.empty() && !trimBlanks(m_lines.back().text).isEmpty())
        append(QString());
    append(u'[' + sectionName + u']');
    m_lines.push_back(std::move(line));
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString &section) {
    for (int s = findSection(section); s >= 0; s = findSection(section)) {
        m_lines.erase(m_lines.begin() + s, m_lines.begin() + sectionEnd(s));
        m_modified = true;
    }
}

void IniFile::deleteKey(const QString &section, const QString &key) {
    if (const int i = findKey(section, key); i >= 0) {
        m_lines.erase(m_lines.begin() + i);
        m_modified = true;
    }
}

bool IniFile::buildBytes(QByteArray &bytes, QString *error) const {
    bytes.clear();
    bool ok = true;
    for (const Line &line : m_lines) {
        if (!line.written) {
            bytes.append(line.raw);
        } else {
            QByteArray encoded;
            if (!cp932::encode(line.text, encoded) && ok) {
                ok = false;
                if (error)
                    *error = QStringLiteral("Shift-JISで保存できない文字「%1」があります。")
                                 .arg(cp932::firstUnencodable(line.text));
            }
            bytes.append(encoded);
        }
        bytes.append("\r\n");
    }
    return ok;
}

QByteArray IniFile::toBytes() const {
    QByteArray bytes;
    buildBytes(bytes, nullptr);
    return bytes;
}

bool IniFile::save(QString *error) {
    if (!m_modified)
        return true;
    auto fail = [&](const QString &reason) {
        if (error)
            *error = QStringLiteral("ファイルを保存できませんでした。\n%1\n%2")
                         .arg(QDir::toNativeSeparators(m_path), reason);
        return false;
    };
    if (m_path.isEmpty())
        return fail(QStringLiteral("保存先のファイル名がありません。"));
    // Saving what was read of a file that could not be read would drop all its other settings.
    if (m_unreadable && paths::fileExists(m_path))
        return fail(QStringLiteral("ファイルを読み込めなかったので、上書きしません。"));
    QByteArray bytes;
    QString reason;
    if (!buildBytes(bytes, &reason))
        return fail(reason);
    if (!saveFileAtomically(m_path, bytes, error))
        return false;
    m_modified = false;
    m_existed = true;
    return true;
}

bool IniFile::saveAs(const QString &path, QString *error) {
    if (path != m_path)
        m_unreadable = false;
    m_path = path;
    m_modified = true;
    return save(error);
}

} // namespace tavro
