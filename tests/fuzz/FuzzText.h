#pragma once

#include "common/Cp932.h"
#include "common/IniFile.h"

#include <QByteArray>
#include <QStringList>
#include <utility>
#include <vector>

// Helpers of the fuzz targets of the text readers.
namespace fuzz {

inline QByteArray bytesOf(const unsigned char *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// True when every text can be written in code page 932 (a decoded invalid byte cannot).
inline bool encodable(const QStringList &texts) {
    for (const QString &t : texts)
        if (!tavro::cp932::canEncode(t))
            return false;
    return true;
}

// Every section with every key and its value, as the ini object answers them.
using IniModel = std::vector<std::pair<QString, std::vector<std::pair<QString, QString>>>>;

inline IniModel modelOf(const tavro::IniFile &ini) {
    IniModel model;
    for (const QString &section : ini.sections()) {
        std::vector<std::pair<QString, QString>> values;
        for (const QString &key : ini.keys(section))
            values.emplace_back(key, ini.readString(section, key));
        model.emplace_back(section, std::move(values));
    }
    return model;
}

inline tavro::IniFile iniOf(const QByteArray &bytes) {
    tavro::IniFile ini;
    ini.loadBytes(bytes);
    return ini;
}

} // namespace fuzz
