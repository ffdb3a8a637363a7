#pragma once

#include "common/IniFile.h"

#include <QString>
#include <array>

namespace tavro {

// One symbol scale ("Patern" + p): ten symbols, highest first, and nine lower bounds in percent.
struct SymbolPattern {
    std::array<QString, 10> kigou;
    std::array<int, 9> cutPoint{};
    int totatuDisp = 0;

    // Number of leading non-empty symbols.
    int symbolCount() const;
    bool operator==(const SymbolPattern &other) const = default;
};

// The year settings file ("Tavro" + year + ".ini") with every key and its default. load() reads all
// values; save() writes every key back into the same ini object, so lines this program does not know
// keep their place.
struct YearSettings {
    // "Test"
    std::array<QString, 5> testName; // default empty (the main window's own defaults differ)
    int gakuTestName = 0;
    std::array<QString, 9> gakuNameName = defaultGakuNameNames(); // "学力テスト" + n + "回目"
    bool gTestKanten = false;
    bool tTestKanten = true;
    bool totatuEmphasis = false;
    int tTestSSorAVG = 0;
    int gTestSSorAVG = 0;
    int marume = 0;

    // "Hyoutei" (compulsory) and "Sentaku" (elective)
    std::array<QString, 5> hyouteiName;
    struct Patterns {
        std::array<int, 5> hyouteiPatern{}; // 0 none, 1..5 A..E, 6 K
        std::array<int, 5> kantenPatern{};  // 0 none, 1..5 A..E
        std::array<int, 5> hikaku{};        // index 1..4 used (evaluations 2..5)
        bool operator==(const Patterns &other) const = default;
    };
    Patterns hissu;   // section "Hyoutei"
    Patterns sentaku; // section "Sentaku"

    std::array<SymbolPattern, 5> patterns; // "Patern1".."Patern5"
    std::array<int, 6> classCount{};

    int kanHyouHenkan = 0;
    int borderRound = 0;
    int borderCheck = 0;
    bool consistency = false;
    std::array<int, 4> consistencyItem{};
    std::array<int, 3> changeList{};
    int mikomiPatern = 1;
    bool toutatuPaste = false;
    bool commentPaste = false;
    bool compareKanten = false;
    bool addKoumuToutatu = false;

    // "Print"
    bool oldType = false;
    bool danjoBetu = false;
    int ichiranHoukou = 1;

    // "Permission"
    std::array<bool, 5> teikiTest{};
    std::array<bool, 9> gakuTest{};
    std::array<bool, 5> hyoutei{};
    std::array<bool, 5> hyouteiS{};

    bool operator==(const YearSettings &other) const = default;

    static QString defaultGakuNameName(int n); // n = 1..9
    static std::array<QString, 9> defaultGakuNameNames();

    // Reads every key from the year settings file of `nendo` (missing file: all defaults).
    static YearSettings load(const QString &dataFolder, int nendo);
    static YearSettings fromIni(const IniFile &ini);
    // Writes every key into `ini`.
    void writeTo(IniFile &ini) const;
    // Creates the year folder when missing and writes every key into the year settings file.
    bool save(const QString &dataFolder, int nendo, QString *error = nullptr) const;
};

} // namespace tavro
