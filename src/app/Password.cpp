#include "app/Password.h"

#include "common/Cp932.h"
#include "common/DataPaths.h"
#include "common/IniFile.h"

namespace tavro {

namespace {

const QString kPasswordSection = QStringLiteral("Password");

} // namespace

QString scramble(const QString &text, const QString &constant) {
    const QByteArray bytes = cp932::encodeLossy(text);
    qint64 sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    const qint64 h = sum * bytes.size() / 2;
    const QChar letter(QLatin1Char(static_cast<char>('A' + h % 25)));
    const QString digits = (QString::number(h) + constant).left(4);
    return letter + digits;
}

bool adminPasswordMatches(const QString &typed, const QString &storedPassword) {
    return scramble(typed, QString::fromLatin1(kAdminScrambleConstant)) == storedPassword;
}

QString storedTeacherPassword(const QString &dataFolder, const QString &teacher) {
    if (teacher.isEmpty())
        return QString();
    return IniFile(paths::mainSettingsFile(dataFolder)).readString(kPasswordSection, teacher);
}

bool storeTeacherPassword(const QString &dataFolder, const QString &teacher, const QString &plain,
                          QString *error) {
    if (!checkTeacherName(teacher, error) || !checkPasswordText(plain, error))
        return false;
    IniFile ini(paths::mainSettingsFile(dataFolder));
    ini.writeString(kPasswordSection, teacher,
                    scramble(plain, QString::fromLatin1(kTeacherScrambleConstant)));
    return ini.saveAs(ini.path(), error);
}

bool checkTeacherName(const QString &name, QString *reason) {
    QString why;
    bool ok = paths::isSafeName(name, &why);
    if (ok && (name.contains(u'=') || name.contains(u'(') || name.contains(u')') || name.startsWith(u'[') ||
               name.startsWith(u';') || name.trimmed() != name)) {
        why = QStringLiteral("名前に「=」「(」「)」は使えません。また、「[」「;」や空白で始まる名前、"
                             "空白で終わる名前は使えません。");
        ok = false;
    }
    if (!ok && reason)
        *reason = QStringLiteral("教師名「%1」は使えません。\n%2").arg(name, why);
    return ok;
}

bool checkPasswordText(const QString &password, QString *reason) {
    const QString bad = cp932::firstUnencodable(password);
    if (bad.isEmpty())
        return true;
    if (reason)
        *reason = QStringLiteral("パスワードに使えない文字「%1」が含まれています。").arg(bad);
    return false;
}

} // namespace tavro
