#include "config/YearSettings.h"

#include "common/DataPaths.h"

namespace tavro {

namespace {

const QString kTest = QStringLiteral("Test");
const QString kHyoutei = QStringLiteral("Hyoutei");
const QString kSentaku = QStringLiteral("Sentaku");
const QString kClassCount = QStringLiteral("ClassCount");
const QString kPrint = QStringLiteral("Print");
const QString kPermission = QStringLiteral("Permission");

QString numbered(const char *stem, int n) {
    return QLatin1String(stem) + QString::number(n);
}
QString paternSection(int p) {
    return numbered("Patern", p);
}

// Values used as indices elsewhere; anything outside the range reads as `fallback`.
int inRange(int value, int low, int high, int fallback) {
    return value >= low && value <= high ? value : fallback;
}

void readPatterns(const IniFile &ini, const QString &section, YearSettings::Patterns &patterns) {
    for (int n = 1; n <= 5; ++n) {
        patterns.hyouteiPatern[n - 1] =
            inRange(ini.readInteger(section, numbered("HyouteiPatern", n), 0), 0, 6, 0);
        patterns.kantenPatern[n - 1] =
            inRange(ini.readInteger(section, numbered("KantenPatern", n), 0), 0, 5, 0);
    }
    for (int n = 2; n <= 5; ++n)
        patterns.hikaku[n - 1] = inRange(ini.readInteger(section, numbered("Hikaku", n), 0), 0, n - 1, 0);
}

void writePatterns(IniFile &ini, const QString &section, const YearSettings::Patterns &patterns) {
    for (int n = 1; n <= 5; ++n) {
        ini.writeInteger(section, numbered("HyouteiPatern", n), patterns.hyouteiPatern[n - 1]);
        ini.writeInteger(section, numbered("KantenPatern", n), patterns.kantenPatern[n - 1]);
    }
    for (int n = 2; n <= 5; ++n)
        ini.writeInteger(section, numbered("Hikaku", n), patterns.hikaku[n - 1]);
}

} // namespace

int SymbolPattern::symbolCount() const {
    int count = 0;
    while (count < int(kigou.size()) && !kigou[count].isEmpty())
        ++count;
    return count;
}

QString YearSettings::defaultGakuNameName(int n) {
    return QStringLiteral("学力テスト") + QString::number(n) + QStringLiteral("回目");
}

std::array<QString, 9> YearSettings::defaultGakuNameNames() {
    std::array<QString, 9> names;
    for (int n = 1; n <= 9; ++n)
        names[n - 1] = defaultGakuNameName(n);
    return names;
}

YearSettings YearSettings::load(const QString &dataFolder, int nendo) {
    return fromIni(IniFile(paths::yearSettingsFile(dataFolder, nendo)));
}

YearSettings YearSettings::fromIni(const IniFile &ini) {
    YearSettings s;
    for (int n = 1; n <= 5; ++n)
        s.testName[n - 1] = ini.readString(kTest, numbered("TestName", n));
    s.gakuTestName = ini.readInteger(kTest, QStringLiteral("GakuTestName"), 0);
    for (int n = 1; n <= 9; ++n)
        s.gakuNameName[n - 1] = ini.readString(kTest, numbered("GakuNameName", n), defaultGakuNameName(n));
    s.gTestKanten = ini.readBool(kTest, QStringLiteral("G_Test_Kanten"), false);
    s.tTestKanten = ini.readBool(kTest, QStringLiteral("T_Test_Kanten"), true);
    s.totatuEmphasis = ini.readBool(kTest, QStringLiteral("Totatu_Emphasis"), false);
    s.tTestSSorAVG = ini.readInteger(kTest, QStringLiteral("T_TestSSorAVG"), 0);
    s.gTestSSorAVG = ini.readInteger(kTest, QStringLiteral("G_TestSSorAVG"), 0);
    s.marume = ini.readInteger(kTest, QStringLiteral("Marume"), 0);

    for (int n = 1; n <= 5; ++n)
        s.hyouteiName[n - 1] = ini.readString(kHyoutei, numbered("HyouteiName", n));
    readPatterns(ini, kHyoutei, s.hissu);
    readPatterns(ini, kSentaku, s.sentaku);

    for (int p = 1; p <= 5; ++p) {
        SymbolPattern &pattern = s.patterns[p - 1];
        const QString section = paternSection(p);
        for (int k = 1; k <= 10; ++k)
            pattern.kigou[k - 1] = ini.readString(section, numbered("Kigou", k));
        for (int k = 1; k <= 9; ++k)
            pattern.cutPoint[k - 1] = qBound(0, ini.readInteger(section, numbered("CutPoint", k), 0), 100);
        pattern.totatuDisp = ini.readInteger(section, QStringLiteral("TotatuDisp"), 0);
    }
    for (int g = 1; g <= 6; ++g)
        s.classCount[g - 1] = qBound(0, ini.readInteger(kClassCount, numbered("ClassCount", g), 0), 12);

    s.kanHyouHenkan = ini.readInteger(kHyoutei, QStringLiteral("KanHyouHenkan"), 0);
    s.borderRound = ini.readInteger(kHyoutei, QStringLiteral("BorderRound"), 0);
    s.borderCheck = ini.readInteger(kHyoutei, QStringLiteral("BorderCheck"), 0);
    s.consistency = ini.readBool(kHyoutei, QStringLiteral("Consistency"), false);
    for (int i = 0; i <= 3; ++i)
        s.consistencyItem[i] = inRange(ini.readInteger(kHyoutei, numbered("ConsistencyItem", i), 0), 0, 5, 0);
    for (int i = 1; i <= 3; ++i)
        s.changeList[i - 1] = inRange(ini.readInteger(kHyoutei, numbered("ChangeList", i), 0), 0, 5, 0);
    s.mikomiPatern = ini.readInteger(kHyoutei, QStringLiteral("MikomiPatern"), 1);
    s.toutatuPaste = ini.readBool(kHyoutei, QStringLiteral("ToutatuPaste"), false);
    s.commentPaste = ini.readBool(kHyoutei, QStringLiteral("CommentPaste"), false);
    s.compareKanten = ini.readBool(kHyoutei, QStringLiteral("CompareKanten"), false);
    s.addKoumuToutatu = ini.readBool(kHyoutei, QStringLiteral("AddKoumuToutatu"), false);

    s.oldType = ini.readBool(kPrint, QStringLiteral("OldType"), false);
    s.danjoBetu = ini.readBool(kPrint, QStringLiteral("DanjoBetu"), false);
    s.ichiranHoukou = ini.readInteger(kPrint, QStringLiteral("IchiranHoukou"), 1);

    for (int n = 1; n <= 5; ++n) {
        s.teikiTest[n - 1] = ini.readBool(kPermission, numbered("TeikiTest", n), false);
        s.hyoutei[n - 1] = ini.readBool(kPermission, numbered("Hyoutei", n), false);
        s.hyouteiS[n - 1] = ini.readBool(kPermission, numbered("HyouteiS", n), false);
    }
    for (int n = 1; n <= 9; ++n)
        s.gakuTest[n - 1] = ini.readBool(kPermission, numbered("GakuTest", n), false);
    return s;
}

void YearSettings::writeTo(IniFile &ini) const {
    for (int n = 1; n <= 5; ++n)
        ini.writeString(kTest, numbered("TestName", n), testName[n - 1]);
    ini.writeInteger(kTest, QStringLiteral("GakuTestName"), gakuTestName);
    for (int n = 1; n <= 9; ++n)
        ini.writeString(kTest, numbered("GakuNameName", n), gakuNameName[n - 1]);
    ini.writeBool(kTest, QStringLiteral("G_Test_Kanten"), gTestKanten);
    ini.writeBool(kTest, QStringLiteral("T_Test_Kanten"), tTestKanten);
    ini.writeBool(kTest, QStringLiteral("Totatu_Emphasis"), totatuEmphasis);
    ini.writeInteger(kTest, QStringLiteral("T_TestSSorAVG"), tTestSSorAVG);
    ini.writeInteger(kTest, QStringLiteral("G_TestSSorAVG"), gTestSSorAVG);
    ini.writeInteger(kTest, QStringLiteral("Marume"), marume);

    for (int n = 1; n <= 5; ++n)
        ini.writeString(kHyoutei, numbered("HyouteiName", n), hyouteiName[n - 1]);
    writePatterns(ini, kHyoutei, hissu);
    ini.writeInteger(kHyoutei, QStringLiteral("KanHyouHenkan"), kanHyouHenkan);
    ini.writeInteger(kHyoutei, QStringLiteral("BorderRound"), borderRound);
    ini.writeInteger(kHyoutei, QStringLiteral("BorderCheck"), borderCheck);
    ini.writeBool(kHyoutei, QStringLiteral("Consistency"), consistency);
    for (int i = 0; i <= 3; ++i)
        ini.writeInteger(kHyoutei, numbered("ConsistencyItem", i), consistencyItem[i]);
    for (int i = 1; i <= 3; ++i)
        ini.writeInteger(kHyoutei, numbered("ChangeList", i), changeList[i - 1]);
    ini.writeInteger(kHyoutei, QStringLiteral("MikomiPatern"), mikomiPatern);
    ini.writeBool(kHyoutei, QStringLiteral("ToutatuPaste"), toutatuPaste);
    ini.writeBool(kHyoutei, QStringLiteral("CommentPaste"), commentPaste);
    ini.writeBool(kHyoutei, QStringLiteral("CompareKanten"), compareKanten);
    ini.writeBool(kHyoutei, QStringLiteral("AddKoumuToutatu"), addKoumuToutatu);
    writePatterns(ini, kSentaku, sentaku);

    for (int p = 1; p <= 5; ++p) {
        const SymbolPattern &pattern = patterns[p - 1];
        const QString section = paternSection(p);
        for (int k = 1; k <= 10; ++k)
            ini.writeString(section, numbered("Kigou", k), pattern.kigou[k - 1]);
        for (int k = 1; k <= 9; ++k)
            ini.writeInteger(section, numbered("CutPoint", k), pattern.cutPoint[k - 1]);
        ini.writeInteger(section, QStringLiteral("TotatuDisp"), pattern.totatuDisp);
    }
    for (int g = 1; g <= 6; ++g)
        ini.writeInteger(kClassCount, numbered("ClassCount", g), classCount[g - 1]);

    ini.writeBool(kPrint, QStringLiteral("OldType"), oldType);
    ini.writeBool(kPrint, QStringLiteral("DanjoBetu"), danjoBetu);
    ini.writeInteger(kPrint, QStringLiteral("IchiranHoukou"), ichiranHoukou);

    for (int n = 1; n <= 5; ++n)
        ini.writeBool(kPermission, numbered("TeikiTest", n), teikiTest[n - 1]);
    for (int n = 1; n <= 9; ++n)
        ini.writeBool(kPermission, numbered("GakuTest", n), gakuTest[n - 1]);
    for (int n = 1; n <= 5; ++n)
        ini.writeBool(kPermission, numbered("Hyoutei", n), hyoutei[n - 1]);
    for (int n = 1; n <= 5; ++n)
        ini.writeBool(kPermission, numbered("HyouteiS", n), hyouteiS[n - 1]);
}

bool YearSettings::save(const QString &dataFolder, int nendo, QString *error) const {
    paths::ensureYearFolder(dataFolder, nendo);
    IniFile ini(paths::yearSettingsFile(dataFolder, nendo));
    writeTo(ini);
    return ini.save(error);
}

} // namespace tavro
