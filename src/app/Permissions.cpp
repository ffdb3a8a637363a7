#include "app/Permissions.h"

#include "common/DataPaths.h"
#include "common/IniFile.h"

namespace tavro {

namespace {

const QString kPermission = QStringLiteral("Permission");

QStringList nonEmptyNames(const IniFile &ini, const QString &section, const QString &stem, int count,
                          const QString &defaultPattern) {
    QStringList names;
    for (int n = 1; n <= count; ++n) {
        const QString def = defaultPattern.isEmpty() ? QString() : defaultPattern.arg(n);
        const QString name = ini.readString(section, stem + QString::number(n), def);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

} // namespace

InputPermissions InputPermissions::load(const QString &dataFolder, int nendo) {
    paths::ensureYearFolder(dataFolder, nendo);
    const IniFile ini(paths::yearSettingsFile(dataFolder, nendo));
    const QString test = QStringLiteral("Test");
    // Periodic tests take the main window's default names, so the list matches its menus.
    const QStringList teiki =
        nonEmptyNames(ini, test, QStringLiteral("TestName"), 5, QStringLiteral("第%1回定期テスト"));
    const QStringList gaku =
        nonEmptyNames(ini, test, QStringLiteral("GakuNameName"), 9, QStringLiteral("学力テスト%1回目"));
    const QStringList hyoutei =
        nonEmptyNames(ini, QStringLiteral("Hyoutei"), QStringLiteral("HyouteiName"), 5, {});

    InputPermissions p;
    p.pages[0] = {QStringLiteral("定期"),
                  QStringLiteral("定期テストの入力を許可するものにチェックを入れてください。"),
                  QStringLiteral("TeikiTest"),
                  teiki,
                  {}};
    p.pages[1] = {QStringLiteral("学力(実力)"),
                  QStringLiteral("学力(実力)テストの入力を許可するものにチェックを入れてください。"),
                  QStringLiteral("GakuTest"),
                  gaku,
                  {}};
    p.pages[2] = {QStringLiteral("必修評定"),
                  QStringLiteral("必修の評定の実行を許可するものにチェックを入れてください。"),
                  QStringLiteral("Hyoutei"),
                  hyoutei,
                  {}};
    p.pages[3] = {QStringLiteral("選択評定"),
                  QStringLiteral("選択の評定の実行を許可するものにチェックを入れてください。"),
                  QStringLiteral("HyouteiS"),
                  hyoutei,
                  {}};
    for (Page &page : p.pages)
        for (int i = 0; i < page.items.size(); ++i)
            page.checked.append(ini.readBool(kPermission, page.key + QString::number(i + 1), false));
    return p;
}

bool InputPermissions::save(const QString &dataFolder, int nendo, QString *error) const {
    paths::ensureYearFolder(dataFolder, nendo);
    IniFile ini(paths::yearSettingsFile(dataFolder, nendo));
    for (const Page &page : pages)
        for (int i = 0; i < page.items.size(); ++i)
            ini.writeBool(kPermission, page.key + QString::number(i + 1),
                          i < page.checked.size() && page.checked[i]);
    return ini.save(error);
}

} // namespace tavro
