#pragma once

#include "common/FileSave.h"

#include <QByteArray>
#include <QStringList>

#include <map>

namespace tavro::test {

// The bytes of some files at one moment (a missing file as empty), to tell later whether any of
// them changed.
class FileSnapshot {
public:
    explicit FileSnapshot(const QStringList &paths) {
        for (const QString &path : paths)
            readWholeFile(path, m_bytes[path]);
    }
    const QByteArray &bytes(const QString &path) const { return m_bytes.at(path); }
    bool unchanged() const {
        for (const auto &[path, bytes] : m_bytes) {
            QByteArray now;
            readWholeFile(path, now);
            if (now != bytes)
                return false;
        }
        return true;
    }

private:
    std::map<QString, QByteArray> m_bytes;
};

} // namespace tavro::test
