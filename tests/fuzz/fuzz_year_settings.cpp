// The year settings and the viewpoint definitions (both ini files) on arbitrary bytes: what was read
// writes back into the same object and into an empty one, and reads again the same.
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "config/KantenFile.h"
#include "config/YearSettings.h"

namespace {

QStringList textsOf(const tavro::YearSettings &s) {
    QStringList texts;
    for (const QString &t : s.testName)
        texts << t;
    for (const QString &t : s.gakuNameName)
        texts << t;
    for (const QString &t : s.hyouteiName)
        texts << t;
    for (const tavro::SymbolPattern &p : s.patterns)
        for (const QString &t : p.kigou)
            texts << t;
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    tavro::IniFile ini = fuzz::iniOf(bytes);

    const tavro::YearSettings settings = tavro::YearSettings::fromIni(ini);
    if (fuzz::encodable(textsOf(settings))) {
        tavro::IniFile fresh;
        settings.writeTo(fresh);
        FUZZ_CHECK(tavro::YearSettings::fromIni(fuzz::iniOf(fresh.toBytes())) == settings);
        tavro::IniFile same = fuzz::iniOf(bytes);
        settings.writeTo(same);
        FUZZ_CHECK(tavro::YearSettings::fromIni(fuzz::iniOf(same.toBytes())) == settings);
    }

    // Every section read as viewpoint names, written back into the same object and into an empty one.
    tavro::IniFile same = fuzz::iniOf(bytes);
    tavro::IniFile fresh;
    std::vector<std::pair<QString, tavro::KantenNames>> written;
    for (const QString &section : ini.sections()) {
        if (section.isEmpty())
            continue;
        const tavro::KantenNames names = tavro::kanten::read(ini, section);
        QStringList texts{section};
        for (int v = 0; v < 6; ++v)
            texts << names.shortName[v] << names.mediumName[v] << names.longName[v];
        if (!fuzz::encodable(texts))
            continue;
        tavro::kanten::write(same, section, names);
        tavro::kanten::write(fresh, section, names);
        written.emplace_back(section, names);
    }
    const tavro::IniFile sameAgain = fuzz::iniOf(same.toBytes());
    const tavro::IniFile freshAgain = fuzz::iniOf(fresh.toBytes());
    for (const auto &[section, names] : written) {
        FUZZ_CHECK(tavro::kanten::read(sameAgain, section) == names);
        FUZZ_CHECK(tavro::kanten::read(freshAgain, section) == names);
    }
    return 0;
}
