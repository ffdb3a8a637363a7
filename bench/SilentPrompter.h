#pragma once

#include "platform/Prompter.h"

namespace tavro::bench {

// Answers every question with its default and shows nothing, so a benchmark never waits.
class SilentPrompter final : public Prompter {
public:
    Answer ask(const QString &, const QString &, Buttons, Answer defaultAnswer, Icon) override {
        return defaultAnswer;
    }
};

} // namespace tavro::bench
