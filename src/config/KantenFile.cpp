#include "config/KantenFile.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"

#include <QDir>
#include <QFileInfo>

namespace tavro {

int KantenNames::usedCount() const {
    int count = 0;
    for (const QString &s : shortName)
        if (!s.isEmpty())
            ++count;
    return count;
}

void KantenNames::fillDefaults() {
    mediumName = {QStringLiteral("知識・技能"),
                  QStringLiteral("思考・判断・表現"),
                  QStringLiteral("主体的に学習に取り組む態度"),
                  QString(),
                  QString(),
                  QString()};
    shortName = {QStringLiteral("知識"),
                 QStringLiteral("思考"),
                 QStringLiteral("態度"),
                 QString(),
                 QString(),
                 QString()};
}

namespace kanten {

namespace {

const QString kSentaku = QStringLiteral("選択");

} // namespace

QStringList subjects(int schoolKind) {
    if (schoolKind == 0)
        return {QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("算数"),
                QStringLiteral("理科"), QStringLiteral("生活"), QStringLiteral("音楽"),
                QStringLiteral("図工"), QStringLiteral("体育"), QStringLiteral("家庭")};
    if (schoolKind == 1)
        return {QStringLiteral("国語"), QStringLiteral("社会"), QStringLiteral("数学"),
                QStringLiteral("理科"), QStringLiteral("英語"), QStringLiteral("音楽"),
                QStringLiteral("美術"), QStringLiteral("保体"), QStringLiteral("技家")};
    return {};
}

QString section(const QString &subject, bool elective) {
    return elective ? kSentaku + subject : subject;
}

QString sectionForSubject(const QString &kyouka) {
    return cp932::leftBytes(kyouka, 4);
}

QString sectionForElective(const QString &elective) {
    const QString subject = elective.startsWith(kSentaku) ? elective.mid(kSentaku.size()) : elective;
    return kSentaku + cp932::leftBytes(subject, 4);
}

QString key(int viewpoint, char kind) {
    return QStringLiteral("kanten") + QString::number(viewpoint) + QLatin1Char(kind);
}

KantenNames read(const IniFile &ini, const QString &section) {
    KantenNames names;
    for (int v = 1; v <= 6; ++v) {
        names.shortName[v - 1] = ini.readString(section, key(v, 's'));
        names.mediumName[v - 1] = ini.readString(section, key(v, 'm'));
        names.longName[v - 1] = ini.readString(section, key(v, 'l'));
    }
    return names;
}

void write(IniFile &ini, const QString &section, const KantenNames &names) {
    for (int v = 1; v <= 6; ++v) {
        ini.writeString(section, key(v, 's'), names.shortName[v - 1]);
        ini.writeString(section, key(v, 'm'), names.mediumName[v - 1]);
        ini.writeString(section, key(v, 'l'), names.longName[v - 1]);
    }
}

QString filePath(const QString &dataFolder, int nendo) {
    return paths::resolveExisting(paths::kantenFile(dataFolder, nendo));
}

KantenNames load(const QString &dataFolder, int nendo, const QString &section) {
    return read(IniFile(filePath(dataFolder, nendo)), section);
}

bool save(const QString &dataFolder, int nendo, const QString &section, const KantenNames &names,
          QString *error) {
    paths::ensureYearFolder(dataFolder, nendo);
    IniFile ini(filePath(dataFolder, nendo));
    write(ini, section, names);
    return ini.saveAs(ini.path(), error);
}

ImportResult importPreviousYear(const QString &dataFolder, int nendo, int schoolKind, QString *error) {
    const QString previousPath = filePath(dataFolder, nendo - 1);
    if (!QFileInfo::exists(previousPath)) {
        if (error)
            *error = noPreviousFileMessage();
        return ImportResult::NoPreviousFile;
    }
    const IniFile previous(previousPath);
    if (!previous.existed()) {
        if (error)
            *error = QStringLiteral("前年度の観点定義ファイルを読み込めませんでした。\n%1")
                         .arg(QDir::toNativeSeparators(previousPath));
        return ImportResult::Failed;
    }
    paths::ensureYearFolder(dataFolder, nendo);
    IniFile current(filePath(dataFolder, nendo));
    for (bool elective : {false, true})
        for (const QString &subject : subjects(schoolKind)) {
            const QString name = section(subject, elective);
            write(current, name, read(previous, name));
        }
    return current.saveAs(current.path(), error) ? ImportResult::Imported : ImportResult::Failed;
}

QString noPreviousFileMessage() {
    return QStringLiteral("前年度の観点定義ファイルがありません。\r\n再度確認してから実行してください。");
}

} // namespace kanten

} // namespace tavro
