#include "app/Administration.h"

#include "app/Password.h"
#include "app/Startup.h"
#include "app/WorkingContext.h"
#include "platform/Prompter.h"

namespace tavro {

namespace {

const QString kCaption = QStringLiteral("Tavro");

} // namespace

bool authenticateAdministrator(Prompter &prompter, const QString &typed, const QString &storedPassword) {
    if (adminPasswordMatches(typed, storedPassword))
        return true;
    prompter.message(kCaption, QStringLiteral("パスワードが間違っています。"), Prompter::Icon::Warning);
    return false;
}

bool storeAdministration(Prompter &prompter, WorkingContext &context, const QString &typedPassword,
                         int schoolKind, const std::function<void()> &applied) {
    if (typedPassword.isEmpty()) {
        prompter.message(kCaption, QStringLiteral("パスワードがありません。"), Prompter::Icon::Warning);
        return false;
    }
    QString error;
    if (!checkPasswordText(typedPassword, &error)) {
        prompter.message(kCaption, error, Prompter::Icon::Warning);
        return false;
    }
    MainSettings settings;
    settings.schoolName = context.schoolName;
    settings.password = scramble(typedPassword, QString::fromLatin1(kAdminScrambleConstant));
    settings.classType = context.classType;
    settings.schoolKind = schoolKind;
    if (!settings.save(context.dataFolder, &error)) {
        prompter.message(kCaption, error, Prompter::Icon::Error);
        return false;
    }
    context.password = settings.password;
    context.schoolKind = schoolKind;
    if (applied)
        applied();
    prompter.message(kCaption, QStringLiteral("設定を記憶しました。"));
    return true;
}

} // namespace tavro
