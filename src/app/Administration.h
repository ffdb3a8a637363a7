#pragma once

#include <QString>
#include <functional>

namespace tavro {

class Prompter;
struct WorkingContext;

// The administration page's actions without its window.

// "認証": true when the typed password opens the page; otherwise "パスワードが間違っています。".
bool authenticateAdministrator(Prompter &prompter, const QString &typed, const QString &storedPassword);

// "変更を記憶する": refuses an empty password box ("パスワードがありません。"); otherwise writes the
// school name, the scrambled password, the class notation and `schoolKind` to section "Settings" of
// "Tavro_Main.ini" and takes them into the context; `applied` then updates the window (title, school
// kind) before "設定を記憶しました。" is shown. A failed save shows its error and changes nothing.
// Returns true when stored.
bool storeAdministration(Prompter &prompter, WorkingContext &context, const QString &typedPassword,
                         int schoolKind, const std::function<void()> &applied = {});

} // namespace tavro
