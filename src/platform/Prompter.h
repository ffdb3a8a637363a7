#pragma once

#include <QString>

namespace tavro {

// Message boxes. Core code asks with the exact caption, text, buttons and default button; the
// desktop shows a QMessageBox, the tests answer from a script.
class Prompter {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };
    enum class Icon { None, Information, Warning, Question, Error };

    virtual ~Prompter() = default;
    virtual Answer ask(const QString &caption, const QString &text, Buttons buttons, Answer defaultAnswer,
                       Icon icon = Icon::None) = 0;

    // An OK-only message.
    void message(const QString &caption, const QString &text, Icon icon = Icon::Information) {
        ask(caption, text, Buttons::Ok, Answer::Ok, icon);
    }
};

} // namespace tavro
