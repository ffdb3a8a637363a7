#pragma once

#include "platform/Prompter.h"

#include <QString>
#include <functional>

// Questions and messages of the core on the command line, and passwords typed without echo.
namespace tavro::cli {

// Prints every message box on stderr and answers questions through `answerer` (no answerer: the
// default answer). Nothing is read from the terminal.
class CliPrompter final : public Prompter {
public:
    using Answerer = std::function<Answer(const QString &text, Buttons buttons, Answer defaultAnswer)>;
    explicit CliPrompter(Answerer answerer = {}) : m_answerer(std::move(answerer)) {}
    Answer ask(const QString &caption, const QString &text, Buttons buttons, Answer defaultAnswer,
               Icon icon = Icon::None) override;

private:
    Answerer m_answerer;
};

// Whether standard input is a terminal.
bool stdinIsTerminal();
// Reads one line from standard input; on a terminal the prompt goes to stderr and the typed text is
// not echoed. False at the end of the input.
bool readSecretLine(const QString &prompt, QString &line);

} // namespace tavro::cli
