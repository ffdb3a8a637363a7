#include "app/Startup.h"

#include "common/DataPaths.h"
#include "common/FileSave.h"
#include "common/IniFile.h"
#include "platform/Prompter.h"
#include "platform/qt/QtPorts.h"

#include <QDir>
#include <QFileInfo>

namespace tavro {

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kCaption = QStringLiteral("Tavro");

QString num(int n) {
    return QString::number(n);
}

} // namespace

int schoolYearOf(const QDate &date) {
    return date.month() < 4 ? date.year() - 1 : date.year();
}

bool isNetworkPath(const QString &programPath) {
    return isUncPath(programPath);
}

QString networkStartMessage() {
    return QStringLiteral(
        "ネットワークから直接起動しないで、\r\n一度、ドライブに割り当ててから使用してください。");
}

QString programIniPath(const QString &programPath) {
    const QFileInfo info(programPath);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".INI");
}

DataFolderLocation locateDataFolder(const QString &programPath) {
    DataFolderLocation location;
    const QString programFolder = QFileInfo(programPath).absolutePath();
    const QString programIni = paths::resolveExisting(programIniPath(programPath));
    QString mainIni = QDir::fromNativeSeparators(
        IniFile(programIni).readString(kSettings, QStringLiteral("MainIniFile")).trimmed());
    if (mainIni.isEmpty()) {
        mainIni = programIni;
    } else {
        location.configured = true;
        if (QFileInfo(mainIni).isRelative())
            mainIni = QDir(programFolder).absoluteFilePath(mainIni);
        mainIni = paths::resolveExisting(mainIni);
        if (!QFileInfo(mainIni).isFile())
            location.missing = mainIni;
    }

    QString folder = QDir::fromNativeSeparators(
        IniFile(mainIni).readString(kSettings, QStringLiteral("DataFolder")).trimmed());
    if (folder.isEmpty()) {
        folder = programFolder + QStringLiteral("/data");
    } else {
        location.configured = true;
        if (QFileInfo(folder).isRelative())
            folder = QDir(programFolder).absoluteFilePath(folder);
    }
    location.folder = paths::withTrailingSeparator(folder);
    if (location.missing.isEmpty() && location.configured && !QFileInfo(location.folder).isDir())
        location.missing = location.folder;
    return location;
}

QString resolveDataFolder(const QString &programPath) {
    const DataFolderLocation location = locateDataFolder(programPath);
    if (!location.configured)
        paths::ensureFolder(location.folder);
    return location.folder;
}

QString dataFolderMissingMessage(const QString &path) {
    return QStringLiteral("データフォルダが見つかりません。\r\n%1\r\n\r\n"
                          "ネットワークドライブが接続されているか確認してください。")
        .arg(QDir::toNativeSeparators(path));
}

std::optional<QString> startupDataFolder(const QString &programPath, Prompter &prompter,
                                         const std::function<QString()> &chooseFolder) {
    for (;;) {
        const DataFolderLocation location = locateDataFolder(programPath);
        if (!location.configured)
            paths::ensureFolder(location.folder);
        if (location.missing.isEmpty())
            return location.folder;
        const QString text = dataFolderMissingMessage(location.missing);
        if (!chooseFolder) {
            if (prompter.ask(kCaption,
                             text +
                                 QStringLiteral("\r\n［OK］でもう一度探します。［キャンセル］で終了します。"),
                             Prompter::Buttons::OkCancel, Prompter::Answer::Ok,
                             Prompter::Icon::Warning) != Prompter::Answer::Ok)
                return std::nullopt;
            continue;
        }
        const Prompter::Answer answer = prompter.ask(
            kCaption,
            text + QStringLiteral("\r\n［はい］でもう一度探します。［いいえ］で別のフォルダを選びます。"
                                  "［キャンセル］で終了します。"),
            Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes, Prompter::Icon::Warning);
        if (answer == Prompter::Answer::Cancel)
            return std::nullopt;
        if (answer == Prompter::Answer::No) {
            const QString chosen = chooseFolder();
            if (!chosen.isEmpty() && QFileInfo(chosen).isDir())
                return paths::withTrailingSeparator(QDir(chosen).absolutePath());
        }
    }
}

bool checkDataFolder(const QString &dataFolder, Prompter &prompter) {
    if (QFileInfo(dataFolder).isDir())
        return true;
    prompter.message(kCaption, dataFolderMissingMessage(dataFolder), Prompter::Icon::Warning);
    return false;
}

QString MainSettings::defaultSchoolName() {
    return QStringLiteral("○○市立○○中学校");
}

MainSettings MainSettings::load(const QString &dataFolder) {
    const IniFile ini(paths::resolveExisting(paths::mainSettingsFile(dataFolder)));
    MainSettings s;
    s.schoolName = ini.readString(kSettings, QStringLiteral("SchoolName"), defaultSchoolName());
    s.password = ini.readString(kSettings, QStringLiteral("Password"));
    s.classType = ini.readBool(kSettings, QStringLiteral("ClassType"), true);
    s.schoolKind = ini.readInteger(kSettings, QStringLiteral("SchoolKind"), 1);
    return s;
}

bool MainSettings::save(const QString &dataFolder, QString *error) const {
    IniFile ini(paths::resolveExisting(paths::mainSettingsFile(dataFolder)));
    ini.writeString(kSettings, QStringLiteral("SchoolName"), schoolName);
    ini.writeString(kSettings, QStringLiteral("Password"), password);
    ini.writeBool(kSettings, QStringLiteral("ClassType"), classType);
    ini.writeInteger(kSettings, QStringLiteral("SchoolKind"), schoolKind);
    return ini.save(error);
}

QString YearMenus::gakuTestLabel() const {
    return gakuTestName != 0 ? QStringLiteral("実力テスト") : QStringLiteral("学力テスト");
}

YearMenus YearMenus::load(const QString &dataFolder, int nendo) {
    const IniFile ini(paths::resolveExisting(paths::yearSettingsFile(dataFolder, nendo)));
    const QString test = QStringLiteral("Test");
    const QString hyoutei = QStringLiteral("Hyoutei");
    const QString permission = QStringLiteral("Permission");
    YearMenus m;

    for (int n = 1; n <= 5; ++n) {
        const QString name = ini.readString(test, QStringLiteral("TestName") + num(n),
                                            QStringLiteral("第%1回定期テスト").arg(n));
        if (!name.isEmpty())
            m.testKinds.append({QString(QLatin1Char(static_cast<char>('A' + m.testKinds.size()))), name, n});
    }
    for (int n = 1; n <= 5; ++n) {
        const QString name = ini.readString(hyoutei, QStringLiteral("HyouteiName") + num(n),
                                            QStringLiteral("必修評定%1").arg(n));
        if (!name.isEmpty()) {
            m.hyouteiNames.append(name);
            m.hyouteiNumbers.append(n);
        }
    }
    for (int g = 1; g <= 6; ++g)
        m.classCount[g - 1] =
            ini.readInteger(QStringLiteral("ClassCount"), QStringLiteral("ClassCount") + num(g), 0);
    m.gakuTestName = ini.readInteger(test, QStringLiteral("GakuTestName"), 0);
    m.gTestKanten = ini.readBool(test, QStringLiteral("G_Test_Kanten"), false);
    m.tTestKanten = ini.readBool(test, QStringLiteral("T_Test_Kanten"), true);
    m.totatuEmphasis = ini.readBool(test, QStringLiteral("Totatu_Emphasis"), false);
    for (int n = 1; n <= 9; ++n) {
        const QString name = ini.readString(test, QStringLiteral("GakuNameName") + num(n),
                                            QStringLiteral("学力テスト%1回目").arg(n));
        if (!name.isEmpty())
            m.gakuTestKinds.append(
                {QString(QLatin1Char(static_cast<char>('1' + m.gakuTestKinds.size()))), name, n});
    }
    m.danjoBetu = ini.readBool(QStringLiteral("Print"), QStringLiteral("DanjoBetu"), false);
    for (int n = 1; n <= 5; ++n)
        m.teikiTest[n - 1] = ini.readBool(permission, QStringLiteral("TeikiTest") + num(n), false);
    for (int n = 1; n <= 9; ++n)
        m.gakuTest[n - 1] = ini.readBool(permission, QStringLiteral("GakuTest") + num(n), false);

    readTextLines(paths::resolveExisting(paths::sentakuFile(dataFolder, nendo)), m.sentakuList);
    return m;
}

void YearMenus::applyTo(WorkingContext &context) const {
    context.classCount = classCount;
    context.gTestKanten = gTestKanten;
    context.tTestKanten = tTestKanten;
    context.totatuEmphasis = totatuEmphasis;
    context.danjoBetu = danjoBetu;
    context.teikiTest = teikiTest;
    context.gakuTest = gakuTest;
    context.sentakuList = sentakuList;
}

void reloadPermissions(WorkingContext &context) {
    const YearMenus m = YearMenus::load(context.dataFolder, context.nendo);
    context.teikiTest = m.teikiTest;
    context.gakuTest = m.gakuTest;
}

QStringList compulsorySubjects(int schoolKind) {
    if (schoolKind == 0)
        return {QStringLiteral("国語"), QStringLiteral("社会"),  QStringLiteral("算数"),
                QStringLiteral("理科"), QStringLiteral("生活"),  QStringLiteral("音楽"),
                QStringLiteral("図工"), QStringLiteral("体育B"), QStringLiteral("体育G"),
                QStringLiteral("家庭")};
    if (schoolKind == 1)
        return {QStringLiteral("国語"), QStringLiteral("社会"),  QStringLiteral("数学"),
                QStringLiteral("理科"), QStringLiteral("英語"),  QStringLiteral("音楽"),
                QStringLiteral("美術"), QStringLiteral("保体B"), QStringLiteral("保体G"),
                QStringLiteral("技家")};
    return {};
}

QStringList periodicTestSubjects() {
    return {QStringLiteral("国語"),  QStringLiteral("社会"),  QStringLiteral("数学"), QStringLiteral("理科"),
            QStringLiteral("英語"),  QStringLiteral("音楽"),  QStringLiteral("美術"), QStringLiteral("保体B"),
            QStringLiteral("保体G"), QStringLiteral("技家I"), QStringLiteral("技家H")};
}

QStringList achievementTestSubjects() {
    return {QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("数学"), QStringLiteral("理科"),
            QStringLiteral("英語")};
}

QStringList electivesOfGrade(const QStringList &sentakuList, int grade) {
    QStringList list;
    const QChar digit(QLatin1Char(static_cast<char>('0' + grade)));
    for (const QString &line : sentakuList)
        if (!line.isEmpty() && line.at(0) == digit)
            list.append(line);
    return list;
}

bool readOnlyFor(int nendo, int thisNendo, bool isTestWindow, bool permitted) {
    return nendo != thisNendo || (isTestWindow && !permitted);
}

WorkingContext loadContext(const QString &dataFolder, int nendo, int thisNendo) {
    WorkingContext c;
    c.dataFolder = paths::withTrailingSeparator(dataFolder);
    c.nendo = nendo;
    c.thisNendo = thisNendo;
    c.mainCaption = QString::fromUtf8(kMainCaption);
    const MainSettings s = MainSettings::load(c.dataFolder);
    c.schoolName = s.schoolName;
    c.password = s.password;
    c.classType = s.classType;
    c.schoolKind = s.schoolKind;
    YearMenus::load(c.dataFolder, nendo).applyTo(c);
    return c;
}

} // namespace tavro
