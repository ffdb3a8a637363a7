// The ini object on arbitrary bytes: the file written back (unchanged, or with every value written
// again, or rebuilt from its values alone) reads the same sections, keys and values.
#include "FuzzCheck.h"
#include "FuzzText.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    tavro::IniFile ini = fuzz::iniOf(bytes);
    const fuzz::IniModel model = fuzz::modelOf(ini);

    // Unwritten lines keep their bytes.
    FUZZ_CHECK(!ini.modified());
    FUZZ_CHECK(fuzz::modelOf(fuzz::iniOf(ini.toBytes())) == model);

    QStringList texts;
    fuzz::IniModel writable;
    for (const auto &[section, values] : model) {
        // "[]" can be read but names no section that can be written; a section without keys has no
        // value to write.
        if (section.isEmpty() || values.empty())
            continue;
        writable.emplace_back(section, values);
        texts << section;
        for (const auto &[key, value] : values)
            texts << key << value;
    }
    if (!fuzz::encodable(texts))
        return 0;

    // Every value written again over itself changes nothing that is read.
    for (const auto &[section, values] : writable)
        for (const auto &[key, value] : values)
            ini.writeString(section, key, value);
    FUZZ_CHECK(fuzz::modelOf(fuzz::iniOf(ini.toBytes())) == model);

    // The values alone, written into an empty object, read back the same.
    tavro::IniFile fresh;
    for (const auto &[section, values] : writable)
        for (const auto &[key, value] : values)
            fresh.writeString(section, key, value);
    FUZZ_CHECK(fuzz::modelOf(fuzz::iniOf(fresh.toBytes())) == writable);
    return 0;
}
